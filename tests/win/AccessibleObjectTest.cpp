// The accessible objects of a form and of its native controls' windows: what they answer, and that
// they outlive their windows only as objects that answer with errors.
#include <gtest/gtest.h>
#include <oleacc.h>

#include "platform/forms/Forms.h"
#include "tests/support/Msaa.h"

namespace {

TEST(AccessibleObject, AnswersUntilTheWindowGoesThenOnlyFails)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    auto* form = new TForm(nullptr);
    form->SetBounds(100, 100, 300, 200);
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(10, 10, 100, 40);
    label->SetCaption("PC-01");
    label->SetOnClick([](TObject*) {});
    form->Show();
    const HWND hwnd = FindWindowW(L"PcStatusBoardForm", nullptr);
    ASSERT_TRUE(hwnd);

    IAccessible* object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&object)),
              S_OK);
    const VARIANT child = psbtest::ChildId(1);
    BSTR name = nullptr;
    ASSERT_EQ(object->get_accName(child, &name), S_OK);
    EXPECT_EQ(std::wstring(name), L"PC-01");
    SysFreeString(name);
    delete form;
    EXPECT_FALSE(IsWindow(hwnd));
    LONG count = 0;
    EXPECT_EQ(object->get_accChildCount(&count), RPC_E_DISCONNECTED);
    EXPECT_EQ(object->get_accName(child, &name), RPC_E_DISCONNECTED);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(object->accDoDefaultAction(child), RPC_E_DISCONNECTED);
    // The last reference frees it.
    EXPECT_EQ(object->Release(), 0u);
    CoUninitialize();
}

}  // namespace

namespace {

// A form that names its field, as a form names a field by the caption it paints beside it.
class TFieldForm : public TForm {
public:
    TFieldForm() : TForm(nullptr) {}
    std::string AccessibleName(const TControl& control) const override
    {
        return &control == field ? "Rows" : TForm::AccessibleName(control);
    }
    // Every painted control is an item, those without a click too.
    bool IsItem(const TControl& control) const override { return control.IsWindowless(); }
    TEdit* field = nullptr;
};

IAccessible* ObjectOf(HWND hwnd)
{
    IAccessible* object = nullptr;
    AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                               reinterpret_cast<void**>(&object));
    return object;
}

std::wstring NameOf(IAccessible* object, LONG child)
{
    BSTR name = nullptr;
    object->get_accName(psbtest::ChildId(child), &name);
    std::wstring s = name ? name : L"";
    SysFreeString(name);
    return s;
}

LONG StateOf(IAccessible* object, LONG child)
{
    VARIANT state{};
    object->get_accState(psbtest::ChildId(child), &state);
    return state.vt == VT_I4 ? state.lVal : -1;
}

// A native control's own window speaks for its control: the field by the name its form gives
// it, the list by its lines, as many as it holds, made when read; a line is selected as the
// user selects one. Once the window is gone, only errors.
TEST(AccessibleObject, ANativeControlsWindowSpeaksForItsControl)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    auto* form = new TFieldForm;
    form->SetBounds(100, 100, 300, 300);
    form->field = new TEdit(form);
    form->field->SetBounds(8, 8, 100, 21);
    form->field->SetParent(form);
    auto* list = new TListBox(form);
    list->SetBounds(8, 40, 200, 200);
    list->SetParent(form);
    list->SetLines(10000, [](std::size_t i) { return "finding " + std::to_string(i + 1); });
    int picked = -2;
    list->SetOnClick([&](TObject*) { picked = list->ItemIndex(); });
    auto* idle = new TLabel(form);
    idle->SetBounds(220, 8, 40, 20);
    idle->SetParent(form);
    form->Show();
    const HWND hwnd = FindWindowW(L"PcStatusBoardForm", nullptr);
    // An item that nothing chooses has no action, and says so rather than doing nothing.
    IAccessible* client = ObjectOf(hwnd);
    ASSERT_TRUE(client);
    const VARIANT idleId = psbtest::ChildId(3);
    BSTR action = nullptr;
    EXPECT_EQ(client->get_accDefaultAction(idleId, &action), S_FALSE);
    EXPECT_EQ(client->accDoDefaultAction(idleId), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(client->accSelect(SELFLAG_TAKESELECTION, idleId), E_INVALIDARG);
    client->Release();
    IAccessible* field = ObjectOf(FindWindowExW(hwnd, nullptr, L"Edit", nullptr));
    IAccessible* lines = ObjectOf(FindWindowExW(hwnd, nullptr, L"ListBox", nullptr));
    ASSERT_TRUE(field && lines);

    EXPECT_EQ(NameOf(field, CHILDID_SELF), L"Rows");
    LONG count = 0;
    ASSERT_EQ(lines->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 10000);
    EXPECT_EQ(NameOf(lines, 10000), L"finding 10000");
    BSTR none = nullptr;
    EXPECT_EQ(lines->get_accName(psbtest::ChildId(10001), &none), E_INVALIDARG);
    VARIANT role{};
    ASSERT_EQ(lines->get_accRole(psbtest::ChildId(1), &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_LISTITEM);
    EXPECT_FALSE(StateOf(lines, 1) & STATE_SYSTEM_OFFSCREEN);
    EXPECT_TRUE(StateOf(lines, 10000) & STATE_SYSTEM_OFFSCREEN) << "scrolled away";
    EXPECT_EQ(lines->accDoDefaultAction(psbtest::ChildId(3)), DISP_E_MEMBERNOTFOUND) << "none, so none is done";

    ASSERT_EQ(lines->accSelect(SELFLAG_TAKESELECTION, psbtest::ChildId(3)), S_OK);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_EQ(picked, 2);
    EXPECT_TRUE(StateOf(lines, 3) & STATE_SYSTEM_SELECTED);
    VARIANT selection{};
    ASSERT_EQ(lines->get_accSelection(&selection), S_OK);
    EXPECT_TRUE(selection.vt == VT_I4 && selection.lVal == 3);

    delete form;
    EXPECT_EQ(field->get_accName(psbtest::ChildId(CHILDID_SELF), &none), RPC_E_DISCONNECTED);
    EXPECT_EQ(lines->get_accChildCount(&count), RPC_E_DISCONNECTED);
    EXPECT_EQ(field->Release(), 0u);
    EXPECT_EQ(lines->Release(), 0u);
    CoUninitialize();
}

}  // namespace
