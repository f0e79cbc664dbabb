#include "platform/codepage/GbkEncoder.h"

#include <unicode/ucnv.h>

#include <array>
#include <cstdint>

#include "platform/codepage/AsciiBlocks.h"
#include "platform/codepage/GbkConverter.h"

namespace lumetra::platform::detail {

namespace {

// Per BMP unit: a single byte below 0x100, else lead << 8 | trail (leads are 0x81 or more).
struct GbkTable {
    std::array<std::uint16_t, 65536> code{};
    bool valid = false;
};

GbkTable BuildTable() {
    GbkTable table;
    UConverter* converter = GbkConverter();
    if (!converter) {
        return table;
    }
    for (std::uint32_t unit = 0; unit < 65536; ++unit) {
        const auto u = static_cast<UChar>(unit);
        unsigned char out[8];
        UErrorCode error = U_ZERO_ERROR;
        ucnv_resetFromUnicode(converter);
        const int32_t length =
            ucnv_fromUChars(converter, reinterpret_cast<char*>(out), sizeof out, &u, 1, &error);
        if (U_FAILURE(error) || length < 1 || length > 2 || (length == 2 && out[0] < 0x81)) {
            return table;
        }
        table.code[unit] = static_cast<std::uint16_t>(length == 1 ? out[0] : out[0] << 8 | out[1]);
    }
    table.valid = true;
    return table;
}

const GbkTable& Table() {
    static const GbkTable table = BuildTable();
    return table;
}

bool IsLeadSurrogate(char16_t unit) {
    return (unit & 0xFC00) == 0xD800;
}
bool IsTrailSurrogate(char16_t unit) {
    return (unit & 0xFC00) == 0xDC00;
}

// One loop for sizing (no output) and encoding, so the two cannot disagree. Runs of ASCII,
// most of a page, go a block at a time.
template <bool kWrite>
std::size_t Encode(const char16_t* units, std::size_t count, char* output, std::size_t capacity) {
    const GbkTable& table = Table();
    if (!table.valid) {
        return kEncodeFailed;
    }
    std::size_t size = 0;
    std::size_t i = 0;
    while (i < count) {
        if (count - i >= kUnitBlock && (!kWrite || capacity - size >= kUnitBlock)) {
            const std::size_t ascii = LeadingAsciiUnits(units + i);
            if constexpr (kWrite) {
                // The whole block: the bytes past the ASCII ones are written again by what
                // follows.
                NarrowUnits(units + i, output + size);
            }
            size += ascii;
            i += ascii;
            if (ascii == kUnitBlock) {
                continue;
            }
        }
        // One unit, and then the rest of a run of non-ASCII ones: Chinese text comes in runs.
        do {
            std::uint16_t code = table.code[units[i]];
            if (IsLeadSurrogate(units[i]) && i + 1 < count && IsTrailSurrogate(units[i + 1])) {
                code = '?';  // code page 936 has no supplementary characters
                ++i;
            }
            ++i;
            const std::size_t length = code < 0x100 ? 1 : 2;
            if constexpr (kWrite) {
                if (capacity - size < length) {
                    return kEncodeFailed;
                }
                if (length == 1) {
                    output[size] = static_cast<char>(code);
                } else {
                    output[size] = static_cast<char>(code >> 8);
                    output[size + 1] = static_cast<char>(code & 0xFF);
                }
            }
            size += length;
        } while (i < count && units[i] >= 0x80);
    }
    return size;
}

}  // namespace

std::size_t GbkEncodedSize(const char16_t* units, std::size_t count) {
    return Encode<false>(units, count, nullptr, 0);
}

std::size_t GbkEncode(const char16_t* units, std::size_t count, char* output,
                      std::size_t capacity) {
    return Encode<true>(units, count, output, capacity);
}

}  // namespace lumetra::platform::detail
