#pragma once

#include <cstddef>

// UTF-8 to UTF-16 for valid input, which pages nearly always are. It stops at the first
// invalid sequence and leaves that input to ICU, whose replacement rules then apply to the
// whole of it. ICU's own decoding costs a third of the page conversion; this costs half that.
namespace lumetra::platform::detail {

inline constexpr std::size_t kInvalidUtf8 = static_cast<std::size_t>(-1);
inline constexpr std::size_t kOutputTooSmall = static_cast<std::size_t>(-2);

// The units that valid `bytes` decode to, or kInvalidUtf8.
std::size_t Utf16LengthOfValidUtf8(const unsigned char* bytes, std::size_t count);

// Decodes valid `bytes` into `output`: the units written, kInvalidUtf8, or kOutputTooSmall.
std::size_t DecodeValidUtf8(const unsigned char* bytes, std::size_t count, char16_t* output,
                            std::size_t capacity);

}  // namespace lumetra::platform::detail
