#include "text/Utf8ToGbk.h"

#include <cstring>
#include <limits>
#include <memory>

#include "platform/codepage/CodePage.h"

namespace lumetra {

Text Utf8ToGbk(const Bytes& bytes) {
    using platform::CP_GBK;
    using platform::CP_UTF8;
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return {};
    }
    const auto* input = reinterpret_cast<const char*>(bytes.data());
    const int inputBytes = static_cast<int>(bytes.size());

    const int n = platform::MultiByteToWideChar(CP_UTF8, 0, input, inputBytes, nullptr, 0);
    if (n <= 0 || n == std::numeric_limits<int>::max()) {
        return {};
    }
    // n + 1 units, the last one 0 so the terminator goes through the conversion. The
    // conversion writes the first n, so only the last is cleared: zeroing all of a large
    // page's buffer first would be a pass of its own.
    const auto wide = std::make_unique_for_overwrite<char16_t[]>(static_cast<std::size_t>(n) + 1);
    wide[static_cast<std::size_t>(n)] = u'\0';
    if (platform::MultiByteToWideChar(CP_UTF8, 0, input, inputBytes, wide.get(), n) != n) {
        return {};
    }

    const int m = platform::WideCharToMultiByte(CP_GBK, 0, wide.get(), n + 1, nullptr, 0);
    if (m <= 0) {
        return {};
    }
    Text text(static_cast<std::size_t>(m), '\0');
    if (platform::WideCharToMultiByte(CP_GBK, 0, wide.get(), n + 1, text.data(), m) <= 0) {
        return {};
    }
    // Cut in place at the first NUL: the same text as a copy up to it, without the copy.
    text.resize(std::strlen(text.c_str()));
    return text;
}

}  // namespace lumetra
