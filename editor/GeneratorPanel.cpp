// The grid generator's fields in the panel, made when first wanted, and the plan read from them.
#include <iterator>

#include "editor/EditForm.h"
#include "editor/EditFormMetrics.h"
#include "editor/EditorTexts.h"
#include "platform/text/SysUtils.h"

using editor::Text;
using editor::TText;
using namespace editform;

void TEditForm::ShowGenerator()
{
    if (!planEdits_[0]) {
        const std::int32_t x = panelLeft_ + 8;
        std::int32_t y = generatorTop_;
        const editor::TGridPlan plan;
        const std::pair<TText, std::int32_t> numbers[] = {
            {TText::GridRows, plan.rows},     {TText::GridColumns, plan.columns}, {TText::GridWidth, plan.width},
            {TText::GridHeight, plan.height}, {TText::GridGapX, plan.gapX},       {TText::GridGapY, plan.gapY},
            {TText::GridLeft, plan.left},     {TText::GridTop, plan.top}};
        for (std::size_t i = 0; i < std::size(numbers); ++i) {
            const bool right = i % 2 == 1;
            planEdits_[i] = AddField(Text(numbers[i].first), x + (right ? 132 : 0), y, 60, 72,
                                     IntToStr(numbers[i].second), kGeneratorTabs + static_cast<int>(i));
            if (right)
                y += kRow;
        }
        planEdits_[8] = AddField(Text(TText::GridPattern), x, y, 184, 72, plan.pattern, kGeneratorTabs + 8);
        y += kRow;
        directionButton_ = new TButton(this);
        directionButton_->SetBounds(x, y, 124, 25);
        directionButton_->SetCaption(Text(TText::GridAcross));
        directionButton_->SetTabOrder(kGeneratorTabs + 9);
        directionButton_->SetParent(this);
        directionButton_->SetOnClick([this](TObject*) {
            planDown_ = !planDown_;
            directionButton_->SetCaption(Text(planDown_ ? TText::GridDown : TText::GridAcross));
        });
        placeButton_->SetCaption(Text(TText::GridMake));
        Invalidate(panelRect_);
    }
    planEdits_[0]->SetFocus();
}

void TEditForm::PlaceGrid()
{
    editor::TGridPlan plan;
    std::int32_t* numbers[] = {&plan.rows, &plan.columns, &plan.width, &plan.height,
                               &plan.gapX, &plan.gapY,    &plan.left,  &plan.top};
    bool ok = true;
    for (std::size_t i = 0; i < std::size(numbers); ++i)
        ok = ok && TryStrToInt(planEdits_[i]->Text(), *numbers[i]);
    if (!ok || !plan.Fits()) {
        SetStatus(Text(TText::GridBad));
        return;
    }
    plan.pattern = planEdits_[8]->Text();
    plan.down = planDown_;
    FinishStep(Editor().Generate(plan));
}
