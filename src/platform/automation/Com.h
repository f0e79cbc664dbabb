#pragma once

#include <string_view>

#include "platform/automation/Dispatch.h"

// The runtime calls: per-thread initialisation and object creation by ProgID.
namespace lumetra::platform {

// S_OK on the thread's first call, S_FALSE on each further one; every call, whatever its
// result, wants one CoUninitialize.
HRESULT CoInitialize(void* reserved);
// Balances one CoInitialize of this thread; does nothing when there is none left.
void CoUninitialize();
// CoInitialize calls of this thread not yet balanced, so tests can see them pair up.
int CoInitializeCount();

// A new object of the registered class `progId` (case ignored): "VBScript.RegExp" is the
// only one. CO_E_CLASSSTRING for an unknown ProgID, CO_E_NOTINITIALIZED on a thread that
// has not called CoInitialize; `object` stays empty on failure.
HRESULT CreateObject(std::string_view progId, DispatchRef* object) noexcept;

}  // namespace lumetra::platform
