// Painting the canvas: the board's client area, the floor plan and the grid, the status board's own controls, and
// over the PCs the marks, the selection, its handles, guides and band; then the panel's texts
// and the status bar.
#include "editor/EditForm.h"
#include "editor/EditorTexts.h"
#include "editor/PlanGeometry.h"
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
constexpr TColor kPlanPoint = 0x00FF00FF;

}  // namespace

void TEditForm::PaintBehind(TCanvas& c)
{
    c.FillRect(canvasRect_, kOutside);
    const TRect64 client = OnScreen(boardClient_);
    c.FillRect(client, Color());
    PaintPlan(c);
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
    PaintPlanPoints(c);
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

void TEditForm::PaintPlan(TCanvas& c)
{
    const TRect64 board = PlanOnBoard();
    if (board.IsEmpty())
        return;
    const TRect64 r = OnScreen(board), client = OnScreen(boardClient_);
    if (!r.Intersects(client) || !r.Intersects(c.ClipRect()))
        return;
    c.DrawPicture(*floor_.picture, r, ShownPlan()->opacity, Color());
    // It shows in the board's client area only: what lies beyond is the canvas again.
    for (const TRect64& beyond : {TRect64{r.left, r.top, r.right, std::min(client.top, r.bottom)},
                                  TRect64{r.left, std::max(client.bottom, r.top), r.right, r.bottom},
                                  TRect64{r.left, client.top, std::min(client.left, r.right), client.bottom},
                                  TRect64{std::max(client.right, r.left), client.top, r.right, client.bottom}})
        if (!beyond.IsEmpty())
            c.FillRect(beyond, kOutside);
}

void TEditForm::PaintPlanPoints(TCanvas& c)
{
    const int points = floor_.liningUp == TFloorView::SecondPoint ? 1 : floor_.liningUp == TFloorView::Distance ? 2 : 0;
    const TPoint64 o = BoardOffset();
    for (int i = 0; i < points; ++i) {
        const TPoint64 p{floor_.points[i].x + o.x, floor_.points[i].y + o.y};
        c.Line({p.x - 6, p.y}, {p.x + 6, p.y}, kPlanPoint);
        c.Line({p.x, p.y - 6}, {p.x, p.y + 6}, kPlanPoint);
    }
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
