#pragma once

#include <atomic>
#include <cstdint>

#include "zones/ZoneTable.h"

namespace lumetra {

struct ZoneRuntime {
    // Bumped on the UI thread by every paging click of a worker-listed zone. A listing
    // writes rows only while the generation it started with is still the current one, so
    // the rows of two pages never mix and the newest click wins.
    std::atomic<std::uint64_t> listingGeneration{0};
};

}  // namespace lumetra
