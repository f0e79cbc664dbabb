// lumetra-sample-sites [--port-a N] [--port-b N] [--hold-listings]
//
// Serves site A over HTTP and site B over HTTPS on 127.0.0.1 until SIGTERM or SIGINT. Port 0
// takes an ephemeral port. With --hold-listings, site B listing requests are read and never
// answered, so a listing can be caught mid-fetch.
#include <pthread.h>

#include <charconv>
#include <csignal>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string_view>

#include "sample-sites/SampleContent.h"
#include "support/LoopbackServer.h"

namespace {

using lumetra::testing::LoopbackServer;
using lumetra::testing::RecordedRequest;
using lumetra::testing::Reply;

struct Options {
    int portA = 18080;
    int portB = 18443;
    bool holdListings = false;
};

std::optional<int> Port(std::string_view text) {
    int port = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size() || port < 0 || port > 65535) {
        return std::nullopt;
    }
    return port;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--hold-listings") {
            options.holdListings = true;
            continue;
        }
        if ((argument != "--port-a" && argument != "--port-b") || i + 1 == argc) {
            return std::nullopt;
        }
        const std::optional<int> port = Port(argv[++i]);
        if (!port) return std::nullopt;
        (argument == "--port-a" ? options.portA : options.portB) = *port;
    }
    return options;
}

Reply PageOrNotFound(const std::optional<std::string>& page) {
    return page ? Reply::Html(*page) : Reply::Html("<html><body>404</body></html>\n", 404);
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: %s [--port-a N] [--port-b N] [--hold-listings]\n", argv[0]);
        return 2;
    }

    // Blocked before any server thread exists, so only sigwait below takes them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    std::unique_ptr<LoopbackServer> siteA, siteB;
    try {
        siteA = std::make_unique<LoopbackServer>(LoopbackServer::Scheme::Http, options->portA);
        siteB = std::make_unique<LoopbackServer>(LoopbackServer::Scheme::Https, options->portB);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lumetra-sample-sites: %s\n", error.what());
        return 1;
    }
    siteA->SetHandler([](const RecordedRequest& request) {
        return PageOrNotFound(lumetra::samples::SiteAPage(request.target));
    });
    const bool hold = options->holdListings;
    siteB->SetHandler([hold](const RecordedRequest& request) {
        if (hold && lumetra::samples::IsSiteBListing(request.target)) {
            Reply held;
            held.stall = true;
            return held;
        }
        return PageOrNotFound(lumetra::samples::SiteBPage(request.target));
    });

    std::printf("ready site-a=%s site-b=%s\n", siteA->BaseUrl().c_str(), siteB->BaseUrl().c_str());
    std::fflush(stdout);

    int received = 0;
    sigwait(&stopSignals, &received);
    return 0;
}
