#pragma once

#include <QMargins>
#include <QWidget>
#include <array>
#include <vector>

#include "app/WindowLayout.h"
#include "host/HostServices.h"
#include "host/qt/QtHost.h"
#include "zones/ZoneTable.h"

class QTabWidget;

namespace lumetra {

class LegibleStyle;

using ZoneArray = std::array<Zone, 3>;

// The single window, built from kMainWindowLayout, its events bound to the zone actions of
// `zones` (tests hand it zones pointed at their own servers). `zones` and `host` must
// outlive the window and every listing worker it starts. Closing it destroys it.
class MainWindow final : public QWidget {
  public:
    // Throws std::runtime_error when the layout cannot be built.
    explicit MainWindow(HostServices& host, const ZoneArray& zones = ZoneTable());
    ~MainWindow() override;

    QWidget* ControlWidget(Control control) const;
    // Makes every control of the layout reachable through the Qt host.
    void AttachTo(QtHost& host) const;

    // The created event: the listing of each zone listed at start, to its end.
    void RunCreatedEvent();
    // Shows the window centred on the primary screen with the layout's outer size.
    void ShowCentred();

  protected:
    bool event(QEvent* event) override;

  private:
    QWidget* Build(const ControlLayout& row, QWidget* parent);
    void ShowTabPage(int tab);
    void BindZone(const Zone& zone);
    void FitToFrame();

    HostServices& host_;
    const ZoneArray& zones_;
    LegibleStyle* style_;
    std::array<QWidget*, kControlCount> controls_{};
    QMargins frame_{-1, -1, -1, -1};
};

}  // namespace lumetra
