#include "zones/ZoneSteps.h"

#include <memory>

#include "text/RegexObject.h"
#include "text/TextOps.h"
#include "text/Utf8ToGbk.h"
#include "web/HttpAccess.h"

namespace lumetra::zonesteps {

namespace {

// Every zone pattern runs with letters matched regardless of case, multiline, global.
constexpr bool kCaseSensitive = false;
constexpr bool kMultiline = true;
constexpr bool kGlobal = true;

}  // namespace

Text ListingUrl(const Zone& zone) {
    return zone.siteBase + zone.listingPath + IntegerToText(zone.pageCounter->load()) +
           zone.listingSuffix;
}

Text MessageUrl(const Zone& zone, const Text& number) {
    return zone.siteBase + zone.messagePath + number;
}

Text FetchZoneText(FetchKind kind, const Text& url, HostServices& host) {
    switch (kind) {
        case FetchKind::UrlBytesUtf8:
            return Utf8ToGbk(host.FetchUrlBytes(url));
        case FetchKind::PageTextRaw:
            return FetchPageText(url);
        case FetchKind::PageTextUtf8:
            return Utf8ToGbk(TextToBytes(FetchPageText(url)));
    }
    return {};
}

void ListZoneNumbers(const Zone& zone, HostServices& host, const ListingRowWriter& writeRow) {
    RegexObject regex;
    const Text page = FetchZoneText(zone.listingFetch, ListingUrl(zone), host);
    regex.Create(zone.listingPattern, page, kCaseSensitive, kMultiline, kGlobal, false);
    const int n = regex.MatchCount();
    for (int i = 1; i <= n; ++i) {
        if (!writeRow(i - 1, regex.SubmatchText(i, zone.listingColumns[0]),
                      regex.SubmatchText(i, zone.listingColumns[1]))) {
            return;
        }
    }
}

void ShowZoneMessages(const Zone& zone, HostServices& host) {
    const BusyMark busy(host, Control::MainWindow);
    const std::size_t patternCount = zone.messagePatterns.size();
    const auto regexes = std::make_unique<RegexObject[]>(patternCount);
    host.ListClear(zone.messageList);
    host.RefreshControl(zone.messageList);
    const int selected = host.ListSelection(zone.numberList);
    const Text number = host.ListGetCell(zone.numberList, selected, 1);
    const Text page = FetchZoneText(zone.messageFetch, MessageUrl(zone, number), host);
    for (std::size_t p = 0; p < patternCount; ++p) {
        regexes[p].Create(zone.messagePatterns[p], page, kCaseSensitive, kMultiline, kGlobal,
                          zone.quoteSubstitution);
    }
    for (int i = 1; i <= zone.messageRows; ++i) {
        host.ListAppendRow(zone.messageList);
        for (int column = 0; column < static_cast<int>(zone.messageColumns.size()); ++column) {
            const MessageColumn& source = zone.messageColumns[column];
            const bool known =
                source.pattern >= 1 && static_cast<std::size_t>(source.pattern) <= patternCount;
            host.ListSetCell(
                zone.messageList, i - 1, column,
                known ? regexes[source.pattern - 1].SubmatchText(i, source.submatch) : Text{});
        }
    }
}

BusyMark::BusyMark(HostServices& host, Control control) : host_(host), control_(control) {
    host_.SetBusy(control_, true);
}

BusyMark::~BusyMark() {
    Release();
}

void BusyMark::Release() {
    if (held_.exchange(false)) host_.SetBusy(control_, false);
}

}  // namespace lumetra::zonesteps
