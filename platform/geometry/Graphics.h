// Colours, fonts and rectangles.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

// A colour: red in the low byte, then green, then blue. Values with the top bit set name a
// system colour (its index in the low byte), resolved by the backend when painting.
using TColor = std::int32_t;

inline constexpr TColor clRed = 0x000000FF;
inline constexpr TColor clYellow = 0x0000FFFF;
inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clWhite = 0x00FFFFFF;
inline constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
inline constexpr TColor clBtnFace = clSystemColor | 15;    // COLOR_BTNFACE
inline constexpr TColor clWindowText = clSystemColor | 8;  // COLOR_WINDOWTEXT

constexpr bool IsSystemColor(TColor c)
{
    return (c & clSystemColor) != 0;
}

struct TFont {
    std::string Name = "MS Sans Serif";
    std::int32_t Height = -11;  // negative: character height in pixels
    TColor Color = clWindowText;
    int Charset = 1;  // DEFAULT_CHARSET
};

struct TPoint64 {
    std::int64_t x = 0, y = 0;
    friend bool operator==(const TPoint64&, const TPoint64&) = default;
};

// A rectangle in 64-bit coordinates, so that left + width never overflows for any pair of
// 32-bit values. Right and bottom are exclusive.
struct TRect64 {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;

    // From a position and a size, whatever 32-bit values they are.
    static constexpr TRect64 Of(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height)
    {
        return {left, top, left + width, top + height};
    }

    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(std::int64_t x, std::int64_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    TRect64 Intersect(const TRect64& o) const
    {
        TRect64 r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
        if (r.IsEmpty())
            return {};
        return r;
    }
    bool Intersects(const TRect64& o) const { return !Intersect(o).IsEmpty(); }
    // The smallest rectangle holding both; an empty one adds nothing.
    TRect64 Union(const TRect64& o) const
    {
        if (IsEmpty())
            return o;
        if (o.IsEmpty())
            return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
    }
    friend bool operator==(const TRect64&, const TRect64&) = default;
};

// Layouts and boards are designed at 96 pixels per inch. At another DPI every coordinate is
// scaled by dpi / 96, rounded half away from zero; rectangles scale edge by edge, so labels
// that touch at 96 DPI still touch.
inline constexpr int kDesignDpi = 96;

constexpr std::int64_t ScaleToDpi(std::int64_t v, int dpi)
{
    const std::int64_t product = v * dpi;
    return (product + (product < 0 ? -kDesignDpi / 2 : kDesignDpi / 2)) / kDesignDpi;
}

// Back from a screen of that DPI to design pixels, rounded the same way.
constexpr std::int64_t ScaleFromDpi(std::int64_t v, int dpi)
{
    const std::int64_t product = v * kDesignDpi;
    return (product + (product < 0 ? -dpi / 2 : dpi / 2)) / dpi;
}

constexpr TRect64 ScaleToDpi(const TRect64& r, int dpi)
{
    return {ScaleToDpi(r.left, dpi), ScaleToDpi(r.top, dpi), ScaleToDpi(r.right, dpi), ScaleToDpi(r.bottom, dpi)};
}

// What a form's paint events draw with, in design pixels: a backend scales every coordinate
// by its DPI as it scales labels, so a frame drawn on a label's rectangle lies on its edges.
// Lines and frames are one screen pixel wide at any DPI.
class TPicture;

class TCanvas {
public:
    virtual void FillRect(const TRect64& rect, TColor color) = 0;
    virtual void FrameRect(const TRect64& rect, TColor color) = 0;
    // From one point to the other, both included; dotted: every other pixel.
    virtual void Line(TPoint64 from, TPoint64 to, TColor color, bool dotted = false) = 0;
    // One line of UTF-8 text in the rectangle, centred both ways or (left) from its left edge,
    // in the form's font, clipped to it.
    virtual void TextRect(const TRect64& rect, std::string_view text, TColor color, bool left = false) = 0;
    // The picture stretched over the rectangle, at the opacity (0 to 100) over a ground of the
    // colour given, clipped to what is painted.
    virtual void DrawPicture(const TPicture& picture, const TRect64& rect, int opacityPercent, TColor ground) = 0;
    // The part being painted, in design pixels (rounded outward): what lies outside it needs
    // no drawing.
    virtual TRect64 ClipRect() const = 0;

protected:
    ~TCanvas() = default;
};
