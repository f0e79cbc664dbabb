#pragma once

#include <cstdint>
#include <optional>

#include "text/Text.h"

namespace lumetra {

// The optional parameters of HttpAccess, after `url`, in their order. Absent in-out and out
// parameters are null pointers; an absent `cookies` differs from a present, empty one.
struct HttpAccessOptions {
    std::optional<int> method;              // index into the verb table; absent: 0 (GET)
    std::optional<Text> bodyText;           // absent: empty
    Text* cookies = nullptr;                // in-out; absent: the platform's cookie store
    Text* setCookies = nullptr;             // out
    Text* headers = nullptr;                // in-out; absent: empty
    Text* responseHeaders = nullptr;        // out
    std::optional<bool> noRedirect;         // absent: false
    Bytes* bodyBytes = nullptr;             // in-out; absent: empty
    std::optional<Text> proxy;              // absent: empty
    std::optional<bool> mergeCookies;       // absent: true
    std::optional<bool> addDefaultHeaders;  // absent: true
    std::optional<bool> normalizeNames;     // absent: true
};

// One HTTP or HTTPS request; the response body, empty bytes on failure.
Bytes HttpAccess(const Text& url, const HttpAccessOptions& options = {});

// GET with every option at its default; the body up to its first zero byte, as text.
Text FetchPageText(const Text& url);

// The steps of HttpAccess that need no network.

// The flags HttpOpenRequestA gets: reload and need-file always, then no-cookies, no
// auto-redirect, and secure or ignore-redirect-to-https.
std::uint32_t RequestFlags(bool https, bool cookiesPresent, bool noRedirect);

// The agent for InternetOpenA: the block's User-Agent value, else the default agent.
Text UserAgentOf(const Text& headers);

// The name=value pieces of the head's "Set-Cookie: " lines (name case matched), attributes
// dropped, joined by "; "; empty text when there are none.
Text ResponseCookies(const Text& responseHeaders);

}  // namespace lumetra
