// FetchPageText of a 100 KB page against a bare libcurl GET of the same URL, each with a
// fresh connection, in the same run: the cost of the request routine and its stand-in.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <memory>
#include <string>

#include "support/LoopbackServer.h"
#include "web/HttpAccess.h"

namespace {

using lumetra::testing::LoopbackServer;
using lumetra::testing::RecordedRequest;
using lumetra::testing::Reply;

constexpr std::size_t kPageSize = 100 * 1024;

const std::string& PageUrl() {
    static const auto* server = [] {
        auto* s = new LoopbackServer();  // lives for the whole run
        std::string page(kPageSize, 'x');
        for (std::size_t i = 0; i < page.size(); i += 80) page[i] = '\n';
        Reply reply = Reply::Html(page);
        s->SetHandler([reply](const RecordedRequest&) { return reply; });
        return s;
    }();
    static const std::string url = server->BaseUrl() + "/page.html";
    return url;
}

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

void BM_FetchPageText(benchmark::State& state) {
    const std::string& url = PageUrl();
    for (auto _ : state) {
        lumetra::Text text = lumetra::FetchPageText(url);
        if (text.size() != kPageSize) state.SkipWithError("short page");
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kPageSize));
}

void BM_PlainCurlGet(benchmark::State& state) {
    const std::string& url = PageUrl();
    curl_global_init(CURL_GLOBAL_DEFAULT);
    for (auto _ : state) {
        std::string body;
        std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy(curl_easy_init(),
                                                                 curl_easy_cleanup);
        curl_easy_setopt(easy.get(), CURLOPT_URL, url.c_str());
        curl_easy_setopt(easy.get(), CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy.get(), CURLOPT_PROXY, "");
        curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, Collect);
        curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &body);
        if (curl_easy_perform(easy.get()) != CURLE_OK || body.size() != kPageSize) {
            state.SkipWithError("curl failed");
        }
        benchmark::DoNotOptimize(body);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kPageSize));
}

BENCHMARK(BM_FetchPageText)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainCurlGet)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
