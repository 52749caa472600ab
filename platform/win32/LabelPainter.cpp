#include "platform/win32/LabelPainter.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/Forms.h"
#include "platform/win32/Win32Support.h"
#include "platform/win32/WinText.h"

namespace win32 {
namespace {

// Very long captions go to GDI in slices of whole characters, so neither the conversion
// nor GDI ever holds more than a slice, and only the slices that reach the visible part
// are drawn.
constexpr std::size_t kSliceBytes = 16 * 1024;

std::string_view NextSlice(std::string_view text, std::size_t from)
{
    const std::size_t end = std::min(text.size(), from + kSliceBytes);
    std::size_t cut = end;
    while (cut < text.size() && cut > from && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;                                                  // not inside a UTF-8 sequence
    return text.substr(from, (cut > from ? cut : end) - from);  // never empty, whatever the bytes
}

// Fills the visible part with the label's colour and draws the caption over it, clipped.
void PaintLabel(HDC dc, const TLabel& label, const TRect64& bounds, const TRect64& visible)
{
    const RECT clip = ToRect(visible);
    SetBkColor(dc, ToColorRef(label.Color()));
    const std::string_view caption = label.Caption();
    if (caption.empty()) {
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &clip, nullptr, 0, nullptr);
        return;
    }
    std::vector<std::int64_t> widths;
    std::wstring wide;
    std::int64_t width = 0, height = 0;
    for (std::size_t at = 0; at < caption.size();) {
        const std::string_view slice = NextSlice(caption, at);
        at += slice.size();
        wide = ToWide(slice);
        SIZE extent{};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
        widths.push_back(extent.cx);
        width += extent.cx;
        height = std::max<std::int64_t>(height, extent.cy);
    }
    const TPoint64 origin = CaptionOrigin(bounds, width, height, label.Alignment(), label.Layout());
    // Text that cannot reach the visible part is not drawn at all.
    if (origin.x >= visible.right || origin.x + width <= visible.left || origin.y >= visible.bottom ||
        origin.y + height <= visible.top) {
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &clip, nullptr, 0, nullptr);
        return;
    }
    // The first slice drawn fills the background in the same call.
    UINT options = ETO_CLIPPED | ETO_OPAQUE;
    if (widths.size() > 1) {
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &clip, nullptr, 0, nullptr);
        options = ETO_CLIPPED;
    }
    std::int64_t x = origin.x;
    std::size_t at = 0;
    for (const std::int64_t w : widths) {
        const std::string_view slice = NextSlice(caption, at);
        at += slice.size();
        if (x < visible.right && x + w > visible.left) {
            if (widths.size() > 1)
                wide = ToWide(slice);
            ExtTextOutW(dc, ClampToInt(x), ClampToInt(origin.y), options, &clip, wide.c_str(),
                        static_cast<UINT>(wide.size()), nullptr);
        }
        x += w;
    }
}

void PaintInto(HDC dc, const TForm& form, const TRect64& area, int dpi)
{
    const RECT whole = ToRect(area);
    SetBkColor(dc, ToColorRef(form.Color()));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &whole, nullptr, 0, nullptr);
    SetTextColor(dc, ToColorRef(form.Font().Color));
    SetBkMode(dc, TRANSPARENT);

    // Each label painted bottom up, only where it shows: what lies outside is painted over
    // anyway.
    for (const TPaintedStack<TControl>::TShown& shown : form.Stack().ShownIn(area, dpi)) {
        const auto* label = dynamic_cast<const TLabel*>(form.Controls()[shown.item]);
        if (label && !shown.visible.IsEmpty())
            PaintLabel(dc, *label, shown.rect, shown.visible);
    }
}

}  // namespace

void PaintClient(HDC dc, const TForm& form, const RECT& area, int dpi, HFONT font)
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = memory ? CreateCompatibleBitmap(dc, width, height) : nullptr;
    if (!bitmap) {
        // No memory for the picture: straight onto the screen, flicker and all.
        if (memory)
            DeleteDC(memory);
        const HGDIOBJ old = SelectObject(dc, font);
        PaintInto(dc, form, ToRect64(area), dpi);
        SelectObject(dc, old);
        return;
    }
    const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    const HGDIOBJ oldFont = SelectObject(memory, font);
    SetViewportOrgEx(memory, -area.left, -area.top, nullptr);
    struct TRelease {
        HDC memory;
        HBITMAP bitmap;
        HGDIOBJ oldBitmap, oldFont;
        ~TRelease()
        {
            SelectObject(memory, oldFont);
            SelectObject(memory, oldBitmap);
            DeleteObject(bitmap);
            DeleteDC(memory);
        }
    } release{memory, bitmap, oldBitmap, oldFont};
    PaintInto(memory, form, ToRect64(area), dpi);
    BitBlt(dc, area.left, area.top, width, height, memory, area.left, area.top, SRCCOPY);
}

}  // namespace win32
