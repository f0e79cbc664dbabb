#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "host/qt/QtHost.h"
#include "host/qt/TimedNotice.h"

namespace lumetra {
namespace {

// 已粘贴至剪切板 and 自动关闭信息框例程, in GBK.
const Text kText = "\xD2\xD1\xD5\xB3\xCC\xF9\xD6\xC1\xBC\xF4\xC7\xD0\xB0\xE5";
const Text kCaption = "\xD7\xD4\xB6\xAF\xB9\xD8\xB1\xD5\xD0\xC5\xCF\xA2\xBF\xF2\xC0\xFD\xB3\xCC";

struct SeenNotice {
    bool found = false;
    bool modal = false;
    bool ownerless = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text, caption;
    QList<QAbstractButton*> buttons;
    int timerInterval = -1;
};

// Looks at the notice once it is up (from inside its own event loop) and then does `then`.
void InspectNotice(SeenNotice& seen, std::function<void(QMessageBox&)> then) {
    QTimer::singleShot(0, [&seen, then] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        seen.found = true;
        seen.modal = box->isModal();
        seen.ownerless = box->parent() == nullptr;
        seen.icon = box->icon();
        seen.text = box->text();
        seen.caption = box->windowTitle();
        seen.buttons = box->buttons();
        if (auto* timer = box->findChild<QTimer*>(kNoticeTimerName)) {
            seen.timerInterval = timer->interval();
        }
        if (then) {
            then(*box);
        }
    });
}

// Fails the test instead of hanging it when a notice never closes.
class Watchdog {
  public:
    Watchdog() {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            fired_ = true;
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
            }
        });
        timer_.start(20000);
    }
    bool Fired() const { return fired_; }

  private:
    QTimer timer_;
    bool fired_ = false;
};

TEST(QtHostNoticeTest, ClosesByItselfAfterItsTimeOut) {
    QtHost host;
    SeenNotice seen;
    Watchdog watchdog;
    InspectNotice(seen, {});
    host.ShowTimedNotice(kText, kCaption, 400);  // returns only once the box has closed

    EXPECT_FALSE(watchdog.Fired());
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(seen.modal);
    EXPECT_TRUE(seen.ownerless);
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.text, QString::fromUtf8("已粘贴至剪切板"));
    EXPECT_EQ(seen.caption, QString::fromUtf8("自动关闭信息框例程"));
    ASSERT_EQ(seen.buttons.size(), 1);
    EXPECT_EQ(seen.timerInterval, 400);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(QtHostNoticeTest, OkClosesItBeforeItsTimeOut) {
    QtHost host;
    SeenNotice seen;
    Watchdog watchdog;
    bool okWasTheButton = false;
    InspectNotice(seen, [&](QMessageBox& box) {
        okWasTheButton = box.button(QMessageBox::Ok) != nullptr;
        if (okWasTheButton) {
            QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
        }
    });
    // An hour: only the click can have closed it.
    host.ShowTimedNotice(kText, kCaption, 3600 * 1000);

    EXPECT_FALSE(watchdog.Fired());
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(okWasTheButton);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace lumetra
