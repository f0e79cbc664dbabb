#include "patterns/PatternPages.h"

#include <unicode/unistr.h>

#include <algorithm>
#include <cstdint>

#include "platform/codepage/CodePage.h"
#include "sample-sites/SampleContent.h"
#include "text/TextOps.h"
#include "zones/ZonePatterns.h"

namespace lumetra::bench {

namespace {

using samples::ListedNumber;
using samples::Message;
using samples::SampleZone;

// A fixed linear congruential sequence: the same pages on every machine and every run.
class Digits {
  public:
    std::string Next(int count) {
        std::string digits;
        for (int i = 0; i < count; ++i) {
            state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
            digits += static_cast<char>('0' + (state_ >> 33) % 10);
        }
        return digits;
    }

  private:
    std::uint64_t state_ = 20261211;
};

std::vector<ListedNumber> Numbers(SampleZone zone, std::size_t count) {
    static constexpr const char* kRandomCodes[] = {"+44", "+1", "+33", "+49", "+7", "+852"};
    Digits digits;
    std::vector<ListedNumber> numbers;
    for (std::size_t i = 0; i < count; ++i) {
        switch (zone) {
            case SampleZone::Random:
                numbers.push_back({kRandomCodes[i % std::size(kRandomCodes)], digits.Next(10)});
                break;
            case SampleZone::China:
                numbers.push_back({"+86", "1" + digits.Next(10)});
                break;
            case SampleZone::Us:
                numbers.push_back({"+1", digits.Next(10)});
                break;
        }
    }
    return numbers;
}

std::vector<Message> Messages(std::size_t count) {
    Digits digits;
    std::vector<Message> messages;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t minute = 59 - i % 60;
        const std::size_t hour = 23 - (i / 60) % 24;
        messages.push_back({"2026-12-11 " + std::string(hour < 10 ? "0" : "") +
                                std::to_string(hour) + ":" + (minute < 10 ? "0" : "") +
                                std::to_string(minute) + ":00",
                            "【测试银行" + std::to_string(i % 10) + "】",
                            digits.Next(4 + static_cast<int>(i % 5))});
    }
    return messages;
}

// Which site page each pattern is written for.
struct Layout {
    bool listing;
    SampleZone zone;
};

Layout LayoutOf(const PatternCase& pattern) {
    const std::string name = pattern.name;
    if (name == "L1") return {true, SampleZone::Random};
    if (name == "L2") return {true, SampleZone::China};
    if (name == "L3") return {true, SampleZone::Us};
    if (name == "M3") return {false, SampleZone::China};
    if (name == "M4") return {false, SampleZone::Us};
    return {false, SampleZone::Random};
}

std::string SitePage(Layout layout, std::size_t entries) {
    return layout.listing ? samples::ListingPageHtml(layout.zone, 1, Numbers(layout.zone, entries))
                          : samples::MessagePageHtml(layout.zone, "7700900123", Messages(entries));
}

// The fewest entries whose page reaches `size`: estimated from a sample, then stepped up.
std::string PageOfSize(Layout layout, std::size_t size) {
    const std::size_t base = SitePage(layout, 0).size();
    const std::size_t perEntry =
        std::max<std::size_t>(1, (SitePage(layout, 64).size() - base) / 64);
    std::size_t entries = size > base ? (size - base) / perEntry : 1;
    std::string page = SitePage(layout, entries);
    while (page.size() < size) {
        entries += std::max<std::size_t>(1, (size - page.size()) / perEntry);
        page = SitePage(layout, entries);
    }
    return page;
}

// Fragments that lack exactly one piece the pattern needs, so an attempt starts at each.
const char* NearMissUnit(const std::string& name) {
    if (name == "L1") return R"(<span class="country">+44</span> <a href="/m">1234567</a> )";
    if (name == "L2")
        return R"(<td class="cc">+86</td><td class="num"><a href="/s">1380013800</a> )";
    if (name == "L3") return R"(<span>+1</span> <span>201555012</span> )";
    if (name == "M1")
        return "\t\t\t\t    2026-12-11 08:10:00\t\t\t\t    <span style=\"float: right;\">7 "
               "分钟前</span> ";
    if (name == "M2") return "【测试银行】您的验证码是<b>382910<b>，5分钟内有效。 ";
    if (name == "M3")
        return R"(<div class="col-md-6 msg">code <span><b>1234</b></span> x</div> <div )";
    return R"( <div class="col-md-3 sender">1069</div> <div class="col-md-6 msg">code <b>1234</b> x</div> <div )";
}

std::string Repeat(const std::string& unit, std::size_t size) {
    std::string page;
    page.reserve(size + unit.size());
    while (page.size() < size) page += unit;
    return page;
}

}  // namespace

const std::vector<PatternCase>& PatternCases() {
    static const std::vector<PatternCase> cases{
        {"L1", patterns::L1, false}, {"L2", patterns::L2, false}, {"L3", patterns::L3, false},
        {"M1", patterns::M1, false}, {"M2", patterns::M2, false}, {"M3", patterns::M3, true},
        {"M4", patterns::M4, true},
    };
    return cases;
}

std::string PageCase::Id() const {
    static constexpr const char* kKinds[] = {"lines", "oneline", "nearmiss"};
    return std::string(pattern->name) + "-" + kKinds[static_cast<int>(kind)] + "-" +
           std::to_string(size);
}

std::vector<PageCase> PageCases() {
    constexpr std::size_t kLineSizes[] = {10 << 10, 100 << 10, 1 << 20};
    constexpr std::size_t kSingleSizes[] = {1 << 10, 10 << 10, 100 << 10, 1 << 20};
    std::vector<PageCase> cases;
    for (const PatternCase& pattern : PatternCases()) {
        for (const std::size_t size : kLineSizes)
            cases.push_back({&pattern, PageKind::Lines, size});
        for (const PageKind kind : {PageKind::OneLine, PageKind::NearMiss}) {
            for (const std::size_t size : kSingleSizes) cases.push_back({&pattern, kind, size});
        }
    }
    return cases;
}

std::string PageUtf8(const PageCase& page) {
    switch (page.kind) {
        case PageKind::Lines:
            return PageOfSize(LayoutOf(*page.pattern), page.size);
        case PageKind::OneLine: {
            std::string line = PageOfSize(LayoutOf(*page.pattern), page.size);
            std::ranges::replace(line, '\n', ' ');
            return line;
        }
        case PageKind::NearMiss:
            return Repeat(NearMissUnit(page.pattern->name), page.size);
    }
    return {};
}

std::string RandomMessagePage(std::size_t messages) {
    return samples::MessagePageHtml(SampleZone::Random, "7700900123", Messages(messages));
}

std::string RandomListingPage(std::size_t bytes) {
    return PageOfSize({true, SampleZone::Random}, bytes);
}

std::string PatternUtf8(const PatternCase& pattern) {
    const Text gbk = pattern.quoteSubstitution ? Replace(pattern.pattern, kQuotePlaceholder, "\"")
                                               : Text(pattern.pattern);
    return GbkToUtf8(gbk);
}

// ICU: the code-page stand-in converts to GBK only.
std::string GbkToUtf8(const std::string& gbk) {
    const std::u16string utf16 = platform::GbkToUtf16(gbk);
    std::string utf8;
    icu::UnicodeString(false, reinterpret_cast<const UChar*>(utf16.data()),
                       static_cast<std::int32_t>(utf16.size()))
        .toUTF8String(utf8);
    return utf8;
}

}  // namespace lumetra::bench
