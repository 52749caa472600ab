// The panel beside the board: the selected PCs' fields and the grid step, what Enter in one
// of them does, and the panel's place as the window changes size.
#include <algorithm>

#include "editor/EditForm.h"
#include "editor/EditFormMetrics.h"
#include "editor/EditorTexts.h"
#include "platform/text/SysUtils.h"

using editor::Text;
using editor::TPcKey;
using editor::TRefusal;
using editor::TText;
using namespace editform;

TEdit* TEditForm::AddField(std::string caption, std::int32_t left, std::int32_t top, std::int32_t width,
                           std::int32_t captionWidth, std::string text, int tabOrder)
{
    auto* edit = new TEdit(this);
    // Placed and filled before it has a window: the window is then made once, as it stays.
    edit->SetBounds(left + captionWidth, top, width, 21);
    edit->SetTabOrder(tabOrder < 0 ? static_cast<int>(fields_.size()) : tabOrder);
    edit->SetText(std::move(text));
    edit->SetParent(this);
    edit->SetOnKeyDown([this, edit](TObject*, TKeyInfo& k) { FieldKeyDown(edit, k); });
    fields_.push_back({edit, std::move(caption), TRect64::Of(left, top, captionWidth - 4, 21)});
    return edit;
}

void TEditForm::BuildPanel()
{
    const std::int32_t x = panelLeft_ + 8;
    std::int32_t y = 8;
    valueEdits_[0] = AddField(Text(TText::FieldCaption), x, y, 200, 56);
    y += kRow;
    valueEdits_[1] = AddField(Text(TText::FieldLeft), x, y, 72, 56);
    valueEdits_[2] = AddField(Text(TText::FieldTop), x + 132, y, 68, 28);
    y += kRow;
    valueEdits_[3] = AddField(Text(TText::FieldWidth), x, y, 72, 56);
    valueEdits_[4] = AddField(Text(TText::FieldHeight), x + 132, y, 68, 28);
    y += kRow;
    gridStep_ = AddField(Text(TText::FieldGrid), x, y, 72, 56, IntToStr(Editor().Grid().step));
    y += kRow;
    BuildPlanPanel(x, y);
    y += 8;

    headings_.push_back(Text(TText::GridTitle));
    headingRects_.push_back(TRect64::Of(x, y, 256, 18));
    y += 20;
    // The generator's fields are made when first wanted: most openings never use them.
    generatorTop_ = y;
    placeButton_ = new TButton(this);
    placeButton_->SetBounds(x + 132, y + 5 * kRow, 124, 25);
    placeButton_->SetCaption(Text(TText::MenuGenerate));
    placeButton_->SetTabOrder(kGeneratorTabs + 10);
    placeButton_->SetParent(this);
    placeButton_->SetOnClick([this](TObject*) {
        if (planEdits_[0])
            PlaceGrid();
        else
            ShowGenerator();
    });
    y += 6 * kRow + 8;

    headings_.push_back(Text(TText::Findings));
    headingRects_.push_back(TRect64::Of(x, y, 256, 18));
    y += 20;
    findingList_ = new TListBox(this);
    findingList_->SetBounds(x, y, 256, std::max(static_cast<std::int32_t>(panelRect_.bottom) - y - 8, 40));
    findingList_->SetTabOrder(kGeneratorTabs + 20);
    findingList_->SetParent(this);
    findingList_->SetOnClick([this](TObject*) { FindingClick(); });
}

void TEditForm::LayoutPanel(std::int32_t dx)
{
    const auto shift = [dx](TRect64& r) {
        r.left += dx;
        r.right += dx;
    };
    for (TField& f : fields_) {
        f.edit->SetLeft(f.edit->Left() + dx);
        shift(f.captionRect);
    }
    for (TRect64& r : headingRects_)
        shift(r);
    for (TControl* c : std::initializer_list<TControl*>{directionButton_, placeButton_, findingList_})
        if (c)
            c->SetLeft(c->Left() + dx);
    findingList_->SetHeight(std::max(static_cast<std::int32_t>(panelRect_.bottom) - findingList_->Top() - 8, 40));
}

void TEditForm::ShowFields()
{
    for (std::size_t k = 0; k < valueEdits_.size(); ++k) {
        const auto shared = Editor().SharedField(static_cast<TPcKey>(k));
        valueEdits_[k]->SetText(shared ? *shared : std::string());
    }
}

void TEditForm::FieldKeyDown(TEdit* edit, TKeyInfo& k)
{
    if (k.key != vkReturn)
        return;
    k.handled = true;
    if (edit == gridStep_) {
        std::int32_t step = 0;
        if (TryStrToInt(edit->Text(), step) && step >= 1 && step <= editor::TGridSettings::kLargestStep) {
            Editor().Grid().step = step;
            Invalidate(canvasRect_);
        } else {
            edit->SetText(IntToStr(Editor().Grid().step));
        }
        return;
    }
    if (PlanFieldKeyDown(edit))
        return;
    for (std::size_t key = 0; key < valueEdits_.size(); ++key)
        if (valueEdits_[key] == edit) {
            if (Editor().Selection().empty())
                return;
            const TRefusal refusal = Editor().SetField(static_cast<TPcKey>(key), edit->Text());
            if (refusal != TRefusal::None) {
                ShowRefusal(refusal);
                return;
            }
            AfterStep();
            return;
        }
    if (std::find(planEdits_.begin(), planEdits_.end(), edit) != planEdits_.end())
        PlaceGrid();
}
