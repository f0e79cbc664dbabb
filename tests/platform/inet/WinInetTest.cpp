#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

#include "platform/inet/InetTesting.h"
#include "platform/inet/ProxyList.h"
#include "platform/inet/WinInet.h"
#include "support/LoopbackServer.h"

namespace lumetra::platform {
namespace {

using namespace std::chrono_literals;
using lumetra::testing::LoopbackServer;
using lumetra::testing::RecordedRequest;
using lumetra::testing::Reply;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;
using ::testing::UnorderedElementsAre;

constexpr DWORD kAllSecurity = 0x1F380;

struct Call {
    std::string verb = "GET";
    std::string object = "/";
    const char* version = "HTTP/1.1";
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_COOKIES;
    std::optional<DWORD> security;
    std::string headers;
    std::string body;
    std::string agent = "Agent/1";
    DWORD chunk = 1024;
    std::string proxy;  // empty: direct
};

struct Outcome {
    bool sent = false;
    std::string body;
    bool readEnded = false;  // the last read said "end" rather than "failed"
    std::string head;
};

// One request through all eight calls, as HttpAccess makes them.
Outcome Perform(int port, const Call& call) {
    Outcome outcome;
    HINTERNET internet =
        call.proxy.empty()
            ? InternetOpenA(call.agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0)
            : InternetOpenA(call.agent.c_str(), INTERNET_OPEN_TYPE_PROXY, call.proxy.c_str(), "",
                            0);
    HINTERNET connection = InternetConnectA(internet, "127.0.0.1", static_cast<INTERNET_PORT>(port),
                                            nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request = HttpOpenRequestA(connection, call.verb.c_str(), call.object.c_str(),
                                         call.version, nullptr, nullptr, call.flags, 0);
    EXPECT_NE(request, nullptr);
    if (call.security) {
        DWORD value = *call.security;
        EXPECT_TRUE(
            InternetSetOptionA(request, INTERNET_OPTION_SECURITY_FLAGS, &value, sizeof value));
    }
    outcome.sent = HttpSendRequestA(request, call.headers.empty() ? nullptr : call.headers.c_str(),
                                    static_cast<DWORD>(call.headers.size()),
                                    call.body.empty() ? nullptr : call.body.data(),
                                    static_cast<DWORD>(call.body.size()));
    std::vector<char> buffer(call.chunk);
    DWORD read = 0;
    for (;;) {
        bool ok = InternetReadFile(request, buffer.data(), call.chunk, &read);
        EXPECT_LE(read, call.chunk);
        if (!ok || read == 0) {
            outcome.readEnded = ok;
            break;
        }
        outcome.body.append(buffer.data(), read);
    }
    char head[8192];
    DWORD length = sizeof head;
    if (HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, head, &length, nullptr)) {
        outcome.head.assign(head, length);
    }
    EXPECT_TRUE(InternetCloseHandle(request));
    EXPECT_TRUE(InternetCloseHandle(connection));
    EXPECT_TRUE(InternetCloseHandle(internet));
    return outcome;
}

class WinInetTest : public ::testing::Test {
  protected:
    void SetUp() override { ClearInetCookiesForTesting(); }
    void TearDown() override { ResetInetTimeoutsForTesting(); }
    LoopbackServer server;
};

TEST_F(WinInetTest, SendsTheRequestLineAndHeadersAsGivenAndNothingOfCurlsOwn) {
    Call call;
    call.verb = "POST";
    call.object = "/a/B?c=1#d";
    call.headers = "X-One: 1\r\nX-Empty:\r\n";
    call.body = std::string(2 << 20, 'b');  // large enough for curl to want an Expect line
    Perform(server.Port(), call);

    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].requestLine, "POST /a/B?c=1#d HTTP/1.1");
    EXPECT_THAT(requests[0].headerLines,
                UnorderedElementsAre(
                    "Host: 127.0.0.1:" + std::to_string(server.Port()), "User-Agent: Agent/1",
                    "X-One: 1", "X-Empty:", "Content-Length: " + std::to_string(call.body.size())));
    EXPECT_EQ(requests[0].body, call.body);
}

TEST_F(WinInetTest, TheBlocksOwnAgentAndAcceptReplaceNothingAndAreSentOnce) {
    Call call;
    call.headers = "user-agent: Own/2\r\nAccept: text/plain";
    call.version = "HTTP/1.0";
    Perform(server.Port(), call);
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].requestLine, "GET / HTTP/1.0");
    EXPECT_THAT(requests[0].headerLines,
                UnorderedElementsAre("Host: 127.0.0.1:" + std::to_string(server.Port()),
                                     "user-agent: Own/2", "Accept: text/plain"));
}

TEST_F(WinInetTest, LinesThatCouldSplitTheRequestAreDefused) {
    Call call;
    call.object = "/a b\r\nX-Injected: 1";
    call.headers = "X-Good: 1\r\nX-Bad: 1\rX-Injected: 2\r\nX-Nul: 1";
    call.headers += '\0';
    call.headers += "X-Injected: 3";
    call.agent = "Bad\r\nX-Injected: 4";
    Perform(server.Port(), call);
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target, "/a%20b%0D%0AX-Injected:%201");
    EXPECT_THAT(requests[0].headerLines, Contains("X-Good: 1"));
    EXPECT_EQ(requests[0].Header("X-Injected"), "");
    EXPECT_EQ(requests[0].Header("X-Bad"), "");
    EXPECT_EQ(requests[0].Header("User-Agent"), "");
}

TEST_F(WinInetTest, ReadHandsOutTheBodyInTheCallersChunkSize) {
    const std::string page = "0123456789abcdefghijklmnopqrstuvwxyz";
    server.SetHandler([&](const RecordedRequest&) { return Reply::Html(page); });
    for (DWORD chunk : {1u, 7u, 36u, 4096u}) {
        Call call;
        call.chunk = chunk;
        Outcome outcome = Perform(server.Port(), call);
        EXPECT_TRUE(outcome.sent);
        EXPECT_EQ(outcome.body, page) << chunk;
        EXPECT_TRUE(outcome.readEnded);
    }
}

TEST_F(WinInetTest, RawHeadersFitWithTheirZeroByteOrReportTheSizeNeeded) {
    HINTERNET internet = InternetOpenA("A", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection =
        InternetConnectA(internet, "127.0.0.1", static_cast<INTERNET_PORT>(server.Port()), nullptr,
                         nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request =
        HttpOpenRequestA(connection, "GET", "/", "HTTP/1.1", nullptr, nullptr, 0, 0);
    char buffer[512];
    DWORD length = sizeof buffer;
    EXPECT_FALSE(HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer, &length,
                                nullptr));  // not sent
    ASSERT_TRUE(HttpSendRequestA(request, nullptr, 0, nullptr, 0));

    const std::string head =
        Reply::Html("Not Found", 404)
            .raw.substr(0, Reply::Html("Not Found", 404).raw.find("\r\n\r\n") + 4);
    std::fill(std::begin(buffer), std::end(buffer), '#');
    length = static_cast<DWORD>(head.size());  // no room for the zero byte
    EXPECT_FALSE(HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer, &length, nullptr));
    EXPECT_EQ(length, head.size() + 1);
    EXPECT_EQ(buffer[0], '#');

    EXPECT_TRUE(HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer, &length, nullptr));
    EXPECT_EQ(length, head.size());
    EXPECT_EQ(std::string(buffer), head);
    EXPECT_FALSE(HttpQueryInfoA(request, 21, buffer, &length, nullptr));

    EXPECT_TRUE(InternetCloseHandle(request));
    EXPECT_TRUE(InternetCloseHandle(connection));
    EXPECT_TRUE(InternetCloseHandle(internet));
}

TEST_F(WinInetTest, HandlesCloseOnceInAnyOrderAndWrongHandlesAreRefused) {
    HINTERNET internet = InternetOpenA("A", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection =
        InternetConnectA(internet, "127.0.0.1", static_cast<INTERNET_PORT>(server.Port()), nullptr,
                         nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request =
        HttpOpenRequestA(connection, "GET", "/", "HTTP/1.1", nullptr, nullptr, 0, 0);
    EXPECT_TRUE(InternetCloseHandle(internet));
    EXPECT_TRUE(InternetCloseHandle(connection));
    EXPECT_TRUE(HttpSendRequestA(request, nullptr, 0, nullptr, 0));  // its parents are gone
    EXPECT_TRUE(InternetCloseHandle(request));
    EXPECT_FALSE(InternetCloseHandle(request));
    EXPECT_FALSE(InternetCloseHandle(nullptr));

    HINTERNET other = InternetOpenA("A", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    DWORD read = 7;
    char byte;
    EXPECT_FALSE(HttpSendRequestA(other, nullptr, 0, nullptr, 0));  // not a request
    EXPECT_FALSE(InternetReadFile(other, &byte, 1, &read));
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(HttpOpenRequestA(other, "GET", "/", nullptr, nullptr, nullptr, 0, 0), nullptr);
    EXPECT_EQ(InternetConnectA(other, "", 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0),
              nullptr);
    EXPECT_EQ(InternetConnectA(other, "h", 80, nullptr, nullptr, 1, 0, 0), nullptr);
    EXPECT_EQ(InternetOpenA("A", 2, nullptr, nullptr, 0), nullptr);
    HINTERNET c = InternetConnectA(other, "h", 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    EXPECT_EQ(HttpOpenRequestA(c, "GE T", "/", nullptr, nullptr, nullptr, 0, 0), nullptr);
    HINTERNET unsent = HttpOpenRequestA(c, nullptr, "/", nullptr, nullptr, nullptr, 0, 0);
    EXPECT_FALSE(InternetReadFile(unsent, &byte, 1, &read));
    for (HINTERNET h : {unsent, c, other}) EXPECT_TRUE(InternetCloseHandle(h));
}

TEST_F(WinInetTest, CertificateChecksStayOnUnlessTheSecurityFlagsLiftThem) {
    LoopbackServer tls(LoopbackServer::Scheme::Https);
    tls.SetHandler([](const RecordedRequest&) { return Reply::Html("secret"); });
    struct Case {
        std::optional<DWORD> security;
        bool passes;
    };
    const Case cases[] = {
        {std::nullopt, false},
        {SECURITY_FLAG_IGNORE_CERT_CN_INVALID, false},
        {SECURITY_FLAG_IGNORE_UNKNOWN_CA, true},
        {kAllSecurity, true},
    };
    for (const auto& c : cases) {
        Call call;
        call.flags |= INTERNET_FLAG_SECURE;
        call.security = c.security;
        Outcome outcome = Perform(tls.Port(), call);
        EXPECT_EQ(outcome.sent, c.passes) << c.security.value_or(0);
        EXPECT_EQ(outcome.body, c.passes ? "secret" : "");
        EXPECT_EQ(outcome.readEnded, c.passes);
    }
}

TEST_F(WinInetTest, RedirectsAreFollowedToTheEndOfABoundedChain) {
    server.SetHandler([](const RecordedRequest& r) {
        if (r.target == "/loop") return Reply::Redirect("/loop");
        if (r.target == "/1") return Reply::Redirect("/2", 301);
        return Reply::Html("at " + r.target);
    });
    Call call;
    call.object = "/1";
    Outcome outcome = Perform(server.Port(), call);
    EXPECT_EQ(outcome.body, "at /2");
    EXPECT_THAT(outcome.head, StartsWith("HTTP/1.1 200 OK\r\n"));
    EXPECT_THAT(outcome.head, ::testing::EndsWith("\r\n\r\n"));

    call.object = "/loop";
    outcome = Perform(server.Port(), call);
    EXPECT_THAT(outcome.head, StartsWith("HTTP/1.1 302 Found\r\n"));
    EXPECT_EQ(server.Requests().size(), 2u + 21u);  // the first request and twenty redirects

    call.object = "/1";
    call.flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    outcome = Perform(server.Port(), call);
    EXPECT_THAT(outcome.head, StartsWith("HTTP/1.1 301 Moved Permanently\r\nLocation: /2\r\n"));
}

TEST_F(WinInetTest, RedirectsChangeTheVerbTheWayBrowsersDo) {
    server.SetHandler([](const RecordedRequest& r) {
        if (r.target.starts_with("/r"))
            return Reply::Redirect("/done", std::stoi(r.target.substr(2)));
        return Reply::Html("done");
    });
    struct Case {
        int status;
        const char* verb;
        const char* followVerb;
        bool bodyAgain;
    };
    const Case cases[] = {
        {302, "POST", "GET", false}, {301, "POST", "GET", false}, {303, "PUT", "GET", false},
        {307, "POST", "POST", true}, {308, "PUT", "PUT", true},   {302, "DELETE", "DELETE", false},
    };
    for (const auto& c : cases) {
        std::size_t before = server.Requests().size();
        Call call;
        call.verb = c.verb;
        call.object = "/r" + std::to_string(c.status);
        call.body = c.status == 302 && std::string(c.verb) == "DELETE" ? "" : "payload";
        EXPECT_EQ(Perform(server.Port(), call).body, "done");
        auto requests = server.Requests();
        ASSERT_EQ(requests.size(), before + 2);
        EXPECT_EQ(requests.back().method, c.followVerb) << c.status << c.verb;
        EXPECT_EQ(requests.back().body, c.bodyAgain ? "payload" : "") << c.status << c.verb;
    }
}

TEST_F(WinInetTest, CrossingToOrFromTlsInARedirectNeedsItsFlag) {
    LoopbackServer tls(LoopbackServer::Scheme::Https);
    tls.SetHandler([&](const RecordedRequest& r) {
        if (r.target == "/down") return Reply::Redirect(server.BaseUrl() + "/plain");
        return Reply::Html("tls");
    });
    server.SetHandler([&](const RecordedRequest& r) {
        if (r.target == "/up") return Reply::Redirect(tls.BaseUrl() + "/secure");
        return Reply::Html("plain");
    });
    struct Case {
        bool fromTls;
        DWORD flags;
        DWORD security;
        const char* body;
    };
    const DWORD reload = INTERNET_FLAG_RELOAD;
    const DWORD noChecks = SECURITY_FLAG_IGNORE_UNKNOWN_CA;
    const Case cases[] = {
        {false, reload, noChecks, ""},
        {false, reload | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS, noChecks, "tls"},
        {false, reload, noChecks | SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTPS, "tls"},
        {true, reload | INTERNET_FLAG_SECURE, noChecks, ""},
        {true, reload | INTERNET_FLAG_SECURE, noChecks | SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTP,
         "plain"},
    };
    for (const auto& c : cases) {
        Call call;
        call.object = c.fromTls ? "/down" : "/up";
        call.flags = c.flags;
        call.security = c.security;
        Outcome outcome = Perform(c.fromTls ? tls.Port() : server.Port(), call);
        EXPECT_EQ(outcome.body, c.body) << c.fromTls << " " << c.flags << " " << c.security;
        if (std::string(c.body).empty()) {
            EXPECT_THAT(outcome.head, StartsWith("HTTP/1.1 302"));
        }
    }
}

TEST_F(WinInetTest, ARedirectToAnotherSiteLeavesTheCookieAndAuthorizationLinesBehind) {
    LoopbackServer other;
    server.SetHandler([&](const RecordedRequest& r) {
        if (r.target == "/away") return Reply::Redirect(other.BaseUrl() + "/landed");
        if (r.target == "/near") return Reply::Redirect("/landed");
        return Reply::Html("here");
    });
    Call call;
    call.headers = "Cookie: a=1\r\nAuthorization: Basic eA==\r\nX-Keep: 1";
    call.object = "/away";
    Perform(server.Port(), call);
    call.object = "/near";
    Perform(server.Port(), call);

    ASSERT_EQ(other.Requests().size(), 1u);
    const RecordedRequest landed = other.Requests()[0];
    EXPECT_EQ(landed.Header("Cookie"), "");
    EXPECT_EQ(landed.Header("Authorization"), "");
    EXPECT_EQ(landed.Header("X-Keep"), "1");
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[2].Header("Cookie"), "a=1");  // same site: kept
}

TEST_F(WinInetTest, TheCookieStoreIsSharedUnlessARequestOptsOut) {
    server.SetHandler([](const RecordedRequest& r) {
        if (r.target == "/set") return Reply::Html("", 200, {"Set-Cookie: shared=1; Path=/"});
        if (r.target == "/private") return Reply::Html("", 200, {"Set-Cookie: private=1; Path=/"});
        return Reply::Html("");
    });
    const DWORD store = INTERNET_FLAG_RELOAD;
    const DWORD noStore = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_COOKIES;
    auto run = [&](const char* object, DWORD flags) {
        Call call;
        call.object = object;
        call.flags = flags;
        Perform(server.Port(), call);
        return server.Requests().back().Header("Cookie");
    };
    EXPECT_EQ(run("/set", store), "");
    EXPECT_EQ(run("/private", noStore), "");  // not stored
    EXPECT_EQ(run("/next", noStore), "");     // not sent
    EXPECT_EQ(run("/next", store), "shared=1");
    ClearInetCookiesForTesting();
    EXPECT_EQ(run("/next", store), "");
}

TEST_F(WinInetTest, BrokenAnswersHandOutWhatArrivedThenFail) {
    const std::string page(20000, 'z');
    struct Case {
        const char* name;
        std::size_t closeAfter;  // bytes of the body sent
        bool reset;
    };
    const Case cases[] = {{"closed mid-body", 12345, false},
                          {"closed before the body", 0, false},
                          {"reset mid-body", 12345, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.SetHandler([&](const RecordedRequest&) {
            Reply reply = Reply::Html(page);
            reply.closeAfter = reply.raw.size() - page.size() + c.closeAfter;
            reply.reset = c.reset;
            return reply;
        });
        Outcome outcome = Perform(server.Port(), Call{});
        EXPECT_TRUE(outcome.sent);
        EXPECT_FALSE(outcome.readEnded);
        EXPECT_EQ(outcome.body, page.substr(0, outcome.body.size()));
        if (!c.reset) {
            EXPECT_EQ(outcome.body.size(), c.closeAfter);
        }
        EXPECT_THAT(outcome.head, StartsWith("HTTP/1.1 200 OK\r\n"));
    }
}

TEST_F(WinInetTest, NoAnswerAtAllFailsEveryCall) {
    LoopbackServer garbage(LoopbackServer::Scheme::GarbageTls);
    SetInetTimeoutsForTesting(5s, 1s);
    server.SetHandler([](const RecordedRequest&) {
        Reply reply;
        reply.stall = true;
        return reply;
    });
    Call tlsCall;
    tlsCall.flags |= INTERNET_FLAG_SECURE;
    tlsCall.security = kAllSecurity;
    for (auto [port, call] :
         {std::pair{server.Port(), Call{}}, std::pair{garbage.Port(), tlsCall}}) {
        Outcome outcome = Perform(port, call);
        EXPECT_FALSE(outcome.sent);
        EXPECT_EQ(outcome.body, "");
        EXPECT_FALSE(outcome.readEnded);
        EXPECT_EQ(outcome.head, "");
    }
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(WinInetTest, AProxyListNamesTheProxyOfEachScheme) {
    LoopbackServer proxy;
    proxy.SetHandler([](const RecordedRequest&) { return Reply::Html("proxied"); });
    const std::string at = "127.0.0.1:" + std::to_string(proxy.Port());
    server.SetHandler([](const RecordedRequest&) { return Reply::Html("direct"); });
    struct Case {
        std::string list;
        const char* body;
    };
    const Case cases[] = {
        {at, "proxied"},
        {"http=" + at, "proxied"},
        {"https=" + at, "direct"},  // none for plain requests: they go direct
        {"https=127.0.0.1:1 http=" + at, "proxied"},
    };
    for (const auto& c : cases) {
        Call call;
        call.proxy = c.list;
        call.object = "/x";
        EXPECT_EQ(Perform(server.Port(), call).body, c.body) << c.list;
    }
    EXPECT_EQ(proxy.Requests().back().requestLine,
              "GET http://127.0.0.1:" + std::to_string(server.Port()) + "/x HTTP/1.1");
}

TEST(ProxyFor, PicksTheEntryOfTheSchemeOrTheGeneralOne) {
    struct Case {
        const char* list;
        bool secure;
        const char* proxy;
    };
    const Case cases[] = {
        {"", false, ""},
        {"h:1", false, "http://h:1"},
        {"h:1", true, "http://h:1"},
        {"http=h:1", false, "http://h:1"},
        {"http=h:1", true, ""},
        {"https=s:2;http=h:1", true, "http://s:2"},
        {"g:3 https=s:2", true, "http://s:2"},
        {"g:3 https=s:2", false, "http://g:3"},
        {"http=", false, ""},
        {"http=socks5://h:1", false, "socks5://h:1"},
        {" ; h:1 ", false, "http://h:1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(inet::ProxyFor(c.list, c.secure), c.proxy) << c.list << " " << c.secure;
    }
}

}  // namespace
}  // namespace lumetra::platform
