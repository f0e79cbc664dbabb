#pragma once

#include "host/HostServices.h"
#include "zones/ZoneTable.h"

// The event handlers of the three zones. Each takes its zone record and the host; every
// list, clipboard, notice and thread operation goes through the host.
namespace lumetra {

// Random zone, on the UI thread.
void ListRandomNumbers(const Zone& zone, HostServices& host);      // created event; buttons
void ShowRandomMessages(const Zone& zone, HostServices& host);     // double click, 超级列表框1
void RandomNextPageClicked(const Zone& zone, HostServices& host);  // 按钮1
void RandomFirstPageClicked(const Zone& zone, HostServices& host);  // 按钮2

// China and US zones. The click handlers run on the UI thread, start one listing worker and
// return at once. A newer click of a zone supersedes the listing of an earlier one: from
// that moment the earlier worker's list operations are dropped.
void ListRegionalNumbers(const Zone& zone, HostServices& host);       // a listing worker's body
void RegionalNextPageClicked(const Zone& zone, HostServices& host);   // 按钮3, 按钮5
void RegionalFirstPageClicked(const Zone& zone, HostServices& host);  // 按钮4, 按钮6
void ShowRegionalMessages(const Zone& zone, HostServices& host);  // double click, 超级列表框3/5

// Right-button release on any of the six lists, with the list's CopyBinding.
void CopySelectedCell(HostServices& host, Control list, int column, int timeoutMs);

}  // namespace lumetra
