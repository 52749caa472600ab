// The form's controls that are windows of their own: edits, buttons and list boxes.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Controls.h"

namespace win32 {

// One native child window, made for its control; each kind answers its own commands.
class TNativeControl {
public:
    TNativeControl(TControl& control, HWND hwnd) : control_(control), hwnd_(hwnd) {}
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

private:
    TControl& control_;
    HWND hwnd_;
};

class TNativeControls {
public:
    explicit TNativeControls(HWND parent) : parent_(parent) {}

    void Insert(TControl& control, int dpi, HFONT font);
    void Remove(const TControl& control);
    void Changed(const TControl& control, TControlChange change, int dpi);
    void SetFont(HFONT font);
    bool Empty() const { return natives_.empty(); }
    void Rescale(int dpi);
    // Hands a WM_COMMAND to the control that sent it; false when none of ours did.
    bool Command(WPARAM wParam, LPARAM lParam);
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

    HWND parent_;
    // Control ids start above IDOK and IDCANCEL, so Enter and Esc never press a button.
    int nextId_ = 100;
    std::vector<std::unique_ptr<TNativeControl>> natives_;  // in tab order
};

}  // namespace win32
