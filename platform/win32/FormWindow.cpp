#include "platform/win32/FormWindow.h"

#include <windowsx.h>

#include <climits>

#include "platform/Accessibility.h"
#include "platform/Forms.h"
#include "platform/win32/LabelPainter.h"
#include "platform/win32/Services.h"
#include "platform/win32/Win32Support.h"
#include "platform/win32/WinText.h"

namespace win32 {
namespace {

constexpr wchar_t kFormClass[] = L"PcStatusBoardForm";
// Posted to run a child's default action: wParam is the child.
constexpr UINT kDefaultActionMessage = WM_APP + 1;

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

// The class has no CS_DBLCLKS: a quick second click comes as another press and release, so
// a double click counts as two clicks.
void RegisterFormClass(WNDPROC procedure)
{
    static const bool registered = [procedure] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));      // IDI_APPLICATION
        wc.lpszClassName = kFormClass;
        return RegisterClassExW(&wc) != 0;
    }();
    if (!registered)
        throw Exception("The window class could not be registered.");
}

// BeginPaint validates the damaged area, so a paint that fails is not asked for again;
// EndPaint runs however painting ends.
class TPaintScope {
public:
    explicit TPaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd_, &ps_); }
    ~TPaintScope() { EndPaint(hwnd_, &ps_); }
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;
    HDC Dc() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

}  // namespace

TFormWindow::TFormWindow(TForm& form) : form_(form)
{
    RegisterFormClass(&TFormWindow::WindowProc);
    // The handle is kept from WM_NCCREATE on, so every message finds this object whole.
    CreateWindowExW(0, kFormClass, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!hwnd_)
        throw Exception("The window could not be created.");
    natives_ = TNativeControls(hwnd_);
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
            Font();
        break;
    case TFormChange::Color:
        break;
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TFormWindow::ControlInserted(TControl& control)
{
    if (hwnd_)
        natives_.Insert(control, dpi_, Font());
}

void TFormWindow::ControlRemoved(TControl& control)
{
    if (pressed_ == &control)
        pressed_ = nullptr;
    natives_.Remove(control);
}

void TFormWindow::ControlChanged(TControl& control, TControlChange change)
{
    if (!control.IsWindowless()) {
        natives_.Changed(control, change, dpi_);
        return;
    }
    // A PC's colour is its status: out of order or in service.
    if (change == TControlChange::Look && static_cast<bool>(control.OnClick())) {
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
    // Until the window is shown there is nothing on screen to repaint.
    if (!hwnd_ || !form_.Visible() || area.IsEmpty())
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
    // The first control in tab order starts with the focus, as in a dialog.
    natives_.FocusFirst();
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
    case WM_LBUTTONDOWN:
        OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_CAPTURECHANGED:
        pressed_ = nullptr;
        return 0;
    case WM_COMMAND:
        if (natives_.Command(wParam, lParam))
            return 0;
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
    const TPaintScope paint(hwnd_);
    PaintClient(paint.Dc(), form_, paint.Area(), dpi_, Font());
}

void TFormWindow::OnLButtonDown(int x, int y)
{
    pressed_ = form_.ControlAt(x, y, dpi_);
    if (pressed_)
        SetCapture(hwnd_);
}

// A click is a press and a release on the same label.
void TFormWindow::OnLButtonUp(int x, int y)
{
    TControl* pressed = pressed_;
    pressed_ = nullptr;
    if (GetCapture() == hwnd_)
        ReleaseCapture();
    if (pressed && form_.ControlAt(x, y, dpi_) == pressed)
        pressed->Click();
}

// Moved to a monitor of another DPI: take the size Windows suggests, rescale the rest.
void TFormWindow::OnDpiChanged(int dpi, const RECT& suggested)
{
    dpi_ = dpi;
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    fontStale_ = true;
    Font();
    natives_.Rescale(dpi_);
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
        accessible_ = std::make_unique<TAccessibleClient>(*this);
    const LRESULT answer = accessible_->Answer(wParam);
    return answer > 0 ? answer : 0;
}

void TFormWindow::OnDefaultAction(std::size_t child)
{
    const TAccessibleForm model(form_);
    if (model.IsChild(child))
        model.DoDefaultAction(child);
}

HFONT TFormWindow::Font()
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

}  // namespace win32
