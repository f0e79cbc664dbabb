#include "platform/automation/Utf8Subject.h"

namespace lumetra::platform::detail {

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string Utf8ForMatching(std::u16string_view subject) {
    std::string out;
    out.reserve(subject.size() + subject.size() / 2);
    for (std::size_t i = 0; i < subject.size(); ++i) {
        const char32_t unit = subject[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < subject.size() &&
            subject[i + 1] >= 0xDC00 && subject[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (subject[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, unit);
        }
    }
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
