// The seven zone patterns over fixture pages laid out as the sites serve them, read the way
// the zones read them: UTF-8 page to GBK, then RegexObject with the zones' options.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

#include "text/RegexObject.h"
#include "text/Utf8ToGbk.h"
#include "zones/ZonePatterns.h"

namespace lumetra {
namespace {

Text Gbk(std::string_view utf8) {
    return Utf8ToGbk(Bytes(utf8.begin(), utf8.end()));
}

Text Page(const char* name) {
    const auto path =
        std::filesystem::path(__FILE__).parent_path().parent_path() / "fixtures" / "pages" / name;
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Utf8ToGbk(bytes);
}

// As the zones call it: case ignored, multi-line, global.
void CreateAsZonesDo(RegexObject& regex, const char* pattern, const Text& page,
                     bool quoteSubstitution) {
    ASSERT_TRUE(regex.Create(pattern, page, false, true, true, quoteSubstitution));
}

TEST(ZonePatterns, EachConstantIsItsReadableFormInGbk) {
    const std::pair<const char*, const char*> table[] = {
        {patterns::L1, R"((\+[\d]{1,3}).*>([\d]{8,11}))"},
        {patterns::L2, R"(>(\+86).*([\d]{11})<)"},
        {patterns::L3, R"(<span>(\+\d).*([\d]{10})</span>)"},
        {patterns::M1,
         "\t\t\t\t    (.*?)\t\t\t\t    <span style=\"float: right;\">[\\d]{2}.*</span>"},
        {patterns::M2, "(【.*】).*<b>(.*?)</b>"},
        {patterns::M3,
         R"(<div class=#引号col-md-6 msg#引号>(.*)<.*?><b>(.*)</b></span>.*?</div>\s+<div class=#引号col-md-3 time#引号>(.*)</div>)"},
        {patterns::M4,
         R"(\s+<div class=#引号col-md-3 sender#引号>(.*)</div>\s+<div class=#引号col-md-6 msg#引号>.*<b>(.*)</b>.*</div>\s+<div class=#引号col-md-3 time#引号>(.*)</div>)"},
    };
    for (const auto& [constant, readable] : table) {
        EXPECT_EQ(Text(constant), Gbk(readable)) << readable;
    }
}

struct ListingCase {
    const char* name;
    const char* page;
    const char* pattern;
    std::vector<std::pair<const char*, const char*>> rows;  // column 0, column 1
};

class Listing : public ::testing::TestWithParam<ListingCase> {};

TEST_P(Listing, CodeIsSubmatchOneAndNumberSubmatchTwo) {
    const ListingCase& c = GetParam();
    RegexObject regex;
    CreateAsZonesDo(regex, c.pattern, Page(c.page), false);
    ASSERT_EQ(regex.MatchCount(), static_cast<int>(c.rows.size()));
    for (int i = 1; i <= regex.MatchCount(); ++i) {
        EXPECT_EQ(regex.SubmatchText(i, 1), c.rows[i - 1].first) << i;
        EXPECT_EQ(regex.SubmatchText(i, 2), c.rows[i - 1].second) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pages, Listing,
    ::testing::Values(
        ListingCase{"L1",
                    "site-a-listing.html",
                    patterns::L1,
                    {{"+44", "7700900123"},
                     {"+1", "2025550143"},
                     {"+86", "13800138000"},
                     {"+353", "861234567"}}},
        ListingCase{"L2",
                    "site-b-china-listing.html",
                    patterns::L2,
                    {{"+86", "13800138000"}, {"+86", "15912345678"}, {"+86", "17098765432"}}},
        ListingCase{"L3",
                    "site-b-us-listing.html",
                    patterns::L3,
                    {{"+1", "2025550143"}, {"+1", "3105550178"}, {"+1", "6465550199"}}}),
    [](const auto& param) { return std::string(param.param.name); });

using MessageRow = std::array<const char*, 3>;  // time, sender, code

TEST(Messages, RandomZoneTimeFromM1SenderAndCodeFromM2) {
    const Text page = Page("site-a-messages.html");
    RegexObject times;
    RegexObject senders;
    CreateAsZonesDo(times, patterns::M1, page, false);
    CreateAsZonesDo(senders, patterns::M2, page, false);
    const MessageRow rows[] = {
        {"2024-05-01 12:30:45", "【易购】", "482913"},
        {"2024-05-01 12:05:10", "【ChatApp】", "55123"},
        {"2024-05-01 11:42:00", "【快送】", "7391"},
    };
    ASSERT_EQ(times.MatchCount(), 3);
    ASSERT_EQ(senders.MatchCount(), 3);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(times.SubmatchText(i, 1), Gbk(rows[i - 1][0])) << i;
        EXPECT_EQ(senders.SubmatchText(i, 1), Gbk(rows[i - 1][1])) << i;
        EXPECT_EQ(senders.SubmatchText(i, 2), Gbk(rows[i - 1][2])) << i;
    }
}

struct RegionalCase {
    const char* name;
    const char* page;
    const char* pattern;
    std::vector<MessageRow> rows;
};

class RegionalMessages : public ::testing::TestWithParam<RegionalCase> {};

// Over CR LF pages: no submatch may keep the CR of its line.
TEST_P(RegionalMessages, TimeIsSubmatchThreeSenderOneCodeTwo) {
    const RegionalCase& c = GetParam();
    RegexObject regex;
    CreateAsZonesDo(regex, c.pattern, Page(c.page), true);
    ASSERT_EQ(regex.MatchCount(), static_cast<int>(c.rows.size()));
    for (int i = 1; i <= regex.MatchCount(); ++i) {
        EXPECT_EQ(regex.SubmatchText(i, 3), Gbk(c.rows[i - 1][0])) << i;
        EXPECT_EQ(regex.SubmatchText(i, 1), Gbk(c.rows[i - 1][1])) << i;
        EXPECT_EQ(regex.SubmatchText(i, 2), Gbk(c.rows[i - 1][2])) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pages, RegionalMessages,
    ::testing::Values(RegionalCase{"China",
                                   "site-b-china-messages.html",
                                   patterns::M3,
                                   {{"2024-05-01 12:00:03", "【快送】您的验证码", "382910"},
                                    {"2024-05-01 11:58:41", "【星辰银行】动态码", "6140"},
                                    {"2024-05-01 11:30:00", "【好味外卖】验证码", "770421"}}},
                      RegionalCase{"Us",
                                   "site-b-us-messages.html",
                                   patterns::M4,
                                   {{"2024-05-01 08:15:27", "MailBox", "482210"},
                                    {"2024-05-01 08:02:10", "22395", "913-442"},
                                    {"2024-05-01 07:44:59", "CloudDesk", "5521"}}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(Messages, RegionalPatternsNeedTheQuoteSubstitution) {
    RegexObject regex;
    CreateAsZonesDo(regex, patterns::M3, Page("site-b-china-messages.html"), false);
    EXPECT_EQ(regex.MatchCount(), 0);
}

// A backtracking engine needs minutes for this line; the CTest time-out is the bound here.
TEST(Messages, ChinaPatternOverALongLineWithoutATimeDiv) {
    const Text unit = R"(<div class="col-md-6 msg">code <span><b>1234</b></span> x</div> <div )";
    Text page;
    while (page.size() < 20 * 1024) {
        page += unit;
    }
    RegexObject regex;
    CreateAsZonesDo(regex, patterns::M3, page, true);
    EXPECT_EQ(regex.MatchCount(), 0);
}

}  // namespace
}  // namespace lumetra
