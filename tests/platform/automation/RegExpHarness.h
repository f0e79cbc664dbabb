#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/automation/Com.h"

namespace lumetra::platform::testing {

struct Options {
    bool ignoreCase = false;
    bool multiline = false;
    bool global = true;
};

struct FoundMatch {
    std::int32_t firstIndex = 0;
    std::u16string value;
    std::vector<std::optional<std::u16string>> groups;  // nullopt: took no part
};

// Keeps COM initialised on this thread for one test.
class ComScope {
  public:
    ComScope() { CoInitialize(nullptr); }
    ~ComScope() { CoUninitialize(); }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
};

inline DispatchRef NewRegExp(const std::u16string& pattern, Options options) {
    DispatchRef re;
    EXPECT_EQ(CreateObject("VBScript.RegExp", &re), S_OK);
    EXPECT_EQ(PutProperty(re, "Pattern", pattern), S_OK);
    EXPECT_EQ(PutProperty(re, "IgnoreCase", options.ignoreCase), S_OK);
    EXPECT_EQ(PutProperty(re, "Multiline", options.multiline), S_OK);
    EXPECT_EQ(PutProperty(re, "Global", options.global), S_OK);
    return re;
}

inline std::optional<std::u16string> StringOf(const Variant& v) {
    return v.AsString() ? std::optional<std::u16string>(*v.AsString()) : std::nullopt;
}

inline std::int32_t IntOf(const Variant& v) {
    return v.AsInt32() ? *v.AsInt32() : -999;
}

// Everything Execute found, read through the object model; nullopt when Execute failed.
inline std::optional<std::vector<FoundMatch>> Execute(const std::u16string& pattern,
                                                      const std::u16string& subject,
                                                      Options options = {}) {
    const DispatchRef re = NewRegExp(pattern, options);
    Variant collection;
    const Variant args[] = {subject};
    if (Failed(CallMethod(re, "Execute", args, &collection))) {
        EXPECT_TRUE(collection.IsEmpty());
        return std::nullopt;
    }
    const DispatchRef matches = collection.AsObject();
    Variant count;
    EXPECT_EQ(GetProperty(matches, "Count", &count), S_OK);
    std::vector<FoundMatch> found;
    for (std::int32_t i = 0; i < IntOf(count); ++i) {
        Variant item;
        const Variant index[] = {i};
        EXPECT_EQ(GetProperty(matches, "Item", &item, index), S_OK);
        FoundMatch m;
        Variant value, first, subs, subCount;
        EXPECT_EQ(GetProperty(item.AsObject(), "Value", &value), S_OK);
        EXPECT_EQ(GetProperty(item.AsObject(), "FirstIndex", &first), S_OK);
        EXPECT_EQ(GetProperty(item.AsObject(), "SubMatches", &subs), S_OK);
        EXPECT_EQ(GetProperty(subs.AsObject(), "Count", &subCount), S_OK);
        m.value = StringOf(value).value_or(u"<not a string>");
        m.firstIndex = IntOf(first);
        for (std::int32_t j = 0; j < IntOf(subCount); ++j) {
            Variant sub;
            const Variant jIndex[] = {j};
            EXPECT_EQ(GetProperty(subs.AsObject(), "Item", &sub, jIndex), S_OK);
            m.groups.push_back(StringOf(sub));
        }
        found.push_back(std::move(m));
    }
    return found;
}

// Only the values, for tables that need nothing else.
inline std::optional<std::vector<std::u16string>> Values(const std::u16string& pattern,
                                                         const std::u16string& subject,
                                                         Options options = {}) {
    const auto found = Execute(pattern, subject, options);
    if (!found) {
        return std::nullopt;
    }
    std::vector<std::u16string> values;
    for (const FoundMatch& m : *found) {
        values.push_back(m.value);
    }
    return values;
}

}  // namespace lumetra::platform::testing
