#pragma once

#include <atomic>
#include <functional>

#include "host/HostServices.h"
#include "text/Text.h"
#include "zones/ZoneTable.h"

// Steps the zone actions share; not part of the zones API.
namespace lumetra::zonesteps {

// siteBase, listingPath, the counter's current value, listingSuffix.
Text ListingUrl(const Zone& zone);
// siteBase, messagePath, the number unchanged.
Text MessageUrl(const Zone& zone, const Text& number);

// The page text of `url`, fetched and converted as `kind` says; empty text on failure.
Text FetchZoneText(FetchKind kind, const Text& url, HostServices& host);

// Writes number-list row `row` with its two cells; returns false to end the listing.
using ListingRowWriter = std::function<bool(int row, const Text& code, const Text& number)>;

// One listing of the zone's current page: fetch, match, one row per match in match order.
void ListZoneNumbers(const Zone& zone, HostServices& host, const ListingRowWriter& writeRow);

// The message view of the number selected in the zone's number list: exactly messageRows
// rows, filled per messageColumns, empty where a pattern has no such match.
void ShowZoneMessages(const Zone& zone, HostServices& host);

// Marks a control busy for as long as it lives (or until Release), also when a step fails.
class BusyMark {
  public:
    BusyMark(HostServices& host, Control control);
    ~BusyMark();
    BusyMark(const BusyMark&) = delete;
    BusyMark& operator=(const BusyMark&) = delete;
    void Release();

  private:
    HostServices& host_;
    Control control_;
    std::atomic<bool> held_{true};
};

}  // namespace lumetra::zonesteps
