#pragma once

#include <cstddef>

struct UConverter;

// The code-page 936 converter behind the stand-in, private to this folder.
namespace lumetra::platform::detail {

// This thread's converter, reset and set up to write "?" for what code page 936 lacks and
// U+FFFD for invalid bytes; null when ICU cannot open it. Converters are not thread-safe,
// hence one per thread.
UConverter* GbkConverter();

// Exactly the bytes the converter writes for `units` UTF-16 units, counted from a table of
// each unit's length rather than by converting: the sizing call would otherwise cost as much
// as the conversion.
std::size_t GbkEncodedSize(const char16_t* units, std::size_t count);

}  // namespace lumetra::platform::detail
