// Exceptions out of a handler or a paint meet the operator as a message box; the loop goes on.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/support/Msaa.h"
#include "tests/support/WinProgram.h"
#include "platform/forms/Forms.h"

// Allocation fails once, on the thread it is armed for: memory running out for real.
namespace {
std::atomic<DWORD> failNextAllocationOn{0};
}  // namespace

void* operator new(std::size_t size)
{
    DWORD armed = GetCurrentThreadId();
    if (failNextAllocationOn.load() == armed && failNextAllocationOn.compare_exchange_strong(armed, 0))
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

namespace {

using namespace std::chrono_literals;
constexpr std::chrono::seconds kShowLimit(60);  // emulated code on a busy machine is slow to show

// A window with one label whose click handler throws.
class BoardForm;
BoardForm* boardForm = nullptr;

class BoardForm : public TForm {
public:
    explicit BoardForm(TComponent* owner) : TForm(owner)
    {
        SetBounds(100, 100, 300, 200);
        SetCaption("errors");
        auto* label = new TLabel(this);
        label->SetParent(this);
        label->SetBounds(10, 10, 100, 40);
        label->SetCaption("PC-01");
        label->SetColor(clYellow);
        label->SetOnClick([](TObject*) { throw Exception("handler failed"); });
    }
};

// Runs a BoardForm while another thread acts on its window, then closes it; the loop must
// still be running then.
std::vector<std::string> RunBoardWhile(const std::function<void(HWND)>& act)
{
    std::vector<std::string> boxes;
    bool stillRunning = false;
    const std::string failed = psbtest::RunLoopWhile(boardForm, [&] {
        HWND form = nullptr;
        if (!psbtest::WaitFor(
                [&] { return (form = psbtest::FindTopWindow(GetCurrentProcessId(), nullptr, L"errors")); }, kShowLimit))
            return;
        DWORD_PTR ignored;
        SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);  // painted once
        act(form);
        for (const std::chrono::milliseconds wait : {std::chrono::milliseconds(kShowLimit), 700ms})
            if (std::string box = psbtest::TakeMessageBox(GetCurrentProcessId(), wait); !box.empty())
                boxes.push_back(box);
        stillRunning = IsWindow(form) && SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
        PostMessageW(form, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(failed, "");
    EXPECT_TRUE(stillRunning) << "the loop ended with the failure";
    return boxes;
}

TEST(ErrorReporting, ClickHandlerFailureIsShownOnceAndTheLoopGoesOn)
{
    const auto boxes = RunBoardWhile([](HWND form) {
        PostMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        PostMessageW(form, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    });
    EXPECT_EQ(boxes, std::vector<std::string>{"handler failed"});
}

// A screen reader's default action is a click, with the same error handling.
TEST(ErrorReporting, DefaultActionFailureIsShownOnceAndTheLoopGoesOn)
{
    HRESULT done = E_FAIL;
    const auto boxes = RunBoardWhile([&](HWND form) {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        IAccessible* object = nullptr;
        if (SUCCEEDED(AccessibleObjectFromWindow(form, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&object)))) {
            done = object->accDoDefaultAction(psbtest::ChildId(1));
            object->Release();
        }
        CoUninitialize();
    });
    EXPECT_EQ(done, S_OK);
    EXPECT_EQ(boxes, std::vector<std::string>{"handler failed"});
}

TEST(ErrorReporting, PaintThatRunsOutOfMemoryIsShownOnceAndItsAreaValidated)
{
    const DWORD gui = GetCurrentThreadId();
    bool validated = false;
    const auto boxes = RunBoardWhile([&](HWND form) {
        failNextAllocationOn = gui;
        InvalidateRect(form, nullptr, FALSE);
        // Only a paint takes the area off the window's update region.
        validated = psbtest::WaitFor([&] { return !GetUpdateRect(form, nullptr, FALSE); });
    });
    EXPECT_TRUE(validated);
    EXPECT_EQ(failNextAllocationOn.load(), 0u) << "nothing allocated while painting";
    EXPECT_EQ(boxes, std::vector<std::string>{EOutOfMemory().Message()});
}

}  // namespace
