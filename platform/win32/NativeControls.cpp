#include "platform/win32/NativeControls.h"

#include <algorithm>

#include "platform/text/SysUtils.h"
#include "platform/win32/AccessibleClient.h"
#include "platform/win32/AccessibleWindow.h"
#include "platform/win32/Win32Support.h"
#include "platform/text/win32/WinText.h"

namespace win32 {
namespace {

class TNativeEdit final : public TNativeControl {
public:
    using TNativeControl::TNativeControl;
    static constexpr const wchar_t* kClass = L"EDIT";
    static constexpr DWORD kStyle = ES_AUTOHSCROLL, kExStyle = WS_EX_CLIENTEDGE;
};

class TNativeButton final : public TNativeControl {
public:
    using TNativeControl::TNativeControl;
    static constexpr const wchar_t* kClass = L"BUTTON";
    static constexpr DWORD kStyle = BS_PUSHBUTTON, kExStyle = 0;
    void Command(WORD code) override
    {
        if (code == BN_CLICKED)
            Control().Click();
    }
};

// Its lines are drawn here as they show: the window holds only their number (LBS_NODATA), so
// that a change of ten thousand lines is a new count and a repaint.
class TNativeListBox final : public TNativeControl {
public:
    using TNativeControl::TNativeControl;
    static constexpr const wchar_t* kClass = L"LISTBOX";
    static constexpr DWORD kStyle =
        LBS_NOTIFY | LBS_NODATA | LBS_OWNERDRAWFIXED | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | WS_BORDER;
    static constexpr DWORD kExStyle = 0;

    void Command(WORD code) override
    {
        if (code == LBN_SELCHANGE)
            List().UserSelect(static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0)));
    }
    void Show(TControlChange change) override
    {
        if (change == TControlChange::Items) {
            // Some list boxes count to the new number one line at a time.
            if (static_cast<std::size_t>(SendMessageW(Handle(), LB_GETCOUNT, 0, 0)) != List().Count())
                SendMessageW(Handle(), LB_SETCOUNT, List().Count(), 0);
            InvalidateRect(Handle(), nullptr, TRUE);
        }
        if (change == TControlChange::Items || change == TControlChange::ItemIndex)
            SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(List().ItemIndex()), 0);
    }
    // A line as high as the font's, with a pixel above and below.
    void FontSet(HFONT font) override
    {
        const HDC dc = GetDC(Handle());
        const HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(Handle(), dc);
        SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, std::max<LPARAM>(metrics.tmHeight + 2, 1));
    }
    void Draw(const DRAWITEMSTRUCT& item) const override
    {
        if (item.itemID == static_cast<UINT>(-1)) {
            if (item.itemState & ODS_FOCUS)
                DrawFocusRect(item.hDC, &item.rcItem);
            return;
        }
        const bool selected = (item.itemState & ODS_SELECTED) != 0;
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        SetBkMode(item.hDC, TRANSPARENT);
        SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT text = item.rcItem;
        text.left += 2;
        const std::wstring line = ToWide(List().Line(item.itemID));
        DrawTextW(item.hDC, line.c_str(), static_cast<int>(line.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        if (item.itemState & ODS_FOCUS)
            DrawFocusRect(item.hDC, &item.rcItem);
    }

private:
    TListBox& List() const { return static_cast<TListBox&>(Control()); }
};

template <class TKind>
std::unique_ptr<TNativeControl> Make(TForm& form, TControl& control, HWND parent, int id, int dpi)
{
    const RECT r = ToRect(control.ScaledBounds(dpi));
    HWND hwnd = CreateWindowExW(TKind::kExStyle, TKind::kClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TKind::kStyle,
                                r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!hwnd)
        throw Exception("A control could not be created.");
    return std::make_unique<TKind>(form, control, hwnd);
}

}  // namespace

TNativeControl::TNativeControl(TForm& form, TControl& control, HWND hwnd) : form_(form), control_(control), hwnd_(hwnd)
{
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TNativeControl::WindowProc)));
}

TNativeControl::~TNativeControl()
{
    accessible_.reset();
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        DestroyWindow(hwnd_);
    }
}

LRESULT CALLBACK TNativeControl::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<TNativeControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_GETOBJECT && static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT))
        if (const LRESULT answer = self->Accessible(wParam))
            return answer;
    return CallWindowProcW(self->original_, hwnd, message, wParam, lParam);
}

// Only the client area is ours to answer, and only with OLE there; else the system answers.
LRESULT TNativeControl::Accessible(WPARAM wParam)
{
    // Nothing thrown may unwind through the system's frames.
    try {
        if (!TAccessibleClient::Available())
            return 0;
        if (!accessible_)
            accessible_ = std::make_unique<TAccessibleWindow>(form_, control_, hwnd_);
        return accessible_->Answer(wParam);
    } catch (...) {
        return 0;
    }
}

void TNativeControls::Insert(TControl& control, int dpi, HFONT font)
{
    std::unique_ptr<TNativeControl> native;
    switch (control.NativeKind()) {
    case TNativeKind::Edit:
        native = Make<TNativeEdit>(*form_, control, parent_, nextId_++, dpi);
        break;
    case TNativeKind::Button:
        native = Make<TNativeButton>(*form_, control, parent_, nextId_++, dpi);
        break;
    case TNativeKind::ListBox:
        native = Make<TNativeListBox>(*form_, control, parent_, nextId_++, dpi);
        break;
    case TNativeKind::None:
        return;
    }
    SendMessageW(native->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    native->FontSet(font);
    SetWindowTextW(native->Handle(), ToWide(control.TextAsSet()).c_str());
    native->Show(TControlChange::Items);
    natives_.push_back(std::move(native));
    SortTabOrder();
}

void TNativeControls::Remove(const TControl& control)
{
    std::erase_if(natives_, [&](const auto& n) { return &n->Control() == &control; });
}

void TNativeControls::Changed(const TControl& control, TControlChange change, int dpi)
{
    TNativeControl* native = Find(control);
    if (!native)
        return;
    switch (change) {
    case TControlChange::Bounds:
        Move(*native, dpi);
        break;
    case TControlChange::Text:
        SetWindowTextW(native->Handle(), ToWide(control.TextAsSet()).c_str());
        break;
    case TControlChange::TabOrder:
        SortTabOrder();
        break;
    case TControlChange::Items:
    case TControlChange::ItemIndex:
        native->Show(change);
        break;
    case TControlChange::Look:
        break;
    }
}

void TNativeControls::SetFont(HFONT font)
{
    for (const auto& n : natives_) {
        SendMessageW(n->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        n->FontSet(font);
    }
}

void TNativeControls::Rescale(int dpi)
{
    for (const auto& n : natives_)
        Move(*n, dpi);
}

bool TNativeControls::Command(WPARAM wParam, LPARAM lParam)
{
    const auto sender = reinterpret_cast<HWND>(lParam);
    const auto it =
        std::find_if(natives_.begin(), natives_.end(), [&](const auto& n) { return n->Handle() == sender; });
    if (!sender || it == natives_.end())
        return false;
    (*it)->Command(HIWORD(wParam));
    return true;
}

bool TNativeControls::Draw(const DRAWITEMSTRUCT& item) const
{
    const auto it =
        std::find_if(natives_.begin(), natives_.end(), [&](const auto& n) { return n->Handle() == item.hwndItem; });
    if (!item.hwndItem || it == natives_.end())
        return false;
    (*it)->Draw(item);
    return true;
}

bool TNativeControls::ReadText(const TControl& control, std::string& text) const
{
    const TNativeControl* native = Find(control);
    if (!native || !native->Handle())
        return false;
    std::wstring buffer(static_cast<std::size_t>(GetWindowTextLengthW(native->Handle())) + 1, L'\0');
    buffer.resize(
        static_cast<std::size_t>(GetWindowTextW(native->Handle(), buffer.data(), static_cast<int>(buffer.size()))));
    text = FromWide(buffer);
    return true;
}

HWND TNativeControls::HandleOf(const TControl& control) const
{
    const TNativeControl* native = Find(control);
    return native ? native->Handle() : nullptr;
}

TControl* TNativeControls::ControlOf(HWND hwnd) const
{
    const auto it = std::find_if(natives_.begin(), natives_.end(), [&](const auto& n) { return n->Handle() == hwnd; });
    return it == natives_.end() ? nullptr : &(*it)->Control();
}

void TNativeControls::FocusFirst() const
{
    if (!natives_.empty())
        SetFocus(natives_.front()->Handle());
}

void TNativeControls::ParentDestroyed()
{
    for (const auto& n : natives_)
        n->Forget();
    natives_.clear();
}

TNativeControl* TNativeControls::Find(const TControl& control) const
{
    const auto it =
        std::find_if(natives_.begin(), natives_.end(), [&](const auto& n) { return &n->Control() == &control; });
    return it == natives_.end() ? nullptr : it->get();
}

void TNativeControls::Move(const TNativeControl& native, int dpi) const
{
    const RECT r = ToRect(native.Control().ScaledBounds(dpi));
    MoveWindow(native.Handle(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

// Dialog navigation follows the windows' z-order, so keep it in tab order.
void TNativeControls::SortTabOrder()
{
    std::stable_sort(natives_.begin(), natives_.end(), [](const auto& a, const auto& b) {
        return static_cast<const TWinControl&>(a->Control()).TabOrder() <
               static_cast<const TWinControl&>(b->Control()).TabOrder();
    });
    // Only the windows out of place move: a restack is a round trip to the window system.
    HWND after = HWND_TOP;
    for (const auto& n : natives_) {
        const HWND above = GetWindow(n->Handle(), GW_HWNDPREV);
        if (above != (after == HWND_TOP ? nullptr : after))
            SetWindowPos(n->Handle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = n->Handle();
    }
}

}  // namespace win32
