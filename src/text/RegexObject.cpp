#include "text/RegexObject.h"

#include <cmath>

#include "platform/automation/Com.h"
#include "platform/codepage/CodePage.h"
#include "text/TextOps.h"

namespace lumetra {

namespace {

using platform::DispatchRef;
using platform::Variant;

constexpr Position kNoPosition = -2;

Variant Get(const DispatchRef& object, std::string_view name, std::span<const Variant> args = {}) {
    Variant value;
    platform::GetProperty(object, name, &value, args);
    return value;
}

// An item of a collection by its 1-based number.
Variant ItemNumber(const DispatchRef& collection, int number) {
    if (number < 1) {
        return {};
    }
    const Variant index[] = {static_cast<std::int32_t>(number - 1)};
    return Get(collection, "Item", index);
}

Text AsText(const Variant& value) {
    const std::u16string* text = value.AsString();
    return text ? platform::Utf16ToGbk(*text) : Text{};
}

int AsCount(const Variant& value) {
    const std::optional<double> number = value.ToNumber();
    if (!number || !(std::abs(*number) < 2147483648.0)) {
        return 0;
    }
    return static_cast<int>(std::trunc(*number));
}

}  // namespace

RegexObject::RegexObject() {
    platform::CoInitialize(nullptr);
}

RegexObject::~RegexObject() {
    regExp_.reset();
    matches_.reset();
    subject_ = Variant{};
    platform::CoUninitialize();
}

bool RegexObject::Create(const Text& pattern, const Text& subject,
                         std::optional<bool> caseSensitive, std::optional<bool> multiline,
                         std::optional<bool> global, std::optional<bool> quoteSubstitution) {
    const bool ignoreCase = !caseSensitive.value_or(false);
    regExp_.reset();
    matches_.reset();
    platform::CreateObject("VBScript.RegExp", &regExp_);
    platform::PutProperty(regExp_, "IgnoreCase", ignoreCase);
    platform::PutProperty(regExp_, "Multiline", multiline.value_or(true));
    // The object has no such member: the write fails and "." keeps stopping at line breaks.
    platform::PutProperty(regExp_, "Singleline", true);
    platform::PutProperty(regExp_, "Global", global.value_or(true));
    const Text compiled =
        quoteSubstitution.value_or(false) ? Replace(pattern, kQuotePlaceholder, "\"") : pattern;
    platform::PutProperty(regExp_, "Pattern", platform::GbkToUtf16(compiled));
    subject_ = platform::GbkToUtf16(subject);
    Variant collection;
    platform::CallMethod(regExp_, "Execute", std::span<const Variant>(&subject_, 1), &collection);
    matches_ = collection.AsObject();
    return matches_ != nullptr;
}

Text RegexObject::GetPattern() {
    if (!regExp_) {
        return {};
    }
    return AsText(Get(regExp_, "Pattern"));
}

Text RegexObject::ReplaceMatches(const Text& replacement) {
    const Variant args[] = {subject_, platform::GbkToUtf16(replacement)};
    Variant replaced;
    platform::CallMethod(regExp_, "Replace", args, &replaced);
    return AsText(replaced);
}

int RegexObject::MatchCount() {
    return AsCount(Get(matches_, "Count"));
}

Variant RegexObject::Match(int i) {
    return ItemNumber(matches_, i);
}

Text RegexObject::MatchText(int i, Position* position) {
    const Variant match = Match(i);
    const Text text = AsText(Get(match.AsObject(), "Value"));
    if (position) {
        *position = match.AsObject() ? Locate(match, text) : kNoPosition;
    }
    return text;
}

Text RegexObject::SubmatchText(int i, int j, Position* position) {
    const Variant match = Match(i);
    const Variant submatch = ItemNumber(Get(match.AsObject(), "SubMatches").AsObject(), j);
    const Text text = AsText(submatch);
    if (position) {
        // A group that took no part has no place to report.
        *position = submatch.AsString() ? Locate(match, text) : kNoPosition;
    }
    return text;
}

int RegexObject::SubmatchCount() {
    return AsCount(Get(Get(Match(1).AsObject(), "SubMatches").AsObject(), "Count"));
}

// The 0-based byte offset of `found` in the GBK subject, searched from the start of `match`.
// FirstIndex counts UTF-16 units, so it becomes the GBK length of the subject's first
// FirstIndex units: used as a byte offset itself, it would land before the match after
// double-byte characters and behind it after characters outside the BMP.
Position RegexObject::Locate(const Variant& match, const Text& found) {
    const std::u16string* subject = subject_.AsString();
    const int firstIndex = AsCount(Get(match.AsObject(), "FirstIndex"));
    if (!subject || firstIndex < 0 || static_cast<std::size_t>(firstIndex) > subject->size()) {
        return kNoPosition;
    }
    const Text gbkSubject = platform::Utf16ToGbk(*subject);
    const auto start = static_cast<Position>(
        platform::Utf16ToGbk(std::u16string_view(*subject).substr(0, firstIndex)).size());
    if (found.empty()) {
        return start;  // an empty text sits right where the match begins
    }
    const bool ignoreCase = Get(regExp_, "IgnoreCase").ToBool().value_or(false);
    const Position at = Find(gbkSubject, found, start + 1, ignoreCase);
    return at == kNotFound ? kNoPosition : at - 1;
}

}  // namespace lumetra
