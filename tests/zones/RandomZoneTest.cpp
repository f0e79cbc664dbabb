#include <gtest/gtest.h>

#include "zones/RecordingHost.h"
#include "zones/TestSite.h"
#include "zones/ZoneActions.h"
#include "zones/ZoneTable.h"
#include "zones/ZoneTestPages.h"

namespace lumetra {
namespace {

using samples::SampleZone;
using testing::LoopbackServer;
using testing::MessageRows;
using testing::NumberRows;
using testing::RecordingHost;
using testing::SomeMessages;
using testing::TestSite;
using Op = RecordingHost::Op;

constexpr Control kNumbers = Control::超级列表框1;
constexpr Control kMessages = Control::超级列表框2;

std::string ListingTarget(int page) {
    return "/?page=" + std::to_string(page);
}

class RandomZoneTest : public ::testing::Test {
  protected:
    // Serves sample listing pages 0 to 3 (3 lists nothing).
    void ServeListings() {
        for (int page = 0; page <= 3; ++page) {
            site.SetPage(ListingTarget(page), ListingPage(page));
        }
    }
    static std::string ListingPage(int page) {
        return samples::ListingPageHtml(SampleZone::Random, page,
                                        samples::ListingNumbers(SampleZone::Random, page));
    }
    static RecordingHost::Table PageRows(int page) {
        return NumberRows(samples::ListingNumbers(SampleZone::Random, page));
    }
    void ServeMessages(const std::string& number, const std::vector<samples::Message>& messages) {
        site.SetPage("/messages?phone=" + number,
                     samples::MessagePageHtml(SampleZone::Random, number, messages));
    }
    void ExpectNoBusyLeft() const {
        EXPECT_EQ(host.BusyLevel(Control::MainWindow), 0);
        EXPECT_FALSE(host.CallsOf(Op::SetBusy).empty());
    }

    RecordingHost host;  // first: outlives the site
    TestSite site{LoopbackServer::Scheme::Http};
    std::atomic<std::int32_t> counter{0};
    Zone zone = ZoneWithSite(ZoneTable()[0], site.BaseUrl(), &counter);
};

TEST_F(RandomZoneTest, PagesForwardAndBackToPageZero) {
    ServeListings();
    ListRandomNumbers(zone, host);  // the created event
    EXPECT_EQ(host.Rows(kNumbers), PageRows(0));

    for (int page = 1; page <= 3; ++page) {
        RandomNextPageClicked(zone, host);
        EXPECT_EQ(counter.load(), page);
        EXPECT_EQ(host.Rows(kNumbers), PageRows(page)) << page;
    }
    EXPECT_TRUE(host.Rows(kNumbers).empty());  // past the last page

    RandomFirstPageClicked(zone, host);
    EXPECT_EQ(counter.load(), 0);
    EXPECT_EQ(host.Rows(kNumbers), PageRows(0));
    RandomNextPageClicked(zone, host);
    EXPECT_EQ(counter.load(), 1);
    EXPECT_EQ(host.Rows(kNumbers), PageRows(1));

    EXPECT_EQ(site.Targets(), (std::vector<std::string>{"/?page=0", "/?page=1", "/?page=2",
                                                        "/?page=3", "/?page=0", "/?page=1"}));
    ExpectNoBusyLeft();
}

TEST_F(RandomZoneTest, AClickClearsBeforeItFetchesAndDoesNotRepaint) {
    ServeListings();
    host.SetRows(kNumbers, {{"+1", "stale"}});
    RandomNextPageClicked(zone, host);
    const auto calls = host.Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].op, Op::ListClear);
    EXPECT_EQ(calls[0].control, kNumbers);
    EXPECT_TRUE(host.CallsOf(Op::RefreshControl).empty());
    const auto fetches = host.CallsOf(Op::FetchUrlBytes);
    ASSERT_EQ(fetches.size(), 1u);
    EXPECT_EQ(fetches[0].text, site.BaseUrl() + "/?page=1");
}

TEST_F(RandomZoneTest, APageWithoutMatchesLeavesTheListEmptyAndTheCounterMoves) {
    site.SetPage(ListingTarget(1), samples::ListingPageHtml(SampleZone::Random, 1, {}));
    site.SetPage(ListingTarget(2), ListingPage(0));
    RandomNextPageClicked(zone, host);
    EXPECT_TRUE(host.Rows(kNumbers).empty());
    EXPECT_EQ(counter.load(), 1);
    RandomNextPageClicked(zone, host);
    EXPECT_EQ(counter.load(), 2);
    EXPECT_EQ(host.Rows(kNumbers), PageRows(0));
    EXPECT_EQ(site.Targets().back(), "/?page=2");
}

TEST_F(RandomZoneTest, AMessageViewAddsExactlyFiveRows) {
    ServeListings();
    ListRandomNumbers(zone, host);
    const auto numbers = samples::ListingNumbers(SampleZone::Random, 0);
    for (const int count : {0, 2, 5, 8}) {
        SCOPED_TRACE(count);
        const std::vector<samples::Message> messages = SomeMessages(count);
        ServeMessages(numbers[3].number, messages);
        host.Select(kNumbers, 3);
        ShowRandomMessages(zone, host);
        EXPECT_EQ(host.Rows(kMessages), MessageRows(messages));
        EXPECT_EQ(site.Targets().back(), "/messages?phone=" + numbers[3].number);
    }
    ExpectNoBusyLeft();
}

TEST_F(RandomZoneTest, AMessageViewEmptiesAndRepaintsItsListBeforeTheFetch) {
    host.SetRows(kMessages, {{"old", "old", "old"}});
    ShowRandomMessages(zone, host);
    const auto calls = host.Calls();
    std::vector<Op> ops;
    for (const auto& call : calls) {
        if (call.op != Op::SetBusy) ops.push_back(call.op);
    }
    ASSERT_GE(ops.size(), 5u);
    EXPECT_EQ((std::vector<Op>(ops.begin(), ops.begin() + 5)),
              (std::vector<Op>{Op::ListClear, Op::RefreshControl, Op::ListSelection,
                               Op::ListGetCell, Op::FetchUrlBytes}));
    EXPECT_EQ(calls.front().op, Op::SetBusy);  // the wait pointer comes before the fetch
    EXPECT_EQ(host.CallsOf(Op::ListClear)[0].control, kMessages);
    EXPECT_EQ(host.CallsOf(Op::RefreshControl)[0].control, kMessages);
}

TEST_F(RandomZoneTest, WithoutSelectionTheNumberIsEmptyAndFiveRowsStillCome) {
    ServeListings();
    ListRandomNumbers(zone, host);
    const std::vector<samples::Message> messages = SomeMessages(3);
    ServeMessages("", messages);
    host.Select(kNumbers, -1);
    ShowRandomMessages(zone, host);
    EXPECT_EQ(site.Targets().back(), "/messages?phone=");
    EXPECT_EQ(host.Rows(kMessages), MessageRows(messages));
}

TEST_F(RandomZoneTest, RowsPairTheIthMatchesOfBothPatterns) {
    // Four messages with a time line, then two senders without one: M1 matches 4 times,
    // M2 6 times.
    const std::vector<samples::Message> messages = SomeMessages(6);
    std::string page = samples::MessagePageHtml(
        SampleZone::Random, "1",
        std::vector<samples::Message>(messages.begin(), messages.begin() + 4));
    const auto end = page.rfind("</div>\n</div>");
    std::string extra;
    for (int i = 4; i < 6; ++i) {
        extra += "<p class=\"sms-text\">" + messages[i].sender + "您的验证码是<b>" +
                 messages[i].code + "</b>。</p>\n";
    }
    page.insert(end, extra);
    site.SetPage("/messages?phone=1", page);
    host.SetRows(kNumbers, {{"+1", "1"}});
    host.Select(kNumbers, 0);
    ShowRandomMessages(zone, host);

    RecordingHost::Table expected = MessageRows(messages);
    expected[4][0] = "";  // no fifth time
    EXPECT_EQ(host.Rows(kMessages), expected);
}

TEST_F(RandomZoneTest, PagingAndMessageViewsLeaveEachOthersListAlone) {
    ServeListings();
    ListRandomNumbers(zone, host);
    const auto numbers = samples::ListingNumbers(SampleZone::Random, 0);
    ServeMessages(numbers[0].number, SomeMessages(2));
    host.Select(kNumbers, 0);
    ShowRandomMessages(zone, host);
    const RecordingHost::Table messages = host.Rows(kMessages);

    EXPECT_EQ(host.Rows(kNumbers), PageRows(0));
    EXPECT_EQ(counter.load(), 0);
    RandomNextPageClicked(zone, host);
    RandomFirstPageClicked(zone, host);
    EXPECT_EQ(host.Rows(kMessages), messages);
}

TEST_F(RandomZoneTest, AnUnreachableSiteGivesAnEmptyListAndFiveEmptyRows) {
    const Zone down = ZoneWithSite(
        ZoneTable()[0], testing::UnreachableSite(LoopbackServer::Scheme::Http), &counter);
    host.SetRows(kNumbers, {{"+1", "12345678"}});
    RandomNextPageClicked(down, host);
    EXPECT_TRUE(host.Rows(kNumbers).empty());
    EXPECT_EQ(counter.load(), 1);

    host.SetRows(kNumbers, {{"+1", "12345678"}});
    host.Select(kNumbers, 0);
    ShowRandomMessages(down, host);
    EXPECT_EQ(host.Rows(kMessages), MessageRows({}));
    ExpectNoBusyLeft();
}

}  // namespace
}  // namespace lumetra
