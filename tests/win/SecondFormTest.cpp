// A form class of another kind on the same window code: its own layout, window class, painted
// items that take drags and the keyboard, and a native edit and button, driven through the
// real event loop from another thread as a user would, read through Active Accessibility,
// then closed.
#include <gtest/gtest.h>
#include <oleacc.h>

#include "platform/forms/LayoutBinding.h"
#include "tests/support/Msaa.h"
#include "tests/support/WinProgram.h"

namespace {

constexpr char kLayout[] = R"(object NotesForm: TNotesForm
  Width = 360
  Height = 260
  Caption = 'Notes'
  object Title: TLabel
    Left = 8
    Top = 8
    Width = 120
    Height = 16
    Caption = 'Name'
  end
  object NameEdit: TEdit
    Left = 8
    Top = 28
    Width = 160
    Height = 21
  end
  object AddButton: TButton
    Left = 176
    Top = 26
    Width = 75
    Height = 25
    Caption = 'Add'
    OnClick = AddButtonClick
  end
end
)";

class TNotesForm;
TNotesForm* notesForm = nullptr;

// Everything the form formHeard, in order.
std::vector<std::string> formHeard;

class TNotesForm : public TForm {
public:  // published
    TLabel* Title = nullptr;
    TEdit* NameEdit = nullptr;
    TButton* AddButton = nullptr;
    void AddButtonClick(TObject*) { formHeard.push_back("add " + NameEdit->Text()); }

public:
    explicit TNotesForm(TComponent* owner) : TForm(owner, "NotesForm")
    {
        LoadLayout(*this, kLayout,
                   {"TNotesForm",
                    {PublishedField("Title", Title), PublishedField("NameEdit", NameEdit),
                     PublishedField("AddButton", AddButton)},
                    {{"AddButtonClick", [this](TObject* sender) { AddButtonClick(sender); }}}});
        for (int i = 0; i < 2; ++i) {
            auto* note = new TLabel(this);
            note->SetParent(this);
            note->SetBounds(8 + 100 * i, 80, 90, 40);
            note->SetCaption("note " + std::to_string(i + 1));
            note->SetColor(clYellow);
            const std::string name = note->Caption();
            const auto at = [](const TMouseInfo& m) { return std::to_string(m.x) + "," + std::to_string(m.y); };
            note->SetOnClick([name](TObject*) { formHeard.push_back(name + " click"); });
            note->SetOnMouseDown([=](TObject*, const TMouseInfo& m) { formHeard.push_back(name + " down " + at(m)); });
            // Moves only while dragged: where the real pointer hovers is no business here.
            note->SetOnMouseMove([=](TObject*, const TMouseInfo& m) {
                if (m.shift & ssLeft)
                    formHeard.push_back(name + " move " + at(m));
            });
            note->SetOnMouseUp([name](TObject*, const TMouseInfo&) { formHeard.push_back(name + " up"); });
            note->SetOnKeyDown(
                [name](TObject*, TKeyInfo& k) { formHeard.push_back(name + " key " + std::to_string(k.key)); });
            note->SetTakesFocus(true);
            note->SetCursor(crSizeAll);
        }
        // Sees every key first, and keeps F2 for itself.
        SetKeyPreview(true);
        SetOnKeyDown([](TObject*, TKeyInfo& k) {
            formHeard.push_back("form key " + std::to_string(k.key));
            k.handled = k.key == VK_F2;
        });
        NameEdit->SetOnKeyDown([](TObject*, TKeyInfo& k) { formHeard.push_back("edit key " + std::to_string(k.key)); });
    }
};

// Posts a key's press and release to a window, with the scan code a keyboard would give.
void PostKey(HWND hwnd, WORD key)
{
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, 0 /* MAPVK_VK_TO_VSC */)) << 16;
    PostMessageW(hwnd, WM_KEYDOWN, key, 1 | scan);
    PostMessageW(hwnd, WM_KEYUP, key, 1 | scan | (LPARAM{3} << 30));
}

HWND FocusOf(DWORD thread)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

TEST(SecondForm, IsShownClickedDraggedTypedIntoReadAndClosed)
{
    formHeard.clear();
    const DWORD gui = GetCurrentThreadId();
    HWND form = nullptr, edit = nullptr, button = nullptr;
    std::vector<std::pair<std::wstring, LONG>> children;  // name and role
    HRESULT action = E_FAIL;
    bool typed = false, noteTookFocus = false, tabLeftIt = false, moveShape = false;
    const std::string failed = psbtest::RunLoopWhile(notesForm, [&] {
        if (!psbtest::WaitFor(
                [&] { return (form = psbtest::FindTopWindow(GetCurrentProcessId(), L"NotesForm", L"Notes")); },
                std::chrono::seconds(60)))
            return;
        edit = FindWindowExW(form, nullptr, L"EDIT", nullptr);
        button = FindWindowExW(form, nullptr, L"BUTTON", nullptr);

        // Typed into the edit, which has the focus first, on the keyboard as a user types
        // (letters without Shift: "hi"); then F2, which stops at the form.
        // Posted, not sent through the keyboard: the window need not be in front.
        for (const WORD key : {WORD('H'), WORD('I')})
            PostKey(edit, key);
        // Where the keyboard state leaves the keys untranslated, their characters come alone.
        if (!psbtest::WaitFor([&] { return psbtest::WindowText(edit) == "hi"; }, std::chrono::seconds(3)))
            for (const wchar_t c : {L'h', L'i'})
                PostMessageW(edit, WM_CHAR, c, 1);
        typed = psbtest::WaitFor([&] { return psbtest::WindowText(edit) == "hi"; });
        PostKey(edit, VK_F2);
        PostMessageW(button, BM_CLICK, 0, 0);
        // A click on the second note, then a drag of the first that leaves the window.
        PostMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(120, 90));
        PostMessageW(form, WM_LBUTTONUP, 0, MAKELPARAM(120, 90));
        noteTookFocus = psbtest::WaitFor([&] { return FocusOf(gui) == form; });
        PostMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 82));
        PostMessageW(form, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-20, -30));
        PostMessageW(form, WM_LBUTTONUP, 0, MAKELPARAM(-20, -30));
        // The note has the keyboard; Tab goes on to the native controls.
        PostKey(form, VK_RIGHT);
        PostKey(form, VK_TAB);
        tabLeftIt = psbtest::WaitFor([&] { return FocusOf(gui) == edit; });
        // Over a note the pointer shows the shape the note asks for.
        POINT over{30, 100};
        ClientToScreen(form, &over);
        SetCursorPos(over.x, over.y);
        SendMessageW(form, WM_SETCURSOR, reinterpret_cast<WPARAM>(form), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        CURSORINFO cursor{};
        cursor.cbSize = sizeof cursor;
        GetCursorInfo(&cursor);
        moveShape = cursor.hCursor == LoadCursorW(nullptr, MAKEINTRESOURCEW(32646));  // IDC_SIZEALL

        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        IAccessible* object = nullptr;
        if (SUCCEEDED(AccessibleObjectFromWindow(form, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&object)))) {
            LONG count = 0;
            object->get_accChildCount(&count);
            for (LONG i = 1; i <= count; ++i) {
                BSTR name = nullptr;
                VARIANT role{};
                object->get_accName(psbtest::ChildId(i), &name);
                object->get_accRole(psbtest::ChildId(i), &role);
                children.emplace_back(name ? name : L"", role.vt == VT_I4 ? role.lVal : -1);
                SysFreeString(name);
            }
            action = object->accDoDefaultAction(psbtest::ChildId(5));
            object->Release();
        }
        CoUninitialize();
        PostMessageW(form, WM_CLOSE, 0, 0);
    });
    ASSERT_EQ(failed, "");
    ASSERT_NE(form, nullptr) << "the window of its own class was shown";
    EXPECT_FALSE(IsWindow(form)) << "closing it ended the loop";

    const std::string h = std::to_string('H'), i = std::to_string('I'), f2 = std::to_string(VK_F2),
                      right = std::to_string(VK_RIGHT), tab = std::to_string(VK_TAB);
    EXPECT_EQ(formHeard,
              (std::vector<std::string>{"form key " + h, "edit key " + h, "form key " + i, "edit key " + i,
                                        "form key " + f2, "add hi", "note 2 down 12,10", "note 2 click", "note 2 up",
                                        // design pixels of the note, outside the window too; no click
                                        "note 1 down 2,2", "note 1 move -28,-110", "note 1 up", "form key " + right,
                                        "note 1 key " + right, "form key " + tab, "note 1 key " + tab,
                                        // the screen reader's default action is the item's click
                                        "note 2 click"}));
    EXPECT_TRUE(typed);
    EXPECT_TRUE(noteTookFocus) << "a note takes the keyboard";
    EXPECT_TRUE(tabLeftIt) << "and Tab gives it to the first native control";
    EXPECT_TRUE(moveShape);
    EXPECT_EQ(children, (std::vector<std::pair<std::wstring, LONG>>{{L"Name", ROLE_SYSTEM_STATICTEXT},
                                                                    {L"", ROLE_SYSTEM_TEXT},
                                                                    {L"Add", ROLE_SYSTEM_PUSHBUTTON},
                                                                    {L"note 1", ROLE_SYSTEM_LISTITEM},
                                                                    {L"note 2", ROLE_SYSTEM_LISTITEM}}));
    EXPECT_EQ(action, S_OK);
}

}  // namespace
