#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumetra::platform {

// The host's simple GET: "HTTP/1.0", "Accept: */*", its own agent, no cache, redirects
// followed, no fragment. The body whatever the status; what arrived when reading breaks
// part-way; empty for an empty or unparsable URL or a failed connection.
std::vector<std::uint8_t> SimpleGet(const std::string& url);

}  // namespace lumetra::platform
