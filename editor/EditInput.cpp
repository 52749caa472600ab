// What the pointer, the keys and the scroll bars do on the canvas: handed to the editing logic
// and the viewport, then shown.
#include "editor/EditForm.h"

using editor::THandle;
using editor::TRefusal;

namespace {

TCursor CursorOf(THandle h)
{
    switch (h) {
    case THandle::Move:
        return crSizeAll;
    case THandle::Left:
    case THandle::Right:
        return crSizeWE;
    case THandle::Top:
    case THandle::Bottom:
        return crSizeNS;
    case THandle::TopLeft:
    case THandle::BottomRight:
        return crSizeNWSE;
    case THandle::TopRight:
    case THandle::BottomLeft:
        return crSizeNESW;
    case THandle::None:
        break;
    }
    return crDefault;
}

}  // namespace

bool TEditForm::InCanvas(const TMouseInfo& m) const
{
    return canvasRect_.Contains(m.x, m.y);
}

void TEditForm::FocusCanvas()
{
    SetFocusedControl(canvasFocus_);
}

void TEditForm::CanvasMouseDown(const TMouseInfo& m)
{
    if (m.button != mbLeft || !InCanvas(m))
        return;
    FocusCanvas();
    if (PlanMouseDown(viewport_.OnBoard(m.x, m.y)))
        return;
    Editor().Press(viewport_.OnBoard(m.x, m.y), (m.shift & ssCtrl) != 0, editor::kHandleReach);
    SyncSelection();
}

void TEditForm::CanvasMouseMove(const TMouseInfo& m)
{
    pointer_ = viewport_.OnBoard(m.x, m.y);
    if (InCanvas(m) && PlanMouseMove(pointer_, (m.shift & ssLeft) != 0)) {
        SetStatus({});
        return;
    }
    if (m.shift & ssLeft) {
        const TRect64 changed = Editor().DragTo(pointer_, !(m.shift & ssAlt) && Editor().Grid().snap);
        if (!changed.IsEmpty()) {
            SyncLabels();
            Invalidate(OnScreen(changed));
        }
    } else {
        SetCursor(InCanvas(m) ? CursorOf(Editor().HandleAt(pointer_, editor::kHandleReach)) : crDefault);
    }
    SetStatus({});
}

void TEditForm::CanvasMouseUp(const TMouseInfo& m)
{
    if (m.button != mbLeft || PlanMouseUp())
        return;
    // A drag's release is a step; a click's only changed the selection.
    const bool dragged = Editor().Dragging();
    const TRefusal refusal = Editor().Release();
    if (dragged)
        FinishStep(refusal);
    else
        SyncSelection();
}

void TEditForm::CanvasKeyDown(TKeyInfo& k)
{
    if (k.key == vkTab && !(k.shift & (ssCtrl | ssAlt))) {
        Editor().SelectNext((k.shift & ssShift) != 0);
        SyncSelection();
        if (!Editor().Selection().empty())
            ShowPc(Editor().Selection().back());
        k.handled = true;
        return;
    }
    if (k.key < vkLeft || k.key > vkDown || Editor().Selection().empty())
        return;
    const std::int32_t by = (k.shift & ssShift) ? Editor().Grid().step : 1;
    const std::int32_t dx = k.key == vkLeft ? -by : k.key == vkRight ? by : 0;
    const std::int32_t dy = k.key == vkUp ? -by : k.key == vkDown ? by : 0;
    FinishStep(Editor().Nudge(dx, dy, (k.shift & ssCtrl) != 0, keyStepHeld_));
    keyStepHeld_ = true;
    ShowPc(Editor().Selection().back());
    k.handled = true;
}

void TEditForm::CanvasKeyUp(TKeyInfo&)
{
    // The next press of an arrow is a step of its own.
    keyStepHeld_ = false;
}

// -- scrolling

void TEditForm::Scrolled(bool moved)
{
    if (!moved)
        return;
    SyncLabels();
    UpdateScrollBars();
    Invalidate(canvasRect_);
}

void TEditForm::UpdateScrollBars()
{
    TRect64 content = boardClient_;
    for (std::size_t i = 0; i < Editor().Pcs().size(); ++i)
        content = content.Union(Editor().RectOf(i));
    viewport_.SetContent(content);
    const auto bar = [this](bool horizontal) {
        const editor::TBarRange r = viewport_.Bar(horizontal);
        return TScrollRange{r.range, r.page, r.position};
    };
    SetScrollBars(bar(true), bar(false));
}

// Scrolls so that the PC shows on the canvas, when it lies beyond it.
void TEditForm::ShowPc(std::size_t pc)
{
    Scrolled(viewport_.Show(Editor().RectOf(pc)));
}
