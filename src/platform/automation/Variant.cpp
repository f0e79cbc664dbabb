#include "platform/automation/Variant.h"

namespace lumetra::platform {

DispatchRef Variant::AsObject() const noexcept {
    const DispatchRef* object = std::get_if<DispatchRef>(&value_);
    return object ? *object : DispatchRef{};
}

std::optional<bool> Variant::ToBool() const noexcept {
    const std::optional<double> number = ToNumber();
    if (!number) {
        return std::nullopt;
    }
    return *number != 0.0;
}

std::optional<double> Variant::ToNumber() const noexcept {
    if (const bool* b = AsBool()) {
        // An automation true is -1.
        return *b ? -1.0 : 0.0;
    }
    if (const std::int32_t* i = AsInt32()) {
        return static_cast<double>(*i);
    }
    if (const double* d = AsDouble()) {
        return *d;
    }
    return std::nullopt;
}

}  // namespace lumetra::platform
