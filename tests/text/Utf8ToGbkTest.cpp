#include <gtest/gtest.h>

#include <string_view>

#include "text/Utf8ToGbk.h"

namespace lumetra {
namespace {

Bytes B(std::string_view bytes) {
    return Bytes(bytes.begin(), bytes.end());
}

TEST(Utf8ToGbk, ConvertsAndReplacesWhatCannotBeRepresented) {
    const std::pair<std::string_view, Text> cases[] = {
        {"", ""},
        {"\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},
        {"<td>\xE4\xB8\xAD</td>", "<td>\xD6\xD0</td>"},
        {"\xE2\x82\xAC", "\x80"},
        {"\xE3\x80\x80", "\xA1\xA1"},
        // a NUL ends the result
        {std::string_view("ab\0\xE4\xB8\xAD", 6), "ab"},
        {std::string_view("\0ab", 3), ""},
        // a sequence cut off at the end
        {"ab\xE4\xB8", "ab?"},
        {"\xF0\x9F\x98", "?"},
        // characters code page 936 lacks
        {"a\xF0\x9F\x98\x80"
         "b",
         "a?b"},
        {"\xE0\xB8\x81", "?"},
        // invalid bytes in the middle, one "?" per maximal invalid part
        {"a\xFF"
         "b",
         "a?b"},
        {"a\xE0\x80"
         "b",
         "a??b"},
        {"a\xED\xA0\x80"
         "b",
         "a???b"},
        {"\x80\x80", "??"},
    };
    for (const auto& [utf8, expected] : cases) {
        EXPECT_EQ(Utf8ToGbk(B(utf8)), expected) << "utf8=" << utf8;
    }
}

TEST(Utf8ToGbk, LeavesAsciiUnchanged) {
    Bytes ascii;
    for (int c = 1; c < 128; ++c) {
        ascii.push_back(static_cast<std::uint8_t>(c));
    }
    EXPECT_EQ(Utf8ToGbk(ascii), Text(ascii.begin(), ascii.end()));
}

TEST(Utf8ToGbk, ConvertsALargeMixedPageWhole) {
    Bytes page;
    Text expected;
    for (int i = 0; i < 50000; ++i) {
        const Bytes row = B("<tr><td>+86</td><td>\xE4\xB8\xAD\xE6\x96\x87</td></tr>\r\n");
        page.insert(page.end(), row.begin(), row.end());
        expected += "<tr><td>+86</td><td>\xD6\xD0\xCE\xC4</td></tr>\r\n";
    }
    EXPECT_EQ(Utf8ToGbk(page), expected);
}

}  // namespace
}  // namespace lumetra
