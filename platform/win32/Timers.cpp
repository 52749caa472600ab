// Timers on Windows: thread timers of the loop's thread. A file of its own, linked only by a
// program that has a TTimer.
#include <windows.h>

#include <unordered_map>

#include "platform/forms/Backend.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/text/SysUtils.h"
#include "platform/win32/PendingError.h"

namespace backend {

namespace {
// Thread timers, each telling its TTimer; only the loop's thread makes them.
std::unordered_map<UINT_PTR, TTimer*>& Timers()
{
    static std::unordered_map<UINT_PTR, TTimer*> timers;
    return timers;
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    const auto it = Timers().find(id);
    if (it == Timers().end())
        return;
    // As in a window procedure: no exception through the system's frames.
    try {
        it->second->Tick();
    } catch (...) {
        win32::DeferError(std::current_exception());
    }
}
}  // namespace

std::uintptr_t StartTimer(TTimer& timer, std::uint32_t milliseconds)
{
    const UINT_PTR id = SetTimer(nullptr, 0, milliseconds, TimerProc);
    if (!id)
        throw Exception("SetTimer failed");
    Timers()[id] = &timer;
    return id;
}

void StopTimer(std::uintptr_t handle)
{
    KillTimer(nullptr, handle);
    Timers().erase(handle);
}

}  // namespace backend
