// The shipped board editor driven as an admin would: real drags and keys, the saved bytes
// compared whole, then the status board showing the PCs where they were put.
#include <gtest/gtest.h>
#include <oleacc.h>

#include "tests/support/Msaa.h"
#include "tests/support/PictureBytes.h"
#include "tests/support/WinProgram.h"

namespace {

using psbtest::Program;

// The board's origin in the editor's client area, at 96 DPI.
constexpr int kOrigin = 16;

const std::string kBoard =
    "\xEF\xBB\xBF; room 2, west wall\r\n"
    "[sys]\r\ncount=3\r\n\r\n"
    "[PC1]\r\nCaption=\xE7\x94\xB2\r\nLeft=40\r\nTop=40\r\nWidth=80\r\nHeight=30\r\n"
    "[PC2]\r\nCaption=\xE4\xB9\x99\r\nLeft=200\r\nTop=40\r\nWidth=80\r\nHeight=30\r\n";

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// Real keys, through the keyboard's queue: the editor must be in front.
void Keys(const Program& p, std::initializer_list<WORD> held, WORD key)
{
    p.BringToFront();
    std::vector<INPUT> input;
    const auto add = [&](WORD k, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        input.push_back(i);
    };
    for (const WORD k : held)
        add(k, false);
    add(key, false);
    add(key, true);
    for (const WORD k : held)
        add(k, true);
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
    p.Settle();
}

// A real drag with the left button, in a few moves.
void Drag(const Program& p, POINT from, POINT to)
{
    POINT a = from, b = to;
    ClientToScreen(p.Form(), &a);
    ClientToScreen(p.Form(), &b);
    p.BringToFront();
    const auto mouse = [](POINT at, DWORD flags) {
        psbtest::MouseAt(at, flags);
        psbtest::Pause(std::chrono::milliseconds(40));
    };
    mouse(a, 0);
    mouse(a, MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 6; ++step)
        mouse({a.x + (b.x - a.x) * step / 6, a.y + (b.y - a.y) * step / 6}, 0);
    mouse(b, MOUSEEVENTF_LEFTUP);
    p.Settle();
}

bool WaitForBytes(const std::filesystem::path& file, const std::string& bytes)
{
    return psbtest::WaitFor([&] { return psbtest::ReadBytes(file) == bytes; }, std::chrono::seconds(10));
}

std::string Title(const Program& p)
{
    return psbtest::WindowText(p.Form());
}

// What a screen reader reads of a window that has the focus: its own object's name, and the
// names of its children (a list's lines).
struct Heard {
    std::wstring name;
    std::vector<std::wstring> children;
};

Heard HearWindow(HWND hwnd)
{
    Heard heard;
    IAccessible* object = nullptr;
    if (AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&object)) != S_OK)
        return heard;
    const auto read = [&](LONG child) {
        BSTR text = nullptr;
        object->get_accName(psbtest::ChildId(child), &text);
        std::wstring s = text ? text : L"";
        SysFreeString(text);
        return s;
    };
    heard.name = read(CHILDID_SELF);
    LONG count = 0;
    object->get_accChildCount(&count);
    for (LONG child = 1; child <= count && child <= 50; ++child)
        heard.children.push_back(read(child));
    object->Release();
    return heard;
}

// The editor's child windows of a class, in tab order.
std::vector<HWND> Children(const Program& p, const wchar_t* className)
{
    std::vector<HWND> found;
    for (HWND w = FindWindowExW(p.Form(), nullptr, className, nullptr); w;
         w = FindWindowExW(p.Form(), w, className, nullptr))
        found.push_back(w);
    return found;
}

// Dragged with snapping to the grid, nudged by the arrows, saved with Ctrl+S: only the two
// values change, and the status board shows the PC there.
TEST(Editor, DragKeysAndSaveThenTheBoardShowsIt)
{
    Program editor(kBoard, "", psbtest::kEditor);
    ASSERT_TRUE(editor.Start()) << editor.Error();
    // From the middle of PC1 by 43, 21: its corner at 83, 61 snaps to the grid, 80, 64.
    Drag(editor, {kOrigin + 80, kOrigin + 55}, {kOrigin + 80 + 43, kOrigin + 55 + 21});
    Keys(editor, {}, VK_RIGHT);
    Keys(editor, {}, VK_RIGHT);
    Keys(editor, {VK_SHIFT}, VK_DOWN);
    EXPECT_EQ(Title(editor).front(), '*');
    Keys(editor, {VK_CONTROL}, 'S');
    const std::string expected = Replaced(Replaced(kBoard, "Left=40", "Left=82"), "Top=40", "Top=72");
    EXPECT_TRUE(WaitForBytes(editor.BoardPath(), expected)) << psbtest::ReadBytes(editor.BoardPath());
    EXPECT_NE(Title(editor).front(), '*');
    EXPECT_EQ(editor.Close(), 0u);

    psbtest::CopyProgram(psbtest::kStatusBoard, editor.Home());
    Program board(psbtest::InFolder{editor.Home()});
    ASSERT_TRUE(board.Start()) << board.Error();
    EXPECT_EQ(board.Colour(82, 72), "yellow");
    EXPECT_EQ(board.Colour(161, 101), "yellow");
    EXPECT_NE(board.Colour(81, 72), "yellow");
    EXPECT_NE(board.Colour(82, 71), "yellow");
    EXPECT_NE(board.Colour(41, 41), "yellow");
    EXPECT_EQ(board.Close(), 0u);
}

// Without a mouse: Tab picks PC1, arrows move it, Ctrl+Z takes one back; closing asks, and
// "No" leaves the file as it was.
TEST(Editor, KeyboardOnlyAndCloseWithoutSaving)
{
    Program editor(kBoard, "", psbtest::kEditor);
    ASSERT_TRUE(editor.Start()) << editor.Error();
    Keys(editor, {}, VK_TAB);
    Keys(editor, {}, VK_DOWN);
    Keys(editor, {}, VK_DOWN);
    Keys(editor, {VK_CONTROL}, 'Z');
    Keys(editor, {VK_CONTROL}, VK_RIGHT);  // one wider
    EXPECT_EQ(Title(editor).front(), '*');

    // Read as a screen reader reads it: the PC, its place and size, selected.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* client = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(editor.Form(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&client)),
              S_OK);
    LONG count = 0;
    client->get_accChildCount(&count);
    bool found = false;
    for (LONG child = 1; child <= count && !found; ++child) {
        BSTR name = nullptr, description = nullptr;
        VARIANT state{};
        if (client->get_accName(psbtest::ChildId(child), &name) == S_OK && name && std::wstring(name) == L"甲") {
            found = true;
            client->get_accDescription(psbtest::ChildId(child), &description);
            EXPECT_EQ(std::wstring(description ? description : L""), L"左 40，上 41，寬 81，高 30");
            client->get_accState(psbtest::ChildId(child), &state);
            EXPECT_TRUE(state.lVal & STATE_SYSTEM_SELECTED);
        }
        SysFreeString(name);
        SysFreeString(description);
    }
    client->Release();
    EXPECT_TRUE(found);

    // PC1 onto PC2 through its Left field: the checker says so a moment later.
    Keys(editor, {}, VK_F6);
    HWND left = FindWindowExW(editor.Form(), nullptr, L"Edit", nullptr);
    left = FindWindowExW(editor.Form(), left, L"Edit", nullptr);  // the second field
    SendMessageW(left, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"190"));
    PostMessageW(left, WM_KEYDOWN, VK_RETURN, 1);
    // The findings' lines are drawn as they show, and read as a screen reader reads them.
    const HWND findings = FindWindowExW(editor.Form(), nullptr, L"ListBox", nullptr);
    EXPECT_TRUE(psbtest::WaitFor([&] {
        const Heard heard = HearWindow(findings);
        return heard.children.size() == 1 && heard.children[0].find(L"PC2") != std::wstring::npos;
    }));
    CoUninitialize();

    PostMessageW(editor.Form(), WM_CLOSE, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(
        psbtest::WaitFor([&] { return (box = psbtest::FindTopWindow(editor.ProcessId(), L"#32770", nullptr)); }));
    PostMessageW(box, WM_COMMAND, IDNO, 0);
    EXPECT_EQ(editor.ExitCode(), 0u);
    EXPECT_EQ(psbtest::ReadBytes(editor.BoardPath()), kBoard);
}

// Each field read from its own window, as a screen reader reads the focused one: the caption
// beside it. The list of findings by its heading, with its lines; a PC chosen by its default
// action is selected, and its values fill the fields.
TEST(Editor, AScreenReaderHearsEachFieldAndChoosesAPc)
{
    Program editor(kBoard, "", psbtest::kEditor);
    ASSERT_TRUE(editor.Start()) << editor.Error();
    Keys(editor, {VK_CONTROL}, 'G');  // the grid generator's fields too
    std::vector<HWND> fields;
    ASSERT_TRUE(psbtest::WaitFor([&] { return (fields = Children(editor, L"Edit")).size() == 20; }));
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::vector<std::wstring> names;
    for (const HWND field : fields)
        names.push_back(HearWindow(field).name);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"標題",     L"左",       L"上",       L"寬",     L"高",
                                                L"格線",     L"平面圖左", L"平面圖上", L"縮放 %", L"不透明 %",
                                                L"兩點距離", L"列數",     L"行數",     L"寬",     L"高",
                                                L"水平間距", L"垂直間距", L"起點左",   L"起點上", L"標題樣式"}));
    const Heard findings = HearWindow(FindWindowExW(editor.Form(), nullptr, L"ListBox", nullptr));
    EXPECT_EQ(findings.name, L"檢查結果");
    EXPECT_EQ(findings.children, std::vector<std::wstring>{L"沒有發現問題"});

    IAccessible* client = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(editor.Form(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&client)),
              S_OK);
    LONG count = 0, first = 0, second = 0;
    client->get_accChildCount(&count);
    for (LONG child = 1; child <= count; ++child) {
        BSTR name = nullptr;
        client->get_accName(psbtest::ChildId(child), &name);
        const std::wstring read = name ? name : L"";
        SysFreeString(name);
        if (read == L"甲")
            first = child;
        else if (read == L"乙")
            second = child;
    }
    ASSERT_TRUE(first && second);
    EXPECT_EQ(client->accDoDefaultAction(psbtest::ChildId(second)), S_OK);
    EXPECT_TRUE(psbtest::WaitFor([&] { return psbtest::WindowText(fields[1]) == "200"; }))
        << psbtest::WindowText(fields[1]);
    VARIANT state{};
    client->get_accState(psbtest::ChildId(second), &state);
    EXPECT_TRUE(state.vt == VT_I4 && (state.lVal & STATE_SYSTEM_SELECTED));
    // Taking the selection for the other does the same.
    EXPECT_EQ(client->accSelect(SELFLAG_TAKESELECTION, psbtest::ChildId(first)), S_OK);
    EXPECT_TRUE(psbtest::WaitFor([&] { return psbtest::WindowText(fields[1]) == "40"; }))
        << psbtest::WindowText(fields[1]);
    client->Release();
    CoUninitialize();
    EXPECT_EQ(editor.Close(), 0u);
}

// A box saying why the board's file was not saved: its full name, then the reason.
void ExpectRefusal(const std::string& box, const std::string& reason)
{
    EXPECT_TRUE(box.ends_with("sys.ini" + reason)) << box;
    EXPECT_EQ(box.find(':'), 1u) << box;  // a drive's path
}

// A read-only file: the save says why it did not happen and leaves the file as it is.
TEST(Editor, SavesThatCannotHappenSaySo)
{
    Program editor(kBoard, "", psbtest::kEditor);
    ASSERT_TRUE(editor.Start()) << editor.Error();
    Keys(editor, {}, VK_TAB);
    Keys(editor, {}, VK_RIGHT);
    SetFileAttributesW(editor.BoardPath().c_str(), FILE_ATTRIBUTE_READONLY);
    Keys(editor, {VK_CONTROL}, 'S');
    ExpectRefusal(psbtest::TakeMessageBox(editor.ProcessId(), std::chrono::seconds(10)),
                  "：無法儲存：檔案為唯讀；檔案未變更");
    SetFileAttributesW(editor.BoardPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(psbtest::ReadBytes(editor.BoardPath()), kBoard);
}

// Save As through the system's dialog: the new file gets the edits, the old one stays, and the
// next Ctrl+S goes to the new one. The 32-bit dialog loads the shell in a few seconds under
// emulation, and now and then the emulator stops it there: the failure then says so.
TEST(Editor, SaveAsThenSaveGoToTheNewFile)
{
    Program editor(kBoard, "", psbtest::kEditor);
    ASSERT_TRUE(editor.Start()) << editor.Error();
    Keys(editor, {}, VK_TAB);
    Keys(editor, {}, VK_RIGHT);
    Keys(editor, {VK_CONTROL, VK_SHIFT}, 'S');
    HWND dialog = nullptr;
    ASSERT_TRUE(psbtest::WaitFor(
        [&] { return (dialog = psbtest::FindTopWindow(editor.ProcessId(), L"#32770", nullptr)) != nullptr; },
        std::chrono::seconds(30)))
        << editor.StoppedNote();
    const std::filesystem::path copy = editor.Home() / L"新.ini";
    // The name field: a combo box in the Explorer-style dialog, an edit in older ones.
    for (const int field : {0x47C, 0x480})
        SetDlgItemTextW(dialog, field, copy.c_str());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    const std::string moved = Replaced(kBoard, "Left=40", "Left=41");
    EXPECT_TRUE(WaitForBytes(copy, moved)) << psbtest::ReadBytes(copy);
    EXPECT_EQ(psbtest::ReadBytes(editor.BoardPath()), kBoard);
    EXPECT_EQ(Title(editor), "新.ini - 看板編輯器");

    Keys(editor, {}, VK_RIGHT);
    Keys(editor, {VK_CONTROL}, 'S');
    EXPECT_TRUE(WaitForBytes(copy, Replaced(kBoard, "Left=40", "Left=42")));
    EXPECT_EQ(psbtest::ReadBytes(editor.BoardPath()), kBoard);
    EXPECT_EQ(editor.Close(), 0u);
}

// A Big5 file named on the command line: a caption typed into its field is written in Big5,
// and one that Big5 cannot hold is refused rather than written as '?'.
TEST(Editor, CaptionTypedIntoABig5File)
{
    const std::string board =
        "[sys]\r\ncount=2\r\n[PC1]\r\nCaption=\xA5\xD2\r\nLeft=40\r\nTop=40\r\nWidth=80\r\nHeight=30\r\n";
    Program editor("", "", psbtest::kEditor);
    const std::filesystem::path file = editor.Home() / L"教室.ini";
    psbtest::WriteBytes(file, board);
    editor.arguments = L"\"" + file.wstring() + L"\"";
    ASSERT_TRUE(editor.Start()) << editor.Error();
    Keys(editor, {}, VK_TAB);
    Keys(editor, {}, VK_F6);  // to the caption field
    HWND field = nullptr;
    ASSERT_TRUE(psbtest::WaitFor(
        [&] { return (field = editor.ThreadInput().hwndFocus) != nullptr && field != editor.Form(); }));
    const auto type = [&](const std::wstring& text) {
        SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        Keys(editor, {}, VK_RETURN);
    };
    type(L"\U0001F600");  // no Big5 for it
    type(L"乙一");
    Keys(editor, {VK_CONTROL}, 'S');
    EXPECT_TRUE(WaitForBytes(file, Replaced(board, "\xA5\xD2", "\xA4\x41\xA4\x40"))) << psbtest::ReadBytes(file);
    EXPECT_EQ(editor.Close(), 0u);
}

// -- a board held by another program, someone else's save, the end of a Windows session

// Where the program's input would go: for a failure where a click or a key did nothing.
std::string InputState(const Program& p)
{
    const GUITHREADINFO info = p.ThreadInput();
    const auto name = [&](HWND h) {
        wchar_t cls[64] = L"-";
        if (h)
            GetClassNameW(h, cls, 64);
        return h == p.Form() ? std::string("the form") : FromWide(cls);
    };
    POINT cursor{}, origin{};
    GetCursorPos(&cursor);
    ClientToScreen(p.Form(), &origin);
    return "foreground " + name(GetForegroundWindow()) + ", active " + name(info.hwndActive) + ", focus " +
           name(info.hwndFocus) + ", capture " + name(info.hwndCapture) + ", cursor " + std::to_string(cursor.x) + "," +
           std::to_string(cursor.y) + ", client origin " + std::to_string(origin.x) + "," + std::to_string(origin.y) +
           ", windows" + p.ShownWindows();
}

// The process's first box within half a minute: its text, then closed with that button.
std::string AnswerBox(DWORD processId, int button)
{
    return psbtest::TakeMessageBox(processId, std::chrono::seconds(30), button);
}

// A board another program holds open with no sharing: the editor says so before any window,
// Cancel ends it, and Retry once the board is free opens the board itself.
TEST(Editor, AHeldBoardOffersRetryOrEnds)
{
    Program editor(kBoard, "", psbtest::kEditor);
    HANDLE held = CreateFileW(editor.BoardPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(editor.Launch()) << editor.Error();
    const std::string box = AnswerBox(editor.ProcessId(), IDCANCEL);
    EXPECT_TRUE(box.starts_with("無法讀取 ") && box.find("sys.ini：") != std::string::npos) << box;
    EXPECT_EQ(editor.ExitCode(), 0u);

    Program again(psbtest::InFolder{editor.Home()}, psbtest::kEditor);
    ASSERT_TRUE(again.Launch()) << again.Error();
    psbtest::WaitFor([&] { return psbtest::FindTopWindow(again.ProcessId(), L"#32770", nullptr) != nullptr; },
                     std::chrono::seconds(30));
    CloseHandle(held);
    EXPECT_EQ(AnswerBox(again.ProcessId(), IDRETRY), box);
    ASSERT_TRUE(again.WaitForWindow()) << again.Error();
    EXPECT_EQ(Title(again), "sys.ini - 看板編輯器");
    EXPECT_EQ(again.Close(), 0u);
    EXPECT_EQ(psbtest::ReadBytes(editor.BoardPath()), kBoard);
}

// Someone else saved the board: Save says so and, cancelled, writes nothing; coming back to the
// editor after another change says so again, and reloading theirs (asked first) drops mine.
TEST(Editor, SomeoneElsesSaveOffersWaysOn)
{
    Program editor(kBoard, "", psbtest::kEditor);
    ASSERT_TRUE(editor.Start()) << editor.Error();
    Keys(editor, {}, VK_TAB);
    Keys(editor, {}, VK_RIGHT);
    const std::string theirs = Replaced(kBoard, "Left=200", "Left=240");
    psbtest::WriteBytes(editor.BoardPath(), theirs);
    Keys(editor, {VK_CONTROL}, 'S');
    const std::string told = AnswerBox(editor.ProcessId(), IDCANCEL);
    EXPECT_TRUE(told.ends_with("sys.ini 已不是這裡開啟時的內容：之後已有其他程式儲存過它。您的變更都還沒有寫入。"))
        << told;
    EXPECT_EQ(psbtest::ReadBytes(editor.BoardPath()), theirs);
    EXPECT_EQ(Title(editor).front(), '*');

    const std::string again = Replaced(theirs, "Top=40", "Top=48");
    psbtest::WriteBytes(editor.BoardPath(), again);
    // Away to a window of the driver's, and back.
    HWND elsewhere = CreateWindowExW(0, L"STATIC", L"elsewhere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                     nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(elsewhere);
    psbtest::Pause(std::chrono::milliseconds(300));
    SetForegroundWindow(editor.Form());
    EXPECT_EQ(AnswerBox(editor.ProcessId(), 101), told);  // the second way: reload theirs
    EXPECT_NE(AnswerBox(editor.ProcessId(), IDYES).find("重新載入"), std::string::npos);
    DestroyWindow(elsewhere);
    ASSERT_TRUE(psbtest::WaitFor([&] { return Title(editor).front() != '*'; }));
    // PC1 chosen by a click: after the boxes, which control has the focus depends on the order
    // in which the windows were activated, and a Tab would not always reach the board.
    editor.Click(kOrigin + 80, kOrigin + 63);
    Keys(editor, {}, VK_RIGHT);
    ASSERT_TRUE(psbtest::WaitFor([&] { return Title(editor).front() == '*'; })) << InputState(editor) << "\n"
                                                                                << editor.StoppedNote();
    Keys(editor, {VK_CONTROL}, 'S');
    EXPECT_TRUE(WaitForBytes(editor.BoardPath(), Replaced(again, "Left=40", "Left=41")))
        << psbtest::ReadBytes(editor.BoardPath());
    EXPECT_EQ(editor.Close(), 0u);
}

void CALLBACK Answered(HWND, UINT, ULONG_PTR answer, LRESULT result)
{
    *reinterpret_cast<LRESULT*>(answer) = result;
}

// Windows ending the session: asked, Cancel keeps it going; with no time to ask, the work is
// kept beside the board and, after the program is ended, the next start offers it back.
TEST(Editor, TheEndOfASessionAsksOrKeepsTheWork)
{
    Program editor(kBoard, "", psbtest::kEditor);
    ASSERT_TRUE(editor.Start()) << editor.Error();
    Keys(editor, {}, VK_TAB);
    Keys(editor, {}, VK_RIGHT);
    const std::filesystem::path kept = editor.BoardPath().wstring() + L".recovery";
    LRESULT answer = -1;
    SendMessageCallbackW(editor.Form(), WM_QUERYENDSESSION, 0, 0, Answered, reinterpret_cast<ULONG_PTR>(&answer));
    EXPECT_NE(AnswerBox(editor.ProcessId(), IDCANCEL).find("sys.ini"), std::string::npos);
    EXPECT_TRUE(psbtest::WaitFor([&] { return answer != -1; }));
    EXPECT_EQ(answer, FALSE);
    EXPECT_FALSE(std::filesystem::exists(kept));

    DWORD_PTR result = 0;
    ASSERT_TRUE(
        SendMessageTimeoutW(editor.Form(), WM_QUERYENDSESSION, 0, ENDSESSION_CRITICAL, SMTO_NORMAL, 10000, &result));
    EXPECT_EQ(result, static_cast<DWORD_PTR>(TRUE));
    SendMessageTimeoutW(editor.Form(), WM_ENDSESSION, TRUE, ENDSESSION_CRITICAL, SMTO_NORMAL, 10000, &result);
    EXPECT_TRUE(std::filesystem::exists(kept));
    TerminateProcess(editor.ProcessHandle(), 0);  // as Windows does once the session ends
    WaitForSingleObject(editor.ProcessHandle(), 10000);
    EXPECT_EQ(psbtest::ReadBytes(editor.BoardPath()), kBoard);

    Program next(psbtest::InFolder{editor.Home()}, psbtest::kEditor);
    ASSERT_TRUE(next.Launch()) << next.Error();
    EXPECT_NE(AnswerBox(next.ProcessId(), IDYES).find("已另外保留"), std::string::npos);
    ASSERT_TRUE(next.WaitForWindow()) << next.Error();
    EXPECT_EQ(Title(next).front(), '*');
    Keys(next, {VK_CONTROL}, 'S');
    EXPECT_TRUE(WaitForBytes(next.BoardPath(), Replaced(kBoard, "Left=40", "Left=41")));
    EXPECT_TRUE(psbtest::WaitFor([&] { return !std::filesystem::exists(kept); }));
    EXPECT_EQ(next.Close(), 0u);
}

// -- merging someone else's save

// A row of a list box as the list gives it to other programs (this Wine's Active
// Accessibility has no list box rows).
std::string Row(HWND list, int row)
{
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length < 0)
        return "(no row)";
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return FromWide(text);
}

// Another program saved a change to another PC while mine was unsaved: Save, Merge (the first
// way), Save keeps both. Then both changed the same value: the list names it, theirs kept at
// first, and keeping mine saves mine.
TEST(Editor, MergingSomeoneElsesSave)
{
    Program editor(kBoard, "", psbtest::kEditor);
    ASSERT_TRUE(editor.Start()) << editor.Error();
    Keys(editor, {}, VK_TAB);
    Keys(editor, {}, VK_RIGHT);
    const std::string theirs = Replaced(kBoard, "Left=200", "Left=240");
    psbtest::WriteBytes(editor.BoardPath(), theirs);
    Keys(editor, {VK_CONTROL}, 'S');
    EXPECT_NE(AnswerBox(editor.ProcessId(), 100).find("sys.ini"), std::string::npos);
    EXPECT_EQ(psbtest::ReadBytes(editor.BoardPath()), theirs);
    Keys(editor, {VK_CONTROL}, 'S');
    const std::string both = Replaced(theirs, "Left=40", "Left=41");
    EXPECT_TRUE(WaitForBytes(editor.BoardPath(), both)) << psbtest::ReadBytes(editor.BoardPath());

    Keys(editor, {}, VK_TAB);
    Keys(editor, {}, VK_RIGHT);
    const std::string again = Replaced(both, "Left=41", "Left=50");
    psbtest::WriteBytes(editor.BoardPath(), again);
    Keys(editor, {VK_CONTROL}, 'S');
    AnswerBox(editor.ProcessId(), 100);
    HWND list = nullptr;
    ASSERT_TRUE(psbtest::WaitFor([&] {
        const HWND box = psbtest::FindTopWindow(editor.ProcessId(), L"#32770", L"雙方改了同一處");
        return (list = box ? GetDlgItem(box, 200) : nullptr) != nullptr;
    }));
    EXPECT_EQ(Row(list, 0), "電腦 1 「甲」，左：對方的 50，我的 42 — 保留對方的");
    const HWND box = GetParent(list);
    PostMessageW(box, WM_COMMAND, 204, 0);  // all mine
    EXPECT_TRUE(psbtest::WaitFor([&] { return Row(list, 0).ends_with("保留我的"); })) << Row(list, 0);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(psbtest::WaitFor([&] { return !IsWindow(box); }));
    Keys(editor, {VK_CONTROL}, 'S');
    EXPECT_TRUE(WaitForBytes(editor.BoardPath(), Replaced(again, "Left=50", "Left=42")))
        << psbtest::ReadBytes(editor.BoardPath());
    EXPECT_EQ(editor.Close(), 0u);
}

// A plan of the room under the board: painted at its place, under the PCs, and a PC dragged
// onto a seat marked on it is saved at that seat, with the plan's own lines as they were.
TEST(Editor, APcDroppedOnASeatOfThePlan)
{
    const std::string board =
        kBoard + "[FloorPlan]\r\nFile=plan.png\r\nLeft=100\r\nTop=80\r\nScale=100\r\nOpacity=100\r\n";
    Program editor(board, "", psbtest::kEditor);
    // 200 x 120, pale green, with a blue seat of 24 x 24 at 124, 64: on the board at 224, 144.
    constexpr std::uint32_t kGreen = 0xC8E6C8, kBlue = 0x0000FF;
    psbtest::WriteBytes(editor.Home() / L"plan.png", psbtest::Png(200, 120, [](int x, int y) {
                            return x >= 124 && x < 148 && y >= 64 && y < 88 ? kBlue : kGreen;
                        }));
    ASSERT_TRUE(editor.Start()) << editor.Error();
    // Read off the screen between the grid's lines.
    const auto at = [&](int x, int y) { return editor.Pixel(kOrigin + x, kOrigin + y); };
    EXPECT_EQ(at(229, 149), RGB(0, 0, 255));
    EXPECT_EQ(at(243, 163), RGB(0, 0, 255));
    EXPECT_EQ(at(109, 85), RGB(200, 230, 200));
    EXPECT_EQ(at(293, 197), RGB(200, 230, 200));
    EXPECT_NE(at(309, 85), RGB(200, 230, 200));   // beside the plan
    EXPECT_NE(at(109, 205), RGB(200, 230, 200));  // below it

    // PC1's corner from 40, 40 onto the seat.
    Drag(editor, {kOrigin + 80, kOrigin + 55}, {kOrigin + 80 + 184, kOrigin + 55 + 104});
    EXPECT_EQ(editor.Colour(kOrigin + 229, kOrigin + 149), "yellow");
    Keys(editor, {VK_CONTROL}, 'S');
    const std::string expected = Replaced(Replaced(board, "Left=40", "Left=224"), "Top=40", "Top=144");
    EXPECT_TRUE(WaitForBytes(editor.BoardPath(), expected)) << psbtest::ReadBytes(editor.BoardPath());
    EXPECT_EQ(editor.Close(), 0u);

    psbtest::CopyProgram(psbtest::kStatusBoard, editor.Home());
    Program status(psbtest::InFolder{editor.Home()});
    ASSERT_TRUE(status.Start()) << status.Error();
    EXPECT_EQ(status.Colour(224, 144), "yellow");
    EXPECT_EQ(status.Colour(303, 173), "yellow");
    EXPECT_NE(status.Colour(223, 144), "yellow");
    EXPECT_EQ(status.Close(), 0u);
}

}  // namespace
