#include "web/HttpAccess.h"

#include "platform/inet/WinInet.h"
#include "text/TextOps.h"
#include "text/TextSlicing.h"
#include "web/CookieMerge.h"
#include "web/HeaderNames.h"
#include "web/UrlParts.h"

namespace lumetra {

namespace {

using namespace lumetra::platform;

constexpr const char* kVerbs[] = {"GET",     "POST",   "HEAD",  "PUT",
                                  "OPTIONS", "DELETE", "TRACE", "CONNECT"};
constexpr int kPost = 1;
constexpr char kDefaultAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
constexpr DWORD kSecurityFlags =
    SECURITY_FLAG_IGNORE_REVOCATION | SECURITY_FLAG_IGNORE_UNKNOWN_CA |
    SECURITY_FLAG_IGNORE_WRONG_USAGE | SECURITY_FLAG_IGNORE_CERT_CN_INVALID |
    SECURITY_FLAG_IGNORE_CERT_DATE_INVALID | SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTPS |
    SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTP | 0x10000;
static_assert(kSecurityFlags == 0x1F380);
constexpr DWORD kReadChunk = 1024;
constexpr std::size_t kResponseHeaderBuffer = 5000;
constexpr int kHighestPort = 65535;

const Text kCrLf = "\r\n";

// CR or LF inside the URL would start a header line of its own after "Referer: ".
Text WithoutLineBreaks(const Text& text) {
    return Replace(Replace(text, "\r", ""), "\n", "");
}

void AddDefaultHeaders(Text& headers, const Text& url, bool post) {
    if (headers.empty()) headers = "Accept: */*";
    if (!Contains(headers, "Accept:", true)) headers += kCrLf + "Accept: */*";
    if (!Contains(headers, "Referer:", true))
        headers += kCrLf + "Referer: " + WithoutLineBreaks(url);
    if (!Contains(headers, "Accept-Language:", true)) headers += kCrLf + "Accept-Language: zh-cn";
    if (post && !Contains(headers, "Content-Type:", true)) {
        headers += kCrLf + "Content-Type: application/x-www-form-urlencoded";
    }
}

void AddCookieLine(Text& headers, const Text& cookies) {
    if (cookies.empty()) return;
    headers += kCrLf + (Contains(cookies, "Cookie:") ? cookies : "Cookie: " + cookies);
}

Bytes ReadBody(HINTERNET request) {
    // Each read lands straight at the end of the body.
    Bytes body;
    for (;;) {
        std::size_t used = body.size();
        body.resize(used + kReadChunk);
        DWORD read = 0;
        bool more = InternetReadFile(request, body.data() + used, kReadChunk, &read) && read > 0;
        body.resize(used + (more ? read : 0));
        if (!more) return body;
    }
}

// Left as 5000 spaces when the head doesn't fit or the query fails.
Text QueryResponseHeaders(HINTERNET request) {
    Bytes buffer(kResponseHeaderBuffer, ' ');
    DWORD length = static_cast<DWORD>(buffer.size());
    HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &length, nullptr);
    return BytesToText(buffer);
}

}  // namespace

std::uint32_t RequestFlags(bool https, bool cookiesPresent, bool noRedirect) {
    std::uint32_t flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE;
    if (cookiesPresent) flags |= INTERNET_FLAG_NO_COOKIES;
    if (noRedirect) flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    flags |= https ? INTERNET_FLAG_SECURE : INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    return flags;
}

Text UserAgentOf(const Text& headers) {
    if (!Contains(headers, "User-Agent:", true)) return kDefaultAgent;
    Text agent = Trim(TextBetween(headers + kCrLf, "User-Agent:", kCrLf));
    return agent.empty() ? HeaderValue(headers) : agent;
}

Text ResponseCookies(const Text& responseHeaders) {
    Text cookies;
    for (const Text& line : Split(responseHeaders, kCrLf)) {
        if (TextBefore(line, ": ") != "Set-Cookie") continue;
        Text cookie = Contains(line, ";") ? Trim(TextBetween(line, "Set-Cookie:", ";"))
                                          : Trim(Replace(line, "Set-Cookie:", "", true));
        cookies += cookie + "; ";
    }
    return Left(cookies, static_cast<Position>(cookies.size()) - 2);
}

Bytes HttpAccess(const Text& url, const HttpAccessOptions& options) {
    Text headers = options.headers != nullptr ? *options.headers : Text();
    if (options.normalizeNames.value_or(true)) headers = NormalizeHeaderNames(headers);
    if (options.headers != nullptr) *options.headers = headers;

    int method = options.method.value_or(0);
    if (method < 0 || method > 7) method = 0;
    const char* verb = kVerbs[method];
    bool https = ToLower(Left(url, 8)) == "https://";
    Text agent = UserAgentOf(headers);

    Text proxy = options.proxy.value_or(Text());
    HINTERNET internet = nullptr;
    if (proxy.empty()) {
        internet = InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    } else {
        Text proxyList = https ? proxy : "http=" + proxy;
        internet = InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PROXY, proxyList.c_str(), "", 0);
    }
    if (internet == nullptr) return {};

    // A port beyond 16 bits must not wrap round into another port.
    int port = UrlPort(url);
    HINTERNET connection = nullptr;
    if (port >= 0 && port <= kHighestPort) {
        connection =
            InternetConnectA(internet, UrlHost(url).c_str(), static_cast<INTERNET_PORT>(port),
                             nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    }
    if (connection == nullptr) {
        InternetCloseHandle(internet);
        return {};
    }

    DWORD flags =
        RequestFlags(https, options.cookies != nullptr, options.noRedirect.value_or(false));
    HINTERNET request = HttpOpenRequestA(connection, verb, UrlPath(url).c_str(), "HTTP/1.1",
                                         nullptr, nullptr, flags, 0);
    if (request == nullptr) {
        InternetCloseHandle(connection);
        InternetCloseHandle(internet);
        return {};
    }
    DWORD securityFlags = kSecurityFlags;
    InternetSetOptionA(request, INTERNET_OPTION_SECURITY_FLAGS, &securityFlags,
                       sizeof securityFlags);

    if (options.addDefaultHeaders.value_or(true)) AddDefaultHeaders(headers, url, method == kPost);
    if (options.cookies != nullptr) AddCookieLine(headers, *options.cookies);
    if (options.headers != nullptr) *options.headers = headers;

    const char* block = headers.empty() ? nullptr : headers.c_str();
    DWORD blockLength = static_cast<DWORD>(headers.size());
    if (method == 0) {
        HttpSendRequestA(request, block, blockLength, nullptr, 0);
    } else {
        Bytes body = options.bodyBytes != nullptr ? *options.bodyBytes : Bytes();
        if (body.empty()) body = TextToBytes(options.bodyText.value_or(Text()));
        if (options.bodyBytes != nullptr) *options.bodyBytes = body;
        HttpSendRequestA(request, block, blockLength, body.empty() ? nullptr : body.data(),
                         static_cast<DWORD>(body.size()));
    }

    Bytes received = ReadBody(request);
    Text responseHeaders = QueryResponseHeaders(request);
    if (options.responseHeaders != nullptr) *options.responseHeaders = responseHeaders;

    InternetCloseHandle(request);
    InternetCloseHandle(connection);
    InternetCloseHandle(internet);

    Text setCookies = ResponseCookies(responseHeaders);
    if (options.mergeCookies.value_or(true) && options.cookies != nullptr) {
        setCookies = MergeCookies(*options.cookies, setCookies);
    }
    if (options.setCookies != nullptr) *options.setCookies = setCookies;
    return received;
}

Text FetchPageText(const Text& url) {
    return BytesToText(HttpAccess(url));
}

}  // namespace lumetra
