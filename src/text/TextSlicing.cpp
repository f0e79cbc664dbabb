#include "text/TextSlicing.h"

#include <limits>

#include "text/TextOps.h"

namespace lumetra {

Text TextBetween(const Text& text, const Text& left, const Text& right,
                 std::optional<Position> start, std::optional<bool> ignoreCase) {
    const bool fold = ignoreCase.value_or(false);
    const Text leftMarker = Replace(left, kQuotePlaceholder, "\"");
    const Text rightMarker = Replace(right, kQuotePlaceholder, "\"");
    const Position p = Find(text, leftMarker, start.value_or(0), fold);
    if (p == kNotFound) {
        return {};
    }
    const Position c = p + static_cast<Position>(leftMarker.size());
    const Position q = Find(text, rightMarker, c, fold);
    if (q == kNotFound) {
        return {};
    }
    return Middle(text, c, q - c);
}

Text TextBefore(const Text& text, const Text& marker, std::optional<Position> position,
                std::optional<bool> ignoreCase) {
    const bool fold = ignoreCase.value_or(false);
    const Position from = position.value_or(0);
    Position p = kNotFound;
    if (from >= 0) {
        p = Find(text, marker, from == 0 ? 1 : from, fold);
    } else {
        const Position n = from == std::numeric_limits<Position>::min()
                               ? std::numeric_limits<Position>::max()
                               : -from;
        const Position m = n == 1 ? 0 : n;
        // Wholly within the first L - m - 1 bytes.
        p = FindBackwards(text, marker, static_cast<Position>(text.size()) - m, fold);
    }
    return p == kNotFound ? Text() : Left(text, p - 1);
}

}  // namespace lumetra
