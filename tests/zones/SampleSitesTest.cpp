#include <gtest/gtest.h>

#include <set>

#include "sample-sites/SampleContent.h"
#include "support/LoopbackServer.h"
#include "text/RegexObject.h"
#include "text/TextOps.h"
#include "zones/RecordingHost.h"
#include "zones/ZoneActions.h"
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
using testing::Reply;

constexpr std::array<SampleZone, 3> kZones = {SampleZone::Random, SampleZone::China,
                                              SampleZone::Us};

const Zone& TableZone(SampleZone zone) {
    return ZoneTable()[static_cast<std::size_t>(zone)];
}

std::vector<int> PagesWithNumbers(SampleZone zone) {
    std::vector<int> pages;
    for (int i = 0; i < samples::kListingPages; ++i)
        pages.push_back(samples::FirstListingPage(zone) + i);
    return pages;
}

// The page text as the zone's fetch kind turns the served bytes into it.
Text AsFetched(FetchKind kind, const std::string& body) {
    return kind == FetchKind::PageTextRaw ? Text(body) : Gbk(body);
}

bool AllDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

TEST(SampleSites, ContentHasTheShapesTheZonesExpect) {
    std::set<int> messageCounts;
    for (const SampleZone zone : kZones) {
        std::set<std::string> seen;
        for (const int page : PagesWithNumbers(zone)) {
            const auto numbers = samples::ListingNumbers(zone, page);
            ASSERT_FALSE(numbers.empty()) << page;
            for (const auto& entry : numbers) {
                EXPECT_TRUE(seen.insert(entry.number).second) << entry.number;
                ASSERT_TRUE(AllDigits(entry.number)) << entry.number;
                switch (zone) {
                    case SampleZone::Random:
                        EXPECT_GE(entry.number.size(), 8u);
                        EXPECT_LE(entry.number.size(), 11u);
                        EXPECT_TRUE(entry.code.size() >= 2 && entry.code.size() <= 4 &&
                                    entry.code[0] == '+' && AllDigits(entry.code.substr(1)));
                        break;
                    case SampleZone::China:
                        EXPECT_EQ(entry.code, "+86");
                        EXPECT_EQ(entry.number.size(), 11u);
                        break;
                    case SampleZone::Us:
                        EXPECT_EQ(entry.code, "+1");
                        EXPECT_EQ(entry.number.size(), 10u);
                        break;
                }
                const auto messages = samples::Messages(zone, entry.number);
                messageCounts.insert(static_cast<int>(messages.size()));
                for (const auto& message : messages) {
                    EXPECT_TRUE(AllDigits(message.code) && message.code.size() <= 8);
                    EXPECT_TRUE(message.sender.starts_with("【") && message.sender.ends_with("】"));
                    EXPECT_EQ(message.time.size(), std::string("2026-12-11 08:10:00").size());
                }
            }
        }
        const int first = samples::FirstListingPage(zone);
        EXPECT_TRUE(samples::ListingNumbers(zone, first - 1).empty());
        EXPECT_TRUE(samples::ListingNumbers(zone, first + samples::kListingPages).empty());
        EXPECT_TRUE(samples::Messages(zone, "").empty());
    }
    for (const int count : {0, 2, 5, 8}) EXPECT_TRUE(messageCounts.contains(count)) << count;
    const auto randomCodes = samples::ListingNumbers(SampleZone::Random, 0);
    EXPECT_NE(randomCodes[0].code, randomCodes[1].code);
}

// Every listing entry and every message field is found by the zone's own patterns, in order.
TEST(SampleSites, TheZonePatternsFindEveryColumnOfEveryPage) {
    for (const SampleZone sample : kZones) {
        const Zone& zone = TableZone(sample);
        SCOPED_TRACE(zone.listingPath);
        for (const int page : PagesWithNumbers(sample)) {
            const auto numbers = samples::ListingNumbers(sample, page);
            const Text listing =
                AsFetched(zone.listingFetch, samples::ListingPageHtml(sample, page, numbers));
            RegexObject regex;
            regex.Create(zone.listingPattern, listing, false, true, true, false);
            ASSERT_EQ(regex.MatchCount(), static_cast<int>(numbers.size())) << page;
            for (std::size_t i = 0; i < numbers.size(); ++i) {
                const int match = static_cast<int>(i) + 1;
                EXPECT_EQ(regex.SubmatchText(match, zone.listingColumns[0]), numbers[i].code);
                EXPECT_EQ(regex.SubmatchText(match, zone.listingColumns[1]), numbers[i].number);
            }
            for (const auto& entry : numbers) {
                const auto messages = samples::Messages(sample, entry.number);
                const Text text = AsFetched(
                    zone.messageFetch, samples::MessagePageHtml(sample, entry.number, messages));
                std::vector<RegexObject> regexes(zone.messagePatterns.size());
                for (std::size_t p = 0; p < regexes.size(); ++p) {
                    regexes[p].Create(zone.messagePatterns[p], text, false, true, true,
                                      zone.quoteSubstitution);
                    ASSERT_EQ(regexes[p].MatchCount(), static_cast<int>(messages.size()))
                        << entry.number << " pattern " << p + 1;
                }
                for (std::size_t i = 0; i < messages.size(); ++i) {
                    const std::array<Text, 3> expected = {
                        Gbk(messages[i].time), Gbk(messages[i].sender), Gbk(messages[i].code)};
                    for (std::size_t c = 0; c < 3; ++c) {
                        const MessageColumn& source = zone.messageColumns[c];
                        EXPECT_EQ(regexes[source.pattern - 1].SubmatchText(static_cast<int>(i) + 1,
                                                                           source.submatch),
                                  expected[c])
                            << entry.number << " message " << i << " column " << c;
                    }
                }
            }
        }
    }
}

TEST(SampleSites, RoutesAnswerTheZonesTargetsOnly) {
    const auto firstChina = samples::ListingNumbers(SampleZone::China, 1)[0].number;
    const auto firstUs = samples::ListingNumbers(SampleZone::Us, 1)[0].number;
    struct Case {
        std::optional<std::string> (*site)(std::string_view);
        std::string target;
        std::optional<std::string> page;
    };
    const auto listing = [](SampleZone zone, int page) {
        return samples::ListingPageHtml(zone, page, samples::ListingNumbers(zone, page));
    };
    const auto messages = [](SampleZone zone, const std::string& number) {
        return samples::MessagePageHtml(zone, number, samples::Messages(zone, number));
    };
    const std::vector<Case> cases = {
        {&samples::SiteAPage, "/?page=0", listing(SampleZone::Random, 0)},
        {&samples::SiteAPage, "/?page=9", listing(SampleZone::Random, 9)},
        {&samples::SiteAPage, "/?page=x", std::nullopt},
        {&samples::SiteAPage, "/messages?phone=", messages(SampleZone::Random, "")},
        {&samples::SiteAPage, "/other", std::nullopt},
        {&samples::SiteBPage, "/China-Phone-Number/list_2.html", listing(SampleZone::China, 2)},
        {&samples::SiteBPage, "/US-Phone-Number/list_7.html", listing(SampleZone::Us, 7)},
        {&samples::SiteBPage, "/US-Phone-Number/list_1.htm", std::nullopt},
        {&samples::SiteBPage, "/sms/86" + firstChina, messages(SampleZone::China, firstChina)},
        {&samples::SiteBPage, "/sms/1" + firstUs, messages(SampleZone::Us, firstUs)},
        {&samples::SiteBPage, "/?page=0", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.site(c.target), c.page) << c.target;
    }
    EXPECT_TRUE(samples::IsSiteBListing("/China-Phone-Number/list_3.html"));
    EXPECT_FALSE(samples::IsSiteBListing("/sms/86" + firstChina));
}

// The zone actions against the sample sites, served on loopback: list, view, copy.
TEST(SampleSites, TheZonesListViewAndCopyTheSampleContent) {
    LoopbackServer siteA(LoopbackServer::Scheme::Http);
    LoopbackServer siteB(LoopbackServer::Scheme::Https);
    const auto serve = [](auto page) {
        return [page](const testing::RecordedRequest& request) {
            const auto body = page(request.target);
            return body ? Reply::Html(*body) : Reply::Html("", 404);
        };
    };
    siteA.SetHandler(serve(&samples::SiteAPage));
    siteB.SetHandler(serve(&samples::SiteBPage));

    for (const SampleZone sample : kZones) {
        const Zone& row = TableZone(sample);
        SCOPED_TRACE(row.listingPath);
        RecordingHost host;
        std::atomic<std::int32_t> counter{0};
        const Zone zone = ZoneWithSite(
            row, sample == SampleZone::Random ? siteA.BaseUrl() : siteB.BaseUrl(), &counter);
        const int page = samples::FirstListingPage(sample) + 1;
        if (sample == SampleZone::Random) {
            RandomNextPageClicked(zone, host);
        } else {
            RegionalNextPageClicked(zone, host);
            RegionalNextPageClicked(zone, host);
            ASSERT_TRUE(host.WaitForThreads());
        }
        const auto numbers = samples::ListingNumbers(sample, page);
        ASSERT_EQ(host.Rows(zone.numberList), NumberRows(numbers));

        // The third number has eight messages: the first five show.
        host.Select(zone.numberList, 2);
        (sample == SampleZone::Random ? ShowRandomMessages : ShowRegionalMessages)(zone, host);
        const auto messages = samples::Messages(sample, numbers[2].number);
        ASSERT_EQ(messages.size(), 8u);
        EXPECT_EQ(host.Rows(zone.messageList), MessageRows(messages));

        host.Select(zone.messageList, 1);
        CopySelectedCell(host, zone.messageList, zone.messageCopy.column,
                         zone.messageCopy.timeoutMs);
        EXPECT_EQ(host.Clipboard(), Gbk(messages[1].code));
        CopySelectedCell(host, zone.numberList, zone.numberCopy.column, zone.numberCopy.timeoutMs);
        EXPECT_EQ(host.Clipboard(), numbers[2].number);
    }
}

}  // namespace
}  // namespace lumetra
