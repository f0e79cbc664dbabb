#include <gtest/gtest.h>

#include <QTabWidget>

#include "app/AppTestSupport.h"
#include "app/Startup.h"
#include "sample-sites/SampleContent.h"
#include "support/LoopbackServer.h"

namespace lumetra::apptest {
namespace {

using lumetra::testing::LoopbackServer;
using lumetra::testing::RecordedRequest;
using lumetra::testing::Reply;
using samples::SampleZone;

// Notes how many rows 超级列表框1 held when the window was first shown.
class ShowWatcher : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == "MainWindow" &&
            rowsAtShow < 0) {
            rowsAtShow = List(*static_cast<QWidget*>(watched), "超级列表框1")->rowCount();
        }
        return false;
    }
    int rowsAtShow = -1;
};

struct Started {
    QtHost host;
    QPointer<MainWindow> window;
    ~Started() {
        if (window) {
            window->close();
            EXPECT_TRUE(QTest::qWaitFor([this] { return window.isNull(); }, kWaitMs));
            delete window.data();
        }
    }
};

class StartupTest : public ::testing::Test {
  protected:
    // Runs start-up against the given site A; site B records that nobody asked it anything.
    void Start(const std::string& siteA) {
        zones_ = std::make_unique<TestZones>(siteA, siteB_.BaseUrl());
        qApp->installEventFilter(&watcher_);
        ASSERT_TRUE(StartMainWindow(started_.host, zones_->zones,
                                    [this](MainWindow& window) { started_.window = &window; }));
        qApp->removeEventFilter(&watcher_);
        ASSERT_NE(started_.window, nullptr);
    }

    void ExpectShownOnTheFirstTabWithRegionalListsEmpty() {
        MainWindow& window = *started_.window;
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.findChild<QTabWidget*>()->currentIndex(), 0);
        EXPECT_EQ(List(window, "超级列表框3")->rowCount(), 0);
        EXPECT_EQ(List(window, "超级列表框5")->rowCount(), 0);
        EXPECT_TRUE(siteB_.Requests().empty());
    }

    LoopbackServer siteB_{LoopbackServer::Scheme::Https};
    std::unique_ptr<TestZones> zones_;
    ShowWatcher watcher_;
    Started started_;
};

TEST_F(StartupTest, WindowShowsOnlyOncePageZeroIsListed) {
    LoopbackServer siteA;
    siteA.SetHandler([](const RecordedRequest& request) {
        return Reply::Html(samples::SiteAPage(request.target).value_or(""));
    });
    Start(siteA.BaseUrl());

    const auto expected = samples::ListingNumbers(SampleZone::Random, 0);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(watcher_.rowsAtShow, static_cast<int>(expected.size()));
    ASSERT_EQ(siteA.Requests().size(), 1u);
    EXPECT_EQ(siteA.Requests()[0].target, "/?page=0");

    QTableWidget& numbers = *List(*started_.window, "超级列表框1");
    QStringList codes, digits;
    for (const auto& number : expected) {
        codes << QString::fromStdString(number.code);
        digits << QString::fromStdString(number.number);
    }
    EXPECT_EQ(Column(numbers, 0), codes);
    EXPECT_EQ(Column(numbers, 1), digits);
    EXPECT_EQ(zones_->counters[0], 0);
    ExpectShownOnTheFirstTabWithRegionalListsEmpty();
}

TEST_F(StartupTest, WindowShowsEmptyWhenSiteAIsDown) {
    std::string downBase;
    {
        LoopbackServer gone;
        downBase = gone.BaseUrl();
    }  // its port is closed now
    Start(downBase);

    EXPECT_EQ(watcher_.rowsAtShow, 0);
    EXPECT_EQ(List(*started_.window, "超级列表框1")->rowCount(), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);  // the wait pointer is gone again
    ExpectShownOnTheFirstTabWithRegionalListsEmpty();
}

}  // namespace
}  // namespace lumetra::apptest
