#pragma once

#include <QAbstractItemView>
#include <functional>

#include "host/HostServices.h"
#include "zones/ZoneTable.h"

// Which zone action answers which event, chosen by where a zone's listing runs.
namespace lumetra {

using ZoneAction = void (*)(const Zone&, HostServices&);

struct ZoneHandlers {
    ZoneAction createdEvent;  // nullptr: nothing at start
    ZoneAction nextPageClicked;
    ZoneAction firstPageClicked;
    ZoneAction numberDoubleClicked;
};

const ZoneHandlers& HandlersFor(ListingThread listingThread);

// Runs `doubleClick` on a left double click and `rightRelease` on a right-button release
// anywhere over the list's rows area, on a row or not. Either may be empty. The events go
// on to the list afterwards.
void OnListEvents(QAbstractItemView& list, std::function<void()> doubleClick,
                  std::function<void()> rightRelease);

}  // namespace lumetra
