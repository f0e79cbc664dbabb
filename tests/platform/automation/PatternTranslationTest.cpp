// Each case is one that a plain hand-over of the pattern to RE2 gets wrong, or a construct
// the system's patterns rely on.
#include <gtest/gtest.h>

#include "platform/automation/PatternTranslation.h"
#include "platform/automation/RegExpHarness.h"

namespace lumetra::platform {
namespace {

using testing::ComScope;
using testing::Execute;
using testing::Options;

struct Hit {
    std::int32_t firstIndex;
    std::u16string value;
    bool operator==(const Hit&) const = default;
};

void PrintTo(const Hit& hit, std::ostream* os) {
    *os << hit.firstIndex << ":" << ::testing::PrintToString(hit.value);
}

struct Case {
    const char* name;
    std::u16string pattern;
    std::u16string subject;
    std::vector<Hit> expected;
    Options options = {};
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

constexpr Options kCaseless = {.ignoreCase = true};
constexpr Options kMultiline = {.multiline = true};
constexpr Options kFirstOnly = {.global = false};

const Case kCases[] = {
    // "." stops at every ECMAScript line terminator; RE2's "." would take CR.
    {"DotStopsAtCrBeforeClosingTag", u"(.*)</div>", u"a\r</div>", {{2, u"</div>"}}},
    {"DotLeavesTrailingCrOutOfGroup", u">(.*)", u">12:00\r\n<", {{0, u">12:00"}}},
    {"DotStopsAtLineSeparators", u"a.b", u"a\u2028b a\u2029b a\nb axb", {{12, u"axb"}}},
    {"DotTakesOtherControls", u"a.b", u"a\tb", {{0, u"a\tb"}}},
    // \s is the ECMAScript white space, in and outside classes.
    {"SpaceClassIdeographicSpace", u"a\\sb", u"a\u3000b", {{0, u"a\u3000b"}}},
    {"SpaceClassNoBreakSpace", u"a\\s+b", u"a\u00A0\uFEFF\u2007b", {{0, u"a\u00A0\uFEFF\u2007b"}}},
    {"SpaceClassInBrackets", u"a[\\s]b", u"a\u00A0b", {{0, u"a\u00A0b"}}},
    {"NonSpaceSplitsAtIdeographicSpace", u"\\S+", u"x\u3000y", {{0, u"x"}, {2, u"y"}}},
    {"SpaceOrNonSpaceTakesEverything", u"a[\\s\\S]*b", u"a\r\n\u2028b", {{0, u"a\r\n\u2028b"}}},
    {"NegatedNonSpaceIsSpace", u"[^\\S]+", u"x \u3000y", {{1, u" \u3000"}}},
    // Escapes mean what ECMAScript gives them.
    {"UnicodeEscape", u"\\u4E2D", u"\u4E2D", {{0, u"\u4E2D"}}},
    {"UnicodeEscapePair", u"\\uD83D\\uDE00", u"x\U0001F600", {{1, u"\U0001F600"}}},
    {"HexEscape", u"\\x41", u"A", {{0, u"A"}}},
    {"ShortHexIsLetterX", u"\\x4", u"x4", {{0, u"x4"}}},
    {"ShortUnicodeIsLetterU", u"\\u12", u"u12", {{0, u"u12"}}},
    {"ControlEscape", u"a\\cJb", u"a\nb", {{0, u"a\nb"}}},
    {"BackslashCWithoutLetter", u"\\c1", u"\\c1", {{0, u"\\c1"}}},
    {"NulEscape",
     std::u16string(u"\\0"),
     std::u16string(u"a\0b", 3),
     {{1, std::u16string(1, u'\0')}}},
    {"VerticalTab", u"\\v", u"\v", {{0, u"\v"}}},
    {"EscapedSlash", u"<\\/b>", u"</b>", {{0, u"</b>"}}},
    {"IdentityEscapesRe2WouldRead", u"\\a\\z\\A\\Q\\E\\p\\e", u"azAQEpe", {{0, u"azAQEpe"}}},
    {"EightAndNineAreDigits", u"\\8\\9", u"89", {{0, u"89"}}},
    {"OctalWhenNoSuchGroup", u"\\101", u"A", {{0, u"A"}}},
    {"BackspaceInClass", u"[\\b]", u"a\bb", {{1, u"\b"}}},
    // Classes as ECMAScript reads them.
    {"EmptyClassMatchesNothing", u"a[]", u"a[]", {}},
    {"NegatedEmptyClassMatchesAll", u"a[^]b", u"a\nb", {{0, u"a\nb"}}},
    {"PosixNamesAreLiterals", u"[[:alpha:]]", u"a] p]", {{0, u"a]"}, {3, u"p]"}}},
    {"DashAfterClassEscape", u"[\\d-z]", u"5-za", {{0, u"5"}, {1, u"-"}, {2, u"z"}}},
    {"DigitClassInBrackets", u"[\\d]{1,3}", u"12345", {{0, u"123"}, {3, u"45"}}},
    {"LoneBracketsAreLiterals", u"]}", u"x]}", {{1, u"]}"}}},
    {"BraceWithoutCountIsLiteral", u"a{,2}b{", u"a{,2}b{", {{0, u"a{,2}b{"}}},
    // \d, \w, \b stay ASCII.
    {"DigitIsAscii", u"\\d+", u"\uFF11\u0661 7", {{3, u"7"}}},
    {"WordIsAscii", u"\\w+", u"\u00E9t\u00E9", {{1, u"t"}}},
    {"WordUnderIgnoreCaseIsAscii", u"\\w", u"\u212A\u017F", {}, kCaseless},
    {"BoundaryIsAscii", u"\\bt", u"\u00E9t t", {{1, u"t"}, {3, u"t"}}},
    // Repetition.
    {"LazyStopsAtFirstClose",
     u"<b>(.*?)</b>",
     u"<b>1</b><b>2</b>",
     {{0, u"<b>1</b>"}, {8, u"<b>2</b>"}}},
    {"GreedyTakesLastClose", u"<b>(.*)</b>", u"<b>1</b><b>2</b>", {{0, u"<b>1</b><b>2</b>"}}},
    {"CountedRepetition", u"x{2}y{1,}z{0,1}", u"xxyyyz xy", {{0, u"xxyyyz"}}},
    // Anchors.
    {"CaretOnlyAtStartWithoutMultiline", u"^b", u"a\nb", {}},
    {"CaretAfterLineFeed", u"^b", u"a\nb", {{2, u"b"}}, kMultiline},
    {"DollarOnlyAtEndWithoutMultiline", u"a$", u"a\na", {{2, u"a"}}},
    {"DollarBeforeCrOfCrLf",
     u"\\d$",
     u"1\r\n2\r\n3",
     {{0, u"1"}, {3, u"2"}, {6, u"3"}},
     kMultiline},
    {"DollarBeforeLineSeparator", u"a$", u"a\u2028", {{0, u"a"}}, kMultiline},
    {"DollarEndingAnAlternative", u"x$|y", u"x\r\ny", {{0, u"x"}, {3, u"y"}}, kMultiline},
    {"EmptyDollarMatchesAtEachTerminator",
     u"$",
     u"a\r\nb",
     {{1, u""}, {2, u""}, {4, u""}},
     kMultiline},
    {"DollarInsideGroupSeesLineFeed", u"(a$)", u"a\nb", {{0, u"a"}}, kMultiline},
    // Options.
    {"IgnoreCase", u"abc", u"xABC", {{1, u"ABC"}}, kCaseless},
    {"CaseMattersByDefault", u"abc", u"ABC", {}},
    {"FirstOnlyWithoutGlobal", u"\\d", u"123", {{0, u"1"}}, kFirstOnly},
    // Empty matches under Global move on by one character.
    {"EmptyMatchesBetweenCharacters", u"x*", u"axb", {{0, u""}, {1, u"x"}, {2, u""}, {3, u""}}},
    {"EmptyPattern", u"", u"ab", {{0, u""}, {1, u""}, {2, u""}}},
    {"EmptyMatchStepsOverWholePair", u"x*", u"\U0001F600", {{0, u""}, {2, u""}}},
    // Positions count UTF-16 units.
    {"FirstIndexAfterChinese", u"b", u"\u4E2D\u6587b", {{2, u"b"}}},
    {"FirstIndexAfterNonBmp", u"b", u"\U0001F600b", {{2, u"b"}}},
    {"LoneSurrogateIsOneCharacter",
     u"a.b",
     u"\xDC00"
     u"a\xD800"
     u"b",
     {{1,
       u"a\xD800"
       u"b"}}},
    {"LoneSurrogateBeforeMatch",
     u"b",
     u"\xD800\xD800"
     u"b",
     {{2, u"b"}}},
};

class Translation : public ::testing::TestWithParam<Case> {
  protected:
    ComScope com;
};

TEST_P(Translation, FindsWhatEcmaScriptFinds) {
    const Case& c = GetParam();
    const auto found = Execute(c.pattern, c.subject, c.options);
    ASSERT_TRUE(found.has_value());
    std::vector<Hit> hits;
    for (const auto& m : *found) {
        hits.push_back({m.firstIndex, m.value});
    }
    EXPECT_EQ(hits, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Translation, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

// What RE2 cannot do, or what is no pattern at all, fails quietly.
TEST(TranslationRefuses, BackReferencesLookAroundAndSyntaxErrors) {
    const std::u16string refused[] = {
        u"(a)\\1", u"\\2(a)(b)", u"a(?=b)", u"a(?!b)", u"(?<=a)b", u"(?<!a)b", u"(?<n>a)",
        u"(?i)a",  u"(a",        u"a)",     u"[a",     u"*a",      u"a**",     u"x{2,1}",
        u"[z-a]",  u"a\\",       u"^*",     u"\\b+",   u"(?",      u"a|*",
    };
    ComScope com;
    for (const std::u16string& pattern : refused) {
        EXPECT_FALSE(Execute(pattern, u"aab").has_value()) << ::testing::PrintToString(pattern);
    }
}

TEST(TranslationRefuses, DeepNestingWithoutExhaustingTheStack) {
    const std::u16string deep = std::u16string(100000, u'(') + u"a" + std::u16string(100000, u')');
    EXPECT_FALSE(detail::TranslatePattern(deep, false).has_value());
}

TEST(Translation, GroupNumbersSkipTheHiddenLineEndGroups) {
    const auto translated = detail::TranslatePattern(u"(a)$|(b)$|(c)", true);
    ASSERT_TRUE(translated.has_value());
    EXPECT_EQ(translated->lineEndGroups, (std::vector<int>{2, 4}));
    EXPECT_EQ(translated->groupIndex, (std::vector<int>{1, 3, 5}));
    ComScope com;
    const auto found = Execute(u"(a)$|(b)$|(c)", u"b\r\nc", {.multiline = true});
    ASSERT_TRUE(found.has_value());
    ASSERT_EQ(found->size(), 2u);
    EXPECT_EQ((*found)[0].groups,
              (std::vector<std::optional<std::u16string>>{std::nullopt, u"b", std::nullopt}));
    EXPECT_EQ((*found)[1].groups,
              (std::vector<std::optional<std::u16string>>{std::nullopt, std::nullopt, u"c"}));
}

// Every short pattern over the syntax characters either compiles or fails; none may crash or
// throw, whatever the subject.
TEST(TranslationRobustness, EveryShortPatternOfSyntaxCharacters) {
    const std::u16string alphabet = u"()[]{}\\^$.*+?|-,:=!<1bdsScux0a";
    const std::u16string subject = u"a1 b\r\n-{x}\u3000\xD800";
    ComScope com;
    std::u16string pattern(3, u' ');
    for (char16_t a : alphabet) {
        for (char16_t b : alphabet) {
            for (char16_t c : alphabet) {
                pattern[0] = a;
                pattern[1] = b;
                pattern[2] = c;
                (void)Execute(pattern, subject);
            }
        }
    }
}

}  // namespace
}  // namespace lumetra::platform
