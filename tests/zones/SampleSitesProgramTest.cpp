#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "platform/inet/SimpleGet.h"
#include "sample-sites/SampleContent.h"
#include "support/LoopbackServer.h"
#include "web/HttpAccess.h"

extern char** environ;

namespace lumetra {
namespace {

using namespace std::chrono_literals;

// lumetra-sample-sites as a child process, its stdout on a pipe.
class SampleSitesProcess {
  public:
    explicit SampleSitesProcess(std::vector<std::string> arguments) {
        int fds[2];
        if (pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        arguments.insert(arguments.begin(), LUMETRA_SAMPLE_SITES);
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, LUMETRA_SAMPLE_SITES, &actions, nullptr, argv.data(), environ) !=
            0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out_ = fds[0];
    }
    ~SampleSitesProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
    }

    // The first line of stdout, or nothing when none comes in time.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout = 20s) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        std::string line;
        while (true) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd waiting{out_, POLLIN, 0};
            if (left.count() <= 0 || poll(&waiting, 1, static_cast<int>(left.count())) <= 0) {
                return std::nullopt;
            }
            char c = 0;
            if (read(out_, &c, 1) != 1) return std::nullopt;
            if (c == '\n') return line;
            line += c;
        }
    }

    // Sends SIGTERM and returns the exit status, or -1.
    int Stop() {
        if (pid_ <= 0) return -1;
        kill(pid_, SIGTERM);
        int status = 0;
        const pid_t waited = waitpid(pid_, &status, 0);
        pid_ = -1;
        return waited > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
};

struct Ready {
    std::string siteA, siteB;
};

std::optional<Ready> ParseReady(const std::string& line) {
    const std::string a = "ready site-a=", b = " site-b=";
    const auto middle = line.find(b);
    if (!line.starts_with(a) || middle == std::string::npos) return std::nullopt;
    return Ready{line.substr(a.size(), middle - a.size()), line.substr(middle + b.size())};
}

TEST(SampleSitesProgram, ServesBothSitesUntilTerminated) {
    SampleSitesProcess process({"--port-a", "0", "--port-b", "0"});
    const auto line = process.ReadLine();
    ASSERT_TRUE(line);
    const auto ready = ParseReady(*line);
    ASSERT_TRUE(ready) << *line;
    EXPECT_TRUE(ready->siteA.starts_with("http://127.0.0.1:")) << *line;
    EXPECT_TRUE(ready->siteB.starts_with("https://127.0.0.1:")) << *line;

    const auto body = platform::SimpleGet(ready->siteA + "/?page=0");
    EXPECT_EQ(std::string(body.begin(), body.end()), *samples::SiteAPage("/?page=0"));
    const std::string listing = "/US-Phone-Number/list_2.html";
    EXPECT_EQ(FetchPageText(ready->siteB + listing), *samples::SiteBPage(listing));
    EXPECT_EQ(process.Stop(), 0);
}

TEST(SampleSitesProgram, ListensOnTheGivenPorts) {
    // Ports the system just handed out, so most likely free.
    const int portA = testing::LoopbackServer().Port();
    const int portB = testing::LoopbackServer(testing::LoopbackServer::Scheme::Https).Port();
    SampleSitesProcess process(
        {"--port-a", std::to_string(portA), "--port-b", std::to_string(portB)});
    const auto line = process.ReadLine();
    ASSERT_TRUE(line);
    EXPECT_EQ(*line, "ready site-a=http://127.0.0.1:" + std::to_string(portA) +
                         " site-b=https://127.0.0.1:" + std::to_string(portB));
    EXPECT_EQ(process.Stop(), 0);
}

TEST(SampleSitesProgram, HeldListingsStayUnansweredWhileMessagesAnswer) {
    SampleSitesProcess process({"--port-a", "0", "--port-b", "0", "--hold-listings"});
    const auto line = process.ReadLine();
    ASSERT_TRUE(line);
    const auto ready = ParseReady(*line);
    ASSERT_TRUE(ready) << *line;

    auto held = std::async(
        std::launch::async,
        [url = ready->siteB + "/China-Phone-Number/list_1.html"] { return FetchPageText(url); });
    const std::string number = samples::ListingNumbers(samples::SampleZone::China, 1)[0].number;
    EXPECT_EQ(FetchPageText(ready->siteB + "/sms/86" + number),
              *samples::SiteBPage("/sms/86" + number));
    EXPECT_EQ(held.wait_for(0s), std::future_status::timeout);
    EXPECT_EQ(process.Stop(), 0);
    EXPECT_EQ(held.get(), "");  // the listing never completed
}

TEST(SampleSitesProgram, RefusesUnknownArguments) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--port-a"}, {"--port-b", "70000"}, {"--verbose"}}) {
        SampleSitesProcess process(arguments);
        EXPECT_FALSE(process.ReadLine());  // exits without a ready line
    }
}

}  // namespace
}  // namespace lumetra
