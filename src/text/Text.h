#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lumetra {

// GBK (code page 936) bytes. Every text the system holds is of this kind.
using Text = std::string;

// A counted byte buffer (page bodies, request bodies): not text until it is converted.
using Bytes = std::vector<std::uint8_t>;

// 1-based byte position in a Text; -1 means "not found".
using Position = std::ptrdiff_t;

inline constexpr Position kNotFound = -1;

// "#引号" in GBK: inside patterns and markers it stands for one double-quote character.
inline constexpr char kQuotePlaceholder[] = "#\xD2\xFD\xBA\xC5";

}  // namespace lumetra
