// The window of any form: mirrors the form onto it and turns its messages into the form's
// events. A form class supplies its layout and handlers; this serves them all.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Backend.h"
#include "platform/forms/Menus.h"
#include "platform/win32/AccessibleClient.h"
#include "platform/win32/NativeControls.h"

namespace win32 {

class TFormWindow final : public IFormPeer, private IAccessibleHost {
public:
    explicit TFormWindow(TForm& form);
    ~TFormWindow() override;

    // Hands a key message for a form's window (or a control on it) to the form's handlers
    // first; true when one of them took it. Any other window's messages are left alone.
    static bool PreviewKey(HWND formWindow, const MSG& msg);

    void FormChanged(TFormChange change) override;
    void ControlInserted(TControl& control) override;
    void ControlRemoved(TControl& control) override;
    void ControlChanged(TControl& control, TControlChange change) override;
    void SelectionChanged(TControl* selected) override;
    void Invalidate(const TRect64& area) override;
    void Update() override;
    bool ReadText(const TControl& control, std::string& text) const override;
    void Show() override;
    void TakeFocus() override;
    void FocusControl(TControl& control) override;
    void EndLoopWhenClosed() override { endsLoop_ = true; }
    void Close() override;
    void MenuChanged() override;
    void ScrollBarsChanged() override;

private:
    // What the accessible object needs of its window.
    HWND Handle() const override { return hwnd_; }
    int Dpi() const override { return dpi_; }
    HWND WindowOf(const TControl& control) const override { return natives_.HandleOf(control); }
    bool PostDefaultAction(std::size_t child) const override;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnPaint();
    // A command of the menu bar: the item's click; false for another id.
    bool OnMenuCommand(WORD id);
    // Puts the items of a submenu into a menu, each with a command id in commands_.
    void AppendItems(HMENU into, const TMenuItem& parent);
    void OnMouse(UINT message, WPARAM wParam, LPARAM lParam);
    void OnWheel(UINT message, WPARAM wParam, LPARAM lParam);
    void OnScroll(int bar, WORD code);
    bool OnSetCursor(WPARAM wParam, LPARAM lParam);
    bool OnKey(const MSG& msg);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnDestroy();
    void OnNcDestroy();
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    void OnDefaultAction(std::size_t child);
    // Tells listening clients of assistive technology about a child of the client area.
    void Notify(DWORD event, const TControl& control) const;

    // The form's font at the window's DPI, made anew after a change of either; the old one is
    // deleted once nothing uses it.
    HFONT UpToDateFont();

    TForm& form_;
    HWND hwnd_ = nullptr;
    TNativeControls natives_{nullptr};
    HFONT font_ = nullptr;
    bool fontStale_ = true;
    int dpi_ = kDesignDpi;
    bool endsLoop_ = false;
    std::vector<TMenuItem*> commands_;               // the menu's items without submenus, by command id - 1
    std::unique_ptr<TAccessibleClient> accessible_;  // made on the first request
};

}  // namespace win32
