#pragma once

#include <curl/curl.h>

// What every transfer of the process shares: curl's global state, the cookie store and
// the time-outs.
namespace lumetra::platform::inet {

void EnsureCurl();  // curl_global_init, once, thread-safe

// The process-wide in-memory cookie store; a handle joins it with CURLOPT_SHARE.
CURLSH* CookieShare();

long ConnectTimeoutMs();
long IdleTimeoutSeconds();

}  // namespace lumetra::platform::inet
