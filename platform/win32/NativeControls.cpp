#include "platform/win32/NativeControls.h"

#include <algorithm>

#include "platform/text/SysUtils.h"
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

class TNativeListBox final : public TNativeControl {
public:
    using TNativeControl::TNativeControl;
    static constexpr const wchar_t* kClass = L"LISTBOX";
    static constexpr DWORD kStyle = LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | WS_BORDER, kExStyle = 0;

    void Command(WORD code) override
    {
        if (code == LBN_SELCHANGE)
            List().UserSelect(static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0)));
    }
    void Show(TControlChange change) override
    {
        if (change == TControlChange::Items)
            Fill();
        if (change == TControlChange::Items || change == TControlChange::ItemIndex)
            SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(List().ItemIndex()), 0);
    }

private:
    TListBox& List() const { return static_cast<TListBox&>(Control()); }
    // Thousands of lines go in at once: room made first, and nothing drawn until the end.
    void Fill() const
    {
        const HWND hwnd = Handle();
        const auto& items = List().Items();
        SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
        SendMessageW(hwnd, LB_RESETCONTENT, 0, 0);
        std::size_t bytes = 0;
        for (const std::string& item : items)
            bytes += (item.size() + 1) * sizeof(wchar_t);
        SendMessageW(hwnd, LB_INITSTORAGE, items.size(), static_cast<LPARAM>(bytes));
        for (const std::string& item : items)
            SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(item).c_str()));
        SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(hwnd, nullptr, TRUE);
    }
};

template <class TKind>
std::unique_ptr<TNativeControl> Make(TControl& control, HWND parent, int id, int dpi)
{
    const RECT r = ToRect(control.ScaledBounds(dpi));
    HWND hwnd = CreateWindowExW(TKind::kExStyle, TKind::kClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TKind::kStyle,
                                r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!hwnd)
        throw Exception("A control could not be created.");
    return std::make_unique<TKind>(control, hwnd);
}

}  // namespace

TNativeControl::~TNativeControl()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
}

void TNativeControls::Insert(TControl& control, int dpi, HFONT font)
{
    std::unique_ptr<TNativeControl> native;
    switch (control.NativeKind()) {
    case TNativeKind::Edit:
        native = Make<TNativeEdit>(control, parent_, nextId_++, dpi);
        break;
    case TNativeKind::Button:
        native = Make<TNativeButton>(control, parent_, nextId_++, dpi);
        break;
    case TNativeKind::ListBox:
        native = Make<TNativeListBox>(control, parent_, nextId_++, dpi);
        break;
    case TNativeKind::None:
        return;
    }
    SendMessageW(native->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
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
    for (const auto& n : natives_)
        SendMessageW(n->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
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
