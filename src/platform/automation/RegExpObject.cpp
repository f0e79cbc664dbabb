#include "platform/automation/RegExpObject.h"

#include <array>
#include <string_view>

#include "platform/automation/CompiledPattern.h"
#include "platform/automation/Dispatch.h"
#include "platform/automation/MatchObjects.h"
#include "platform/automation/Replacement.h"

namespace lumetra::platform::detail {

namespace {

// A string argument; an empty variant reads as the empty string.
const std::u16string* StringArgument(const Variant& value) {
    static const std::u16string kEmpty;
    return value.IsEmpty() ? &kEmpty : value.AsString();
}

class RegExp final : public Dispatch {
  protected:
    std::span<const std::string_view> MemberNames() const noexcept override { return kNames; }

    HRESULT InvokeMember(DISPID id, unsigned flags, std::span<const Variant> args,
                         Variant& result) override {
        switch (id) {
            case kIgnoreCase:
                return Flag(ignoreCase_, flags, args, result);
            case kMultiline:
                return Flag(multiline_, flags, args, result);
            case kGlobal:
                return Flag(global_, flags, args, result);
            case kPattern:
                return PatternProperty(flags, args, result);
            case kExecute:
                return flags == DISPATCH_METHOD ? Execute(args, result) : DISP_E_MEMBERNOTFOUND;
            case kReplace:
                return flags == DISPATCH_METHOD ? Replace(args, result) : DISP_E_MEMBERNOTFOUND;
            default:
                return DISP_E_MEMBERNOTFOUND;
        }
    }

  private:
    enum : DISPID { kIgnoreCase, kMultiline, kGlobal, kPattern, kExecute, kReplace };
    static constexpr std::array<std::string_view, 6> kNames = {
        "IgnoreCase", "Multiline", "Global", "Pattern", "Execute", "Replace"};

    HRESULT Flag(bool& flag, unsigned flags, std::span<const Variant> args, Variant& result) {
        if (flags == DISPATCH_PROPERTYGET && args.empty()) {
            result = flag;
            return S_OK;
        }
        if (flags == DISPATCH_PROPERTYPUT && args.size() == 1) {
            const std::optional<bool> value = args[0].ToBool();
            if (!value) {
                return DISP_E_TYPEMISMATCH;
            }
            if (&flag != &global_ && flag != *value) {
                compiled_.reset();
            }
            flag = *value;
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

    HRESULT PatternProperty(unsigned flags, std::span<const Variant> args, Variant& result) {
        if (flags == DISPATCH_PROPERTYGET && args.empty()) {
            result = pattern_;
            return S_OK;
        }
        if (flags == DISPATCH_PROPERTYPUT && args.size() == 1) {
            const std::u16string* value = StringArgument(args[0]);
            if (!value) {
                return DISP_E_TYPEMISMATCH;
            }
            pattern_ = *value;
            compiled_.reset();
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

    // The pattern compiled with the current options, kept until one of them changes; null
    // when it does not compile.
    const CompiledPattern* Compiled() {
        if (!compiled_) {
            compiled_ = CompiledPattern::Compile(pattern_, ignoreCase_, multiline_);
        }
        return compiled_.get();
    }

    // The bounds of the matches in `subject`, or a failure for a pattern that does not
    // compile; the pattern is only looked at here, as the object does it.
    HRESULT Search(const std::u16string& subject, std::vector<std::int32_t>& bounds,
                   int& groupCount) {
        const CompiledPattern* compiled = Compiled();
        if (!compiled) {
            return E_FAIL;
        }
        std::optional<std::vector<std::int32_t>> found = compiled->FindAll(subject, global_);
        if (!found) {
            return E_FAIL;
        }
        bounds = std::move(*found);
        groupCount = compiled->GroupCount();
        return S_OK;
    }

    HRESULT Execute(std::span<const Variant> args, Variant& result) {
        if (args.size() != 1) {
            return DISP_E_BADPARAMCOUNT;
        }
        const std::u16string* subject = StringArgument(args[0]);
        if (!subject) {
            return DISP_E_TYPEMISMATCH;
        }
        auto table = std::make_shared<MatchTable>();
        const HRESULT hr = Search(*subject, table->bounds, table->groupCount);
        if (Failed(hr)) {
            return hr;
        }
        table->subject = *subject;
        result = NewMatchCollection(std::move(table));
        return S_OK;
    }

    HRESULT Replace(std::span<const Variant> args, Variant& result) {
        if (args.size() != 2) {
            return DISP_E_BADPARAMCOUNT;
        }
        const std::u16string* subject = StringArgument(args[0]);
        const std::u16string* replacement = StringArgument(args[1]);
        if (!subject || !replacement) {
            return DISP_E_TYPEMISMATCH;
        }
        std::vector<std::int32_t> bounds;
        int groupCount = 0;
        const HRESULT hr = Search(*subject, bounds, groupCount);
        if (Failed(hr)) {
            return hr;
        }
        result = ReplaceMatches(*subject, bounds, groupCount, *replacement);
        return S_OK;
    }

    bool ignoreCase_ = false;
    bool multiline_ = false;
    bool global_ = false;
    std::u16string pattern_;
    std::unique_ptr<CompiledPattern> compiled_;
};

}  // namespace

DispatchRef NewRegExp() {
    return std::make_shared<RegExp>();
}

}  // namespace lumetra::platform::detail
