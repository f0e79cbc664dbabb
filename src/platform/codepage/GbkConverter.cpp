#include "platform/codepage/GbkConverter.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf16.h>

#include <array>
#include <cstdint>
#include <memory>

namespace lumetra::platform::detail {

namespace {

// Every invalid or unmapped byte sequence becomes one U+FFFD; ICU's own default would give
// U+001A for single bytes.
void WriteReplacement(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                      UConverterCallbackReason reason, UErrorCode* error) {
    if (reason > UCNV_IRREGULAR) {
        return;
    }
    static constexpr UChar kReplacement = 0xFFFD;
    *error = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &kReplacement, 1, 0, error);
}

// What code page 936 lacks becomes "?", default-ignorable characters (soft hyphen, zero-width
// space) included, which ICU's own callback would drop silently.
void WriteQuestionMark(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t, UChar32,
                       UConverterCallbackReason reason, UErrorCode* error) {
    if (reason > UCNV_IRREGULAR) {
        return;
    }
    *error = U_ZERO_ERROR;
    ucnv_cbFromUWriteBytes(args, "?", 1, 0, error);
}

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

std::unique_ptr<UConverter, ConverterCloser> OpenGbk() {
    UErrorCode error = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterCloser> converter(ucnv_open("windows-936", &error));
    if (U_FAILURE(error)) {
        return nullptr;
    }
    ucnv_setFromUCallBack(converter.get(), WriteQuestionMark, nullptr, nullptr, nullptr, &error);
    ucnv_setToUCallBack(converter.get(), WriteReplacement, nullptr, nullptr, nullptr, &error);
    if (U_FAILURE(error)) {
        return nullptr;
    }
    return converter;
}

// One bit per BMP unit: set when the unit encodes as two bytes, clear for one (ASCII, the
// single-byte euro sign, and "?" for what is missing or a lone surrogate).
using TwoByteTable = std::array<std::uint64_t, 65536 / 64>;

TwoByteTable BuildTwoByteTable() {
    TwoByteTable table{};
    UConverter* converter = GbkConverter();
    if (!converter) {
        return table;
    }
    for (std::uint32_t unit = 0; unit < 65536; ++unit) {
        const auto u = static_cast<UChar>(unit);
        char out[8];
        UErrorCode error = U_ZERO_ERROR;
        ucnv_resetFromUnicode(converter);
        const int32_t length = ucnv_fromUChars(converter, out, sizeof out, &u, 1, &error);
        if (U_SUCCESS(error) && length == 2) {
            table[unit / 64] |= std::uint64_t{1} << (unit % 64);
        }
    }
    return table;
}

}  // namespace

UConverter* GbkConverter() {
    thread_local const std::unique_ptr<UConverter, ConverterCloser> converter = OpenGbk();
    if (converter) {
        ucnv_reset(converter.get());
    }
    return converter.get();
}

std::size_t GbkEncodedSize(const char16_t* units, std::size_t count) {
    static const TwoByteTable table = BuildTwoByteTable();
    std::size_t size = count;
    for (std::size_t i = 0; i < count; ++i) {
        const char16_t unit = units[i];
        if (U16_IS_LEAD(unit) && i + 1 < count && U16_IS_TRAIL(units[i + 1])) {
            // code page 936 has no supplementary characters: the pair is one "?"
            --size;
            ++i;
        } else {
            size += (table[unit / 64] >> (unit % 64)) & 1;
        }
    }
    return size;
}

}  // namespace lumetra::platform::detail
