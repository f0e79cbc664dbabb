#pragma once

#include <cstddef>

// UTF-16 to code page 936 from a table of what the ICU converter writes for each BMP unit,
// built from that converter once per process. ICU's own conversion costs as much in the
// sizing call as in the conversion; the table makes sizing a count and both a fraction.
namespace lumetra::platform::detail {

inline constexpr std::size_t kEncodeFailed = static_cast<std::size_t>(-1);

// The bytes `units` encode to.
std::size_t GbkEncodedSize(const char16_t* units, std::size_t count);

// Encodes into `output`; kEncodeFailed when `capacity` is too small or the table could not
// be built.
std::size_t GbkEncode(const char16_t* units, std::size_t count, char* output, std::size_t capacity);

}  // namespace lumetra::platform::detail
