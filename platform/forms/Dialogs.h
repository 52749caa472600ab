// The system's standard dialogs: a message with buttons, and choosing where to save a file.
// Each backend shows them its own way (win32/Dialogs.cpp, headless/Dialogs.cpp).
#pragma once

#include <optional>
#include <string>
#include <vector>

// The button a dialog was closed with; mrCancel also for a box closed otherwise.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrRetry = 4, mrYes = 6, mrNo = 7 };
enum TMsgDlgButtons { mbOK, mbOKCancel, mbYesNo, mbYesNoCancel, mbRetryCancel };
enum TMsgDlgType { mtInformation, mtConfirmation, mtWarning, mtError };

// A modal message box over the active form, titled caption.
TModalResult MessageDlg(const std::string& text, const std::string& caption, TMsgDlgButtons buttons,
                        TMsgDlgType type = mtConfirmation);

// A message box with buttons the program names, the first the default: the place in buttons of
// the one chosen, or -1 for a box closed otherwise (Esc, the close box).
int ChoiceDlg(const std::string& text, const std::string& caption, const std::vector<std::string>& buttons,
              TMsgDlgType type = mtWarning);

// Asks where to save a file, starting at initialPath (a folder, or a file to propose). The
// filter is "Board files (*.txt)|*.txt|All files (*.*)|*.*"; defaultExtension ("txt") is
// added to a name typed without one. The chosen path, or nothing when the user cancelled.
// Paths are UTF-8.
std::optional<std::string> PromptForSaveFileName(const std::string& title, const std::string& initialPath,
                                                 const std::string& filter, const std::string& defaultExtension = {});
