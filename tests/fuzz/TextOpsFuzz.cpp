// The text operations over arbitrary GBK-ish bytes: searches land on character starts and
// agree with a plain scan, nothing cuts a double-byte character, integers never overflow.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>
#include <limits>

#include "FuzzCheck.h"
#include "text/TextOps.h"

namespace lumetra {
namespace {

using fuzz::CharBoundaries;

bool IsHigh(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// `what` occurs at byte `at` as whole characters: both ends on boundaries, bytes equal, and
// under `ignoreCase` ASCII letters fold except where they are trail bytes.
bool OccursAt(const Text& text, const std::vector<bool>& boundary, std::size_t at, const Text& what,
              bool ignoreCase) {
    if (at + what.size() > text.size() || !boundary[at] || !boundary[at + what.size()]) {
        return false;
    }
    for (std::size_t i = 0; i < what.size(); ++i) {
        const char t = text[at + i];
        const char w = what[i];
        const bool trail = !boundary[at + i];
        if (t != w && (!ignoreCase || trail || Fold(t) != Fold(w))) {
            return false;
        }
    }
    return true;
}

Position PlainFind(const Text& text, const std::vector<bool>& boundary, const Text& what,
                   Position start, bool ignoreCase) {
    const std::size_t from = start <= 1 ? 0 : static_cast<std::size_t>(start - 1);
    if (from >= text.size()) {
        return kNotFound;
    }
    if (what.empty()) {
        return 1;
    }
    for (std::size_t at = from; at + what.size() <= text.size(); ++at) {
        if (OccursAt(text, boundary, at, what, ignoreCase)) {
            return static_cast<Position>(at) + 1;
        }
    }
    return kNotFound;
}

Position PlainFindBackwards(const Text& text, const std::vector<bool>& boundary, const Text& what,
                            std::optional<Position> start, bool ignoreCase) {
    std::size_t limit = text.size();
    if (start && *start <= static_cast<Position>(text.size())) {
        limit = *start <= 1 ? 0 : static_cast<std::size_t>(*start - 1);
    }
    if (limit == 0) {
        return kNotFound;
    }
    if (what.empty()) {
        return 1;
    }
    for (std::size_t end = limit; end >= what.size(); --end) {
        if (OccursAt(text, boundary, end - what.size(), what, ignoreCase)) {
            return static_cast<Position>(end - what.size()) + 1;
        }
    }
    return kNotFound;
}

// Mostly positions near the text, sometimes anything at all.
Position ConsumePosition(FuzzedDataProvider& data, std::size_t size) {
    if (data.ConsumeBool()) {
        return data.ConsumeIntegral<Position>();
    }
    return data.ConsumeIntegralInRange<Position>(-4, static_cast<Position>(size) + 4);
}

void CheckSearches(const Text& text, const std::vector<bool>& boundary, const Text& what,
                   Position start, std::optional<Position> backStart, bool ignoreCase) {
    FUZZ_CHECK(Find(text, what, start, ignoreCase) ==
               PlainFind(text, boundary, what, start, ignoreCase));
    FUZZ_CHECK(FindBackwards(text, what, backStart, ignoreCase) ==
               PlainFindBackwards(text, boundary, what, backStart, ignoreCase));
    FUZZ_CHECK(Contains(text, what, ignoreCase) ==
               (PlainFind(text, boundary, what, 1, ignoreCase) != kNotFound));
    FUZZ_CHECK(StartsWith(text, what, ignoreCase) ==
               (what.empty() || OccursAt(text, boundary, 0, what, ignoreCase)));
    FUZZ_CHECK(EndsWith(text, what) ==
               (what.size() <= text.size() &&
                OccursAt(text, boundary, text.size() - what.size(), what, false)));
}

void CheckSlices(const Text& text, Position a, Position b) {
    const auto size = static_cast<Position>(text.size());
    const auto clamp = [size](Position n) { return n <= 0 ? 0 : (n > size ? size : n); };
    const Text left = Left(text, a);
    FUZZ_CHECK(static_cast<Position>(left.size()) == clamp(a));
    FUZZ_CHECK(text.compare(0, left.size(), left) == 0);
    const Text right = Right(text, a);
    FUZZ_CHECK(static_cast<Position>(right.size()) == clamp(a));
    FUZZ_CHECK(text.compare(text.size() - right.size(), right.size(), right) == 0);
    const Text middle = Middle(text, a, b);
    if (a < 1 || a > size || b <= 0) {
        FUZZ_CHECK(middle.empty());
    } else {
        const Position room = size - a + 1;
        FUZZ_CHECK(static_cast<Position>(middle.size()) == (b < room ? b : room));
        FUZZ_CHECK(text.compare(static_cast<std::size_t>(a - 1), middle.size(), middle) == 0);
    }
}

bool IsBlank(std::string_view character) {
    return character == " " || character == "\xA1\xA1";  // "　"
}

// Only whole blank characters go, and only at the ends.
void CheckTrim(const Text& text, const std::vector<bool>& boundary) {
    const Text trimmed = Trim(text);
    std::size_t begin = 0;
    std::size_t end = text.size();
    const auto charAt = [&](std::size_t at) {
        std::size_t next = at + 1;
        while (!boundary[next]) {
            ++next;
        }
        return std::string_view(text).substr(at, next - at);
    };
    while (begin < end && IsBlank(charAt(begin))) {
        begin += charAt(begin).size();
    }
    if (begin == end) {
        FUZZ_CHECK(trimmed.empty());
        return;
    }
    FUZZ_CHECK(std::string_view(text).substr(begin).starts_with(trimmed));
    end = begin + trimmed.size();
    FUZZ_CHECK(boundary[end]);
    FUZZ_CHECK(!trimmed.empty());
    std::size_t last = end - 1;
    while (!boundary[last]) {
        --last;
    }
    FUZZ_CHECK(!IsBlank(charAt(last)));
    for (std::size_t at = end; at < text.size(); at += charAt(at).size()) {
        FUZZ_CHECK(boundary[at] && IsBlank(charAt(at)));
    }
}

void CheckSplit(const Text& text, const Text& separator) {
    const std::vector<Text> pieces = Split(text, separator);
    if (text.empty()) {
        FUZZ_CHECK(pieces.empty());
        return;
    }
    if (separator.empty()) {
        FUZZ_CHECK(pieces.size() == 1 && pieces[0] == text);
        return;
    }
    const Text joined = Join(pieces, separator);
    // Equal, or short of one final separator: the empty remainder that was dropped.
    FUZZ_CHECK(joined == text || joined + separator == text);
    for (const Text& piece : pieces) {
        FUZZ_CHECK(Find(piece, separator) == kNotFound);
    }
}

// Replace agrees with stepping through the text by Find.
void CheckReplace(const Text& text, const Text& from, const Text& to, bool ignoreCase) {
    const Text replaced = Replace(text, from, to, ignoreCase);
    if (from.empty()) {
        FUZZ_CHECK(replaced == text);
        return;
    }
    Text expected;
    Position copied = 1;
    for (;;) {
        const Position at = Find(text, from, copied, ignoreCase);
        if (at == kNotFound) {
            break;
        }
        FUZZ_CHECK(at >= copied);
        expected.append(text, static_cast<std::size_t>(copied - 1),
                        static_cast<std::size_t>(at - copied));
        expected += to;
        copied = at + static_cast<Position>(from.size());
    }
    expected.append(text, static_cast<std::size_t>(copied - 1), std::string::npos);
    FUZZ_CHECK(replaced == expected);
    if (!ignoreCase && to == from) {
        FUZZ_CHECK(replaced == text);
    }
}

void CheckCase(const Text& text, const std::vector<bool>& boundary) {
    const Text upper = ToUpper(text);
    const Text lower = ToLower(text);
    FUZZ_CHECK(upper.size() == text.size() && lower.size() == text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsHigh(c) || !boundary[i]) {
            FUZZ_CHECK(upper[i] == c && lower[i] == c);
        } else {
            FUZZ_CHECK(upper[i] == ((c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c));
            FUZZ_CHECK(lower[i] == Fold(c));
        }
    }
}

void CheckIntegers(const Text& text, long long value) {
    const int read = TextToInteger(text);
    (void)read;
    long long clamped = value;
    if (clamped > INT_MAX) {
        clamped = INT_MAX;
    } else if (clamped < INT_MIN) {
        clamped = INT_MIN;
    }
    FUZZ_CHECK(TextToInteger(IntegerToText(value)) == clamped);
    FUZZ_CHECK(TextToInteger("+" + IntegerToText(value < 0 ? 0 : value)) ==
               (clamped < 0 ? 0 : clamped));
}

void CheckBytes(const Text& text) {
    const Bytes bytes = TextToBytes(text);
    FUZZ_CHECK(bytes.size() == text.size());
    const Text back = BytesToText(bytes);
    const std::size_t zero = text.find('\0');
    FUZZ_CHECK(back == text.substr(0, zero));
}

}  // namespace
}  // namespace lumetra

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace lumetra;
    FuzzedDataProvider data(bytes, size);
    const bool ignoreCase = data.ConsumeBool();
    const auto value = data.ConsumeIntegral<long long>();
    const Text what = data.ConsumeRandomLengthString(32);
    const Text to = data.ConsumeRandomLengthString(16);
    const std::size_t textSize = data.remaining_bytes();
    const Position a = ConsumePosition(data, textSize);
    const Position b = ConsumePosition(data, textSize);
    const std::optional<Position> backStart =
        data.ConsumeBool() ? std::optional<Position>(ConsumePosition(data, textSize))
                           : std::nullopt;
    const Text text = data.ConsumeRemainingBytesAsString();
    const std::vector<bool> boundary = CharBoundaries(text);

    CheckSearches(text, boundary, what, a, backStart, ignoreCase);
    CheckSlices(text, a, b);
    CheckTrim(text, boundary);
    CheckSplit(text, what);
    CheckReplace(text, what, to, ignoreCase);
    CheckCase(text, boundary);
    CheckIntegers(text, value);
    CheckBytes(text);
    return 0;
}
