// Header name capitalisation over any block: every line kept has its ":" and is the input
// line with only name letters raised; lines without ":" go and nothing else is lost.
#include <cstdint>

#include "FuzzCheck.h"
#include "text/TextOps.h"
#include "web/HeaderNames.h"

namespace lumetra {
namespace {

const Text kCrLf = "\r\n";

// `out` is `in` with only lower-case letters raised, each at the start of the name or
// after a "-", and all of it from the first ":" on unchanged.
void CheckLine(const Text& in, const Text& out) {
    FUZZ_CHECK(in.size() == out.size());
    const Position colon = Find(in, ":");
    FUZZ_CHECK(colon != kNotFound && Find(out, ":") == colon);
    const auto nameEnd = static_cast<std::size_t>(colon - 1);
    FUZZ_CHECK(in.compare(nameEnd, Text::npos, out, nameEnd, Text::npos) == 0);
    for (std::size_t i = 0; i < nameEnd; ++i) {
        if (in[i] != out[i]) {
            FUZZ_CHECK(in[i] >= 'a' && in[i] <= 'z' && out[i] == in[i] - 'a' + 'A');
            FUZZ_CHECK(i == 0 || in[i - 1] == '-');
        }
    }
}

}  // namespace
}  // namespace lumetra

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lumetra;
    const Text headers(reinterpret_cast<const char*>(data), size);
    const Text normalized = NormalizeHeaderNames(headers);
    FUZZ_CHECK(!EndsWith(normalized, kCrLf));

    std::vector<Text> kept;
    for (const Text& line : Split(headers, kCrLf)) {
        if (Contains(line, ":")) {
            kept.push_back(line);
        }
    }
    const std::vector<Text> lines = Split(normalized, kCrLf);
    FUZZ_CHECK(lines.size() == kept.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        FUZZ_CHECK(!lines[i].empty());
        CheckLine(kept[i], lines[i]);
    }
    FUZZ_CHECK(NormalizeHeaderNames(normalized) == normalized);

    const Text value = HeaderValue(headers);
    const Position colon = Find(headers, ":");
    if (colon == kNotFound) {
        FUZZ_CHECK(value.empty());
    } else {
        FUZZ_CHECK(Trim(value) == value);
        FUZZ_CHECK(value.empty() || Find(headers, value, colon + 1) != kNotFound);
    }
    return 0;
}
