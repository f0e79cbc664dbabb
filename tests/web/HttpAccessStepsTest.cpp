#include <gtest/gtest.h>

#include "web/HttpAccess.h"

namespace lumetra {
namespace {

TEST(RequestFlags, CombineReloadNeedFileCookiesRedirectAndScheme) {
    struct Case {
        bool https, cookies, noRedirect;
        std::uint32_t flags;
    };
    const Case cases[] = {
        {false, false, false, 0x80004010}, {true, false, false, 0x80800010},
        {false, true, false, 0x80084010},  {false, false, true, 0x80204010},
        {true, true, false, 0x80880010},   {true, true, true, 0x80A80010},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RequestFlags(c.https, c.cookies, c.noRedirect), c.flags)
            << c.https << c.cookies << c.noRedirect;
    }
}

TEST(UserAgentOf, TakesTheBlocksAgentOrTheDefault) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"},
        {"Accept: */*", "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"},
        {"Accept: */*\r\nUser-Agent:  Mine/1 \r\nX: y", "Mine/1"},
        {"User-Agent: Mine/2", "Mine/2"},
        // Empty value, or a name in another case: the value after the block's first colon.
        {"Accept: a\r\nUser-Agent:", "a\r\nUser-Agent:"},
        {"user-agent: lower", "lower"},
        {"User-Agent:   ", ""},
    };
    for (const auto& [headers, agent] : cases) {
        SCOPED_TRACE(headers);
        EXPECT_EQ(UserAgentOf(headers), agent);
    }
}

TEST(ResponseCookies, CollectsSetCookieLinesOfThatExactName) {
    const std::pair<Text, const char*> cases[] = {
        {"HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n\r\n", "a=1; b=2"},
        {"HTTP/1.1 200 OK\r\nset-cookie: c=3\r\nSET-COOKIE: d=4\r\n\r\n", ""},
        {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", ""},
        {"HTTP/1.1 200 OK\r\nSet-Cookie:a=1\r\n\r\n", ""},  // no ": " after the name
        {"Set-Cookie: x=1;\r\nSet-Cookie:  y=2 ; Expires=Wed\r\n", "x=1; y=2"},
        {"Set-Cookie: \r\nSet-Cookie: b=2", "; b=2"},
        {"", ""},
        {Text(5000, ' '), ""},
    };
    for (const auto& [head, cookies] : cases) {
        SCOPED_TRACE(head.substr(0, 80));
        EXPECT_EQ(ResponseCookies(head), cookies);
    }
}

}  // namespace
}  // namespace lumetra
