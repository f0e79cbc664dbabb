#include <charconv>

#include "sample-sites/SampleContent.h"

namespace lumetra::samples {

namespace {

constexpr std::string_view kRandomListing = "/?page=";
constexpr std::string_view kRandomMessages = "/messages?phone=";
constexpr std::string_view kChinaListing = "/China-Phone-Number/list_";
constexpr std::string_view kUsListing = "/US-Phone-Number/list_";
constexpr std::string_view kListingSuffix = ".html";
constexpr std::string_view kChinaMessages = "/sms/86";
constexpr std::string_view kUsMessages = "/sms/1";

std::optional<int> PageNumber(std::string_view text) {
    int page = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), page);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return page;
}

std::optional<std::string> Listing(SampleZone zone, std::string_view pageText) {
    const std::optional<int> page = PageNumber(pageText);
    if (!page) return std::nullopt;
    return ListingPageHtml(zone, *page, ListingNumbers(zone, *page));
}

std::optional<std::string> MessagesOf(SampleZone zone, std::string_view number) {
    return MessagePageHtml(zone, number, Messages(zone, number));
}

// The page number of a site B listing target of `zone`'s path, without its suffix.
std::optional<std::string_view> SiteBListingPage(std::string_view target, std::string_view path) {
    if (!target.starts_with(path) || !target.ends_with(kListingSuffix)) return std::nullopt;
    target.remove_prefix(path.size());
    if (target.size() < kListingSuffix.size()) return std::nullopt;
    target.remove_suffix(kListingSuffix.size());
    return target;
}

}  // namespace

std::optional<std::string> SiteAPage(std::string_view target) {
    if (target == "/") return Listing(SampleZone::Random, "0");
    if (target.starts_with(kRandomListing)) {
        return Listing(SampleZone::Random, target.substr(kRandomListing.size()));
    }
    if (target.starts_with(kRandomMessages)) {
        return MessagesOf(SampleZone::Random, target.substr(kRandomMessages.size()));
    }
    return std::nullopt;
}

std::optional<std::string> SiteBPage(std::string_view target) {
    if (const auto page = SiteBListingPage(target, kChinaListing)) {
        return Listing(SampleZone::China, *page);
    }
    if (const auto page = SiteBListingPage(target, kUsListing)) {
        return Listing(SampleZone::Us, *page);
    }
    if (target.starts_with(kChinaMessages)) {
        return MessagesOf(SampleZone::China, target.substr(kChinaMessages.size()));
    }
    if (target.starts_with(kUsMessages)) {
        return MessagesOf(SampleZone::Us, target.substr(kUsMessages.size()));
    }
    return std::nullopt;
}

bool IsSiteBListing(std::string_view target) {
    return SiteBListingPage(target, kChinaListing) || SiteBListingPage(target, kUsListing);
}

}  // namespace lumetra::samples
