#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "platform/inet/InetTesting.h"
#include "support/LoopbackServer.h"
#include "web/HttpAccess.h"

namespace lumetra {
namespace {

using namespace std::chrono_literals;
using lumetra::testing::LoopbackServer;
using lumetra::testing::RecordedRequest;
using lumetra::testing::Reply;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::UnorderedElementsAreArray;

constexpr char kAgent[] = "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

class HttpAccessTest : public ::testing::Test {
  protected:
    void SetUp() override { platform::ClearInetCookiesForTesting(); }
    void TearDown() override { platform::ResetInetTimeoutsForTesting(); }

    RecordedRequest OnlyRequest(const LoopbackServer& server) {
        auto requests = server.Requests();
        EXPECT_EQ(requests.size(), 1u);
        return requests.empty() ? RecordedRequest{} : requests.front();
    }
    static std::string HostLine(const LoopbackServer& server) {
        return "Host: 127.0.0.1:" + std::to_string(server.Port());
    }
    static std::vector<std::string> LinesNamed(const RecordedRequest& request,
                                               const std::string& name) {
        std::vector<std::string> found;
        for (const auto& line : request.headerLines) {
            if (line.size() > name.size() && line.compare(0, name.size() + 1, name + ":") == 0) {
                found.push_back(line);
            }
        }
        return found;
    }
};

TEST_F(HttpAccessTest, FetchPageTextSendsTheDefaultRequestAndNothingElse) {
    for (auto scheme : {LoopbackServer::Scheme::Http, LoopbackServer::Scheme::Https}) {
        LoopbackServer server(scheme);  // https: a self-signed certificate
        server.SetHandler([](const RecordedRequest&) { return Reply::Html("<p>page</p>"); });
        const std::string url = server.BaseUrl() + "/list_2.html?a=1";
        SCOPED_TRACE(url);

        EXPECT_EQ(FetchPageText(url), "<p>page</p>");

        RecordedRequest request = OnlyRequest(server);
        EXPECT_EQ(request.requestLine, "GET /list_2.html?a=1 HTTP/1.1");
        EXPECT_THAT(request.headerLines,
                    UnorderedElementsAreArray({std::string("Accept: */*"), "Referer: " + url,
                                               std::string("Accept-Language: zh-cn"),
                                               HostLine(server), std::string(kAgent)}));
        EXPECT_THAT(request.raw, ::testing::EndsWith("\r\n\r\n"));
        EXPECT_EQ(request.body, "");
    }
}

TEST_F(HttpAccessTest, PostNormalisesNamesAddsTheMissingDefaultsAndSendsTheBody) {
    LoopbackServer server;
    const std::string url = server.BaseUrl() + "/form";
    Text headers = "accept: text/html";
    Bytes bodyBytes;
    HttpAccessOptions options;
    options.method = 1;
    options.bodyText = "a=1&b=2";
    options.headers = &headers;
    options.bodyBytes = &bodyBytes;

    HttpAccess(url, options);

    RecordedRequest request = OnlyRequest(server);
    EXPECT_EQ(request.requestLine, "POST /form HTTP/1.1");
    EXPECT_THAT(request.headerLines,
                UnorderedElementsAreArray(
                    {std::string("Accept: text/html"), "Referer: " + url,
                     std::string("Accept-Language: zh-cn"),
                     std::string("Content-Type: application/x-www-form-urlencoded"),
                     HostLine(server), std::string(kAgent), std::string("Content-Length: 7")}));
    EXPECT_EQ(request.body, "a=1&b=2");
    EXPECT_EQ(headers,
              "Accept: text/html\r\nReferer: " + url +
                  "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded");
    EXPECT_EQ(bodyBytes, Bytes({'a', '=', '1', '&', 'b', '=', '2'}));
}

TEST_F(HttpAccessTest, BodyBytesWinOverBodyTextAndGetSendsNoBody) {
    LoopbackServer server;
    Bytes bodyBytes = {'r', 'a', 'w', 0, 'x'};
    HttpAccessOptions post;
    post.method = 3;
    post.bodyText = "ignored";
    post.bodyBytes = &bodyBytes;
    HttpAccess(server.BaseUrl() + "/put", post);
    HttpAccessOptions get;
    get.bodyText = "never sent";
    HttpAccess(server.BaseUrl() + "/get", get);

    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].requestLine, "PUT /put HTTP/1.1");
    EXPECT_EQ(requests[0].body, std::string("raw\0x", 5));
    EXPECT_EQ(requests[1].Header("Content-Length"), "");
    EXPECT_EQ(requests[1].body, "");
}

TEST_F(HttpAccessTest, MethodIndexPicksTheVerbAndOutOfRangeSendsGet) {
    const std::pair<int, const char*> cases[] = {
        {-1, "GET"},    {0, "GET"},    {1, "POST"},  {2, "HEAD"},    {3, "PUT"},
        {4, "OPTIONS"}, {5, "DELETE"}, {6, "TRACE"}, {7, "CONNECT"}, {8, "GET"},
    };
    LoopbackServer server;
    server.SetHandler([](const RecordedRequest&) { return Reply::Html("x"); });
    for (const auto& [method, verb] : cases) {
        HttpAccessOptions options;
        options.method = method;
        HttpAccess(server.BaseUrl() + "/m", options);
    }
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), std::size(cases));
    for (std::size_t i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].requestLine, std::string(cases[i].second) + " /m HTTP/1.1")
            << cases[i].first;
    }
}

TEST_F(HttpAccessTest, CookieTextBecomesOneCookieLine) {
    for (const char* cookies : {"a=1", "Cookie: a=1"}) {
        LoopbackServer server;
        Text cookieText = cookies;
        Text headers;
        HttpAccessOptions options;
        options.cookies = &cookieText;
        options.headers = &headers;
        HttpAccess(server.BaseUrl() + "/", options);

        RecordedRequest request = OnlyRequest(server);
        EXPECT_THAT(LinesNamed(request, "Cookie"), ElementsAre("Cookie: a=1")) << cookies;
        EXPECT_THAT(headers, ::testing::EndsWith("\r\nCookie: a=1"));
    }
}

TEST_F(HttpAccessTest, ACustomUserAgentLineWins) {
    LoopbackServer server;
    Text headers = "user-agent: Mine/1.0";
    HttpAccessOptions options;
    options.headers = &headers;
    HttpAccess(server.BaseUrl() + "/", options);
    EXPECT_THAT(LinesNamed(OnlyRequest(server), "User-Agent"), ElementsAre("User-Agent: Mine/1.0"));
}

TEST_F(HttpAccessTest, WithoutDefaultHeadersOnlyTheCallersLinesGo) {
    LoopbackServer server;
    Text headers = "X-One: 1";
    Text cookies = "k=v";
    HttpAccessOptions options;
    options.headers = &headers;
    options.cookies = &cookies;
    options.addDefaultHeaders = false;
    HttpAccess(server.BaseUrl() + "/", options);
    EXPECT_THAT(OnlyRequest(server).headerLines,
                UnorderedElementsAreArray({std::string("X-One: 1"), std::string("Cookie: k=v"),
                                           HostLine(server), std::string(kAgent)}));
    EXPECT_EQ(headers, "X-One: 1\r\nCookie: k=v");
}

TEST_F(HttpAccessTest, ResponseHeadersAndSetCookiesOfTheResponse) {
    LoopbackServer server;
    server.SetHandler([](const RecordedRequest&) {
        return Reply::Html("ok", 200,
                           {"Set-Cookie: a=1; path=/", "set-cookie: c=3", "Set-Cookie: b=2"});
    });
    Text setCookies = "untouched";
    Text responseHeaders;
    HttpAccessOptions options;
    options.setCookies = &setCookies;
    options.responseHeaders = &responseHeaders;
    Bytes body = HttpAccess(server.BaseUrl() + "/", options);

    EXPECT_EQ(body, Bytes({'o', 'k'}));
    EXPECT_EQ(setCookies, "a=1; b=2");
    EXPECT_EQ(
        responseHeaders,
        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 2\r\nConnection: close\r\n"
        "Set-Cookie: a=1; path=/\r\nset-cookie: c=3\r\nSet-Cookie: b=2\r\n\r\n");

    server.SetHandler([](const RecordedRequest&) { return Reply::Html("none"); });
    HttpAccess(server.BaseUrl() + "/", options);
    EXPECT_EQ(setCookies, "");
}

TEST_F(HttpAccessTest, PresentCookiesMergeWithTheResponseAndSkipTheStore) {
    LoopbackServer server;
    server.SetHandler([](const RecordedRequest& r) {
        if (r.target == "/set")
            return Reply::Html("", 200, {"Set-Cookie: a=1; path=/", "Set-Cookie: b=2"});
        return Reply::Html("plain");
    });
    struct Case {
        const char* cookies;
        std::optional<bool> merge;
        const char* cookiesAfter;
        const char* setCookiesAfter;
    };
    const Case cases[] = {
        {"", {}, "a=1; b=2", "a=1; b=2"},
        {"b=0; z=9", {}, "a=1; b=2; z=9", "a=1; b=2; z=9"},
        {"b=0; z=9", false, "b=0; z=9", "a=1; b=2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cookies);
        Text cookies = c.cookies;
        Text setCookies;
        HttpAccessOptions options;
        options.cookies = &cookies;
        options.setCookies = &setCookies;
        options.mergeCookies = c.merge;
        HttpAccess(server.BaseUrl() + "/set", options);
        EXPECT_EQ(cookies, c.cookiesAfter);
        EXPECT_EQ(setCookies, c.setCookiesAfter);
    }
    // Nothing reached the process store: a request using it carries no cookie.
    FetchPageText(server.BaseUrl() + "/after");
    auto requests = server.Requests();
    EXPECT_THAT(LinesNamed(requests.front(), "Cookie"), IsEmpty());  // present but empty: no line
    EXPECT_THAT(LinesNamed(requests.back(), "Cookie"), IsEmpty());
}

TEST_F(HttpAccessTest, AbsentCookiesUseTheProcessStoreAcrossRequests) {
    LoopbackServer server;
    server.SetHandler([](const RecordedRequest& r) {
        if (r.target == "/login") return Reply::Html("in", 200, {"Set-Cookie: sid=abc; path=/"});
        return Reply::Html("page");
    });
    FetchPageText(server.BaseUrl() + "/login");
    FetchPageText(server.BaseUrl() + "/next");
    Text cookies = "own=1";
    HttpAccessOptions options;
    options.cookies = &cookies;
    HttpAccess(server.BaseUrl() + "/own", options);

    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_THAT(LinesNamed(requests[0], "Cookie"), IsEmpty());
    EXPECT_THAT(LinesNamed(requests[1], "Cookie"), ElementsAre("Cookie: sid=abc"));
    EXPECT_THAT(LinesNamed(requests[2], "Cookie"), ElementsAre("Cookie: own=1"));
}

TEST_F(HttpAccessTest, RedirectsAreFollowedUnlessNoRedirect) {
    LoopbackServer server;
    server.SetHandler([](const RecordedRequest& r) {
        if (r.target == "/start") return Reply::Redirect("/end");
        return Reply::Html("end", 200, {"Set-Cookie: final=1"});
    });
    Text responseHeaders;
    Text setCookies;
    HttpAccessOptions options;
    options.responseHeaders = &responseHeaders;
    options.setCookies = &setCookies;
    EXPECT_EQ(HttpAccess(server.BaseUrl() + "/start", options), Bytes({'e', 'n', 'd'}));
    EXPECT_THAT(responseHeaders, ::testing::StartsWith("HTTP/1.1 200 OK\r\n"));
    EXPECT_EQ(setCookies, "final=1");

    options.noRedirect = true;
    EXPECT_THAT(HttpAccess(server.BaseUrl() + "/start", options), IsEmpty());
    EXPECT_THAT(responseHeaders, ::testing::StartsWith("HTTP/1.1 302 Found\r\nLocation: /end\r\n"));
    EXPECT_EQ(server.Requests().size(), 3u);
}

TEST_F(HttpAccessTest, FetchPageTextCutsTheBodyAtItsFirstZeroByte) {
    LoopbackServer server;
    server.SetHandler([](const RecordedRequest&) { return Reply::Html(std::string("ab\0cd", 5)); });
    EXPECT_EQ(FetchPageText(server.BaseUrl() + "/"), "ab");
    EXPECT_EQ(HttpAccess(server.BaseUrl() + "/").size(), 5u);
}

TEST_F(HttpAccessTest, AResponseHeadTooLongForTheBufferLeavesSpacesAndNoCookies) {
    LoopbackServer server;
    server.SetHandler([](const RecordedRequest&) {
        return Reply::Html("body", 200, {"Set-Cookie: a=1", "X-Long: " + std::string(5000, 'x')});
    });
    Text responseHeaders;
    Text setCookies = "old";
    Text cookies = "keep=1";
    HttpAccessOptions options;
    options.responseHeaders = &responseHeaders;
    options.setCookies = &setCookies;
    options.cookies = &cookies;
    EXPECT_EQ(HttpAccess(server.BaseUrl() + "/", options), Bytes({'b', 'o', 'd', 'y'}));
    EXPECT_EQ(responseHeaders, Text(5000, ' '));
    EXPECT_EQ(setCookies, "keep=1");
    EXPECT_EQ(cookies, "keep=1");
}

TEST_F(HttpAccessTest, FailuresReturnEmptyAndWriteTheOutputsOfTheirStep) {
    int closedPort = 0;
    {
        LoopbackServer gone;
        closedPort = gone.Port();
    }
    struct Case {
        std::string url;
        bool handlesOpened;  // the request was opened and failed at sending
    };
    const Case cases[] = {
        {"http://127.0.0.1:" + std::to_string(closedPort) + "/", true},
        {"http://127.0.0.1:70000/", false},  // beyond 16 bits: no connection, not port 4464
        {"http://127.0.0.1:-1/", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        Text headers = "x-a: 1";
        Text setCookies = "s";
        Text responseHeaders = "r";
        Text cookies = "c=1";
        HttpAccessOptions options;
        options.headers = &headers;
        options.setCookies = &setCookies;
        options.responseHeaders = &responseHeaders;
        options.cookies = &cookies;
        EXPECT_THAT(HttpAccess(c.url, options), IsEmpty());
        EXPECT_EQ(FetchPageText(c.url), "");
        if (c.handlesOpened) {
            EXPECT_THAT(headers, ::testing::StartsWith("X-A: 1\r\nAccept: */*\r\nReferer: "));
            EXPECT_EQ(responseHeaders, Text(5000, ' '));
            EXPECT_EQ(setCookies, "c=1");
        } else {
            EXPECT_EQ(headers, "X-A: 1");
            EXPECT_EQ(responseHeaders, "r");
            EXPECT_EQ(setCookies, "s");
        }
        EXPECT_EQ(cookies, "c=1");
    }
}

TEST_F(HttpAccessTest, AConnectionClosedMidBodyKeepsWhatArrived) {
    LoopbackServer server;
    const std::string page(3000, 'p');
    server.SetHandler([&](const RecordedRequest&) {
        Reply reply = Reply::Html(page);
        reply.closeAfter = reply.raw.size() - 1000;
        return reply;
    });
    EXPECT_EQ(FetchPageText(server.BaseUrl() + "/"), page.substr(0, 2000));
}

TEST_F(HttpAccessTest, AStallingServerFailsAfterTheIdleTimeOut) {
    platform::SetInetTimeoutsForTesting(2s, 1s);
    LoopbackServer server;
    server.SetHandler([](const RecordedRequest&) {
        Reply reply;
        reply.stall = true;
        return reply;
    });
    Text responseHeaders;
    HttpAccessOptions options;
    options.responseHeaders = &responseHeaders;
    EXPECT_THAT(HttpAccess(server.BaseUrl() + "/", options), IsEmpty());
    EXPECT_EQ(responseHeaders, Text(5000, ' '));
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(HttpAccessTest, AGarbledTlsAnswerFailsQuietly) {
    LoopbackServer server(LoopbackServer::Scheme::GarbageTls);
    EXPECT_EQ(FetchPageText(server.BaseUrl() + "/"), "");
}

TEST_F(HttpAccessTest, AFiftyMegabyteBodyIsReadWhole) {
    LoopbackServer server;
    std::string big(50u << 20, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>('a' + i % 26);
    const Reply reply = Reply::Html(big);
    server.SetHandler([&](const RecordedRequest&) { return reply; });
    Text text = FetchPageText(server.BaseUrl() + "/big");
    ASSERT_EQ(text.size(), big.size());
    EXPECT_TRUE(text == big);
}

TEST_F(HttpAccessTest, AProxyGetsPlainRequestsWholeAndHttpsAsATunnel) {
    LoopbackServer proxy;
    proxy.SetHandler([](const RecordedRequest& r) {
        return r.method == "CONNECT" ? Reply::Html("no tunnel", 403) : Reply::Html("via proxy");
    });
    HttpAccessOptions options;
    options.proxy = "127.0.0.1:" + std::to_string(proxy.Port());

    EXPECT_EQ(HttpAccess("http://127.0.0.1:9/p?q=1", options),
              Bytes({'v', 'i', 'a', ' ', 'p', 'r', 'o', 'x', 'y'}));
    EXPECT_THAT(HttpAccess("https://127.0.0.1:9/s", options), IsEmpty());

    auto requests = proxy.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].requestLine, "GET http://127.0.0.1:9/p?q=1 HTTP/1.1");
    EXPECT_EQ(requests[0].Header("Referer"), "http://127.0.0.1:9/p?q=1");
    EXPECT_EQ(requests[1].requestLine, "CONNECT 127.0.0.1:9 HTTP/1.1");
}

TEST_F(HttpAccessTest, CallsOnSeveralThreadsAtOnceStayApart) {
    LoopbackServer server;
    server.SetHandler([](const RecordedRequest& r) { return Reply::Html("page" + r.target); });
    constexpr int kThreads = 6;
    constexpr int kEach = 5;
    std::vector<std::vector<Text>> got(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                got[t].push_back(
                    FetchPageText(server.BaseUrl() + "/" + std::to_string(t * 100 + i)));
            }
        });
    }
    for (auto& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) {
        for (int i = 0; i < kEach; ++i) EXPECT_EQ(got[t][i], "page/" + std::to_string(t * 100 + i));
    }
    EXPECT_EQ(server.Requests().size(), static_cast<std::size_t>(kThreads * kEach));
}

}  // namespace
}  // namespace lumetra
