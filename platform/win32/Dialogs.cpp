// The system's message box, a box with buttons of the program's own, and the file dialogs, owned
// by the program's active window. A file of its own: a program that never asks for a file name
// never imports comdlg32.
#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "platform/forms/Dialogs.h"
#include "platform/text/win32/WinText.h"
#include "platform/win32/DialogFrame.h"

TModalResult MessageDlg(const std::string& text, const std::string& caption, TMsgDlgButtons buttons, TMsgDlgType type)
{
    static constexpr UINT kButtons[] = {MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL, MB_RETRYCANCEL};
    static constexpr UINT kIcons[] = {MB_ICONINFORMATION, MB_ICONQUESTION, MB_ICONWARNING, MB_ICONERROR};
    const int answer =
        MessageBoxW(GetActiveWindow(), ToWide(text).c_str(), ToWide(caption).c_str(), kButtons[buttons] | kIcons[type]);
    switch (answer) {
    case IDOK:
        return mrOk;
    case IDYES:
        return mrYes;
    case IDNO:
        return mrNo;
    case IDRETRY:
        return mrRetry;
    default:
        return mrCancel;
    }
}

namespace {

// The buttons' identifiers: the first, then one more for each.
constexpr int kFirstChoice = 100;

struct TChoice {
    std::wstring text;
    std::vector<std::wstring> buttons;
};

// The text above, its lines no wider than a comfortable reading width unless the buttons are
// wider; the buttons in a row at the bottom right, each as wide as its label needs; the box
// made to fit and put over its owner.
void LayOutChoice(HWND dialog, const TChoice& choice)
{
    using namespace dialogframe;
    const SIZE margin = Units(dialog, 7, 7), button = Units(dialog, 50, 14), gap = Units(dialog, 4, 4),
               padding = Units(dialog, 8, 0), reading = Units(dialog, 240, 0);
    std::vector<int> widths;
    int row = 0;
    for (const std::wstring& label : choice.buttons) {
        widths.push_back(std::max<int>(button.cx, TextSize(dialog, label).cx + 2 * padding.cx));
        row += widths.back() + (row ? gap.cx : 0);
    }
    const SIZE text = TextSize(dialog, choice.text, std::max<int>(row, reading.cx));

    const int width = std::max<int>(row, text.cx) + 2 * margin.cx;
    const int height = margin.cy + text.cy + 2 * margin.cy + button.cy + margin.cy;
    // 0xFFFF, as in the system's message box, for whoever reads the box's text.
    AddControl(dialog, L"STATIC", choice.text, SS_LEFT | SS_NOPREFIX,
               {margin.cx, margin.cy, margin.cx + text.cx, margin.cy + text.cy}, 0xFFFF);
    int x = width - margin.cx - row;
    const int top = height - margin.cy - button.cy;
    for (std::size_t i = 0; i < choice.buttons.size(); ++i) {
        const DWORD style = WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON | WS_GROUP : BS_PUSHBUTTON);
        HWND b = AddControl(dialog, L"BUTTON", choice.buttons[i], style, {x, top, x + widths[i], top + button.cy},
                            kFirstChoice + static_cast<int>(i));
        if (i == 0)
            SetFocus(b);
        x += widths[i] + gap.cx;
    }
    SendMessageW(dialog, DM_SETDEFID, kFirstChoice, 0);
    Place(dialog, width, height);
}

INT_PTR CALLBACK ChoiceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        LayOutChoice(dialog, *reinterpret_cast<const TChoice*>(lParam));
        return FALSE;  // the default button has the focus
    }
    if (message != WM_COMMAND)
        return FALSE;
    const int id = LOWORD(wParam);
    // Enter without a button of ours focused is the default one.
    if (id == IDOK || id == IDCANCEL || id >= kFirstChoice)
        EndDialog(dialog, id == IDOK ? 0 : id == IDCANCEL ? -1 : id - kFirstChoice);
    return TRUE;
}

}  // namespace

int ChoiceDlg(const std::string& text, const std::string& caption, const std::vector<std::string>& buttons,
              TMsgDlgType type)
{
    static constexpr UINT kSounds[] = {MB_ICONINFORMATION, MB_ICONQUESTION, MB_ICONWARNING, MB_ICONERROR};
    TChoice choice{ToWide(text), {}};
    for (const std::string& b : buttons)
        choice.buttons.push_back(ToWide(b));
    MessageBeep(kSounds[type]);
    return static_cast<int>(dialogframe::Run(ToWide(caption), ChoiceProc, reinterpret_cast<LPARAM>(&choice)));
}

namespace {

// The file dialogs' common part: the filter's "|" separators are the dialog's NULs, and it
// ends with two; room for long paths, a proposed name in the same buffer.
struct TFileDialog {
    std::wstring filters, title, extension, folder;
    std::vector<wchar_t> path = std::vector<wchar_t>(32768, L'\0');
    OPENFILENAMEW ofn{};

    TFileDialog(const std::string& titleText, const std::string& filter)
        : filters(ToWide(filter)), title(ToWide(titleText))
    {
        for (wchar_t& c : filters)
            if (c == L'|')
                c = L'\0';
        filters.append(2, L'\0');
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = GetActiveWindow();
        ofn.lpstrFilter = filter.empty() ? nullptr : filters.c_str();
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = path.data();
        ofn.nMaxFile = static_cast<DWORD>(path.size());
        ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    }
    void StartIn(std::wstring start)
    {
        folder = std::move(start);
        ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    }
};

}  // namespace

std::optional<std::string> PromptForSaveFileName(const std::string& title, const std::string& initialPath,
                                                 const std::string& filter, const std::string& defaultExtension)
{
    TFileDialog dialog(title, filter);
    dialog.extension = ToWide(defaultExtension);
    std::wstring initial = ToWide(initialPath);
    const DWORD attributes = initial.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(initial.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        dialog.StartIn(std::move(initial));  // a folder to start in, no name proposed
    else
        initial.copy(dialog.path.data(), std::min(initial.size(), dialog.path.size() - 1));
    dialog.ofn.lpstrDefExt = dialog.extension.empty() ? nullptr : dialog.extension.c_str();
    dialog.ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog.ofn))
        return std::nullopt;
    return FromWide(dialog.path.data());
}

std::optional<std::string> PromptForOpenFileName(const std::string& title, const std::string& initialFolder,
                                                 const std::string& filter)
{
    TFileDialog dialog(title, filter);
    dialog.StartIn(ToWide(initialFolder));
    dialog.ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetOpenFileNameW(&dialog.ofn))
        return std::nullopt;
    return FromWide(dialog.path.data());
}
