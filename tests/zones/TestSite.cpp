#include "zones/TestSite.h"

namespace lumetra::testing {

void Gate::Open() {
    const std::lock_guard lock(mutex_);
    open_ = true;
    opened_.notify_all();
}

bool Gate::Wait(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return opened_.wait_for(lock, timeout, [this] { return open_; });
}

TestSite::TestSite(LoopbackServer::Scheme scheme) : server_(scheme) {
    server_.SetHandler([this](const RecordedRequest& request) { return Answer(request); });
}

TestSite::~TestSite() {
    const std::lock_guard lock(mutex_);
    for (auto& [target, gate] : gates_) gate->Open();
}

void TestSite::SetPage(const std::string& target, const std::string& body) {
    const std::lock_guard lock(mutex_);
    pages_[target] = body;
}

std::shared_ptr<Gate> TestSite::Hold(const std::string& target) {
    const std::lock_guard lock(mutex_);
    auto gate = std::make_shared<Gate>();
    gates_[target] = gate;
    return gate;
}

std::vector<std::string> TestSite::Targets() const {
    std::vector<std::string> targets;
    for (const RecordedRequest& request : server_.Requests()) targets.push_back(request.target);
    return targets;
}

bool TestSite::WaitForRequests(std::size_t count) {
    return server_.WaitForRequests(count, std::chrono::seconds(20));
}

Reply TestSite::Answer(const RecordedRequest& request) {
    std::shared_ptr<Gate> gate;
    std::optional<std::string> page;
    {
        const std::lock_guard lock(mutex_);
        if (const auto found = gates_.find(request.target); found != gates_.end()) {
            gate = found->second;
        }
        if (const auto found = pages_.find(request.target); found != pages_.end()) {
            page = found->second;
        }
    }
    if (gate) gate->Wait();
    return page ? Reply::Html(*page) : Reply::Html("<html><body>404</body></html>", 404);
}

std::string UnreachableSite(LoopbackServer::Scheme scheme) {
    // The port is free again once the server is gone: connections are refused.
    return LoopbackServer(scheme).BaseUrl();
}

}  // namespace lumetra::testing
