// The seven zone patterns over fuzzed pages, with the zones' own options: quiet, linear
// (a slow page is a time-out), and every submatch has the shape its pattern promises.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "text/RegexObject.h"
#include "text/TextOps.h"
#include "text/Utf8ToGbk.h"
#include "zones/ZonePatterns.h"

namespace lumetra {
namespace {

bool AllDigits(const Text& text) {
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

bool HasLineBreak(const Text& text) {
    return Contains(text, "\n") || Contains(text, "\r");
}

struct Listing {
    const char* pattern;
    std::size_t minCode;  // digits after the "+"
    std::size_t maxCode;
    std::size_t minNumber;
    std::size_t maxNumber;
};

// Calling code and number are ASCII digits of the counted lengths, on one line.
void CheckListing(const Listing& listing, const Text& page) {
    RegexObject regex;
    FUZZ_CHECK(regex.Create(listing.pattern, page, false, true, true, false));
    const int count = regex.MatchCount();
    for (int i = 1; i <= count; ++i) {
        const Text match = regex.MatchText(i);
        FUZZ_CHECK(!HasLineBreak(match));
        const Text code = regex.SubmatchText(i, 1);
        const Text number = regex.SubmatchText(i, 2);
        FUZZ_CHECK(StartsWith(code, "+") && AllDigits(code.substr(1)));
        FUZZ_CHECK(code.size() - 1 >= listing.minCode && code.size() - 1 <= listing.maxCode);
        FUZZ_CHECK(AllDigits(number) && number.size() >= listing.minNumber &&
                   number.size() <= listing.maxNumber);
        FUZZ_CHECK(Contains(match, code) && Contains(match, number));
    }
}

// The five rows a message view reads, and every group inside its match.
void CheckMessages(const char* pattern, bool quoteSubstitution, const Text& page) {
    const bool paired = fuzz::IsPairedGbk(page);
    RegexObject regex;
    FUZZ_CHECK(regex.Create(pattern, page, false, true, true, quoteSubstitution));
    const int count = regex.MatchCount();
    const int groups = regex.SubmatchCount();
    for (int i = 1; i <= 5; ++i) {
        const Text match = regex.MatchText(i);
        FUZZ_CHECK((i <= count) || match.empty());
        for (int j = 1; j <= groups + 1; ++j) {
            const Text group = regex.SubmatchText(i, j);
            if (paired && !group.empty() && !Contains(match, group)) {
                fuzz::Context() = std::string("pattern: ") + pattern +
                                  "\nmatch: " + fuzz::Hex(match) + "\ngroup: " + fuzz::Hex(group);
            }
            FUZZ_CHECK(!paired || group.empty() || Contains(match, group));
            FUZZ_CHECK(j <= groups || group.empty());
        }
    }
}

}  // namespace
}  // namespace lumetra

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace lumetra;
    FuzzedDataProvider data(bytes, size);
    // The zones read pages both converted from UTF-8 and as raw text.
    const bool utf8 = data.ConsumeBool();
    const Bytes body = data.ConsumeRemainingBytes<std::uint8_t>();
    const Text page = utf8 ? Utf8ToGbk(body) : BytesToText(body);

    CheckListing({patterns::L1, 1, 3, 8, 11}, page);
    CheckListing({patterns::L2, 2, 2, 11, 11}, page);
    CheckListing({patterns::L3, 1, 1, 10, 10}, page);
    CheckMessages(patterns::M1, false, page);
    CheckMessages(patterns::M2, false, page);
    CheckMessages(patterns::M3, true, page);
    CheckMessages(patterns::M4, true, page);
    return 0;
}
