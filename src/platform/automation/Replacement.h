#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lumetra::platform::detail {

// `subject` with each match replaced by `replacement`, where $1..$99, $&, $`, $' and $$ mean
// what ECMAScript gives them and any other "$" stands for itself. `bounds` is laid out as
// CompiledPattern::FindAll lays it out.
std::u16string ReplaceMatches(std::u16string_view subject, std::span<const std::int32_t> bounds,
                              int groupCount, std::u16string_view replacement);

}  // namespace lumetra::platform::detail
