#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Fixed-size blocks for the ASCII runs that make up most of a page, so the converters touch
// them a block at a time instead of a character at a time. Private to this folder.
namespace lumetra::platform::detail {

inline constexpr std::size_t kByteBlock = 16;
inline constexpr std::size_t kUnitBlock = 8;

// How many of the kByteBlock bytes at `bytes` are ASCII before the first that is not.
inline std::size_t LeadingAsciiBytes(const unsigned char* bytes) {
#if defined(__SSE2__)
    const auto high = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes))));
    return high == 0 ? kByteBlock : static_cast<std::size_t>(std::countr_zero(high));
#else
    for (std::size_t i = 0; i < kByteBlock; ++i) {
        if (bytes[i] >= 0x80) {
            return i;
        }
    }
    return kByteBlock;
#endif
}

// The kByteBlock bytes at `bytes` as as many UTF-16 units (right for the ASCII ones).
inline void WidenBytes(const unsigned char* bytes, char16_t* units) {
#if defined(__SSE2__)
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    const __m128i zero = _mm_setzero_si128();
    _mm_storeu_si128(reinterpret_cast<__m128i*>(units), _mm_unpacklo_epi8(block, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(units + 8), _mm_unpackhi_epi8(block, zero));
#else
    for (std::size_t i = 0; i < kByteBlock; ++i) {
        units[i] = bytes[i];
    }
#endif
}

// How many of the kUnitBlock units at `units` are ASCII before the first that is not.
inline std::size_t LeadingAsciiUnits(const char16_t* units) {
#if defined(__SSE2__)
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
    const __m128i high = _mm_and_si128(block, _mm_set1_epi16(static_cast<short>(0xFF80)));
    const auto ascii =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())));
    const unsigned notAscii = ~ascii & 0xFFFF;  // two bits per unit
    return notAscii == 0 ? kUnitBlock : static_cast<std::size_t>(std::countr_zero(notAscii)) / 2;
#else
    for (std::size_t i = 0; i < kUnitBlock; ++i) {
        if (units[i] >= 0x80) {
            return i;
        }
    }
    return kUnitBlock;
#endif
}

// The kUnitBlock units at `units` as as many bytes (right for the ASCII ones).
inline void NarrowUnits(const char16_t* units, char* bytes) {
#if defined(__SSE2__)
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(bytes), _mm_packus_epi16(block, block));
#else
    for (std::size_t i = 0; i < kUnitBlock; ++i) {
        bytes[i] = static_cast<char>(units[i]);
    }
#endif
}

}  // namespace lumetra::platform::detail
