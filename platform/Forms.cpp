#include "platform/Forms.h"

#include <algorithm>

#include "platform/Backend.h"

TForm::TForm(TComponent* owner) : TComponent(owner), peer_(backend::CreateFormPeer(*this)) {}

TForm::~TForm()
{
    // Controls leave the form while it is still whole, then the window goes.
    DestroyComponents();
    while (!controls_.empty())
        controls_.back()->SetParent(nullptr);
    peer_.reset();
}

void TForm::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    peer_->FormChanged(TFormChange::Bounds);
}

void TForm::SetCaption(std::string caption)
{
    caption_ = std::move(caption);
    peer_->FormChanged(TFormChange::Caption);
}

void TForm::SetColor(TColor color)
{
    color_ = color;
    peer_->FormChanged(TFormChange::Color);
}

void TForm::SetFont(TFont font)
{
    font_ = std::move(font);
    peer_->FormChanged(TFormChange::Font);
}

void TForm::Show()
{
    visible_ = true;
    peer_->Show();
}

namespace {

// The design pixels whose scaled image may meet an area of a screen of some DPI: a pixel
// more on each side than the exact inverse, which rounding may shift by one.
TRect64 DesignArea(const TRect64& area, int dpi)
{
    const auto down = [dpi](std::int64_t v) {
        const std::int64_t p = v * kDesignDpi;
        return (p >= 0 ? p / dpi : -((-p + dpi - 1) / dpi)) - 1;
    };
    return {down(area.left), down(area.top), down(area.right) + 3, down(area.bottom) + 3};
}

}  // namespace

TControl* TForm::ControlAt(std::int64_t x, std::int64_t y, int dpi) const
{
    const auto& near = index_.Near(controls_, DesignArea({x, y, x + 1, y + 1}, dpi));
    for (auto it = near.rbegin(); it != near.rend(); ++it)
        if (TControl* c = controls_[*it]; ScaleToDpi(c->BoundsRect(), dpi).Contains(x, y))
            return c;
    return nullptr;
}

void TForm::ForEachPaintedIn(const TRect64& area, const std::function<void(TControl&)>& fn, int dpi) const
{
    // The handler may change the form; the positions are taken first.
    const std::vector<std::uint32_t> near = index_.Near(controls_, DesignArea(area, dpi));
    for (const std::uint32_t i : near)
        if (TControl* c = controls_[i]; ScaleToDpi(c->BoundsRect(), dpi).Intersects(area))
            fn(*c);
}

void TForm::InsertControl(TControl& control)
{
    index_.MarkStale();
    controls_.push_back(&control);
    peer_->ControlInserted(control);
    if (control.IsWindowless())
        peer_->Invalidate(control.BoundsRect());
}

void TForm::RemoveControl(TControl& control)
{
    const auto it = std::find(controls_.rbegin(), controls_.rend(), &control);
    if (it == controls_.rend())
        return;
    controls_.erase(std::next(it).base());
    index_.MarkStale();
    peer_->ControlRemoved(control);
    if (control.IsWindowless())
        peer_->Invalidate(control.BoundsRect());
}

void TForm::ControlChanged(TControl& control, TControlChange change, const TRect64& oldBounds)
{
    if (!control.IsWindowless()) {
        peer_->ControlChanged(control, change);
        return;
    }
    if (change == TControlChange::Bounds)
        index_.MarkStale();
    // Nothing is on screen before the form is shown.
    if (!visible_)
        return;
    if (change == TControlChange::Bounds)
        peer_->Invalidate(oldBounds);
    peer_->Invalidate(control.BoundsRect());
}

void TForm::RefreshControl(TControl& control)
{
    peer_->Invalidate(control.BoundsRect());
    peer_->Update();
}

bool TForm::LiveText(const TControl& control, std::string& text) const
{
    return peer_->ReadText(control, text);
}

void TApplication::Run()
{
    if (!mainForm_)
        return;
    mainForm_->Show();
    backend::RunMessageLoop(*mainForm_, [this](std::exception_ptr error) { HandleException(error); });
}

void TApplication::ShowException(const Exception& e)
{
    backend::ShowErrorMessage(e.Message());
}

void TApplication::HandleException(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        ShowException(e);
    } catch (const std::bad_alloc&) {
        ShowException(EOutOfMemory());
    } catch (...) {
        ShowException(Exception(""));
    }
}

std::string TApplication::GetExeName() const
{
    return backend::ExecutablePath();
}

void TApplication::DestroyForms()
{
    mainForm_ = nullptr;
    DestroyComponents();
}

namespace {
TApplication theApplication;
}  // namespace

TApplication* const Application = &theApplication;
