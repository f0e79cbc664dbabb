// The random zone's two views end to end with the page handed over in memory: page bytes to
// five message rows, and page bytes to a filled number list. `--peak-memory MB` instead runs
// the message view once over a page of MB megabytes and prints the peak resident size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "patterns/PatternPages.h"
#include "zones/RecordingHost.h"
#include "zones/ZoneActions.h"
#include "zones/ZoneTable.h"

namespace lumetra::bench {
namespace {

// Serves one page without a network; the page is moved out so, as with a real fetch, the
// body is the pipeline's only copy.
class PageHost : public testing::RecordingHost {
  public:
    explicit PageHost(Bytes page) : page_(std::move(page)) {
        SetRows(Control::超级列表框1, {{"+44", "7700900123"}});
        Select(Control::超级列表框1, 0);
    }
    Bytes FetchUrlBytes(const Text&) override { return std::move(page_); }

  private:
    Bytes page_;
};

Bytes ToBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

const Zone& RandomZone() {
    return ZoneTable()[0];
}

void MessageView(benchmark::State& state) {
    std::size_t messages = 1;
    while (RandomMessagePage(messages).size() < 100 << 10) messages += 16;
    const Bytes body = ToBytes(RandomMessagePage(messages));
    for (auto _ : state) {
        PageHost host(body);
        ShowRandomMessages(RandomZone(), host);
        benchmark::DoNotOptimize(host.Rows(Control::超级列表框2));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
}
BENCHMARK(MessageView)->Unit(benchmark::kMillisecond);

void NumberList(benchmark::State& state) {
    const Bytes body = ToBytes(RandomListingPage(100 << 10));
    std::size_t rows = 0;
    for (auto _ : state) {
        PageHost host(body);
        ListRandomNumbers(RandomZone(), host);
        rows = host.Rows(Control::超级列表框1).size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(NumberList)->Unit(benchmark::kMillisecond);

long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string_view(field).size()));
    }
    return -1;
}

int PeakMemory(std::size_t megabytes) {
    std::size_t messages = 1024;
    const std::size_t perMessage = RandomMessagePage(messages).size() / messages;
    messages = (megabytes << 20) / perMessage + 1;
    Bytes body = ToBytes(RandomMessagePage(messages));
    const std::size_t size = body.size();
    PageHost host(std::move(body));
    const long before = StatusKb("VmRSS:");
    // Forget the generator's peak: from here on only the view counts.
    std::ofstream("/proc/self/clear_refs") << "5";
    ShowRandomMessages(RandomZone(), host);
    const long peak = StatusKb("VmHWM:");
    std::printf("{\"page_bytes\": %zu, \"rss_before_kb\": %ld, \"peak_kb\": %ld, \"rows\": %zu}\n",
                size, before, peak, host.Rows(Control::超级列表框2).size());
    return peak > 0 ? 0 : 1;
}

}  // namespace
}  // namespace lumetra::bench

int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--peak-memory") {
        return lumetra::bench::PeakMemory(std::stoul(argv[2]));
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
