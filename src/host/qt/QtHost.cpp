#include "host/qt/QtHost.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMetaObject>
#include <QTableWidget>
#include <thread>

#include "host/qt/GbkText.h"
#include "host/qt/TimedNotice.h"
#include "platform/inet/SimpleGet.h"

namespace lumetra {

namespace {

int Index(Control control) {
    return static_cast<int>(control);
}

}  // namespace

QtHost::QtHost() = default;
QtHost::~QtHost() = default;

void QtHost::AttachControl(Control control, QWidget* widget) {
    RunOnUiThread([&] { controls_[Index(control)] = widget; });
}

QWidget* QtHost::ControlWidget(Control control) const {
    return controls_[Index(control)].data();
}

QTableWidget* QtHost::List(Control list) const {
    return qobject_cast<QTableWidget*>(ControlWidget(list));
}

void QtHost::RunOnUiThread(const std::function<void()>& action) {
    if (QThread::currentThread() == uiContext_.thread()) {
        action();
        return;
    }
    // Blocks this thread only; if the event loop has already ended the process is ending too,
    // and quick_exit takes the waiting thread with it.
    QMetaObject::invokeMethod(
        &uiContext_, [&action] { action(); }, Qt::BlockingQueuedConnection);
}

void QtHost::RefreshControl(Control control) {
    RunOnUiThread([&] {
        if (QWidget* widget = ControlWidget(control)) {
            widget->repaint();
        }
    });
}

void QtHost::SetClipboardText(const Text& text) {
    RunOnUiThread([&] {
        if (QClipboard* clipboard = QGuiApplication::clipboard()) {
            clipboard->setText(ToQString(text));
        }
    });
}

void QtHost::ShowTimedNotice(const Text& text, const Text& caption, int milliseconds) {
    RunOnUiThread(
        [&] { lumetra::ShowTimedNotice(ToQString(text), ToQString(caption), milliseconds); });
}

void QtHost::StartThread(std::function<void()> routine) {
    try {
        std::thread([routine = std::move(routine)] {
            try {
                routine();
            } catch (...) {
                // A routine's failure ends its thread quietly, never the process.
            }
        }).detach();
    } catch (...) {
        // The thread could not be started: nothing happens.
    }
}

Bytes QtHost::FetchUrlBytes(const Text& url) {
    return platform::SimpleGet(url);
}

void QtHost::SetBusy(Control control, bool busy) {
    RunOnUiThread([&] {
        int& count = busy_[Index(control)];
        if (!busy && count == 0) {
            return;  // an unbalanced release must not steal another holder's pointer
        }
        count += busy ? 1 : -1;
        if (count == (busy ? 1 : 0)) {
            ApplyBusy(control, count);
        }
    });
}

int QtHost::BusyCount(Control control) const {
    return busy_[Index(control)];
}

void QtHost::ApplyBusy(Control control, int count) {
    if (control == Control::MainWindow) {
        if (count > 0) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            // The fetch that follows blocks the UI thread: hand the new pointer to the window
            // system now, without letting any input in.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        } else {
            QGuiApplication::restoreOverrideCursor();
        }
        return;
    }
    QWidget* widget = ControlWidget(control);
    if (auto* list = qobject_cast<QTableWidget*>(widget)) {
        widget = list->viewport();
    }
    if (widget == nullptr) {
        return;
    }
    if (count > 0) {
        widget->setCursor(Qt::BusyCursor);
    } else {
        widget->unsetCursor();
    }
}

}  // namespace lumetra
