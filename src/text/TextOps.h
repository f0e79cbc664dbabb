#pragma once

#include <optional>
#include <vector>

#include "text/Text.h"

// The text operations every layer uses. Positions are 1-based bytes, -1 is "not found".
// A byte of 128 or more and the byte after it are one double-byte character: no search,
// split, replace or case change lands inside one.
namespace lumetra {

// First occurrence of `what` at or after `start` (1 or less: from the beginning; beyond
// the end: not found). An empty `what` gives 1 when the searched part is not empty.
// `ignoreCase` folds ASCII letters only, never a trail byte. A start on the trail byte of a
// character searches from the next character.
Position Find(const Text& text, const Text& what, Position start = 1, bool ignoreCase = false);

// Last occurrence lying wholly within the first start - 1 bytes; without `start`, the last
// occurrence in the whole text.
Position FindBackwards(const Text& text, const Text& what, std::optional<Position> start = {},
                       bool ignoreCase = false);

bool Contains(const Text& text, const Text& what, bool ignoreCase = false);
bool StartsWith(const Text& text, const Text& prefix, bool ignoreCase = false);
bool EndsWith(const Text& text, const Text& suffix);

Text Left(const Text& text, Position n);
Text Right(const Text& text, Position n);
Text Middle(const Text& text, Position start, Position n);

// Leading and trailing spaces (32) and full-width spaces (A1 A1); tabs, CR, LF stay.
Text Trim(const Text& text);

// Empty pieces between separators stay; an empty remainder after the last one does not;
// empty text gives no pieces. An empty separator leaves the text one piece.
std::vector<Text> Split(const Text& text, const Text& separator);
Text Join(const std::vector<Text>& pieces, const Text& separator);

// Every occurrence, left to right, without overlap. An empty `from` changes nothing.
Text Replace(const Text& text, const Text& from, const Text& to, bool ignoreCase = false);

Text ToUpper(const Text& text);
Text ToLower(const Text& text);

// The bytes up to the first zero byte (all of them when there is none); no conversion.
Text BytesToText(const Bytes& bytes);
Bytes TextToBytes(const Text& text);

Text IntegerToText(long long value);
// Leading decimal digits with an optional sign; 0 when there are none; saturates at the
// limits of a signed 32-bit integer.
int TextToInteger(const Text& text);

}  // namespace lumetra
