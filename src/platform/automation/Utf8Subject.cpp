#include "platform/automation/Utf8Subject.h"

namespace lumetra::platform::detail {

namespace {

// Writes `c` at `out` and returns the end; the buffer holds at least three bytes per unit.
char* PutUtf8(char* out, char32_t c) {
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

}  // namespace

std::string Utf8ForMatching(std::u16string_view subject) {
    // Written through a pointer: appending byte by byte costs more than the matching itself.
    std::string out(subject.size() * 3, '\0');
    char* const begin = out.data();
    char* at = begin;
    const std::size_t n = subject.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t unit = subject[i];
        if (unit < 0x80) {
            *at++ = static_cast<char>(unit);
        } else if (unit < 0xD800 || unit > 0xDFFF) {
            at = PutUtf8(at, unit);
        } else if (unit <= 0xDBFF && i + 1 < n && subject[i + 1] >= 0xDC00 &&
                   subject[i + 1] <= 0xDFFF) {
            at = PutUtf8(at, 0x10000 + ((unit - 0xD800) << 10) + (subject[i + 1] - 0xDC00));
            ++i;
        } else {
            at = PutUtf8(at, 0xFFFD);
        }
    }
    out.resize(static_cast<std::size_t>(at - begin));
    return out;
}

std::size_t Utf16Length(std::string_view utf8) noexcept {
    // Each character has one byte outside 80..BF; four-byte ones take two units.
    std::size_t units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        units += (byte & 0xC0) != 0x80;
        units += byte >= 0xF0;
    }
    return units;
}

std::size_t Utf8CharLength(char lead) noexcept {
    const auto byte = static_cast<unsigned char>(lead);
    if (byte < 0xC0) {
        return 1;
    }
    if (byte < 0xE0) {
        return 2;
    }
    return byte < 0xF0 ? 3 : 4;
}

}  // namespace lumetra::platform::detail
