#include "platform/forms/Backend.h"

#include <unistd.h>

#include <climits>

#include "platform/forms/Forms.h"
#include "platform/headless/Headless.h"

namespace headless {

TRecorder& Recorder()
{
    // Never destroyed: forms that static objects own may still report while the program ends.
    static TRecorder& recorder = *new TRecorder;
    return recorder;
}

void Reset()
{
    Recorder() = TRecorder{};
}

}  // namespace headless

namespace {

class HeadlessFormPeer final : public IFormPeer {
public:
    explicit HeadlessFormPeer(TForm& form) : form_(form) {}

    // The client area is the whole form: there is no frame.
    void FormChanged(TFormChange change) override
    {
        if (change == TFormChange::Bounds)
            form_.Resized(form_.Width(), form_.Height(), kDesignDpi);
    }
    void ControlInserted(TControl&) override {}
    void ControlRemoved(TControl&) override {}
    void ControlChanged(TControl&, TControlChange) override {}
    void SelectionChanged(TControl*) override {}
    void Invalidate(const TRect64& area) override { headless::Recorder().invalidated.push_back(area); }
    void Update() override { ++headless::Recorder().updates; }
    bool ReadText(const TControl&, std::string&) const override { return false; }
    void Show() override {}
    void TakeFocus() override { headless::Recorder().focused = &form_; }
    void FocusControl(TControl&) override { headless::Recorder().focused = &form_; }
    void EndLoopWhenClosed() override {}
    void Close() override { headless::Recorder().closed.push_back(&form_); }
    void MenuChanged() override { ++headless::Recorder().menuChanges; }
    void ScrollBarsChanged() override {}

private:
    TForm& form_;
};

}  // namespace

namespace backend {

std::unique_ptr<IFormPeer> CreateFormPeer(TForm& form)
{
    return std::make_unique<HeadlessFormPeer>(form);
}

void MenusMade() {}

std::uintptr_t StartTimer(TTimer& timer, std::uint32_t)
{
    auto& timers = headless::Recorder().timers;
    timers.push_back(&timer);
    return reinterpret_cast<std::uintptr_t>(&timer);
}

void StopTimer(std::uintptr_t handle)
{
    auto& timers = headless::Recorder().timers;
    std::erase(timers, reinterpret_cast<TTimer*>(handle));
}

void RunMessageLoop(TForm& mainForm, const std::function<void(std::exception_ptr)>& onError)
{
    auto& recorder = headless::Recorder();
    ++recorder.loopRuns;
    if (!recorder.onLoop)
        return;
    try {
        recorder.onLoop(mainForm);
    } catch (...) {
        onError(std::current_exception());
    }
}

void ShowErrorMessage(const std::string& message)
{
    headless::Recorder().messages.push_back(message);
}

std::string ExecutablePath()
{
    const auto& name = headless::Recorder().exeName;
    if (!name.empty())
        return name;
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace backend
