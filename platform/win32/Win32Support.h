// Small conversions between the class library's values and Win32's.
#pragma once

#include <windows.h>

#include <algorithm>
#include <climits>

#include "platform/geometry/Graphics.h"

namespace win32 {

inline COLORREF ToColorRef(TColor color)
{
    if (IsSystemColor(color))
        return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color) & 0x00FFFFFF;
}

inline int ClampToInt(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

inline RECT ToRect(const TRect64& r)
{
    return RECT{ClampToInt(r.left), ClampToInt(r.top), ClampToInt(r.right), ClampToInt(r.bottom)};
}

inline TRect64 ToRect64(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace win32
