#include "platform/forms/ExtCtrls.h"

#include "platform/forms/Backend.h"

TTimer::~TTimer()
{
    Stop();
}

void TTimer::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    value ? Start() : Stop();
}

void TTimer::SetInterval(std::uint32_t milliseconds)
{
    interval_ = milliseconds;
    if (enabled_)
        Restart();
}

void TTimer::Restart()
{
    Stop();
    enabled_ = true;
    Start();
}

void TTimer::Tick()
{
    if (enabled_ && onTimer_)
        onTimer_(this);
}

void TTimer::Start()
{
    running_ = backend::StartTimer(*this, interval_);
}

void TTimer::Stop()
{
    if (running_)
        backend::StopTimer(running_);
    running_ = 0;
}
