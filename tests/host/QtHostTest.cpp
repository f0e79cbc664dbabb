#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QTableWidget>
#include <QTest>
#include <atomic>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "host/qt/QtHost.h"
#include "support/LoopbackServer.h"

namespace lumetra {
namespace {

using namespace std::chrono_literals;

constexpr int kWaitMs = 20000;

// Three lists attached as 超级列表框1 to 3, three columns each.
class QtHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i) {
            lists_.push_back(std::make_unique<QTableWidget>(0, 3));
            host_.AttachControl(kLists[i], lists_.back().get());
        }
    }

    QTableWidget& Widget(int i) { return *lists_[i]; }

    static constexpr Control kLists[] = {Control::超级列表框1, Control::超级列表框2,
                                         Control::超级列表框3};
    QtHost host_;
    std::vector<std::unique_ptr<QTableWidget>> lists_;
};

// Joins threads only once they have finished, so the UI thread never waits on one that is
// waiting on it.
void JoinWhenDone(std::vector<std::thread>& threads, const std::atomic<int>& done) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return done == static_cast<int>(threads.size()); }, kWaitMs));
    for (std::thread& thread : threads) {
        thread.join();
    }
}

TEST_F(QtHostTest, ListOperationsFromSeveralWorkersLandWholeAndInOrder) {
    constexpr int kRows = 40;
    std::atomic<int> done{0};
    std::vector<std::thread> workers;
    // Workers 0-2 fill a list each; workers 3 and 4 share list 0 with worker 0.
    for (int worker = 0; worker < 5; ++worker) {
        workers.emplace_back([&, worker] {
            const Control list = kLists[worker < 3 ? worker : 0];
            for (int i = 0; i < kRows; ++i) {
                const int row = host_.ListAppendRow(list);
                host_.ListSetCell(list, row, 0, std::to_string(worker));
                host_.ListSetCell(list, row, 1, std::to_string(i));
            }
            ++done;
        });
    }
    JoinWhenDone(workers, done);

    for (int list = 0; list < 3; ++list) {
        SCOPED_TRACE(list);
        std::vector<int> next(5, 0);
        QTableWidget& widget = Widget(list);
        ASSERT_EQ(widget.rowCount(), list == 0 ? 3 * kRows : kRows);
        for (int row = 0; row < widget.rowCount(); ++row) {
            // Each row holds one worker's pair, and each worker's rows keep its order.
            const int worker = widget.item(row, 0)->text().toInt();
            EXPECT_EQ(widget.item(row, 1)->text().toInt(), next[worker]++) << "row " << row;
        }
    }
}

TEST_F(QtHostTest, WriteToARowClearedMeanwhileIsIgnored) {
    std::promise<void> cleared;
    std::atomic<int> done{0};
    int appended = -2;
    std::vector<std::thread> worker;
    worker.emplace_back([&] {
        appended = host_.ListAppendRow(Control::超级列表框1);
        cleared.get_future().wait();
        host_.ListSetCell(Control::超级列表框1, appended, 0, "late");
        ++done;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return Widget(0).rowCount() == 1; }, kWaitMs));
    host_.ListClear(Control::超级列表框1);
    cleared.set_value();
    JoinWhenDone(worker, done);

    EXPECT_EQ(appended, 0);
    EXPECT_EQ(Widget(0).rowCount(), 0);
    EXPECT_EQ(host_.ListGetCell(Control::超级列表框1, 0, 0), "");
}

TEST_F(QtHostTest, MissingCellsReadEmptyAndIgnoreWrites) {
    ASSERT_EQ(host_.ListAppendRow(Control::超级列表框1), 0);
    host_.ListSetCell(Control::超级列表框1, 0, 1, "kept");

    struct Case {
        int row, column;
    };
    for (const Case c : {Case{-1, 0}, Case{-1, 1}, Case{1, 0}, Case{0, 3}, Case{0, -1}}) {
        SCOPED_TRACE(::testing::Message() << c.row << "," << c.column);
        host_.ListSetCell(Control::超级列表框1, c.row, c.column, "stray");
        EXPECT_EQ(host_.ListGetCell(Control::超级列表框1, c.row, c.column), "");
    }
    EXPECT_EQ(Widget(0).rowCount(), 1);
    EXPECT_EQ(host_.ListGetCell(Control::超级列表框1, 0, 1), "kept");
    EXPECT_EQ(host_.ListGetCell(Control::超级列表框1, 0, 0), "");

    // A control with no widget attached, or whose widget is gone, is a missing list.
    EXPECT_EQ(host_.ListAppendRow(Control::超级列表框6), -1);
    EXPECT_EQ(host_.ListSelection(Control::超级列表框6), -1);
    lists_[2].reset();
    EXPECT_EQ(host_.ListAppendRow(Control::超级列表框3), -1);
    host_.ListClear(Control::超级列表框3);
}

TEST_F(QtHostTest, SelectionIsTheFirstSelectedRow) {
    for (int i = 0; i < 4; ++i) {
        host_.ListAppendRow(Control::超级列表框1);
    }
    EXPECT_EQ(host_.ListSelection(Control::超级列表框1), -1);
    Widget(0).setSelectionBehavior(QAbstractItemView::SelectRows);
    Widget(0).selectRow(2);
    EXPECT_EQ(host_.ListSelection(Control::超级列表框1), 2);
    Widget(0).clearSelection();
    EXPECT_EQ(host_.ListSelection(Control::超级列表框1), -1);
}

TEST_F(QtHostTest, TextsCrossTheBoundaryAsGbk) {
    // 【测试银行0】 in GBK, and the same text as Qt shows it.
    const Text gbk =
        "\xA1\xBE\xB2\xE2\xCA\xD4\xD2\xF8\xD0\xD0"
        "0\xA1\xBF";
    const QString shown = QString::fromUtf8("【测试银行0】");

    host_.ListAppendRow(Control::超级列表框1);
    host_.ListSetCell(Control::超级列表框1, 0, 2, gbk);
    EXPECT_EQ(Widget(0).item(0, 2)->text(), shown);
    EXPECT_EQ(host_.ListGetCell(Control::超级列表框1, 0, 2), gbk);

    host_.SetClipboardText(gbk);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), shown);

    // From a worker the clipboard is written on the UI thread, whole, before the call returns.
    std::atomic<int> done{0};
    std::vector<std::thread> worker;
    worker.emplace_back([&] {
        host_.SetClipboardText("13800000000");
        ++done;
    });
    JoinWhenDone(worker, done);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("13800000000"));
    host_.SetClipboardText("");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
}

TEST_F(QtHostTest, RefreshRepaintsTheListAtOnce) {
    class PaintCounter : public QObject {
      public:
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    QTableWidget& list = Widget(0);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    host_.ListAppendRow(Control::超级列表框1);
    QCoreApplication::processEvents();
    list.viewport()->installEventFilter(&counter);

    host_.ListClear(Control::超级列表框1);
    EXPECT_EQ(counter.paints, 0);  // clearing alone only schedules a paint
    host_.RefreshControl(Control::超级列表框1);
    EXPECT_GT(counter.paints, 0);
}

TEST_F(QtHostTest, RunOnUiThreadRunsThereWhileTheWorkerWaits) {
    const QThread* uiThread = QThread::currentThread();
    bool ranHere = false;
    host_.RunOnUiThread([&] { ranHere = QThread::currentThread() == uiThread; });
    EXPECT_TRUE(ranHere);

    std::atomic<int> done{0};
    bool ranOnUi = false;
    bool seenByWorker = false;
    std::vector<std::thread> worker;
    worker.emplace_back([&] {
        int value = 0;
        host_.RunOnUiThread([&] {
            ranOnUi = QThread::currentThread() == uiThread;
            value = 7;
        });
        seenByWorker = value == 7;
        ++done;
    });
    JoinWhenDone(worker, done);
    EXPECT_TRUE(ranOnUi);
    EXPECT_TRUE(seenByWorker);
}

TEST_F(QtHostTest, StartThreadReturnsAtOnceAndRunsTheRoutineElsewhere) {
    std::promise<void> started;
    auto release = std::make_shared<std::promise<void>>();
    std::shared_future<void> released = release->get_future().share();
    auto finished = std::make_shared<std::atomic<bool>>(false);
    auto otherThread = std::make_shared<std::atomic<bool>>(false);
    const auto caller = std::this_thread::get_id();

    // The routine waits for a release that comes only after StartThread has returned.
    host_.StartThread([released, finished, otherThread, caller] {
        *otherThread = std::this_thread::get_id() != caller;
        released.wait();
        *finished = true;
    });
    EXPECT_FALSE(*finished);
    release->set_value();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished->load(); }, kWaitMs));
    EXPECT_TRUE(*otherThread);

    // A routine that throws ends its own thread only.
    auto threw = std::make_shared<std::atomic<bool>>(false);
    host_.StartThread([threw] {
        *threw = true;
        throw std::runtime_error("quietly");
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return threw->load(); }, kWaitMs));
}

TEST_F(QtHostTest, BusyPointersAreCountedPerControl) {
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    host_.SetBusy(Control::MainWindow, true);
    host_.SetBusy(Control::MainWindow, true);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    host_.SetBusy(Control::MainWindow, false);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    host_.SetBusy(Control::MainWindow, false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    // A release with nothing held changes nothing.
    host_.SetBusy(Control::MainWindow, false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(host_.BusyCount(Control::MainWindow), 0);

    // A list's pointer, set and restored by a worker, shows over its rows only.
    QWidget* viewport = Widget(1).viewport();
    std::promise<void> checked;
    std::atomic<int> done{0};
    std::atomic<bool> marked{false};
    std::vector<std::thread> worker;
    worker.emplace_back([&] {
        host_.SetBusy(Control::超级列表框2, true);
        marked = true;
        checked.get_future().wait();
        host_.SetBusy(Control::超级列表框2, false);
        ++done;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return marked.load(); }, kWaitMs));
    EXPECT_TRUE(viewport->testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(viewport->cursor().shape(), Qt::BusyCursor);
    EXPECT_FALSE(Widget(0).viewport()->testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    checked.set_value();
    JoinWhenDone(worker, done);
    EXPECT_FALSE(viewport->testAttribute(Qt::WA_SetCursor));
}

TEST_F(QtHostTest, FetchUrlBytesGivesTheBody) {
    testing::LoopbackServer server;
    const std::string body("page\0with zero", 14);
    server.SetHandler([&](const testing::RecordedRequest&) { return testing::Reply::Html(body); });
    const Bytes bytes = host_.FetchUrlBytes(server.BaseUrl() + "/?page=0");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), body);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].target, "/?page=0");
    EXPECT_TRUE(host_.FetchUrlBytes("").empty());
}

}  // namespace
}  // namespace lumetra
