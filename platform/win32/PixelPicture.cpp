#include "platform/win32/PixelPicture.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

namespace win32 {
namespace {

// A target of up to this many pixels is kept whole; of a larger one (a plan at a high zoom),
// a part of up to this many pixels each way around what is painted, or what is painted when
// that is more: never more than a screen's worth or two.
constexpr std::int64_t kWholeLimit = std::int64_t{1} << 23;
constexpr std::int64_t kPartSide = 2048;
// Stretched beyond this each way, a picture is not painted at all.
constexpr std::int64_t kLargestTarget = 0x7FFFFFFF;
// At most this many of the picture's rows, and as many columns, are averaged into one
// pixel, so that every sum fits 32 bits: beyond, the rest are left out.
constexpr std::int32_t kMostAveraged = 4096;

// The picture's pixels that make pixel t of a target: its rows, or its columns.
struct TSpan {
    std::int32_t first, count;
};

TSpan SpanOf(std::int64_t t, std::int64_t target, std::int64_t source)
{
    const std::int64_t first = t * source / target;
    const std::int64_t last = std::max(first + 1, (t + 1) * source / target);
    return {static_cast<std::int32_t>(first),
            static_cast<std::int32_t>(std::min<std::int64_t>(last - first, kMostAveraged))};
}

// Along one side of a target of length whole: the part kept around [from, to).
std::pair<std::int64_t, std::int64_t> PartAround(std::int64_t from, std::int64_t to, std::int64_t whole)
{
    const std::int64_t length = std::max(to - from, std::min(whole, kPartSide));
    const std::int64_t start = std::clamp((from + to - length) / 2, std::int64_t{0}, whole - length);
    return {start, start + length};
}

}  // namespace

TPixelPicture::TPixelPicture(std::int32_t width, std::int32_t height, std::vector<std::uint32_t> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels))
{
}

void TPixelPicture::Paint(HDC dc, const TRect64& target, const TRect64& area, int opacityPercent, COLORREF ground) const
{
    const TRect64 shown = target.Intersect(area);
    const std::int64_t width = target.right - target.left, height = target.bottom - target.top;
    if (shown.IsEmpty() || width > kLargestTarget || height > kLargestTarget || pixels_.empty())
        return;
    const int opacity = std::clamp(opacityPercent, 0, 100);
    const TRect64 wanted{shown.left - target.left, shown.top - target.top, shown.right - target.left,
                         shown.bottom - target.top};
    if (scaled_.width != width || scaled_.height != height || scaled_.opacity != opacity || scaled_.ground != ground ||
        wanted.Intersect(scaled_.part) != wanted) {
        TRect64 part{0, 0, width, height};
        if (width * height > kWholeLimit) {
            const auto [left, right] = PartAround(wanted.left, wanted.right, width);
            const auto [top, bottom] = PartAround(wanted.top, wanted.bottom, height);
            part = {left, top, right, bottom};
        }
        try {
            Scale(width, height, part, opacity, ground);
        } catch (const std::bad_alloc&) {
            scaled_ = {};  // no memory for it: the ground shows
            return;
        }
    }
    const TRect64& part = scaled_.part;
    const std::int64_t stride = part.right - part.left, rows = wanted.bottom - wanted.top;
    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), static_cast<LONG>(stride), -static_cast<LONG>(rows), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    // Exactly the rows wanted, top down from the first: row and column offsets mean the same
    // whichever way a system reads them.
    const std::uint32_t* first = scaled_.pixels.data() + (wanted.top - part.top) * stride;
    SetDIBitsToDevice(dc, static_cast<int>(shown.left), static_cast<int>(shown.top),
                      static_cast<DWORD>(shown.right - shown.left), static_cast<DWORD>(rows),
                      static_cast<int>(wanted.left - part.left), 0, 0, static_cast<UINT>(rows), first, &info,
                      DIB_RGB_COLORS);
}

// Each pixel of the part is the average of the picture's pixels under it (the nearest one
// when stretched larger), blended over the ground.
void TPixelPicture::Scale(std::int64_t width, std::int64_t height, const TRect64& part, int opacity,
                          COLORREF ground) const
{
    scaled_ = {};  // the old pixels go before the new ones are made
    const std::int64_t partWidth = part.right - part.left;
    std::vector<std::uint32_t> out(static_cast<std::size_t>(partWidth * (part.bottom - part.top)));
    std::vector<TSpan> columns(static_cast<std::size_t>(partWidth));
    for (std::int64_t x = part.left; x < part.right; ++x)
        columns[static_cast<std::size_t>(x - part.left)] = SpanOf(x, width, width_);
    const std::int32_t sourceLeft = columns.front().first;
    const std::size_t sourceColumns =
        static_cast<std::size_t>(columns.back().first + columns.back().count - sourceLeft);
    std::vector<std::uint32_t> sums(4 * sourceColumns);  // blue, green, red, alpha of each column
    const std::uint32_t groundShare[3] = {GetBValue(ground), GetGValue(ground), GetRValue(ground)};
    const auto pictureShare = static_cast<std::uint32_t>(opacity) * 255;

    std::uint32_t* to = out.data();
    TSpan previous{-1, 0};
    for (std::int64_t y = part.top; y < part.bottom; ++y) {
        const TSpan rows = SpanOf(y, height, height_);
        if (rows.first == previous.first && rows.count == previous.count) {  // stretched taller: the row again
            to = std::copy_n(to - partWidth, partWidth, to);
            continue;
        }
        previous = rows;
        std::fill(sums.begin(), sums.end(), 0u);
        for (std::int32_t r = 0; r < rows.count; ++r) {
            const std::uint32_t* in = pixels_.data() +
                                      static_cast<std::size_t>(rows.first + r) * static_cast<std::size_t>(width_) +
                                      static_cast<std::size_t>(sourceLeft);
            std::uint32_t* sum = sums.data();
            for (std::size_t c = 0; c < sourceColumns; ++c, sum += 4) {
                const std::uint32_t p = in[c];
                sum[0] += p & 0xFF;
                sum[1] += p >> 8 & 0xFF;
                sum[2] += p >> 16 & 0xFF;
                sum[3] += p >> 24;
            }
        }
        for (const TSpan& column : columns) {
            const std::uint32_t* sum = sums.data() + 4 * static_cast<std::size_t>(column.first - sourceLeft);
            std::uint32_t total[4] = {};
            for (std::int32_t c = 0; c < column.count; ++c, sum += 4)
                for (int k = 0; k < 4; ++k)
                    total[k] += sum[k];
            const auto n = static_cast<std::uint32_t>(column.count) * static_cast<std::uint32_t>(rows.count);
            const std::uint32_t alpha = (total[3] + n / 2) / n;
            // In 25,500ths: the ground's share and the picture's, whose colours already carry
            // their alpha.
            const std::uint32_t groundPart = 25500 - static_cast<std::uint32_t>(opacity) * alpha;
            std::uint32_t pixel = 0;
            for (int k = 0; k < 3; ++k) {
                const std::uint32_t colour = (total[k] + n / 2) / n;
                const std::uint32_t blended = (groundShare[k] * groundPart + colour * pictureShare + 12750) / 25500;
                pixel |= std::min<std::uint32_t>(blended, 255) << (8 * k);
            }
            *to++ = pixel;
        }
    }
    scaled_ = {width, height, opacity, ground, part, std::move(out)};
}

}  // namespace win32
