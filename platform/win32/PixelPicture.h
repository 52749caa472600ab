// A decoded picture in memory and its painting: stretched to a rectangle of the screen and
// blended over a ground colour. The stretched, blended pixels of the last size painted are
// kept, so that later paints at that size only copy them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/forms/Picture.h"
#include "platform/geometry/Graphics.h"

namespace win32 {

class TPixelPicture final : public TPicture {
public:
    // Each pixel blue, green, red and alpha from the low byte up, the colours multiplied by
    // alpha; row after row from the top.
    TPixelPicture(std::int32_t width, std::int32_t height, std::vector<std::uint32_t> pixels);

    std::int64_t Width() const override { return width_; }
    std::int64_t Height() const override { return height_; }

    // Paints the part of the picture stretched over target that lies in area (both in the
    // dc's pixels), at the opacity (0 to 100) over the ground.
    void Paint(HDC dc, const TRect64& target, const TRect64& area, int opacityPercent, COLORREF ground) const;

private:
    // Stretched and blended pixels of a part of a target of a size, in the target's own
    // pixels (its top left corner at 0, 0).
    struct TScaled {
        std::int64_t width = 0, height = 0;
        int opacity = -1;
        COLORREF ground = 0;
        TRect64 part;
        std::vector<std::uint32_t> pixels;
    };
    void Scale(std::int64_t width, std::int64_t height, const TRect64& part, int opacity, COLORREF ground) const;

    std::int32_t width_, height_;
    std::vector<std::uint32_t> pixels_;
    mutable TScaled scaled_;
};

}  // namespace win32
