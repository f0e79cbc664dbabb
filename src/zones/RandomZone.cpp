#include "zones/ZoneActions.h"
#include "zones/ZoneSteps.h"

namespace lumetra {

using zonesteps::BusyMark;

void ListRandomNumbers(const Zone& zone, HostServices& host) {
    const BusyMark busy(host, Control::MainWindow);
    zonesteps::ListZoneNumbers(zone, host, [&](int row, const Text& code, const Text& number) {
        host.ListAppendRow(zone.numberList);
        host.ListSetCell(zone.numberList, row, 0, code);
        host.ListSetCell(zone.numberList, row, 1, number);
        return true;
    });
}

void ShowRandomMessages(const Zone& zone, HostServices& host) {
    zonesteps::ShowZoneMessages(zone, host);
}

void RandomNextPageClicked(const Zone& zone, HostServices& host) {
    host.ListClear(zone.numberList);
    zone.pageCounter->fetch_add(1);
    ListRandomNumbers(zone, host);
}

void RandomFirstPageClicked(const Zone& zone, HostServices& host) {
    host.ListClear(zone.numberList);
    zone.pageCounter->store(zone.firstPage);
    ListRandomNumbers(zone, host);
}

}  // namespace lumetra
