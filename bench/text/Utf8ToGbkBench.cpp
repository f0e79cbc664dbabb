#include <benchmark/benchmark.h>
#include <unicode/ucnv.h>

#include "MixedPage.h"
#include "text/Utf8ToGbk.h"

namespace {

constexpr std::size_t kPageBytes = 10 * 1024 * 1024;

void BM_Utf8ToGbk(benchmark::State& state) {
    const std::string utf8 = lumetra::bench::MixedUtf8Page(kPageBytes);
    const lumetra::Bytes page(utf8.begin(), utf8.end());
    for (auto _ : state) {
        lumetra::Text text = lumetra::Utf8ToGbk(page);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(page.size()));
}
BENCHMARK(BM_Utf8ToGbk)->Unit(benchmark::kMillisecond);

// The floor: ICU converting the same bytes in one go into a buffer allocated beforehand.
void BM_IcuUtf8ToGbkFloor(benchmark::State& state) {
    const std::string utf8 = lumetra::bench::MixedUtf8Page(kPageBytes);
    UErrorCode error = U_ZERO_ERROR;
    UConverter* from = ucnv_open("UTF-8", &error);
    UConverter* to = ucnv_open("windows-936", &error);
    if (U_FAILURE(error)) {
        state.SkipWithError("ICU converters unavailable");
        return;
    }
    std::string out(utf8.size() * 2, '\0');
    for (auto _ : state) {
        char* target = out.data();
        const char* source = utf8.data();
        error = U_ZERO_ERROR;
        ucnv_convertEx(to, from, &target, out.data() + out.size(), &source,
                       utf8.data() + utf8.size(), nullptr, nullptr, nullptr, nullptr, true, true,
                       &error);
        benchmark::DoNotOptimize(target);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(utf8.size()));
    ucnv_close(to);
    ucnv_close(from);
}
BENCHMARK(BM_IcuUtf8ToGbkFloor)->Unit(benchmark::kMillisecond);

}  // namespace
