#include "web/CookieMerge.h"

#include <algorithm>
#include <string_view>

#include "text/TextOps.h"

namespace lumetra {

namespace {

const Text kSeparator = "; ";

// A final ";" counts as a separator.
Text Prepared(const Text& cookies) {
    Text trimmed = Trim(cookies);
    return EndsWith(trimmed, ";") ? trimmed + " " : trimmed;
}

}  // namespace

Text MergeCookies(Text& older, const Text& newer) {
    std::vector<Text> olderPieces = Split(Prepared(older), kSeparator);
    std::vector<Text> merged = Split(Prepared(newer), kSeparator);
    for (const Text& piece : olderPieces) {
        if (!HasCookieName(merged, CookieName(piece))) merged.push_back(piece);
    }
    // The last eight bytes decide, whatever character the byte before "=" belongs to.
    std::erase_if(merged, [](const Text& piece) {
        return std::string_view(piece).ends_with("=deleted");
    });
    older = JoinUnique(Join(merged, kSeparator), kSeparator);
    return older;
}

Text CookieName(const Text& piece) {
    Position equals = Find(piece, "=");
    return Trim(equals == kNotFound ? piece : Left(piece, equals - 1));
}

bool HasCookieName(const std::vector<Text>& pieces, const Text& name) {
    return std::any_of(pieces.begin(), pieces.end(),
                       [&](const Text& piece) { return CookieName(piece) == name; });
}

int IndexOfText(const std::vector<Text>& list, const Text& text) {
    auto found = std::find(list.begin(), list.end(), text);
    return found == list.end() ? -1 : static_cast<int>(found - list.begin()) + 1;
}

Text JoinUnique(const Text& text, const Text& separator) {
    std::vector<Text> kept;
    for (const Text& piece : Split(text, separator)) {
        if (IndexOfText(kept, piece) == -1) kept.push_back(piece);
    }
    return Join(kept, separator);
}

}  // namespace lumetra
