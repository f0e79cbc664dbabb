#pragma once

#include <QCursor>
#include <QGuiApplication>
#include <optional>
#include <vector>

#include "host/qt/QtHost.h"

namespace lumetra::apptest {

// The Qt host with two things noted on the way: each notice (shown for real unless turned
// off) and the pointer shape at the start of each simple GET.
class RecordingHost final : public HostServices {
  public:
    struct Notice {
        Text text, caption;
        int milliseconds;
    };

    explicit RecordingHost(QtHost& host) : host_(host) {}

    bool showNotices = true;
    std::vector<Notice> notices;
    std::vector<std::optional<Qt::CursorShape>> pointersAtFetch;  // empty: no override

    void ListClear(Control list) override { host_.ListClear(list); }
    int ListAppendRow(Control list) override { return host_.ListAppendRow(list); }
    void ListSetCell(Control list, int row, int column, const Text& text) override {
        host_.ListSetCell(list, row, column, text);
    }
    Text ListGetCell(Control list, int row, int column) override {
        return host_.ListGetCell(list, row, column);
    }
    int ListSelection(Control list) override { return host_.ListSelection(list); }
    void RefreshControl(Control control) override { host_.RefreshControl(control); }
    void SetClipboardText(const Text& text) override { host_.SetClipboardText(text); }
    void ShowTimedNotice(const Text& text, const Text& caption, int milliseconds) override {
        notices.push_back({text, caption, milliseconds});
        if (showNotices) {
            host_.ShowTimedNotice(text, caption, milliseconds);
        }
    }
    void StartThread(std::function<void()> routine) override {
        host_.StartThread(std::move(routine));
    }
    Bytes FetchUrlBytes(const Text& url) override {
        const QCursor* pointer = QGuiApplication::overrideCursor();
        pointersAtFetch.push_back(pointer ? std::optional(pointer->shape()) : std::nullopt);
        return host_.FetchUrlBytes(url);
    }
    void RunOnUiThread(const std::function<void()>& action) override {
        host_.RunOnUiThread(action);
    }
    void SetBusy(Control control, bool busy) override { host_.SetBusy(control, busy); }

  private:
    QtHost& host_;
};

}  // namespace lumetra::apptest
