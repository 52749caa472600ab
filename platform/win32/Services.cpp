// The application's services on Windows: forms' windows, the event loop, the executable's
// path and the error box.
#include <windows.h>

#include <utility>

#include "platform/Backend.h"
#include "platform/Forms.h"
#include "platform/win32/FormWindow.h"
#include "platform/win32/Services.h"
#include "platform/win32/Win32Support.h"
#include "platform/win32/WinText.h"

namespace win32 {
namespace {

// What a message handler threw, kept until the loop can show it. One at a time: a failure
// that comes while one waits (or while its box is up) would only repeat it.
std::exception_ptr pendingError;

}  // namespace

void DeferError(std::exception_ptr error)
{
    if (pendingError)
        return;
    pendingError = error;
    // Wakes the loop if it is waiting, so the message is shown now.
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

}  // namespace win32

namespace backend {

std::unique_ptr<IFormPeer> CreateFormPeer(TForm& form)
{
    return std::make_unique<win32::TFormWindow>(form);
}

void RunMessageLoop(TForm& mainForm, const std::function<void(std::exception_ptr)>& onError)
{
    auto& window = static_cast<win32::TFormWindow&>(mainForm.Peer());
    window.EndLoopWhenDestroyed();
    HWND dialog = window.Handle();
    const auto showPending = [&] {
        // The box runs a loop of its own; what fails meanwhile waits for the next turn.
        while (win32::pendingError)
            onError(std::exchange(win32::pendingError, nullptr));
    };
    showPending();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Tab and Shift+Tab move the focus between the controls, as in any dialog.
        if (!(dialog && IsWindow(dialog) && IsDialogMessageW(dialog, &msg))) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        showPending();
    }
}

std::string ExecutablePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return FromWide(path);
        }
        path.resize(path.size() * 2);
    }
}

void ShowErrorMessage(const std::string& message)
{
    // Titled like the class library's application: the executable's name.
    const std::string path = ExecutablePath();
    std::string title = path.substr(path.find_last_of("\\/") + 1);
    title = title.substr(0, title.rfind('.'));
    MessageBoxW(nullptr, ToWide(message).c_str(), ToWide(title).c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace backend
