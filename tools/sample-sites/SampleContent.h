#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The deterministic content of the sample sites, and the HTML layout their pages use. All
// texts are UTF-8, as the sites serve them.
namespace lumetra::samples {

enum class SampleZone { Random, China, Us };

struct ListedNumber {
    std::string code;    // calling code with its plus sign, e.g. "+44"
    std::string number;  // digits only
};

struct Message {
    std::string time;    // "2026-12-11 08:10:00"
    std::string sender;  // in lenticular brackets, e.g. "【测试银行0】"
    std::string code;    // digits, up to 8
};

// Pages that list numbers: random zone 0 to 2, China and US zones 1 to 3. Every other page
// exists and lists nothing.
inline constexpr int kListingPages = 3;
int FirstListingPage(SampleZone zone);

std::vector<ListedNumber> ListingNumbers(SampleZone zone, int page);
// The messages of a listed number, newest first; none for a number that is not listed.
std::vector<Message> Messages(SampleZone zone, std::string_view number);

// Page layouts: one listing entry per line, one message per block of lines; site B pages
// end their lines with CR LF.
std::string ListingPageHtml(SampleZone zone, int page, const std::vector<ListedNumber>& numbers);
std::string MessagePageHtml(SampleZone zone, std::string_view number,
                            const std::vector<Message>& messages);

// The sample sites' pages by request target: site A "/?page=N" and "/messages?phone=...",
// site B "/China-Phone-Number/list_N.html", "/US-Phone-Number/list_N.html", "/sms/86..." and
// "/sms/1...". No value for a target the site does not have.
std::optional<std::string> SiteAPage(std::string_view target);
std::optional<std::string> SiteBPage(std::string_view target);
bool IsSiteBListing(std::string_view target);

}  // namespace lumetra::samples
