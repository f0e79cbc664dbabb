#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include "host/HostServices.h"
#include "text/Text.h"

namespace lumetra {

// How a page is fetched and turned into text.
enum class FetchKind {
    UrlBytesUtf8,  // host's FetchUrlBytes, then Utf8ToGbk
    PageTextRaw,   // FetchPageText, used unchanged
    PageTextUtf8,  // FetchPageText, its bytes through Utf8ToGbk
};

enum class ListingThread { UiThread, WorkerThread };

// What one message-list column shows: submatch `submatch` of pattern `pattern` (both from 1).
struct MessageColumn {
    int pattern;
    int submatch;
};

// The column a right-button release copies and how long its notice stays.
struct CopyBinding {
    int column;
    int timeoutMs;
};

// Per-zone mutable state of the zones layer (the listing generation); opaque to callers.
struct ZoneRuntime;

// Everything in which the three zones differ. Constant, except the counter it points to.
struct Zone {
    Text tabText;  // GBK
    Control numberList, messageList, nextPageButton, firstPageButton;
    std::atomic<std::int32_t>* pageCounter;  // the page the zone's next listing fetches
    std::int32_t firstPage;                  // what the first-page button stores
    bool listedAtStart;
    ListingThread listingThread;
    Text siteBase;       // scheme and host, no trailing slash
    Text listingPath;    // between siteBase and the page number
    Text listingSuffix;  // after the page number; may be empty
    FetchKind listingFetch;
    Text listingPattern;
    std::array<int, 2> listingColumns;  // submatch written into number-list column 0 and 1
    Text messagePath;                   // between siteBase and the phone number
    FetchKind messageFetch;
    std::vector<Text> messagePatterns;  // numbered from 1
    bool quoteSubstitution;             // for the message patterns only
    std::array<MessageColumn, 3> messageColumns;
    int messageRows;
    CopyBinding numberCopy, messageCopy;
    ZoneRuntime* runtime;
};

// Process-wide page counters, 0 at start. Atomic: a listing worker reads what the UI
// thread writes.
extern std::atomic<std::int32_t> RandomZonePage, ChinaZonePage, UsZonePage;

// The random, China and US zones, in tab order.
const std::array<Zone, 3>& ZoneTable();

// A copy of a table row with another site base, the given counter and a runtime of its own
// (kept for the life of the process): lets tests point a zone at their own server.
Zone ZoneWithSite(const Zone& zone, const Text& siteBase, std::atomic<std::int32_t>* counter);

}  // namespace lumetra
