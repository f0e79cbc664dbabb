#include "host/qt/TimedNotice.h"

#include <QMessageBox>
#include <QTimer>
#include <algorithm>

namespace lumetra {

void ShowTimedNotice(const QString& text, const QString& caption, int milliseconds) {
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, nullptr);
    box.setWindowModality(Qt::ApplicationModal);
    auto* timer = new QTimer(&box);
    timer->setObjectName(kNoticeTimerName);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, &box, [&box] { box.done(QMessageBox::Ok); });
    // Counted from the call, as a self-closing box counts from its creation.
    timer->start(std::max(milliseconds, 0));
    box.exec();
}

}  // namespace lumetra
