#pragma once

#include <chrono>

// Seams for tests only: the product keeps the platform's defaults and its cookie store.
namespace lumetra::platform {

// Connect time-out, and how long a transfer may receive nothing before it fails (counted
// in whole seconds, at least one).
void SetInetTimeoutsForTesting(std::chrono::milliseconds connect, std::chrono::milliseconds idle);
void ResetInetTimeoutsForTesting();

// Empties the process-wide cookie store, so one test's cookies don't reach the next.
void ClearInetCookiesForTesting();

}  // namespace lumetra::platform
