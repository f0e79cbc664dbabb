#include "app/ZoneBindings.h"

#include <QEvent>
#include <QMouseEvent>
#include <array>

#include "zones/ZoneActions.h"

namespace lumetra {

namespace {

constexpr std::array<ZoneHandlers, 2> kHandlers{{
    // ListingThread::UiThread
    {ListRandomNumbers, RandomNextPageClicked, RandomFirstPageClicked, ShowRandomMessages},
    // ListingThread::WorkerThread
    {nullptr, RegionalNextPageClicked, RegionalFirstPageClicked, ShowRegionalMessages},
}};

class ListEvents final : public QObject {
  public:
    ListEvents(QWidget* viewport, std::function<void()> doubleClick,
               std::function<void()> rightRelease)
        : QObject(viewport),
          doubleClick_(std::move(doubleClick)),
          rightRelease_(std::move(rightRelease)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if (type != QEvent::MouseButtonDblClick && type != QEvent::MouseButtonRelease) {
            return false;
        }
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (type == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton &&
            doubleClick_) {
            doubleClick_();
        } else if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::RightButton &&
                   rightRelease_) {
            // The pointer is grabbed by the widget it was pressed on: a release counts only
            // when it happens over the list.
            const auto* viewport = static_cast<QWidget*>(watched);
            if (viewport->rect().contains(mouse->position().toPoint())) {
                rightRelease_();
            }
        }
        return false;
    }

  private:
    std::function<void()> doubleClick_;
    std::function<void()> rightRelease_;
};

}  // namespace

const ZoneHandlers& HandlersFor(ListingThread listingThread) {
    return kHandlers[listingThread == ListingThread::UiThread ? 0 : 1];
}

void OnListEvents(QAbstractItemView& list, std::function<void()> doubleClick,
                  std::function<void()> rightRelease) {
    QWidget* viewport = list.viewport();
    viewport->installEventFilter(
        new ListEvents(viewport, std::move(doubleClick), std::move(rightRelease)));
}

}  // namespace lumetra
