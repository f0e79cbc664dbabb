#pragma once

// Stand-in for the Windows code-page functions, shaped like them: called with no output
// buffer (capacity 0) they return the size needed; otherwise the units or bytes written,
// 0 on failure. Code pages: 65001 (UTF-8) and 936 (GBK). Failures: another code page, flags
// other than 0, empty input, a negative size (-1 for NUL-terminated input is not taken), a
// capacity without a buffer, and a buffer too small. The buffer is the callee's up to its
// capacity: past the count returned its contents are unspecified.
namespace lumetra::platform {

inline constexpr unsigned CP_UTF8 = 65001;
inline constexpr unsigned CP_GBK = 936;

// Multi-byte to UTF-16. Invalid input becomes U+FFFD.
int MultiByteToWideChar(unsigned codePage, unsigned long flags, const char* input, int inputBytes,
                        char16_t* output, int outputUnits);

// UTF-16 to multi-byte. What the code page lacks becomes "?".
int WideCharToMultiByte(unsigned codePage, unsigned long flags, const char16_t* input,
                        int inputUnits, char* output, int outputBytes);

}  // namespace lumetra::platform

#include <string>
#include <string_view>

namespace lumetra::platform {

// Conveniences over the two functions above, for the layers that hand texts to UTF-16
// consumers (the regular-expression object, the Qt host).
std::u16string GbkToUtf16(std::string_view gbk);
std::string Utf16ToGbk(std::u16string_view utf16);
std::u16string Utf8ToUtf16(std::string_view utf8);

}  // namespace lumetra::platform
