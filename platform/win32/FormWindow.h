// A form's window: mirrors the form onto it and turns its messages into the form's events.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Backend.h"
#include "platform/win32/NativeControls.h"

namespace win32 {

class TFormWindow final : public IFormPeer {
public:
    explicit TFormWindow(TForm& form);
    ~TFormWindow() override;

    HWND Handle() const { return hwnd_; }
    // Closing this window ends the event loop.
    void EndLoopWhenDestroyed() { endsLoop_ = true; }

    void FormChanged(TFormChange change) override;
    void ControlInserted(TControl& control) override;
    void ControlRemoved(TControl& control) override;
    void ControlChanged(TControl& control, TControlChange change) override;
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
};

}  // namespace win32
