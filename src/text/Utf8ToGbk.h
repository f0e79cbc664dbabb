#pragma once

#include "text/Text.h"

namespace lumetra {

// Page bytes (UTF-8) to GBK text: invalid sequences and characters GBK lacks become "?";
// the result ends at the first NUL.
Text Utf8ToGbk(const Bytes& bytes);

}  // namespace lumetra
