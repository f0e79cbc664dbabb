#pragma once

#include <optional>

#include "text/Text.h"

// Host, port and object name of a request URL, from the text alone.
namespace lumetra {

// The lower-case host. Without `levels`: what follows "https://" or "http://" up to the
// next "/" ("http://" assumed when the URL has neither); `mainDomain` keeps its last two
// dot-separated pieces. With `levels`: the last levels + 2 labels (levels + 1 with
// `mainDomain`). The port goes unless `keepPort`.
Text UrlHost(const Text& url, std::optional<bool> mainDomain = {},
             std::optional<bool> keepPort = {}, std::optional<int> levels = {});

// The digits after the host's last ":", else 443 for "https" and 80 for everything else.
int UrlPort(const Text& url);

// From the first "/" after the host to the end, query and fragment included; "/" if none.
Text UrlPath(const Text& url);

}  // namespace lumetra
