#include <benchmark/benchmark.h>

#include "MixedPage.h"
#include "text/TextOps.h"
#include "text/Utf8ToGbk.h"

namespace {

// A 10 MB GBK page whose only "<div" is at its very end, so each search reads it all.
const lumetra::Text& PageWithMarkerAtEnd() {
    static const lumetra::Text page = [] {
        const std::string utf8 = lumetra::bench::MixedUtf8Page(10 * 1024 * 1024);
        return lumetra::Utf8ToGbk(lumetra::Bytes(utf8.begin(), utf8.end())) + "<div class=\"end\">";
    }();
    return page;
}

void BM_FindNearEnd(benchmark::State& state) {
    const lumetra::Text& page = PageWithMarkerAtEnd();
    for (auto _ : state) {
        benchmark::DoNotOptimize(lumetra::Find(page, "<div class=\"end"));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(page.size()));
}
BENCHMARK(BM_FindNearEnd)->Unit(benchmark::kMillisecond);

void BM_FindIgnoringCaseNearEnd(benchmark::State& state) {
    const lumetra::Text& page = PageWithMarkerAtEnd();
    for (auto _ : state) {
        benchmark::DoNotOptimize(lumetra::Find(page, "<DIV class=", 1, true));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(page.size()));
}
BENCHMARK(BM_FindIgnoringCaseNearEnd)->Unit(benchmark::kMillisecond);

}  // namespace
