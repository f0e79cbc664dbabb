#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace lumetra::platform {

class Dispatch;

// A counted reference to an automation object; resetting it releases the object.
using DispatchRef = std::shared_ptr<Dispatch>;

// The automation variant: empty, boolean, 32-bit integer, double, UTF-16 string or object.
class Variant {
  public:
    enum class Type { Empty, Bool, Int32, Double, String, Object };

    Variant() = default;
    Variant(bool value) : value_(value) {}
    Variant(std::int32_t value) : value_(value) {}
    Variant(double value) : value_(value) {}
    Variant(std::u16string value) : value_(std::move(value)) {}
    // Without these a string literal would become a boolean.
    Variant(const char16_t* value) : value_(std::u16string(value)) {}
    Variant(const char*) = delete;
    Variant(DispatchRef value) : value_(std::move(value)) {}

    Type type() const noexcept { return static_cast<Type>(value_.index()); }
    bool IsEmpty() const noexcept { return type() == Type::Empty; }

    // The held value when it is of that type, else null.
    const bool* AsBool() const noexcept { return std::get_if<bool>(&value_); }
    const std::int32_t* AsInt32() const noexcept { return std::get_if<std::int32_t>(&value_); }
    const double* AsDouble() const noexcept { return std::get_if<double>(&value_); }
    const std::u16string* AsString() const noexcept { return std::get_if<std::u16string>(&value_); }
    DispatchRef AsObject() const noexcept;

    // Coercions a late-bound call applies to its arguments: numbers and booleans convert
    // into each other (any non-zero number is true); nothing else converts.
    std::optional<bool> ToBool() const noexcept;
    std::optional<double> ToNumber() const noexcept;

  private:
    std::variant<std::monostate, bool, std::int32_t, double, std::u16string, DispatchRef> value_;
};

}  // namespace lumetra::platform
