#pragma once

#include <optional>
#include <string>

#include "support/LoopbackServer.h"
#include "support/SocketStream.h"

namespace lumetra::testing {

// Reads the next request of a connection: the head up to CR LF CR LF, then a body by
// Content-Length or chunked coding. `pending` carries bytes read past one request into the
// next. Nothing when the peer closes first or sends a head that can't be a request.
std::optional<RecordedRequest> ReadRequest(SocketStream& stream, std::string& pending);

}  // namespace lumetra::testing
