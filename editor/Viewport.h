// The canvas's view of the board: how far it is scrolled, within what there is to see, and
// where a board pixel lies in the client area. Unscrolled, the board's origin lies margin
// pixels into the canvas, so what lies just beyond its edges shows.
#pragma once

#include <cstdint>

#include "platform/geometry/Graphics.h"

namespace editor {

// A scroll bar's range, the part one page shows, and where that page starts.
struct TBarRange {
    std::int32_t range = 0, page = 0, position = 0;
};

class TViewport {
public:
    explicit TViewport(std::int64_t margin) : margin_(margin) {}

    // The canvas's rectangle in the client area.
    void SetCanvas(const TRect64& canvas) { canvas_ = canvas; }
    // What there is to see, in board pixels: the margin goes around it.
    void SetContent(const TRect64& content);
    const TRect64& Extent() const { return extent_; }
    TPoint64 Scroll() const { return scroll_; }

    // Where the board's origin lies in the client area.
    TPoint64 Offset() const { return {canvas_.left + margin_ - scroll_.x, canvas_.top + margin_ - scroll_.y}; }
    TRect64 OnScreen(const TRect64& board) const;
    TPoint64 OnBoard(std::int64_t x, std::int64_t y) const;

    TBarRange Bar(bool horizontal) const;

    // Each scrolls, never past what there is to see, and says whether the view moved.
    bool ScrollTo(TPoint64 wanted);
    // A bar the user moved to a position of its range.
    bool BarMoved(bool horizontal, std::int32_t position);
    // The wheel turned by delta (120 a notch; away from the user is positive), across with Shift.
    bool Wheel(std::int32_t delta, bool across);
    // Brings the rectangle onto the canvas, when it lies beyond it.
    bool Show(const TRect64& board);

private:
    std::int64_t margin_;
    TRect64 canvas_, extent_;
    TPoint64 scroll_;
};

}  // namespace editor
