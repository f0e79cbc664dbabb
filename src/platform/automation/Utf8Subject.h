#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumetra::platform::detail {

// The subject as RE2 reads it: UTF-8, with U+FFFD for each lone surrogate. Every UTF-16 unit
// thus still belongs to exactly one whole character, and positions map back exactly.
std::string Utf8ForMatching(std::u16string_view subject);

// UTF-16 units of a run of that UTF-8 that starts and ends on character boundaries.
std::size_t Utf16Length(std::string_view utf8) noexcept;

// Bytes of the character whose first byte is `lead`.
std::size_t Utf8CharLength(char lead) noexcept;

}  // namespace lumetra::platform::detail
