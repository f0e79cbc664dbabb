#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra::platform::detail {

// An ECMAScript-style pattern rewritten for RE2 so that RE2 gives each construct its
// ECMAScript meaning.
struct TranslatedPattern {
    std::string re2;                 // RE2 syntax, UTF-8
    std::vector<int> groupIndex;     // the RE2 group of each pattern group, in order
    std::vector<int> lineEndGroups;  // RE2 groups that hold the line terminator a final `$` saw
};

// Empty when the pattern is invalid or needs what RE2 cannot do (back-references,
// look-around).
//
// Under `multiline`, RE2 knows only LF as a line break, while ECMAScript also breaks lines at
// CR, U+2028 and U+2029. A `$` that ends the pattern or one of its top-level alternatives is
// exact: it takes the terminator into a hidden group (`lineEndGroups`) that the matcher
// cuts off again. Left over: a `$` inside a group or followed by more pattern, and every
// `^`, see only LF.
// Other corners: outside the BMP, "." and classes take a whole character where ECMAScript
// takes one UTF-16 unit; a lone surrogate of the subject reads as U+FFFD; counts above 1000
// and classes holding \w under IgnoreCase (which then also take U+017F and U+212A) are
// RE2's.
std::optional<TranslatedPattern> TranslatePattern(std::u16string_view pattern, bool multiline);

}  // namespace lumetra::platform::detail
