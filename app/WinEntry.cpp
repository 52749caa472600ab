#include "app/WinEntry.h"

#include <windows.h>

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
