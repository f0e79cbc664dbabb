#include <gtest/gtest.h>

#include "text/Utf8ToGbk.h"
#include "zones/RecordingHost.h"
#include "zones/TestSite.h"
#include "zones/ZoneActions.h"
#include "zones/ZoneSteps.h"
#include "zones/ZoneTable.h"
#include "zones/ZoneTestPages.h"

namespace lumetra {
namespace {

using samples::SampleZone;
using testing::Gbk;
using testing::LoopbackServer;
using testing::MessageRows;
using testing::NumberRows;
using testing::RecordingHost;
using testing::SomeMessages;
using testing::TestSite;
using Op = RecordingHost::Op;

struct RegionalCase {
    const char* name;
    std::size_t tableIndex;
    SampleZone sampleZone;
    const char* listingPath;
    const char* messagePath;
};

void PrintTo(const RegionalCase& c, std::ostream* out) {
    *out << c.name;
}

const RegionalCase kChina{"China", 1, SampleZone::China, "/China-Phone-Number/list_", "/sms/86"};
const RegionalCase kUs{"Us", 2, SampleZone::Us, "/US-Phone-Number/list_", "/sms/1"};

class RegionalZonesTest : public ::testing::TestWithParam<RegionalCase> {
  protected:
    std::string ListingTarget(int page) const {
        return GetParam().listingPath + std::to_string(page) + ".html";
    }
    std::string ListingPage(int page, const std::vector<samples::ListedNumber>& numbers) const {
        return samples::ListingPageHtml(GetParam().sampleZone, page, numbers);
    }
    std::vector<samples::ListedNumber> Numbers(int page) const {
        return samples::ListingNumbers(GetParam().sampleZone, page);
    }
    // Serves sample pages 1 to 3 and an empty page 4.
    void ServeListings() {
        for (int page = 1; page <= 4; ++page) {
            site.SetPage(ListingTarget(page), ListingPage(page, Numbers(page)));
        }
    }
    void ServeMessages(const std::string& number, const std::vector<samples::Message>& messages) {
        site.SetPage(GetParam().messagePath + number,
                     samples::MessagePageHtml(GetParam().sampleZone, number, messages));
    }
    // One click, then its listing to the end.
    void ClickAndWait(void (*click)(const Zone&, HostServices&)) {
        click(zone, host);
        ASSERT_TRUE(host.WaitForThreads());
    }

    RecordingHost host;  // first: outlives the site, joins the workers last
    TestSite site{LoopbackServer::Scheme::Https};
    std::atomic<std::int32_t> counter{0};
    Zone zone = ZoneWithSite(ZoneTable()[GetParam().tableIndex], site.BaseUrl(), &counter);
};

TEST_P(RegionalZonesTest, EitherButtonFirstFetchesPageOne) {
    ServeListings();
    for (auto click : {&RegionalNextPageClicked, &RegionalFirstPageClicked}) {
        counter = 0;
        ClickAndWait(click);
        EXPECT_EQ(counter.load(), 1);
        EXPECT_EQ(site.Targets().back(), ListingTarget(1));
        EXPECT_EQ(host.Rows(zone.numberList), NumberRows(Numbers(1)));
    }
    EXPECT_EQ(site.Targets().size(), 2u);
}

TEST_P(RegionalZonesTest, PagesForwardAndBackToPageOne) {
    ServeListings();
    struct Step {
        void (*click)(const Zone&, HostServices&);
        int page;
    };
    const std::vector<Step> steps = {{&RegionalNextPageClicked, 1},  {&RegionalNextPageClicked, 2},
                                     {&RegionalFirstPageClicked, 1}, {&RegionalNextPageClicked, 2},
                                     {&RegionalNextPageClicked, 3},  {&RegionalNextPageClicked, 4},
                                     {&RegionalNextPageClicked, 5}};
    for (const Step& step : steps) {
        ClickAndWait(step.click);
        EXPECT_EQ(counter.load(), step.page);
        EXPECT_EQ(site.Targets().back(), ListingTarget(step.page));
        EXPECT_EQ(host.Rows(zone.numberList), NumberRows(Numbers(step.page))) << step.page;
    }
    EXPECT_EQ(host.BusyLevel(zone.numberList), 0);
}

TEST_P(RegionalZonesTest, TheClickReturnsAtOnceAndRowsComeWhenThePageArrives) {
    ServeListings();
    const auto gate = site.Hold(ListingTarget(1));
    host.SetRows(zone.numberList, {{"+1", "0000000000"}});
    RegionalNextPageClicked(zone, host);  // returns while the page is held

    ASSERT_TRUE(site.WaitForRequests(1));
    EXPECT_TRUE(host.Rows(zone.numberList).empty());
    EXPECT_EQ(host.BusyLevel(zone.numberList), 1);
    EXPECT_EQ(host.BusyLevel(Control::MainWindow), 0);  // the window stays usable

    gate->Open();
    ASSERT_TRUE(host.WaitForThreads());
    EXPECT_EQ(host.Rows(zone.numberList), NumberRows(Numbers(1)));
    EXPECT_EQ(host.BusyLevel(zone.numberList), 0);
    EXPECT_TRUE(host.CallsOf(Op::RefreshControl).empty());
}

TEST_P(RegionalZonesTest, TheNewerOfTwoOverlappingClicksWins) {
    // Page 1 lists more numbers than page 2, so stray rows of the earlier listing would show.
    const auto page1 = Numbers(1);
    std::vector<samples::ListedNumber> page2 = Numbers(2);
    page2.resize(3);
    enum class Order { FirstAnswersAfterSecondFinished, FirstAnswersBeforeSecond };
    for (const Order order :
         {Order::FirstAnswersAfterSecondFinished, Order::FirstAnswersBeforeSecond}) {
        SCOPED_TRACE(static_cast<int>(order));
        RecordingHost overlapHost;
        TestSite overlapSite(LoopbackServer::Scheme::Https);
        std::atomic<std::int32_t> overlapCounter{0};
        const Zone z = ZoneWithSite(zone, overlapSite.BaseUrl(), &overlapCounter);
        overlapSite.SetPage(ListingTarget(1), ListingPage(1, page1));
        overlapSite.SetPage(ListingTarget(2), ListingPage(2, page2));
        const auto gate1 = overlapSite.Hold(ListingTarget(1));
        const auto gate2 =
            order == Order::FirstAnswersBeforeSecond ? overlapSite.Hold(ListingTarget(2)) : nullptr;

        RegionalNextPageClicked(z, overlapHost);
        ASSERT_TRUE(overlapSite.WaitForRequests(1));  // the first worker has read page 1
        RegionalNextPageClicked(z, overlapHost);
        ASSERT_TRUE(overlapSite.WaitForRequests(2));

        if (order == Order::FirstAnswersAfterSecondFinished) {
            ASSERT_TRUE(overlapHost.WaitUntil([&] { return overlapHost.FinishedThreads() == 1; }));
            EXPECT_EQ(overlapHost.Rows(z.numberList), NumberRows(page2));
            gate1->Open();
        } else {
            gate1->Open();
            ASSERT_TRUE(overlapHost.WaitUntil([&] { return overlapHost.FinishedThreads() == 1; }));
            EXPECT_TRUE(overlapHost.Rows(z.numberList).empty());
            gate2->Open();
        }
        ASSERT_TRUE(overlapHost.WaitForThreads());
        EXPECT_EQ(overlapHost.Rows(z.numberList), NumberRows(page2));
        EXPECT_EQ(overlapCounter.load(), 2);
        EXPECT_EQ(overlapHost.BusyLevel(z.numberList), 0);
        EXPECT_EQ(overlapSite.Targets(),
                  (std::vector<std::string>{ListingTarget(1), ListingTarget(2)}));
    }
}

TEST_P(RegionalZonesTest, AMessageViewAddsExactlyFiveRowsOfTimeSenderAndCode) {
    ServeListings();
    ClickAndWait(&RegionalNextPageClicked);
    const auto numbers = Numbers(1);
    for (const int count : {0, 2, 5, 8}) {
        SCOPED_TRACE(count);
        const std::vector<samples::Message> messages = SomeMessages(count);
        ServeMessages(numbers[2].number, messages);
        host.Select(zone.numberList, 2);
        ShowRegionalMessages(zone, host);
        EXPECT_EQ(site.Targets().back(), GetParam().messagePath + numbers[2].number);
        EXPECT_EQ(host.Rows(zone.messageList), MessageRows(messages));
        EXPECT_EQ(host.BusyLevel(Control::MainWindow), 0);
    }
    EXPECT_EQ(host.Rows(zone.numberList), NumberRows(numbers));
    EXPECT_EQ(counter.load(), 1);
}

TEST_P(RegionalZonesTest, AMessageViewEmptiesAndRepaintsItsListFirst) {
    host.SetRows(zone.messageList, {{"old", "old", "old"}});
    ShowRegionalMessages(zone, host);
    std::vector<RecordingHost::Call> calls;
    for (const auto& call : host.Calls()) {
        if (call.op != Op::SetBusy) calls.push_back(call);
    }
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].op, Op::ListClear);
    EXPECT_EQ(calls[0].control, zone.messageList);
    EXPECT_EQ(calls[1].op, Op::RefreshControl);
    EXPECT_EQ(calls[1].control, zone.messageList);
}

TEST_P(RegionalZonesTest, WithoutSelectionTheRequestEndsAtTheMessagePath) {
    const std::vector<samples::Message> messages = SomeMessages(1);
    ServeMessages("", messages);
    host.SetRows(zone.numberList, {{"+1", "2025550100"}});
    host.Select(zone.numberList, -1);
    ShowRegionalMessages(zone, host);
    EXPECT_EQ(site.Targets(), std::vector<std::string>{GetParam().messagePath});
    EXPECT_EQ(host.Rows(zone.messageList), MessageRows(messages));
}

TEST_P(RegionalZonesTest, AnUnreachableSiteGivesAnEmptyListAndFiveEmptyRows) {
    const Zone down =
        ZoneWithSite(zone, testing::UnreachableSite(LoopbackServer::Scheme::Https), &counter);
    host.SetRows(down.numberList, {{"+1", "2025550100"}});
    RegionalNextPageClicked(down, host);
    ASSERT_TRUE(host.WaitForThreads());
    EXPECT_TRUE(host.Rows(down.numberList).empty());
    EXPECT_EQ(counter.load(), 1);
    EXPECT_EQ(host.BusyLevel(down.numberList), 0);

    host.SetRows(down.numberList, {{"+1", "2025550100"}});
    host.Select(down.numberList, 0);
    ShowRegionalMessages(down, host);
    EXPECT_EQ(host.Rows(down.messageList), MessageRows({}));
    EXPECT_EQ(host.BusyLevel(Control::MainWindow), 0);
}

TEST_P(RegionalZonesTest, AThreadThatCannotStartLeavesTheListEmptyAndNothingBusy) {
    host.SetRows(zone.numberList, {{"+1", "2025550100"}});
    host.FailThreadStarts(true);
    RegionalNextPageClicked(zone, host);
    EXPECT_TRUE(host.Rows(zone.numberList).empty());
    EXPECT_EQ(counter.load(), 1);
    EXPECT_EQ(host.BusyLevel(zone.numberList), 0);
    EXPECT_EQ(host.CallsOf(Op::SetBusy).size(), 2u);
    EXPECT_TRUE(site.Targets().empty());
}

INSTANTIATE_TEST_SUITE_P(Zones, RegionalZonesTest, ::testing::Values(kChina, kUs),
                         [](const auto& param) { return std::string(param.param.name); });

// Listing text is used as the site sends it; message text goes through the UTF-8 conversion.
TEST(RegionalZones, ListingsUseRawPageTextAndMessageViewsConvertIt) {
    TestSite site(LoopbackServer::Scheme::Https);
    const std::string page = "<p>【测试银行0】 +86 13800138000</p>\n";
    site.SetPage("/page", page);
    RecordingHost host;
    const Text url = site.BaseUrl() + "/page";
    EXPECT_EQ(zonesteps::FetchZoneText(ZoneTable()[1].listingFetch, url, host), page);
    EXPECT_EQ(zonesteps::FetchZoneText(ZoneTable()[2].listingFetch, url, host), page);
    EXPECT_EQ(zonesteps::FetchZoneText(ZoneTable()[1].messageFetch, url, host), Gbk(page));
    EXPECT_EQ(zonesteps::FetchZoneText(ZoneTable()[2].messageFetch, url, host), Gbk(page));
    EXPECT_NE(Gbk(page), page);
}

TEST(RegionalZones, PagingOneZoneLeavesTheOtherZonesAlone) {
    TestSite site(LoopbackServer::Scheme::Https);
    std::array<std::atomic<std::int32_t>, 3> counters{};
    counters[0] = 4;
    counters[2] = 7;
    std::vector<Zone> zones;
    for (std::size_t i = 0; i < 3; ++i) {
        zones.push_back(ZoneWithSite(ZoneTable()[i], site.BaseUrl(), &counters[i]));
    }
    site.SetPage("/China-Phone-Number/list_1.html",
                 samples::ListingPageHtml(SampleZone::China, 1,
                                          samples::ListingNumbers(SampleZone::China, 1)));
    RecordingHost host;
    for (const Control list : {Control::超级列表框1, Control::超级列表框2, Control::超级列表框3,
                               Control::超级列表框4, Control::超级列表框5, Control::超级列表框6}) {
        host.SetRows(list, {{"keep", "keep", "keep"}});
    }
    RegionalNextPageClicked(zones[1], host);
    ASSERT_TRUE(host.WaitForThreads());

    EXPECT_EQ(host.Rows(Control::超级列表框3),
              NumberRows(samples::ListingNumbers(SampleZone::China, 1)));
    for (const Control list : {Control::超级列表框1, Control::超级列表框2, Control::超级列表框4,
                               Control::超级列表框5, Control::超级列表框6}) {
        EXPECT_EQ(host.Rows(list), (RecordingHost::Table{{"keep", "keep", "keep"}}));
    }
    EXPECT_EQ(counters[0].load(), 4);
    EXPECT_EQ(counters[1].load(), 1);
    EXPECT_EQ(counters[2].load(), 7);
}

}  // namespace
}  // namespace lumetra
