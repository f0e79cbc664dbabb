#include <gtest/gtest.h>

#include <string>

#include "text/TextOps.h"
#include "zones/ZoneActions.h"
#include "zones/ZoneTable.h"
#include "zones/ZoneTestPages.h"

namespace lumetra {
namespace {

using testing::Gbk;

// The zone table as the window's tabs describe it, written independently of the code.
struct ExpectedZone {
    const char* tabText;  // UTF-8
    Control numberList, messageList, nextPageButton, firstPageButton;
    std::atomic<std::int32_t>* pageCounter;
    std::int32_t firstPage;
    bool listedAtStart;
    ListingThread listingThread;
    const char* scheme;
    const char* listingPath;
    const char* listingSuffix;
    FetchKind listingFetch;
    const char* listingPattern;  // UTF-8
    const char* messagePath;
    FetchKind messageFetch;
    std::vector<const char*> messagePatterns;  // UTF-8
    bool quoteSubstitution;
    std::array<std::pair<int, int>, 3> messageColumns;
    CopyBinding numberCopy, messageCopy;
};

constexpr char kL1[] = R"((\+[\d]{1,3}).*>([\d]{8,11}))";
constexpr char kL2[] = R"(>(\+86).*([\d]{11})<)";
constexpr char kL3[] = R"(<span>(\+\d).*([\d]{10})</span>)";
constexpr char kM1[] =
    "\t\t\t\t    (.*?)\t\t\t\t    <span style=\"float: right;\">[\\d]{2}.*</span>";
constexpr char kM2[] = "(【.*】).*<b>(.*?)</b>";
constexpr char kM3[] =
    R"(<div class=#引号col-md-6 msg#引号>(.*)<.*?><b>(.*)</b></span>.*?</div>\s+<div class=#引号col-md-3 time#引号>(.*)</div>)";
constexpr char kM4[] =
    R"(\s+<div class=#引号col-md-3 sender#引号>(.*)</div>\s+<div class=#引号col-md-6 msg#引号>.*<b>(.*)</b>.*</div>\s+<div class=#引号col-md-3 time#引号>(.*)</div>)";

const std::vector<ExpectedZone>& Expected() {
    using enum Control;
    static const std::vector<ExpectedZone> zones = {
        {"随机区",
         超级列表框1,
         超级列表框2,
         按钮1,
         按钮2,
         &RandomZonePage,
         0,
         true,
         ListingThread::UiThread,
         "http://",
         "/?page=",
         "",
         FetchKind::UrlBytesUtf8,
         kL1,
         "/messages?phone=",
         FetchKind::UrlBytesUtf8,
         {kM1, kM2},
         false,
         {{{1, 1}, {2, 1}, {2, 2}}},
         {1, 400},
         {2, 400}},
        {"国区",
         超级列表框3,
         超级列表框4,
         按钮3,
         按钮4,
         &ChinaZonePage,
         1,
         false,
         ListingThread::WorkerThread,
         "https://",
         "/China-Phone-Number/list_",
         ".html",
         FetchKind::PageTextRaw,
         kL2,
         "/sms/86",
         FetchKind::PageTextUtf8,
         {kM3},
         true,
         {{{1, 3}, {1, 1}, {1, 2}}},
         {1, 400},
         {2, 500}},
        {"美区",
         超级列表框5,
         超级列表框6,
         按钮5,
         按钮6,
         &UsZonePage,
         1,
         false,
         ListingThread::WorkerThread,
         "https://",
         "/US-Phone-Number/list_",
         ".html",
         FetchKind::PageTextRaw,
         kL3,
         "/sms/1",
         FetchKind::PageTextUtf8,
         {kM4},
         true,
         {{{1, 3}, {1, 1}, {1, 2}}},
         {1, 500},
         {2, 500}},
    };
    return zones;
}

TEST(ZoneTable, EveryFieldOfTheThreeZonesInTabOrder) {
    ASSERT_EQ(ZoneTable().size(), Expected().size());
    for (std::size_t i = 0; i < Expected().size(); ++i) {
        SCOPED_TRACE(Expected()[i].tabText);
        const ExpectedZone& expected = Expected()[i];
        const Zone& zone = ZoneTable()[i];
        EXPECT_EQ(zone.tabText, Gbk(expected.tabText));
        EXPECT_EQ(zone.numberList, expected.numberList);
        EXPECT_EQ(zone.messageList, expected.messageList);
        EXPECT_EQ(zone.nextPageButton, expected.nextPageButton);
        EXPECT_EQ(zone.firstPageButton, expected.firstPageButton);
        EXPECT_EQ(zone.pageCounter, expected.pageCounter);
        EXPECT_EQ(zone.firstPage, expected.firstPage);
        EXPECT_EQ(zone.listedAtStart, expected.listedAtStart);
        EXPECT_EQ(zone.listingThread, expected.listingThread);
        EXPECT_TRUE(StartsWith(zone.siteBase, expected.scheme)) << zone.siteBase;
        EXPECT_FALSE(EndsWith(zone.siteBase, "/")) << zone.siteBase;
        EXPECT_EQ(zone.listingPath, expected.listingPath);
        EXPECT_EQ(zone.listingSuffix, expected.listingSuffix);
        EXPECT_EQ(zone.listingFetch, expected.listingFetch);
        EXPECT_EQ(zone.listingPattern, Gbk(expected.listingPattern));
        EXPECT_EQ(zone.listingColumns, (std::array<int, 2>{1, 2}));
        EXPECT_EQ(zone.messagePath, expected.messagePath);
        EXPECT_EQ(zone.messageFetch, expected.messageFetch);
        ASSERT_EQ(zone.messagePatterns.size(), expected.messagePatterns.size());
        for (std::size_t p = 0; p < expected.messagePatterns.size(); ++p) {
            EXPECT_EQ(zone.messagePatterns[p], Gbk(expected.messagePatterns[p])) << p;
        }
        EXPECT_EQ(zone.quoteSubstitution, expected.quoteSubstitution);
        for (std::size_t c = 0; c < 3; ++c) {
            EXPECT_EQ(zone.messageColumns[c].pattern, expected.messageColumns[c].first) << c;
            EXPECT_EQ(zone.messageColumns[c].submatch, expected.messageColumns[c].second) << c;
        }
        EXPECT_EQ(zone.messageRows, 5);
        EXPECT_EQ(zone.numberCopy.column, expected.numberCopy.column);
        EXPECT_EQ(zone.numberCopy.timeoutMs, expected.numberCopy.timeoutMs);
        EXPECT_EQ(zone.messageCopy.column, expected.messageCopy.column);
        EXPECT_EQ(zone.messageCopy.timeoutMs, expected.messageCopy.timeoutMs);
        EXPECT_NE(zone.runtime, nullptr);
    }
}

TEST(ZoneTable, BothRegionalZonesShareSiteBAndCountersStartAtZero) {
    EXPECT_EQ(ZoneTable()[1].siteBase, ZoneTable()[2].siteBase);
    EXPECT_NE(ZoneTable()[0].siteBase, ZoneTable()[1].siteBase);
    EXPECT_EQ(RandomZonePage.load(), 0);
    EXPECT_EQ(ChinaZonePage.load(), 0);
    EXPECT_EQ(UsZonePage.load(), 0);
}

TEST(ZoneTable, ZoneWithSiteChangesOnlyTheSiteCounterAndRuntime) {
    std::atomic<std::int32_t> counter{7};
    const Zone& original = ZoneTable()[1];
    const Zone copy = ZoneWithSite(original, "https://127.0.0.1:1", &counter);
    const Zone second = ZoneWithSite(original, "https://127.0.0.1:1", &counter);
    EXPECT_EQ(copy.siteBase, "https://127.0.0.1:1");
    EXPECT_EQ(copy.pageCounter, &counter);
    EXPECT_NE(copy.runtime, original.runtime);
    EXPECT_NE(copy.runtime, second.runtime);
    EXPECT_EQ(copy.numberList, original.numberList);
    EXPECT_EQ(copy.listingPattern, original.listingPattern);
    EXPECT_EQ(copy.messagePatterns, original.messagePatterns);
    EXPECT_EQ(ChinaZonePage.load(), 0);
}

}  // namespace
}  // namespace lumetra
