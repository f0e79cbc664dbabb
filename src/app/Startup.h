#pragma once

#include <functional>

#include "app/MainWindow.h"
#include "host/qt/QtHost.h"

namespace lumetra {

// The program's startup routine: does nothing and returns 0.
int StartupRoutine();

// Start-up from the building of the window on: MainWindow is built hidden and attached to
// the host, `built` sees it, its created event runs to its end, and then, if the window
// still exists, it is shown. False when the window could not be built; nothing ran then.
bool StartMainWindow(QtHost& host, const ZoneArray& zones,
                     const std::function<void(MainWindow&)>& built = {});

}  // namespace lumetra
