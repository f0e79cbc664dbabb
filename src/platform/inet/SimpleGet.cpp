#include "platform/inet/SimpleGet.h"

#include <curl/curl.h>

#include <memory>

#include "platform/inet/CurlProcess.h"
#include "platform/inet/WinInet.h"

namespace lumetra::platform {

namespace {

constexpr char kAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr char kHeaders[] = "Accept: */*";
constexpr DWORD kReadChunk = 4096;

struct Target {
    bool secure = false;
    std::string host;
    INTERNET_PORT port = 0;
    std::string object;  // path and query
};

std::string Part(CURLU* url, CURLUPart part, unsigned flags = 0) {
    char* value = nullptr;
    std::string text;
    if (curl_url_get(url, part, &value, flags) == CURLUE_OK && value != nullptr) text = value;
    curl_free(value);
    return text;
}

bool Parse(const std::string& url, Target& target) {
    std::string withoutFragment = url.substr(0, url.find('#'));
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> parsed(curl_url(), curl_url_cleanup);
    if (withoutFragment.empty() || !parsed ||
        curl_url_set(parsed.get(), CURLUPART_URL, withoutFragment.c_str(), CURLU_PATH_AS_IS) !=
            CURLUE_OK) {
        return false;
    }
    std::string scheme = Part(parsed.get(), CURLUPART_SCHEME);
    if (scheme != "http" && scheme != "https") return false;
    target.secure = scheme == "https";
    target.host = Part(parsed.get(), CURLUPART_HOST);
    if (target.host.size() > 2 && target.host.front() == '[') {
        target.host = target.host.substr(1, target.host.size() - 2);
    }
    int port = std::atoi(Part(parsed.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT).c_str());
    if (target.host.empty() || port <= 0 || port > 65535) return false;
    target.port = static_cast<INTERNET_PORT>(port);
    target.object = Part(parsed.get(), CURLUPART_PATH);
    std::string query = Part(parsed.get(), CURLUPART_QUERY);
    if (!query.empty()) target.object += "?" + query;
    return true;
}

struct Handle {
    HINTERNET value;
    explicit Handle(HINTERNET h) : value(h) {}
    ~Handle() {
        if (value != nullptr) InternetCloseHandle(value);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
};

}  // namespace

std::vector<std::uint8_t> SimpleGet(const std::string& url) {
    std::vector<std::uint8_t> body;
    inet::EnsureCurl();
    Target target;
    if (!Parse(url, target)) return body;
    Handle internet(InternetOpenA(kAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (internet.value == nullptr) return body;
    Handle connection(InternetConnectA(internet.value, target.host.c_str(), target.port, nullptr,
                                       nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (connection.value == nullptr) return body;
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS |
                  INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP |
                  (target.secure ? INTERNET_FLAG_SECURE : 0);
    Handle request(HttpOpenRequestA(connection.value, "GET", target.object.c_str(), "HTTP/1.0",
                                    nullptr, nullptr, flags, 0));
    if (request.value == nullptr) return body;
    if (!HttpSendRequestA(request.value, kHeaders, sizeof kHeaders - 1, nullptr, 0)) return body;
    std::uint8_t chunk[kReadChunk];
    DWORD read = 0;
    while (InternetReadFile(request.value, chunk, sizeof chunk, &read) && read > 0) {
        body.insert(body.end(), chunk, chunk + read);
    }
    return body;
}

}  // namespace lumetra::platform
