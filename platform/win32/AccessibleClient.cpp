#include "platform/win32/AccessibleClient.h"

#include <oleacc.h>

#include <climits>
#include <new>
#include <string>

#include "platform/forms/Accessibility.h"
#include "platform/forms/Forms.h"
#include "platform/win32/AccessibleBase.h"
#include "platform/win32/OleLibraries.h"
#include "platform/win32/Win32Support.h"
#include "platform/text/win32/WinText.h"

namespace win32 {
namespace {

LONG RoleOf(TAccessibleRole role)
{
    switch (role) {
    case TAccessibleRole::ListItem:
        return ROLE_SYSTEM_LISTITEM;
    case TAccessibleRole::StaticText:
        return ROLE_SYSTEM_STATICTEXT;
    case TAccessibleRole::PushButton:
        return ROLE_SYSTEM_PUSHBUTTON;
    case TAccessibleRole::Text:
        return ROLE_SYSTEM_TEXT;
    case TAccessibleRole::List:
        return ROLE_SYSTEM_LIST;
    case TAccessibleRole::Client:
        break;
    }
    return ROLE_SYSTEM_CLIENT;
}

LONG StateOf(std::uint32_t state)
{
    static constexpr std::pair<std::uint32_t, LONG> kStates[] = {
        {asSelectable, STATE_SYSTEM_SELECTABLE}, {asSelected, STATE_SYSTEM_SELECTED},
        {asInvisible, STATE_SYSTEM_INVISIBLE},   {asOffscreen, STATE_SYSTEM_OFFSCREEN},
        {asFocusable, STATE_SYSTEM_FOCUSABLE},   {asReadOnly, STATE_SYSTEM_READONLY},
    };
    LONG bits = 0;
    for (const auto& [neutral, msaa] : kStates)
        if (state & neutral)
            bits |= msaa;
    return bits;
}

}  // namespace

// One object per window. Clients hold it through COM for as long as they like; once the
// window is gone it answers nothing, and every method catches everything, as the window
// procedure does.
class TAccessibleObject final : public TAccessibleBase<IEnumVARIANT> {
public:
    TAccessibleObject(TForm& form, const IAccessibleHost& host) : form_(form), host_(&host) {}

    void Disconnect() { host_ = nullptr; }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        return Guard(parent, [&] {
            return Ole().accessibleObjectFromWindow(host_->Handle(), static_cast<DWORD>(OBJID_WINDOW),
                                                    __uuidof(IDispatch), reinterpret_cast<void**>(parent));
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override
    {
        return Guard(count, [&] {
            *count = static_cast<LONG>(std::min<std::size_t>(Model().ChildCount(), LONG_MAX));
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override
    {
        return Guard(child, [&] {
            std::size_t c;
            if (!ChildOf(id, c) || c == TAccessibleForm::kSelf)
                return E_INVALIDARG;
            return Model().HasWindow(c) ? WindowObject(c, child) : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override
    {
        return Text(id, name, [](const TAccessibleForm& m, std::size_t c) { return m.Name(c); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override
    {
        return Text(id, value, [](const TAccessibleForm& m, std::size_t c) { return m.Value(c); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* description) override
    {
        return Text(id, description, [](const TAccessibleForm& m, std::size_t c) { return m.Description(c); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override
    {
        return Guard(role, [&] {
            std::size_t c;
            if (!ChildOf(id, c))
                return E_INVALIDARG;
            role->vt = VT_I4;
            role->lVal = RoleOf(Model().Role(c));
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override
    {
        return Guard(state, [&] {
            std::size_t c;
            if (!ChildOf(id, c))
                return E_INVALIDARG;
            const TAccessibleForm m = Model();
            LONG bits = StateOf(m.State(c, Client(), host_->Dpi()));
            const HWND focus = GetFocus();
            if (focus && focus == (c == TAccessibleForm::kSelf ? host_->Handle() : WindowOf(c)))
                bits |= STATE_SYSTEM_FOCUSED;
            state->vt = VT_I4;
            state->lVal = bits;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* help) override { return Nothing(id, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT id, LONG* topic) override
    {
        if (topic)
            *topic = 0;
        return Nothing(id, file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* shortcut) override
    {
        return Nothing(id, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        return Guard(focus, [&] {
            const HWND hwnd = GetFocus();
            if (hwnd && hwnd == host_->Handle())
                return Child(TAccessibleForm::kSelf, focus);
            for (const TControl* c : form_.WindowedControls())
                if (host_->WindowOf(*c) == hwnd)
                    return Child(Model().ChildOf(*c), focus);
            return S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        return Guard(selection, [&] {
            const std::size_t c = Model().Selection();
            return c == TAccessibleForm::kNone ? S_FALSE : Child(c, selection);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override
    {
        return Text(id, action, [](const TAccessibleForm& m, std::size_t c) { return m.DefaultAction(c); });
    }
    // Taking the selection is what choosing an item does; an item nothing chooses cannot take it.
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT id) override
    {
        return Guard([&] {
            std::size_t c;
            if (!ChildOf(id, c) || flags != SELFLAG_TAKESELECTION ||
                !(Model().State(c, {}, kDesignDpi) & asSelectable) || Model().DefaultAction(c).empty())
                return E_INVALIDARG;
            return host_->PostDefaultAction(c) ? S_OK : E_FAIL;
        });
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT id) override
    {
        return Guard([&] {
            std::size_t c;
            if (!left || !top || !width || !height)
                return E_POINTER;
            if (!ChildOf(id, c))
                return E_INVALIDARG;
            POINT origin{0, 0};
            ClientToScreen(host_->Handle(), &origin);
            const TRect64 r = Model().Location(c, Client(), host_->Dpi());
            *left = ClampToInt(r.left + origin.x);
            *top = ClampToInt(r.top + origin.y);
            *width = ClampToInt(r.right - r.left);
            *height = ClampToInt(r.bottom - r.top);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        return Guard(end, [&] {
            std::size_t c;
            if (!ChildOf(start, c))
                return E_INVALIDARG;
            TNavigation way;
            switch (direction) {
            case NAVDIR_NEXT:
                way = TNavigation::Next;
                break;
            case NAVDIR_PREVIOUS:
                way = TNavigation::Previous;
                break;
            case NAVDIR_FIRSTCHILD:
                way = TNavigation::FirstChild;
                break;
            case NAVDIR_LASTCHILD:
                way = TNavigation::LastChild;
                break;
            default:
                return DISP_E_MEMBERNOTFOUND;
            }
            const std::size_t to = Model().Navigate(c, way);
            return to == TAccessibleForm::kNone ? S_FALSE : Child(to, end);
        });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override
    {
        return Guard(hit, [&] {
            POINT p{x, y};
            ScreenToClient(host_->Handle(), &p);
            const std::size_t c = Model().HitTest({p.x, p.y}, Client(), host_->Dpi());
            return c == TAccessibleForm::kNone ? S_FALSE : Child(c, hit);
        });
    }
    // Runs later from the window procedure, as a click does, with the same error handling.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override
    {
        return Guard([&] {
            std::size_t c;
            if (!ChildOf(id, c))
                return E_INVALIDARG;
            if (Model().DefaultAction(c).empty())
                return DISP_E_MEMBERNOTFOUND;
            return host_->PostDefaultAction(c) ? S_OK : E_FAIL;
        });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

    // IEnumVARIANT: all the children in a few calls, as AccessibleChildren asks for them.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* children, ULONG* fetched) override
    {
        if (fetched)
            *fetched = 0;
        return Guard(children, [&] {
            const std::size_t total = Model().ChildCount();
            ULONG n = 0;
            for (; n < count && next_ < total; ++n) {
                const HRESULT hr = Child(++next_, &children[n]);
                if (FAILED(hr)) {
                    for (ULONG i = 0; i < n; ++i)
                        Clear(children[i]);
                    return hr;
                }
            }
            if (fetched)
                *fetched = n;
            return n == count ? S_OK : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        return Guard([&] {
            const std::size_t total = Model().ChildCount();
            next_ = std::min<std::size_t>(next_ + count, total);
            return next_ < total || count == 0 ? S_OK : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT**) override { return E_NOTIMPL; }

private:
    ~TAccessibleObject() = default;

    template <class Work>
    HRESULT Guard(Work work) noexcept
    {
        return Guarded(host_ != nullptr, work);
    }
    template <class Out, class Work>
    HRESULT Guard(Out* out, Work work) noexcept
    {
        return Guarded(host_ != nullptr, out, work);
    }

    template <class Read>
    HRESULT Text(VARIANT id, BSTR* out, Read read) noexcept
    {
        return Guard(out, [&] {
            std::size_t c;
            if (!ChildOf(id, c))
                return E_INVALIDARG;
            const std::wstring text = ToWide(read(Model(), c));
            if (text.empty())
                return S_FALSE;
            *out = AllocText(text);
            return *out ? S_OK : E_OUTOFMEMORY;
        });
    }
    HRESULT Nothing(VARIANT id, BSTR* out) noexcept
    {
        return Text(id, out, [](const TAccessibleForm&, std::size_t) { return std::string(); });
    }

    TAccessibleForm Model() const { return TAccessibleForm(form_); }
    // The client area in its own pixels.
    TRect64 Client() const
    {
        RECT r{};
        GetClientRect(host_->Handle(), &r);
        return ToRect64(r);
    }
    HWND WindowOf(std::size_t child) const
    {
        return Model().HasWindow(child) ? host_->WindowOf(Model().Control(child)) : nullptr;
    }

    // A child id from a client: a number, 0 for the client area itself.
    bool ChildOf(const VARIANT& id, std::size_t& child) const
    {
        if (id.vt != VT_I4 || id.lVal < 0)
            return false;
        child = static_cast<std::size_t>(id.lVal);
        return Model().IsValid(child);
    }
    // A child as a client expects it: the object of its own window, or its number.
    HRESULT Child(std::size_t child, VARIANT* out) const
    {
        if (child != TAccessibleForm::kSelf && Model().HasWindow(child)) {
            IDispatch* object = nullptr;
            const HRESULT hr = WindowObject(child, &object);
            if (FAILED(hr))
                return hr;
            out->vt = VT_DISPATCH;
            out->pdispVal = object;
            return S_OK;
        }
        out->vt = VT_I4;
        out->lVal = static_cast<LONG>(child);
        return S_OK;
    }
    HRESULT WindowObject(std::size_t child, IDispatch** object) const
    {
        const HWND hwnd = WindowOf(child);
        if (!hwnd)
            return E_FAIL;
        return Ole().accessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IDispatch),
                                                reinterpret_cast<void**>(object));
    }
    static void Clear(VARIANT& v)
    {
        if (v.vt == VT_DISPATCH && v.pdispVal)
            v.pdispVal->Release();
        v.vt = VT_EMPTY;
    }

    TForm& form_;
    const IAccessibleHost* host_;  // none once the window is gone
    std::size_t next_ = 0;         // the enumeration's position: children before it were handed out
};

bool TAccessibleClient::Available()
{
    return Ole().complete;
}

TAccessibleClient::TAccessibleClient(TForm& form, const IAccessibleHost& host)
    : object_(new TAccessibleObject(form, host))
{
}

TAccessibleClient::~TAccessibleClient()
{
    object_->Disconnect();
    Ole().coDisconnectObject(static_cast<IAccessible*>(object_), 0);
    object_->Release();
}

LRESULT TAccessibleClient::Answer(WPARAM wParam) const
{
    return Ole().lresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object_));
}

}  // namespace win32
