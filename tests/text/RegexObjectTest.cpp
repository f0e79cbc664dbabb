#include <gtest/gtest.h>

#include <climits>
#include <string_view>
#include <thread>

#include "platform/automation/Com.h"
#include "text/RegexObject.h"
#include "text/Utf8ToGbk.h"

namespace lumetra {
namespace {

Text Gbk(std::string_view utf8) {
    return Utf8ToGbk(Bytes(utf8.begin(), utf8.end()));
}

// Every read the object offers, so a test can see them all empty at once.
void ExpectAllEmpty(RegexObject& regex) {
    Position position = 0;
    EXPECT_EQ(regex.MatchCount(), 0);
    EXPECT_EQ(regex.SubmatchCount(), 0);
    EXPECT_EQ(regex.MatchText(1, &position), "");
    EXPECT_EQ(position, -2);
    EXPECT_EQ(regex.SubmatchText(1, 1, &position), "");
    EXPECT_EQ(position, -2);
}

TEST(RegexObject, PatternWithoutMatchesStillSucceeds) {
    RegexObject regex;
    EXPECT_TRUE(regex.Create("z+", "abc"));
    ExpectAllEmpty(regex);
    EXPECT_EQ(regex.ReplaceMatches("x"), "abc");
}

TEST(RegexObject, InvalidPatternFailsAndEveryReadIsEmpty) {
    for (const char* pattern : {"(a", "(a)\\1", "a(?=b)"}) {
        RegexObject regex;
        EXPECT_FALSE(regex.Create(pattern, "aab")) << pattern;
        ExpectAllEmpty(regex);
        EXPECT_EQ(regex.ReplaceMatches("x"), "") << pattern;
        // The object was made and holds what was written to it.
        EXPECT_EQ(regex.GetPattern(), pattern);
    }
}

TEST(RegexObject, EmptyObjectReadsEmpty) {
    RegexObject regex;
    ExpectAllEmpty(regex);
    EXPECT_EQ(regex.GetPattern(), "");
    EXPECT_EQ(regex.ReplaceMatches("x"), "");
}

TEST(RegexObject, NumbersOutsideTheMatchesAndGroupsGiveEmptyText) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("(\\d)(x)?", "1 2 3"));
    ASSERT_EQ(regex.MatchCount(), 3);
    EXPECT_EQ(regex.SubmatchCount(), 2);
    EXPECT_EQ(regex.SubmatchText(3, 1), "3");
    const std::pair<int, int> outside[] = {
        {6, 1}, {4, 1}, {0, 1},  {-1, 1},      {INT_MIN, 1}, {INT_MAX, 1},
        {1, 0}, {1, 3}, {1, -1}, {1, INT_MAX}, {1, 2},  // the last took no part
    };
    for (const auto& [i, j] : outside) {
        Position position = 0;
        EXPECT_EQ(regex.SubmatchText(i, j, &position), "") << i << "," << j;
        EXPECT_EQ(position, -2) << i << "," << j;
    }
    for (const int i : {0, 4, INT_MIN}) {
        EXPECT_EQ(regex.MatchText(i), "") << i;
    }
}

TEST(RegexObject, SecondCreateReplacesTheFirst) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("a", "aaa"));
    ASSERT_TRUE(regex.Create("b(c)", "bcbc bc"));
    EXPECT_EQ(regex.MatchCount(), 3);
    EXPECT_EQ(regex.MatchText(1), "bc");
    EXPECT_EQ(regex.GetPattern(), "b(c)");
    EXPECT_EQ(regex.ReplaceMatches("$1"), "cc c");
    EXPECT_FALSE(regex.Create("(", "aaa"));
    EXPECT_EQ(regex.MatchCount(), 0);
}

TEST(RegexObject, QuotePlaceholderOnlyWhenAsked) {
    const Text pattern = Text("class=") + kQuotePlaceholder + "x" + kQuotePlaceholder;
    const Text quoted = R"(<div class="x">)";
    const Text literal = "class=" + Text(kQuotePlaceholder) + "x" + kQuotePlaceholder;
    RegexObject regex;
    ASSERT_TRUE(regex.Create(pattern, quoted, {}, {}, {}, true));
    EXPECT_EQ(regex.MatchText(1), R"(class="x")");
    EXPECT_EQ(regex.GetPattern(), R"(class="x")");
    for (const std::optional<bool> off : {std::optional<bool>{}, std::optional<bool>{false}}) {
        ASSERT_TRUE(regex.Create(pattern, quoted + literal, {}, {}, {}, off));
        ASSERT_EQ(regex.MatchCount(), 1);
        EXPECT_EQ(regex.MatchText(1), literal);
    }
}

TEST(RegexObject, DefaultsIgnoreCaseAreMultiLineAndGlobal) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("^ab", "AB\nab\naB"));
    EXPECT_EQ(regex.MatchCount(), 3);
    ASSERT_TRUE(regex.Create("^ab", "AB\nab\naB", true));
    EXPECT_EQ(regex.MatchCount(), 1);
    ASSERT_TRUE(regex.Create("^ab", "AB\nab\naB", {}, false));
    EXPECT_EQ(regex.MatchCount(), 1);
    ASSERT_TRUE(regex.Create("^ab", "AB\nab\naB", {}, {}, false));
    EXPECT_EQ(regex.MatchCount(), 1);
    // The failed "Singleline" write leaves "." short of line breaks.
    ASSERT_TRUE(regex.Create("a.b", "a\nb a\r\nb"));
    EXPECT_EQ(regex.MatchCount(), 0);
}

TEST(RegexObject, TextsRoundTripThroughGbk) {
    RegexObject regex;
    const Text subject = Gbk("发信方【快送】验证码：<b>1234</b>");
    ASSERT_TRUE(regex.Create(Gbk("(【.*】).*<b>(.*?)</b>"), subject));
    EXPECT_EQ(regex.SubmatchText(1, 1), Gbk("【快送】"));
    EXPECT_EQ(regex.SubmatchText(1, 2), "1234");
    EXPECT_EQ(regex.ReplaceMatches(Gbk("[$2]")), Gbk("发信方[1234]"));
    ASSERT_TRUE(regex.Create(Gbk("中(文)"), Gbk("中文中文"), {}, {}, false));
    EXPECT_EQ(regex.ReplaceMatches(Gbk("<$1>")), Gbk("<文>中文"));
}

// The position is a byte offset in the GBK subject: after double-byte characters the UTF-16
// FirstIndex taken as a byte offset would find an earlier copy of the same text.
TEST(RegexObject, PositionsAreGbkByteOffsets) {
    RegexObject regex;
    const Text subject = Gbk("中中中中x1x1");
    ASSERT_TRUE(regex.Create("x(1)", subject));
    ASSERT_EQ(regex.MatchCount(), 2);
    Position position = 0;
    EXPECT_EQ(regex.MatchText(1, &position), "x1");
    EXPECT_EQ(position, 8);
    EXPECT_EQ(regex.MatchText(2, &position), "x1");
    EXPECT_EQ(position, 10);
    EXPECT_EQ(regex.SubmatchText(2, 1, &position), "1");
    EXPECT_EQ(position, 11);
    EXPECT_EQ(regex.MatchText(2), "x1");  // no position asked: nothing written anywhere

    // A double-byte character whose trail byte is an "A" is stepped over whole.
    ASSERT_TRUE(regex.Create("A",
                             "\x81\x41"
                             "A",
                             true));
    ASSERT_EQ(regex.MatchCount(), 1);
    EXPECT_EQ(regex.MatchText(1, &position), "A");
    EXPECT_EQ(position, 2);
}

TEST(RegexObject, PositionOfEmptyMatchesIsWhereTheyStand) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("x*", Gbk("中a")));
    ASSERT_EQ(regex.MatchCount(), 3);
    Position position = 0;
    for (const auto& [i, offset] : {std::pair{1, 0}, std::pair{2, 2}, std::pair{3, 3}}) {
        EXPECT_EQ(regex.MatchText(i, &position), "");
        EXPECT_EQ(position, offset) << i;
    }
}

TEST(RegexObject, PositionSearchFollowsIgnoreCase) {
    RegexObject regex;
    Position position = 0;
    ASSERT_TRUE(regex.Create("a.(b)", "aBb", true));
    EXPECT_EQ(regex.SubmatchText(1, 1, &position), "b");
    EXPECT_EQ(position, 2);
    ASSERT_TRUE(regex.Create("a.(b)", "aBb"));
    EXPECT_EQ(regex.SubmatchText(1, 1, &position), "b");
    EXPECT_EQ(position, 1);  // the search ignores case as the object does
}

TEST(RegexObject, EachObjectInitialisesComForItsLifetime) {
    const int before = platform::CoInitializeCount();
    {
        RegexObject first;
        EXPECT_EQ(platform::CoInitializeCount(), before + 1);
        {
            RegexObject second;
            second.Create("(", "x");
            EXPECT_EQ(platform::CoInitializeCount(), before + 2);
        }
        EXPECT_EQ(platform::CoInitializeCount(), before + 1);
        int inWorker = -1;
        int afterWorker = -1;
        std::thread worker([&] {
            {
                RegexObject regex;
                regex.Create("a", "a");
                inWorker = platform::CoInitializeCount();
            }
            afterWorker = platform::CoInitializeCount();
        });
        worker.join();
        EXPECT_EQ(inWorker, 1);
        EXPECT_EQ(afterWorker, 0);
        EXPECT_EQ(platform::CoInitializeCount(), before + 1);
    }
    EXPECT_EQ(platform::CoInitializeCount(), before);
}

}  // namespace
}  // namespace lumetra
