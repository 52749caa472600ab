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

TControl* TForm::ControlAt(std::int64_t x, std::int64_t y, int dpi) const
{
    const std::size_t item = board_.ItemAt({x, y}, dpi);
    return item == TBoardModel::npos ? nullptr : controls_[item];
}

std::size_t TForm::IndexOf(const TControl& control) const
{
    const TRect64 r = control.IsWindowless() ? control.BoundsRect() : TRect64{};
    if (!r.IsEmpty())
        return board_.FindNear(r, [&](std::size_t item) { return controls_[item] == &control; });
    const auto it = std::find(controls_.begin(), controls_.end(), &control);
    return it == controls_.end() ? TBoardModel::npos : static_cast<std::size_t>(it - controls_.begin());
}

void TForm::SetSelected(TControl* control)
{
    if (control == selected_)
        return;
    selected_ = control;
    peer_->SelectionChanged(control);
}

std::string TForm::AccessibleName(const TControl& control) const
{
    return control.TextAsSet();
}

std::string TForm::AccessibleStatus(const TControl&) const
{
    return {};
}

TRect64 TForm::DesignRect(std::size_t item) const
{
    const TControl& c = *controls_[item];
    return c.IsWindowless() ? c.BoundsRect() : TRect64{};
}

void TForm::InsertControl(TControl& control)
{
    board_.MarkStale();
    controls_.push_back(&control);
    if (!control.IsWindowless())
        windowed_.push_back(&control);
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
    std::erase(windowed_, &control);
    if (selected_ == &control)
        selected_ = nullptr;
    board_.MarkStale();
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
        board_.MarkStale();
    // Nothing is on screen before the form is shown.
    if (!visible_)
        return;
    if (change == TControlChange::Look)
        peer_->ControlChanged(control, change);
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
