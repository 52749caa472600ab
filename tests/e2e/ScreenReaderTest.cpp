// The running program read from outside through Active Accessibility, as a screen reader
// does: what the Windows object adds to the headless model.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <optional>

#include "tests/support/Msaa.h"
#include "tests/support/SevenSteps.h"
#include "tests/support/WinProgram.h"
#include "tests/support/WinThread.h"

namespace {

using psbtest::ChildId;
using psbtest::Program;
using psbtest::WaitFor;

// A and B in the client area; PC5 far outside it, PC6 of no size.
const char kReadBoard[] =
    "[sys]\ncount=7\n"
    "[PC1]\nCaption=A\nLeft=40\nTop=40\nWidth=100\nHeight=60\n"
    "[PC2]\nCaption=B\nLeft=200\nTop=40\nWidth=100\nHeight=60\n"
    "[PC5]\nCaption=away\nLeft=3000\nTop=40\nWidth=30\nHeight=30\n"
    "[PC6]\nCaption=flat\nLeft=420\nTop=40\nWidth=0\nHeight=30\n";

// The program's WinEvents about one child of its client area, as they come.
LONG watched = 0;
std::vector<DWORD> events;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD)
{
    if (object == OBJID_CLIENT && child == watched)
        events.push_back(event);
}

// The text that a getter hands out, freed.
std::string Text(const std::function<void(BSTR*)>& get)
{
    BSTR text = nullptr;
    get(&text);
    const std::string s = text ? FromWide(std::wstring_view(text, SysStringLen(text))) : std::string();
    SysFreeString(text);
    return s;
}

struct TChild {
    LONG id;
    IAccessible* object;  // for a child with a window of its own
};

class ScreenReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(p_.Start()) << p_.Error();
        // Ends the program when the test overruns: a call into a hung program never returns.
        watchdog_.emplace([process = p_.ProcessHandle()](const std::atomic_bool& stop) {
            for (int tenths = 0; tenths < 1500 && !stop; ++tenths)
                Sleep(100);
            if (!stop)
                TerminateProcess(process, 98);
        });
        ASSERT_EQ(AccessibleObjectFromWindow(p_.Form(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&client_)),
                  S_OK);
        LONG count = 0;
        ASSERT_EQ(client_->get_accChildCount(&count), S_OK);
        std::vector<VARIANT> children(static_cast<std::size_t>(count));
        LONG got = 0;
        ASSERT_EQ(AccessibleChildren(client_, 0, count, children.data(), &got), S_OK);
        ASSERT_EQ(got, count);
        for (LONG i = 0; i < got; ++i) {
            const VARIANT& v = children[static_cast<std::size_t>(i)];
            IAccessible* object = nullptr;
            if (v.vt == VT_DISPATCH) {
                v.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&object));
                v.pdispVal->Release();
            }
            children_.push_back({i + 1, object});
            ASSERT_TRUE(v.vt == VT_I4 ? v.lVal == i + 1 : object != nullptr) << "child " << i + 1;
        }
    }

    void TearDown() override
    {
        for (const TChild& c : children_)
            if (c.object)
                c.object->Release();
        if (client_)
            client_->Release();
        CoUninitialize();
    }

    // Asked of the child's own object when it has one, as a screen reader does.
    std::string Name(const TChild& c) const
    {
        IAccessible* of = c.object ? c.object : client_;
        return Text([&](BSTR* t) { of->get_accName(ChildId(c.object ? CHILDID_SELF : c.id), t); });
    }
    std::string Value(LONG id) const
    {
        return Text([&](BSTR* t) { client_->get_accValue(ChildId(id), t); });
    }
    // Asked of the client area (Wine's objects of windows call every window a client).
    LONG Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), LONG id) const
    {
        VARIANT n{};
        (client_->*get)(ChildId(id), &n);
        return n.vt == VT_I4 ? n.lVal : -1;
    }
    LONG Role(const TChild& c) const { return Number(&IAccessible::get_accRole, c.id); }
    LONG State(LONG id) const { return Number(&IAccessible::get_accState, id); }
    RECT Location(LONG id) const
    {
        LONG x = 0, y = 0, w = 0, h = 0;
        client_->accLocation(&x, &y, &w, &h, ChildId(id));
        return {x, y, x + w, y + h};
    }
    // A rectangle of the client area, on the screen.
    RECT OnScreen(LONG left, LONG top, LONG width, LONG height) const
    {
        RECT r{left, top, left + width, top + height};
        MapWindowPoints(p_.Form(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    const TChild* Named(const std::string& name) const
    {
        for (const TChild& c : children_)
            if (Name(c) == name)
                return &c;
        return nullptr;
    }

    Program p_{kReadBoard};
    std::optional<psbtest::TThread> watchdog_;
    IAccessible* client_ = nullptr;
    std::vector<TChild> children_;
};

TEST_F(ScreenReader, ReadsTheBoardWhereItIsPaintedAndFollowsIt)
{
    EXPECT_EQ(Role({CHILDID_SELF, nullptr}), ROLE_SYSTEM_CLIENT);
    // PCs: names, places and states as the headless model has them, on the screen.
    std::vector<LONG> pcs;
    for (const TChild& c : children_)
        if (!c.object && Role(c) == ROLE_SYSTEM_LISTITEM)
            pcs.push_back(c.id);
    ASSERT_EQ(pcs.size(), 4u);
    struct TPc {
        const char* name;
        RECT place;
        LONG hidden;
    } expected[] = {
        {"A", OnScreen(40, 40, 100, 60), 0},
        {"B", OnScreen(200, 40, 100, 60), 0},
        {"away", OnScreen(3000, 40, 30, 30), STATE_SYSTEM_OFFSCREEN},
        {"flat", OnScreen(420, 40, 0, 0), STATE_SYSTEM_INVISIBLE},
    };
    for (std::size_t i = 0; i < pcs.size(); ++i) {
        const TPc& e = expected[i];
        EXPECT_EQ(Name({pcs[i], nullptr}), e.name);
        const RECT r = Location(pcs[i]);
        EXPECT_TRUE(e.hidden == STATE_SYSTEM_INVISIBLE || EqualRect(&r, &e.place)) << e.name << " at " << r.left;
        EXPECT_EQ(State(pcs[i]), STATE_SYSTEM_SELECTABLE | e.hidden) << e.name;
    }

    // The fixed controls: a label as a static text, the button as the object of its window.
    const TChild* label = Named("名稱：");
    ASSERT_TRUE(label && !label->object);
    EXPECT_EQ(Role(*label), ROLE_SYSTEM_STATICTEXT);
    const TChild* button = Named("故障設定");
    ASSERT_TRUE(button && button->object);
    EXPECT_EQ(Role(*button), ROLE_SYSTEM_PUSHBUTTON);
    const std::vector<LONG> laid = psbtest::LaidOut("Button1");
    const RECT buttonPlace = OnScreen(laid[0], laid[1], laid[2], laid[3]);
    const RECT buttonRead = Location(button->id);
    EXPECT_TRUE(EqualRect(&buttonRead, &buttonPlace));
    // Each field is named by its label, read from the field's own window as the focus is.
    std::vector<std::string> fields;
    for (const TChild& c : children_)
        if (c.object && Role(c) == ROLE_SYSTEM_TEXT)
            fields.push_back(Name(c));
    EXPECT_EQ(fields, (std::vector<std::string>{"名稱：", "狀態："}));

    // A point on B is B's, one on the button is the button's object.
    const RECT b = expected[1].place;
    VARIANT hit{};
    ASSERT_EQ(client_->accHitTest(b.left + 5, b.top + 5, &hit), S_OK);
    EXPECT_TRUE(hit.vt == VT_I4 && hit.lVal == pcs[1]);
    ASSERT_EQ(client_->accHitTest(buttonPlace.left + 5, buttonPlace.top + 5, &hit), S_OK);
    ASSERT_EQ(hit.vt, VT_DISPATCH);
    hit.pdispVal->Release();

    // A's default action selects it as a click does; then the real button marks it out of order.
    watched = pcs[0];
    events.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_SELECTION, EVENT_OBJECT_VALUECHANGE, nullptr, &OnEvent,
                                         p_.ProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_TRUE(hook);
    ASSERT_EQ(client_->accDoDefaultAction(ChildId(pcs[0])), S_OK);
    EXPECT_TRUE(WaitFor([&] { return p_.Edit1() == "A"; }));
    VARIANT selection{};
    ASSERT_EQ(client_->get_accSelection(&selection), S_OK);
    EXPECT_TRUE(selection.vt == VT_I4 && selection.lVal == pcs[0]);
    EXPECT_EQ(State(pcs[0]), STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_SELECTED);
    p_.Press();
    EXPECT_TRUE(WaitFor([&] { return Value(pcs[0]) == psbtest::kOutOfOrder; }));
    EXPECT_EQ(p_.Edit2(), psbtest::kOutOfOrder);

    // The button as a screen reader presses it: A back in service.
    ASSERT_EQ(client_->accDoDefaultAction(ChildId(button->id)), S_OK);
    EXPECT_TRUE(WaitFor([&] { return Value(pcs[0]).empty() && p_.Edit2().empty(); }));

    // Each change of status: its state, its value (the status) and its description, in turn.
    const DWORD state = EVENT_OBJECT_STATECHANGE, value = EVENT_OBJECT_VALUECHANGE,
                description = EVENT_OBJECT_DESCRIPTIONCHANGE;
    const std::vector<DWORD> marking{EVENT_OBJECT_SELECTION, state, value, description, state, value, description};
    EXPECT_TRUE(WaitFor([&] { return events == marking; })) << testing::PrintToString(events);
    UnhookWinEvent(hook);

    // An event leads to the object that sent it.
    IAccessible* from = nullptr;
    VARIANT child{};
    ASSERT_EQ(AccessibleObjectFromEvent(p_.Form(), static_cast<DWORD>(OBJID_CLIENT), pcs[0], &from, &child), S_OK);
    EXPECT_EQ(Text([&](BSTR* t) { from->get_accName(child, t); }), "A");
    from->Release();

    // Navigation walks the children in order.
    VARIANT to{};
    ASSERT_EQ(client_->accNavigate(NAVDIR_NEXT, ChildId(pcs[0]), &to), S_OK);
    EXPECT_TRUE(to.vt == VT_I4 && to.lVal == pcs[1]);
    EXPECT_EQ(client_->accNavigate(NAVDIR_NEXT, ChildId(pcs.back()), &to), S_FALSE);
}

}  // namespace
