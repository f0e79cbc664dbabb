#include "app/Startup.h"

#include <QPointer>

namespace lumetra {

int StartupRoutine() {
    return 0;
}

bool StartMainWindow(QtHost& host, const ZoneArray& zones,
                     const std::function<void(MainWindow&)>& built) {
    QPointer<MainWindow> window;
    try {
        window = new MainWindow(host, zones);
    } catch (...) {
        return false;
    }
    window->AttachTo(host);
    if (built) {
        built(*window);
    }
    window->RunCreatedEvent();
    if (window) {
        window->ShowCentred();
    }
    return true;
}

}  // namespace lumetra
