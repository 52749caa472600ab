#include "platform/win32/FormWindow.h"

#include <windowsx.h>

#include <climits>
#include <iterator>
#include <set>
#include <vector>

#include "platform/forms/Accessibility.h"
#include "platform/forms/Forms.h"
#include "platform/win32/LabelPainter.h"
#include "platform/win32/PendingError.h"
#include "platform/win32/Win32Support.h"
#include "platform/text/win32/WinText.h"

namespace win32 {
namespace {

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

// The system's shape of each TCursor, in its order.
LPCWSTR CursorResource(TCursor cursor)
{
    static constexpr WORD kShapes[] = {
        32512,  // crDefault: IDC_ARROW
        32512,  // crArrow
        32515,  // crCross: IDC_CROSS
        32513,  // crIBeam: IDC_IBEAM
        32649,  // crHandPoint: IDC_HAND
        32646,  // crSizeAll: IDC_SIZEALL
        32643,  // crSizeNESW: IDC_SIZENESW
        32645,  // crSizeNS: IDC_SIZENS
        32642,  // crSizeNWSE: IDC_SIZENWSE
        32644,  // crSizeWE: IDC_SIZEWE
        32648,  // crNo: IDC_NO
    };
    static_assert(std::size(kShapes) == crNo + 1);
    return MAKEINTRESOURCEW(kShapes[cursor <= crNo ? cursor : crDefault]);
}

// The modifier keys held now, as of the message being handled.
TShiftState KeyShift()
{
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        shift |= ssAlt;
    return shift;
}

// The keys and buttons a mouse message says are held.
TShiftState MouseShift(WPARAM wParam)
{
    TShiftState shift = KeyShift() & ssAlt;
    if (wParam & MK_SHIFT)
        shift |= ssShift;
    if (wParam & MK_CONTROL)
        shift |= ssCtrl;
    if (wParam & MK_LBUTTON)
        shift |= ssLeft;
    if (wParam & MK_RBUTTON)
        shift |= ssRight;
    if (wParam & MK_MBUTTON)
        shift |= ssMiddle;
    return shift;
}

// BeginPaint validates the damaged area, so a paint that fails is not asked for again;
// EndPaint runs however painting ends.
// Up to how many rectangles of an update region are painted one by one.
constexpr DWORD kSeparateAreas = 8;

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
    const std::wstring windowClass = ToWide(form.WindowClass());
    RegisterFormClass(windowClass, &TFormWindow::WindowProc);
    // The handle is kept from WM_NCCREATE on, so every message finds this object whole.
    CreateWindowExW(0, windowClass.c_str(), L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
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
        OnScroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
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
    case WM_COMMAND:
        if (natives_.Command(wParam, lParam))
            return 0;
        if (!lParam && HIWORD(wParam) == 0 && OnMenuCommand(LOWORD(wParam)))
            return 0;
        break;
    case WM_CLOSE:
        if (!form_.CloseQuery())
            return 0;
        break;
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
    // A few separate areas (a dragged label and the status line, say) are painted each on its
    // own rather than as the one rectangle around them all.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const bool separate = region && GetUpdateRgn(hwnd_, region, FALSE) == COMPLEXREGION;
    const TPaintScope paint(hwnd_);
    const HFONT font = UpToDateFont();
    std::vector<RECT> areas;
    if (separate) {
        const DWORD size = GetRegionData(region, 0, nullptr);
        std::vector<char> data(size);
        auto* rects = reinterpret_cast<RGNDATA*>(data.data());
        if (size && GetRegionData(region, size, rects) && rects->rdh.nCount <= kSeparateAreas) {
            const auto* first = reinterpret_cast<const RECT*>(rects->Buffer);
            areas.assign(first, first + rects->rdh.nCount);
        }
    }
    if (region)
        DeleteObject(region);
    if (areas.empty())
        areas.push_back(paint.Area());
    for (const RECT& area : areas)
        PaintClient(paint.Dc(), form_, area, dpi_, font);
}

void TFormWindow::Close()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
}

// Menus are small: any change builds the bar anew.
void TFormWindow::MenuChanged()
{
    if (!hwnd_)
        return;
    commands_.clear();
    HMENU bar = nullptr;
    if (const TMainMenu* menu = form_.Menu()) {
        bar = CreateMenu();
        if (!bar)
            throw Exception("The menu could not be created.");
        AppendItems(bar, menu->Items());
    }
    const HMENU old = GetMenu(hwnd_);
    if (!bar && !old)
        return;
    SetMenu(hwnd_, bar);
    if (old)
        DestroyMenu(old);
    DrawMenuBar(hwnd_);
}

void TFormWindow::AppendItems(HMENU into, const TMenuItem& parent)
{
    for (std::size_t i = 0; i < parent.Count(); ++i) {
        TMenuItem& item = *parent.Items(i);
        if (item.IsLine()) {
            AppendMenuW(into, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT flags = MF_STRING | (item.Enabled() ? MF_ENABLED : MF_GRAYED) | (item.Checked() ? MF_CHECKED : 0);
        const std::wstring text = ToWide(item.DisplayText());
        if (item.Count()) {
            const HMENU sub = CreatePopupMenu();
            AppendItems(sub, item);
            AppendMenuW(into, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
        } else {
            commands_.push_back(&item);
            AppendMenuW(into, flags, commands_.size(), text.c_str());
        }
    }
}

bool TFormWindow::OnMenuCommand(WORD id)
{
    if (id == 0 || id > commands_.size())
        return false;
    TMenuItem* item = commands_[id - 1u];
    if (item->Enabled())
        item->Click();
    return true;
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

void TFormWindow::OnScroll(int bar, WORD code)
{
    const TScrollBarKind kind = bar == SB_HORZ ? sbHorizontal : sbVertical;
    switch (code) {
    case SB_LINEUP:
        form_.Scroll(kind, scLineUp);
        return;
    case SB_LINEDOWN:
        form_.Scroll(kind, scLineDown);
        return;
    case SB_PAGEUP:
        form_.Scroll(kind, scPageUp);
        return;
    case SB_PAGEDOWN:
        form_.Scroll(kind, scPageDown);
        return;
    case SB_TOP:
        form_.Scroll(kind, scTop);
        return;
    case SB_BOTTOM:
        form_.Scroll(kind, scBottom);
        return;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The message's position has 16 bits; the bar's own has 32.
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(hwnd_, bar, &info);
        form_.Scroll(kind, code == SB_THUMBTRACK ? scTrack : scPosition,
                     static_cast<std::int32_t>(ScaleFromDpi(info.nTrackPos, dpi_)));
        return;
    }
    default:
        return;
    }
}

// The bars at the window's DPI; one whose range fits its page goes away.
void TFormWindow::ScrollBarsChanged()
{
    if (!hwnd_)
        return;
    for (const TScrollBarKind kind : {sbHorizontal, sbVertical}) {
        const TScrollRange& bar = form_.ScrollBar(kind);
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        // A page longer than the range hides the bar.
        const bool shown = bar.range > bar.page;
        info.nMax = shown ? ClampToInt(ScaleToDpi(bar.range, dpi_)) - 1 : 0;
        info.nPage = shown ? static_cast<UINT>(std::max(0, ClampToInt(ScaleToDpi(bar.page, dpi_)))) : 1;
        info.nPos = shown ? ClampToInt(ScaleToDpi(bar.position, dpi_)) : 0;
        SetScrollInfo(hwnd_, kind == sbHorizontal ? SB_HORZ : SB_VERT, &info, TRUE);
    }
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

}  // namespace win32
