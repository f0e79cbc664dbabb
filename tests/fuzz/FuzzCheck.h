#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// A broken property aborts, so libFuzzer records the input as a crash.
#define FUZZ_CHECK(condition)                                                            \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            std::fprintf(stderr, "%s:%d: property failed: %s\n%s\n", __FILE__, __LINE__, \
                         #condition, ::lumetra::fuzz::Context().c_str());                \
            std::abort();                                                                \
        }                                                                                \
    } while (false)

namespace lumetra::fuzz {

// What a target wants printed beside a broken property, e.g. the input in readable form.
inline std::string& Context() {
    static std::string context;
    return context;
}

inline std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
        hex += ' ';
    }
    return hex;
}

// Where characters begin when a text is read from its first byte: a byte of 128 or more
// takes the next byte with it. The size of the text is a boundary too.
inline std::vector<bool> CharBoundaries(std::string_view text) {
    std::vector<bool> boundary(text.size() + 1, false);
    std::size_t i = 0;
    while (i < text.size()) {
        boundary[i] = true;
        i += (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size()) ? 2 : 1;
    }
    boundary[text.size()] = true;
    return boundary;
}

// Whether every byte of 128 or more that starts a character is followed by a GBK second
// byte. The code-page functions read any other lead byte as a character of its own, while
// the text operations still pair it with the next byte, so the two views of such a text
// disagree on where characters end.
inline bool IsPairedGbk(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            if (i + 1 == text.size()) {
                return false;
            }
            const auto trail = static_cast<unsigned char>(text[++i]);
            if (trail < 0x40 || trail == 0x7F || trail == 0xFF) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace lumetra::fuzz
