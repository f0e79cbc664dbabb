#include "text/TextOps.h"

#include <cstring>
#include <limits>
#include <string_view>

namespace lumetra {

namespace {

bool IsLead(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Whether byte `at` starts a character, given `floor` <= `at` that is known to. A byte below
// 128 always ends a character, so only the run of high bytes just before `at` decides: they
// pair up from its beginning. Scanning never goes below `floor`, which keeps repeated calls
// with a rising floor linear.
bool IsCharStart(std::string_view text, std::size_t floor, std::size_t at) {
    std::size_t runStart = at;
    while (runStart > floor && IsLead(text[runStart - 1])) {
        --runStart;
    }
    return (at - runStart) % 2 == 0;
}

// `what` compared at character start `at`. Under `ignoreCase` only single-byte characters
// fold, never a trail byte. A `what` ending in a lone lead byte must not take the first half
// of a character in the text.
bool MatchesAt(std::string_view text, std::size_t at, std::string_view what, bool ignoreCase) {
    if (at + what.size() > text.size()) {
        return false;
    }
    std::size_t i = 0;
    while (i < what.size()) {
        const char t = text[at + i];
        const char w = what[i];
        if (IsLead(w)) {
            if (t != w) {
                return false;
            }
            if (i + 1 == what.size()) {
                return at + i + 1 == text.size();
            }
            if (text[at + i + 1] != what[i + 1]) {
                return false;
            }
            i += 2;
        } else {
            if (ignoreCase ? FoldAscii(t) != FoldAscii(w) : t != w) {
                return false;
            }
            ++i;
        }
    }
    return true;
}

// Next offset >= `from` holding a byte that may begin `what`.
std::size_t NextCandidate(std::string_view text, std::string_view what, std::size_t from,
                          bool ignoreCase) {
    if (!ignoreCase) {
        return text.find(what, from);
    }
    const char first = what.front();
    if (!IsAsciiLetter(first)) {
        return text.find(first, from);
    }
    const char folded = FoldAscii(first);
    for (std::size_t i = from; i < text.size(); ++i) {
        if (FoldAscii(text[i]) == folded) {
            return i;
        }
    }
    return std::string_view::npos;
}

// The first match of a non-empty `what` at a character start >= `from`, within the first
// `limit` bytes; `floor` <= `from` is a known character start.
std::size_t FindFrom(std::string_view text, std::string_view what, std::size_t from,
                     std::size_t floor, std::size_t limit, bool ignoreCase) {
    const std::string_view searched = text.substr(0, limit);
    while (from + what.size() <= limit) {
        const std::size_t at = NextCandidate(searched, what, from, ignoreCase);
        if (at == std::string_view::npos || at + what.size() > limit) {
            return std::string_view::npos;
        }
        if (IsCharStart(text, floor, at)) {
            if (MatchesAt(text, at, what, ignoreCase)) {
                return at;
            }
            floor = at;
            from = at + (IsLead(text[at]) ? 2 : 1);
        } else {
            // `at` is a trail byte, so the next byte starts a character.
            floor = at + 1;
            from = at + 1;
        }
    }
    return std::string_view::npos;
}

std::size_t CharLengthAt(std::string_view text, std::size_t at) {
    return (IsLead(text[at]) && at + 1 < text.size()) ? 2 : 1;
}

}  // namespace

// A start on the trail byte of a character searches from the next character: a match must
// begin at or after `start`, and never inside a character.
Position Find(const Text& text, const Text& what, Position start, bool ignoreCase) {
    const std::size_t from = start <= 1 ? 0 : static_cast<std::size_t>(start - 1);
    if (from >= text.size()) {
        return kNotFound;
    }
    if (what.empty()) {
        return 1;
    }
    const std::size_t at = FindFrom(text, what, from, 0, text.size(), ignoreCase);
    return at == std::string_view::npos ? kNotFound : static_cast<Position>(at) + 1;
}

Position FindBackwards(const Text& text, const Text& what, std::optional<Position> start,
                       bool ignoreCase) {
    std::size_t limit = text.size();
    if (start && *start <= 1) {
        limit = 0;
    } else if (start && *start - 1 < static_cast<Position>(text.size())) {
        limit = static_cast<std::size_t>(*start - 1);
    }
    if (limit == 0) {
        return kNotFound;
    }
    if (what.empty()) {
        return 1;
    }
    // Forwards, since only a scan from the start knows where characters begin.
    std::size_t last = std::string_view::npos;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = FindFrom(text, what, from, from, limit, ignoreCase);
        if (at == std::string_view::npos) {
            break;
        }
        last = at;
        from = at + CharLengthAt(text, at);
    }
    return last == std::string_view::npos ? kNotFound : static_cast<Position>(last) + 1;
}

bool Contains(const Text& text, const Text& what, bool ignoreCase) {
    return Find(text, what, 1, ignoreCase) != kNotFound;
}

bool StartsWith(const Text& text, const Text& prefix, bool ignoreCase) {
    return prefix.empty() || MatchesAt(text, 0, prefix, ignoreCase);
}

bool EndsWith(const Text& text, const Text& suffix) {
    // Every text ends with the empty text, even one cut after a lone lead byte.
    if (suffix.empty()) {
        return true;
    }
    if (suffix.size() > text.size()) {
        return false;
    }
    const std::size_t at = text.size() - suffix.size();
    return std::string_view(text).substr(at) == suffix && IsCharStart(text, 0, at);
}

Text Left(const Text& text, Position n) {
    if (n <= 0) {
        return {};
    }
    return text.substr(0, static_cast<std::size_t>(n));
}

Text Right(const Text& text, Position n) {
    if (n <= 0) {
        return {};
    }
    const auto count = static_cast<std::size_t>(n);
    return count >= text.size() ? text : text.substr(text.size() - count);
}

Text Middle(const Text& text, Position start, Position n) {
    if (start < 1 || start > static_cast<Position>(text.size()) || n <= 0) {
        return {};
    }
    return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(n));
}

Text Trim(const Text& text) {
    constexpr std::string_view kFullWidthSpace = "\xA1\xA1";  // "　"
    const std::string_view all(text);
    std::size_t i = 0;
    std::size_t begin = all.size();
    std::size_t end = 0;
    while (i < all.size()) {
        const std::size_t length = CharLengthAt(all, i);
        const std::string_view character = all.substr(i, length);
        if (character != " " && character != kFullWidthSpace) {
            if (begin == all.size()) {
                begin = i;
            }
            end = i + length;
        }
        i += length;
    }
    return begin < end ? Text(all.substr(begin, end - begin)) : Text();
}

// An empty separator would match everywhere; the text then stays one piece.
std::vector<Text> Split(const Text& text, const Text& separator) {
    std::vector<Text> pieces;
    if (text.empty()) {
        return pieces;
    }
    if (separator.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t at = FindFrom(text, separator, from, from, text.size(), false);
        if (at == std::string_view::npos) {
            pieces.push_back(text.substr(from));
            break;
        }
        pieces.push_back(text.substr(from, at - from));
        from = at + separator.size();
    }
    return pieces;
}

Text Join(const std::vector<Text>& pieces, const Text& separator) {
    Text joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            joined += separator;
        }
        joined += pieces[i];
    }
    return joined;
}

// An empty `from` occurs nowhere worth replacing; the text comes back unchanged.
Text Replace(const Text& text, const Text& from, const Text& to, bool ignoreCase) {
    if (from.empty()) {
        return text;
    }
    Text result;
    std::size_t copied = 0;
    for (;;) {
        const std::size_t at = FindFrom(text, from, copied, copied, text.size(), ignoreCase);
        if (at == std::string_view::npos) {
            break;
        }
        result.append(text, copied, at - copied);
        result += to;
        copied = at + from.size();
    }
    result.append(text, copied, std::string::npos);
    return result;
}

namespace {

template <char kFrom, char kTo>
Text MapAsciiLetters(const Text& text) {
    Text result = text;
    for (std::size_t i = 0; i < result.size(); ++i) {
        const char c = result[i];
        if (IsLead(c)) {
            ++i;  // the trail byte is part of the character, not a letter
        } else if (c >= kFrom && c <= kFrom + 25) {
            result[i] = static_cast<char>(c - kFrom + kTo);
        }
    }
    return result;
}

}  // namespace

Text ToUpper(const Text& text) {
    return MapAsciiLetters<'a', 'A'>(text);
}

Text ToLower(const Text& text) {
    return MapAsciiLetters<'A', 'a'>(text);
}

Text BytesToText(const Bytes& bytes) {
    const auto* begin = reinterpret_cast<const char*>(bytes.data());
    const void* zero = bytes.empty() ? nullptr : std::memchr(begin, 0, bytes.size());
    const std::size_t length =
        zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - begin) : bytes.size();
    return Text(begin, length);
}

Bytes TextToBytes(const Text& text) {
    return Bytes(text.begin(), text.end());
}

Text IntegerToText(long long value) {
    return std::to_string(value);
}

int TextToInteger(const Text& text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulated as a negative number, whose range holds INT32_MIN itself.
    constexpr long long kMin = std::numeric_limits<int>::min();
    constexpr long long kMax = std::numeric_limits<int>::max();
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 - (text[i] - '0');
        if (value < kMin) {
            value = kMin - 1;  // saturated; stays below the limit however many digits follow
        }
    }
    if (negative) {
        return static_cast<int>(value < kMin ? kMin : value);
    }
    return static_cast<int>(-value > kMax ? kMax : -value);
}

}  // namespace lumetra
