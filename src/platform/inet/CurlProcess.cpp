#include "platform/inet/CurlProcess.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <memory>
#include <mutex>

#include "platform/inet/InetTesting.h"

namespace lumetra::platform::inet {

namespace {

constexpr long kConnectTimeoutMs = 60'000;
constexpr long kIdleTimeoutSeconds = 30;

std::atomic<long> connectTimeoutMs{kConnectTimeoutMs};
std::atomic<long> idleTimeoutSeconds{kIdleTimeoutSeconds};

std::array<std::mutex, CURL_LOCK_DATA_LAST> shareLocks;

void Lock(CURL*, curl_lock_data data, curl_lock_access, void*) {
    shareLocks[static_cast<std::size_t>(data)].lock();
}
void Unlock(CURL*, curl_lock_data data, void*) {
    shareLocks[static_cast<std::size_t>(data)].unlock();
}

// Never cleaned up: detached workers may still be inside a transfer when the process ends.
CURLSH* share = nullptr;
std::once_flag once;

void InitOnce() {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    share = curl_share_init();
    if (share == nullptr) return;
    curl_share_setopt(share, CURLSHOPT_LOCKFUNC, Lock);
    curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, Unlock);
    curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
}

}  // namespace

void EnsureCurl() {
    std::call_once(once, InitOnce);
}

CURLSH* CookieShare() {
    EnsureCurl();
    return share;
}

long ConnectTimeoutMs() {
    return connectTimeoutMs.load();
}
long IdleTimeoutSeconds() {
    return idleTimeoutSeconds.load();
}

}  // namespace lumetra::platform::inet

namespace lumetra::platform {

void SetInetTimeoutsForTesting(std::chrono::milliseconds connect, std::chrono::milliseconds idle) {
    inet::connectTimeoutMs = std::max<long>(1, static_cast<long>(connect.count()));
    inet::idleTimeoutSeconds = std::max<long>(1, static_cast<long>((idle.count() + 999) / 1000));
}

void ResetInetTimeoutsForTesting() {
    inet::connectTimeoutMs = inet::kConnectTimeoutMs;
    inet::idleTimeoutSeconds = inet::kIdleTimeoutSeconds;
}

void ClearInetCookiesForTesting() {
    CURLSH* cookies = inet::CookieShare();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy(curl_easy_init(), curl_easy_cleanup);
    if (cookies == nullptr || !easy) return;
    curl_easy_setopt(easy.get(), CURLOPT_SHARE, cookies);
    curl_easy_setopt(easy.get(), CURLOPT_COOKIELIST, "ALL");
}

}  // namespace lumetra::platform
