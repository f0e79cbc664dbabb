#pragma once

#include <string>
#include <string_view>

namespace lumetra::platform::inet {

// The proxy a request of that scheme goes through, as a curl proxy URL; empty for none.
// The list holds entries split by spaces or ";": "host:port" serves every scheme,
// "http=host:port" or "https=host:port" one scheme; an entry for the scheme wins.
std::string ProxyFor(std::string_view proxyList, bool secure);

}  // namespace lumetra::platform::inet
