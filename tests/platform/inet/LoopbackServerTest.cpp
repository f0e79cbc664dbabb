#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "support/LoopbackServer.h"

namespace lumetra::testing {
namespace {

using namespace std::chrono_literals;

// A bare socket client, so the server is checked byte for byte without curl in between.
class RawClient {
  public:
    explicit RawClient(int port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawClient() { close(fd_); }

    bool connected() const { return connected_; }
    void Send(const std::string& bytes) {
        ASSERT_EQ(send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(bytes.size()));
    }
    // Reads until `count` bytes arrived, the server closed, or 5 s passed without a byte.
    std::string Receive(std::size_t count = std::string::npos, bool* closed = nullptr) {
        std::string got;
        char buffer[4096];
        while (got.size() < count) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 5000) <= 0) break;
            ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) {
                if (closed != nullptr) *closed = true;
                break;
            }
            got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }

  private:
    int fd_;
    bool connected_ = false;
};

TEST(LoopbackServer, RecordsTheRequestAndPlaysTheReply) {
    LoopbackServer server;
    server.SetHandler(
        [](const RecordedRequest& r) { return Reply::Html("<p>" + r.target + "</p>"); });
    RawClient client(server.Port());
    ASSERT_TRUE(client.connected());
    const std::string request =
        "POST /a?b=1 HTTP/1.1\r\nHost: x\r\ncontent-length: 3\r\nX-Two:  v  \r\n\r\nabc";
    client.Send(request);
    bool closed = false;
    std::string reply = client.Receive(std::string::npos, &closed);
    EXPECT_TRUE(closed);
    EXPECT_EQ(reply, Reply::Html("<p>/a?b=1</p>").raw);

    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const RecordedRequest& r = requests[0];
    EXPECT_EQ(r.raw, request);
    EXPECT_EQ(r.requestLine, "POST /a?b=1 HTTP/1.1");
    EXPECT_EQ(r.method, "POST");
    EXPECT_EQ(r.target, "/a?b=1");
    EXPECT_EQ(r.version, "HTTP/1.1");
    EXPECT_EQ(r.headerLines,
              (std::vector<std::string>{"Host: x", "content-length: 3", "X-Two:  v  "}));
    EXPECT_EQ(r.body, "abc");
    EXPECT_EQ(r.Header("Content-Length"), "3");
    EXPECT_EQ(r.Header("x-two"), "v");
    EXPECT_EQ(r.Header("Missing"), "");
    EXPECT_EQ(server.BaseUrl(), "http://127.0.0.1:" + std::to_string(server.Port()));
}

TEST(LoopbackServer, DecodesAChunkedBodyAndKeepsItsFramingInRaw) {
    LoopbackServer server;
    RawClient client(server.Port());
    const std::string request =
        "PUT / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n3;ext\r\nabc\r\n2\r\nde\r\n0\r\n\r\n";
    client.Send(request);
    EXPECT_NE(client.Receive().find("404 Not Found"), std::string::npos);
    ASSERT_TRUE(server.WaitForRequests(1, 5s));
    EXPECT_EQ(server.Requests()[0].body, "abcde");
    EXPECT_EQ(server.Requests()[0].raw, request);
}

TEST(LoopbackServer, ServesSeveralRequestsOnAConnectionKeptOpen) {
    LoopbackServer server;
    const std::string open = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
    server.SetHandler([&](const RecordedRequest&) { return Reply{open}; });
    RawClient client(server.Port());
    client.Send("GET /1 HTTP/1.1\r\nHost: x\r\n\r\nGET /2 HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_EQ(client.Receive(2 * open.size()), open + open);
    client.Send("GET /3 HTTP/1.1\r\nConnection: close\r\n\r\n");
    bool closed = false;
    EXPECT_EQ(client.Receive(std::string::npos, &closed), open);
    EXPECT_TRUE(closed);
    ASSERT_EQ(server.Requests().size(), 3u);
    EXPECT_EQ(server.Requests()[2].target, "/3");
    EXPECT_EQ(server.Connections(), 1u);
}

TEST(LoopbackServer, ClosesAfterTheScriptedNumberOfBytes) {
    LoopbackServer server;
    server.SetHandler([](const RecordedRequest&) {
        Reply reply = Reply::Html(std::string(100, 'x'));
        reply.closeAfter = reply.raw.size() - 60;
        return reply;
    });
    RawClient client(server.Port());
    client.Send("GET / HTTP/1.0\r\n\r\n");
    bool closed = false;
    std::string got = client.Receive(std::string::npos, &closed);
    EXPECT_TRUE(closed);
    EXPECT_EQ(got, Reply::Html(std::string(100, 'x')).raw.substr(0, got.size()));
    EXPECT_EQ(got.size(), Reply::Html(std::string(100, 'x')).raw.size() - 60);
}

TEST(LoopbackServer, AnswersAnExpectationToContinue) {
    LoopbackServer server;
    RawClient client(server.Port());
    client.Send("POST / HTTP/1.1\r\nExpect: 100-continue\r\nContent-Length: 2\r\n\r\n");
    EXPECT_EQ(client.Receive(25), "HTTP/1.1 100 Continue\r\n\r\n");
    client.Send("hi");
    ASSERT_TRUE(server.WaitForRequests(1, 5s));
    EXPECT_EQ(server.Requests()[0].body, "hi");
}

TEST(LoopbackServer, StopEndsStalledConnectionsAndBlockedReads) {
    auto server = std::make_unique<LoopbackServer>();
    server->SetHandler([](const RecordedRequest&) {
        Reply reply;
        reply.stall = true;
        return reply;
    });
    RawClient stalled(server->Port());
    stalled.Send("GET / HTTP/1.1\r\n\r\n");
    RawClient silent(server->Port());  // never sends a byte
    ASSERT_TRUE(server->WaitForRequests(1, 5s));
    server.reset();
    bool closed = false;
    EXPECT_EQ(stalled.Receive(std::string::npos, &closed), "");
    EXPECT_TRUE(closed);
}

TEST(LoopbackServer, ABlockedHandlerHoldsUpOnlyItsOwnConnection) {
    LoopbackServer server;
    std::mutex mutex;
    std::condition_variable changed;
    bool open = false;
    server.SetHandler([&](const RecordedRequest& r) {
        if (r.target == "/held") {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return open; });
        }
        return Reply::Html(r.target);
    });
    RawClient held(server.Port());
    held.Send("GET /held HTTP/1.1\r\n\r\n");
    ASSERT_TRUE(server.WaitForRequests(1, 5s));
    RawClient other(server.Port());
    other.Send("GET /free HTTP/1.1\r\n\r\n");
    EXPECT_EQ(other.Receive(), Reply::Html("/free").raw);
    {
        std::lock_guard lock(mutex);
        open = true;
    }
    changed.notify_all();
    EXPECT_EQ(held.Receive(), Reply::Html("/held").raw);
}

TEST(LoopbackServer, GarbageTlsAnswersTheHelloWithPlainBytes) {
    LoopbackServer server(LoopbackServer::Scheme::GarbageTls);
    EXPECT_EQ(server.BaseUrl().rfind("https://127.0.0.1:", 0), 0u);
    RawClient client(server.Port());
    client.Send(std::string("\x16\x03\x01\x00\x05hello", 10));
    bool closed = false;
    std::string got = client.Receive(std::string::npos, &closed);
    EXPECT_TRUE(closed);
    EXPECT_EQ(got.rfind("HTTP/1.1 400", 0), 0u);
}

}  // namespace
}  // namespace lumetra::testing
