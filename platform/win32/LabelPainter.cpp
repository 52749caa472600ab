#include "platform/win32/LabelPainter.h"

#include <bit>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/Forms.h"
#include "platform/win32/Win32Support.h"
#include "platform/win32/WinText.h"

namespace win32 {
namespace {

struct TPaintedLabel {
    const TLabel* label;
    TRect64 bounds;   // scaled to the DPI
    TRect64 visible;  // the part inside the area not hidden by labels above, as a rectangle
};

// Which pixels of the area are already taken by labels above, row by row.
class TCoverage {
public:
    TCoverage(const TRect64& area)
        : area_(area), words_(static_cast<std::size_t>((area.right - area.left + 63) / 64)),
          bits_(words_ * static_cast<std::size_t>(area.bottom - area.top), 0)
    {
    }

    // Takes the rectangle; gives back the bounds of what of it was still free.
    TRect64 Take(const TRect64& r)
    {
        TRect64 free{r.right, r.bottom, r.left, r.top};
        const std::int64_t left = r.left - area_.left, right = r.right - area_.left;
        for (std::int64_t y = r.top - area_.top; y < r.bottom - area_.top; ++y) {
            std::uint64_t* row = &bits_[static_cast<std::size_t>(y) * words_];
            for (std::int64_t w = left / 64; w <= (right - 1) / 64; ++w) {
                const std::int64_t from = std::max(left, w * 64) - w * 64, to = std::min(right, w * 64 + 64) - w * 64;
                const std::uint64_t mask =
                    (to - from == 64 ? ~std::uint64_t{0} : ((std::uint64_t{1} << (to - from)) - 1)) << from;
                if (const std::uint64_t open = mask & ~row[w]) {
                    const std::int64_t x = area_.left + w * 64;
                    free.left = std::min(free.left, x + std::countr_zero(open));
                    free.right = std::max(free.right, x + 64 - std::countl_zero(open));
                    free.top = std::min(free.top, area_.top + y);
                    free.bottom = std::max(free.bottom, area_.top + y + 1);
                }
                row[w] |= mask;
            }
        }
        return free.IsEmpty() ? TRect64{} : free;
    }

private:
    TRect64 area_;
    std::size_t words_;
    std::vector<std::uint64_t> bits_;
};

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

    std::vector<TPaintedLabel> labels;
    form.ForEachPaintedIn(
        area,
        [&](TControl& control) {
            if (const auto* label = dynamic_cast<const TLabel*>(&control)) {
                const TRect64 bounds = ScaleToDpi(label->BoundsRect(), dpi);
                labels.push_back({label, bounds, bounds.Intersect(area)});
            }
        },
        dpi);
    // Top down, what of each label still shows; then those painted bottom up, each only
    // there, as what lies outside is painted over anyway.
    TCoverage coverage(area);
    for (std::size_t i = labels.size(); i-- > 0;)
        labels[i].visible = coverage.Take(labels[i].visible);
    for (const TPaintedLabel& p : labels)
        if (!p.visible.IsEmpty())
            PaintLabel(dc, *p.label, p.bounds, p.visible);
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
