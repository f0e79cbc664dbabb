#pragma once

#include "text/Text.h"

// The usual capitalisation of request header names.
namespace lumetra {

// Each line's name gets a capital first letter and one after every "-"; nothing is lowered
// and the rest of the line stays. Lines without ":" go; the result has no final CR LF.
Text NormalizeHeaderNames(const Text& headers);

// The first byte upper-cased when it is a lower-case ASCII letter.
Text CapitalizeFirst(const Text& text);

// What follows the first ":", trimmed; empty text without ":".
Text HeaderValue(const Text& text);

}  // namespace lumetra
