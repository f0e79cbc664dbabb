#include <gtest/gtest.h>

#include <QClipboard>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <future>

#include "app/AppTestSupport.h"
#include "app/SampleSitesProcess.h"
#include "sample-sites/SampleContent.h"
#include "support/LoopbackServer.h"

// The real window, the Qt host and real HTTP(S) to the sample sites.
namespace lumetra::apptest {
namespace {

using lumetra::testing::LoopbackServer;
using lumetra::testing::RecordedRequest;
using lumetra::testing::Reply;
using samples::SampleZone;

struct ZoneView {
    SampleZone sample;
    int tab;
    const char* numbers;
    const char* messages;
    const char* next;
    const char* first;
};

const ZoneView kZones[] = {
    {SampleZone::Random, 0, "超级列表框1", "超级列表框2", "按钮1", "按钮2"},
    {SampleZone::China, 1, "超级列表框3", "超级列表框4", "按钮3", "按钮4"},
    {SampleZone::Us, 2, "超级列表框5", "超级列表框6", "按钮5", "按钮6"},
};

QStringList Texts(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts) {
        list << QString::fromStdString(text);
    }
    return list;
}

QStringList Numbers(SampleZone zone, int page, bool codes) {
    std::vector<std::string> texts;
    for (const auto& number : samples::ListingNumbers(zone, page)) {
        texts.push_back(codes ? number.code : number.number);
    }
    return Texts(texts);
}

// The five rows a message view shows: the first five messages, empty rows after the last.
std::vector<QStringList> MessageRows(SampleZone zone, const std::string& number) {
    const auto messages = samples::Messages(zone, number);
    std::vector<QStringList> rows;
    for (std::size_t i = 0; i < 5; ++i) {
        rows.push_back(i < messages.size()
                           ? Texts({messages[i].time, messages[i].sender, messages[i].code})
                           : QStringList{"", "", ""});
    }
    return rows;
}

std::vector<QStringList> Rows(QTableWidget& list) {
    std::vector<QStringList> rows;
    for (int row = 0; row < list.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < list.columnCount(); ++column) {
            cells << (list.item(row, column) ? list.item(row, column)->text() : QString());
        }
        rows.push_back(cells);
    }
    return rows;
}

class EndToEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(sites_.Ready());
        zones_ = std::make_unique<TestZones>(sites_.SiteA(), sites_.SiteB(), ChinaSite());
        open_ = std::make_unique<OpenWindow>(zones_->zones);
        Window().RunCreatedEvent();
        Window().ShowCentred();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    }

    MainWindow& Window() { return *open_->window; }

    // Clicks a paging button and waits until the zone's list holds `page`.
    void Page(const ZoneView& zone, const char* button, int page) {
        QTableWidget& list = *List(Window(), zone.numbers);
        QTest::mouseClick(Find<QPushButton>(Window(), button), Qt::LeftButton);
        const QStringList expected = Numbers(zone.sample, page, false);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Column(list, 1) == expected; }, kWaitMs))
            << button << " page " << page;
        EXPECT_EQ(Column(list, 0), Numbers(zone.sample, page, true));
    }

    // Selects a row by clicking on it, as a user does.
    void Select(QTableWidget& list, int row) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowCentre(list, row));
        ASSERT_EQ(list.selectionModel()->selectedRows().value(0).row(), row);
    }

    // Site B for the China zone.
    virtual std::string ChinaSite() { return sites_.SiteB(); }

    SampleSitesProcess sites_;
    std::unique_ptr<TestZones> zones_;
    std::unique_ptr<OpenWindow> open_;
};

TEST_F(EndToEndTest, EachZoneListsPagesShowsMessagesAndCopies) {
    for (const ZoneView& zone : kZones) {
        SCOPED_TRACE(zone.numbers);
        Window().findChild<QTabWidget*>()->setCurrentIndex(zone.tab);
        QTableWidget& numbers = *List(Window(), zone.numbers);
        QTableWidget& messages = *List(Window(), zone.messages);
        const int first = samples::FirstListingPage(zone.sample);

        if (zone.sample == SampleZone::Random) {
            EXPECT_EQ(Column(numbers, 1), Numbers(zone.sample, 0, false));  // listed at start
        } else {
            EXPECT_EQ(numbers.rowCount(), 0);
            Page(zone, zone.next, 1);
        }
        Page(zone, zone.next, first + 1);
        Page(zone, zone.next, first + 2);
        Page(zone, zone.first, first);

        // Numbers with eight, two and no messages: always five rows.
        for (int row : {2, 0, 3}) {
            SCOPED_TRACE(row);
            Select(numbers, row);
            const std::string number = numbers.item(row, 1)->text().toStdString();
            QTest::mouseDClick(numbers.viewport(), Qt::LeftButton, {}, RowCentre(numbers, row));
            EXPECT_EQ(Rows(messages), MessageRows(zone.sample, number));
        }

        // Copy a number, then a code; each shows its notice, which closes by itself.
        open_->recording.notices.clear();
        Select(numbers, 1);
        QTest::mouseClick(numbers.viewport(), Qt::RightButton, {}, RowCentre(numbers, 1));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), numbers.item(1, 1)->text());
        EXPECT_EQ(numbers.item(1, 1)->text(),
                  QString::fromStdString(samples::ListingNumbers(zone.sample, first)[1].number));

        QTest::mouseDClick(numbers.viewport(), Qt::LeftButton, {}, RowCentre(numbers, 1));
        const auto sent = samples::Messages(zone.sample, numbers.item(1, 1)->text().toStdString());
        ASSERT_GE(sent.size(), 2u);
        QTest::mouseClick(messages.viewport(), Qt::RightButton, {}, RowCentre(messages, 1));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromStdString(sent[1].code));
        EXPECT_EQ(open_->recording.notices.size(), 2u);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    // The picture for the README: a filled number list and message view.
    if (const QByteArray path = qgetenv("LUMETRA_WRITE_SCREENSHOT"); !path.isEmpty()) {
        Window().findChild<QTabWidget*>()->setCurrentIndex(0);
        QTableWidget& numbers = *List(Window(), "超级列表框1");
        Select(numbers, 2);
        QTest::mouseDClick(numbers.viewport(), Qt::LeftButton, {}, RowCentre(numbers, 2));
        // The selection shows only while the list has the focus.
        Window().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Window()));
        numbers.setFocus();
        EXPECT_TRUE(QTest::qWaitFor([&] { return numbers.hasFocus(); }, kWaitMs));
        EXPECT_TRUE(Window().grab().save(QString::fromLocal8Bit(path)));
    }
}

// Site B holds its listing pages back until the test lets them go.
class HeldListingTest : public EndToEndTest {
  protected:
    void SetUp() override {
        const std::shared_future<void> gate = release_.get_future().share();
        heldSiteB_.SetHandler([gate](const RecordedRequest& request) {
            if (samples::IsSiteBListing(request.target)) {
                gate.wait();
            }
            return Reply::Html(samples::SiteBPage(request.target).value_or(""));
        });
        EndToEndTest::SetUp();
    }
    std::string ChinaSite() override { return heldSiteB_.BaseUrl(); }
    void TearDown() override { Release(); }
    void Release() {
        if (!released_) {
            released_ = true;
            release_.set_value();
        }
    }

    std::promise<void> release_;
    bool released_ = false;
    LoopbackServer heldSiteB_{LoopbackServer::Scheme::Https};
};

TEST_F(HeldListingTest, WindowAnswersWhileAChinaListingIsHeldAndItsRowsComeLater) {
    QTabWidget& tabs = *Window().findChild<QTabWidget*>();
    QTableWidget& china = *List(Window(), "超级列表框3");
    tabs.setCurrentIndex(1);
    QTest::mouseClick(Find<QPushButton>(Window(), "按钮3"), Qt::LeftButton);
    ASSERT_TRUE(heldSiteB_.WaitForRequests(1, std::chrono::milliseconds(kWaitMs)));
    EXPECT_EQ(heldSiteB_.Requests()[0].target, "/China-Phone-Number/list_1.html");

    // The UI thread goes on: a timer fires, the busy pointer is over the China list, a tab
    // switch takes effect, and the random zone's message view runs to its end.
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return fired; }, kWaitMs));
    EXPECT_EQ(china.viewport()->cursor().shape(), Qt::BusyCursor);
    tabs.setCurrentIndex(0);
    EXPECT_FALSE(china.isVisible());
    QTableWidget& random = *List(Window(), "超级列表框1");
    Select(random, 1);
    QTest::mouseDClick(random.viewport(), Qt::LeftButton, {}, RowCentre(random, 1));
    EXPECT_EQ(Rows(*List(Window(), "超级列表框2")),
              MessageRows(SampleZone::Random, random.item(1, 1)->text().toStdString()));
    EXPECT_EQ(china.rowCount(), 0);

    // The page arrives while the China tab is hidden; its rows are there when it is shown.
    Release();
    const QStringList expected = Numbers(SampleZone::China, 1, false);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return Column(china, 1) == expected && open_->host.BusyCount(Control::超级列表框3) == 0;
        },
        kWaitMs));
    EXPECT_FALSE(china.viewport()->testAttribute(Qt::WA_SetCursor));
    tabs.setCurrentIndex(1);
    EXPECT_TRUE(china.isVisible());
    EXPECT_EQ(Column(china, 1), expected);
}

}  // namespace
}  // namespace lumetra::apptest
