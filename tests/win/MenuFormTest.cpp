// A form with what an editor needs: a menu bar, a list box, a question before closing,
// drawing behind and over its labels, the wheel and a scroll bar; driven through the real
// event loop from another thread.
#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "tests/support/WinProgram.h"

namespace {

std::vector<std::string> heard;

constexpr TColor kBlue = 0x00FF0000;
constexpr TRect64 kNote = TRect64::Of(200, 20, 60, 30);

class TMenuForm : public TForm {
public:
    TListBox* List = nullptr;
    TMenuItem* Grid = nullptr;
    int closeAsked = 0;

    explicit TMenuForm(TComponent* owner) : TForm(owner, "MenuForm")
    {
        SetBounds(40, 40, 400, 300);
        SetCaption("Menus");
        auto* menu = new TMainMenu(this);
        TMenuItem* file = Item(menu->Items(), "&File", {});
        Item(*file, "&Save", ShortCut('S', ssCtrl));
        Item(*file, "-", {});
        Item(*file, "&Delete", ShortCut(vkDelete));
        Grid = Item(*Item(menu->Items(), "&View", {}), "&Grid", {});
        Grid->SetOnClick([this](TObject*) { Grid->SetChecked(!Grid->Checked()); });
        SetMenu(menu);

        List = new TListBox(this);
        List->SetParent(this);
        List->SetBounds(8, 8, 120, 100);
        List->SetItems({"PC01", "PC02", "PC03"});
        List->SetItemIndex(0);
        List->SetOnClick([this](TObject*) { heard.push_back("pick " + std::to_string(List->ItemIndex())); });

        auto* note = new TLabel(this);
        note->SetParent(this);
        note->SetBounds(int(kNote.left), int(kNote.top), 60, 30);
        note->SetColor(clYellow);
        SetOnPaintBehind([](TObject*, TCanvas& c) { c.FillRect(TRect64::Of(150, 10, 150, 100), clRed); });
        SetOnPaintOver([](TObject*, TCanvas& c) { c.FrameRect(kNote, kBlue); });
        SetOnCloseQuery([this](TObject*, bool& canClose) { canClose = ++closeAsked > 1; });
        SetOnMouseWheel(
            [](TObject*, const TMouseWheelInfo& w) { heard.push_back("wheel " + std::to_string(w.delta)); });
        SetScrollBars({}, {1000, 200, 0});
        SetOnScroll([](TObject*, TScrollBarKind, std::int32_t at) { heard.push_back("v " + std::to_string(at)); });
    }

private:
    TMenuItem* Item(TMenuItem& parent, const std::string& caption, TShortCut shortCut)
    {
        auto* item = new TMenuItem(this);
        item->SetCaption(caption);
        item->SetShortCut(shortCut);
        item->SetOnClick([caption](TObject*) { heard.push_back(caption); });
        parent.Add(item);
        return item;
    }
};

TMenuForm* menuForm = nullptr;

std::wstring MenuText(HMENU menu, UINT position)
{
    wchar_t text[64] = {};
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return text;
}

TEST(MenuForm, MenuListBoxClosingPaintingAndScrolling)
{
    heard.clear();
    HWND form = nullptr;
    std::vector<std::wstring> fileMenu;
    int barCount = 0, listCount = 0, firstSelected = -1, scrolled = -1, dpi = 0;
    bool gridChecked = false, refused = false;
    COLORREF behind = 0, inside = 0, edge = 0, corner = 0;
    const std::string failed = psbtest::RunLoopWhile(menuForm, [&] {
        if (!psbtest::WaitFor(
                [&] { return (form = psbtest::FindTopWindow(GetCurrentProcessId(), L"MenuForm", L"Menus")); },
                std::chrono::seconds(60)))
            return;
        HMENU bar = GetMenu(form);
        barCount = GetMenuItemCount(bar);
        HMENU file = GetSubMenu(bar, 0);
        for (int i = 0; i < GetMenuItemCount(file); ++i)
            fileMenu.push_back(MenuText(file, static_cast<UINT>(i)));

        // Del posted to the window is the menu's; then Save chosen from the menu, and Grid.
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(VK_DELETE, 0)) << 16;
        PostMessageW(form, WM_KEYDOWN, VK_DELETE, 1 | scan);
        PostMessageW(form, WM_COMMAND, MAKEWPARAM(GetMenuItemID(file, 0), 0), 0);
        PostMessageW(form, WM_COMMAND, MAKEWPARAM(GetMenuItemID(GetSubMenu(bar, 1), 0), 0), 0);
        POINT middle{100, 100};
        ClientToScreen(form, &middle);
        PostMessageW(form, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), MAKELPARAM(middle.x, middle.y));
        psbtest::WaitFor([&] { return heard.size() >= 3; });
        gridChecked =
            psbtest::WaitFor([&] { return GetMenuState(GetSubMenu(GetMenu(form), 1), 0, MF_BYPOSITION) & MF_CHECKED; });

        // The user picks the third line.
        HWND list = FindWindowExW(form, nullptr, L"LISTBOX", nullptr);
        listCount = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        firstSelected = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
        SendMessageW(list, LB_SETCURSEL, 2, 0);
        SendMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        SendMessageW(form, WM_VSCROLL, SB_LINEDOWN, 0);
        scrolled = GetScrollPos(form, SB_VERT);

        // Red behind the yellow label, a blue frame on its edges.
        RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        HDC dc = GetDC(form);
        dpi = GetDeviceCaps(dc, LOGPIXELSY);
        const auto at = [&](std::int64_t x, std::int64_t y) {
            return GetPixel(dc, int(ScaleToDpi(x, dpi)), int(ScaleToDpi(y, dpi)));
        };
        psbtest::WaitFor([&] { return at(160, 60) == RGB(255, 0, 0); }, std::chrono::seconds(5));
        behind = at(160, 60);
        inside = at(230, 35);
        edge = at(200, 35);
        corner = GetPixel(dc, int(ScaleToDpi(kNote.right, dpi)) - 1, int(ScaleToDpi(kNote.bottom, dpi)) - 1);
        ReleaseDC(form, dc);

        PostMessageW(form, WM_CLOSE, 0, 0);
        psbtest::WaitFor([&] { return menuForm && menuForm->closeAsked == 1; });
        refused = IsWindow(form);
        PostMessageW(form, WM_CLOSE, 0, 0);
    });
    ASSERT_EQ(failed, "");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(barCount, 2);
    EXPECT_EQ(fileMenu, (std::vector<std::wstring>{L"&Save\tCtrl+S", L"", L"&Delete\tDel"}));
    EXPECT_EQ(heard, (std::vector<std::string>{"&Delete", "&Save", "wheel -120", "pick 2", "v 16"}));
    EXPECT_EQ(scrolled, ScaleToDpi(16, dpi));
    EXPECT_TRUE(gridChecked);
    EXPECT_EQ(listCount, 3);
    EXPECT_EQ(firstSelected, 0) << "as the program set it, with no click";
    EXPECT_EQ(behind, RGB(255, 0, 0));
    EXPECT_EQ(inside, RGB(255, 255, 0));
    EXPECT_EQ(edge, RGB(0, 0, 255));
    EXPECT_EQ(corner, RGB(0, 0, 255));
    EXPECT_TRUE(refused) << "the first close was refused";
    EXPECT_FALSE(IsWindow(form));
}

}  // namespace
