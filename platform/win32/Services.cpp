// The application's services on Windows: the event loop, the executable's path and the error
// box.
#include <windows.h>

#include "platform/forms/Backend.h"
#include "platform/forms/Forms.h"
#include "platform/win32/FormWindow.h"
#include "platform/win32/PendingError.h"
#include "platform/text/win32/WinText.h"

namespace backend {

void RunMessageLoop(TForm&, const std::function<void(std::exception_ptr)>& onError)
{
    const auto showPending = [&] {
        // The box runs a loop of its own; what fails meanwhile waits for the next turn.
        while (const std::exception_ptr error = win32::TakeDeferredError())
            onError(error);
    };
    showPending();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Keys go to the form's handlers first; Tab and Shift+Tab then move the focus between
        // the controls, as in any dialog.
        const HWND form = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (!(form && (win32::PreviewKey(form, msg) || IsDialogMessageW(form, &msg)))) {
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
