#include "platform/win32/ScrollBars.h"

#include <algorithm>

#include "platform/forms/Forms.h"
#include "platform/win32/Win32Support.h"

namespace win32 {

void Scroll(HWND hwnd, TForm& form, int bar, WORD code, int dpi)
{
    const TScrollBarKind kind = bar == SB_HORZ ? sbHorizontal : sbVertical;
    switch (code) {
    case SB_LINEUP:
        form.Scroll(kind, scLineUp);
        return;
    case SB_LINEDOWN:
        form.Scroll(kind, scLineDown);
        return;
    case SB_PAGEUP:
        form.Scroll(kind, scPageUp);
        return;
    case SB_PAGEDOWN:
        form.Scroll(kind, scPageDown);
        return;
    case SB_TOP:
        form.Scroll(kind, scTop);
        return;
    case SB_BOTTOM:
        form.Scroll(kind, scBottom);
        return;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The message's position has 16 bits; the bar's own has 32.
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(hwnd, bar, &info);
        form.Scroll(kind, code == SB_THUMBTRACK ? scTrack : scPosition,
                    static_cast<std::int32_t>(ScaleFromDpi(info.nTrackPos, dpi)));
        return;
    }
    default:
        return;
    }
}

void ShowScrollBars(HWND hwnd, const TForm& form, int dpi)
{
    for (const TScrollBarKind kind : {sbHorizontal, sbVertical}) {
        const TScrollRange& bar = form.ScrollBar(kind);
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        // A page longer than the range hides the bar.
        const bool shown = bar.range > bar.page;
        info.nMax = shown ? ClampToInt(ScaleToDpi(bar.range, dpi)) - 1 : 0;
        info.nPage = shown ? static_cast<UINT>(std::max(0, ClampToInt(ScaleToDpi(bar.page, dpi)))) : 1;
        info.nPos = shown ? ClampToInt(ScaleToDpi(bar.position, dpi)) : 0;
        SetScrollInfo(hwnd, kind == sbHorizontal ? SB_HORZ : SB_VERT, &info, TRUE);
    }
}

}  // namespace win32
