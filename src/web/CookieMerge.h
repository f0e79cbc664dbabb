#pragma once

#include <vector>

#include "text/Text.h"

// Cookie texts: name=value pieces joined by "; ".
namespace lumetra {

// Newer pieces first, then older ones no newer piece names; pieces ending in "=deleted"
// left out, exact repeats dropped. The result is written into `older` and returned.
Text MergeCookies(Text& older, const Text& newer);

// The text before the first "=", trimmed; the whole piece, trimmed, without "=".
Text CookieName(const Text& piece);

bool HasCookieName(const std::vector<Text>& pieces, const Text& name);

// 1-based index of the first element equal to `text`; -1 when none is.
int IndexOfText(const std::vector<Text>& list, const Text& text);

// The pieces of `text` split on `separator`, each kept at its first occurrence only.
Text JoinUnique(const Text& text, const Text& separator);

}  // namespace lumetra
