#include <algorithm>
#include <cctype>

#include "support/LoopbackServer.h"

namespace lumetra::testing {

namespace {

struct StatusText {
    int status;
    const char* reason;
};

constexpr StatusText kReasons[] = {
    {200, "OK"},
    {204, "No Content"},
    {301, "Moved Permanently"},
    {302, "Found"},
    {303, "See Other"},
    {304, "Not Modified"},
    {307, "Temporary Redirect"},
    {308, "Permanent Redirect"},
    {400, "Bad Request"},
    {403, "Forbidden"},
    {404, "Not Found"},
    {500, "Internal Server Error"},
    {503, "Service Unavailable"},
};

std::string StatusLine(int status) {
    const char* reason = "Status";
    for (const auto& entry : kReasons) {
        if (entry.status == status) reason = entry.reason;
    }
    return "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n";
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

std::string RecordedRequest::Header(std::string_view name) const {
    for (const auto& line : headerLines) {
        std::size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        if (EqualsIgnoringCase(std::string_view(line).substr(0, colon), name)) {
            return std::string(TrimSpaces(std::string_view(line).substr(colon + 1)));
        }
    }
    return {};
}

Reply Reply::Html(std::string body, int status, std::vector<std::string> extraHeaders) {
    Reply reply;
    reply.raw = StatusLine(status) +
                "Content-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
                "\r\nConnection: close\r\n";
    for (const auto& line : extraHeaders) reply.raw += line + "\r\n";
    reply.raw += "\r\n";
    reply.raw += body;
    return reply;
}

Reply Reply::Redirect(std::string location, int status) {
    Reply reply;
    reply.raw = StatusLine(status) + "Location: " + location +
                "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    return reply;
}

}  // namespace lumetra::testing
