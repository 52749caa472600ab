// What assistive technology reads of the editor: each PC's label as an item, with its place
// and size, chosen as a click would; each field and the findings by their captions.
#include "board/BoardFile.h"
#include "editor/EditForm.h"
#include "editor/EditorTexts.h"
#include "platform/text/SysUtils.h"

using editor::Text;
using editor::TText;

bool TEditForm::IsItem(const TControl& control) const
{
    return control.IsWindowless() && &control != canvasFocus_ && &control != floorItem_;
}

std::optional<std::size_t> TEditForm::PlaceShownBy(const TControl& control) const
{
    const auto it = labelPlaces_.find(&control);
    return it == labelPlaces_.end() ? std::nullopt : std::optional<std::size_t>(it->second);
}

bool TEditForm::IsControlSelected(const TControl& control) const
{
    const auto place = PlaceShownBy(control);
    return place && Editor().IsSelected(*place);
}

std::function<void()> TEditForm::ItemChoice(TControl& item)
{
    const auto place = PlaceShownBy(item);
    if (!place)
        return {};
    return [this, pc = *place] {
        Editor().Select(pc);
        SyncSelection();
        ShowPc(pc);
    };
}

std::string TEditForm::AccessibleName(const TControl& control) const
{
    for (const TField& f : fields_)
        if (f.edit == &control)
            return f.caption;
    if (&control == findingList_)
        return Text(TText::Findings);
    if (&control == floorItem_)
        return Text(TText::PlanItem, {ShownPlan().value_or(board::TFloorPlan{}).file});
    const auto place = PlaceShownBy(control);
    if (!place || !control.TextAsSet().empty())
        return TForm::AccessibleName(control);
    return board::SectionName(Editor().Pcs()[*place].number);
}

std::string TEditForm::AccessibleStatus(const TControl& control) const
{
    if (&control == floorItem_) {
        const TRect64 r = PlanOnBoard();
        return Text(TText::Describe,
                    {IntToStr(r.left), IntToStr(r.top), IntToStr(r.right - r.left), IntToStr(r.bottom - r.top)});
    }
    const auto place = PlaceShownBy(control);
    if (!place)
        return {};
    const board::TPcEntry& e = Editor().Pcs()[*place].entry;
    return Text(TText::Describe, {IntToStr(e.left), IntToStr(e.top), IntToStr(e.width), IntToStr(e.height)});
}
