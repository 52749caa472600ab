#include "platform/win32/AccessibleWindow.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <string>

#include "platform/forms/Forms.h"
#include "platform/win32/AccessibleBase.h"
#include "platform/text/win32/WinText.h"

namespace win32 {

// Wraps the system's object: asks it everything but the name and, on a list box, the lines.
// Once the window is gone it answers nothing, and every method catches everything.
class TWindowObject final : public TAccessibleBase<IOleWindow> {
public:
    TWindowObject(TForm& form, TControl& control, HWND hwnd, IAccessible* system)
        : form_(form), control_(&control), hwnd_(hwnd), system_(system),
          list_(control.NativeKind() == TNativeKind::ListBox ? static_cast<TListBox*>(&control) : nullptr)
    {
    }

    void Disconnect()
    {
        control_ = nullptr;
        list_ = nullptr;
        system_->Release();
        system_ = nullptr;
    }

    // IOleWindow: how a client finds the window of an object.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override
    {
        return Guarded(Connected(), hwnd, [&] {
            *hwnd = hwnd_;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        return System([&](IAccessible& s) { return s.get_accParent(parent); });
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override
    {
        if (!list_)
            return System([&](IAccessible& s) { return s.get_accChildCount(count); });
        return Guarded(Connected(), count, [&] {
            *count = static_cast<LONG>(std::min<std::size_t>(list_->Count(), LONG_MAX));
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override
    {
        return Either(
            id, [&](IAccessible& s) { return s.get_accChild(id, child); },
            [&](std::size_t) { return Guarded(Connected(), child, [] { return S_FALSE; }); });
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override
    {
        if (Connected() && IsSelf(id)) {
            std::string given;
            const HRESULT hr = Guarded(true, [&] {
                given = form_.AccessibleName(*control_);
                return S_OK;
            });
            if (FAILED(hr) || !given.empty())
                return Text(name, [&] { return given; });
        }
        return Either(
            id, [&](IAccessible& s) { return s.get_accName(id, name); },
            [&](std::size_t line) { return Text(name, [&] { return list_->Line(line); }); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override
    {
        return Either(
            id, [&](IAccessible& s) { return s.get_accValue(id, value); }, None(value));
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* description) override
    {
        return Either(
            id, [&](IAccessible& s) { return s.get_accDescription(id, description); }, None(description));
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override
    {
        return Either(
            id, [&](IAccessible& s) { return s.get_accRole(id, role); },
            [&](std::size_t) { return Number(role, ROLE_SYSTEM_LISTITEM); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override
    {
        return Either(
            id, [&](IAccessible& s) { return s.get_accState(id, state); },
            [&](std::size_t line) { return Number(state, LineState(line)); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* help) override
    {
        return Either(
            id, [&](IAccessible& s) { return s.get_accHelp(id, help); }, None(help));
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT id, LONG* topic) override
    {
        return Either(
            id, [&](IAccessible& s) { return s.get_accHelpTopic(file, id, topic); },
            [&](std::size_t) {
                if (topic)
                    *topic = 0;
                return Guarded(Connected(), file, [] { return S_FALSE; });
            });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* shortcut) override
    {
        return Either(
            id, [&](IAccessible& s) { return s.get_accKeyboardShortcut(id, shortcut); }, None(shortcut));
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        if (!list_)
            return System([&](IAccessible& s) { return s.get_accFocus(focus); });
        return Guarded(Connected(), focus, [&] {
            if (GetFocus() != hwnd_)
                return S_FALSE;
            const LRESULT caret = SendMessageW(hwnd_, LB_GETCARETINDEX, 0, 0);
            const bool onLine = caret >= 0 && static_cast<std::size_t>(caret) < list_->Count();
            return Child(onLine ? static_cast<LONG>(caret + 1) : CHILDID_SELF, focus);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        if (!list_)
            return System([&](IAccessible& s) { return s.get_accSelection(selection); });
        return Guarded(Connected(), selection, [&] {
            const int selected = list_->ItemIndex();
            return selected < 0 ? S_FALSE : Child(selected + 1, selection);
        });
    }
    // Lines have none: choosing one is selecting it (accSelect).
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override
    {
        return Either(
            id, [&](IAccessible& s) { return s.get_accDefaultAction(id, action); }, None(action));
    }
    // A line is selected as the user selects it: the list shows it, then tells its parent.
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT id) override
    {
        return Either(
            id, [&](IAccessible& s) { return s.accSelect(flags, id); },
            [&](std::size_t line) {
                return Guarded(Connected(), [&] {
                    if (!(flags & SELFLAG_TAKESELECTION) || (flags & ~(SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS)))
                        return E_INVALIDARG;
                    const HWND parent = GetParent(hwnd_);
                    const bool posted = PostMessageW(hwnd_, LB_SETCURSEL, line, 0) &&
                                        PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), LBN_SELCHANGE),
                                                     reinterpret_cast<LPARAM>(hwnd_));
                    if (posted && (flags & SELFLAG_TAKEFOCUS))
                        SetFocus(hwnd_);
                    return posted ? S_OK : E_FAIL;
                });
            });
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT id) override
    {
        return Either(
            id, [&](IAccessible& s) { return s.accLocation(left, top, width, height, id); },
            [&](std::size_t line) {
                return Guarded(Connected(), [&] {
                    if (!left || !top || !width || !height)
                        return E_POINTER;
                    RECT r{};
                    if (SendMessageW(hwnd_, LB_GETITEMRECT, line, reinterpret_cast<LPARAM>(&r)) == LB_ERR)
                        return E_FAIL;
                    MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&r), 2);
                    *left = r.left;
                    *top = r.top;
                    *width = r.right - r.left;
                    *height = r.bottom - r.top;
                    return S_OK;
                });
            });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        const bool intoLines =
            list_ && IsSelf(start) && (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD);
        if (intoLines)
            return Guarded(Connected(), end, [&] {
                const std::size_t count = list_->Count();
                return count == 0 ? S_FALSE : Child(direction == NAVDIR_FIRSTCHILD ? 1 : static_cast<LONG>(count), end);
            });
        return Either(
            start, [&](IAccessible& s) { return s.accNavigate(direction, start, end); },
            [&](std::size_t line) {
                return Guarded(Connected(), end, [&] {
                    const bool forward = direction == NAVDIR_NEXT || direction == NAVDIR_DOWN;
                    const bool back = direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP;
                    if (forward && line + 1 < list_->Count())
                        return Child(static_cast<LONG>(line + 2), end);
                    if (back && line > 0)
                        return Child(static_cast<LONG>(line), end);
                    return S_FALSE;
                });
            });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override
    {
        if (!list_)
            return System([&](IAccessible& s) { return s.accHitTest(x, y, hit); });
        POINT p{x, y};
        RECT client{};
        const bool inside =
            Connected() && ScreenToClient(hwnd_, &p) && GetClientRect(hwnd_, &client) && PtInRect(&client, p);
        if (!inside)
            return System([&](IAccessible& s) { return s.accHitTest(x, y, hit); });
        return Guarded(Connected(), hit, [&] {
            // Lines all have one height here, so the one under a point is found by arithmetic.
            const LRESULT height = SendMessageW(hwnd_, LB_GETITEMHEIGHT, 0, 0);
            const LRESULT first = SendMessageW(hwnd_, LB_GETTOPINDEX, 0, 0);
            const std::size_t line =
                static_cast<std::size_t>(std::max<LRESULT>(first, 0) + p.y / std::max<LRESULT>(height, 1));
            return Child(line < list_->Count() ? static_cast<LONG>(line + 1) : CHILDID_SELF, hit);
        });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override
    {
        return Either(
            id, [&](IAccessible& s) { return s.accDoDefaultAction(id); },
            [&](std::size_t) { return Guarded(Connected(), [] { return DISP_E_MEMBERNOTFOUND; }); });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~TWindowObject() = default;

    bool Connected() const { return control_ != nullptr; }
    static bool IsSelf(const VARIANT& id) { return id.vt == VT_I4 && id.lVal == CHILDID_SELF; }

    // Asks the system's object.
    template <class Ask>
    HRESULT System(Ask ask) noexcept
    {
        return Guarded(Connected(), [&] { return ask(*system_); });
    }
    // A line of the list is answered here, anything else by the system's object; a number
    // past the lines is no child.
    template <class Ask, class Answer>
    HRESULT Either(const VARIANT& id, Ask ask, Answer answer) noexcept
    {
        if (!list_ || id.vt != VT_I4 || id.lVal == CHILDID_SELF)
            return System(ask);
        if (id.lVal < 0 || static_cast<std::size_t>(id.lVal) > list_->Count())
            return E_INVALIDARG;
        return answer(static_cast<std::size_t>(id.lVal) - 1);
    }

    template <class Read>
    HRESULT Text(BSTR* out, Read read) noexcept
    {
        return Guarded(Connected(), out, [&] {
            const std::wstring text = ToWide(read());
            if (text.empty())
                return S_FALSE;
            *out = AllocText(text);
            return *out ? S_OK : E_OUTOFMEMORY;
        });
    }
    std::function<HRESULT(std::size_t)> None(BSTR* out)
    {
        return [this, out](std::size_t) { return Text(out, [] { return std::string(); }); };
    }
    HRESULT Number(VARIANT* out, LONG value) noexcept
    {
        return Guarded(Connected(), out, [&] {
            out->vt = VT_I4;
            out->lVal = value;
            return S_OK;
        });
    }
    static HRESULT Child(LONG id, VARIANT* out)
    {
        out->vt = VT_I4;
        out->lVal = id;
        return S_OK;
    }

    LONG LineState(std::size_t line) const
    {
        LONG state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        if (list_->ItemIndex() >= 0 && static_cast<std::size_t>(list_->ItemIndex()) == line)
            state |= STATE_SYSTEM_SELECTED;
        if (GetFocus() == hwnd_ && SendMessageW(hwnd_, LB_GETCARETINDEX, 0, 0) == static_cast<LRESULT>(line))
            state |= STATE_SYSTEM_FOCUSED;
        RECT r{}, client{}, shown{};
        GetClientRect(hwnd_, &client);
        if (SendMessageW(hwnd_, LB_GETITEMRECT, line, reinterpret_cast<LPARAM>(&r)) == LB_ERR ||
            !IntersectRect(&shown, &r, &client))
            state |= STATE_SYSTEM_OFFSCREEN;
        return state;
    }

    TForm& form_;
    TControl* control_;  // none once the window is gone
    HWND hwnd_;
    IAccessible* system_;
    TListBox* list_;
};

TAccessibleWindow::TAccessibleWindow(TForm& form, TControl& control, HWND hwnd)
{
    IAccessible* system = nullptr;
    if (FAILED(Ole().createStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&system))) ||
        !system)
        return;
    object_ = new TWindowObject(form, control, hwnd, system);
}

TAccessibleWindow::~TAccessibleWindow()
{
    if (!object_)
        return;
    object_->Disconnect();
    Ole().coDisconnectObject(static_cast<IAccessible*>(object_), 0);
    object_->Release();
}

LRESULT TAccessibleWindow::Answer(WPARAM wParam) const
{
    if (!object_)
        return 0;
    const LRESULT answer = Ole().lresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object_));
    return answer > 0 ? answer : 0;
}

}  // namespace win32
