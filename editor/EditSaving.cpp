// What the window shows of saving, all of which the session does: a save's outcome, the
// question on closing, the ways on when someone else saved the file, the end of a Windows
// session, and the conversion to UTF-8.
#include <functional>
#include <utility>
#include <vector>

#include "editor/EditForm.h"
#include "editor/EditorTexts.h"
#include "editor/Recovery.h"

using editor::Text;
using editor::TText;

namespace {

// Marks a box of saving's as up, so that coming back to the editor meanwhile asks nothing.
class TAsking {
public:
    explicit TAsking(bool& asking) : asking_(asking), was_(std::exchange(asking, true)) {}
    ~TAsking() { asking_ = was_; }
    TAsking(const TAsking&) = delete;
    TAsking& operator=(const TAsking&) = delete;

private:
    bool& asking_;
    bool was_;
};

}  // namespace

bool TEditForm::Save()
{
    const TAsking asking(asking_);
    return ReportSave(session_->Save());
}

bool TEditForm::SaveAs()
{
    const TAsking asking(asking_);
    const std::optional<std::string> path =
        PromptForSaveFileName(Text(TText::SaveAsTitle), session_->Path(), Text(TText::SaveFilter) + "|*.ini", "ini");
    return path && ReportSave(session_->SaveAs(*path));
}

bool TEditForm::ReportSave(const TSaveResult& result)
{
    if (result.outcome == TSaveOutcome::ChangedOnDisk) {
        session_->NewChangeOnDisk();  // told now: coming back to the window need not tell it again
        return OfferWaysOn();
    }
    if (!result.Saved()) {
        MessageDlg(SaveMessage(result, editor::Language()), Text(TText::AppName), mbOK, mtError);
        return false;
    }
    DropKept();
    UpdateTitle();
    // Where the board as opened is kept, in the status bar; in a box when not where expected.
    const std::string saved = SaveMessage(result, editor::Language());
    SetStatus(saved);
    if (result.detour != TBackupDetour::None)
        MessageDlg(saved, Text(TText::AppName), mbOK, mtInformation);
    return true;
}

void TEditForm::AskToSave(bool& canClose)
{
    if (!session_->Modified())
        return;
    const TAsking asking(asking_);
    switch (MessageDlg(Text(TText::AskSave, {session_->Path()}), Text(TText::AppName), mbYesNoCancel)) {
    case mrYes:
        canClose = Save();
        break;
    case mrNo:
        declined_ = true;
        DropKept();
        break;
    default:
        canClose = false;
        break;
    }
}

bool TEditForm::OfferWaysOn()
{
    const TAsking asking(asking_);
    struct TWay {
        TText name;
        std::function<bool()> take;
    };
    // Merging theirs and mine, the default, goes first.
    const std::vector<TWay> ways = {
        {TText::WayMerge, [this] { return MergeTheirs(); }},
        {TText::WayReload, [this] { return ReloadTheirs(); }},
        {TText::WaySaveAs, [this] { return SaveAs(); }},
    };
    std::vector<std::string> buttons;
    for (const TWay& way : ways)
        buttons.push_back(Text(way.name));
    buttons.push_back(Text(TText::WayCancel));
    const int chosen = ChoiceDlg(Text(TText::ChangedOnDisk, {session_->Path()}), Text(TText::AppName), buttons);
    if (chosen >= 0 && static_cast<std::size_t>(chosen) < ways.size())
        ways[static_cast<std::size_t>(chosen)].take();
    return !session_->Modified();
}

bool TEditForm::ReloadTheirs()
{
    const std::string path = session_->Path();
    if (session_->Modified() &&
        MessageDlg(Text(TText::AskReload, {path}), Text(TText::AppName), mbYesNo, mtWarning) != mrYes)
        return false;
    auto theirs = std::make_unique<editor::TEditSession>(path);
    if (theirs->Opening() == editor::TOpening::Unreadable) {
        MessageDlg(Text(TText::Unreadable, {path, theirs->WhyUnreadable()}), Text(TText::AppName), mbOK, mtError);
        return false;
    }
    Editor().CancelDrag();
    theirs->Editor().Grid() = Editor().Grid();
    session_ = std::move(theirs);
    DropKept();
    AfterStep();
    Invalidate();
    return true;
}

void TEditForm::CheckDisk()
{
    if (!asking_ && session_->NewChangeOnDisk())
        OfferWaysOn();
}

void TEditForm::SessionEnding(bool critical, bool& canEnd)
{
    if (!session_->Modified())
        return;
    // First: the system may end the program while the question is still up.
    KeepForRecovery();
    if (critical)
        return;
    AskToSave(canEnd);
    if (!canEnd)
        DropKept();  // the session goes on, and so does the work here
}

void TEditForm::SessionEnded(bool ending)
{
    if (ending && session_->Modified() && !declined_)
        KeepForRecovery();
    if (!ending) {
        declined_ = false;
        DropKept();
    }
}

void TEditForm::KeepForRecovery()
{
    if (editor::KeepRecovery(session_->Path(), session_->ForRecovery()))
        keptFor_ = session_->Path();
}

void TEditForm::DropKept()
{
    if (!keptFor_.empty())
        editor::DropRecovery(std::exchange(keptFor_, {}));
}

void TEditForm::ConvertToUtf8()
{
    session_->ConvertToUtf8();
    AfterStep();
}
