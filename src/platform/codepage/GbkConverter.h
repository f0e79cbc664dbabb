#pragma once

struct UConverter;

// The code-page 936 converter behind the stand-in, private to this folder.
namespace lumetra::platform::detail {

// This thread's converter, reset and set up to write "?" for what code page 936 lacks and
// U+FFFD for invalid bytes; null when ICU cannot open it. Converters are not thread-safe,
// hence one per thread.
UConverter* GbkConverter();

}  // namespace lumetra::platform::detail
