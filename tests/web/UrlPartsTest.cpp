#include <gtest/gtest.h>

#include "web/UrlParts.h"

namespace lumetra {
namespace {

struct HostCase {
    const char* url;
    std::optional<bool> mainDomain;
    std::optional<bool> keepPort;
    std::optional<int> levels;
    const char* host;
};

TEST(UrlHost, FindsTheHostByEachRule) {
    const HostCase cases[] = {
        {"HTTPS://Example.COM:8443/A?b", {}, {}, {}, "example.com"},
        {"HTTPS://Example.COM:8443/A?b", {}, true, {}, "example.com:8443"},
        {"example.com/x", {}, {}, {}, "example.com"},
        {"http://example.com", {}, {}, {}, "example.com"},
        {"http://example.com?x=1", {}, {}, {}, "example.com?x=1"},
        {"", {}, {}, {}, ""},
        {"localhost", true, {}, {}, "localhost"},
        {"http://a.b.example.com:81/", true, {}, {}, "example.com"},
        {"http://a.b.example.com:81/", true, true, {}, "example.com:81"},
        {"http://a.b.example.com/", false, false, {}, "a.b.example.com"},
        // The last two pieces of a host ending in "." are what Split leaves of it.
        {"http://a.b./", true, {}, {}, "a.b"},
        // "http://" anywhere counts as the scheme.
        {"x http://inner.example/y", {}, {}, {}, "inner.example"},
        // With levels: levels + 2 labels, levels + 1 with mainDomain.
        {"a.example.com", {}, {}, 0, "example.com"},
        {"a.example.com", true, {}, 0, "com"},
        {"a.b.example.com", {}, {}, 1, "b.example.com"},
        {"a.b.example.com", true, {}, 1, "example.com"},
        {"http://www.a.b.example.com/x", {}, {}, 1, "b.example.com"},
        {"https://A.Example.com/x", {}, {}, -3, "example.com"},
        {"example.com", {}, {}, 0, "example.com"},
        {"example.com", true, {}, 0, "com"},
        {"com", true, {}, 0, "com"},
        {"a.b.c", {}, {}, 5, "a.b.c"},
        {"a.b.c", true, {}, 5, "a.b.c"},
        {"a.b.c.", {}, {}, 0, "b.c."},  // a final "." is never counted
        {"a.b.example.com:81", {}, {}, 0, "example.com"},
        {"a.b.example.com:81", {}, true, 0, "example.com:81"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(UrlHost(c.url, c.mainDomain, c.keepPort, c.levels), c.host);
    }
}

TEST(UrlPort, ReadsTheDigitsAfterTheLastColonOrTheSchemeDefault) {
    const std::pair<const char*, int> cases[] = {
        {"https://example.com/", 443},
        {"http://example.com/", 80},
        {"https://example.com:8443/", 8443},
        {"HTTPS://example.com/", 443},
        {"example.com/x", 80},
        {"", 80},
        {"http://example.com:/", 0},
        {"http://example.com:81x/", 81},
        {"http://example.com:99999999999999999999/", 2147483647},  // saturates, no overflow
        {"httpite.example/", 80},
        {"httpssite.example/", 443},  // only the first five characters are looked at
    };
    for (const auto& [url, port] : cases) {
        SCOPED_TRACE(url);
        EXPECT_EQ(UrlPort(url), port);
    }
}

TEST(UrlPath, RunsFromTheFirstSlashAfterTheHost) {
    const std::pair<const char*, const char*> cases[] = {
        {"https://example.com", "/"},
        {"https://example.com/a/B?c=1#d", "/a/B?c=1#d"},
        {"HTTP://Example.COM/Path/X?Q=Y", "/Path/X?Q=Y"},
        {"http://example.com?x=1", "/"},
        {"example.com/x", "/x"},
        {"", "/"},
        {"http://a.com/http://a.com/b", "/http://a.com/b"},
        {"http://example.com:8080/p", "/p"},
    };
    for (const auto& [url, path] : cases) {
        SCOPED_TRACE(url);
        EXPECT_EQ(UrlPath(url), path);
    }
}

}  // namespace
}  // namespace lumetra
