#include <gtest/gtest.h>

#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QWindow>

#include "app/AppTestSupport.h"
#include "host/qt/GbkText.h"

namespace lumetra::apptest {
namespace {

// The window layout as the program must show it, written out independently of the table the
// window is built from.
struct ExpectedControl {
    const char* name;
    const char* kind;
    const char* parent;
    int tab;  // -1: not on a tab page
    int x, y, width, height;
    const char* text;
};

constexpr ExpectedControl kControls[] = {
    {"分组框1", "QGroupBox", "MainWindow", -1, 0, 0, 544, 312, "Korvadi"},
    {"选择夹1", "QTabWidget", "分组框1", -1, 8, 16, 528, 280, ""},
    {"超级列表框1", "QTableWidget", "选择夹1", 0, 0, 24, 152, 248, ""},
    {"超级列表框2", "QTableWidget", "选择夹1", 0, 152, 24, 360, 120, ""},
    {"按钮1", "QPushButton", "选择夹1", 0, 232, 184, 72, 32, "采集下一页"},
    {"按钮2", "QPushButton", "选择夹1", 0, 368, 184, 64, 32, "回到首页"},
    {"超级列表框3", "QTableWidget", "选择夹1", 1, 0, 24, 152, 248, ""},
    {"超级列表框4", "QTableWidget", "选择夹1", 1, 152, 24, 360, 120, ""},
    {"按钮3", "QPushButton", "选择夹1", 1, 232, 184, 72, 32, "采集下一页"},
    {"按钮4", "QPushButton", "选择夹1", 1, 368, 184, 64, 32, "回到首页"},
    {"超级列表框5", "QTableWidget", "选择夹1", 2, 0, 24, 152, 248, ""},
    {"超级列表框6", "QTableWidget", "选择夹1", 2, 152, 24, 368, 120, ""},
    {"按钮5", "QPushButton", "选择夹1", 2, 232, 184, 72, 32, "采集下一页"},
    {"按钮6", "QPushButton", "选择夹1", 2, 368, 184, 64, 32, "回到首页"},
};

struct ExpectedColumns {
    const char* list;
    std::vector<std::pair<const char*, int>> columns;
};

const ExpectedColumns kColumns[] = {
    {"超级列表框1", {{"地区号", 50}, {"手机号", 80}}},
    {"超级列表框3", {{"国区号", 50}, {"手机号", 80}}},
    {"超级列表框5", {{"国区号", 50}, {"手机号", 80}}},
    {"超级列表框2", {{"时间", 150}, {"发信方", 120}, {"验证码", 80}}},
    {"超级列表框4", {{"时间", 150}, {"发信方", 120}, {"验证码", 80}}},
    {"超级列表框6", {{"时间", 150}, {"发信方", 120}, {"验证码", 80}}},
};

constexpr const char* kLists[] = {"超级列表框1", "超级列表框2", "超级列表框3",
                                  "超级列表框4", "超级列表框5", "超级列表框6"};

class LayoutTest : public ::testing::Test {
  protected:
    LayoutTest() : open_(ZoneTable()) {}
    MainWindow& Window() { return *open_.window; }
    QTabWidget& Tabs() { return *Find<QTabWidget>(Window(), "选择夹1"); }

    OpenWindow open_;
};

TEST_F(LayoutTest, EveryControlHasItsKindParentPlaceSizeAndText) {
    for (const ExpectedControl& expected : kControls) {
        SCOPED_TRACE(expected.name);
        QWidget* widget = Find(Window(), expected.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->inherits(expected.kind));
        ASSERT_NE(widget->parentWidget(), nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromUtf8(expected.parent));
        EXPECT_EQ(widget->geometry(),
                  QRect(expected.x, expected.y, expected.width, expected.height));
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_EQ(button->text(), QString::fromUtf8(expected.text));
            EXPECT_FALSE(button->isDefault());
            EXPECT_FALSE(button->autoDefault());
        } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_EQ(box->title(), QString::fromUtf8(expected.text));
            EXPECT_EQ(box->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        }
    }
    // The window itself and its tabs.
    EXPECT_EQ(Window().objectName(), QStringLiteral("MainWindow"));
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("Lumetra"));
    ASSERT_EQ(Tabs().count(), 3);
    const char* tabs[] = {"随机区", "国区", "美区"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Tabs().tabText(i), QString::fromUtf8(tabs[i]));
        EXPECT_EQ(ToGbk(Tabs().tabText(i)), ZoneTable()[i].tabText);  // tab i shows zone i
    }
    EXPECT_EQ(Tabs().currentIndex(), 0);
}

TEST_F(LayoutTest, ListsHaveTheirColumnsTitlesAndWidths) {
    for (const ExpectedColumns& expected : kColumns) {
        SCOPED_TRACE(expected.list);
        QTableWidget* list = List(Window(), expected.list);
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->columnCount(), static_cast<int>(expected.columns.size()));
        EXPECT_EQ(list->rowCount(), 0);
        for (int column = 0; column < list->columnCount(); ++column) {
            const QTableWidgetItem* title = list->horizontalHeaderItem(column);
            ASSERT_NE(title, nullptr);
            EXPECT_EQ(title->text(), QString::fromUtf8(expected.columns[column].first));
            EXPECT_EQ(title->textAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
            EXPECT_EQ(list->columnWidth(column), expected.columns[column].second);
        }
    }
}

TEST_F(LayoutTest, SelectingATabShowsOnlyItsControlsAndKeepsRows) {
    Window().ShowCentred();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    // A hidden list can be filled and keeps its rows across tab switches.
    open_.host.ListAppendRow(Control::超级列表框5);
    open_.host.ListSetCell(Control::超级列表框5, 0, 1, "2025550100");

    for (int tab : {0, 1, 2, 0, 2}) {
        SCOPED_TRACE(tab);
        Tabs().setCurrentIndex(tab);
        for (const ExpectedControl& expected : kControls) {
            if (expected.tab >= 0) {
                EXPECT_EQ(Find(Window(), expected.name)->isVisible(), expected.tab == tab)
                    << expected.name;
            }
        }
        EXPECT_EQ(List(Window(), "超级列表框5")->rowCount(), 1);
    }
    EXPECT_EQ(List(Window(), "超级列表框5")->item(0, 1)->text(), QStringLiteral("2025550100"));
}

TEST_F(LayoutTest, ListsAreReportViewsWithTheListStyle) {
    for (const char* name : kLists) {
        SCOPED_TRACE(name);
        QTableWidget& list = *List(Window(), name);
        EXPECT_TRUE(list.horizontalHeader()->isVisibleTo(&list));
        EXPECT_FALSE(list.verticalHeader()->isVisibleTo(&list));
        EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(list.selectionMode(), QAbstractItemView::SingleSelection);
        EXPECT_TRUE(list.showGrid());
        EXPECT_EQ(list.editTriggers(), QAbstractItemView::NoEditTriggers);
        EXPECT_FALSE(list.isSortingEnabled());
        EXPECT_FALSE(list.horizontalHeader()->sectionsMovable());
        EXPECT_FALSE(list.hasMouseTracking());
        EXPECT_FALSE(list.viewport()->testAttribute(Qt::WA_Hover));
        EXPECT_EQ(list.frameShadow(), QFrame::Sunken);
        const QPalette colors = list.palette();
        for (auto group : {QPalette::Active, QPalette::Inactive}) {
            EXPECT_EQ(colors.color(group, QPalette::Base), QColor(Qt::white));
            EXPECT_EQ(colors.color(group, QPalette::Text), QColor(Qt::black));
        }
    }
}

TEST_F(LayoutTest, SelectionShowsOnlyWhileTheListHasFocus) {
    Window().ShowCentred();
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    QTableWidget& list = *List(Window(), "超级列表框1");
    QPushButton& button = *Find<QPushButton>(Window(), "按钮1");
    for (int i = 0; i < 3; ++i) {
        open_.host.ListAppendRow(Control::超级列表框1);
        open_.host.ListSetCell(Control::超级列表框1, i, 1, "13800000000");
    }
    list.selectRow(1);
    // A pixel of the selected row's first cell, away from its text.
    const QPoint inRow = list.visualRect(list.model()->index(1, 0)).topLeft() + QPoint(44, 3);
    const auto rowColour = [&] { return list.viewport()->grab().toImage().pixelColor(inRow); };

    list.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.hasFocus(); }, kWaitMs));
    EXPECT_NE(rowColour(), QColor(Qt::white));

    button.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return button.hasFocus(); }, kWaitMs));
    EXPECT_EQ(rowColour(), QColor(Qt::white));
    EXPECT_EQ(open_.host.ListSelection(Control::超级列表框1), 1);  // still selected
}

TEST_F(LayoutTest, HeaderClicksDoNothing) {
    Window().ShowCentred();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    QTableWidget& list = *List(Window(), "超级列表框1");
    const char* numbers[] = {"2", "3", "1"};
    for (int i = 0; i < 3; ++i) {
        open_.host.ListAppendRow(Control::超级列表框1);
        open_.host.ListSetCell(Control::超级列表框1, i, 1, numbers[i]);
    }
    list.selectRow(2);
    QHeaderView& header = *list.horizontalHeader();
    for (int column : {0, 1, 1}) {
        const QPoint centre(header.sectionViewportPosition(column) + 10, header.height() / 2);
        QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, centre);
    }
    EXPECT_EQ(Column(list, 1), (QStringList{"2", "3", "1"}));
    EXPECT_EQ(open_.host.ListSelection(Control::超级列表框1), 2);
    EXPECT_EQ(list.selectionModel()->selectedIndexes().size(), 2);  // one whole row
}

TEST_F(LayoutTest, WindowIsFixedWithMinimizeAndCloseButNoMaximize) {
    const Qt::WindowFlags flags = Window().windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowStaysOnTopHint);

    Window().ShowCentred();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    EXPECT_EQ(Window().minimumSize(), Window().maximumSize());
    Window().resize(700, 500);
    EXPECT_EQ(Window().size(), Window().minimumSize());
    // The outer size is the layout's, whatever frame the platform draws.
    EXPECT_EQ(Window().frameGeometry().size(), QSize(555, 344));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(Window().frameGeometry().topLeft(),
              screen.topLeft() + QPoint((screen.width() - 555) / 2, (screen.height() - 344) / 2));
}

TEST_F(LayoutTest, BackgroundIsButtonFaceAndTheCaptionRed) {
    const QPalette colors = Window().palette();
    EXPECT_EQ(colors.color(QPalette::Window), QGuiApplication::palette().color(QPalette::Button));
    EXPECT_TRUE(Window().autoFillBackground());

    // The caption is drawn red; the text of the controls inside stays in its usual colour.
    QGroupBox& box = *Find<QGroupBox>(Window(), "分组框1");
    const QImage caption = box.grab(QRect(0, 0, 80, 16)).toImage();
    int red = 0;
    for (int y = 0; y < caption.height(); ++y) {
        for (int x = 0; x < caption.width(); ++x) {
            const QColor pixel = caption.pixelColor(x, y);
            red += pixel.red() > 200 && pixel.green() < 80 && pixel.blue() < 80;
        }
    }
    EXPECT_GT(red, 10);
    EXPECT_EQ(Find<QPushButton>(Window(), "按钮1")->palette().color(QPalette::ButtonText),
              QGuiApplication::palette().color(QPalette::ButtonText));
}

TEST_F(LayoutTest, EscapeClosesTheWindowWhateverHasTheFocus) {
    for (const char* focused : {"超级列表框1", "按钮2", "选择夹1"}) {
        SCOPED_TRACE(focused);
        OpenWindow open(ZoneTable());
        open.window->ShowCentred();
        open.window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(open.window));
        QWidget* widget = Find(*open.window, focused);
        widget->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return widget->hasFocus(); }, kWaitMs));
        QTest::keyClick(widget, Qt::Key_Escape);
        // Closing destroys the window.
        EXPECT_TRUE(QTest::qWaitFor([&] { return open.window.isNull(); }, kWaitMs));
    }
}

}  // namespace
}  // namespace lumetra::apptest
