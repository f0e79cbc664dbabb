// RegexObject with fuzzed pattern, subject, flags and numbers: every read returns quietly,
// out-of-range numbers read as empty, and a reported position points at the text returned.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>

#include "FuzzCheck.h"
#include "platform/codepage/CodePage.h"
#include "text/RegexObject.h"
#include "text/TextOps.h"

namespace lumetra {
namespace {

// Two bits per option: absent, false, true, absent.
std::optional<bool> Option(std::uint8_t bits) {
    switch (bits & 3) {
        case 1:
            return false;
        case 2:
            return true;
        default:
            return std::nullopt;
    }
}

// Small numbers mostly, and the extremes.
int Number(std::uint8_t byte) {
    const auto small = static_cast<std::int8_t>(byte);
    if (small == INT8_MAX) {
        return INT_MAX;
    }
    if (small == INT8_MIN) {
        return INT_MIN;
    }
    return small;
}

bool IsAscii(const Text& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// The position, when there is one, is where the text stands in the subject. Positions count
// in the subject as the object holds it, which is the caller's text only when that survives
// the trip to UTF-16 and back.
void CheckPosition(const Text& subject, const Text& found, Position position, bool ignoreCase) {
    if (position == -2 || !fuzz::IsPairedGbk(subject) ||
        platform::Utf16ToGbk(platform::GbkToUtf16(subject)) != subject) {
        return;
    }
    FUZZ_CHECK(position >= 0 &&
               static_cast<std::size_t>(position) + found.size() <= subject.size());
    const Text there = subject.substr(static_cast<std::size_t>(position), found.size());
    FUZZ_CHECK(ignoreCase ? ToLower(there) == ToLower(found) : there == found);
}

void CheckMatch(RegexObject& regex, const Text& subject, int i, int j, int count, bool ignoreCase) {
    Position position = 12345;
    const Text match = regex.MatchText(i, &position);
    FUZZ_CHECK(regex.MatchText(i) == match);
    if (i < 1 || i > count) {
        FUZZ_CHECK(match.empty() && position == -2);
    } else {
        CheckPosition(subject, match, position, ignoreCase);
    }
    Position subPosition = 12345;
    const Text submatch = regex.SubmatchText(i, j, &subPosition);
    FUZZ_CHECK(regex.SubmatchText(i, j) == submatch);
    if (i < 1 || i > count || j < 1) {
        FUZZ_CHECK(submatch.empty() && subPosition == -2);
    } else {
        CheckPosition(subject, submatch, subPosition, ignoreCase);
    }
}

}  // namespace
}  // namespace lumetra

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace lumetra;
    FuzzedDataProvider data(bytes, size);
    const auto patternLength = data.ConsumeIntegral<std::uint8_t>();
    const auto replacementLength = data.ConsumeIntegralInRange<std::uint8_t>(0, 32);
    const auto options = data.ConsumeIntegral<std::uint8_t>();
    const int i = Number(data.ConsumeIntegral<std::uint8_t>());
    const int j = Number(data.ConsumeIntegral<std::uint8_t>());
    const Text pattern = data.ConsumeBytesAsString(patternLength);
    const Text replacement = data.ConsumeBytesAsString(replacementLength);
    const Text subject = data.ConsumeRemainingBytesAsString();
    const std::optional<bool> caseSensitive = Option(options);
    const std::optional<bool> multiline = Option(options >> 2);
    const std::optional<bool> global = Option(options >> 4);
    const std::optional<bool> quoteSubstitution = Option(options >> 6);
    fuzz::Context() = "pattern: " + pattern + "\nsubject: " + subject;

    RegexObject regex;
    const bool created =
        regex.Create(pattern, subject, caseSensitive, multiline, global, quoteSubstitution);
    const int count = regex.MatchCount();
    const int groups = regex.SubmatchCount();
    FUZZ_CHECK(count >= 0 && groups >= 0);
    if (!created) {
        FUZZ_CHECK(count == 0 && groups == 0);
        FUZZ_CHECK(regex.ReplaceMatches(replacement).empty());
    } else {
        FUZZ_CHECK(global.value_or(true) || count <= 1);
        (void)regex.ReplaceMatches(replacement);
    }
    if (IsAscii(pattern)) {
        FUZZ_CHECK(regex.GetPattern() == pattern);
    }

    const bool ignoreCase = !caseSensitive.value_or(false);
    CheckMatch(regex, subject, i, j, count, ignoreCase);
    for (int match = 1; match <= count && match <= 3; ++match) {
        for (int group = 1; group <= groups + 1 && group <= 4; ++group) {
            CheckMatch(regex, subject, match, group, count, ignoreCase);
        }
    }
    // A second Create replaces everything the first one left.
    FUZZ_CHECK(regex.Create("a", "aa", true, false, true, false) && regex.MatchCount() == 2);
    FUZZ_CHECK(regex.SubmatchCount() == 0 && regex.MatchText(1) == "a");
    return 0;
}
