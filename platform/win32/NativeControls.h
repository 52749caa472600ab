// The form's controls that are windows of their own: edits, buttons and list boxes.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Controls.h"

class TForm;

namespace win32 {

class TAccessibleWindow;

// One native child window, made for its control; each kind answers its own commands. The
// window is subclassed so that assistive technology reading it hears what the form says of it.
class TNativeControl {
public:
    TNativeControl(TForm& form, TControl& control, HWND hwnd);
    virtual ~TNativeControl();
    TNativeControl(const TNativeControl&) = delete;
    TNativeControl& operator=(const TNativeControl&) = delete;

    TControl& Control() const { return control_; }
    HWND Handle() const { return hwnd_; }
    // The parent is gone, and its children with it.
    void Forget() { hwnd_ = nullptr; }
    // A WM_COMMAND this window sent its parent.
    virtual void Command(WORD) {}
    // The control's items or selection changed, or the window is new and shows none yet.
    virtual void Show(TControlChange) {}
    // The window has a font (again).
    virtual void FontSet(HFONT) {}
    // A WM_DRAWITEM for this window.
    virtual void Draw(const DRAWITEMSTRUCT&) const {}

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Accessible(WPARAM wParam);

    TForm& form_;
    TControl& control_;
    HWND hwnd_;
    WNDPROC original_ = nullptr;
    std::unique_ptr<TAccessibleWindow> accessible_;  // made on the first request
};

class TNativeControls {
public:
    TNativeControls(TForm& form, HWND parent) : form_(&form), parent_(parent) {}

    void Insert(TControl& control, int dpi, HFONT font);
    void Remove(const TControl& control);
    void Changed(const TControl& control, TControlChange change, int dpi);
    void SetFont(HFONT font);
    bool Empty() const { return natives_.empty(); }
    void Rescale(int dpi);
    // Hands a WM_COMMAND to the control that sent it; false when none of ours did.
    bool Command(WPARAM wParam, LPARAM lParam);
    // Draws a line of a list whose lines are drawn here; false when none of ours asked.
    bool Draw(const DRAWITEMSTRUCT& item) const;
    bool ReadText(const TControl& control, std::string& text) const;
    HWND HandleOf(const TControl& control) const;
    // The control of one of these windows, or none.
    TControl* ControlOf(HWND hwnd) const;
    void FocusFirst() const;
    void ParentDestroyed();

private:
    TNativeControl* Find(const TControl& control) const;
    void Move(const TNativeControl& native, int dpi) const;
    void SortTabOrder();

    TForm* form_;
    HWND parent_;
    // Control ids start above IDOK and IDCANCEL, so Enter and Esc never press a button.
    int nextId_ = 100;
    std::vector<std::unique_ptr<TNativeControl>> natives_;  // in tab order
};

}  // namespace win32
