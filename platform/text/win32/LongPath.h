// Paths of any length (up to 32,767 characters) at the Win32 boundary: absolute, after \\?\.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/text/win32/WinText.h"

// The path as the system takes it at any length: made absolute (from the current folder, as
// the user meant it), then after \\?\, or \\?\UNC\ for a share. "" with GetLastError() set.
inline std::wstring LongPath(const std::string& path)
{
    std::wstring wide = ToWide(path);
    if (wide.starts_with(L"\\\\?\\"))
        return wide;
    std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
    if (full.empty())
        return {};
    full.resize(GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    if (full.starts_with(L"\\\\.\\"))  // a device: taken as it is
        return full;
    return full.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

// A long path as the user reads it.
inline std::string ShortForm(std::wstring_view path)
{
    if (path.starts_with(L"\\\\?\\UNC\\"))
        return "\\\\" + FromWide(path.substr(8));
    if (path.starts_with(L"\\\\?\\"))
        path.remove_prefix(4);
    return FromWide(path);
}
