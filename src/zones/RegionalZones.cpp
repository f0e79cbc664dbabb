#include <cstdint>
#include <memory>

#include "zones/ZoneActions.h"
#include "zones/ZoneRuntime.h"
#include "zones/ZoneSteps.h"

namespace lumetra {

namespace {

using zonesteps::BusyMark;

// The listing a click started: every row is checked and written in one step on the UI
// thread, so a newer click (which bumps the generation there) cuts it off between rows.
void ListAsGeneration(const Zone& zone, HostServices& host, std::uint64_t generation) {
    zonesteps::ListZoneNumbers(zone, host, [&](int row, const Text& code, const Text& number) {
        bool current = false;
        host.RunOnUiThread([&] {
            current = zone.runtime->listingGeneration.load() == generation;
            if (!current) return;
            host.ListAppendRow(zone.numberList);
            host.ListSetCell(zone.numberList, row, 0, code);
            host.ListSetCell(zone.numberList, row, 1, number);
        });
        return current;
    });
}

// Clears the list and starts the worker; `setCounter` moves the page between the two.
template <typename SetCounter>
void StartListing(const Zone& zone, HostServices& host, SetCounter setCounter) {
    const std::uint64_t generation = zone.runtime->listingGeneration.fetch_add(1) + 1;
    host.ListClear(zone.numberList);
    setCounter();
    // Released when the listing ends, or when the host drops a routine it could not start.
    auto busy = std::make_shared<BusyMark>(host, zone.numberList);
    host.StartThread([zone, &host, generation, busy] {
        ListAsGeneration(zone, host, generation);
        busy->Release();
    });
}

}  // namespace

void ListRegionalNumbers(const Zone& zone, HostServices& host) {
    ListAsGeneration(zone, host, zone.runtime->listingGeneration.load());
}

void RegionalNextPageClicked(const Zone& zone, HostServices& host) {
    StartListing(zone, host, [&] { zone.pageCounter->fetch_add(1); });
}

void RegionalFirstPageClicked(const Zone& zone, HostServices& host) {
    StartListing(zone, host, [&] { zone.pageCounter->store(zone.firstPage); });
}

void ShowRegionalMessages(const Zone& zone, HostServices& host) {
    zonesteps::ShowZoneMessages(zone, host);
}

}  // namespace lumetra
