#include "zones/ZoneTable.h"

#include <deque>
#include <mutex>

#include "zones/SiteAddresses.h"
#include "zones/ZonePatterns.h"
#include "zones/ZoneRuntime.h"

namespace lumetra {

std::atomic<std::int32_t> RandomZonePage{0};
std::atomic<std::int32_t> ChinaZonePage{0};
std::atomic<std::int32_t> UsZonePage{0};

namespace {

ZoneRuntime randomRuntime, chinaRuntime, usRuntime;

// Tab texts.
constexpr char kRandomTab[] = "\xCB\xE6\xBB\xFA\xC7\xF8";  // 随机区
constexpr char kChinaTab[] = "\xB9\xFA\xC7\xF8";           // 国区
constexpr char kUsTab[] = "\xC3\xC0\xC7\xF8";              // 美区

std::array<Zone, 3> BuildTable() {
    using enum Control;
    return {{
        {
            .tabText = kRandomTab,
            .numberList = 超级列表框1,
            .messageList = 超级列表框2,
            .nextPageButton = 按钮1,
            .firstPageButton = 按钮2,
            .pageCounter = &RandomZonePage,
            .firstPage = 0,
            .listedAtStart = true,
            .listingThread = ListingThread::UiThread,
            .siteBase = sites::kSiteA,
            .listingPath = "/?page=",
            .listingSuffix = "",
            .listingFetch = FetchKind::UrlBytesUtf8,
            .listingPattern = patterns::L1,
            .listingColumns = {1, 2},
            .messagePath = "/messages?phone=",
            .messageFetch = FetchKind::UrlBytesUtf8,
            .messagePatterns = {patterns::M1, patterns::M2},
            .quoteSubstitution = false,
            .messageColumns = {{{1, 1}, {2, 1}, {2, 2}}},
            .messageRows = 5,
            .numberCopy = {1, 400},
            .messageCopy = {2, 400},
            .runtime = &randomRuntime,
        },
        {
            .tabText = kChinaTab,
            .numberList = 超级列表框3,
            .messageList = 超级列表框4,
            .nextPageButton = 按钮3,
            .firstPageButton = 按钮4,
            .pageCounter = &ChinaZonePage,
            .firstPage = 1,
            .listedAtStart = false,
            .listingThread = ListingThread::WorkerThread,
            .siteBase = sites::kSiteB,
            .listingPath = "/China-Phone-Number/list_",
            .listingSuffix = ".html",
            .listingFetch = FetchKind::PageTextRaw,
            .listingPattern = patterns::L2,
            .listingColumns = {1, 2},
            .messagePath = "/sms/86",
            .messageFetch = FetchKind::PageTextUtf8,
            .messagePatterns = {patterns::M3},
            .quoteSubstitution = true,
            .messageColumns = {{{1, 3}, {1, 1}, {1, 2}}},
            .messageRows = 5,
            .numberCopy = {1, 400},
            .messageCopy = {2, 500},
            .runtime = &chinaRuntime,
        },
        {
            .tabText = kUsTab,
            .numberList = 超级列表框5,
            .messageList = 超级列表框6,
            .nextPageButton = 按钮5,
            .firstPageButton = 按钮6,
            .pageCounter = &UsZonePage,
            .firstPage = 1,
            .listedAtStart = false,
            .listingThread = ListingThread::WorkerThread,
            .siteBase = sites::kSiteB,
            .listingPath = "/US-Phone-Number/list_",
            .listingSuffix = ".html",
            .listingFetch = FetchKind::PageTextRaw,
            .listingPattern = patterns::L3,
            .listingColumns = {1, 2},
            .messagePath = "/sms/1",
            .messageFetch = FetchKind::PageTextUtf8,
            .messagePatterns = {patterns::M4},
            .quoteSubstitution = true,
            .messageColumns = {{{1, 3}, {1, 1}, {1, 2}}},
            .messageRows = 5,
            .numberCopy = {1, 500},
            .messageCopy = {2, 500},
            .runtime = &usRuntime,
        },
    }};
}

}  // namespace

const std::array<Zone, 3>& ZoneTable() {
    static const std::array<Zone, 3> table = BuildTable();
    return table;
}

Zone ZoneWithSite(const Zone& zone, const Text& siteBase, std::atomic<std::int32_t>* counter) {
    // Never freed: a worker of the copy may still hold its runtime at exit.
    static std::mutex mutex;
    static auto* runtimes = new std::deque<ZoneRuntime>;
    Zone copy = zone;
    copy.siteBase = siteBase;
    copy.pageCounter = counter;
    const std::lock_guard lock(mutex);
    copy.runtime = &runtimes->emplace_back();
    return copy;
}

}  // namespace lumetra
