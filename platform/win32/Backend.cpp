#include "../Backend.h"

#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <exception>
#include <utility>
#include <unordered_map>
#include <vector>

#include "../Forms.h"
#include "WinText.h"

namespace {

constexpr wchar_t kFormClass[] = L"PcStatusBoardForm";
// Control ids start above IDOK and IDCANCEL, so Enter and Esc never press a button.
constexpr int kFirstControlId = 100;

COLORREF ToColorRef(TColor color)
{
    if (IsSystemColor(color))
        return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color) & 0x00FFFFFF;
}

// What a message handler threw, kept until the loop can show it. One at a time: a failure
// that comes while one waits (or while its box is up) would only repeat it.
std::exception_ptr pendingError;

void DeferError(std::exception_ptr error)
{
    if (pendingError)
        return;
    pendingError = error;
    // Wakes the loop if it is waiting, so the message is shown now.
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

int ClampToInt(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

RECT ToRect(const TRect64& r)
{
    return RECT{ClampToInt(r.left), ClampToInt(r.top), ClampToInt(r.right), ClampToInt(r.bottom)};
}

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

class Win32FormPeer final : public IFormPeer {
public:
    explicit Win32FormPeer(TForm& form) : form_(form)
    {
        RegisterFormClass();
        hwnd_ = CreateWindowExW(0, kFormClass, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                GetModuleHandleW(nullptr), this);
        if (!hwnd_)
            throw Exception("The window could not be created.");
        dpi_ = WindowDpi(hwnd_);
    }

    ~Win32FormPeer() override
    {
        if (hwnd_) {
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            DestroyWindow(hwnd_);
        }
        if (font_)
            DeleteObject(font_);
    }

    HWND Handle() const { return hwnd_; }

    void FormChanged() override
    {
        if (!hwnd_)
            return;
        SetWindowTextW(hwnd_, ToWide(form_.Caption()).c_str());
        const RECT r = Scaled(TRect64{form_.Left(), form_.Top(), std::int64_t{form_.Left()} + form_.Width(),
                                      std::int64_t{form_.Top()} + form_.Height()});
        SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateFont();
        InvalidateRect(hwnd_, nullptr, FALSE);
    }

    void ControlInserted(TControl& control) override
    {
        if (!hwnd_ || control.IsWindowless())
            return;
        const bool isEdit = control.NativeKind() == TNativeKind::Edit;
        const int id = nextId_++;
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                            (isEdit ? DWORD{ES_AUTOHSCROLL} : DWORD{BS_PUSHBUTTON});
        const RECT r = Scaled(control);
        HWND child = CreateWindowExW(isEdit ? WS_EX_CLIENTEDGE : 0, isEdit ? L"EDIT" : L"BUTTON", L"", style,
                                     r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                     nullptr);
        if (!child)
            throw Exception("A control could not be created.");
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        native_.push_back({&control, child, id});
        SyncText(control);
        SortTabOrder();
    }

    void ControlRemoved(TControl& control) override
    {
        if (pressed_ == &control)
            pressed_ = nullptr;
        const auto it = Find(native_, control);
        if (it == native_.end())
            return;
        if (hwnd_)
            DestroyWindow(it->hwnd);
        native_.erase(it);
    }

    void ControlChanged(TControl& control, TControlChange change) override
    {
        const auto it = Find(native_, control);
        if (it == native_.end())
            return;
        switch (change) {
        case TControlChange::Bounds:
            MoveNative(*it);
            break;
        case TControlChange::Text:
            SyncText(control);
            break;
        case TControlChange::TabOrder:
            SortTabOrder();
            break;
        case TControlChange::Look:
            break;
        }
    }

    void Invalidate(const TRect64& area) override
    {
        // Until the window is shown there is nothing on screen to repaint.
        if (!hwnd_ || !form_.Visible() || area.IsEmpty())
            return;
        RECT client;
        GetClientRect(hwnd_, &client);
        const TRect64 visible = ScaleToDpi(area, dpi_).Intersect({client.left, client.top, client.right, client.bottom});
        if (visible.IsEmpty())
            return;
        const RECT r = ToRect(visible);
        InvalidateRect(hwnd_, &r, FALSE);
    }

    void Update() override
    {
        if (hwnd_)
            UpdateWindow(hwnd_);
    }

    bool ReadText(const TControl& control, std::string& text) const override
    {
        const auto it = Find(native_, control);
        if (it == native_.end())
            return false;
        std::wstring buffer(static_cast<std::size_t>(GetWindowTextLengthW(it->hwnd)) + 1, L'\0');
        buffer.resize(static_cast<std::size_t>(GetWindowTextW(it->hwnd, buffer.data(), static_cast<int>(buffer.size()))));
        text = FromWide(buffer);
        return true;
    }

    void Show() override
    {
        if (!hwnd_)
            return;
        ShowWindow(hwnd_, SW_SHOW);
        UpdateWindow(hwnd_);
        // The first control in tab order starts with the focus, as in a dialog.
        if (!native_.empty())
            SetFocus(native_.front().hwnd);
    }

private:
    struct Native {
        TControl* control;
        HWND hwnd;
        int id;
    };

    // The native window of a control, in a list or in a list that may not change.
    template <class Natives>
    static auto Find(Natives& natives, const TControl& control) -> decltype(natives.begin())
    {
        return std::find_if(natives.begin(), natives.end(), [&](const Native& n) { return n.control == &control; });
    }

    void MoveNative(const Native& n) const
    {
        const RECT r = Scaled(*n.control);
        MoveWindow(n.hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }

    static void RegisterFormClass()
    {
        static const bool registered = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = &Win32FormPeer::WindowProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
            wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));      // IDI_APPLICATION
            wc.lpszClassName = kFormClass;
            return RegisterClassExW(&wc) != 0;
        }();
        if (!registered)
            throw Exception("The window class could not be registered.");
    }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<Win32FormPeer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!self)
            return DefWindowProcW(hwnd, message, wParam, lParam);
        // A C++ exception must not unwind through the system's frames (in 32-bit code it
        // cannot: it ends in terminate), so it stops here and the loop shows it.
        try {
            return self->HandleMessage(hwnd, message, wParam, lParam);
        } catch (...) {
            DeferError(std::current_exception());
            return 0;
        }
    }

    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message) {
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills the background with the rest, without flicker
        case WM_PAINT:
            Paint();
            return 0;
        case WM_LBUTTONDOWN:
            pressed_ = form_.ControlAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), dpi_);
            if (pressed_)
                SetCapture(hwnd);
            return 0;
        case WM_LBUTTONUP: {
            TControl* pressed = pressed_;
            pressed_ = nullptr;
            if (GetCapture() == hwnd)
                ReleaseCapture();
            // A click is a press and a release on the same label.
            if (pressed && form_.ControlAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), dpi_) == pressed)
                pressed->Click();
            return 0;
        }
        case WM_CAPTURECHANGED:
            pressed_ = nullptr;
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                const int id = LOWORD(wParam);
                const auto it = std::find_if(native_.begin(), native_.end(), [&](const Native& n) { return n.id == id; });
                if (it != native_.end())
                    it->control->Click();
                return 0;
            }
            break;
        case WM_DPICHANGED: {
            // Moved to a monitor of another DPI: take the size Windows suggests, rescale the rest.
            dpi_ = HIWORD(wParam);
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            UpdateFont();
            for (const Native& n : native_)
                MoveNative(n);
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        case WM_DESTROY:
            if (Application->MainForm() == &form_)
                PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            hwnd_ = nullptr;
            native_.clear();
            break;
        default:
            break;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
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

    void Paint()
    {
        const TPaintScope paint(hwnd_);
        HDC dc = paint.Dc();
        const RECT& rcPaint = paint.Area();
        SetBkColor(dc, ToColorRef(form_.Color()));
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rcPaint, nullptr, 0, nullptr);
        SelectObject(dc, font_);
        SetTextColor(dc, ToColorRef(form_.Font().Color));
        const TRect64 area{rcPaint.left, rcPaint.top, rcPaint.right, rcPaint.bottom};
        form_.ForEachPaintedIn(
            area,
            [&](TControl& control) {
                if (auto* label = dynamic_cast<TLabel*>(&control))
                    PaintLabel(dc, *label, ScaleToDpi(label->BoundsRect(), dpi_), area);
            },
            dpi_);
    }

    // Fills the label's rectangle and draws its caption on one line, placed by its
    // alignment and layout and clipped to the rectangle. All arithmetic is 64-bit, so any
    // 32-bit rectangle works; only the part inside the paint area reaches GDI.
    static void PaintLabel(HDC dc, const TLabel& label, const TRect64& bounds, const TRect64& area)
    {
        const TRect64 visible = bounds.Intersect(area);
        const RECT clip = ToRect(visible);
        SetBkColor(dc, ToColorRef(label.Color()));
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &clip, nullptr, 0, nullptr);
        if (label.Caption().empty())
            return;
        const std::wstring text = ToWide(label.Caption());
        const int length = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), length, &extent);
        std::int64_t x = bounds.left;
        if (label.Alignment() == taCenter)
            x += (bounds.right - bounds.left - extent.cx) / 2;
        else if (label.Alignment() == taRightJustify)
            x = bounds.right - extent.cx;
        std::int64_t y = bounds.top;
        if (label.Layout() == tlCenter)
            y += (bounds.bottom - bounds.top - extent.cy) / 2;
        else if (label.Layout() == tlBottom)
            y = bounds.bottom - extent.cy;
        // Text that cannot reach the visible part is not drawn at all.
        if (x >= visible.right || x + extent.cx <= visible.left || y >= visible.bottom || y + extent.cy <= visible.top)
            return;
        SetBkMode(dc, TRANSPARENT);
        ExtTextOutW(dc, ClampToInt(x), ClampToInt(y), ETO_CLIPPED, &clip, text.c_str(), static_cast<UINT>(length),
                    nullptr);
        SetBkMode(dc, OPAQUE);
    }

    void UpdateFont()
    {
        const TFont& f = form_.Font();
        const int height = static_cast<int>(ScaleToDpi(f.Height, dpi_));
        if (font_ && f.Name == fontName_ && height == fontHeight_ && f.Charset == fontCharset_)
            return;
        HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, static_cast<BYTE>(f.Charset),
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                 ToWide(f.Name).c_str());
        if (!font)
            return;
        for (const Native& n : native_)
            SendMessageW(n.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        if (font_)
            DeleteObject(font_);
        font_ = font;
        fontName_ = f.Name;
        fontHeight_ = height;
        fontCharset_ = f.Charset;
    }

    void SyncText(TControl& control)
    {
        const auto it = Find(native_, control);
        if (it == native_.end())
            return;
        SetWindowTextW(it->hwnd, ToWide(control.TextAsSet()).c_str());
    }

    RECT Scaled(const TRect64& r) const { return ToRect(ScaleToDpi(r, dpi_)); }
    RECT Scaled(const TControl& c) const
    {
        return Scaled(TRect64{c.Left(), c.Top(), std::int64_t{c.Left()} + c.Width(), std::int64_t{c.Top()} + c.Height()});
    }

    // Dialog navigation follows the windows' z-order, so keep it in tab order.
    void SortTabOrder()
    {
        std::stable_sort(native_.begin(), native_.end(), [](const Native& a, const Native& b) {
            return static_cast<TWinControl*>(a.control)->TabOrder() < static_cast<TWinControl*>(b.control)->TabOrder();
        });
        HWND after = HWND_TOP;
        for (const Native& n : native_) {
            SetWindowPos(n.hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = n.hwnd;
        }
    }

    TForm& form_;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    std::string fontName_;
    std::int32_t fontHeight_ = 0;
    int fontCharset_ = -1;
    std::vector<Native> native_;
    int nextId_ = kFirstControlId;
    TControl* pressed_ = nullptr;
    int dpi_ = kDesignDpi;
};

}  // namespace

namespace backend {

std::unique_ptr<IFormPeer> CreateFormPeer(TForm& form)
{
    return std::make_unique<Win32FormPeer>(form);
}

void RunMessageLoop(TForm& mainForm, const std::function<void(std::exception_ptr)>& onError)
{
    HWND dialog = static_cast<Win32FormPeer&>(mainForm.Peer()).Handle();
    const auto showPending = [&] {
        // The box runs a loop of its own; what fails meanwhile waits for the next turn.
        while (pendingError) {
            const std::exception_ptr error = std::exchange(pendingError, nullptr);
            onError(error);
        }
    };
    MSG msg;
    showPending();
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Tab and Shift+Tab move the focus between the controls, as in any dialog.
        if (!(dialog && IsWindow(dialog) && IsDialogMessageW(dialog, &msg))) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        showPending();
    }
}

std::string ExecutablePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return FromWide(path);
        }
        path.resize(path.size() * 2);
    }
}

void ShowErrorMessage(const std::string& message)
{
    // Titled like the class library's application: the executable's name.
    const std::string path = ExecutablePath();
    std::string title = path.substr(path.find_last_of("\\/") + 1);
    title = title.substr(0, title.rfind('.'));
    MessageBoxW(nullptr, ToWide(message).c_str(), ToWide(title).c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace backend
