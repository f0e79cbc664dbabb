#include "platform/codepage/GbkConverter.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

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

}  // namespace

UConverter* GbkConverter() {
    thread_local const std::unique_ptr<UConverter, ConverterCloser> converter = OpenGbk();
    if (converter) {
        ucnv_reset(converter.get());
    }
    return converter.get();
}

}  // namespace lumetra::platform::detail
