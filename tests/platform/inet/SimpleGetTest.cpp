#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/inet/InetTesting.h"
#include "platform/inet/SimpleGet.h"
#include "support/LoopbackServer.h"

namespace lumetra::platform {
namespace {

using lumetra::testing::LoopbackServer;
using lumetra::testing::RecordedRequest;
using lumetra::testing::Reply;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

std::string AsText(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

class SimpleGetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearInetCookiesForTesting();
        server.SetHandler([](const RecordedRequest& r) {
            if (r.target == "/moved") return Reply::Redirect("/here");
            if (r.target == "/missing") return Reply::Html("no such page", 404);
            if (r.target == "/broken") {
                Reply reply = Reply::Html(std::string(5000, 'b'));
                reply.closeAfter = reply.raw.size() - 3000;
                return reply;
            }
            return Reply::Html("page " + r.target);
        });
    }
    LoopbackServer server;
};

TEST_F(SimpleGetTest, SendsAnHttp10GetWithItsAgentAndAcceptAndNoFragment) {
    EXPECT_EQ(AsText(SimpleGet(server.BaseUrl() + "/?page=2#top")), "page /?page=2");
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].requestLine, "GET /?page=2 HTTP/1.0");
    EXPECT_THAT(
        requests[0].headerLines,
        UnorderedElementsAre("Host: 127.0.0.1:" + std::to_string(server.Port()),
                             "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)",
                             "Accept: */*"));
}

TEST_F(SimpleGetTest, FollowsRedirectsAndIgnoresTheStatus) {
    const std::pair<const char*, const char*> cases[] = {
        {"/moved", "page /here"},
        {"/missing", "no such page"},
        {"", "page /"},
    };
    for (const auto& [path, body] : cases) {
        EXPECT_EQ(AsText(SimpleGet(server.BaseUrl() + path)), body) << path;
    }
}

TEST_F(SimpleGetTest, ABrokenBodyReturnsWhatArrived) {
    EXPECT_EQ(AsText(SimpleGet(server.BaseUrl() + "/broken")), std::string(2000, 'b'));
}

TEST_F(SimpleGetTest, UnusableUrlsAndFailedConnectionsGiveEmptyBytes) {
    int closedPort = 0;
    {
        LoopbackServer gone;
        closedPort = gone.Port();
    }
    const std::string urls[] = {
        "",
        "#only-a-fragment",
        "not a url",
        "ftp://127.0.0.1/",
        "http://",
        "http://127.0.0.1:99999/",
        "http://127.0.0.1:" + std::to_string(closedPort) + "/",
    };
    for (const auto& url : urls) EXPECT_THAT(SimpleGet(url), IsEmpty()) << url;
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(SimpleGetTest, HttpsIsFetchedWithTheCertificateChecked) {
    LoopbackServer tls(LoopbackServer::Scheme::Https);
    tls.SetHandler([](const RecordedRequest&) { return Reply::Html("secure"); });
    EXPECT_THAT(SimpleGet(tls.BaseUrl() + "/"), IsEmpty());  // self-signed: refused
}

}  // namespace
}  // namespace lumetra::platform
