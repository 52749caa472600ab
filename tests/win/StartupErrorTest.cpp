#include <gtest/gtest.h>


#include "WinTestSupport.h"
#include "app/Startup.h"

namespace {

// Closes the first message box of this process that appears, handing back its text.
std::string CloseNextMessageBox()
{
    HWND box = nullptr;
    wintest::WaitFor([&] { return (box = wintest::FindTopWindow(GetCurrentProcessId(), L"#32770", nullptr)) != nullptr; });
    if (!box)
        return "(no message box)";
    const std::string text = wintest::WindowText(GetDlgItem(box, 0xFFFF));  // the box's message
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return text;
}

class ThrowingForm;
ThrowingForm* throwingForm = nullptr;

class ThrowingForm : public TForm {
public:
    explicit ThrowingForm(TComponent* owner) : TForm(owner) { throw Exception("\xE6\x95\x85\xE9\x9A\x9C: refused"); }
};

TEST(StartupError, ShowsTheMessageInABoxAndExitsWithZero)
{
    // The box is modal: another thread reads and closes it.
    std::string seen;
    HANDLE closer = CreateThread(
        nullptr, 0, [](void* out) -> DWORD { *static_cast<std::string*>(out) = CloseNextMessageBox(); return 0; },
        &seen, 0, nullptr);
    const int code = RunApplication(throwingForm);
    WaitForSingleObject(closer, INFINITE);
    CloseHandle(closer);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(seen, "\xE6\x95\x85\xE9\x9A\x9C: refused");
    EXPECT_EQ(wintest::FindTopWindow(GetCurrentProcessId(), L"PcStatusBoardForm", nullptr), nullptr);
}

}  // namespace
