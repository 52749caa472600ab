// The floor plan under the board: choosing its picture, hiding it, moving it by dragging or by
// its fields, and lining it up by two points. The plan itself is
// the board document's, each change one step; the picture, and whether it shows, are this
// window's.
#include <algorithm>

#include "board/FloorPlan.h"
#include "editor/EditForm.h"
#include "editor/EditFormMetrics.h"
#include "editor/EditorTexts.h"
#include "editor/PlanGeometry.h"
#include "platform/text/SysUtils.h"

using board::TFloorPlan;
using board::TPlanKey;
using editor::Text;
using editor::TRefusal;
using editor::TText;
using namespace editform;

namespace {

constexpr TPlanKey kFieldKeys[] = {TPlanKey::Left, TPlanKey::Top, TPlanKey::Scale, TPlanKey::Opacity};

std::string ProblemText(const TPictureLoad& load)
{
    switch (load.problem) {
    case TPictureProblem::NotFound:
        return Text(TText::PlanNotFound);
    case TPictureProblem::NotAPicture:
        return Text(TText::PlanNotAPicture);
    case TPictureProblem::TooLarge:
        return Text(TText::PlanTooLarge);
    case TPictureProblem::Unreadable:
    case TPictureProblem::None:
        break;
    }
    return Text(TText::PlanUnreadable, {load.reason});
}

std::int32_t Clamp32(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

void TEditForm::BuildPlanMenu(TMenuItem* view)
{
    const auto add = [this, view](TText text, TShortCut shortcut, std::function<void()> work) {
        auto* item = new TMenuItem(this);
        item->SetCaption(Text(text));
        item->SetShortCut(shortcut);
        item->SetOnClick([work = std::move(work)](TObject*) { work(); });
        view->Add(item);
        return item;
    };
    auto* separator = new TMenuItem(this);
    separator->SetCaption("-");
    view->Add(separator);
    add(TText::MenuFloorPlan, {}, [this] { ChoosePlan(); });
    constexpr std::uint16_t kF9 = vkF1 + 8;
    hidePlanItem_ = add(TText::MenuHidePlan, {kF9, 0}, [this] {
        floor_.hidden = !floor_.hidden;
        floor_.moving = floor_.moving && !floor_.hidden;
        UpdateMenus();
        FollowPlan();
    });
    movePlanItem_ = add(TText::MenuMovePlan, {}, [this] {
        if (!floor_.moving && !Editor().Document().FloorPlan()) {
            SetStatus(Text(TText::PlanNone));
            return;
        }
        floor_.moving = !floor_.moving;
        floor_.hidden = floor_.hidden && !floor_.moving;
        UpdateMenus();
        FollowPlan();
    });
    add(TText::MenuLineUpPlan, {}, [this] { StartLiningUp(); });
    add(TText::MenuRemovePlan, {}, [this] { RemovePlan(); });
}

void TEditForm::BuildPlanPanel(std::int32_t x, std::int32_t& y)
{
    floorEdits_[0] = AddField(Text(TText::FieldPlanLeft), x, y, 72, 56);
    floorEdits_[1] = AddField(Text(TText::FieldPlanTop), x + 132, y, 68, 56);
    y += kRow;
    floorEdits_[2] = AddField(Text(TText::FieldPlanScale), x, y, 72, 56);
    floorEdits_[3] = AddField(Text(TText::FieldPlanOpacity), x + 132, y, 68, 56);
    y += kRow;
    floorEdits_[4] = AddField(Text(TText::FieldPlanDistance), x, y, 72, 56);
    y += kRow;
}

void TEditForm::ChoosePlan()
{
    const std::optional<std::string> path =
        PromptForOpenFileName(Text(TText::PlanTitle), ExtractFilePath(session_->Path()),
                              Text(TText::PlanFilter) + "|*.png;*.jpg;*.jpeg;*.bmp;*.dib;*.gif;*.tif;*.tiff");
    if (!path)
        return;
    TPictureLoad load = backend::LoadPicture(*path);
    if (!load.picture) {
        MessageDlg(Text(TText::PlanCannotOpen, {*path, ProblemText(load)}), Text(TText::AppName), mbOK, mtError);
        return;
    }
    // Another picture of the same room keeps the place it was lined up at.
    TFloorPlan plan = Editor().Document().FloorPlan().value_or(TFloorPlan{});
    plan.file = board::PlanFileName(session_->Path(), *path);
    const TRefusal refusal = Editor().SetFloorPlan(plan);
    if (refusal == TRefusal::None) {
        floor_.picture = std::move(load.picture);
        floor_.path = board::PlanPath(session_->Path(), plan.file);
        floor_.hidden = false;
        UpdateMenus();
    }
    FinishStep(refusal);
}

void TEditForm::RemovePlan()
{
    floor_.moving = false;
    floor_.liningUp = TFloorView::Off;
    FinishStep(Editor().SetFloorPlan(std::nullopt));
}

void TEditForm::StartLiningUp()
{
    if (PlanOnBoard().IsEmpty()) {
        SetStatus(Text(TText::PlanNone));
        return;
    }
    floor_.liningUp = TFloorView::FirstPoint;
    FocusCanvas();
    SetStatus(Text(TText::PlanFirstPoint));
}

std::optional<TFloorPlan> TEditForm::ShownPlan() const
{
    return floor_.dragged ? floor_.dragged : Editor().Document().FloorPlan();
}

TRect64 TEditForm::PlanOnBoard() const
{
    const std::optional<TFloorPlan> plan = ShownPlan();
    if (floor_.hidden || !floor_.picture || !plan)
        return {};
    return editor::PlanRect(*plan, floor_.picture->Width(), floor_.picture->Height());
}

void TEditForm::FollowPlan()
{
    const std::optional<TFloorPlan> plan = Editor().Document().FloorPlan();
    const std::string path = plan && !plan->file.empty() ? board::PlanPath(session_->Path(), plan->file) : "";
    if (path != floor_.path) {
        floor_.path = path;
        floor_.picture.reset();
        floor_.problem.clear();
        if (!path.empty()) {
            const TPictureLoad load = backend::LoadPicture(path);
            floor_.picture = load.picture;
            if (!load.picture) {
                floor_.problem = Text(TText::PlanNotShown, {plan->file, ProblemText(load)});
                SetStatus(floor_.problem);
            }
        }
    }
    if (!plan) {
        floor_.moving = false;
        floor_.liningUp = TFloorView::Off;
    }
    for (std::size_t k = 0; k < std::size(kFieldKeys); ++k) {
        const std::string text = plan ? board::PlanValue(*plan, kFieldKeys[k]) : std::string();
        if (floorEdits_[k] && floorEdits_[k]->Text() != text)
            floorEdits_[k]->SetText(text);
    }
    PlacePlanItem();
    if (movePlanItem_)
        UpdateMenus();
}

void TEditForm::PlacePlanItem()
{
    const TRect64 now = PlanOnBoard();
    const int opacity = ShownPlan().value_or(TFloorPlan{}).opacity;
    if (now != floor_.painted || opacity != floor_.paintedOpacity || floor_.picture.get() != floor_.paintedPicture) {
        Invalidate(OnScreen(floor_.painted.Union(now)));
        floor_.painted = now;
        floor_.paintedOpacity = opacity;
        floor_.paintedPicture = floor_.picture.get();
    }
    if (!floorItem_)
        return;
    if (now.IsEmpty()) {
        floorItem_->SetBounds(0, 0, 0, 0);
        return;
    }
    const TRect64 r = OnScreen(now);
    floorItem_->SetBounds(Clamp32(r.left), Clamp32(r.top), Clamp32(r.right - r.left), Clamp32(r.bottom - r.top));
}

bool TEditForm::PlanMouseDown(TPoint64 point)
{
    switch (floor_.liningUp) {
    case TFloorView::SecondPoint:
        floor_.points[1] = point;
        floor_.liningUp = TFloorView::Distance;
        Invalidate(canvasRect_);
        floorEdits_[4]->SetFocus();
        SetStatus(Text(TText::PlanTypeDistance));
        return true;
    case TFloorView::FirstPoint:
    case TFloorView::Distance:  // a click again starts again
        floor_.points[0] = point;
        floor_.liningUp = TFloorView::SecondPoint;
        Invalidate(canvasRect_);
        SetStatus(Text(TText::PlanSecondPoint));
        return true;
    case TFloorView::Off:
        break;
    }
    if (!floor_.moving || PlanOnBoard().IsEmpty())
        return false;
    floor_.pressed = point;
    floor_.dragged = Editor().Document().FloorPlan();
    return true;
}

bool TEditForm::PlanMouseMove(TPoint64 point, bool held)
{
    if (floor_.pressed && held) {
        if (const std::optional<TFloorPlan> plan = Editor().Document().FloorPlan())
            floor_.dragged = editor::MovedPlan(*plan, point.x - floor_.pressed->x, point.y - floor_.pressed->y);
        PlacePlanItem();
        return true;
    }
    if (floor_.liningUp == TFloorView::FirstPoint || floor_.liningUp == TFloorView::SecondPoint) {
        SetCursor(crCross);
        return true;
    }
    if (floor_.moving && !PlanOnBoard().IsEmpty()) {
        SetCursor(crSizeAll);
        return true;
    }
    return false;
}

bool TEditForm::PlanMouseUp()
{
    if (!floor_.pressed)
        return false;
    const std::optional<TFloorPlan> plan = std::exchange(floor_.dragged, std::nullopt);
    floor_.pressed.reset();
    if (plan)
        FinishStep(Editor().SetFloorPlan(*plan));
    return true;
}

bool TEditForm::PlanFieldKeyDown(TEdit* edit)
{
    const auto it = std::find(floorEdits_.begin(), floorEdits_.end(), edit);
    if (it == floorEdits_.end())
        return false;
    std::optional<TFloorPlan> plan = Editor().Document().FloorPlan();
    if (!plan) {
        SetStatus(Text(TText::PlanNone));
        return true;
    }
    const std::string text = edit->Text();
    if (it == floorEdits_.end() - 1) {
        if (floor_.liningUp != TFloorView::Distance) {
            StartLiningUp();
            return true;
        }
        std::int32_t distance = 0;
        const std::optional<TFloorPlan> lined =
            TryStrToInt(text, distance)
                ? editor::Calibrated(*plan, floor_.points[0], floor_.points[1], static_cast<double>(distance))
                : std::nullopt;
        if (!lined) {
            SetStatus(Text(TText::PlanBadPoints));
            return true;
        }
        floor_.liningUp = TFloorView::Off;
        Invalidate(canvasRect_);
        FinishStep(Editor().SetFloorPlan(*lined));
        SetStatus(Text(TText::PlanLinedUp, {board::ScaleText(lined->scale)}));
        FocusCanvas();
        return true;
    }
    if (!board::ReadPlanValue(*plan, kFieldKeys[it - floorEdits_.begin()], text)) {
        SetStatus(Text(TText::PlanBadValue));
        FollowPlan();
        return true;
    }
    FinishStep(Editor().SetFloorPlan(*plan));
    return true;
}
