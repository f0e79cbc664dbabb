#include "platform/automation/Com.h"

#include <new>

#include "platform/automation/RegExpObject.h"

namespace lumetra::platform {

namespace {

thread_local int initializeCount = 0;

struct RegisteredClass {
    std::string_view progId;
    DispatchRef (*create)();
};

constexpr RegisteredClass kClasses[] = {
    {"VBScript.RegExp", &detail::NewRegExp},
};

}  // namespace

HRESULT CoInitialize(void*) {
    return ++initializeCount == 1 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (initializeCount > 0) {
        --initializeCount;
    }
}

int CoInitializeCount() {
    return initializeCount;
}

HRESULT CreateObject(std::string_view progId, DispatchRef* object) noexcept {
    if (!object) {
        return E_POINTER;
    }
    object->reset();
    if (initializeCount == 0) {
        return CO_E_NOTINITIALIZED;
    }
    for (const RegisteredClass& registered : kClasses) {
        if (NamesEqual(registered.progId, progId)) {
            try {
                *object = registered.create();
            } catch (const std::bad_alloc&) {
                return E_OUTOFMEMORY;
            }
            return S_OK;
        }
    }
    return CO_E_CLASSSTRING;
}

}  // namespace lumetra::platform
