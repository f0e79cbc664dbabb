#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "host/HostServices.h"

namespace lumetra::testing {

// A host without windows: lists are in-memory tables, every call is recorded in order, the
// clipboard and notices are kept, threads are real and can be waited for. One recursive
// lock stands for the UI thread, so every list operation and RunOnUiThread action is one
// step, as on the real host.
class RecordingHost : public HostServices {
  public:
    enum class Op {
        ListClear,
        ListAppendRow,
        ListSetCell,
        ListGetCell,
        ListSelection,
        RefreshControl,
        SetClipboardText,
        ShowTimedNotice,
        StartThread,
        FetchUrlBytes,
        RunOnUiThread,
        SetBusy,
    };
    struct Call {
        Op op;
        Control control = Control::MainWindow;
        int row = 0, column = 0, number = 0;  // number: time-out, or busy as 0/1
        Text text{}, caption{};
    };
    using Table = std::vector<std::vector<Text>>;
    static constexpr std::chrono::milliseconds kWaitLimit{20000};

    RecordingHost() = default;
    ~RecordingHost() override;  // joins every thread it started

    void ListClear(Control list) override;
    int ListAppendRow(Control list) override;
    void ListSetCell(Control list, int row, int column, const Text& text) override;
    Text ListGetCell(Control list, int row, int column) override;
    int ListSelection(Control list) override;
    void RefreshControl(Control control) override;
    void SetClipboardText(const Text& text) override;
    void ShowTimedNotice(const Text& text, const Text& caption, int milliseconds) override;
    void StartThread(std::function<void()> routine) override;
    Bytes FetchUrlBytes(const Text& url) override;
    void RunOnUiThread(const std::function<void()>& action) override;
    void SetBusy(Control control, bool busy) override;

    // Test side.
    void SetRows(Control list, const Table& rows);
    void Select(Control list, int row);  // -1: no selection
    Table Rows(Control list) const;
    std::vector<Call> Calls() const;
    std::vector<Call> CallsOf(Op op) const;
    Text Clipboard() const;
    int BusyLevel(Control control) const;  // true calls minus false calls
    int FinishedThreads() const;
    // Until `condition` holds, re-checked after every call and every thread's end; false on
    // time-out.
    bool WaitUntil(const std::function<bool()>& condition,
                   std::chrono::milliseconds timeout = kWaitLimit);
    // Until every started thread has returned; false on time-out.
    bool WaitForThreads(std::chrono::milliseconds timeout = kWaitLimit);
    // Makes StartThread drop its routine, as a host that cannot start a thread does.
    void FailThreadStarts(bool fail);

  private:
    struct List {
        Table rows;
        int selection = -1;
    };
    static std::size_t ColumnCount(Control list);
    void Record(Call call);

    mutable std::recursive_mutex ui_;  // everything below
    mutable std::condition_variable_any changed_;
    std::map<Control, List> lists_;
    std::vector<Call> calls_;
    std::map<Control, int> busy_;
    Text clipboard_;
    std::vector<std::thread> threads_;
    int running_ = 0;
    int finished_ = 0;
    bool failThreadStarts_ = false;
};

}  // namespace lumetra::testing
