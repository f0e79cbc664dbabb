#include <limits>

#include "platform/codepage/CodePage.h"

namespace lumetra::platform {

namespace {

// Each conversion yields at most `perInputUnit` output units per input unit, so one call
// into a buffer of that size does the work; the buffer is then cut to what was written.
template <typename Out, typename In, typename Convert>
Out ConvertWhole(In input, std::size_t perInputUnit, Convert convert) {
    if (input.empty() || input.size() > std::numeric_limits<int>::max() / perInputUnit) {
        return {};
    }
    const int size = static_cast<int>(input.size());
    Out output(input.size() * perInputUnit, typename Out::value_type{});
    const int written = convert(input.data(), size, output.data(), static_cast<int>(output.size()));
    output.resize(static_cast<std::size_t>(written));
    return output;
}

}  // namespace

std::u16string GbkToUtf16(std::string_view gbk) {
    return ConvertWhole<std::u16string>(gbk, 1, [](const char* in, int n, char16_t* out, int cap) {
        return MultiByteToWideChar(CP_GBK, 0, in, n, out, cap);
    });
}

std::string Utf16ToGbk(std::u16string_view utf16) {
    return ConvertWhole<std::string>(utf16, 2, [](const char16_t* in, int n, char* out, int cap) {
        return WideCharToMultiByte(CP_GBK, 0, in, n, out, cap);
    });
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    return ConvertWhole<std::u16string>(utf8, 1, [](const char* in, int n, char16_t* out, int cap) {
        return MultiByteToWideChar(CP_UTF8, 0, in, n, out, cap);
    });
}

}  // namespace lumetra::platform
