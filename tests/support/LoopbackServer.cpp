#include "support/LoopbackServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <list>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

#include "support/RequestReader.h"
#include "support/SelfSignedCertificate.h"
#include "support/SocketStream.h"

namespace lumetra::testing {

namespace {

constexpr char kNotTls[] = "HTTP/1.1 400 This is not TLS\r\nConnection: close\r\n\r\n";

std::string Lower(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered;
}

// A reply may leave the connection open only when its end is known without a close and
// nobody asked for one.
bool KeepsOpen(const RecordedRequest& request, const Reply& reply) {
    std::string head = Lower(reply.raw.substr(0, reply.raw.find("\r\n\r\n")));
    bool framed = head.find("\r\ncontent-length:") != std::string::npos ||
                  head.find("\r\ntransfer-encoding: chunked") != std::string::npos;
    return framed && head.find("\r\nconnection: close") == std::string::npos &&
           request.version == "HTTP/1.1" && Lower(request.Header("Connection")) != "close";
}

void IgnoreBrokenPipes() {
    // SSL_write reaches the socket through write(), which has no MSG_NOSIGNAL.
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGPIPE, SIG_IGN); });
}

SSL_CTX* NewServerContext() {
    const ServerIdentity& identity = SelfSignedIdentity();
    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    if (context == nullptr || identity.key == nullptr ||
        SSL_CTX_use_certificate(context, identity.certificate) != 1 ||
        SSL_CTX_use_PrivateKey(context, identity.key) != 1) {
        SSL_CTX_free(context);
        throw std::runtime_error("loopback server: no TLS context");
    }
    return context;
}

struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
};

}  // namespace

struct LoopbackServer::Impl {
    Scheme scheme;
    int listenFd = -1;
    int wakeRead = -1;
    int wakeWrite = -1;
    int port = 0;
    SSL_CTX* tls = nullptr;
    std::thread acceptor;

    mutable std::mutex mutex;
    mutable std::condition_variable arrived;
    std::shared_ptr<const Handler> handler;
    std::vector<RecordedRequest> requests;
    std::set<int> openFds;
    std::list<Worker> workers;
    std::size_t connections = 0;

    Impl(Scheme s, int requested) : scheme(s), requestedPort(requested) {}
    int requestedPort = 0;

    void Start();
    void Stop();
    void AcceptLoop();
    void ReapFinished();
    void Serve(int fd);
    void ServeRequests(SocketStream& stream);
};

void LoopbackServer::Impl::Start() {
    IgnoreBrokenPipes();
    if (scheme != Scheme::Http) tls = NewServerContext();
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("loopback server: no pipe");
    wakeRead = pipeFds[0];
    wakeWrite = pipeFds[1];

    listenFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(requestedPort));
    if (listenFd >= 0 && requestedPort != 0) {
        // A fixed port must be usable again right after an earlier run's connections closed.
        int reuse = 1;
        setsockopt(listenFd, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    }
    socklen_t length = sizeof address;
    if (listenFd < 0 || bind(listenFd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listenFd, SOMAXCONN) != 0 ||
        getsockname(listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("loopback server: cannot listen on 127.0.0.1");
    }
    port = ntohs(address.sin_port);
    acceptor = std::thread([this] { AcceptLoop(); });
}

void LoopbackServer::Impl::Stop() {
    if (acceptor.joinable()) {
        char wake = 1;
        [[maybe_unused]] auto written = write(wakeWrite, &wake, 1);
        acceptor.join();
    }
    {
        // Unblocks every read, write, handshake and stall; the descriptors stay open until
        // their threads unregister them.
        std::lock_guard lock(mutex);
        for (int fd : openFds) shutdown(fd, SHUT_RDWR);
    }
    for (auto& worker : workers) worker.thread.join();
    workers.clear();
    for (int fd : {listenFd, wakeRead, wakeWrite}) {
        if (fd >= 0) close(fd);
    }
    SSL_CTX_free(tls);
}

void LoopbackServer::Impl::AcceptLoop() {
    for (;;) {
        pollfd waits[2] = {{listenFd, POLLIN, 0}, {wakeRead, POLLIN, 0}};
        int ready = poll(waits, 2, -1);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0 || waits[1].revents != 0) return;
        int fd = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        ReapFinished();
        auto done = std::make_shared<std::atomic<bool>>(false);
        {
            std::lock_guard lock(mutex);
            openFds.insert(fd);
            ++connections;
        }
        workers.push_back({std::thread([this, fd, done] {
                               Serve(fd);
                               {
                                   std::lock_guard lock(mutex);
                                   openFds.erase(fd);
                               }
                               close(fd);
                               done->store(true);
                           }),
                           done});
    }
}

void LoopbackServer::Impl::ReapFinished() {
    for (auto it = workers.begin(); it != workers.end();) {
        if (it->done->load()) {
            it->thread.join();
            it = workers.erase(it);
        } else {
            ++it;
        }
    }
}

void LoopbackServer::Impl::Serve(int fd) {
    SSL* ssl = nullptr;
    if (scheme == Scheme::Https) {
        ssl = SSL_new(tls);
        if (ssl == nullptr) return;
        SSL_set_fd(ssl, fd);
        if (SSL_accept(ssl) != 1) {
            SSL_free(ssl);
            return;
        }
    }
    SocketStream stream(fd, ssl);
    if (scheme == Scheme::GarbageTls) {
        std::string hello;
        if (stream.Read(hello) > 0) stream.Write(kNotTls);
        stream.CloseGracefully();
        return;
    }
    ServeRequests(stream);
}

void LoopbackServer::Impl::ServeRequests(SocketStream& stream) {
    std::string pending;
    while (auto request = ReadRequest(stream, pending)) {
        std::shared_ptr<const Handler> current;
        {
            std::lock_guard lock(mutex);
            requests.push_back(*request);
            current = handler;
        }
        arrived.notify_all();
        Reply reply;
        try {
            reply = current ? (*current)(*request) : Reply::Html("Not Found", 404);
        } catch (...) {
            reply = Reply::Html("Handler failed", 500);
        }
        if (reply.stall) {
            std::string sink;
            while (stream.Read(sink) > 0) sink.clear();
            return;
        }
        std::size_t count = std::min(reply.closeAfter, reply.raw.size());
        bool sent = stream.Write(std::string_view(reply.raw).substr(0, count));
        if (reply.reset) return stream.Reset();
        if (!sent || count < reply.raw.size() || !KeepsOpen(*request, reply)) {
            return stream.CloseGracefully();
        }
    }
}

LoopbackServer::LoopbackServer(Scheme scheme) : LoopbackServer(scheme, 0) {}

LoopbackServer::LoopbackServer(Scheme scheme, int port)
    : impl_(std::make_unique<Impl>(scheme, port)) {
    try {
        impl_->Start();
    } catch (...) {
        impl_->Stop();
        throw;
    }
}

LoopbackServer::~LoopbackServer() {
    impl_->Stop();
}

int LoopbackServer::Port() const {
    return impl_->port;
}

std::string LoopbackServer::BaseUrl() const {
    const char* scheme = impl_->scheme == Scheme::Http ? "http://" : "https://";
    return scheme + std::string("127.0.0.1:") + std::to_string(impl_->port);
}

void LoopbackServer::SetHandler(Handler handler) {
    auto shared = std::make_shared<const Handler>(std::move(handler));
    std::lock_guard lock(impl_->mutex);
    impl_->handler = std::move(shared);
}

std::vector<RecordedRequest> LoopbackServer::Requests() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->requests;
}

bool LoopbackServer::WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(impl_->mutex);
    return impl_->arrived.wait_for(lock, timeout, [&] { return impl_->requests.size() >= count; });
}

std::size_t LoopbackServer::Connections() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->connections;
}

}  // namespace lumetra::testing
