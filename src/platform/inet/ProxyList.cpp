#include "platform/inet/ProxyList.h"

namespace lumetra::platform::inet {

namespace {

std::string AsProxyUrl(std::string_view entry) {
    if (entry.find("://") != std::string_view::npos) return std::string(entry);
    return "http://" + std::string(entry);
}

}  // namespace

std::string ProxyFor(std::string_view proxyList, bool secure) {
    const std::string_view wanted = secure ? "https=" : "http=";
    std::string_view general;
    std::size_t at = 0;
    while (at < proxyList.size()) {
        std::size_t end = proxyList.find_first_of(" ;", at);
        if (end == std::string_view::npos) end = proxyList.size();
        std::string_view entry = proxyList.substr(at, end - at);
        at = end + 1;
        if (entry.empty()) continue;
        std::size_t equals = entry.find('=');
        if (equals == std::string_view::npos) {
            if (general.empty()) general = entry;
        } else if (entry.substr(0, equals + 1) == wanted && equals + 1 < entry.size()) {
            return AsProxyUrl(entry.substr(equals + 1));
        }
    }
    return general.empty() ? std::string() : AsProxyUrl(general);
}

}  // namespace lumetra::platform::inet
