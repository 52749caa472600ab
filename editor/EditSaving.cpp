// What the window shows of opening and saving, all of which the session does: a file it could
// not read, a save's outcome, the question on closing, and the conversion to UTF-8.
#include "editor/EditForm.h"
#include "editor/EditorTexts.h"

using editor::Text;
using editor::TText;

void TEditForm::ReportOpening()
{
    if (session_->Opening() == editor::TOpening::Unreadable)
        MessageDlg(Text(TText::Unreadable, {session_->Path(), session_->WhyUnreadable()}), Text(TText::AppName), mbOK,
                   mtError);
}

bool TEditForm::Save()
{
    return ReportSave(session_->Save());
}

bool TEditForm::SaveAs()
{
    const std::optional<std::string> path =
        PromptForSaveFileName(Text(TText::SaveAsTitle), session_->Path(), Text(TText::SaveFilter) + "|*.ini", "ini");
    return path && ReportSave(session_->SaveAs(*path));
}

bool TEditForm::ReportSave(const TSaveResult& result)
{
    if (!result.Saved()) {
        MessageDlg(SaveMessage(result, editor::Language()), Text(TText::AppName), mbOK, mtError);
        return false;
    }
    UpdateTitle();
    SetStatus(Text(TText::Saved, {session_->Path()}));
    return true;
}

void TEditForm::AskToSave(bool& canClose)
{
    if (!session_->Modified())
        return;
    switch (MessageDlg(Text(TText::AskSave, {session_->Path()}), Text(TText::AppName), mbYesNoCancel)) {
    case mrYes:
        canClose = Save();
        break;
    case mrNo:
        break;
    default:
        canClose = false;
        break;
    }
}

void TEditForm::ConvertToUtf8()
{
    session_->ConvertToUtf8();
    AfterStep();
}
