#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cstdint>
#include <random>

#include "text/TextOps.h"

namespace lumetra {
namespace {

// Double-byte characters whose trail byte looks like ASCII: a search for the letter must not
// land on them, and case changes must leave them alone.
const Text kTrailA = "\x81\x41";  // 丄, trail byte 'A'
const Text kTraila = "\x81\x61";  // trail byte 'a'
const Text kZhong = "\xD6\xD0";   // 中
const Text kWen = "\xCE\xC4";     // 文
const Text kFullWidthSpace = "\xA1\xA1";

struct FindCase {
    Text text;
    Text what;
    Position start;
    bool ignoreCase;
    Position expected;
};

TEST(TextFind, FollowsPositionCaseAndCharacterRules) {
    const FindCase cases[] = {
        {"abcabc", "bc", 1, false, 2},
        {"abcabc", "bc", 3, false, 5},
        {"abcabc", "bc", 0, false, 2},
        {"abcabc", "bc", -5, false, 2},
        {"abcabc", "bc", 6, false, kNotFound},
        {"abcabc", "bc", 7, false, kNotFound},
        {"abcabc", "bc", 1000, false, kNotFound},
        {"abc", "abcd", 1, false, kNotFound},
        {"", "a", 1, false, kNotFound},
        // empty search text: 1 while the searched part is not empty
        {"abc", "", 1, false, 1},
        {"abc", "", 3, false, 1},
        {"abc", "", 4, false, kNotFound},
        {"", "", 1, false, kNotFound},
        {"Hello", "hELLO", 1, true, 1},
        {"Hello", "hello", 1, false, kNotFound},
        {"a-B", "-b", 1, true, 2},
        {"User-Agent: x", "user-agent:", 1, true, 1},
        // a match never starts on a trail byte
        {kTrailA + "A", "A", 1, false, 3},
        {kTrailA + kTrailA, "A", 1, false, kNotFound},
        {kTrailA + "a", "A", 1, true, 3},
        {kZhong + kWen, "\xD0\xCE", 1, false, kNotFound},
        {kZhong + kWen, kWen, 1, false, 3},
        {"x\xA1\xB0\xA1\xB0", "\xB0\xA1", 1, false, kNotFound},
        {"\xA1\xB0\xA1\xB0\xA1\xB0", "\xB0\xA1", 1, false, kNotFound},
        {"\xA1\xB0\xA1\xB0\xA1\xB0", "\xA1\xB0", 2, false, 3},
        // a start on a trail byte searches from the next character
        {kTrailA + "A", "A", 2, false, 3},
        {kZhong + kZhong + "A", "\xD0", 4, false, kNotFound},
        {kZhong + kZhong + "A", "A", 4, false, 5},
        // case folding never touches a trail byte
        {kTraila, kTrailA, 1, true, kNotFound},
        {"x" + kTrailA, "A", 1, true, kNotFound},
        // a search text ending in a lone lead byte never takes half a character
        {kZhong, "\xD6", 1, false, kNotFound},
        {"ab\xD6", "\xD6", 1, false, 3},
    };
    for (const FindCase& c : cases) {
        EXPECT_EQ(Find(c.text, c.what, c.start, c.ignoreCase), c.expected)
            << "text=" << c.text << " what=" << c.what << " start=" << c.start;
    }
}

TEST(TextFind, KeepsCharacterParityOverLongDoubleByteRuns) {
    Text text;
    for (int i = 0; i < 200000; ++i) {
        text += kZhong;
    }
    EXPECT_EQ(Find(text, "\xD0\xD6"), kNotFound);
    EXPECT_EQ(Find(text + "A", "A"), static_cast<Position>(text.size()) + 1);
    EXPECT_EQ(Find(text + kTrailA + "A", "A", 5), static_cast<Position>(text.size()) + 3);
    EXPECT_EQ(FindBackwards(text, "\xD0\xD6"), kNotFound);
    EXPECT_EQ(Replace(text, "\xD0\xD6", "!"), text);
}

struct FindBackwardsCase {
    Text text;
    Text what;
    std::optional<Position> start;
    bool ignoreCase;
    Position expected;
};

TEST(TextFindBackwards, FindsLastOccurrenceWhollyBeforeStart) {
    const FindBackwardsCase cases[] = {
        {"a: b: c", ": ", {}, false, 5},
        {"a: b: c", ": ", 100, false, 5},
        {"a: b: c", ": ", 7, false, 5},
        {"a: b: c", ": ", 6, false, 2},
        {"a: b: c", ": ", 4, false, 2},
        {"a: b: c", ": ", 3, false, kNotFound},
        {"a: b: c", ": ", 1, false, kNotFound},
        {"a: b: c", ": ", -3, false, kNotFound},
        {"a: b: c", ": ", PTRDIFF_MIN, false, kNotFound},
        {"a: b: c", ": ", PTRDIFF_MAX, false, 5},
        {"a: b: c", "x", {}, false, kNotFound},
        {"aaa", "aa", {}, false, 2},
        {"ABab", "ab", {}, true, 3},
        {"ABab", "AB", {}, false, 1},
        {"abc", "", {}, false, 1},
        {"abc", "", 1, false, kNotFound},
        {"", "", {}, false, kNotFound},
        {"A" + kTrailA, "A", {}, false, 1},
        {kZhong + kWen, "\xD0\xCE", {}, false, kNotFound},
        {kZhong + kWen + kZhong, kZhong, {}, false, 5},
        {kZhong + kWen + kZhong, kZhong, 6, false, 1},
    };
    for (const FindBackwardsCase& c : cases) {
        EXPECT_EQ(FindBackwards(c.text, c.what, c.start, c.ignoreCase), c.expected)
            << "text=" << c.text << " what=" << c.what << " start=" << c.start.value_or(0);
    }
}

// Naive references: every character start in turn, compared with the folding rule.
std::vector<std::size_t> CharacterStarts(const Text& text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size();
         i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1) {
        starts.push_back(i);
    }
    return starts;
}

bool ReferenceMatch(const Text& text, std::size_t at, const Text& what, bool ignoreCase) {
    if (at + what.size() > text.size()) {
        return false;
    }
    for (std::size_t i = 0; i < what.size(); ++i) {
        const auto w = static_cast<unsigned char>(what[i]);
        const auto t = static_cast<unsigned char>(text[at + i]);
        if (w >= 0x80) {
            if (t != w || (i + 1 < what.size() && text[at + i + 1] != what[i + 1])) {
                return false;
            }
            if (i + 1 == what.size() && at + i + 1 != text.size()) {
                return false;
            }
            ++i;
        } else if (ignoreCase ? std::tolower(t) != std::tolower(w) : t != w) {
            return false;
        }
    }
    return true;
}

TEST(TextFind, AgreesWithCharacterByCharacterSearchOnRandomText) {
    const char alphabet[] = {'a', 'A', ' ', '\x81', '\xA1', '\xD6'};
    std::mt19937 random(7);
    auto randomText = [&](std::size_t maxLength) {
        Text text(random() % (maxLength + 1), ' ');
        for (char& c : text) {
            c = alphabet[random() % sizeof alphabet];
        }
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const Text text = randomText(12);
        const Text what = randomText(3);
        const bool ignoreCase = round % 2 == 1;
        if (what.empty()) {
            continue;
        }
        const auto start = static_cast<Position>(random() % (text.size() + 3)) - 1;
        const std::vector<std::size_t> starts = CharacterStarts(text);
        Position forward = kNotFound;
        Position backward = kNotFound;
        for (std::size_t at : starts) {
            if (!ReferenceMatch(text, at, what, ignoreCase)) {
                continue;
            }
            const auto position = static_cast<Position>(at) + 1;
            if (forward == kNotFound && position >= start) {
                forward = position;
            }
            if (position + static_cast<Position>(what.size()) <= start) {
                backward = position;
            }
        }
        ASSERT_EQ(Find(text, what, start, ignoreCase), forward)
            << "text=" << text << " what=" << what << " start=" << start;
        ASSERT_EQ(FindBackwards(text, what, start, ignoreCase), backward)
            << "text=" << text << " what=" << what << " start=" << start;
    }
}

TEST(TextContainsStartsEnds, RespectCaseAndCharacters) {
    EXPECT_TRUE(Contains("Set-Cookie: a", "cookie", true));
    EXPECT_FALSE(Contains("Set-Cookie: a", "cookie"));
    EXPECT_FALSE(Contains(kTrailA, "A"));
    EXPECT_TRUE(StartsWith("Set-Cookie: a", "set-cookie", true));
    EXPECT_FALSE(StartsWith("Set-Cookie: a", "set-cookie"));
    EXPECT_TRUE(StartsWith("ab", ""));
    EXPECT_FALSE(StartsWith("a", "ab"));
    EXPECT_FALSE(StartsWith(kZhong, "\xD6"));
    EXPECT_FALSE(StartsWith(kTraila, kTrailA, true));
    EXPECT_TRUE(EndsWith("abc", "bc"));
    EXPECT_TRUE(EndsWith("x", ""));
    EXPECT_FALSE(EndsWith("bc", "abc"));
    EXPECT_FALSE(EndsWith(kTrailA, "A"));
    EXPECT_TRUE(EndsWith("x" + kTrailA, kTrailA));
}

TEST(TextLeftRightMiddle, CountBytesAndClampQuietly) {
    const Text t = "abcdef";
    EXPECT_EQ(Left(t, 2), "ab");
    EXPECT_EQ(Left(t, 6), t);
    EXPECT_EQ(Left(t, 100), t);
    EXPECT_EQ(Left(t, 0), "");
    EXPECT_EQ(Left(t, -1), "");
    EXPECT_EQ(Right(t, 2), "ef");
    EXPECT_EQ(Right(t, 100), t);
    EXPECT_EQ(Right(t, 0), "");
    EXPECT_EQ(Right(t, -3), "");
    EXPECT_EQ(Middle(t, 2, 3), "bcd");
    EXPECT_EQ(Middle(t, 6, 1), "f");
    EXPECT_EQ(Middle(t, 5, 100), "ef");
    EXPECT_EQ(Middle(t, 0, 2), "");
    EXPECT_EQ(Middle(t, 7, 1), "");
    EXPECT_EQ(Middle(t, 2, 0), "");
    EXPECT_EQ(Middle(t, 2, -1), "");
    EXPECT_EQ(Left("", 3), "");
    EXPECT_EQ(Right("", 3), "");
    EXPECT_EQ(Middle("", 1, 1), "");
}

TEST(TextTrim, RemovesSpacesAndFullWidthSpacesOnly) {
    const std::pair<Text, Text> cases[] = {
        {"  a b  ", "a b"},
        {kFullWidthSpace + " a" + kFullWidthSpace + " ", "a"},
        {"\ta\r\n", "\ta\r\n"},
        {"", ""},
        {"   ", ""},
        {kFullWidthSpace + kFullWidthSpace, ""},
        {" " + kZhong + " ", kZhong},
        // A1 A1 made of a trail byte and a lone lead byte is no full-width space
        {"x\xC4\xA1\xA1", "x\xC4\xA1\xA1"},
        // the leading A1 A1 is a space; the A1 after it leads a character with 'x'
        {kFullWidthSpace + "\xA1x", "\xA1x"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Trim(text), expected) << "text=" << text;
    }
}

TEST(TextSplit, KeepsInnerEmptyPiecesButNotTheEmptyRemainder) {
    const struct {
        Text text;
        Text separator;
        std::vector<Text> pieces;
    } cases[] = {
        {"a,b,c", ",", {"a", "b", "c"}},
        {"a,,b", ",", {"a", "", "b"}},
        {"a,b,", ",", {"a", "b"}},
        {",", ",", {""}},
        {",a", ",", {"", "a"}},
        {"", ",", {}},
        {"abc", ",", {"abc"}},
        {"a\r\n\r\nb\r\n", "\r\n", {"a", "", "b"}},
        {"a; b;c", "; ", {"a", "b;c"}},
        {"aXb", "x", {"aXb"}},
        {kTrailA + "Ab", "A", {kTrailA, "b"}},
        {"abc", "", {"abc"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Split(c.text, c.separator), c.pieces) << "text=" << c.text;
    }
}

TEST(TextJoin, PutsTheSeparatorBetweenPieces) {
    EXPECT_EQ(Join({}, ", "), "");
    EXPECT_EQ(Join({"a"}, ", "), "a");
    EXPECT_EQ(Join({"a", "", "b"}, "; "), "a; ; b");
}

TEST(TextReplace, ReplacesEveryOccurrenceLeftToRightWithoutOverlap) {
    const struct {
        Text text;
        Text from;
        Text to;
        bool ignoreCase;
        Text expected;
    } cases[] = {
        {"aaa", "a", "b", false, "bbb"},
        {"aaaa", "aa", "a", false, "aa"},
        {"aaa", "aa", "x", false, "xa"},
        {"abcabc", "bc", "", false, "aa"},
        {"a", "a", "aa", false, "aa"},
        {"ab", "", "x", false, "ab"},
        {"", "a", "x", false, ""},
        {"Set-Cookie: a; set-cookie: b", "Set-Cookie:", "", false, " a; set-cookie: b"},
        {"Set-Cookie: a; set-cookie: b", "Set-Cookie:", "", true, " a;  b"},
        {kTrailA + "A", "A", "x", false, kTrailA + "x"},
        {kZhong + kWen, "\xD0\xCE", "", false, kZhong + kWen},
        {kTraila + "a", kTrailA, "", true, kTraila + "a"},
        {"class=#\xD2\xFD\xBA\xC5"
         "a#\xD2\xFD\xBA\xC5",
         kQuotePlaceholder, "\"", false, "class=\"a\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Replace(c.text, c.from, c.to, c.ignoreCase), c.expected) << "text=" << c.text;
    }
}

TEST(TextCaseChange, AffectsAsciiLettersOnlyNeverTrailBytes) {
    EXPECT_EQ(ToUpper("abcXYZ09-z"), "ABCXYZ09-Z");
    EXPECT_EQ(ToLower("ABCxyz09-A"), "abcxyz09-a");
    EXPECT_EQ(ToUpper(kTraila + "a" + kZhong), kTraila + "A" + kZhong);
    EXPECT_EQ(ToLower(kTrailA + "A"), kTrailA + "a");
    EXPECT_EQ(ToUpper("a\xD6"), "A\xD6");
    EXPECT_EQ(ToUpper(""), "");
}

TEST(TextBytes, StopAtTheFirstZeroByteWithoutConversion) {
    EXPECT_EQ(BytesToText({}), "");
    EXPECT_EQ(BytesToText({'a', 'b'}), "ab");
    EXPECT_EQ(BytesToText({'a', 0, 'b'}), "a");
    EXPECT_EQ(BytesToText({0}), "");
    EXPECT_EQ(BytesToText({0xE4, 0xB8, 0xAD}), "\xE4\xB8\xAD");
    EXPECT_EQ(TextToBytes("ab\xD6"), (Bytes{'a', 'b', 0xD6}));
    EXPECT_EQ(TextToBytes(""), Bytes{});
}

TEST(TextInteger, ConvertsBothWays) {
    EXPECT_EQ(IntegerToText(0), "0");
    EXPECT_EQ(IntegerToText(1234), "1234");
    EXPECT_EQ(IntegerToText(-5), "-5");
    EXPECT_EQ(IntegerToText(LLONG_MIN), "-9223372036854775808");

    const std::pair<Text, int> cases[] = {
        {"123", 123},
        {"007", 7},
        {"-45x", -45},
        {"+7", 7},
        {"8443/", 8443},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"+-1", 0},
        {" 12", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"99999999999999999999", INT_MAX},
        {"-99999999999999999999999999", INT_MIN},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(TextToInteger(text), expected) << "text=" << text;
    }
}

}  // namespace
}  // namespace lumetra
