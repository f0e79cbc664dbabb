#include "web/HeaderNames.h"

#include <vector>

#include "text/TextOps.h"

namespace lumetra {

namespace {

const Text kCrLf = "\r\n";

Text CapitalizeWords(const Text& name) {
    if (!Contains(name, "-")) return CapitalizeFirst(name);
    std::vector<Text> words = Split(name, "-");
    for (Text& word : words) word = CapitalizeFirst(word);
    // Split drops the empty word after a final "-"; the name keeps its dash.
    return Join(words, "-") + (EndsWith(name, "-") ? "-" : "");
}

}  // namespace

Text NormalizeHeaderNames(const Text& headers) {
    std::vector<Text> lines;
    for (const Text& line : Split(headers, kCrLf)) {
        Position colon = Find(line, ":");
        if (colon == kNotFound) continue;
        lines.push_back(CapitalizeWords(Left(line, colon - 1)) +
                        Right(line, static_cast<Position>(line.size()) - colon + 1));
    }
    return Join(lines, kCrLf);
}

Text CapitalizeFirst(const Text& text) {
    if (text.empty()) return text;
    return ToUpper(Left(text, 1)) + Right(text, static_cast<Position>(text.size()) - 1);
}

Text HeaderValue(const Text& text) {
    Position colon = Find(text, ":");
    if (colon == kNotFound) return {};
    return Trim(Right(text, static_cast<Position>(text.size()) - colon));
}

}  // namespace lumetra
