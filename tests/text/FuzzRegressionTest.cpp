// Inputs the fuzz targets found; each once ran into undefined behaviour or a wrong result.
#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "text/TextOps.h"
#include "text/TextSlicing.h"

namespace lumetra {
namespace {

constexpr Position kLowest = std::numeric_limits<Position>::min();
constexpr Position kHighest = std::numeric_limits<Position>::max();

// A start at the lowest position searches nothing: no byte lies before it.
TEST(FuzzRegression, FindBackwardsFromTheLowestPositionFindsNothing) {
    struct Case {
        Text text;
        Text what;
        bool ignoreCase;
    };
    const Case cases[] = {
        {"", "", false},
        {"abc", "", false},
        {"abc", "a", false},
        {"\xD6\xD0"
         "a\\b",
         "a", true},  // 中a\b
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FindBackwards(c.text, c.what, kLowest, c.ignoreCase), kNotFound);
        EXPECT_EQ(FindBackwards(c.text, c.what, kLowest + 1, c.ignoreCase), kNotFound);
    }
}

// The extreme positions of every routine that takes one stay quiet and clamp.
TEST(FuzzRegression, ExtremePositionsClampQuietly) {
    const Text text = "a:b\xD6\xD0:c";  // a:b中:c
    EXPECT_EQ(Find(text, ":", kLowest), 2);
    EXPECT_EQ(Find(text, ":", kHighest), kNotFound);
    EXPECT_EQ(FindBackwards(text, ":", kHighest), 6);
    EXPECT_EQ(Left(text, kHighest), text);
    EXPECT_EQ(Left(text, kLowest), "");
    EXPECT_EQ(Right(text, kHighest), text);
    EXPECT_EQ(Middle(text, 1, kHighest), text);
    EXPECT_EQ(Middle(text, kLowest, 2), "");
    EXPECT_EQ(TextBetween(text, "a", "c", kLowest), ":b\xD6\xD0:");
    EXPECT_EQ(TextBetween(text, "a", "c", kHighest), "");
    EXPECT_EQ(TextBefore(text, ":", kLowest), "");
    EXPECT_EQ(TextBefore(text, ":", kLowest + 1), "");
    EXPECT_EQ(TextBefore(text, ":", kHighest), "");
}

// Every text ends with the empty text, also one that ends in a lone lead byte.
TEST(FuzzRegression, EveryTextEndsWithTheEmptyText) {
    for (const Text text : {"", "a", "a\x81", "a\xD6\xD0"}) {
        EXPECT_TRUE(EndsWith(text, "")) << text;
    }
}

}  // namespace
}  // namespace lumetra
