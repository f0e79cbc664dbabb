#pragma once

#include <optional>

#include "text/Text.h"

namespace lumetra {

// What lies between the first `left` at or after `start` and the first `right` after it.
// "#引号" in either marker stands for a double quote. Empty text when a marker is missing.
Text TextBetween(const Text& text, const Text& left, const Text& right,
                 std::optional<Position> start = {}, std::optional<bool> ignoreCase = {});

// Everything before `marker`: searched forwards from `position` (absent or 0: from the
// start), or backwards for a negative position. Empty text when the marker is missing.
Text TextBefore(const Text& text, const Text& marker, std::optional<Position> position = {},
                std::optional<bool> ignoreCase = {});

}  // namespace lumetra
