#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QTableWidget>
#include <QTest>
#include <atomic>
#include <memory>
#include <string>

#include "app/MainWindow.h"
#include "app/RecordingHost.h"
#include "host/qt/QtHost.h"
#include "zones/ZoneTable.h"

// What the window tests share: zones pointed at the tests' own servers, a window attached to
// a Qt host, and finding its controls by their layout names.
namespace lumetra::apptest {

inline constexpr int kWaitMs = 20000;

// The zone table with other site bases and page counters of its own, all starting at 0.
// The China zone may have a site B of its own.
struct TestZones {
    TestZones(const std::string& siteA, const std::string& siteB,
              const std::string& chinaSiteB = {}) {
        const ZoneArray& table = ZoneTable();
        const std::string bases[] = {siteA, chinaSiteB.empty() ? siteB : chinaSiteB, siteB};
        for (int i = 0; i < 3; ++i) {
            zones[i] = ZoneWithSite(table[i], bases[i], &counters[i]);
        }
    }
    std::atomic<std::int32_t> counters[3]{0, 0, 0};
    ZoneArray zones;
};

// A window for the tests on a host of its own, every zone action going through a recording
// host; closed and deleted when the test ends.
struct OpenWindow {
    explicit OpenWindow(const ZoneArray& zones)
        : recording(host), window(new MainWindow(recording, zones)) {
        window->AttachTo(host);
    }
    ~OpenWindow() {
        if (window) {
            window->close();
            EXPECT_TRUE(QTest::qWaitFor([this] { return window.isNull(); }, kWaitMs));
            delete window.data();
        }
    }
    QtHost host;
    RecordingHost recording;
    QPointer<MainWindow> window;
};

// The control of the window with that layout name (UTF-8), or nullptr.
template <class T = QWidget>
T* Find(QWidget& window, const char* name) {
    return window.findChild<T*>(QString::fromUtf8(name));
}

inline QTableWidget* List(QWidget& window, const char* name) {
    return Find<QTableWidget>(window, name);
}

// The texts of one column of a list, top to bottom.
inline QStringList Column(QTableWidget& list, int column) {
    QStringList texts;
    for (int row = 0; row < list.rowCount(); ++row) {
        const QTableWidgetItem* item = list.item(row, column);
        texts << (item ? item->text() : QString());
    }
    return texts;
}

// The centre of a row in its list's viewport, where a click on that row lands.
inline QPoint RowCentre(QTableWidget& list, int row) {
    return list.visualRect(list.model()->index(row, 1)).center();
}

}  // namespace lumetra::apptest
