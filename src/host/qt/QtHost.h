#pragma once

#include <QObject>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <array>
#include <functional>

#include "host/HostServices.h"

class QTableWidget;

namespace lumetra {

inline constexpr int kControlCount = static_cast<int>(Control::按钮6) + 1;

// The host services on Qt Widgets. Build it on the UI thread; the controls are attached by
// whoever builds them. Every operation may be called from any thread: off the UI thread it
// is carried out whole on the UI thread with a blocking queued call while the caller waits.
// The UI thread itself never waits for another thread.
class QtHost final : public HostServices {
  public:
    QtHost();
    ~QtHost() override;
    QtHost(const QtHost&) = delete;
    QtHost& operator=(const QtHost&) = delete;

    // Lists must be QTableWidgets. A control whose widget is gone behaves like a missing one.
    void AttachControl(Control control, QWidget* widget);
    QWidget* ControlWidget(Control control) const;

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

    // Busy count of a control, for tests (UI thread).
    int BusyCount(Control control) const;

  private:
    QTableWidget* List(Control list) const;
    void ApplyBusy(Control control, int count);

    QObject uiContext_;  // lives on the UI thread: the target of the queued calls
    std::array<QPointer<QWidget>, kControlCount> controls_{};
    std::array<int, kControlCount> busy_{};
};

}  // namespace lumetra
