#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/automation/Variant.h"

// Late binding as automation clients know it: look a member up by name, then get, put or
// call it. Nothing here throws; every call reports through its result code.
namespace lumetra::platform {

using HRESULT = std::int32_t;
using DISPID = std::int32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006);
inline constexpr HRESULT DISP_E_EXCEPTION = static_cast<HRESULT>(0x80020009);
inline constexpr HRESULT DISP_E_BADINDEX = static_cast<HRESULT>(0x8002000B);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000E);
inline constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0);
inline constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3);

constexpr bool Succeeded(HRESULT hr) {
    return hr >= 0;
}
constexpr bool Failed(HRESULT hr) {
    return hr < 0;
}

inline constexpr unsigned DISPATCH_METHOD = 1;
inline constexpr unsigned DISPATCH_PROPERTYGET = 2;
inline constexpr unsigned DISPATCH_PROPERTYPUT = 4;

// How member names and ProgIDs compare: ASCII case ignored.
bool NamesEqual(std::string_view a, std::string_view b) noexcept;

// An object reached by member name.
class Dispatch {
  public:
    virtual ~Dispatch() = default;

    HRESULT GetIDOfName(std::string_view name, DISPID* id) const noexcept;
    // `flags` is one of the DISPATCH_ values; a put passes the new value as its one argument.
    HRESULT Invoke(DISPID id, unsigned flags, std::span<const Variant> args,
                   Variant* result) noexcept;

  protected:
    // The members, indexed by their DISPID.
    virtual std::span<const std::string_view> MemberNames() const noexcept = 0;
    // May throw: Invoke turns an escaping exception into a failure.
    virtual HRESULT InvokeMember(DISPID id, unsigned flags, std::span<const Variant> args,
                                 Variant& result) = 0;
};

// By-name helpers. A failed call leaves `result` empty and changes nothing in the object.
HRESULT GetProperty(const DispatchRef& object, std::string_view name, Variant* result,
                    std::span<const Variant> args = {}) noexcept;
HRESULT PutProperty(const DispatchRef& object, std::string_view name,
                    const Variant& value) noexcept;
HRESULT CallMethod(const DispatchRef& object, std::string_view name, std::span<const Variant> args,
                   Variant* result) noexcept;

}  // namespace lumetra::platform
