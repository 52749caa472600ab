#include "platform/win32/Input.h"

#include <iterator>

namespace win32 {

LPCWSTR CursorResource(TCursor cursor)
{
    static constexpr WORD kShapes[] = {
        32512,  // crDefault: IDC_ARROW
        32512,  // crArrow
        32515,  // crCross: IDC_CROSS
        32513,  // crIBeam: IDC_IBEAM
        32649,  // crHandPoint: IDC_HAND
        32646,  // crSizeAll: IDC_SIZEALL
        32643,  // crSizeNESW: IDC_SIZENESW
        32645,  // crSizeNS: IDC_SIZENS
        32642,  // crSizeNWSE: IDC_SIZENWSE
        32644,  // crSizeWE: IDC_SIZEWE
        32648,  // crNo: IDC_NO
    };
    static_assert(std::size(kShapes) == crNo + 1);
    return MAKEINTRESOURCEW(kShapes[cursor <= crNo ? cursor : crDefault]);
}

TShiftState KeyShift()
{
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        shift |= ssAlt;
    return shift;
}

TShiftState MouseShift(WPARAM wParam)
{
    TShiftState shift = KeyShift() & ssAlt;
    if (wParam & MK_SHIFT)
        shift |= ssShift;
    if (wParam & MK_CONTROL)
        shift |= ssCtrl;
    if (wParam & MK_LBUTTON)
        shift |= ssLeft;
    if (wParam & MK_RBUTTON)
        shift |= ssRight;
    if (wParam & MK_MBUTTON)
        shift |= ssMiddle;
    return shift;
}

}  // namespace win32
