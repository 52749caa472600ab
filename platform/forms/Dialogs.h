// The system's standard dialogs: a message with buttons, and choosing where to save a file.
// Each backend shows them its own way (win32/Dialogs.cpp, headless/Dialogs.cpp).
#pragma once

#include <array>
#include <cstddef>
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

// A list of questions each answered with one of two sides: rows the user selects, buttons that
// set the selected rows or all of them to a side, OK and Cancel. The text above names the list.
struct TEachChoice {
    std::string title, text;
    std::vector<std::string> rows;
    std::array<std::string, 2> sides;   // what a row says it keeps, after the row
    std::array<std::string, 2> setOne;  // the buttons for the selected rows
    std::array<std::string, 2> setAll;  // and for every row
    std::string ok, cancel;

    // A row as shown: what it asks, then the side it keeps.
    std::string Shown(std::size_t row, bool second) const { return rows[row] + " \u2014 " + sides[second ? 1 : 0]; }
};
// Modal over the active form, each row on the side chosen holds at first: the sides chosen
// (true: the second), or nothing when the user cancelled.
std::optional<std::vector<bool>> ChooseEachDlg(const TEachChoice& choice, std::vector<bool> chosen);

// Asks where to save a file, starting at initialPath (a folder, or a file to propose). The
// filter is "Board files (*.txt)|*.txt|All files (*.*)|*.*"; defaultExtension ("txt") is
// added to a name typed without one. The chosen path, or nothing when the user cancelled.
// Paths are UTF-8.
std::optional<std::string> PromptForSaveFileName(const std::string& title, const std::string& initialPath,
                                                 const std::string& filter, const std::string& defaultExtension = {});
// Asks for a file to open, starting in initialFolder (or the dialog's own choice when empty),
// with a filter as above. The chosen path of a file that is there, or nothing when the user
// cancelled.
std::optional<std::string> PromptForOpenFileName(const std::string& title, const std::string& initialFolder,
                                                 const std::string& filter);
