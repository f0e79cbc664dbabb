#include "platform/automation/MatchObjects.h"

#include <array>
#include <cmath>
#include <string_view>

#include "platform/automation/Dispatch.h"

namespace lumetra::platform::detail {

namespace {

bool IsGet(unsigned flags) {
    return flags == DISPATCH_PROPERTYGET;
}
// Item is the default member of a collection: callers reach it as a method or a property.
bool IsGetOrCall(unsigned flags) {
    return flags == DISPATCH_PROPERTYGET || flags == DISPATCH_METHOD;
}

// The index argument of Item, checked against `count`.
HRESULT IndexArgument(std::span<const Variant> args, std::size_t count, std::size_t& index) {
    if (args.size() != 1) {
        return DISP_E_BADPARAMCOUNT;
    }
    const std::optional<double> number = args[0].ToNumber();
    if (!number || args[0].AsBool()) {
        return DISP_E_TYPEMISMATCH;
    }
    const double rounded = std::nearbyint(*number);
    if (!(rounded >= 0 && rounded < static_cast<double>(count))) {
        return DISP_E_BADINDEX;
    }
    index = static_cast<std::size_t>(rounded);
    return S_OK;
}

std::u16string Span(const MatchTable& table, std::int32_t begin, std::int32_t end) {
    return table.subject.substr(static_cast<std::size_t>(begin),
                                static_cast<std::size_t>(end - begin));
}

class SubMatches final : public Dispatch {
  public:
    SubMatches(std::shared_ptr<const MatchTable> table, std::size_t match)
        : table_(std::move(table)), match_(match) {}

  protected:
    std::span<const std::string_view> MemberNames() const noexcept override { return kNames; }

    HRESULT InvokeMember(DISPID id, unsigned flags, std::span<const Variant> args,
                         Variant& result) override {
        if (id == kCount && IsGet(flags) && args.empty()) {
            result = static_cast<std::int32_t>(table_->groupCount);
            return S_OK;
        }
        if (id == kItem && IsGetOrCall(flags)) {
            std::size_t j = 0;
            const HRESULT hr = IndexArgument(args, static_cast<std::size_t>(table_->groupCount), j);
            if (Failed(hr)) {
                return hr;
            }
            const std::span<const std::int32_t> bounds = table_->Match(match_);
            const std::int32_t begin = bounds[2 * (j + 1)];
            // A group that took no part is empty, not an empty string.
            result = begin < 0 ? Variant{} : Variant(Span(*table_, begin, bounds[2 * (j + 1) + 1]));
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

  private:
    enum : DISPID { kCount, kItem };
    static constexpr std::array<std::string_view, 2> kNames = {"Count", "Item"};

    std::shared_ptr<const MatchTable> table_;
    std::size_t match_;
};

class Match final : public Dispatch {
  public:
    Match(std::shared_ptr<const MatchTable> table, std::size_t match)
        : table_(std::move(table)), match_(match) {}

  protected:
    std::span<const std::string_view> MemberNames() const noexcept override { return kNames; }

    HRESULT InvokeMember(DISPID id, unsigned flags, std::span<const Variant> args,
                         Variant& result) override {
        if (!IsGet(flags) || !args.empty()) {
            return DISP_E_MEMBERNOTFOUND;
        }
        const std::span<const std::int32_t> bounds = table_->Match(match_);
        switch (id) {
            case kValue:
                result = Span(*table_, bounds[0], bounds[1]);
                return S_OK;
            case kFirstIndex:
                result = bounds[0];
                return S_OK;
            case kLength:
                result = bounds[1] - bounds[0];
                return S_OK;
            case kSubMatches:
                result = DispatchRef(std::make_shared<SubMatches>(table_, match_));
                return S_OK;
            default:
                return DISP_E_MEMBERNOTFOUND;
        }
    }

  private:
    enum : DISPID { kValue, kFirstIndex, kLength, kSubMatches };
    static constexpr std::array<std::string_view, 4> kNames = {"Value", "FirstIndex", "Length",
                                                               "SubMatches"};

    std::shared_ptr<const MatchTable> table_;
    std::size_t match_;
};

class MatchCollection final : public Dispatch {
  public:
    explicit MatchCollection(std::shared_ptr<const MatchTable> table) : table_(std::move(table)) {}

  protected:
    std::span<const std::string_view> MemberNames() const noexcept override { return kNames; }

    HRESULT InvokeMember(DISPID id, unsigned flags, std::span<const Variant> args,
                         Variant& result) override {
        if (id == kCount && IsGet(flags) && args.empty()) {
            result = static_cast<std::int32_t>(table_->Count());
            return S_OK;
        }
        if (id == kItem && IsGetOrCall(flags)) {
            std::size_t i = 0;
            const HRESULT hr = IndexArgument(args, table_->Count(), i);
            if (Failed(hr)) {
                return hr;
            }
            result = DispatchRef(std::make_shared<Match>(table_, i));
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

  private:
    enum : DISPID { kCount, kItem };
    static constexpr std::array<std::string_view, 2> kNames = {"Count", "Item"};

    std::shared_ptr<const MatchTable> table_;
};

}  // namespace

DispatchRef NewMatchCollection(std::shared_ptr<const MatchTable> table) {
    return std::make_shared<MatchCollection>(std::move(table));
}

}  // namespace lumetra::platform::detail
