// A form's window: mirrors the form onto it and turns its messages into the form's events.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/Backend.h"
#include "platform/win32/AccessibleClient.h"
#include "platform/win32/NativeControls.h"

namespace win32 {

class TFormWindow final : public IFormPeer {
public:
    explicit TFormWindow(TForm& form);
    ~TFormWindow() override;

    HWND Handle() const { return hwnd_; }
    TForm& Form() const { return form_; }
    int Dpi() const { return dpi_; }
    // The window of a native control, or none.
    HWND WindowOf(const TControl& control) const { return natives_.HandleOf(control); }
    // Does a child's default action soon, from the window procedure, as a click; false when
    // the window is gone.
    bool PostDefaultAction(std::size_t child) const;
    // Closing this window ends the event loop.
    void EndLoopWhenDestroyed() { endsLoop_ = true; }

    void FormChanged(TFormChange change) override;
    void ControlInserted(TControl& control) override;
    void ControlRemoved(TControl& control) override;
    void ControlChanged(TControl& control, TControlChange change) override;
    void SelectionChanged(TControl* selected) override;
    void Invalidate(const TRect64& area) override;
    void Update() override;
    bool ReadText(const TControl& control, std::string& text) const override;
    void Show() override;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnPaint();
    void OnLButtonDown(int x, int y);
    void OnLButtonUp(int x, int y);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnDestroy();
    void OnNcDestroy();
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    void OnDefaultAction(std::size_t child);
    // Tells listening clients of assistive technology about a child of the client area.
    void Notify(DWORD event, const TControl& control) const;

    // The form's font at the window's DPI, made when first needed after a change.
    HFONT Font();

    TForm& form_;
    HWND hwnd_ = nullptr;
    TNativeControls natives_{nullptr};
    HFONT font_ = nullptr;
    bool fontStale_ = true;
    TControl* pressed_ = nullptr;
    int dpi_ = kDesignDpi;
    bool endsLoop_ = false;
    std::unique_ptr<TAccessibleClient> accessible_;  // made on the first request
};

}  // namespace win32
