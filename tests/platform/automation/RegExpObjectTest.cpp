#include <gtest/gtest.h>

#include "platform/automation/RegExpHarness.h"

namespace lumetra::platform {
namespace {

using testing::ComScope;
using testing::Execute;
using testing::IntOf;
using testing::NewRegExp;
using testing::StringOf;

class RegExpObject : public ::testing::Test {
  protected:
    ComScope com;

    static Variant Get(const DispatchRef& object, std::string_view name) {
        Variant value;
        EXPECT_EQ(GetProperty(object, name, &value), S_OK) << name;
        return value;
    }
    static Variant Item(const DispatchRef& collection, std::int32_t index) {
        Variant item;
        const Variant args[] = {index};
        EXPECT_EQ(GetProperty(collection, "Item", &item, args), S_OK);
        return item;
    }
    static DispatchRef Run(const DispatchRef& re, const std::u16string& subject) {
        Variant collection;
        const Variant args[] = {subject};
        EXPECT_EQ(CallMethod(re, "Execute", args, &collection), S_OK);
        return collection.AsObject();
    }
};

TEST_F(RegExpObject, PropertiesStartClearAndKeepWhatIsWritten) {
    DispatchRef re;
    ASSERT_EQ(CreateObject("VBScript.RegExp", &re), S_OK);
    for (const char* flag : {"IgnoreCase", "Multiline", "Global"}) {
        EXPECT_EQ(*Get(re, flag).AsBool(), false) << flag;
        EXPECT_EQ(PutProperty(re, flag, 1), S_OK) << flag;  // numbers convert
        EXPECT_EQ(*Get(re, flag).AsBool(), true) << flag;
        EXPECT_EQ(PutProperty(re, flag, u"no"), DISP_E_TYPEMISMATCH) << flag;
        EXPECT_EQ(*Get(re, flag).AsBool(), true) << flag;
    }
    EXPECT_EQ(*Get(re, "Pattern").AsString(), u"");
    EXPECT_EQ(PutProperty(re, "pattern", u"a+"), S_OK);  // names ignore case
    EXPECT_EQ(*Get(re, "PATTERN").AsString(), u"a+");
    EXPECT_EQ(PutProperty(re, "Pattern", 3), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(*Get(re, "Pattern").AsString(), u"a+");
}

TEST_F(RegExpObject, WriteToAMissingMemberFailsAndChangesNothing) {
    const DispatchRef re = NewRegExp(u"a.b", {});
    EXPECT_EQ(PutProperty(re, "Singleline", true), DISP_E_UNKNOWNNAME);
    const DispatchRef matches = Run(re, u"a\nb");
    EXPECT_EQ(IntOf(Get(matches, "Count")), 0);
}

TEST_F(RegExpObject, MembersAreReachedOnlyTheWayTheyAreMeant) {
    const DispatchRef re = NewRegExp(u"a", {});
    Variant result;
    EXPECT_EQ(PutProperty(re, "Execute", u"a"), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(GetProperty(re, "Execute", &result), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(CallMethod(re, "Execute", {}, &result), DISP_E_BADPARAMCOUNT);
    const Variant number[] = {5};
    EXPECT_EQ(CallMethod(re, "Execute", number, &result), DISP_E_TYPEMISMATCH);
    EXPECT_TRUE(result.IsEmpty());
}

TEST_F(RegExpObject, MatchAndSubmatchesInUtf16Units) {
    const DispatchRef matches =
        Run(NewRegExp(u"(\\d+)(x)?(\U0001F600)", {}), u"\u4E2D12\U0001F600");
    ASSERT_EQ(IntOf(Get(matches, "Count")), 1);
    const DispatchRef match = Item(matches, 0).AsObject();
    EXPECT_EQ(StringOf(Get(match, "Value")), u"12\U0001F600");
    EXPECT_EQ(IntOf(Get(match, "FirstIndex")), 1);
    EXPECT_EQ(IntOf(Get(match, "Length")), 4);
    const DispatchRef subs = Get(match, "SubMatches").AsObject();
    EXPECT_EQ(IntOf(Get(subs, "Count")), 3);
    EXPECT_EQ(StringOf(Item(subs, 0)), u"12");
    EXPECT_TRUE(Item(subs, 1).IsEmpty());  // took no part
    EXPECT_EQ(StringOf(Item(subs, 2)), u"\U0001F600");
}

TEST_F(RegExpObject, ItemOutsideTheCollectionFails) {
    const DispatchRef matches = Run(NewRegExp(u"(a)", {.global = true}), u"aa");
    const DispatchRef subs = Get(Item(matches, 0).AsObject(), "SubMatches").AsObject();
    for (const auto& [collection, count] : {std::pair{matches, 2}, std::pair{subs, 1}}) {
        for (const std::int32_t index : {-1, count}) {
            Variant item = u"stale";
            const Variant args[] = {index};
            EXPECT_EQ(GetProperty(collection, "Item", &item, args), DISP_E_BADINDEX) << index;
            EXPECT_TRUE(item.IsEmpty());
        }
        Variant item;
        EXPECT_EQ(CallMethod(collection, "Item", std::span<const Variant>{}, &item),
                  DISP_E_BADPARAMCOUNT);
    }
    // Item is the collections' default member: a method call reaches it too.
    Variant item;
    const Variant one[] = {1};
    EXPECT_EQ(CallMethod(matches, "Item", one, &item), S_OK);
    EXPECT_EQ(IntOf(Get(item.AsObject(), "FirstIndex")), 1);
}

TEST_F(RegExpObject, InvalidOrUnsupportedPatternsFailOnlyWhenUsed) {
    for (const char16_t* pattern : {u"(a", u"(a)\\1", u"a(?=b)"}) {
        DispatchRef re;
        ASSERT_EQ(CreateObject("VBScript.RegExp", &re), S_OK);
        EXPECT_EQ(PutProperty(re, "Pattern", pattern), S_OK);
        Variant result = u"stale";
        const Variant execute[] = {u"aab"};
        EXPECT_TRUE(Failed(CallMethod(re, "Execute", execute, &result)));
        EXPECT_TRUE(result.IsEmpty());
        const Variant replace[] = {u"aab", u"x"};
        EXPECT_TRUE(Failed(CallMethod(re, "Replace", replace, &result)));
        EXPECT_TRUE(result.IsEmpty());
    }
}

TEST_F(RegExpObject, OptionChangesTakeEffectOnTheNextExecute) {
    const DispatchRef re = NewRegExp(u"^a", {});
    EXPECT_EQ(IntOf(Get(Run(re, u"b\nA"), "Count")), 0);
    PutProperty(re, "IgnoreCase", true);
    EXPECT_EQ(IntOf(Get(Run(re, u"b\nA"), "Count")), 0);
    PutProperty(re, "Multiline", true);
    EXPECT_EQ(IntOf(Get(Run(re, u"b\nA"), "Count")), 1);
    PutProperty(re, "Pattern", u"b");
    EXPECT_EQ(IntOf(Get(Run(re, u"b\nA"), "Count")), 1);
    PutProperty(re, "Global", true);
    EXPECT_EQ(IntOf(Get(Run(re, u"bb"), "Count")), 2);
}

TEST_F(RegExpObject, ResultsOutliveTheObjectsThatMadeThemAndAreReleasedAfter) {
    std::weak_ptr<Dispatch> watch;
    DispatchRef match;
    {
        DispatchRef re = NewRegExp(u"b", {});
        DispatchRef matches = Run(re, u"ab");
        watch = matches;
        match = Item(matches, 0).AsObject();
        PutProperty(re, "Pattern", u"zzz");  // an earlier collection does not change
        EXPECT_EQ(IntOf(Get(matches, "Count")), 1);
    }
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(StringOf(Get(match, "Value")), u"b");
    EXPECT_EQ(IntOf(Get(match, "FirstIndex")), 1);
}

TEST_F(RegExpObject, LoneSurrogatesKeepTheirUnitsInValues) {
    const auto found = Execute(u"(.)(.)",
                               u"\xD800\xDC00\xDC00"
                               u"a");
    ASSERT_TRUE(found.has_value());
    ASSERT_EQ(found->size(), 1u);
    EXPECT_EQ((*found)[0].value, u"\xD800\xDC00\xDC00");
    EXPECT_EQ((*found)[0].groups[1], u"\xDC00");
}

struct ReplaceCase {
    const char16_t* pattern;
    bool global;
    const char16_t* subject;
    const char16_t* replacement;
    const char16_t* expected;
};

void PrintTo(const ReplaceCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(std::u16string(c.pattern)) << " "
        << ::testing::PrintToString(std::u16string(c.replacement));
}

const ReplaceCase kReplaceCases[] = {
    {u"a", true, u"aXa", u"b", u"bXb"},
    {u"a", false, u"aXa", u"b", u"bXa"},
    {u"(\\d+)-(\\d+)", true, u"12-34", u"$2-$1", u"34-12"},
    {u"b", true, u"abc", u"[$&]", u"a[b]c"},
    {u"b", true, u"abc", u"<$`|$'>", u"a<a|c>c"},
    {u"b", true, u"abc", u"$$", u"a$c"},
    {u"(b)", true, u"abc", u"$0$2$x$", u"a$0$2$x$c"},  // no such reference: kept as written
    {u"(b)", true, u"abc", u"$10", u"ab0c"},           // no group 10: group 1, then "0"
    {u"(b)", true, u"abc", u"$01", u"abc"},
    {u"(a)|(b)", true, u"b", u"[$1]", u"[]"},
    {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)", true, u"abcdefghijk", u"$11$1", u"ka"},
    {u"x*", true, u"abc", u"-", u"-a-b-c-"},
    {u"b", true, u"\u4E2D\U0001F600b", u"c", u"\u4E2D\U0001F600c"},
    {u"z", true, u"abc", u"x", u"abc"},
    {u"c$", true, u"abc\r\nc", u"C", u"abC\r\nC"},
};

class RegExpReplace : public ::testing::TestWithParam<ReplaceCase> {
  protected:
    ComScope com;
};

TEST_P(RegExpReplace, FollowsEcmaScriptReplacementRules) {
    const ReplaceCase& c = GetParam();
    const DispatchRef re = NewRegExp(c.pattern, {.multiline = true, .global = c.global});
    Variant result;
    const Variant args[] = {c.subject, c.replacement};
    ASSERT_EQ(CallMethod(re, "Replace", args, &result), S_OK);
    EXPECT_EQ(StringOf(result), std::u16string(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, RegExpReplace, ::testing::ValuesIn(kReplaceCases));

}  // namespace
}  // namespace lumetra::platform
