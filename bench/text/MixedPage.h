#pragma once

#include <string>

namespace lumetra::bench {

// About `bytes` of UTF-8 page made of table rows of Chinese and ASCII, as the sites serve.
inline std::string MixedUtf8Page(std::size_t bytes) {
    const std::string row =
        "<tr><td class=\"time\">2024-05-01 12:30:45</td><td>+86 138 0000 0000</td>"
        "<td>\u60A8\u7684\u9A8C\u8BC1\u7801\u662F 482913\uFF0C\u8BF7\u52FF\u6CC4\u9732\u3002"
        "\u3010\u670D\u52A1\u3011</td></tr>\n";
    std::string page = "<html><body><table>\n";
    while (page.size() < bytes) {
        page += row;
    }
    return page;
}

}  // namespace lumetra::bench
