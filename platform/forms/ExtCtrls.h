// Components without a window of their own: the timer.
#pragma once

#include <cstdint>

#include "platform/forms/Classes.h"

// Raises OnTimer every Interval milliseconds while enabled, from the event loop.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner) : TComponent(owner) {}
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    std::uint32_t Interval() const { return interval_; }
    void SetInterval(std::uint32_t milliseconds);
    TNotifyEvent OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent handler) { onTimer_ = std::move(handler); }

    // Starts the interval anew, enabled: for work that waits until things have been quiet.
    void Restart();
    // The interval has passed: what a backend calls (and a test, acting as one).
    void Tick();

private:
    void Start();
    void Stop();

    bool enabled_ = false;
    std::uint32_t interval_ = 1000;
    std::uintptr_t running_ = 0;  // the backend's timer, 0 for none
    TNotifyEvent onTimer_;
};
