#include <gtest/gtest.h>

#include <QFontInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>

#include "app/AppTestSupport.h"

// Measured with the window's own fonts and style, at the layout's exact sizes; run at device
// pixel ratio 1 and 2.
namespace lumetra::apptest {
namespace {

struct ColumnTexts {
    const char* list;
    int column;
    std::vector<const char*> texts;
};

const ColumnTexts kCellTexts[] = {
    {"超级列表框1", 0, {"+86", "+358", "+852", "+1"}},
    {"超级列表框1", 1, {"13800000000", "19999999999", "88888888"}},
    {"超级列表框3", 0, {"+86"}},
    {"超级列表框3", 1, {"13800000000", "18888888888"}},
    {"超级列表框5", 0, {"+1"}},
    {"超级列表框5", 1, {"2025550100", "9999999999"}},
    {"超级列表框2", 0, {"2026-12-11 08:10:00", "2026-12-11 23:59:59"}},
    {"超级列表框2", 1, {"【测试银行0】", "【测试外卖4】"}},
    {"超级列表框2", 2, {"88888888", "AB12CD34"}},
    {"超级列表框4", 0, {"2026-12-11 08:10:00"}},
    {"超级列表框4", 1, {"【测试银行0】"}},
    {"超级列表框4", 2, {"88888888"}},
    {"超级列表框6", 0, {"2026-12-11 08:10:00"}},
    {"超级列表框6", 1, {"【测试银行0】"}},
    {"超级列表框6", 2, {"88888888"}},
};

class FontsTest : public ::testing::Test {
  protected:
    FontsTest() : open_(ZoneTable()) {
        open_.window->ShowCentred();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(open_.window));
    }
    MainWindow& Window() { return *open_.window; }

    void Fill(Control list, const char* name, int rows, const std::vector<const char*>& texts) {
        for (int row = 0; row < rows; ++row) {
            open_.host.ListAppendRow(list);
            for (int column = 0; column < static_cast<int>(texts.size()); ++column) {
                List(Window(), name)->item(row, column)->setText(QString::fromUtf8(texts[column]));
            }
        }
        QCoreApplication::processEvents();
    }

    OpenWindow open_;
};

TEST_F(FontsTest, CellTextsFitTheirColumnsUnelided) {
    for (const ColumnTexts& cell : kCellTexts) {
        QTableWidget& list = *List(Window(), cell.list);
        const QFontMetrics metrics(list.font());
        // The item view's text rectangle: the cell less the grid line and the style's margins.
        const int margin =
            list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
        const int room = list.columnWidth(cell.column) - (list.showGrid() ? 1 : 0) - 2 * margin;
        for (const char* utf8 : cell.texts) {
            const QString text = QString::fromUtf8(utf8);
            SCOPED_TRACE(::testing::Message()
                         << cell.list << " column " << cell.column << " " << utf8 << ": "
                         << metrics.horizontalAdvance(text) << " of " << room << " px");
            EXPECT_LE(metrics.horizontalAdvance(text), room);
            EXPECT_EQ(metrics.elidedText(text, list.textElideMode(), room), text);
        }
    }
}

TEST_F(FontsTest, FiveMessageRowsAndTenNumberRowsShowWithoutScrolling) {
    struct Case {
        Control control;
        const char* name;
        int rows;
        std::vector<const char*> texts;
    };
    const Case cases[] = {
        {Control::超级列表框2,
         "超级列表框2",
         5,
         {"2026-12-11 08:10:00", "【测试银行0】", "88888888"}},
        {Control::超级列表框4,
         "超级列表框4",
         5,
         {"2026-12-11 08:10:00", "【测试银行0】", "88888888"}},
        {Control::超级列表框6,
         "超级列表框6",
         5,
         {"2026-12-11 08:10:00", "【测试银行0】", "88888888"}},
        {Control::超级列表框1, "超级列表框1", 10, {"+358", "13800000000"}},
        {Control::超级列表框3, "超级列表框3", 10, {"+86", "13800000000"}},
        {Control::超级列表框5, "超级列表框5", 10, {"+1", "2025550100"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window().findChild<QTabWidget*>()->setCurrentIndex(c.control <= Control::超级列表框2   ? 0
                                                           : c.control <= Control::超级列表框4 ? 1
                                                                                               : 2);
        Fill(c.control, c.name, c.rows, c.texts);
        QTableWidget& list = *List(Window(), c.name);
        const QRect last = list.visualRect(list.model()->index(c.rows - 1, 0));
        EXPECT_TRUE(list.viewport()->rect().contains(last))
            << "last row " << last.bottom() << " in " << list.viewport()->height();
        EXPECT_EQ(list.verticalScrollBar()->maximum(), 0);
        EXPECT_EQ(list.horizontalScrollBar()->maximum(), 0);
        // Rows and header are tall enough for their text.
        EXPECT_GE(list.rowHeight(0), QFontMetrics(list.font()).height());
        EXPECT_GE(list.horizontalHeader()->height(),
                  QFontMetrics(list.horizontalHeader()->font()).height());
    }
    // More than ten numbers scroll, and the scroll bar leaves both columns whole.
    Window().findChild<QTabWidget*>()->setCurrentIndex(0);
    Fill(Control::超级列表框1, "超级列表框1", 30, {"+358", "13800000000"});
    QTableWidget& numbers = *List(Window(), "超级列表框1");
    EXPECT_GT(numbers.verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(numbers.horizontalScrollBar()->maximum(), 0);
}

TEST_F(FontsTest, ButtonCaptionsFitTheirButtons) {
    for (const char* name : {"按钮1", "按钮2", "按钮3", "按钮4", "按钮5", "按钮6"}) {
        QPushButton& button = *Find<QPushButton>(Window(), name);
        QStyleOptionButton option;
        option.initFrom(&button);
        option.text = button.text();
        const QRect room =
            button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
        const QFontMetrics metrics(button.font());
        SCOPED_TRACE(::testing::Message()
                     << name << ": " << metrics.horizontalAdvance(button.text()) << " of "
                     << room.width() << " px");
        EXPECT_LE(metrics.horizontalAdvance(button.text()), room.width());
        EXPECT_LE(metrics.height(), room.height());
    }
}

TEST_F(FontsTest, TabCaptionsFitAndTheTabRowEndsAboveTheLists) {
    QTabBar& bar = *Window().findChild<QTabWidget*>()->tabBar();
    const QFontMetrics metrics(bar.font());
    for (int i = 0; i < bar.count(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_GT(bar.tabRect(i).width(), metrics.horizontalAdvance(bar.tabText(i)));
        EXPECT_GE(bar.tabRect(i).height(), metrics.height());
    }
    EXPECT_LE(bar.geometry().bottom() + 1, 24);
}

TEST_F(FontsTest, TheFontHasGlyphsForEveryCaption) {
    const QString captions = QString::fromUtf8(
        "随机区国区美区采集下一页回到首页地区号手机号"
        "时间发信方验证码【测试银行外卖商城出行邮箱】");
    for (QWidget* widget : {static_cast<QWidget*>(List(Window(), "超级列表框2")),
                            Find(Window(), "按钮1"), Find(Window(), "选择夹1")}) {
        const QFontMetrics metrics(widget->font());
        for (const QChar c : captions) {
            EXPECT_TRUE(metrics.inFont(c)) << QFontInfo(widget->font()).family().toStdString();
        }
    }
}

}  // namespace
}  // namespace lumetra::apptest
