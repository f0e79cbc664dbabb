#include <QApplication>
#include <QMessageBox>
#include <cstdlib>

#include "app/Legibility.h"
#include "app/Startup.h"
#include "host/qt/GbkText.h"

namespace {

// 主窗口无法创建
constexpr char kWindowNotBuilt[] = "\xD6\xF7\xB4\xB0\xBF\xDA\xCE\xDE\xB7\xA8\xB4\xB4\xBD\xA8";

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setFont(lumetra::LegibleFont());
    lumetra::QtHost host;

    lumetra::StartupRoutine();
    // Listing workers may still wait on the UI thread: end at once, without running static
    // destructors under them.
    const auto endWhenDestroyed = [](lumetra::MainWindow& window) {
        QObject::connect(&window, &QObject::destroyed, [] { std::quick_exit(0); });
    };
    if (!lumetra::StartMainWindow(host, lumetra::ZoneTable(), endWhenDestroyed)) {
        QMessageBox::critical(nullptr, QStringLiteral("Lumetra"),
                              lumetra::ToQString(kWindowNotBuilt));
        return -1;
    }
    QApplication::exec();
    std::quick_exit(0);
}
