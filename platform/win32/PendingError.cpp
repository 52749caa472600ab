#include "platform/win32/PendingError.h"

#include <windows.h>

#include <utility>

namespace win32 {
namespace {

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

std::exception_ptr TakeDeferredError()
{
    return std::exchange(pendingError, nullptr);
}

}  // namespace win32
