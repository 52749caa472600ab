// OLE's libraries, from the system folder, loaded when a client of assistive technology first
// asks, or COM when a picture is first decoded: a program that needs neither never loads
// them, and starts as fast as without.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <new>
#include <string>
#include <type_traits>

namespace win32 {

struct TOle {
    decltype(&::LresultFromObject) lresultFromObject = nullptr;
    decltype(&::AccessibleObjectFromWindow) accessibleObjectFromWindow = nullptr;
    decltype(&::CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
    decltype(&::CoInitializeEx) coInitializeEx = nullptr;
    decltype(&::CoUninitialize) coUninitialize = nullptr;
    decltype(&::CoDisconnectObject) coDisconnectObject = nullptr;
    decltype(&::SysAllocStringLen) sysAllocStringLen = nullptr;
    // Every one of them was found.
    bool complete = false;
};

const TOle& Ole();

// COM alone, for the system's objects that a program makes itself (the imaging component's).
struct TCom {
    decltype(&::CoInitializeEx) coInitializeEx = nullptr;
    decltype(&::CoUninitialize) coUninitialize = nullptr;
    decltype(&::CoCreateInstance) coCreateInstance = nullptr;
    bool complete = false;
};

const TCom& Com();

// An apartment on this thread for as long as it lives: marshalling to another process needs one.
class TApartment {
public:
    TApartment() : joined_(SUCCEEDED(Ole().coInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~TApartment()
    {
        if (joined_)
            Ole().coUninitialize();
    }
    TApartment(const TApartment&) = delete;
    TApartment& operator=(const TApartment&) = delete;

private:
    bool joined_;
};

// A copy of the text for a client, or null when there is no memory for it.
BSTR AllocText(const std::wstring& text);

// Runs the work of a method a client called, unless the object is cut off from its window;
// nothing thrown leaves, as it must not unwind through the system's frames.
template <class Work>
HRESULT Guarded(bool connected, Work work) noexcept
{
    if (!connected)
        return RPC_E_DISCONNECTED;
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

// The same, for a method with one result: cleared first, so that it is empty on failure.
template <class Out, class Work>
HRESULT Guarded(bool connected, Out* out, Work work) noexcept
{
    if (!out)
        return E_POINTER;
    if constexpr (std::is_same_v<Out, VARIANT>)
        out->vt = VT_EMPTY;
    else
        *out = {};
    return Guarded(connected, work);
}

}  // namespace win32
