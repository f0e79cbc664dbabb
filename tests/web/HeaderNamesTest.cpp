#include <gtest/gtest.h>

#include "web/HeaderNames.h"

namespace lumetra {
namespace {

TEST(NormalizeHeaderNames, RaisesTheFirstLetterOfEachWordOfEachName) {
    const std::pair<const char*, const char*> cases[] = {
        {"accept: text/html\r\n\r\nuser-agent: x\r\n", "Accept: text/html\r\nUser-Agent: x"},
        {"x-requested-with: abc-def", "X-Requested-With: abc-def"},
        {"ACCEPT: x", "ACCEPT: x"},
        {" accept: x", " accept: x"},
        {"ab--: v", "Ab--: v"},
        {"a-: b", "A-: b"},
        {"-a: b", "-A: b"},
        {":z", ":z"},
        {"no colon here", ""},
        {"no colon\r\nreferer:  x y  ", "Referer:  x y  "},
        {"", ""},
        {"\r\n\r\n", ""},
        {"cookie: a=b: c-d", "Cookie: a=b: c-d"},
        {"\xD6\xD0x-y: v", "\xD6\xD0x-Y: v"},  // 中 first: no letter to raise there
    };
    for (const auto& [block, normalized] : cases) {
        SCOPED_TRACE(block);
        EXPECT_EQ(NormalizeHeaderNames(block), normalized);
    }
}

TEST(CapitalizeFirst, RaisesOnlyALowerCaseAsciiFirstByte) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},     {"abc", "Abc"},           {"Abc", "Abc"},
        {"1a", "1a"}, {"\xD6\xD0", "\xD6\xD0"}, {"z", "Z"},
    };
    for (const auto& [text, capitalized] : cases) EXPECT_EQ(CapitalizeFirst(text), capitalized);
}

TEST(HeaderValue, IsTheTrimmedTextAfterTheFirstColon) {
    const std::pair<const char*, const char*> cases[] = {
        {"User-Agent:  abc  ", "abc"},  {"no colon", ""}, {"a:", ""},
        {"A: 1\r\nB: 2 ", "1\r\nB: 2"}, {"A:b:c", "b:c"},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(HeaderValue(text), value);
}

}  // namespace
}  // namespace lumetra
