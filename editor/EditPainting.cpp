// Painting the canvas: the board's client area and grid, the status board's own controls, and
// over the PCs the marks, the selection, its handles, guides and band; then the panel's texts
// and the status bar.
#include "editor/EditForm.h"
#include "editor/EditorTexts.h"
#include "platform/text/SysUtils.h"

using editor::Inflated;
using editor::Text;
using editor::TText;

namespace {

constexpr TColor kOutside = 0x00A0A0A0;
constexpr TColor kGridLine = 0x00D8D8D8;
constexpr TColor kDimmed = 0x00E8E8E8;
constexpr TColor kDimmedText = 0x00808080;
constexpr TColor kSelection = 0x00D77800;  // blue
constexpr TColor kGuide = 0x00FF00FF;
constexpr TColor kProblem = 0x000000E0;
constexpr TColor kPanel = 0x00F0F0F0;

}  // namespace

void TEditForm::PaintBehind(TCanvas& c)
{
    c.FillRect(canvasRect_, kOutside);
    c.FillRect(OnScreen(boardClient_), Color());
    const TRect64 client = OnScreen(boardClient_);
    if (Editor().Grid().shown && Editor().Grid().step >= 4) {
        const std::int64_t step = Editor().Grid().step;
        for (std::int64_t x = client.left + step; x < client.right; x += step)
            c.Line({x, client.top}, {x, client.bottom}, kGridLine, false);
        for (std::int64_t y = client.top + step; y < client.bottom; y += step)
            c.Line({client.left, y}, {client.right, y}, kGridLine, false);
    }
    // The status board's own painted labels lie below its PCs.
    for (const check::TFixedControl& fixed : check_.controls)
        if (!fixed.native)
            c.TextRect(OnScreen(fixed.rect), fixed.caption, kDimmedText);
}

void TEditForm::PaintOver(TCanvas& c)
{
    // The status board's windows lie above every PC.
    for (const check::TFixedControl& fixed : check_.controls)
        if (fixed.native) {
            const TRect64 r = OnScreen(fixed.rect);
            c.FillRect(r, kDimmed);
            c.FrameRect(r, kDimmedText);
            c.TextRect(r, fixed.caption, kDimmedText);
        }
    for (const TRect64& mark : marks_)
        c.FrameRect(Inflated(OnScreen(mark), 2), kProblem);
    for (const std::size_t pc : Editor().Selection())
        c.FrameRect(Inflated(OnScreen(Editor().RectOf(pc)), 1), kSelection);
    for (const auto& [handle, square] : Editor().Handles())
        c.FillRect(OnScreen(square), kSelection);
    for (const editor::TGuide& g : Editor().Guides()) {
        const TPoint64 o = BoardOffset();
        if (g.vertical)
            c.Line({g.at + o.x, g.from + o.y}, {g.at + o.x, g.to + o.y}, kGuide, true);
        else
            c.Line({g.from + o.x, g.at + o.y}, {g.to + o.x, g.at + o.y}, kGuide, true);
    }
    if (const TRect64 band = Editor().Band(); !band.IsEmpty())
        c.FrameRect(OnScreen(band), kSelection);

    // The panel and the status bar cover whatever lies under them.
    c.FillRect(panelRect_, kPanel);
    for (const TField& f : fields_)
        c.TextRect(f.captionRect, f.caption, clBlack);
    for (std::size_t i = 0; i < headings_.size(); ++i)
        c.TextRect(headingRects_[i], headings_[i], clBlack);
    PaintStatus(c);
}

void TEditForm::PaintStatus(TCanvas& c)
{
    c.FillRect(statusRect_, kPanel);
    const std::size_t selected = Editor().Selection().size();
    std::string status = Text(TText::StatusPointer, {IntToStr(pointer_.x), IntToStr(pointer_.y)});
    if (selected > 1)
        status += "　" + Text(TText::StatusSelectedMany, {IntToStr(static_cast<std::int64_t>(selected))});
    if (const TRect64 b = Editor().SelectionBounds(); !b.IsEmpty())
        status += "　" + Text(TText::StatusSelection, {IntToStr(b.left), IntToStr(b.top), IntToStr(b.right - b.left),
                                                       IntToStr(b.bottom - b.top)});
    else
        status += "　" + Text(TText::StatusNone);
    if (!status_.empty())
        status += "　" + status_;
    c.TextRect(TRect64{statusRect_.left + 6, statusRect_.top, statusRect_.right, statusRect_.bottom}, status, clBlack,
               true);
}

void TEditForm::RepaintOverlay()
{
    Invalidate(OnScreen(Editor().OverlayChange()));
}
