// The floor for the start-up figures: a window with the same widgets at the same places as
// the main window, but no zones, no fetch and no list styling. Escape closes it.
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTableWidget>
#include <QWidget>
#include <map>

#include "app/WindowLayout.h"
#include "host/qt/GbkText.h"

int main(int argc, char* argv[]) {
    using namespace lumetra;
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Lumetra idle"));
    window.setFixedSize(kMainWindowLayout.outerWidth, kMainWindowLayout.outerHeight);
    std::map<Control, QWidget*> widgets{{Control::MainWindow, &window}};
    QTabWidget* tabs = nullptr;
    std::vector<QWidget*> pages;
    for (const ControlLayout& control : kMainWindowLayout.controls) {
        QWidget* parent = control.tab >= 0 ? pages[static_cast<std::size_t>(control.tab)]
                                           : widgets[control.parent];
        QWidget* widget = nullptr;
        switch (control.kind) {
            case ControlKind::GroupBox:
                widget = new QGroupBox(ToQString(control.text), parent);
                break;
            case ControlKind::TabControl:
                tabs = new QTabWidget(parent);
                for (const char* tab : kMainWindowLayout.tabs) {
                    pages.push_back(new QWidget);
                    tabs->addTab(pages.back(), ToQString(tab));
                }
                widget = tabs;
                break;
            case ControlKind::List: {
                auto* table = new QTableWidget(0, static_cast<int>(control.columns.size()), parent);
                for (std::size_t c = 0; c < control.columns.size(); ++c) {
                    table->setHorizontalHeaderItem(
                        static_cast<int>(c),
                        new QTableWidgetItem(ToQString(control.columns[c].title)));
                    table->setColumnWidth(static_cast<int>(c), control.columns[c].width);
                }
                widget = table;
                break;
            }
            case ControlKind::Button:
                widget = new QPushButton(ToQString(control.text), parent);
                break;
        }
        widget->setGeometry(control.x, control.y - (control.tab >= 0 ? 24 : 0), control.width,
                            control.height);
        widgets[control.control] = widget;
    }
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    QObject::connect(escape, &QShortcut::activated, &window, &QWidget::close);
    window.show();
    return QApplication::exec();
}
