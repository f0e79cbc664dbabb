#include "platform/automation/Dispatch.h"

#include <new>

namespace lumetra::platform {

namespace {

HRESULT InvokeByName(const DispatchRef& object, std::string_view name, unsigned flags,
                     std::span<const Variant> args, Variant* result) noexcept {
    if (result) {
        *result = Variant{};
    }
    if (!object) {
        return E_POINTER;
    }
    DISPID id = 0;
    const HRESULT found = object->GetIDOfName(name, &id);
    if (Failed(found)) {
        return found;
    }
    return object->Invoke(id, flags, args, result);
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool NamesEqual(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

HRESULT Dispatch::GetIDOfName(std::string_view name, DISPID* id) const noexcept {
    if (!id) {
        return E_POINTER;
    }
    const std::span<const std::string_view> names = MemberNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (NamesEqual(names[i], name)) {
            *id = static_cast<DISPID>(i);
            return S_OK;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT Dispatch::Invoke(DISPID id, unsigned flags, std::span<const Variant> args,
                         Variant* result) noexcept {
    try {
        Variant value;
        const HRESULT hr = InvokeMember(id, flags, args, value);
        if (result) {
            *result = Succeeded(hr) ? std::move(value) : Variant{};
        }
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return DISP_E_EXCEPTION;
    }
}

HRESULT GetProperty(const DispatchRef& object, std::string_view name, Variant* result,
                    std::span<const Variant> args) noexcept {
    return InvokeByName(object, name, DISPATCH_PROPERTYGET, args, result);
}

HRESULT PutProperty(const DispatchRef& object, std::string_view name,
                    const Variant& value) noexcept {
    return InvokeByName(object, name, DISPATCH_PROPERTYPUT, std::span<const Variant>(&value, 1),
                        nullptr);
}

HRESULT CallMethod(const DispatchRef& object, std::string_view name, std::span<const Variant> args,
                   Variant* result) noexcept {
    return InvokeByName(object, name, DISPATCH_METHOD, args, result);
}

}  // namespace lumetra::platform
