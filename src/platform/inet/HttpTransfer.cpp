// HttpSendRequestA, InternetReadFile and HttpQueryInfoA: one request as one curl transfer.
#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/inet/CurlProcess.h"
#include "platform/inet/InetHandles.h"
#include "platform/inet/ProxyList.h"

namespace lumetra::platform {

namespace {

// A redirect loop ends here; the last redirect response is then the answer.
constexpr int kMaxRedirects = 20;
constexpr DWORD kWholeText = static_cast<DWORD>(-1);

using EasyHandle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using HeaderList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;
using UrlHandle = std::unique_ptr<CURLU, decltype(&curl_url_cleanup)>;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::string_view NameOf(std::string_view line) {
    std::size_t colon = line.find(':');
    return colon == std::string_view::npos ? std::string_view() : line.substr(0, colon);
}

// The caller's lines as they go out. A line holding a control byte other than tab could
// smuggle a second header or end the head early, so it is left out.
std::vector<std::string> HeaderLines(std::string_view block) {
    std::vector<std::string> lines;
    while (!block.empty()) {
        std::size_t end = std::min(block.find('\n'), block.size());
        std::string_view line = block.substr(0, end);
        block.remove_prefix(std::min(end + 1, block.size()));
        if (line.ends_with('\r')) line.remove_suffix(1);
        bool clean = std::none_of(line.begin(), line.end(), [](unsigned char c) {
            return (c < 0x20 && c != '\t') || c == 0x7F;
        });
        if (!line.empty() && clean && !NameOf(line).empty()) lines.emplace_back(line);
    }
    return lines;
}

bool HasHeader(const std::vector<std::string>& lines, std::string_view name) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return EqualsIgnoringCase(NameOf(line), name);
    });
}

// Headers that belong to one origin don't follow a redirect to another.
std::vector<std::string> WithoutOriginHeaders(std::vector<std::string> lines) {
    std::erase_if(lines, [](const std::string& line) {
        std::string_view name = NameOf(line);
        return EqualsIgnoringCase(name, "Cookie") || EqualsIgnoringCase(name, "Authorization") ||
               EqualsIgnoringCase(name, "Host");
    });
    return lines;
}

// curl drops a "Name:" line without value; "Name;" is how it sends one empty.
HeaderList CurlHeaders(const std::vector<std::string>& lines, bool bodySent) {
    std::vector<std::string> out;
    for (const auto& line : lines) {
        std::string_view value = std::string_view(line).substr(line.find(':') + 1);
        bool empty = value.find_first_not_of(" \t") == std::string_view::npos;
        out.push_back(empty ? std::string(NameOf(line)) + ";" : line);
    }
    // Nothing of curl's own that the platform wouldn't send.
    out.emplace_back("Expect:");
    if (!HasHeader(lines, "Accept")) out.emplace_back("Accept:");
    if (bodySent && !HasHeader(lines, "Content-Type")) out.emplace_back("Content-Type:");
    curl_slist* list = nullptr;
    for (const auto& line : out) {
        curl_slist* grown = curl_slist_append(list, line.c_str());
        if (grown == nullptr) break;
        list = grown;
    }
    return HeaderList(list, curl_slist_free_all);
}

struct Origin {
    std::string scheme, host, port;
    bool operator==(const Origin&) const = default;
};

Origin OriginOf(const char* url) {
    Origin origin;
    UrlHandle parsed(curl_url(), curl_url_cleanup);
    if (!parsed || url == nullptr ||
        curl_url_set(parsed.get(), CURLUPART_URL, url, 0) != CURLUE_OK) {
        return origin;
    }
    std::pair<CURLUPart, std::string*> parts[] = {{CURLUPART_SCHEME, &origin.scheme},
                                                  {CURLUPART_HOST, &origin.host},
                                                  {CURLUPART_PORT, &origin.port}};
    for (auto [part, text] : parts) {
        char* value = nullptr;
        if (curl_url_get(parsed.get(), part, &value, CURLU_DEFAULT_PORT) == CURLUE_OK)
            *text = value;
        curl_free(value);
    }
    return origin;
}

struct Hop {
    std::string url;
    std::string verb;
    std::string_view body;
    std::vector<std::string> lines;
    bool secure = false;
    bool first = true;
};

struct Transfer {
    inet::Request* request;
    CURL* easy;
    bool headDone = false;
};

// Room for an announced body up front, so it isn't copied as it grows; a length beyond
// this is taken as a claim, not as a reason to reserve.
constexpr curl_off_t kReserveLimit = curl_off_t{64} << 20;

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    static_cast<Transfer*>(user)->request->body.append(data, size * count);
    return size * count;
}

// Keeps the head of the last response only: each status line starts a new one (interim
// 1xx answers, a tunnel's answer), lines after the empty one are trailers.
std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    std::string& head = transfer->request->head;
    std::string_view line(data, size * count);
    if (line.starts_with("HTTP/")) {
        head.clear();
        transfer->headDone = false;
    } else if (transfer->headDone) {
        return size * count;
    }
    while (line.ends_with('\n') || line.ends_with('\r')) line.remove_suffix(1);
    head.append(line);
    head += "\r\n";
    if (line.empty()) {
        transfer->headDone = true;
        curl_off_t length = -1;
        curl_easy_getinfo(transfer->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        if (length > 0 && length <= kReserveLimit) {
            transfer->request->body.reserve(static_cast<std::size_t>(length));
        }
    }
    return size * count;
}

std::string UrlHost(const std::string& host) {
    bool ipv6 = host.find(':') != std::string::npos && !host.starts_with('[');
    return ipv6 ? "[" + host + "]" : host;
}

// Port 0 stands for the scheme's own.
int PortOf(INTERNET_PORT port, bool secure) {
    if (port != 0) return port;
    return secure ? 443 : 80;
}

void ApplyMethod(CURL* easy, const std::string& verb, std::string_view body) {
    curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, nullptr);
    if (EqualsIgnoringCase(verb, "HEAD")) {
        // A head answer announces a length it never sends.
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, verb.c_str());
        return;
    }
    curl_easy_setopt(easy, CURLOPT_NOBODY, 0L);
    // POST and PUT announce their length even when it is 0.
    if (body.empty() && verb != "POST" && verb != "PUT") {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
        if (verb != "GET") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, verb.c_str());
        return;
    }
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.empty() ? "" : body.data());
    if (verb != "POST") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, verb.c_str());
}

// Everything that changes from one hop of a redirect chain to the next.
HeaderList ApplyHop(CURL* easy, const inet::Request& request, const Hop& hop) {
    curl_easy_setopt(easy, CURLOPT_URL, hop.url.c_str());
    std::string proxy;
    if (request.target.session.viaProxy)
        proxy = inet::ProxyFor(request.target.session.proxyList, hop.secure);
    curl_easy_setopt(easy, CURLOPT_PROXY, proxy.c_str());  // "" also shuts out proxy variables
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
    if (hop.first) {
        // The object name goes out as given; through a proxy a plain request names the site.
        std::string target = !proxy.empty() && !hop.secure
                                 ? hop.url.substr(0, hop.url.size() - 1) + request.object
                                 : request.object;
        curl_easy_setopt(easy, CURLOPT_REQUEST_TARGET, target.c_str());
    } else {
        curl_easy_setopt(easy, CURLOPT_REQUEST_TARGET, nullptr);
    }
    ApplyMethod(easy, hop.verb, hop.body);
    HeaderList headers = CurlHeaders(hop.lines, !hop.body.empty());
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
    return headers;
}

void ApplyFixed(CURL* easy, const inet::Request& request, const std::vector<std::string>& lines,
                Transfer& transfer) {
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION,
                     request.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, inet::ConnectTimeoutMs());
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, inet::IdleTimeoutSeconds());
    const std::string& agent = request.target.session.agent;
    bool agentFits =
        std::none_of(agent.begin(), agent.end(), [](unsigned char c) { return c < 0x20; });
    if (!HasHeader(lines, "User-Agent") && !agent.empty() && agentFits) {
        curl_easy_setopt(easy, CURLOPT_USERAGENT, agent.c_str());
    }
    if ((request.flags & INTERNET_FLAG_NO_COOKIES) == 0 && inet::CookieShare() != nullptr) {
        curl_easy_setopt(easy, CURLOPT_SHARE, inet::CookieShare());
        curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");
    }
    // OpenSSL can't lift the date or usage checks alone: those stay on unless the whole
    // certificate check is off.
    bool checkPeer = (request.securityFlags & SECURITY_FLAG_IGNORE_UNKNOWN_CA) == 0;
    bool checkName = (request.securityFlags & SECURITY_FLAG_IGNORE_CERT_CN_INVALID) == 0;
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, checkPeer ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, checkName ? 2L : 0L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &transfer);
}

bool IsRedirect(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool MayFollow(const inet::Request& request, bool fromSecure, std::string_view location) {
    bool toSecure = StartsWithIgnoringCase(location, "https://");
    if (!toSecure && !StartsWithIgnoringCase(location, "http://")) return false;
    DWORD flags = request.flags;
    DWORD security = request.securityFlags;
    if (!fromSecure && toSecure) {
        return (flags & INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS) != 0 ||
               (security & SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTPS) != 0;
    }
    if (fromSecure && !toSecure) {
        return (flags & INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP) != 0 ||
               (security & SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTP) != 0;
    }
    return true;
}

// Follows the browser rule: 303 and a POST answered by 301 or 302 go on as a bodiless GET.
void NextHop(Hop& hop, long status, const char* location, const char* from) {
    if ((status == 303 && !EqualsIgnoringCase(hop.verb, "HEAD")) ||
        ((status == 301 || status == 302) && hop.verb == "POST")) {
        hop.verb = "GET";
        hop.body = {};
    }
    if (!(OriginOf(location) == OriginOf(from)))
        hop.lines = WithoutOriginHeaders(std::move(hop.lines));
    hop.url = location;
    hop.secure = StartsWithIgnoringCase(hop.url, "https://");
    hop.first = false;
}

bool Perform(inet::Request& request, std::string_view block, std::string_view body) {
    request.sent = true;
    request.complete = false;
    request.head.clear();
    request.body.clear();
    request.readOffset = 0;
    EasyHandle easy(curl_easy_init(), curl_easy_cleanup);
    if (!easy) return false;

    Transfer transfer{&request, easy.get()};
    Hop hop;
    hop.secure = (request.flags & INTERNET_FLAG_SECURE) != 0;
    hop.url = std::string(hop.secure ? "https://" : "http://") + UrlHost(request.target.host) +
              ":" + std::to_string(PortOf(request.target.port, hop.secure)) + "/";
    hop.verb = request.verb;
    hop.body = body;
    hop.lines = HeaderLines(block);
    ApplyFixed(easy.get(), request, hop.lines, transfer);

    long status = 0;
    for (int redirects = 0;; ++redirects) {
        HeaderList headers = ApplyHop(easy.get(), request, hop);
        transfer.headDone = false;
        request.head.clear();
        request.body.clear();
        CURLcode result = curl_easy_perform(easy.get());
        status = 0;
        curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
        request.complete = result == CURLE_OK;
        if (!request.complete || (request.flags & INTERNET_FLAG_NO_AUTO_REDIRECT) != 0 ||
            !IsRedirect(status) || redirects == kMaxRedirects) {
            break;
        }
        char* location = nullptr;
        char* current = nullptr;
        curl_easy_getinfo(easy.get(), CURLINFO_REDIRECT_URL, &location);
        curl_easy_getinfo(easy.get(), CURLINFO_EFFECTIVE_URL, &current);
        if (location == nullptr || !MayFollow(request, hop.secure, location)) break;
        NextHop(hop, status, location, current);
    }
    return status != 0;
}

}  // namespace

bool HttpSendRequestA(HINTERNET handle, const char* headers, DWORD headersLength,
                      const void* optional, DWORD optionalLength) {
    inet::Request* request = inet::FindRequest(handle);
    if (request == nullptr) return false;
    std::string_view block;
    if (headers != nullptr) {
        block = headersLength == kWholeText ? std::string_view(headers)
                                            : std::string_view(headers, headersLength);
    }
    std::string_view body;
    if (optional != nullptr)
        body = std::string_view(static_cast<const char*>(optional), optionalLength);
    return Perform(*request, block, body);
}

bool InternetReadFile(HINTERNET handle, void* buffer, DWORD toRead, DWORD* read) {
    inet::Request* request = inet::FindRequest(handle);
    if (read != nullptr) *read = 0;
    if (request == nullptr || read == nullptr || !request->sent ||
        (buffer == nullptr && toRead > 0)) {
        return false;
    }
    std::size_t left = request->body.size() - request->readOffset;
    if (left == 0) return request->complete;
    std::size_t count = std::min<std::size_t>(left, toRead);
    std::memcpy(buffer, request->body.data() + request->readOffset, count);
    request->readOffset += count;
    if (request->readOffset == request->body.size()) {
        std::string().swap(request->body);  // handed out whole: let the memory go
        request->readOffset = 0;
    }
    *read = static_cast<DWORD>(count);
    return true;
}

bool HttpQueryInfoA(HINTERNET handle, DWORD infoLevel, void* buffer, DWORD* bufferLength, DWORD*) {
    inet::Request* request = inet::FindRequest(handle);
    if (request == nullptr || infoLevel != HTTP_QUERY_RAW_HEADERS_CRLF || bufferLength == nullptr ||
        request->head.empty()) {
        return false;
    }
    const std::string& head = request->head;
    if (buffer == nullptr || *bufferLength < head.size() + 1) {
        *bufferLength = static_cast<DWORD>(head.size() + 1);
        return false;
    }
    std::memcpy(buffer, head.data(), head.size());
    static_cast<char*>(buffer)[head.size()] = '\0';
    *bufferLength = static_cast<DWORD>(head.size());
    return true;
}

}  // namespace lumetra::platform
