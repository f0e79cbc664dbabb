#include <gtest/gtest.h>

#include <QClipboard>
#include <QPushButton>
#include <QTabWidget>

#include "app/AppTestSupport.h"
#include "host/qt/GbkText.h"
#include "sample-sites/SampleContent.h"
#include "support/LoopbackServer.h"

namespace lumetra::apptest {
namespace {

using lumetra::testing::LoopbackServer;
using lumetra::testing::RecordedRequest;
using lumetra::testing::Reply;

const Text kNoticeText =
    "\xD2\xD1\xD5\xB3\xCC\xF9\xD6\xC1\xBC\xF4\xC7\xD0\xB0\xE5";  // 已粘贴至剪切板
const Text kNoticeCaption =
    "\xD7\xD4\xB6\xAF\xB9\xD8\xB1\xD5\xD0\xC5\xCF\xA2\xBF\xF2\xC0\xFD\xB3\xCC";  // 自动关闭信息框例程

// Both sites serve the sample pages and record what they were asked.
class EventsTest : public ::testing::Test {
  protected:
    EventsTest() : zones_(siteA_.BaseUrl(), siteB_.BaseUrl()), open_(zones_.zones) {
        const auto serve = [](auto page) {
            return [page](const RecordedRequest& request) {
                return Reply::Html(page(request.target).value_or(""));
            };
        };
        siteA_.SetHandler(serve(samples::SiteAPage));
        siteB_.SetHandler(serve(samples::SiteBPage));
        open_.recording.showNotices = false;
        open_.window->ShowCentred();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(open_.window));
    }

    MainWindow& Window() { return *open_.window; }
    void ShowTab(int tab) { Window().findChild<QTabWidget*>()->setCurrentIndex(tab); }

    // Rows "r<row>c<column>" in every column.
    void Fill(Control control, int rows) {
        for (int row = 0; row < rows; ++row) {
            const int index = open_.host.ListAppendRow(control);
            for (int column = 0; column < 3; ++column) {
                open_.host.ListSetCell(control, index, column,
                                       "r" + std::to_string(row) + "c" + std::to_string(column));
            }
        }
    }

    LoopbackServer siteA_;
    LoopbackServer siteB_{LoopbackServer::Scheme::Https};
    TestZones zones_;
    OpenWindow open_;
};

struct ListCase {
    const char* name;
    Control control;
    int tab;
};

TEST_F(EventsTest, DoubleClickAnywhereOverANumberListShowsTheSelectedNumbersMessages) {
    struct Case {
        ListCase list;
        Control messages;
        LoopbackServer* site;
        std::string path;
    };
    const Case cases[] = {
        {{"超级列表框1", Control::超级列表框1, 0},
         Control::超级列表框2,
         &siteA_,
         "/messages?phone="},
        {{"超级列表框3", Control::超级列表框3, 1}, Control::超级列表框4, &siteB_, "/sms/86"},
        {{"超级列表框5", Control::超级列表框5, 2}, Control::超级列表框6, &siteB_, "/sms/1"},
    };
    for (const Case& c : cases) {
        ShowTab(c.list.tab);
        Fill(c.list.control, 3);
        QTableWidget& list = *List(Window(), c.list.name);
        QTableWidget& messages = *qobject_cast<QTableWidget*>(open_.host.ControlWidget(c.messages));
        // On a row the press before the double click selects it; on the empty area below
        // the rows, with nothing selected, the handler still runs and asks for no number.
        const QPoint below(20, list.viewport()->height() - 5);
        struct Click {
            QPoint at;
            bool selectFirst;
            Text number;
        };
        for (const Click& click :
             {Click{RowCentre(list, 2), true, "r2c1"}, Click{below, false, ""}}) {
            SCOPED_TRACE(::testing::Message() << c.list.name << " at " << click.at.y());
            if (click.selectFirst) {
                QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, click.at);
            } else {
                list.clearSelection();
            }
            const std::size_t asked = c.site->Requests().size();
            QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, click.at);
            ASSERT_EQ(c.site->Requests().size(), asked + 1);
            EXPECT_EQ(c.site->Requests().back().target, c.path + click.number);
            EXPECT_EQ(list.rowCount(), 3);      // numbers untouched
            EXPECT_EQ(messages.rowCount(), 5);  // five rows every time, whatever the page held
        }
    }
}

TEST_F(EventsTest, DoubleClickOnAMessageListDoesNothing) {
    Fill(Control::超级列表框2, 3);
    QTableWidget& list = *List(Window(), "超级列表框2");
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, RowCentre(list, 1));
    EXPECT_TRUE(siteA_.Requests().empty());
    EXPECT_EQ(list.rowCount(), 3);
}

TEST_F(EventsTest, RightReleaseCopiesTheBoundColumnAndShowsTheNotice) {
    struct Case {
        ListCase list;
        int column;
        int milliseconds;
    };
    const Case cases[] = {
        {{"超级列表框1", Control::超级列表框1, 0}, 1, 400},
        {{"超级列表框2", Control::超级列表框2, 0}, 2, 400},
        {{"超级列表框3", Control::超级列表框3, 1}, 1, 400},
        {{"超级列表框4", Control::超级列表框4, 1}, 2, 500},
        {{"超级列表框5", Control::超级列表框5, 2}, 1, 500},
        {{"超级列表框6", Control::超级列表框6, 2}, 2, 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list.name);
        ShowTab(c.list.tab);
        Fill(c.list.control, 4);
        QTableWidget& list = *List(Window(), c.list.name);

        // With the row under the pointer selected by the press.
        open_.recording.notices.clear();
        QTest::mouseClick(list.viewport(), Qt::RightButton, {}, RowCentre(list, 3));
        EXPECT_EQ(open_.host.ListSelection(c.list.control), 3);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("r3c%1").arg(c.column));
        ASSERT_EQ(open_.recording.notices.size(), 1u);
        EXPECT_EQ(open_.recording.notices[0].text, kNoticeText);
        EXPECT_EQ(open_.recording.notices[0].caption, kNoticeCaption);
        EXPECT_EQ(open_.recording.notices[0].milliseconds, c.milliseconds);

        // Nothing selected: the clipboard is emptied and the notice shows all the same.
        list.clearSelection();
        open_.host.SetClipboardText("before");
        const QPoint below(20, list.viewport()->height() - 5);
        QTest::mouseClick(list.viewport(), Qt::RightButton, {}, below);
        EXPECT_EQ(open_.host.ListSelection(c.list.control), -1);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
        EXPECT_EQ(open_.recording.notices.size(), 2u);

        // A press alone, or a release away from the list, copies nothing.
        open_.host.SetClipboardText("kept");
        QTest::mousePress(list.viewport(), Qt::RightButton, {}, RowCentre(list, 1));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
        QTest::mouseRelease(list.viewport(), Qt::RightButton, {},
                            QPoint(list.viewport()->width() + 30, 5));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
        EXPECT_EQ(open_.recording.notices.size(), 2u);

        // A left click copies nothing either.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowCentre(list, 0));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
        EXPECT_EQ(open_.recording.notices.size(), 2u);
    }
}

TEST_F(EventsTest, ButtonsRunTheirZonesPagingActions) {
    struct Case {
        const char* button;
        int tab;
        LoopbackServer* site;
        const char* target;
        int zone;
        int counterAfter;
    };
    // From start: next, next, first, next per zone.
    const Case cases[] = {
        {"按钮1", 0, &siteA_, "/?page=1", 0, 1},
        {"按钮1", 0, &siteA_, "/?page=2", 0, 2},
        {"按钮2", 0, &siteA_, "/?page=0", 0, 0},
        {"按钮1", 0, &siteA_, "/?page=1", 0, 1},
        {"按钮3", 1, &siteB_, "/China-Phone-Number/list_1.html", 1, 1},
        {"按钮3", 1, &siteB_, "/China-Phone-Number/list_2.html", 1, 2},
        {"按钮4", 1, &siteB_, "/China-Phone-Number/list_1.html", 1, 1},
        {"按钮5", 2, &siteB_, "/US-Phone-Number/list_1.html", 2, 1},
        {"按钮6", 2, &siteB_, "/US-Phone-Number/list_1.html", 2, 1},
        {"按钮5", 2, &siteB_, "/US-Phone-Number/list_2.html", 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.button << " " << c.target);
        ShowTab(c.tab);
        const Zone& zone = zones_.zones[c.zone];
        const std::size_t asked = c.site->Requests().size();
        QTest::mouseClick(Find<QPushButton>(Window(), c.button), Qt::LeftButton);
        EXPECT_EQ(zones_.counters[c.zone], c.counterAfter);
        // A regional listing goes on in its worker; wait until its list is whole.
        const auto page =
            samples::ListingNumbers(static_cast<samples::SampleZone>(c.zone), c.counterAfter);
        QTableWidget& numbers =
            *qobject_cast<QTableWidget*>(open_.host.ControlWidget(zone.numberList));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return open_.host.BusyCount(zone.numberList) == 0 &&
                       numbers.rowCount() == static_cast<int>(page.size());
            },
            kWaitMs));
        ASSERT_EQ(c.site->Requests().size(), asked + 1);
        EXPECT_EQ(c.site->Requests().back().target, c.target);
        ASSERT_FALSE(page.empty());
        EXPECT_EQ(numbers.item(0, 1)->text(), QString::fromStdString(page[0].number));
    }
    EXPECT_EQ(zones_.counters[0], 1);
    EXPECT_EQ(zones_.counters[1], 1);
    EXPECT_EQ(zones_.counters[2], 2);
}

TEST_F(EventsTest, WaitPointerShowsWhileARandomZoneFetchHoldsTheUiThread) {
    QTest::mouseClick(Find<QPushButton>(Window(), "按钮1"), Qt::LeftButton);
    QTableWidget& numbers = *List(Window(), "超级列表框1");
    ASSERT_GT(numbers.rowCount(), 0);
    numbers.selectRow(0);
    QTest::mouseDClick(numbers.viewport(), Qt::LeftButton, {}, RowCentre(numbers, 0));

    ASSERT_EQ(open_.recording.pointersAtFetch.size(), 2u);
    for (const auto& pointer : open_.recording.pointersAtFetch) {
        EXPECT_EQ(pointer, Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace lumetra::apptest
