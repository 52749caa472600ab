#include "platform/win32/OleLibraries.h"

#include <string>

namespace win32 {
namespace {

template <class Fn>
void Find(HMODULE module, const char* name, Fn& fn)
{
    fn = module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

const TOle& Ole()
{
    static const TOle ole = [] {
        TOle o;
        HMODULE oleacc = LoadLibraryW(L"oleacc.dll"), ole32 = LoadLibraryW(L"ole32.dll"),
                oleaut32 = LoadLibraryW(L"oleaut32.dll");
        Find(oleacc, "LresultFromObject", o.lresultFromObject);
        Find(oleacc, "AccessibleObjectFromWindow", o.accessibleObjectFromWindow);
        Find(oleacc, "CreateStdAccessibleObject", o.createStdAccessibleObject);
        Find(ole32, "CoInitializeEx", o.coInitializeEx);
        Find(ole32, "CoUninitialize", o.coUninitialize);
        Find(ole32, "CoDisconnectObject", o.coDisconnectObject);
        Find(oleaut32, "SysAllocStringLen", o.sysAllocStringLen);
        o.complete = o.lresultFromObject && o.accessibleObjectFromWindow && o.createStdAccessibleObject &&
                     o.coInitializeEx && o.coUninitialize && o.coDisconnectObject && o.sysAllocStringLen;
        return o;
    }();
    return ole;
}

const TCom& Com()
{
    static const TCom com = [] {
        TCom c;
        HMODULE ole32 = LoadLibraryW(L"ole32.dll");
        Find(ole32, "CoInitializeEx", c.coInitializeEx);
        Find(ole32, "CoUninitialize", c.coUninitialize);
        Find(ole32, "CoCreateInstance", c.coCreateInstance);
        c.complete = c.coInitializeEx && c.coUninitialize && c.coCreateInstance;
        return c;
    }();
    return com;
}

BSTR AllocText(const std::wstring& text)
{
    return Ole().sysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

}  // namespace win32
