#include "support/SocketStream.h"

#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>

namespace lumetra::testing {

namespace {

constexpr std::size_t kReadChunk = 16384;
// A client that neither closes nor talks after the reply doesn't hold its thread longer.
constexpr auto kDrainLimit = std::chrono::milliseconds(2000);

}  // namespace

SocketStream::SocketStream(int fd, SSL* ssl) : fd_(fd), ssl_(ssl) {}

SocketStream::~SocketStream() {
    if (ssl_ != nullptr) SSL_free(ssl_);
}

std::size_t SocketStream::Read(std::string& out) {
    char buffer[kReadChunk];
    std::size_t got = 0;
    if (ssl_ != nullptr) {
        if (SSL_read_ex(ssl_, buffer, sizeof buffer, &got) != 1) return 0;
    } else {
        ssize_t n;
        do {
            n = recv(fd_, buffer, sizeof buffer, 0);
        } while (n < 0 && errno == EINTR);
        if (n <= 0) return 0;
        got = static_cast<std::size_t>(n);
    }
    out.append(buffer, got);
    return got;
}

bool SocketStream::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        std::size_t sent = 0;
        if (ssl_ != nullptr) {
            if (SSL_write_ex(ssl_, bytes.data(), bytes.size(), &sent) != 1) return false;
        } else {
            ssize_t n = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            sent = static_cast<std::size_t>(n);
        }
        bytes.remove_prefix(sent);
    }
    return true;
}

void SocketStream::CloseGracefully() {
    if (ssl_ != nullptr) SSL_shutdown(ssl_);
    shutdown(fd_, SHUT_WR);
    const auto deadline = std::chrono::steady_clock::now() + kDrainLimit;
    char sink[kReadChunk];
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return;
        pollfd p{fd_, POLLIN, 0};
        int ready = poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return;
        if (recv(fd_, sink, sizeof sink, 0) <= 0) return;
    }
}

void SocketStream::Reset() {
    linger hard{1, 0};
    setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    // The RST goes out when the server closes the descriptor.
}

}  // namespace lumetra::testing
