#include "editor/Viewport.h"

#include <algorithm>

namespace editor {
namespace {

// How far a notch of the wheel scrolls, in board pixels.
constexpr std::int64_t kWheelNotch = 120, kWheelStep = 48;

std::int32_t ToBar(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 0, INT32_MAX));
}

}  // namespace

void TViewport::SetContent(const TRect64& content)
{
    extent_ = {content.left - margin_, content.top - margin_, content.right + margin_, content.bottom + margin_};
}

TRect64 TViewport::OnScreen(const TRect64& r) const
{
    const TPoint64 o = Offset();
    return {r.left + o.x, r.top + o.y, r.right + o.x, r.bottom + o.y};
}

TPoint64 TViewport::OnBoard(std::int64_t x, std::int64_t y) const
{
    const TPoint64 o = Offset();
    return {x - o.x, y - o.y};
}

TBarRange TViewport::Bar(bool horizontal) const
{
    const std::int64_t from = horizontal ? extent_.left : extent_.top, to = horizontal ? extent_.right : extent_.bottom;
    const std::int64_t page = horizontal ? canvas_.right - canvas_.left : canvas_.bottom - canvas_.top;
    const std::int64_t at = (horizontal ? scroll_.x : scroll_.y) - margin_;
    return {ToBar(to - from), ToBar(page), ToBar(at - from)};
}

bool TViewport::ScrollTo(TPoint64 wanted)
{
    const std::int64_t width = canvas_.right - canvas_.left, height = canvas_.bottom - canvas_.top;
    const TPoint64 scroll{std::clamp(wanted.x, std::min<std::int64_t>(extent_.left + margin_, 0),
                                     std::max<std::int64_t>(extent_.right - width + margin_, 0)),
                          std::clamp(wanted.y, std::min<std::int64_t>(extent_.top + margin_, 0),
                                     std::max<std::int64_t>(extent_.bottom - height + margin_, 0))};
    if (scroll == scroll_)
        return false;
    scroll_ = scroll;
    return true;
}

bool TViewport::BarMoved(bool horizontal, std::int32_t position)
{
    TPoint64 scroll = scroll_;
    (horizontal ? scroll.x : scroll.y) = position + (horizontal ? extent_.left : extent_.top) + margin_;
    return ScrollTo(scroll);
}

bool TViewport::Wheel(std::int32_t delta, bool across)
{
    const std::int64_t by = -static_cast<std::int64_t>(delta) * kWheelStep / kWheelNotch;
    return ScrollTo({scroll_.x + (across ? by : 0), scroll_.y + (across ? 0 : by)});
}

bool TViewport::Show(const TRect64& board)
{
    const TRect64 r = OnScreen(board);
    TPoint64 scroll = scroll_;
    if (r.left < canvas_.left || r.right > canvas_.right)
        scroll.x += r.left - canvas_.left - margin_;
    if (r.top < canvas_.top || r.bottom > canvas_.bottom)
        scroll.y += r.top - canvas_.top - margin_;
    return ScrollTo(scroll);
}

}  // namespace editor
