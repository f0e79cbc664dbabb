#pragma once

#include <functional>

#include "text/Text.h"

namespace lumetra {

// The controls of the window layout that the zone actions name.
enum class Control {
    MainWindow,
    分组框1,
    选择夹1,
    超级列表框1,
    超级列表框2,
    超级列表框3,
    超级列表框4,
    超级列表框5,
    超级列表框6,
    按钮1,
    按钮2,
    按钮3,
    按钮4,
    按钮5,
    按钮6,
};

// The windowing host's services. Rows and columns count from 0; texts are GBK.
//
// List operations act on the UI thread. Called from another thread, each one is carried out
// whole on the UI thread, in the order the caller issued them, while the caller waits; the
// UI thread never waits for a worker.
class HostServices {
public:
    virtual ~HostServices() = default;

    virtual void ListClear(Control list) = 0;
    // Appends a row of empty cells; returns its index.
    virtual int ListAppendRow(Control list) = 0;
    // A row that does not exist is ignored.
    virtual void ListSetCell(Control list, int row, int column, const Text& text) = 0;
    // A row or column that does not exist (-1 included) gives empty text.
    virtual Text ListGetCell(Control list, int row, int column) = 0;
    // First selected row, -1 when none is.
    virtual int ListSelection(Control list) = 0;
    // Repaints the control at once.
    virtual void RefreshControl(Control control) = 0;
    // If the clipboard cannot be opened, nothing happens.
    virtual void SetClipboardText(const Text& text) = 0;
    // Modal information box with one OK button and no owner; returns when it is closed or
    // the time runs out.
    virtual void ShowTimedNotice(const Text& text, const Text& caption, int milliseconds) = 0;
    // Runs the routine on a new detached thread and returns at once; nothing happens if the
    // thread cannot be started.
    virtual void StartThread(std::function<void()> routine) = 0;
    // Simple GET of an http or https URL: the body, empty bytes on failure.
    virtual Bytes FetchUrlBytes(const Text& url) = 0;

    // Runs `action` on the UI thread: directly when called there, otherwise whole, while the
    // caller waits. A worker uses it to check and act on UI-thread state in one step.
    virtual void RunOnUiThread(const std::function<void()>& action) = 0;
    // Pointer feedback only: while a control is marked busy (counted), the pointer over it
    // shows that work is going on: the wait pointer over MainWindow, the busy-but-usable
    // pointer over a list. Callable from any thread.
    virtual void SetBusy(Control control, bool busy) = 0;
};

}  // namespace lumetra
