#include "platform/inet/InetHandles.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_set>

#include "platform/inet/CurlProcess.h"

namespace lumetra::platform {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

std::mutex registryMutex;
std::unordered_set<InternetObject*> registry;

HINTERNET Register(std::unique_ptr<InternetObject> object) {
    std::lock_guard lock(registryMutex);
    registry.insert(object.get());
    return object.release();
}

// A verb is one token: it ends at the first space of the request line.
bool IsToken(std::string_view text) {
    for (unsigned char c : text) {
        if (c <= 0x20 || c >= 0x7F) return false;
    }
    return true;
}

template <typename T>
T* Find(HINTERNET handle, InternetObject::Kind kind) {
    std::lock_guard lock(registryMutex);
    if (handle == nullptr || !registry.contains(handle) || handle->kind != kind) return nullptr;
    return static_cast<T*>(handle);
}

// Keeps a request line one line: CR LF or a space in a path would split or end it.
std::string RequestLineSafe(const std::string& object) {
    std::string safe;
    safe.reserve(object.size());
    for (unsigned char c : object) {
        if (c <= 0x20 || c >= 0x7F) {
            safe += '%';
            safe += kHex[c >> 4];
            safe += kHex[c & 0xF];
        } else {
            safe += static_cast<char>(c);
        }
    }
    return safe;
}

}  // namespace

namespace inet {

Request* FindRequest(HINTERNET handle) {
    return Find<Request>(handle, InternetObject::Kind::Request);
}

}  // namespace inet

HINTERNET InternetOpenA(const char* agent, DWORD accessType, const char* proxy, const char*,
                        DWORD) {
    if (accessType != INTERNET_OPEN_TYPE_DIRECT && accessType != INTERNET_OPEN_TYPE_PROXY) {
        return nullptr;
    }
    inet::EnsureCurl();
    auto session = std::make_unique<inet::Internet>();
    session->settings.agent = agent != nullptr ? agent : "";
    session->settings.viaProxy = accessType == INTERNET_OPEN_TYPE_PROXY;
    session->settings.proxyList = proxy != nullptr && session->settings.viaProxy ? proxy : "";
    return Register(std::move(session));
}

HINTERNET InternetConnectA(HINTERNET internet, const char* serverName, INTERNET_PORT port,
                           const char*, const char*, DWORD service, DWORD, DWORD_PTR) {
    auto* session = Find<inet::Internet>(internet, InternetObject::Kind::Internet);
    if (session == nullptr || service != INTERNET_SERVICE_HTTP || serverName == nullptr ||
        *serverName == '\0') {
        return nullptr;
    }
    auto connection = std::make_unique<inet::Connection>();
    connection->settings = {session->settings, serverName, port};
    return Register(std::move(connection));
}

HINTERNET HttpOpenRequestA(HINTERNET connect, const char* verb, const char* objectName,
                           const char* version, const char*, const char**, DWORD flags, DWORD_PTR) {
    auto* connection = Find<inet::Connection>(connect, InternetObject::Kind::Connection);
    if (connection == nullptr || (verb != nullptr && !IsToken(verb))) return nullptr;
    auto request = std::make_unique<inet::Request>();
    request->target = connection->settings;
    request->verb = verb != nullptr && *verb != '\0' ? verb : "GET";
    std::string object = objectName != nullptr ? objectName : "";
    request->object = object.empty() ? "/" : RequestLineSafe(object);
    request->http10 = version != nullptr && std::string_view(version) == "HTTP/1.0";
    request->flags = flags;
    return Register(std::move(request));
}

bool InternetSetOptionA(HINTERNET internet, DWORD option, const void* buffer, DWORD length) {
    auto* request = inet::FindRequest(internet);
    if (request == nullptr || option != INTERNET_OPTION_SECURITY_FLAGS || buffer == nullptr ||
        length != sizeof(DWORD)) {
        return false;
    }
    std::memcpy(&request->securityFlags, buffer, sizeof(DWORD));
    return true;
}

bool InternetCloseHandle(HINTERNET internet) {
    {
        std::lock_guard lock(registryMutex);
        if (internet == nullptr || registry.erase(internet) == 0) return false;
    }
    delete internet;
    return true;
}

}  // namespace lumetra::platform
