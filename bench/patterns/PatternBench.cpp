// Each zone pattern through RegexObject::Create plus every submatch read, over the generated
// pages. `--write-pages DIR` writes the pages, the patterns and the matches found, for the
// anchor to run over and compare with.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string_view>

#include "patterns/PatternPages.h"
#include "text/RegexObject.h"
#include "text/Utf8ToGbk.h"

namespace lumetra::bench {
namespace {

Text Gbk(const std::string& utf8) {
    return Utf8ToGbk(Bytes(utf8.begin(), utf8.end()));
}

std::string Json(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void CreateAndReadAll(benchmark::State& state, const PatternCase* pattern, const Text& subject) {
    int matches = 0;
    for (auto _ : state) {
        RegexObject regex;
        regex.Create(pattern->pattern, subject, false, true, true, pattern->quoteSubstitution);
        const int count = regex.MatchCount();
        const int groups = regex.SubmatchCount();
        for (int i = 1; i <= count; ++i) {
            for (int j = 1; j <= groups; ++j) benchmark::DoNotOptimize(regex.SubmatchText(i, j));
        }
        matches = count;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * subject.size()));
    state.counters["matches"] = matches;
}

int WritePages(const std::string& dir) {
    std::ofstream patterns(dir + "/patterns.json");
    patterns << "{\n";
    bool first = true;
    for (const PatternCase& pattern : PatternCases()) {
        patterns << (first ? "" : ",\n") << Json(pattern.name) << ": "
                 << Json(PatternUtf8(pattern));
        first = false;
    }
    patterns << "\n}\n";
    std::ofstream found(dir + "/lumetra-matches.json");
    found << "{\n";
    first = true;
    for (const PageCase& page : PageCases()) {
        const std::string utf8 = PageUtf8(page);
        std::ofstream(dir + "/" + page.Id() + ".html", std::ios::binary) << utf8;
        RegexObject regex;
        regex.Create(page.pattern->pattern, Gbk(utf8), false, true, true,
                     page.pattern->quoteSubstitution);
        const int count = regex.MatchCount();
        const int groups = regex.SubmatchCount();
        found << (first ? "" : ",\n") << Json(page.Id()) << ": [";
        for (int i = 1; i <= count; ++i) {
            found << (i > 1 ? "," : "") << "[";
            for (int j = 1; j <= groups; ++j) {
                found << (j > 1 ? "," : "") << Json(GbkToUtf8(regex.SubmatchText(i, j)));
            }
            found << "]";
        }
        found << "]";
        first = false;
    }
    found << "\n}\n";
    return found && patterns ? 0 : 1;
}

}  // namespace
}  // namespace lumetra::bench

int main(int argc, char** argv) {
    using namespace lumetra::bench;
    if (argc == 3 && std::string_view(argv[1]) == "--write-pages") return WritePages(argv[2]);
    for (const PageCase& page : PageCases()) {
        const PatternCase* pattern = page.pattern;
        benchmark::RegisterBenchmark(
            page.Id().c_str(),
            [pattern, subject = Gbk(PageUtf8(page))](benchmark::State& state) {
                CreateAndReadAll(state, pattern, subject);
            })
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.05);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
