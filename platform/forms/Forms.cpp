#include "platform/forms/Forms.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "platform/forms/Backend.h"

#ifndef PSB_WINDOW_CLASS
#define PSB_WINDOW_CLASS "TForm"
#endif

TForm::TForm(TComponent* owner, std::string_view windowClass)
    : TComponent(owner), windowClass_(windowClass.empty() ? PSB_WINDOW_CLASS : windowClass),
      peer_(backend::CreateFormPeer(*this))
{
}

TForm::~TForm()
{
    // Controls leave the form while it is still whole, then the window goes.
    SetMenu(nullptr);
    DestroyComponents();
    while (!Controls().empty())
        Controls().back()->SetParent(nullptr);
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

void TForm::Resized(std::int64_t width, std::int64_t height, int dpi)
{
    const auto design = [dpi](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(ScaleFromDpi(v, dpi), 0, INT32_MAX));
    };
    if (design(width) == clientWidth_ && design(height) == clientHeight_)
        return;
    clientWidth_ = design(width);
    clientHeight_ = design(height);
    if (onResize_)
        onResize_(this);
}

void TForm::SetCaption(std::string caption)
{
    // The same again would still cost a round trip to the window system.
    if (caption == caption_)
        return;
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

void TForm::Close()
{
    if (!CloseQuery())
        return;
    visible_ = false;
    peer_->Close();
}

bool TForm::CloseQuery()
{
    bool canClose = true;
    if (onCloseQuery_)
        onCloseQuery_(this, canClose);
    return canClose;
}

void TForm::Activated()
{
    if (onActivate_)
        onActivate_(this);
}

bool TForm::QueryEndSession(bool critical)
{
    bool canEnd = true;
    if (onQueryEndSession_)
        onQueryEndSession_(this, critical, canEnd);
    return canEnd;
}

void TForm::EndSession(bool ending)
{
    if (onEndSession_)
        onEndSession_(this, ending);
}

void TForm::SetMenu(TMainMenu* menu)
{
    if (menu == menu_)
        return;
    if (TMainMenu* before = std::exchange(menu_, menu))
        before->SetHost(nullptr);
    // A menu is on one form at a time: the form that had it lets it go.
    if (menu)
        menu->SetHost(this);
    peer_->MenuChanged();
}

void TForm::MenuChanged()
{
    peer_->MenuChanged();
}

void TForm::MenuDetached(const TMainMenu& menu)
{
    if (&menu != menu_)
        return;
    menu_ = nullptr;
    peer_->MenuChanged();
}

void TForm::Invalidate() const
{
    Repaint({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
}

bool TForm::IsItem(const TControl& control) const
{
    return control.IsWindowless() && static_cast<bool>(control.OnClick());
}

std::function<void()> TForm::ItemChoice(TControl& item)
{
    if (!item.OnClick())
        return {};
    return [&item] { item.Click(); };
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
    // What an edit holds is its value: its name is its label's.
    const auto* edit = dynamic_cast<const TEdit*>(&control);
    if (!edit)
        return control.TextAsSet();
    return edit->LabelledBy() ? edit->LabelledBy()->Caption() : std::string();
}

std::string TForm::AccessibleStatus(const TControl&) const
{
    return {};
}

void TForm::SetFocusedControl(TControl* control)
{
    focused_ = control;
    if (control)
        peer_->TakeFocus();
}

namespace {

std::uint8_t ButtonBit(TMouseButton button)
{
    return static_cast<std::uint8_t>(1u << button);
}

}  // namespace

TControl* TForm::MouseTarget(TPoint64 point, int dpi) const
{
    return controls_.ItemAt(point, dpi);
}

void TForm::RaiseMouse(TMouseAction action, TControl* target, TMouseButton button, TShiftState shift, TPoint64 point,
                       int dpi)
{
    TMouseInfo info{button, shift, ScaleFromDpi(point.x, dpi), ScaleFromDpi(point.y, dpi)};
    TObject* sender = this;
    TMouseEvent handler = action == TMouseAction::Down   ? onMouseDown_
                          : action == TMouseAction::Move ? onMouseMove_
                                                         : onMouseUp_;
    // A control that does not ask for the event leaves it to the form, as if it were not there.
    const TMouseEvent own = !target                        ? TMouseEvent()
                            : action == TMouseAction::Down ? target->OnMouseDown()
                            : action == TMouseAction::Move ? target->OnMouseMove()
                                                           : target->OnMouseUp();
    if (own) {
        info.x -= target->Left();
        info.y -= target->Top();
        sender = target;
        handler = own;
    }
    if (handler)
        handler(sender, info);
}

bool TForm::MouseDown(TMouseButton button, TShiftState shift, TPoint64 point, int dpi, bool doubleClick)
{
    lastPoint_ = point;
    lastDpi_ = dpi;
    if (!held_) {
        mouseTarget_ = MouseTarget(point, dpi);
        targetGone_ = false;
    }
    held_ |= ButtonBit(button);
    if (button == mbLeft && !targetGone_) {
        TControl* target = mouseTarget_;
        const TNotifyEvent dblClick = target && doubleClick ? target->OnDblClick() : TNotifyEvent();
        // A click is a press and a release on the same control; a double click that is an
        // event of its own ends in none.
        pressed_ = dblClick ? nullptr : target;
        if (target && target->TakesFocus())
            SetFocusedControl(target);
        if (dblClick) {
            shift |= ssDouble;
            dblClick(target);
        }
    }
    if (!targetGone_)
        RaiseMouse(TMouseAction::Down, mouseTarget_, button, shift, point, dpi);
    return held_ != 0;
}

bool TForm::MouseMove(TShiftState shift, TPoint64 point, int dpi)
{
    lastPoint_ = point;
    lastDpi_ = dpi;
    if (!held_)
        RaiseMouse(TMouseAction::Move, MouseTarget(point, dpi), mbLeft, shift, point, dpi);
    else if (!targetGone_)
        RaiseMouse(TMouseAction::Move, mouseTarget_, mbLeft, shift, point, dpi);
    return held_ != 0;
}

bool TForm::MouseUp(TMouseButton button, TShiftState shift, TPoint64 point, int dpi)
{
    lastPoint_ = point;
    lastDpi_ = dpi;
    // A release whose press came before the window had the mouse belongs to nobody here.
    if (!(held_ & ButtonBit(button)))
        return held_ != 0;
    held_ &= static_cast<std::uint8_t>(~ButtonBit(button));
    if (button == mbLeft) {
        TControl* pressed = std::exchange(pressed_, nullptr);
        if (pressed && ControlAt(point.x, point.y, dpi) == pressed)
            pressed->Click();
    }
    if (!targetGone_)
        RaiseMouse(TMouseAction::Up, mouseTarget_, button, shift, point, dpi);
    if (!held_)
        mouseTarget_ = nullptr;
    return held_ != 0;
}

void TForm::MouseCaptureLost()
{
    if (!held_)
        return;
    const TMouseButton button = (held_ & ButtonBit(mbLeft))    ? mbLeft
                                : (held_ & ButtonBit(mbRight)) ? mbRight
                                                               : mbMiddle;
    held_ = 0;
    pressed_ = nullptr;
    TControl* target = std::exchange(mouseTarget_, nullptr);
    if (!targetGone_)
        RaiseMouse(TMouseAction::Up, target, button, 0, lastPoint_, lastDpi_);
}

void TForm::MouseWheel(int delta, TShiftState shift, TPoint64 point, int dpi)
{
    if (onMouseWheel_)
        onMouseWheel_(this, TMouseWheelInfo{delta, shift, ScaleFromDpi(point.x, dpi), ScaleFromDpi(point.y, dpi)});
}

void TForm::SetScrollBars(const TScrollRange& horizontal, const TScrollRange& vertical)
{
    if (horizontal == scroll_[sbHorizontal] && vertical == scroll_[sbVertical])
        return;
    scroll_[sbHorizontal] = horizontal;
    scroll_[sbVertical] = vertical;
    peer_->ScrollBarsChanged();
}

void TForm::Scroll(TScrollBarKind kind, TScrollCode code, std::int32_t position)
{
    TScrollRange& bar = scroll_[kind];
    const std::int64_t page = std::max(bar.page, 1),
                       last = std::max<std::int64_t>(0, std::int64_t{bar.range} - bar.page);
    std::int64_t to = bar.position;
    switch (code) {
    case scLineUp:
        to -= kScrollLine;
        break;
    case scLineDown:
        to += kScrollLine;
        break;
    case scPageUp:
        to -= page;
        break;
    case scPageDown:
        to += page;
        break;
    case scTrack:
    case scPosition:
        to = position;
        break;
    case scTop:
        to = 0;
        break;
    case scBottom:
        to = last;
        break;
    }
    to = std::clamp<std::int64_t>(to, 0, last);
    if (to == bar.position)
        return;
    bar.position = static_cast<std::int32_t>(to);
    peer_->ScrollBarsChanged();
    if (onScroll_)
        onScroll_(this, kind, bar.position);
}

bool TForm::Key(TKeyInfo& key, TControl* focusedNative, bool down)
{
    // A menu's shortcut goes first, but keys that type, edit or move in an edit or a list box
    // stay there; function keys and keys with Ctrl or Alt are the menu's everywhere.
    const bool typing = focusedNative && focusedNative->NativeKind() != TNativeKind::Button &&
                        !(key.shift & (ssCtrl | ssAlt)) && !(key.key >= vkF1 && key.key < vkF1 + 24);
    if (down && menu_ && !typing)
        if (TMenuItem* item = menu_->Items().FindShortCut(ShortCut(key.key, key.shift))) {
            key.handled = true;
            item->Click();
            return true;
        }
    TControl* target = focusedNative ? focusedNative : focused_;
    const TKeyEvent& own = down ? onKeyDown_ : onKeyUp_;
    if (own && (keyPreview_ || !target)) {
        own(this, key);
        if (key.handled)
            return true;
    }
    if (target)
        if (const TKeyEvent handler = down ? target->OnKeyDown() : target->OnKeyUp())
            handler(target, key);
    return key.handled;
}

bool TForm::KeyDown(TKeyInfo& key, TControl* focusedNative)
{
    return Key(key, focusedNative, true);
}

bool TForm::KeyUp(TKeyInfo& key, TControl* focusedNative)
{
    return Key(key, focusedNative, false);
}

TCursor TForm::CursorAt(TPoint64 point, int dpi) const
{
    const TControl* over = held_ ? (targetGone_ ? nullptr : mouseTarget_) : MouseTarget(point, dpi);
    const TCursor own = over ? over->Cursor() : crDefault;
    return own != crDefault ? own : cursor_;
}

void TForm::Repaint(const TRect64& area) const
{
    if (visible_ && !area.IsEmpty())
        peer_->Invalidate(area);
}

void TForm::InsertControl(TControl& control)
{
    controls_.Add(control);
    peer_->ControlInserted(control);
    Repaint(control.PaintedRect());
}

void TForm::RemoveControl(TControl& control)
{
    if (!controls_.Remove(control))
        return;
    if (selected_ == &control)
        selected_ = nullptr;
    if (focused_ == &control)
        focused_ = nullptr;
    if (pressed_ == &control)
        pressed_ = nullptr;
    if (mouseTarget_ == &control) {
        mouseTarget_ = nullptr;
        targetGone_ = held_ != 0;
    }
    peer_->ControlRemoved(control);
    Repaint(control.PaintedRect());
}

void TForm::ControlChanged(TControl& control, TControlChange change, const TRect64& oldBounds)
{
    if (!control.IsWindowless()) {
        peer_->ControlChanged(control, change);
        return;
    }
    if (change == TControlChange::Bounds)
        controls_.Moved(control);
    if (!visible_)
        return;
    if (change == TControlChange::Look)
        peer_->ControlChanged(control, change);
    if (change == TControlChange::Bounds)
        Repaint(oldBounds);
    Repaint(control.BoundsRect());
}

void TForm::FocusControl(TControl& control)
{
    focused_ = nullptr;
    peer_->FocusControl(control);
}

void TForm::RefreshControl(TControl& control)
{
    if (!visible_)
        return;
    Repaint(control.BoundsRect());
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
    mainForm_->peer_->EndLoopWhenClosed();
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
