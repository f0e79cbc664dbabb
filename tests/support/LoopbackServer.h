#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A small HTTP/HTTPS server on 127.0.0.1 for tests and the sample sites: it records every
// request byte for byte and answers with scripted raw replies.
namespace lumetra::testing {

struct RecordedRequest {
    std::string raw;          // every byte received: request line, headers, body
    std::string requestLine;  // e.g. "GET /a?b HTTP/1.1"
    std::string method, target, version;
    std::vector<std::string> headerLines;  // in order, as received, without CR LF
    std::string body;                      // decoded when it came chunked
    // Value of the first header of that name (case-insensitive), trimmed; "" if none.
    std::string Header(std::string_view name) const;
};

// A scripted raw response.
struct Reply {
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    std::string raw;                // status line, header lines and body exactly as sent
    std::size_t closeAfter = npos;  // close after this many bytes of raw (mid-body breaks)
    bool stall = false;  // read the request, never answer (until the peer or server stops)
    bool reset = false;  // close with RST after closeAfter bytes

    // Content-Type text/html, Content-Length, Connection: close, then extraHeaders.
    static Reply Html(std::string body, int status = 200,
                      std::vector<std::string> extraHeaders = {});
    static Reply Redirect(std::string location, int status = 302);
};

class LoopbackServer {
  public:
    enum class Scheme {
        Http,
        Https,       // a self-signed certificate for 127.0.0.1, made in memory once per process
        GarbageTls,  // "https://" address that answers the client's hello with bytes that are not
                     // TLS
    };

    explicit LoopbackServer(Scheme scheme = Scheme::Http);  // 127.0.0.1, ephemeral port, serving
    LoopbackServer(Scheme scheme, int port);  // a fixed port (0: ephemeral), for the sample sites
    ~LoopbackServer();  // stops, unblocks stalled connections, joins its threads
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const;
    std::string BaseUrl() const;  // "http://127.0.0.1:PORT" or "https://127.0.0.1:PORT"

    // Called on the connection's own thread, so it may block (a gate holding a reply back)
    // without holding up other connections; it must return before the server is destroyed.
    // Default: a 404 Html reply.
    using Handler = std::function<Reply(const RecordedRequest&)>;
    void SetHandler(Handler handler);

    // Requests are recorded when fully read, before the handler runs.
    std::vector<RecordedRequest> Requests() const;
    bool WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;

    // Connections accepted so far (a client that reuses one connection adds no new one).
    std::size_t Connections() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace lumetra::testing
