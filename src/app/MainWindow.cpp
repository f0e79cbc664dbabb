#include "app/MainWindow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QWindow>
#include <stdexcept>

#include "app/Legibility.h"
#include "app/RedCaptionGroupBox.h"
#include "app/ReportList.h"
#include "app/ZoneBindings.h"
#include "host/qt/GbkText.h"
#include "zones/ZoneActions.h"

namespace lumetra {

namespace {

int Index(Control control) {
    return static_cast<int>(control);
}

constexpr Qt::WindowFlags kFrame = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                   Qt::WindowCloseButtonHint;

}  // namespace

MainWindow::MainWindow(HostServices& host, const ZoneArray& zones)
    : QWidget(nullptr, kFrame), host_(host), zones_(zones), style_(new LegibleStyle) {
    style_->setParent(this);
    setObjectName(QStringLiteral("MainWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromLatin1(kMainWindowLayout.caption));
    setFont(LegibleFont());
    setFixedSize(kMainWindowLayout.outerWidth, kMainWindowLayout.outerHeight);

    QPalette colors = palette();
    colors.setColor(QPalette::Window, colors.color(QPalette::Button));
    setPalette(colors);
    setAutoFillBackground(true);

    controls_[Index(Control::MainWindow)] = this;
    for (const ControlLayout& row : kMainWindowLayout.controls) {
        QWidget* parent = controls_[Index(row.parent)];
        if (parent == nullptr || controls_[Index(row.control)] != nullptr) {
            throw std::runtime_error("window layout: parent missing or control twice");
        }
        controls_[Index(row.control)] = Build(row, parent);
    }
    ShowTabPage(0);

    // The window's own shortcut: it wins over the lists and buttons that may hold the focus.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    for (const Zone& zone : zones_) {
        BindZone(zone);
    }
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::Build(const ControlLayout& row, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (row.kind) {
        case ControlKind::GroupBox: {
            auto* box = new RedCaptionGroupBox(ToQString(row.text), parent);
            box->setAlignment(Qt::AlignLeft);
            widget = box;
            break;
        }
        case ControlKind::TabControl: {
            auto* tabs = new QTabWidget(parent);
            tabs->tabBar()->setStyle(style_);
            for (const char* text : kMainWindowLayout.tabs) {
                tabs->addTab(new QWidget, ToQString(text));
            }
            tabs->setCurrentIndex(0);
            connect(tabs, &QTabWidget::currentChanged, this, &MainWindow::ShowTabPage);
            widget = tabs;
            break;
        }
        case ControlKind::List:
            widget = new ReportList(row.columns, style_, parent);
            break;
        case ControlKind::Button: {
            auto* button = new QPushButton(ToQString(row.text), parent);
            button->setAutoDefault(false);
            button->setDefault(false);
            widget = button;
            break;
        }
    }
    widget->setObjectName(ToQString(row.name));
    widget->setGeometry(row.x, row.y, row.width, row.height);
    return widget;
}

void MainWindow::ShowTabPage(int tab) {
    // Only visibility changes: lists keep their rows and can be filled while hidden.
    for (const ControlLayout& row : kMainWindowLayout.controls) {
        if (row.tab >= 0) {
            controls_[Index(row.control)]->setVisible(row.tab == tab);
        }
    }
}

void MainWindow::BindZone(const Zone& zone) {
    const ZoneHandlers& handlers = HandlersFor(zone.listingThread);
    auto* next = qobject_cast<QPushButton*>(ControlWidget(zone.nextPageButton));
    auto* first = qobject_cast<QPushButton*>(ControlWidget(zone.firstPageButton));
    auto* numbers = qobject_cast<QAbstractItemView*>(ControlWidget(zone.numberList));
    auto* messages = qobject_cast<QAbstractItemView*>(ControlWidget(zone.messageList));
    if (next == nullptr || first == nullptr || numbers == nullptr || messages == nullptr) {
        throw std::runtime_error("zone names a control the layout lacks");
    }
    connect(next, &QPushButton::clicked, this,
            [this, &zone, action = handlers.nextPageClicked] { action(zone, host_); });
    connect(first, &QPushButton::clicked, this,
            [this, &zone, action = handlers.firstPageClicked] { action(zone, host_); });
    OnListEvents(
        *numbers, [this, &zone, action = handlers.numberDoubleClicked] { action(zone, host_); },
        [this, &zone] {
            CopySelectedCell(host_, zone.numberList, zone.numberCopy.column,
                             zone.numberCopy.timeoutMs);
        });
    OnListEvents(*messages, {}, [this, &zone] {
        CopySelectedCell(host_, zone.messageList, zone.messageCopy.column,
                         zone.messageCopy.timeoutMs);
    });
}

QWidget* MainWindow::ControlWidget(Control control) const {
    return controls_[Index(control)];
}

void MainWindow::AttachTo(QtHost& host) const {
    for (int control = 0; control < kControlCount; ++control) {
        host.AttachControl(static_cast<Control>(control), controls_[control]);
    }
}

void MainWindow::RunCreatedEvent() {
    for (const Zone& zone : zones_) {
        const ZoneAction created = HandlersFor(zone.listingThread).createdEvent;
        if (zone.listedAtStart && created != nullptr) {
            created(zone, host_);
        }
    }
}

void MainWindow::ShowCentred() {
    FitToFrame();
    show();
}

bool MainWindow::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // A window manager reports its frame only once the window is mapped; the outer size
    // and the centring are redone then, and never again once the user moves the window.
    const auto type = event->type();
    if (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize ||
        type == QEvent::WinIdChange) {
        FitToFrame();
    }
    return handled;
}

void MainWindow::FitToFrame() {
    const QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    if (frame == frame_) {
        return;
    }
    frame_ = frame;
    const int outerWidth = kMainWindowLayout.outerWidth;
    const int outerHeight = kMainWindowLayout.outerHeight;
    setFixedSize(outerWidth - frame.left() - frame.right(),
                 outerHeight - frame.top() - frame.bottom());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        // Integer division truncates toward zero, as the layout's formula asks.
        move(area.x() + (area.width() - outerWidth) / 2,
             area.y() + (area.height() - outerHeight) / 2);
    }
}

}  // namespace lumetra
