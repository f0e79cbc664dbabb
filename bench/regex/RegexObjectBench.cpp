// RegexObject::Create plus reading every submatch, as the zones do, over generated pages:
// realistic ones (one listing or message per line) and single lines that never match but
// would keep a backtracking engine busy for a time that grows with the square of their size.
#include <benchmark/benchmark.h>

#include <string_view>

#include "text/RegexObject.h"
#include "text/Utf8ToGbk.h"
#include "zones/ZonePatterns.h"

namespace lumetra {
namespace {

Text Gbk(std::string_view utf8) {
    return Utf8ToGbk(Bytes(utf8.begin(), utf8.end()));
}

Text Repeat(const Text& unit, std::size_t size) {
    Text page;
    page.reserve(size + unit.size());
    while (page.size() < size) {
        page += unit;
    }
    return page;
}

// One China message block, five CR LF lines.
Text ChinaMessages(std::size_t size) {
    return Repeat(
        Gbk("        <div class=\"row message\">\r\n"
            "            <div class=\"col-md-3 sender\">1069</div>\r\n"
            "            <div class=\"col-md-6 msg\">【快送】您的验证码<span><b>382910</b>"
            "</span>，请勿泄露给他人。</div>\r\n"
            "            <div class=\"col-md-3 time\">2024-05-01 12:00:03</div>\r\n"
            "        </div>\r\n"),
        size);
}

Text ListingRows(std::size_t size) {
    return Repeat(Gbk("<tr><td>英国</td><td>+44</td><td><a href=\"/messages?phone=447700900123\">"
                      "7700900123</a></td></tr>\n"),
                  size);
}

Text ChinaAdversarial(std::size_t size) {
    return Repeat(R"(<div class="col-md-6 msg">code <span><b>1234</b></span> x</div> <div )", size);
}

// Every "+" starts an attempt whose ".*" runs to the end of the line; no number is long enough.
Text ListingAdversarial(std::size_t size) {
    return Repeat(R"(<td>+44</td><td><a href="/m">1234567</a></td> )", size);
}

void CreateAndReadAll(benchmark::State& state, const char* pattern, Text (*page)(std::size_t),
                      bool quoteSubstitution) {
    const Text subject = page(static_cast<std::size_t>(state.range(0)));
    std::size_t matches = 0;
    for (auto _ : state) {
        RegexObject regex;
        regex.Create(pattern, subject, false, true, true, quoteSubstitution);
        const int count = regex.MatchCount();
        const int groups = regex.SubmatchCount();
        for (int i = 1; i <= count; ++i) {
            for (int j = 1; j <= groups; ++j) {
                benchmark::DoNotOptimize(regex.SubmatchText(i, j));
            }
        }
        matches = static_cast<std::size_t>(count);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * subject.size()));
    state.counters["matches"] = static_cast<double>(matches);
}

void M3Realistic(benchmark::State& s) {
    CreateAndReadAll(s, patterns::M3, ChinaMessages, true);
}
void M3Adversarial(benchmark::State& s) {
    CreateAndReadAll(s, patterns::M3, ChinaAdversarial, true);
}
void L1Realistic(benchmark::State& s) {
    CreateAndReadAll(s, patterns::L1, ListingRows, false);
}
void L1Adversarial(benchmark::State& s) {
    CreateAndReadAll(s, patterns::L1, ListingAdversarial, false);
}

constexpr std::int64_t kSizes[] = {10 << 10, 100 << 10, 1 << 20};

void Sizes(benchmark::internal::Benchmark* b) {
    for (const std::int64_t size : kSizes) {
        b->Arg(size);
    }
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(M3Realistic)->Apply(Sizes);
BENCHMARK(M3Adversarial)->Apply(Sizes);
BENCHMARK(L1Realistic)->Apply(Sizes);
BENCHMARK(L1Adversarial)->Apply(Sizes);

}  // namespace
}  // namespace lumetra
