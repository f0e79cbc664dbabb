#include "support/RequestReader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

namespace lumetra::testing {

namespace {

constexpr std::size_t kHeadLimit = std::size_t{1} << 20;
constexpr std::size_t kBodyLimit = std::size_t{1} << 30;
constexpr std::string_view kCrLf = "\r\n";

bool FillTo(SocketStream& stream, std::string& pending, std::size_t size) {
    while (pending.size() < size) {
        if (stream.Read(pending) == 0) return false;
    }
    return true;
}

// Position of the next CR LF in `pending`, reading more as needed; npos when none comes.
std::size_t LineEnd(SocketStream& stream, std::string& pending, std::string_view end = kCrLf) {
    for (;;) {
        std::size_t at = pending.find(end);
        if (at != std::string::npos) return at;
        if (pending.size() > kHeadLimit || stream.Read(pending) == 0) return std::string::npos;
    }
}

std::string Lower(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered;
}

void Take(std::string& pending, std::size_t count, RecordedRequest& request) {
    request.raw.append(pending, 0, count);
    pending.erase(0, count);
}

bool ReadChunkedBody(SocketStream& stream, std::string& pending, RecordedRequest& request) {
    for (;;) {
        std::size_t end = LineEnd(stream, pending);
        if (end == std::string::npos) return false;
        std::size_t size = 0;
        auto [ptr, ec] = std::from_chars(pending.data(), pending.data() + end, size, 16);
        if (ec != std::errc() || ptr == pending.data() || size > kBodyLimit) return false;
        Take(pending, end + kCrLf.size(), request);
        if (size == 0) break;
        if (!FillTo(stream, pending, size + kCrLf.size())) return false;
        request.body.append(pending, 0, size);
        Take(pending, size + kCrLf.size(), request);
    }
    // Trailer lines up to the empty one.
    for (;;) {
        std::size_t end = LineEnd(stream, pending);
        if (end == std::string::npos) return false;
        Take(pending, end + kCrLf.size(), request);
        if (end == 0) return true;
    }
}

}  // namespace

std::optional<RecordedRequest> ReadRequest(SocketStream& stream, std::string& pending) {
    // RFC 9112 2.2: empty lines before a request line are ignored.
    for (;;) {
        while (pending.starts_with(kCrLf)) pending.erase(0, kCrLf.size());
        if (!pending.empty() && pending != "\r") break;
        if (stream.Read(pending) == 0) return std::nullopt;
    }
    std::size_t headEnd = LineEnd(stream, pending, "\r\n\r\n");
    if (headEnd == std::string::npos) return std::nullopt;

    RecordedRequest request;
    std::string_view head(pending.data(), headEnd);
    std::size_t lineEnd = std::min(head.find(kCrLf), head.size());
    request.requestLine = std::string(head.substr(0, lineEnd));
    std::size_t firstSpace = request.requestLine.find(' ');
    std::size_t lastSpace = request.requestLine.rfind(' ');
    if (firstSpace == std::string::npos || firstSpace == lastSpace) return std::nullopt;
    request.method = request.requestLine.substr(0, firstSpace);
    request.target = request.requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1);
    request.version = request.requestLine.substr(lastSpace + 1);
    while (lineEnd < head.size()) {
        std::size_t start = lineEnd + kCrLf.size();
        lineEnd = std::min(head.find(kCrLf, start), head.size());
        request.headerLines.emplace_back(head.substr(start, lineEnd - start));
    }
    Take(pending, headEnd + 4, request);

    if (Lower(request.Header("Expect")) == "100-continue") {
        stream.Write("HTTP/1.1 100 Continue\r\n\r\n");
    }
    if (Lower(request.Header("Transfer-Encoding")).find("chunked") != std::string::npos) {
        if (!ReadChunkedBody(stream, pending, request)) return std::nullopt;
        return request;
    }
    std::string length = request.Header("Content-Length");
    if (length.empty()) return request;
    std::size_t size = 0;
    auto [ptr, ec] = std::from_chars(length.data(), length.data() + length.size(), size);
    if (ec != std::errc() || ptr != length.data() + length.size() || size > kBodyLimit) {
        return std::nullopt;
    }
    if (!FillTo(stream, pending, size)) return std::nullopt;
    request.body.assign(pending, 0, size);
    Take(pending, size, request);
    return request;
}

}  // namespace lumetra::testing
