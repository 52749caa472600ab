#include "platform/win32/LabelPainter.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/win32/PixelPicture.h"
#include "platform/win32/Win32Support.h"
#include "platform/text/win32/WinText.h"

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

// The paint events' canvas on the picture being made: design pixels scaled as labels are,
// everything cut to the area painted, so GDI never sees a coordinate out of its range.
class TGdiCanvas final : public TCanvas {
public:
    TGdiCanvas(HDC dc, const TRect64& area, int dpi) : dc_(dc), area_(area), dpi_(dpi) {}

    void FillRect(const TRect64& rect, TColor color) override { Fill(ScaleToDpi(rect, dpi_), ToColorRef(color)); }
    void FrameRect(const TRect64& rect, TColor color) override
    {
        const TRect64 r = ScaleToDpi(rect, dpi_);
        if (r.IsEmpty())
            return;
        const COLORREF c = ToColorRef(color);
        Fill({r.left, r.top, r.right, r.top + 1}, c);
        Fill({r.left, r.bottom - 1, r.right, r.bottom}, c);
        Fill({r.left, r.top + 1, r.left + 1, r.bottom - 1}, c);
        Fill({r.right - 1, r.top + 1, r.right, r.bottom - 1}, c);
    }
    void Line(TPoint64 from, TPoint64 to, TColor color, bool dotted) override
    {
        const TPoint64 a{ScaleToDpi(from.x, dpi_), ScaleToDpi(from.y, dpi_)};
        const TPoint64 b{ScaleToDpi(to.x, dpi_), ScaleToDpi(to.y, dpi_)};
        const COLORREF c = ToColorRef(color);
        if (a.x != b.x && a.y != b.y) {
            Slanted(a, b, c, dotted);
            return;
        }
        const TRect64 line =
            TRect64{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1}.Intersect(
                area_);
        if (line.IsEmpty())
            return;
        if (!dotted) {
            Fill(line, c);
            return;
        }
        // Dots on the pixels of even x + y, so a part repainted alone matches the rest.
        for (std::int64_t y = line.top; y < line.bottom; ++y)
            for (std::int64_t x = line.left + ((line.left + y) & 1); x < line.right; x += 2)
                SetPixelV(dc_, static_cast<int>(x), static_cast<int>(y), c);
    }
    void TextRect(const TRect64& rect, std::string_view text, TColor color, bool left) override
    {
        const TRect64 r = ScaleToDpi(rect, dpi_);
        if (!r.Intersects(area_) || text.empty())
            return;
        RECT box = ToRect(r);
        std::wstring wide = ToWide(text);
        SetTextColor(dc_, ToColorRef(color));
        SetBkMode(dc_, TRANSPARENT);
        DrawTextW(dc_, wide.data(), static_cast<int>(wide.size()), &box,
                  (left ? DT_LEFT : DT_CENTER) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    void DrawPicture(const TPicture& picture, const TRect64& rect, int opacityPercent, TColor ground) override
    {
        if (const auto* pixels = dynamic_cast<const TPixelPicture*>(&picture))
            pixels->Paint(dc_, ScaleToDpi(rect, dpi_), area_, opacityPercent, ToColorRef(ground));
    }
    TRect64 ClipRect() const override
    {
        return {ScaleFromDpi(area_.left, dpi_) - 1, ScaleFromDpi(area_.top, dpi_) - 1,
                ScaleFromDpi(area_.right, dpi_) + 1, ScaleFromDpi(area_.bottom, dpi_) + 1};
    }

private:
    void Fill(const TRect64& rect, COLORREF color) const
    {
        const TRect64 visible = rect.Intersect(area_);
        if (visible.IsEmpty())
            return;
        const RECT r = ToRect(visible);
        SetBkColor(dc_, color);
        ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    }
    // Rare (guides are straight): a pen; ends beyond what GDI takes are not drawn.
    void Slanted(TPoint64 a, TPoint64 b, COLORREF color, bool dotted) const
    {
        const std::int64_t limit = 1 << 26;
        const auto inRange = [&](TPoint64 p) { return std::abs(p.x) < limit && std::abs(p.y) < limit; };
        if (!inRange(a) || !inRange(b))
            return;
        LOGBRUSH brush{BS_SOLID, color, 0};
        const HPEN pen = ExtCreatePen(PS_COSMETIC | (dotted ? PS_ALTERNATE : PS_SOLID), 1, &brush, 0, nullptr);
        if (!pen)
            return;
        const HGDIOBJ old = SelectObject(dc_, pen);
        const RECT clip = ToRect(area_);
        const HRGN region = CreateRectRgnIndirect(&clip);
        POINT origin{};
        GetViewportOrgEx(dc_, &origin);
        OffsetRgn(region, origin.x, origin.y);  // regions are in device pixels
        SelectClipRgn(dc_, region);
        MoveToEx(dc_, static_cast<int>(a.x), static_cast<int>(a.y), nullptr);
        LineTo(dc_, static_cast<int>(b.x), static_cast<int>(b.y));
        SetPixelV(dc_, static_cast<int>(b.x), static_cast<int>(b.y), color);  // LineTo leaves out the end
        SelectClipRgn(dc_, nullptr);
        DeleteObject(region);
        SelectObject(dc_, old);
        DeleteObject(pen);
    }

    HDC dc_;
    TRect64 area_;  // in pixels of the screen
    int dpi_;
};

void PaintInto(HDC dc, TForm& form, const TRect64& area, int dpi)
{
    const RECT whole = ToRect(area);
    SetBkColor(dc, ToColorRef(form.Color()));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &whole, nullptr, 0, nullptr);
    TGdiCanvas canvas(dc, area, dpi);
    if (const TPaintEvent behind = form.OnPaintBehind())
        behind(&form, canvas);
    SetTextColor(dc, ToColorRef(form.Font().Color));
    SetBkMode(dc, TRANSPARENT);

    // Each label painted bottom up, only where it shows: what lies outside is painted over
    // anyway.
    for (const TPaintedStack<TControl>::TShown& shown : form.Stack().ShownIn(area, dpi)) {
        const auto* label = dynamic_cast<const TLabel*>(form.Controls()[shown.item]);
        if (label && !label->Transparent() && !shown.visible.IsEmpty())
            PaintLabel(dc, *label, shown.rect, shown.visible);
    }
    if (const TPaintEvent over = form.OnPaintOver())
        over(&form, canvas);
}

// Up to how many rectangles of an update region are painted one by one.
constexpr DWORD kSeparateAreas = 8;

// BeginPaint validates the damaged area, so a paint that fails is not asked for again;
// EndPaint runs however painting ends.
class TPaintScope {
public:
    explicit TPaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd_, &ps_); }
    ~TPaintScope() { EndPaint(hwnd_, &ps_); }
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;
    HDC Dc() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

}  // namespace

void PaintClient(HDC dc, TForm& form, const RECT& area, int dpi, HFONT font)
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

void PaintUpdate(HWND hwnd, TForm& form, int dpi, HFONT font)
{
    // A few separate areas (a dragged label and the status line, say) are painted each on its
    // own rather than as the one rectangle around them all.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const bool separate = region && GetUpdateRgn(hwnd, region, FALSE) == COMPLEXREGION;
    const TPaintScope paint(hwnd);
    std::vector<RECT> areas;
    if (separate) {
        const DWORD size = GetRegionData(region, 0, nullptr);
        std::vector<char> data(size);
        auto* rects = reinterpret_cast<RGNDATA*>(data.data());
        if (size && GetRegionData(region, size, rects) && rects->rdh.nCount <= kSeparateAreas) {
            const auto* first = reinterpret_cast<const RECT*>(rects->Buffer);
            areas.assign(first, first + rects->rdh.nCount);
        }
    }
    if (region)
        DeleteObject(region);
    if (areas.empty())
        areas.push_back(paint.Area());
    for (const RECT& area : areas)
        PaintClient(paint.Dc(), form, area, dpi, font);
}

}  // namespace win32
