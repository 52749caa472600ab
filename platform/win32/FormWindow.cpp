#include "platform/win32/FormWindow.h"

#include <windowsx.h>

#include <climits>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/forms/Accessibility.h"
#include "platform/forms/Backend.h"
#include "platform/forms/Forms.h"
#include "platform/text/win32/WinText.h"
#include "platform/win32/AccessibleClient.h"
#include "platform/win32/Input.h"
#include "platform/win32/LabelPainter.h"
#include "platform/win32/MenuBar.h"
#include "platform/win32/NativeControls.h"
#include "platform/win32/PendingError.h"
#include "platform/win32/ScrollBars.h"
#include "platform/win32/Win32Support.h"

namespace win32 {

std::unique_ptr<IMenuBar> (*MakeMenuBar)() = nullptr;

namespace {

// Posted to run a child's default action: wParam is the child.
constexpr UINT kDefaultActionMessage = WM_APP + 1;
// The program came to the front; told once activation is over, so a handler may show a box.
constexpr UINT kActivatedMessage = WM_APP + 2;

// The DPI the window is shown at: its monitor's where Windows tells (10 and later), else the
// system's.
int WindowDpi(HWND hwnd)
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(hwnd))
            return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

// One window class per kind of form, registered when its first window is made. Double clicks
// come as messages of their own; the form makes them two clicks for a control that does not
// ask for them.
void RegisterFormClass(const std::wstring& name, WNDPROC procedure)
{
    static std::set<std::wstring> registered;
    if (registered.contains(name))
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = nullptr;  // WM_SETCURSOR sets the shape the control under the pointer asks for
    wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
    wc.lpszClassName = name.c_str();
    if (!RegisterClassExW(&wc))
        throw Exception("The window class could not be registered.");
    registered.insert(name);
}

class TFormWindow final : public IFormPeer, private IAccessibleHost {
public:
    explicit TFormWindow(TForm& form);
    ~TFormWindow() override;

    // A key message for this window or a control on it, to the form's handlers first.
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
    void OnMouse(UINT message, WPARAM wParam, LPARAM lParam);
    void OnWheel(UINT message, WPARAM wParam, LPARAM lParam);
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
    TNativeControls natives_{form_, nullptr};
    HFONT font_ = nullptr;
    bool fontStale_ = true;
    int dpi_ = kDesignDpi;
    bool endsLoop_ = false;
    std::unique_ptr<IMenuBar> menuBar_;              // made with the first menu
    std::unique_ptr<TAccessibleClient> accessible_;  // made on the first request
};

TFormWindow::TFormWindow(TForm& form) : form_(form)
{
    const std::wstring windowClass = ToWide(form.WindowClass());
    RegisterFormClass(windowClass, &TFormWindow::WindowProc);
    // The handle is kept from WM_NCCREATE on, so every message finds this object whole.
    CreateWindowExW(0, windowClass.c_str(), L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!hwnd_)
        throw Exception("The window could not be created.");
    natives_ = TNativeControls(form_, hwnd_);
    dpi_ = WindowDpi(hwnd_);
}

TFormWindow::~TFormWindow()
{
    accessible_.reset();
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        natives_.ParentDestroyed();
        DestroyWindow(hwnd_);
    }
    if (font_)
        DeleteObject(font_);
}

void TFormWindow::FormChanged(TFormChange change)
{
    if (!hwnd_)
        return;
    switch (change) {
    case TFormChange::Bounds: {
        const RECT r = ToRect(ScaleToDpi(TRect64::Of(form_.Left(), form_.Top(), form_.Width(), form_.Height()), dpi_));
        SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    case TFormChange::Caption:
        SetWindowTextW(hwnd_, ToWide(form_.Caption()).c_str());
        return;
    case TFormChange::Font:
        // A layout sets the font one property at a time: it is made once, when needed.
        fontStale_ = true;
        if (!natives_.Empty())
            UpToDateFont();
        break;
    case TFormChange::Color:
        break;
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TFormWindow::ControlInserted(TControl& control)
{
    if (hwnd_)
        natives_.Insert(control, dpi_, UpToDateFont());
}

void TFormWindow::ControlRemoved(TControl& control)
{
    natives_.Remove(control);
}

void TFormWindow::ControlChanged(TControl& control, TControlChange change)
{
    if (!control.IsWindowless()) {
        natives_.Changed(control, change, dpi_);
        return;
    }
    // An item's look is its status (in service or out of order, say).
    if (change == TControlChange::Look && form_.IsItem(control)) {
        Notify(EVENT_OBJECT_STATECHANGE, control);
        Notify(EVENT_OBJECT_VALUECHANGE, control);
        Notify(EVENT_OBJECT_DESCRIPTIONCHANGE, control);
    }
}

void TFormWindow::SelectionChanged(TControl* selected)
{
    if (selected)
        Notify(EVENT_OBJECT_SELECTION, *selected);
}

void TFormWindow::Notify(DWORD event, const TControl& control) const
{
    // Windows tells whether anyone listens, so that nobody pays for finding the child.
    if (!hwnd_ || !IsWinEventHookInstalled(event))
        return;
    const std::size_t child = TAccessibleForm(form_).ChildOf(control);
    if (child != TAccessibleForm::kNone && child <= static_cast<std::size_t>(LONG_MAX))
        NotifyWinEvent(event, hwnd_, OBJID_CLIENT, static_cast<LONG>(child));
}

bool TFormWindow::PostDefaultAction(std::size_t child) const
{
    return hwnd_ && PostMessageW(hwnd_, kDefaultActionMessage, child, 0);
}

void TFormWindow::Invalidate(const TRect64& area)
{
    if (!hwnd_)
        return;
    RECT client;
    GetClientRect(hwnd_, &client);
    const TRect64 visible = ScaleToDpi(area, dpi_).Intersect(ToRect64(client));
    if (visible.IsEmpty())
        return;
    const RECT r = ToRect(visible);
    InvalidateRect(hwnd_, &r, FALSE);
}

void TFormWindow::Update()
{
    if (hwnd_)
        UpdateWindow(hwnd_);
}

bool TFormWindow::ReadText(const TControl& control, std::string& text) const
{
    return natives_.ReadText(control, text);
}

void TFormWindow::Show()
{
    if (!hwnd_)
        return;
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    // A painted control given the focus before keeps it; else the first control in tab order
    // starts with it, as in a dialog.
    if (form_.FocusedControl())
        SetFocus(hwnd_);
    else
        natives_.FocusFirst();
}

void TFormWindow::FocusControl(TControl& control)
{
    if (const HWND window = natives_.HandleOf(control))
        SetFocus(window);
}

void TFormWindow::TakeFocus()
{
    if (hwnd_ && GetFocus() != hwnd_)
        SetFocus(hwnd_);
}

bool TFormWindow::PreviewKey(HWND formWindow, const MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP && msg.message != WM_SYSKEYDOWN &&
        msg.message != WM_SYSKEYUP)
        return false;
    // Only windows of this procedure hold a form window in their user data.
    if (GetWindowLongPtrW(formWindow, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&TFormWindow::WindowProc))
        return false;
    auto* self = reinterpret_cast<TFormWindow*>(GetWindowLongPtrW(formWindow, GWLP_USERDATA));
    if (!self)
        return false;
    try {
        return self->OnKey(msg);
    } catch (...) {
        DeferError(std::current_exception());
        return true;
    }
}

LRESULT CALLBACK TFormWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TFormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TFormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    // A C++ exception must not unwind through the system's frames (in 32-bit code it
    // cannot: it ends in terminate), so it stops here and the loop shows it.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        DeferError(std::current_exception());
        return 0;
    }
}

LRESULT TFormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Kept here: WM_NCDESTROY forgets the handle before the default processing needs it.
    const HWND hwnd = hwnd_;
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT fills the background with the rest, without flicker
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
        OnMouse(message, wParam, lParam);
        return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        OnWheel(message, wParam, lParam);
        return message == WM_MOUSEHWHEEL;  // TRUE: the sideways wheel was taken
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam)
            break;  // a scroll bar control's, not the window's
        Scroll(hwnd_, form_, message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam), dpi_);
        return 0;
    case WM_CAPTURECHANGED:
        form_.MouseCaptureLost();
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor(wParam, lParam))
            return TRUE;
        break;
    case WM_GETDLGCODE:
        // With the focus on the form itself (a painted control has it), arrows and characters
        // are the control's; Tab stays the dialog's.
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_DRAWITEM:
        if (natives_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_COMMAND:
        if (natives_.Command(wParam, lParam))
            return 0;
        if (!lParam && HIWORD(wParam) == 0 && menuBar_ && menuBar_->Command(LOWORD(wParam)))
            return 0;
        break;
    case WM_CLOSE:
        if (!form_.CloseQuery())
            return 0;
        break;
    case WM_ACTIVATEAPP:
        if (wParam)
            PostMessageW(hwnd_, kActivatedMessage, 0, 0);
        break;
    case kActivatedMessage:
        form_.Activated();
        return 0;
    case WM_QUERYENDSESSION:
        return form_.QueryEndSession((lParam & ENDSESSION_CRITICAL) != 0);
    case WM_ENDSESSION:
        form_.EndSession(wParam != 0);
        return 0;
    case WM_SIZE:
        form_.Resized(LOWORD(lParam), HIWORD(lParam), dpi_);
        break;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_NCDESTROY:
        OnNcDestroy();
        break;
    case WM_GETOBJECT:
        if (const LRESULT answer = OnGetObject(wParam, lParam))
            return answer;
        break;
    case kDefaultActionMessage:
        OnDefaultAction(wParam);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void TFormWindow::OnPaint()
{
    PaintUpdate(hwnd_, form_, dpi_, UpToDateFont());
}

void TFormWindow::Close()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
}

void TFormWindow::MenuChanged()
{
    if (!hwnd_)
        return;
    if (!menuBar_ && MakeMenuBar)
        menuBar_ = MakeMenuBar();
    if (menuBar_)
        menuBar_->Show(hwnd_, form_.Menu());
}

void TFormWindow::ScrollBarsChanged()
{
    if (hwnd_)
        ShowScrollBars(hwnd_, form_, dpi_);
}

void TFormWindow::OnWheel(UINT message, WPARAM wParam, LPARAM lParam)
{
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};  // on the screen
    ScreenToClient(hwnd_, &p);
    int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    TShiftState shift = MouseShift(GET_KEYSTATE_WPARAM(wParam));
    if (message == WM_MOUSEHWHEEL) {
        delta = -delta;  // to the right is Shift and the wheel towards the user
        shift |= ssShift;
    }
    form_.MouseWheel(delta, shift, {p.x, p.y}, dpi_);
}

void TFormWindow::OnMouse(UINT message, WPARAM wParam, LPARAM lParam)
{
    const TPoint64 point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const TShiftState shift = MouseShift(wParam);
    bool held;
    switch (message) {
    case WM_MOUSEMOVE:
        held = form_.MouseMove(shift, point, dpi_);
        // No WM_SETCURSOR comes while the mouse is held: a drag's shape is set here.
        if (held && GetCapture() == hwnd_)
            SetCursor(LoadCursorW(nullptr, CursorResource(form_.CursorAt(point, dpi_))));
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        held = form_.MouseDown(mbLeft, shift, point, dpi_, message == WM_LBUTTONDBLCLK);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        held = form_.MouseDown(mbRight, shift, point, dpi_, message == WM_RBUTTONDBLCLK);
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        held = form_.MouseDown(mbMiddle, shift, point, dpi_, message == WM_MBUTTONDBLCLK);
        break;
    case WM_LBUTTONUP:
        held = form_.MouseUp(mbLeft, shift, point, dpi_);
        break;
    case WM_RBUTTONUP:
        held = form_.MouseUp(mbRight, shift, point, dpi_);
        break;
    default:
        held = form_.MouseUp(mbMiddle, shift, point, dpi_);
        break;
    }
    // A drag that leaves the window keeps its events until the last button comes up.
    if (held && GetCapture() != hwnd_)
        SetCapture(hwnd_);
    else if (!held && GetCapture() == hwnd_)
        ReleaseCapture();
}

bool TFormWindow::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(wParam) != hwnd_ || LOWORD(lParam) != HTCLIENT)
        return false;
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(hwnd_, &p);
    SetCursor(LoadCursorW(nullptr, CursorResource(form_.CursorAt({p.x, p.y}, dpi_))));
    return true;
}

bool TFormWindow::OnKey(const MSG& msg)
{
    TControl* native = msg.hwnd == hwnd_ ? nullptr : natives_.ControlOf(msg.hwnd);
    if (msg.hwnd != hwnd_ && !native)
        return false;
    const bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    TKeyInfo key{static_cast<std::uint16_t>(msg.wParam), KeyShift(), down && (msg.lParam & (1L << 30)) != 0};
    return down ? form_.KeyDown(key, native) : form_.KeyUp(key, native);
}

// Moved to a monitor of another DPI: take the size Windows suggests, rescale the rest.
void TFormWindow::OnDpiChanged(int dpi, const RECT& suggested)
{
    dpi_ = dpi;
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    fontStale_ = true;
    UpToDateFont();
    natives_.Rescale(dpi_);
    ScrollBarsChanged();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TFormWindow::OnDestroy()
{
    if (endsLoop_)
        PostQuitMessage(0);
}

void TFormWindow::OnNcDestroy()
{
    accessible_.reset();
    natives_.ParentDestroyed();
    hwnd_ = nullptr;
}

// Only the client area is ours to answer; the rest is the system's.
LRESULT TFormWindow::OnGetObject(WPARAM wParam, LPARAM lParam)
{
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT) || !TAccessibleClient::Available())
        return 0;
    if (!accessible_)
        accessible_ = std::make_unique<TAccessibleClient>(form_, static_cast<const IAccessibleHost&>(*this));
    const LRESULT answer = accessible_->Answer(wParam);
    return answer > 0 ? answer : 0;
}

void TFormWindow::OnDefaultAction(std::size_t child)
{
    const TAccessibleForm model(form_);
    if (model.IsChild(child))
        model.DoDefaultAction(child);
}

HFONT TFormWindow::UpToDateFont()
{
    if (!fontStale_)
        return font_;
    const TFont& f = form_.Font();
    HFONT font = CreateFontW(static_cast<int>(ScaleToDpi(f.Height, dpi_)), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             static_cast<BYTE>(f.Charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, ToWide(f.Name).c_str());
    if (font) {
        // The old one goes only once nothing uses it.
        natives_.SetFont(font);
        if (font_)
            DeleteObject(font_);
        font_ = font;
        fontStale_ = false;
    }
    return font_;
}

}  // namespace

bool PreviewKey(HWND formWindow, const MSG& msg)
{
    return TFormWindow::PreviewKey(formWindow, msg);
}

}  // namespace win32

namespace backend {

std::unique_ptr<IFormPeer> CreateFormPeer(TForm& form)
{
    return std::make_unique<win32::TFormWindow>(form);
}

}  // namespace backend
