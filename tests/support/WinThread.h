// A second thread of the test process, joined when it goes. The cross compilers use the
// win32 thread model, which has no std::thread, so the tests make their threads themselves.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>

namespace psbtest {

class TThread {
public:
    // The body is handed the flag that the owner raises when it wants the thread to end.
    using TBody = std::function<void(const std::atomic_bool& stopRequested)>;

    explicit TThread(TBody body) : body_(std::move(body))
    {
        handle_ = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
        if (!handle_)
            throw std::runtime_error("CreateThread failed: " + std::to_string(GetLastError()));
    }
    explicit TThread(std::function<void()> body)
        : TThread(TBody([body = std::move(body)](const std::atomic_bool&) { body(); }))
    {
    }
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Asks the thread to stop, and waits for it.
    ~TThread()
    {
        RequestStop();
        Join();
    }

    void RequestStop() { stop_ = true; }

    void Join()
    {
        if (!handle_)
            return;
        WaitForSingleObject(handle_, INFINITE);
        CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    // An exception that leaves the body ends the process, as with std::thread.
    static DWORD WINAPI Run(void* self) noexcept
    {
        auto* thread = static_cast<TThread*>(self);
        thread->body_(thread->stop_);
        return 0;
    }

    TBody body_;
    std::atomic_bool stop_{false};
    HANDLE handle_ = nullptr;
};

}  // namespace psbtest
