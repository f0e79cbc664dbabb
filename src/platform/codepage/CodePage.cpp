#include "platform/codepage/CodePage.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <limits>

#include "platform/codepage/GbkConverter.h"
#include "platform/codepage/GbkEncoder.h"
#include "platform/codepage/Utf8Decoder.h"

namespace lumetra::platform {

namespace {

constexpr UChar32 kReplacement = 0xFFFD;

// Windows refuses empty or negatively sized input, negative capacities, and a capacity
// without a buffer.
bool ArgumentsValid(const void* input, int inputSize, const void* output, int outputSize) {
    return input && inputSize > 0 && outputSize >= 0 && (output || outputSize == 0);
}

// ICU reports a size needed when asked with capacity 0; any other overflow is a failure.
int Result(UErrorCode error, int32_t length, int outputSize) {
    if (error == U_BUFFER_OVERFLOW_ERROR && outputSize == 0) {
        return length;
    }
    return U_FAILURE(error) ? 0 : length;
}

// Counts beyond what an int holds, and failures (kOutputTooSmall...), are 0.
int ToInt(std::size_t count) {
    return count > static_cast<std::size_t>(std::numeric_limits<int>::max())
               ? 0
               : static_cast<int>(count);
}

int Utf8ToUnits(const char* input, int inputBytes, char16_t* output, int outputUnits) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(input);
    const auto count = static_cast<std::size_t>(inputBytes);
    const std::size_t units =
        outputUnits == 0
            ? detail::Utf16LengthOfValidUtf8(bytes, count)
            : detail::DecodeValidUtf8(bytes, count, output, static_cast<std::size_t>(outputUnits));
    if (units != detail::kInvalidUtf8) {
        return ToInt(units);
    }
    UErrorCode error = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8WithSub(output, outputUnits, &length, input, inputBytes, kReplacement, nullptr,
                         &error);
    return Result(error, length, outputUnits);
}

int GbkToUnits(const char* input, int inputBytes, char16_t* output, int outputUnits) {
    UConverter* converter = detail::GbkConverter();
    if (!converter) {
        return 0;
    }
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(converter, output, outputUnits, input, inputBytes, &error);
    return Result(error, length, outputUnits);
}

int UnitsToGbk(const char16_t* input, int inputUnits, char* output, int outputBytes) {
    const auto count = static_cast<std::size_t>(inputUnits);
    return ToInt(outputBytes == 0 ? detail::GbkEncodedSize(input, count)
                                  : detail::GbkEncode(input, count, output,
                                                      static_cast<std::size_t>(outputBytes)));
}

}  // namespace

int MultiByteToWideChar(unsigned codePage, unsigned long flags, const char* input, int inputBytes,
                        char16_t* output, int outputUnits) {
    if (flags != 0 || !ArgumentsValid(input, inputBytes, output, outputUnits)) {
        return 0;
    }
    switch (codePage) {
        case CP_UTF8:
            return Utf8ToUnits(input, inputBytes, output, outputUnits);
        case CP_GBK:
            return GbkToUnits(input, inputBytes, output, outputUnits);
        default:
            return 0;
    }
}

int WideCharToMultiByte(unsigned codePage, unsigned long flags, const char16_t* input,
                        int inputUnits, char* output, int outputBytes) {
    if (codePage != CP_GBK || flags != 0 ||
        !ArgumentsValid(input, inputUnits, output, outputBytes)) {
        return 0;
    }
    return UnitsToGbk(input, inputUnits, output, outputBytes);
}

}  // namespace lumetra::platform
