#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/automation/Variant.h"

namespace lumetra::platform::detail {

// What one Execute found, shared by the collection and every match and submatch object
// taken from it.
struct MatchTable {
    std::u16string subject;
    int groupCount = 0;
    std::vector<std::int32_t> bounds;  // laid out as CompiledPattern::FindAll lays it out

    std::size_t Stride() const { return 2 * (1 + static_cast<std::size_t>(groupCount)); }
    std::size_t Count() const { return bounds.size() / Stride(); }
    std::span<const std::int32_t> Match(std::size_t i) const {
        return std::span<const std::int32_t>(bounds).subspan(i * Stride(), Stride());
    }
};

// The match collection: Count, Item(i) with i from 0.
DispatchRef NewMatchCollection(std::shared_ptr<const MatchTable> table);

}  // namespace lumetra::platform::detail
