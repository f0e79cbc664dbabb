#include <gtest/gtest.h>

#include "web/CookieMerge.h"

namespace lumetra {
namespace {

TEST(MergeCookies, NewerFirstThenOlderNotNamedDeletedAndRepeatsOut) {
    struct Case {
        const char* older;
        const char* newer;
        const char* merged;
    };
    const Case cases[] = {
        {"a=1; b=2", "b=3; c=4", "b=3; c=4; a=1"},
        {"a=1; b=2", "b=deleted", "a=1"},
        {"a=1", "a=deleted; b=2", "b=2"},
        {"a=1; b=2;", "", "a=1; b=2"},
        {"", "x=1; x=1", "x=1"},
        {"", "x=1; x=2", "x=1; x=2"},
        {"a=1; a=2", "", "a=1"},
        {"A=1", "a=2", "a=2; A=1"},
        {"b=0", "b=1; b=deleted", "b=1"},
        {"", "", ""},
        {"  a=1  ", " b=2; ", "b=2; a=1"},
        {" a =1", "a=2", "a=2"},          // names are trimmed for the comparison
        {"a=1; old=deleted", "", "a=1"},  // an older deleted piece goes too
        // A name ending in a lead byte: the last eight bytes still say "=deleted".
        {"a=1", "\xCB\xCB\xCB=deleted", "a=1"},
        {"a=1", "b=2;c=3", "b=2;c=3; a=1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.older) + " | " + c.newer);
        Text older = c.older;
        EXPECT_EQ(MergeCookies(older, c.newer), c.merged);
        EXPECT_EQ(older, c.merged);
    }
}

TEST(CookieName, IsTheTrimmedTextBeforeTheFirstEquals) {
    const std::pair<const char*, const char*> cases[] = {
        {"a=1", "a"},       {" a =1", "a"}, {"flag", "flag"},
        {" flag ", "flag"}, {"=v", ""},     {"a=b=c", "a"},
    };
    for (const auto& [piece, name] : cases) EXPECT_EQ(CookieName(piece), name);
}

TEST(CookieLists, FindNamesAndTextsAndJoinUnique) {
    const std::vector<Text> pieces = {"x=1", " y =2", "x=3"};
    EXPECT_TRUE(HasCookieName(pieces, "y"));
    EXPECT_FALSE(HasCookieName(pieces, "X"));
    EXPECT_FALSE(HasCookieName({}, ""));

    EXPECT_EQ(IndexOfText(pieces, "x=1"), 1);
    EXPECT_EQ(IndexOfText(pieces, "x=3"), 3);
    EXPECT_EQ(IndexOfText(pieces, "y=2"), -1);
    EXPECT_EQ(IndexOfText({}, ""), -1);

    EXPECT_EQ(JoinUnique("a; b; a; c; b", "; "), "a; b; c");
    EXPECT_EQ(JoinUnique("", "; "), "");
    EXPECT_EQ(JoinUnique("a;;a;", ";"), "a;");
}

}  // namespace
}  // namespace lumetra
