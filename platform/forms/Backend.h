// What a backend provides: it mirrors the state of forms and controls onto a screen (or
// onto nothing), runs the event loop and talks to the operating system.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "platform/forms/Controls.h"
#include "platform/geometry/Graphics.h"

class TForm;
class TTimer;

// One per form; the form tells it every change to mirror.
class IFormPeer {
public:
    virtual ~IFormPeer() = default;

    // Bounds, caption, colour or font of the form.
    virtual void FormChanged(TFormChange change) = 0;
    virtual void ControlInserted(TControl& control) = 0;
    virtual void ControlRemoved(TControl& control) = 0;
    // Any change of a native control; a painted one's look (its colour), once shown.
    virtual void ControlChanged(TControl& control, TControlChange change) = 0;
    // The user selected another control (or none), for assistive technology.
    virtual void SelectionChanged(TControl* selected) = 0;
    // Marks a part of the client area of a shown form for repainting.
    virtual void Invalidate(const TRect64& area) = 0;
    // Paints what is marked, now (on a shown form).
    virtual void Update() = 0;
    // The live text of a native control (what the user typed); false when there is none.
    virtual bool ReadText(const TControl& control, std::string& text) const = 0;
    virtual void Show() = 0;
    // Gives the form's window the keyboard, for a painted control that takes the focus.
    virtual void TakeFocus() = 0;
    // Gives a native control's window the keyboard.
    virtual void FocusControl(TControl& control) = 0;
    // Closing this form ends the event loop.
    virtual void EndLoopWhenClosed() = 0;
    // Closes the window, asked by the program (the form has asked OnCloseQuery).
    virtual void Close() = 0;
    // The form's menu, or something in it, changed (or the form has another, or none).
    virtual void MenuChanged() = 0;
    // The form's scroll bars changed.
    virtual void ScrollBarsChanged() = 0;
};

namespace backend {

std::unique_ptr<IFormPeer> CreateFormPeer(TForm& form);
// The program made a menu: forms' windows show menu bars from now on. Called by TMainMenu, so
// that only a program with a menu links the backend's menu bar.
void MenusMade();
// Has the loop call timer.Tick() every interval until stopped; gives the timer's handle (never 0).
std::uintptr_t StartTimer(TTimer& timer, std::uint32_t milliseconds);
void StopTimer(std::uintptr_t handle);
// Runs until the main form is closed. An exception that a message handler throws is caught
// where the system called in, and handed to onError from the loop itself, outside that
// handler; the loop then goes on.
void RunMessageLoop(TForm& mainForm, const std::function<void(std::exception_ptr)>& onError);
void ShowErrorMessage(const std::string& message);
std::string ExecutablePath();

}  // namespace backend
