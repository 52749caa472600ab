// The system's message box, a box with buttons of the program's own, and the save dialog, owned
// by the program's active window. A file of its own: a program that never asks for a file name
// never imports comdlg32.
#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/forms/Dialogs.h"
#include "platform/text/win32/WinText.h"

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

// A size in dialog units, in the dialog's pixels.
SIZE Units(HWND dialog, int across, int down)
{
    RECT r{0, 0, across, down};
    MapDialogRect(dialog, &r);
    return {r.right, r.bottom};
}

// The text above, its lines no wider than a comfortable reading width unless the buttons are
// wider; the buttons in a row at the bottom right, each as wide as its label needs; the box
// made to fit and put over its owner.
void LayOutChoice(HWND dialog, const TChoice& choice)
{
    const auto font = reinterpret_cast<WPARAM>(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    const SIZE margin = Units(dialog, 7, 7), button = Units(dialog, 50, 14), gap = Units(dialog, 4, 4),
               padding = Units(dialog, 8, 0), reading = Units(dialog, 240, 0);
    HDC dc = GetDC(dialog);
    const HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(font));
    std::vector<int> widths;
    int row = 0;
    for (const std::wstring& label : choice.buttons) {
        RECT r{};
        DrawTextW(dc, label.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
        widths.push_back(std::max<int>(button.cx, r.right + 2 * padding.cx));
        row += widths.back() + (row ? gap.cx : 0);
    }
    RECT text{0, 0, std::max<int>(row, reading.cx), 0};
    DrawTextW(dc, choice.text.c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, oldFont);
    ReleaseDC(dialog, dc);

    const int width = std::max<int>(row, text.right) + 2 * margin.cx;
    const int height = margin.cy + text.bottom + 2 * margin.cy + button.cy + margin.cy;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    // 0xFFFF, as in the system's message box, for whoever reads the box's text.
    HWND label = CreateWindowExW(0, L"STATIC", choice.text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                 margin.cx, margin.cy, text.right, text.bottom, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(0xFFFF)), instance, nullptr);
    SendMessageW(label, WM_SETFONT, font, FALSE);
    int x = width - margin.cx - row;
    for (std::size_t i = 0; i < choice.buttons.size(); ++i) {
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON | WS_GROUP : BS_PUSHBUTTON);
        HWND b = CreateWindowExW(0, L"BUTTON", choice.buttons[i].c_str(), style, x, height - margin.cy - button.cy,
                                 widths[i], button.cy, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstChoice + i)), instance, nullptr);
        SendMessageW(b, WM_SETFONT, font, FALSE);
        if (i == 0)
            SetFocus(b);
        x += widths[i] + gap.cx;
    }
    SendMessageW(dialog, DM_SETDEFID, kFirstChoice, 0);

    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    RECT over{};
    if (HWND owner = GetWindow(dialog, GW_OWNER))
        GetWindowRect(owner, &over);
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    const int outerWidth = outer.right - outer.left, outerHeight = outer.bottom - outer.top;
    SetWindowPos(dialog, nullptr, (over.left + over.right - outerWidth) / 2, (over.top + over.bottom - outerHeight) / 2,
                 outerWidth, outerHeight, SWP_NOZORDER);
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
    // The dialog in memory: no controls yet, the caption, and the system's message font.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HDC screen = GetDC(nullptr);
    const int points = MulDiv(std::abs(metrics.lfMessageFont.lfHeight), 72, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    std::vector<WORD> dialog;
    const auto add32 = [&](DWORD value) { dialog.insert(dialog.end(), {LOWORD(value), HIWORD(value)}); };
    const auto addText = [&](const std::wstring& s) {
        dialog.insert(dialog.end(), s.begin(), s.end());
        dialog.push_back(0);
    };
    add32(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    add32(0);                                         // extended style
    dialog.insert(dialog.end(), {0, 0, 0, 100, 40});  // no items; x, y, width, height
    dialog.insert(dialog.end(), {0, 0});              // no menu, the standard class
    addText(ToWide(caption));
    dialog.push_back(static_cast<WORD>(std::max(points, 8)));
    addText(metrics.lfMessageFont.lfFaceName);
    MessageBeep(kSounds[type]);
    return static_cast<int>(DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                                    reinterpret_cast<LPCDLGTEMPLATEW>(dialog.data()), GetActiveWindow(),
                                                    ChoiceProc, reinterpret_cast<LPARAM>(&choice)));
}

std::optional<std::string> PromptForSaveFileName(const std::string& title, const std::string& initialPath,
                                                 const std::string& filter, const std::string& defaultExtension)
{
    // The filter's "|" separators are the dialog's NULs, and it ends with two.
    std::wstring filters = ToWide(filter);
    for (wchar_t& c : filters)
        if (c == L'|')
            c = L'\0';
    filters.append(2, L'\0');
    const std::wstring wideTitle = ToWide(title), extension = ToWide(defaultExtension);
    std::wstring initial = ToWide(initialPath), folder;
    const DWORD attributes = initial.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(initial.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        folder = std::move(initial);  // a folder to start in, no name proposed
    // Room for long paths; the proposed name goes in the same buffer.
    std::vector<wchar_t> path(32768, L'\0');
    initial.copy(path.data(), std::min(initial.size(), path.size() - 1));

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = filter.empty() ? nullptr : filters.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = wideTitle.empty() ? nullptr : wideTitle.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&ofn))
        return std::nullopt;
    return FromWide(path.data());
}
