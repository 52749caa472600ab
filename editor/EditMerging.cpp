// Merging someone else's save with the work here: the values both changed listed for a
// choice, the result shown unsaved, and what could not be made said in words.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "editor/EditForm.h"
#include "editor/EditorTexts.h"
#include "platform/text/SysUtils.h"

using board::TMeaning;
using board::TMergeConflict;
using board::TPcKey;
using editor::Text;
using editor::TText;

namespace {

std::string KeyName(TPcKey key)
{
    static constexpr TText kNames[] = {TText::FieldCaption, TText::FieldLeft, TText::FieldTop, TText::FieldWidth,
                                       TText::FieldHeight};
    return Text(kNames[static_cast<std::size_t>(key)]);
}

// A value as a row says it: a caption in quotes, a number as it is, nothing as "(empty)".
std::string ValueText(TPcKey key, const std::string& text)
{
    if (text.empty())
        return Text(TText::Empty);
    return key == TPcKey::Caption ? Text(TText::Quoted, {text}) : text;
}

// The PC's number, and its caption when it has one.
std::string PcName(std::int32_t number, const std::string& caption)
{
    const std::string name = Text(TText::PcNumber, {IntToStr(number)});
    return caption.empty() ? name : name + " " + Text(TText::Quoted, {caption});
}

std::string CaptionOf(const board::TBoardDocument& document, std::int32_t number)
{
    const std::vector<board::TPc>& pcs = document.Pcs();
    const auto it = std::find_if(pcs.begin(), pcs.end(), [&](const board::TPc& pc) { return pc.number == number; });
    return it != pcs.end() ? it->entry.caption : std::string();
}

std::string ConflictRow(const TMergeConflict& c, const board::TBoardDocument& merged)
{
    switch (c.kind) {
    case TMergeConflict::Value:
        return Text(TText::ConflictValue, {PcName(c.number, CaptionOf(merged, c.number)), KeyName(c.key),
                                           ValueText(c.key, c.theirs), ValueText(c.key, c.mine)});
    case TMergeConflict::DeletedByThem:
        return Text(TText::ConflictDeletedByThem, {PcName(c.number, c.base)});
    case TMergeConflict::DeletedByMe:
        break;
    }
    return Text(TText::ConflictDeletedByMe, {PcName(c.number, c.theirs)});
}

// A change of mine the merge refused, its PC named as the board here shows it.
std::string RefusedRow(const TMeaning& m, const board::TBoardDocument& mine)
{
    const auto pc = [&] {
        const std::optional<std::size_t> place = mine.PlaceOf(m.pc);
        return place ? PcName(mine.Pcs()[*place].number, mine.Pcs()[*place].entry.caption) : Text(TText::APc);
    };
    switch (m.kind) {
    case TMeaning::SetValue:
        return Text(TText::RefusedSet, {pc(), KeyName(m.key), ValueText(m.key, m.text)});
    case TMeaning::AddPc:
        return Text(TText::RefusedAdd, {ValueText(TPcKey::Caption, m.entry.caption)});
    case TMeaning::DeletePc:
        return Text(TText::RefusedDelete, {pc()});
    case TMeaning::MovePc:
        return Text(TText::RefusedMove, {pc(), IntToStr(m.number)});
    case TMeaning::Reorder:
        return Text(TText::RefusedReorder);
    case TMeaning::SetPlan:
        return Text(TText::RefusedPlan);
    case TMeaning::ConvertToUtf8:
        break;
    }
    return Text(TText::RefusedConvert);
}

}  // namespace

bool TEditForm::MergeTheirs()
{
    const std::string path = session_->Path();
    std::string why;
    switch (session_->ReadTheirs(why)) {
    case TFileRead::Read:
        break;
    case TFileRead::Missing:
        MessageDlg(Text(TText::MergeGone, {path}), Text(TText::AppName), mbOK, mtWarning);
        return false;
    case TFileRead::Folder:
    case TFileRead::Failed:
        MessageDlg(Text(TText::Unreadable, {path, why}), Text(TText::AppName), mbOK, mtError);
        return false;
    }
    if (!session_->CanMerge()) {
        MessageDlg(Text(TText::MergeUnknown, {path}), Text(TText::AppName), mbOK, mtWarning);
        return false;
    }
    board::TMergeResult merged = session_->MergeTheirs();
    // Theirs at first: it is saved, by someone who is not here to see it go, while mine is
    // in front of the user, one key away.
    std::vector<bool> keepMine(merged.conflicts.size(), false);
    if (!merged.conflicts.empty()) {
        TEachChoice choice;
        choice.title = Text(TText::MergeTitle);
        choice.text = Text(TText::MergeList, {path});
        for (const TMergeConflict& c : merged.conflicts)
            choice.rows.push_back(ConflictRow(c, *merged.document));
        choice.sides = {Text(TText::MergeKeepTheirs), Text(TText::MergeKeepMine)};
        choice.setOne = {Text(TText::MergeSetTheirs), Text(TText::MergeSetMine)};
        choice.setAll = {Text(TText::MergeAllTheirs), Text(TText::MergeAllMine)};
        choice.ok = Text(TText::MergeOk);
        choice.cancel = Text(TText::WayCancel);
        std::optional<std::vector<bool>> chosen = ChooseEachDlg(choice, keepMine);
        if (!chosen)
            return false;
        keepMine = std::move(*chosen);
        keepMine.resize(merged.conflicts.size());
        if (std::find(keepMine.begin(), keepMine.end(), true) != keepMine.end())
            merged = session_->MergeTheirs(keepMine);
    }
    std::string refused;
    for (const TMeaning& m : merged.refused)
        refused += (refused.empty() ? "" : "\n") + RefusedRow(m, Editor().Document());
    const std::size_t changes = session_->ChangesToMerge();

    session_->TakeMerged(std::move(*merged.document));
    DropKept();
    AfterStep();
    Invalidate();
    const auto mineKept = std::count(keepMine.begin(), keepMine.end(), true);
    SetStatus(
        Text(TText::Merged, {ExtractFileName(path), std::to_string(changes), std::to_string(merged.conflicts.size()),
                             std::to_string(mineKept), std::to_string(merged.refused.size())}));
    if (!refused.empty())
        MessageDlg(Text(TText::MergeRefused, {path, refused}), Text(TText::AppName), mbOK, mtWarning);
    return true;
}
