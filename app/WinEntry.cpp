#include "app/WinEntry.h"

#include <windows.h>

#include <cstdlib>

// SetDefaultDllDirectories is missing on an unpatched Windows 7, so it is looked up rather
// than imported.
void LoadDllsFromSystemOnly()
{
    SetDllDirectoryW(L"");
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault)
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// Every exception is caught at the entry, so only a fault reaches terminate. The library's
// own handler prints demangled type names, which drags a formatted-printing library into
// the executable; this one keeps the file small.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx
