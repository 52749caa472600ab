// The client area's accessible object outlives its window only as one that answers with errors.
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
