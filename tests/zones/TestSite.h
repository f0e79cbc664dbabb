#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "support/LoopbackServer.h"

namespace lumetra::testing {

// Lets a reply wait until the test opens it. Waits are bounded, so no test can hang.
class Gate {
  public:
    void Open();
    bool Wait(std::chrono::milliseconds timeout = std::chrono::seconds(20));

  private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

// A loopback site serving the pages a test sets, by request target; 404 for the rest.
class TestSite {
  public:
    explicit TestSite(LoopbackServer::Scheme scheme);
    ~TestSite();  // opens every gate first, so no held reply outlives the server

    std::string BaseUrl() const { return server_.BaseUrl(); }
    void SetPage(const std::string& target, const std::string& body);
    // The reply to `target` waits for the gate returned.
    std::shared_ptr<Gate> Hold(const std::string& target);
    std::vector<std::string> Targets() const;  // of every request so far, in order
    bool WaitForRequests(std::size_t count);

  private:
    Reply Answer(const RecordedRequest& request);

    mutable std::mutex mutex_;
    std::map<std::string, std::string> pages_;
    std::map<std::string, std::shared_ptr<Gate>> gates_;
    LoopbackServer server_;  // last: stops before the pages and gates go
};

// The base address of a site that refuses every connection.
std::string UnreachableSite(LoopbackServer::Scheme scheme);

}  // namespace lumetra::testing
