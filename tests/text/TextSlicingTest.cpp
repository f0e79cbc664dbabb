#include <gtest/gtest.h>

#include <climits>

#include "text/TextSlicing.h"

namespace lumetra {
namespace {

const Text kQuote = kQuotePlaceholder;  // "#引号"
const Text kZhong = "\xD6\xD0";         // 中

struct BetweenCase {
    Text text;
    Text left;
    Text right;
    std::optional<Position> start;
    std::optional<bool> ignoreCase;
    Text expected;
};

TEST(TextBetween, CutsBetweenTheFirstLeftAndTheFirstRightAfterIt) {
    const BetweenCase cases[] = {
        {"User-Agent: X\r\n", "User-Agent:", "\r\n", {}, {}, " X"},
        {"a[1]b[2]", "[", "]", {}, {}, "1"},
        {"a[]b", "[", "]", {}, {}, ""},
        {"abc:", "c:", ":", {}, {}, ""},
        {"a[1", "[", "]", {}, {}, ""},
        {"a]1[", "[", "]", {}, {}, ""},
        {"abc", "x", "c", {}, {}, ""},
        {"", "[", "]", {}, {}, ""},
        // the placeholder in a marker stands for a double quote
        {"b class=\"a\">1/b", "class=" + kQuote + "a" + kQuote + ">", "/", {}, {}, "1"},
        {"<a href=\"x\">", "href=" + kQuote, kQuote, {}, {}, "x"},
        // ...but the text itself is not changed
        {"[" + kQuote + "]", "[", "]", {}, {}, kQuote},
        // start
        {"a[1]b[2]", "[", "]", 3, {}, "2"},
        {"a[1]b[2]", "[", "]", 2, {}, "1"},
        {"a[1]b[2]", "[", "]", -4, {}, "1"},
        {"a[1]b[2]", "[", "]", 9, {}, ""},
        // case
        {"user-agent: x\r\n", "User-Agent:", "\r\n", {}, {}, ""},
        {"user-agent: x\r\n", "User-Agent:", "\r\n", {}, false, ""},
        {"user-agent: xEND", "User-Agent:", "end", {}, true, " x"},
        // markers are not found inside a double-byte character
        {"\x81["
         "x]",
         "[",
         "]",
         {},
         {},
         ""},
        {kZhong + "[" + kZhong + "]", "[", "]", {}, {}, kZhong},
    };
    for (const BetweenCase& c : cases) {
        EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase), c.expected)
            << "text=" << c.text << " left=" << c.left << " right=" << c.right;
    }
}

struct BeforeCase {
    Text text;
    Text marker;
    std::optional<Position> position;
    std::optional<bool> ignoreCase;
    Text expected;
};

TEST(TextBefore, GivesEverythingBeforeTheMarkerFoundForwardsOrBackwards) {
    const BeforeCase cases[] = {
        {"Set-Cookie: a=1", ": ", {}, {}, "Set-Cookie"},
        {"Set-Cookie a=1", ": ", {}, {}, ""},
        {"a: b: c", ": ", {}, {}, "a"},
        {"a: b: c", ": ", 0, {}, "a"},
        {": a", ": ", {}, {}, ""},
        // forwards from a position, the result still from the start of the text
        {"a: b: c", ": ", 3, {}, "a: b"},
        {"a: b: c", ": ", 6, {}, ""},
        // backwards: -1 searches the first L - 1 bytes, -n the first L - n - 1
        {"a: b: c", ": ", -1, {}, "a: b"},
        {"a: b: ", ": ", -1, {}, "a"},
        {"a: b: c", ": ", -2, {}, "a"},
        {"a: b: c: d", ": ", -3, {}, "a: b"},
        {"a: b: c", ": ", -5, {}, ""},
        {"a: b: c", ": ", LLONG_MIN, {}, ""},
        {"", ": ", -1, {}, ""},
        // case
        {"user-agent: x", "User-Agent:", {}, {}, ""},
        {"user-agent: x", "User-Agent:", {}, true, ""},
        {"xuser-agent: x", "User-Agent:", {}, true, "x"},
        {"xuser-agent: x", "User-Agent:", -1, true, "x"},
        // never inside a double-byte character
        {"\x81:"
         ": b",
         ": ",
         {},
         {},
         "\x81:"},
        {"\x81:"
         " b",
         ": ",
         -1,
         {},
         ""},
    };
    for (const BeforeCase& c : cases) {
        EXPECT_EQ(TextBefore(c.text, c.marker, c.position, c.ignoreCase), c.expected)
            << "text=" << c.text << " marker=" << c.marker
            << " position=" << c.position.value_or(0);
    }
}

}  // namespace
}  // namespace lumetra
