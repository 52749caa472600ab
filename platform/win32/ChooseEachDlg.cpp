// A list of questions each answered with one of two sides: a list box of rows that each say
// the side they keep, buttons that set the selected rows or all of them, OK and Cancel. All
// system controls, so that screen readers read each row and button as they read any dialog.
#include <windows.h>

#include <algorithm>

#include "platform/forms/Dialogs.h"
#include "platform/text/win32/WinText.h"
#include "platform/win32/DialogFrame.h"

namespace {

enum : int { kText = 0xFFFF, kList = 200, kSetOne = 201, kSetAll = 203 };  // the sides' buttons follow

struct TEach {
    const TEachChoice& choice;
    std::vector<bool> chosen;
    HWND list = nullptr;
};

void ShowRow(const TEach& each, std::size_t row, bool replace)
{
    const std::wstring text = ToWide(each.choice.Shown(row, each.chosen[row]));
    if (replace)
        SendMessageW(each.list, LB_DELETESTRING, row, 0);
    SendMessageW(each.list, LB_INSERTSTRING, row, reinterpret_cast<LPARAM>(text.c_str()));
}

// Sets the rows, all or the selected ones, to a side; the selection, the caret and the
// scrolling stay.
void Set(TEach& each, bool second, bool all)
{
    const int count = static_cast<int>(each.chosen.size());
    std::vector<int> selected(static_cast<std::size_t>(count));
    const LRESULT got = SendMessageW(each.list, LB_GETSELITEMS, count, reinterpret_cast<LPARAM>(selected.data()));
    selected.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    const LRESULT caret = SendMessageW(each.list, LB_GETCARETINDEX, 0, 0);
    const LRESULT top = SendMessageW(each.list, LB_GETTOPINDEX, 0, 0);
    SendMessageW(each.list, WM_SETREDRAW, FALSE, 0);
    const auto set = [&](int row) {
        if (each.chosen[static_cast<std::size_t>(row)] == second)
            return;
        each.chosen[static_cast<std::size_t>(row)] = second;
        ShowRow(each, static_cast<std::size_t>(row), true);
    };
    if (all)
        for (int row = 0; row < count; ++row)
            set(row);
    else
        std::for_each(selected.begin(), selected.end(), set);
    for (const int row : selected)
        SendMessageW(each.list, LB_SETSEL, TRUE, row);
    SendMessageW(each.list, LB_SETCARETINDEX, static_cast<WPARAM>(caret), FALSE);
    SendMessageW(each.list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    SendMessageW(each.list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(each.list, nullptr, TRUE);
    // Back to the list, where a screen reader reads the row again with its new side.
    SetFocus(each.list);
}

// The text above, the list under it as wide as its rows need (within the screen), the
// buttons for the sides in a row under the list, OK and Cancel at the bottom right.
void LayOut(HWND dialog, TEach& each)
{
    using namespace dialogframe;
    const TEachChoice& choice = each.choice;
    const SIZE margin = Units(dialog, 7, 7), button = Units(dialog, 50, 14), gap = Units(dialog, 4, 4),
               padding = Units(dialog, 8, 0), reading = Units(dialog, 300, 0);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int widest = 0;
    for (std::size_t row = 0; row < choice.rows.size(); ++row)
        for (const bool second : {false, true})
            widest = std::max<int>(widest, TextSize(dialog, ToWide(choice.Shown(row, second))).cx);
    const int scroll = GetSystemMetrics(SM_CXVSCROLL), edge = 2 * GetSystemMetrics(SM_CXEDGE);
    const std::vector<std::wstring> labels = {ToWide(choice.setOne[0]), ToWide(choice.setOne[1]),
                                              ToWide(choice.setAll[0]), ToWide(choice.setAll[1]),
                                              ToWide(choice.ok),        ToWide(choice.cancel)};
    std::vector<int> widths;
    for (const std::wstring& label : labels)
        widths.push_back(std::max<int>(button.cx, TextSize(dialog, label).cx + 2 * padding.cx));
    const int sidesRow = widths[0] + widths[1] + widths[2] + widths[3] + 3 * gap.cx;
    const int inner = std::clamp<int>(std::max({widest + scroll + edge + 8, sidesRow, static_cast<int>(reading.cx)}), 0,
                                      (work.right - work.left) * 9 / 10 - 2 * margin.cx);
    const SIZE text = TextSize(dialog, ToWide(choice.text), inner);
    const int itemHeight = TextSize(dialog, L"Ag").cy + 2;
    const int shown = static_cast<int>(std::clamp<std::size_t>(choice.rows.size(), 4, 12));
    const int listHeight = shown * itemHeight + edge + GetSystemMetrics(SM_CYHSCROLL);

    int y = margin.cy;
    AddControl(dialog, L"STATIC", ToWide(choice.text), SS_LEFT | SS_NOPREFIX,
               {margin.cx, y, margin.cx + text.cx, y + text.cy}, kText);
    y += text.cy + gap.cy;
    each.list = AddControl(dialog, L"LISTBOX", L"",
                           WS_BORDER | WS_TABSTOP | WS_GROUP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL |
                               LBS_NOINTEGRALHEIGHT,
                           {margin.cx, y, margin.cx + inner, y + listHeight}, kList);
    SendMessageW(each.list, LB_SETITEMHEIGHT, 0, itemHeight);
    SendMessageW(each.list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 8), 0);
    for (std::size_t row = 0; row < choice.rows.size(); ++row)
        ShowRow(each, row, false);
    y += listHeight + gap.cy;
    int x = margin.cx;
    for (int i = 0; i < 4; ++i) {
        AddControl(dialog, L"BUTTON", labels[static_cast<std::size_t>(i)],
                   WS_TABSTOP | BS_PUSHBUTTON | (i == 0 ? WS_GROUP : 0), {x, y, x + widths[i], y + button.cy},
                   kSetOne + i % 2 + (i / 2) * (kSetAll - kSetOne));
        x += widths[i] + gap.cx;
    }
    y += button.cy + 2 * margin.cy;
    const int width = inner + 2 * margin.cx;
    x = width - margin.cx - widths[4] - gap.cx - widths[5];
    AddControl(dialog, L"BUTTON", labels[4], WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON,
               {x, y, x + widths[4], y + button.cy}, IDOK);
    x += widths[4] + gap.cx;
    AddControl(dialog, L"BUTTON", labels[5], WS_TABSTOP | BS_PUSHBUTTON, {x, y, x + widths[5], y + button.cy},
               IDCANCEL);
    SendMessageW(dialog, DM_SETDEFID, IDOK, 0);
    Place(dialog, width, y + button.cy + margin.cy);
    SendMessageW(each.list, LB_SETSEL, TRUE, 0);
    SetFocus(each.list);
}

INT_PTR CALLBACK EachProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        LayOut(dialog, *reinterpret_cast<TEach*>(lParam));
        return FALSE;  // the list has the focus
    }
    auto* each = reinterpret_cast<TEach*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message != WM_COMMAND || !each)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
    case IDCANCEL:
        EndDialog(dialog, LOWORD(wParam));
        break;
    case kSetOne:
    case kSetOne + 1:
        Set(*each, LOWORD(wParam) == kSetOne + 1, false);
        break;
    case kSetAll:
    case kSetAll + 1:
        Set(*each, LOWORD(wParam) == kSetAll + 1, true);
        break;
    case kList:
        // A double click switches the row to the other side.
        if (HIWORD(wParam) == LBN_DBLCLK) {
            const LRESULT row = SendMessageW(each->list, LB_GETCARETINDEX, 0, 0);
            if (row >= 0 && static_cast<std::size_t>(row) < each->chosen.size())
                Set(*each, !each->chosen[static_cast<std::size_t>(row)], false);
        }
        break;
    default:
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::optional<std::vector<bool>> ChooseEachDlg(const TEachChoice& choice, std::vector<bool> chosen)
{
    chosen.resize(choice.rows.size());
    TEach each{choice, std::move(chosen)};
    if (dialogframe::Run(ToWide(choice.title), EachProc, reinterpret_cast<LPARAM>(&each)) != IDOK)
        return std::nullopt;
    return std::move(each.chosen);
}
