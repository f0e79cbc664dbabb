#pragma once

#include <cstddef>
#include <string>
#include <string_view>

typedef struct ssl_st SSL;

namespace lumetra::testing {

// One accepted connection, plain or TLS. It does not own the descriptor: the server closes
// it once the connection is unregistered, so a stop can never shut down a reused number.
class SocketStream {
  public:
    SocketStream(int fd, SSL* ssl);  // takes the SSL object (may be null)
    ~SocketStream();
    SocketStream(const SocketStream&) = delete;
    SocketStream& operator=(const SocketStream&) = delete;

    // Appends what arrives to `out`; 0 when the peer closed, the server stopped or on error.
    std::size_t Read(std::string& out);
    bool Write(std::string_view bytes);

    // close_notify for TLS, FIN, then reads until the peer closes (bounded), so unread bytes
    // can't turn the close into a reset that would drop the reply at the client.
    void CloseGracefully();
    void Reset();  // RST: SO_LINGER with a zero time-out

  private:
    int fd_;
    SSL* ssl_;
};

}  // namespace lumetra::testing
