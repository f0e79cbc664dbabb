// Host, port and path of any URL, with every optional argument fuzzed: quiet, lower-case
// hosts without "/" (or ":" unless kept), and a path that is "/" or the URL's own tail.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

#include "FuzzCheck.h"
#include "text/TextOps.h"
#include "web/UrlParts.h"

namespace lumetra {
namespace {

std::optional<bool> MaybeBool(FuzzedDataProvider& data) {
    return data.ConsumeBool() ? std::optional<bool>(data.ConsumeBool()) : std::nullopt;
}

std::optional<int> MaybeLevels(FuzzedDataProvider& data) {
    switch (data.ConsumeIntegralInRange(0, 2)) {
        case 0:
            return std::nullopt;
        case 1:
            return data.ConsumeIntegralInRange(-2, 6);
        default:
            return data.ConsumeIntegral<int>();
    }
}

}  // namespace
}  // namespace lumetra

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace lumetra;
    FuzzedDataProvider data(bytes, size);
    const std::optional<bool> mainDomain = MaybeBool(data);
    const std::optional<bool> keepPort = MaybeBool(data);
    const std::optional<int> levels = MaybeLevels(data);
    const Text url = data.ConsumeRemainingBytesAsString();
    fuzz::Context() = "url: " + url;

    const Text host = UrlHost(url, mainDomain, keepPort, levels);
    FUZZ_CHECK(ToLower(host) == host);
    FUZZ_CHECK(Find(host, "/") == kNotFound);
    if (!keepPort.value_or(false)) {
        FUZZ_CHECK(Find(host, ":") == kNotFound);
    }

    const int port = UrlPort(url);
    if (Find(url, ":") == kNotFound) {
        FUZZ_CHECK(port == (ToLower(Left(url, 5)) == "https" ? 443 : 80));
    }

    const Text path = UrlPath(url);
    FUZZ_CHECK(StartsWith(path, "/"));
    FUZZ_CHECK(path == "/" || EndsWith(url, path));
    return 0;
}
