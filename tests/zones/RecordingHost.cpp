#include "zones/RecordingHost.h"

#include "platform/inet/SimpleGet.h"

namespace lumetra::testing {

RecordingHost::~RecordingHost() {
    std::vector<std::thread> threads;
    {
        const std::lock_guard lock(ui_);
        threads.swap(threads_);
    }
    for (std::thread& thread : threads) thread.join();
}

std::size_t RecordingHost::ColumnCount(Control list) {
    switch (list) {
        case Control::超级列表框1:
        case Control::超级列表框3:
        case Control::超级列表框5:
            return 2;
        default:
            return 3;
    }
}

void RecordingHost::Record(Call call) {
    const std::lock_guard lock(ui_);
    calls_.push_back(std::move(call));
    changed_.notify_all();
}

void RecordingHost::ListClear(Control list) {
    const std::lock_guard lock(ui_);
    Record({.op = Op::ListClear, .control = list});
    lists_[list] = {};
}

int RecordingHost::ListAppendRow(Control list) {
    const std::lock_guard lock(ui_);
    Record({.op = Op::ListAppendRow, .control = list});
    Table& rows = lists_[list].rows;
    rows.emplace_back(ColumnCount(list));
    return static_cast<int>(rows.size()) - 1;
}

void RecordingHost::ListSetCell(Control list, int row, int column, const Text& text) {
    const std::lock_guard lock(ui_);
    Record({.op = Op::ListSetCell, .control = list, .row = row, .column = column, .text = text});
    Table& rows = lists_[list].rows;
    if (row < 0 || row >= static_cast<int>(rows.size())) return;
    if (column < 0 || column >= static_cast<int>(rows[row].size())) return;
    rows[row][column] = text;
}

Text RecordingHost::ListGetCell(Control list, int row, int column) {
    const std::lock_guard lock(ui_);
    Record({.op = Op::ListGetCell, .control = list, .row = row, .column = column});
    const Table& rows = lists_[list].rows;
    if (row < 0 || row >= static_cast<int>(rows.size())) return {};
    if (column < 0 || column >= static_cast<int>(rows[row].size())) return {};
    return rows[row][column];
}

int RecordingHost::ListSelection(Control list) {
    const std::lock_guard lock(ui_);
    Record({.op = Op::ListSelection, .control = list});
    return lists_[list].selection;
}

void RecordingHost::RefreshControl(Control control) {
    Record({.op = Op::RefreshControl, .control = control});
}

void RecordingHost::SetClipboardText(const Text& text) {
    const std::lock_guard lock(ui_);
    Record({.op = Op::SetClipboardText, .text = text});
    clipboard_ = text;
}

void RecordingHost::ShowTimedNotice(const Text& text, const Text& caption, int milliseconds) {
    Record({.op = Op::ShowTimedNotice, .number = milliseconds, .text = text, .caption = caption});
}

void RecordingHost::StartThread(std::function<void()> routine) {
    const std::lock_guard lock(ui_);
    Record({.op = Op::StartThread});
    if (failThreadStarts_) return;
    ++running_;
    threads_.emplace_back([this, routine = std::move(routine)]() mutable {
        routine();
        routine = nullptr;  // what it holds goes before the thread counts as done
        const std::lock_guard done(ui_);
        --running_;
        ++finished_;
        changed_.notify_all();
    });
}

Bytes RecordingHost::FetchUrlBytes(const Text& url) {
    Record({.op = Op::FetchUrlBytes, .text = url});
    return platform::SimpleGet(url);
}

void RecordingHost::RunOnUiThread(const std::function<void()>& action) {
    const std::lock_guard lock(ui_);
    Record({.op = Op::RunOnUiThread});
    action();
}

void RecordingHost::SetBusy(Control control, bool busy) {
    const std::lock_guard lock(ui_);
    Record({.op = Op::SetBusy, .control = control, .number = busy ? 1 : 0});
    busy_[control] += busy ? 1 : -1;
}

void RecordingHost::SetRows(Control list, const Table& rows) {
    const std::lock_guard lock(ui_);
    lists_[list].rows = rows;
}

void RecordingHost::Select(Control list, int row) {
    const std::lock_guard lock(ui_);
    lists_[list].selection = row;
}

RecordingHost::Table RecordingHost::Rows(Control list) const {
    const std::lock_guard lock(ui_);
    const auto found = lists_.find(list);
    return found == lists_.end() ? Table{} : found->second.rows;
}

std::vector<RecordingHost::Call> RecordingHost::Calls() const {
    const std::lock_guard lock(ui_);
    return calls_;
}

std::vector<RecordingHost::Call> RecordingHost::CallsOf(Op op) const {
    std::vector<Call> matching;
    for (const Call& call : Calls()) {
        if (call.op == op) matching.push_back(call);
    }
    return matching;
}

Text RecordingHost::Clipboard() const {
    const std::lock_guard lock(ui_);
    return clipboard_;
}

int RecordingHost::BusyLevel(Control control) const {
    const std::lock_guard lock(ui_);
    const auto found = busy_.find(control);
    return found == busy_.end() ? 0 : found->second;
}

int RecordingHost::FinishedThreads() const {
    const std::lock_guard lock(ui_);
    return finished_;
}

bool RecordingHost::WaitUntil(const std::function<bool()>& condition,
                              std::chrono::milliseconds timeout) {
    std::unique_lock lock(ui_);
    return changed_.wait_for(lock, timeout, condition);
}

bool RecordingHost::WaitForThreads(std::chrono::milliseconds timeout) {
    return WaitUntil([this] { return running_ == 0; }, timeout);
}

void RecordingHost::FailThreadStarts(bool fail) {
    const std::lock_guard lock(ui_);
    failThreadStarts_ = fail;
}

}  // namespace lumetra::testing
