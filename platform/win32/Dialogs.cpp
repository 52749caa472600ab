// The system's message box and save dialog, owned by the program's active window. A file of
// its own: a program that never asks for a file name never imports comdlg32.
#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "platform/forms/Dialogs.h"
#include "platform/text/win32/WinText.h"

TModalResult MessageDlg(const std::string& text, const std::string& caption, TMsgDlgButtons buttons, TMsgDlgType type)
{
    static constexpr UINT kButtons[] = {MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL};
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
    default:
        return mrCancel;
    }
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
