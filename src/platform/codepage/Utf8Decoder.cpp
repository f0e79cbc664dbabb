#include "platform/codepage/Utf8Decoder.h"

#include <cstdint>

#include "platform/codepage/AsciiBlocks.h"

namespace lumetra::platform::detail {

namespace {

bool InRange(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

// The length of the valid sequence at `bytes` (lead byte 0x80 or more), 0 when invalid:
// no overlongs, no surrogates, nothing above U+10FFFF, nothing cut off.
[[gnu::always_inline]] inline std::size_t SequenceLength(const unsigned char* bytes,
                                                         std::size_t left) {
    const unsigned char lead = bytes[0];
    if (InRange(lead, 0xE1, 0xEF) && lead != 0xED && left >= 3) {
        // most of the BMP, all of the common Chinese characters
        return ((bytes[1] & 0xC0) == 0x80 && (bytes[2] & 0xC0) == 0x80) ? 3 : 0;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;   // range of the second byte
    unsigned char high = 0xBF;  // later bytes are 80..BF
    if (InRange(lead, 0xC2, 0xDF)) {
        length = 2;
    } else if (InRange(lead, 0xE0, 0xEF)) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (InRange(lead, 0xF0, 0xF4)) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (left < length || !InRange(bytes[1], low, high)) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (!InRange(bytes[k], 0x80, 0xBF)) {
            return 0;
        }
    }
    return length;
}

// Writes the valid sequence of `length` bytes as one or two units.
[[gnu::always_inline]] inline void DecodeSequence(const unsigned char* bytes, std::size_t length,
                                                  char16_t* output) {
    if (length == 3) {
        output[0] = static_cast<char16_t>((bytes[0] & 0x0F) << 12 | (bytes[1] & 0x3F) << 6 |
                                          (bytes[2] & 0x3F));
        return;
    }
    std::uint32_t code = bytes[0] & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        code = code << 6 | (bytes[k] & 0x3F);
    }
    if (code < 0x10000) {
        output[0] = static_cast<char16_t>(code);
    } else {
        code -= 0x10000;
        output[0] = static_cast<char16_t>(0xD800 | code >> 10);
        output[1] = static_cast<char16_t>(0xDC00 | (code & 0x3FF));
    }
}

// One loop for counting (no output) and decoding, so the two cannot disagree.
template <bool kWrite>
std::size_t Decode(const unsigned char* bytes, std::size_t count, char16_t* output,
                   std::size_t capacity) {
    std::size_t units = 0;
    std::size_t i = 0;
    while (i < count) {
        if (count - i >= kByteBlock) {
            const std::size_t ascii = LeadingAsciiBytes(bytes + i);
            if constexpr (kWrite) {
                // The whole block when it fits: the units past the ASCII ones are written
                // again by what follows.
                if (capacity - units >= kByteBlock) {
                    WidenBytes(bytes + i, output + units);
                } else if (capacity - units >= ascii) {
                    for (std::size_t k = 0; k < ascii; ++k) {
                        output[units + k] = bytes[i + k];
                    }
                } else {
                    return kOutputTooSmall;
                }
            }
            units += ascii;
            i += ascii;
        } else if (bytes[i] < 0x80) {
            if constexpr (kWrite) {
                if (capacity == units) {
                    return kOutputTooSmall;
                }
                output[units] = bytes[i];
            }
            ++units;
            ++i;
        }
        // Chinese text comes in runs; staying in this loop spares a word test per character.
        while (i < count && bytes[i] >= 0x80) {
            const std::size_t length = SequenceLength(bytes + i, count - i);
            if (length == 0) {
                return kInvalidUtf8;
            }
            const std::size_t produced = length == 4 ? 2 : 1;
            if constexpr (kWrite) {
                if (capacity - units < produced) {
                    return kOutputTooSmall;
                }
                DecodeSequence(bytes + i, length, output + units);
            }
            units += produced;
            i += length;
        }
    }
    return units;
}

}  // namespace

std::size_t Utf16LengthOfValidUtf8(const unsigned char* bytes, std::size_t count) {
    return Decode<false>(bytes, count, nullptr, 0);
}

std::size_t DecodeValidUtf8(const unsigned char* bytes, std::size_t count, char16_t* output,
                            std::size_t capacity) {
    return Decode<true>(bytes, count, output, capacity);
}

}  // namespace lumetra::platform::detail
