// What the Windows tests share as clients of Active Accessibility.
#pragma once

#include <windows.h>

#include <oleacc.h>

namespace psbtest {

// A child of an accessible object as a client names it: its number, 0 for the object itself.
inline VARIANT ChildId(LONG child)
{
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = child;
    return v;
}

}  // namespace psbtest
