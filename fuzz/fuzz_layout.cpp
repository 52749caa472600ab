// Layout text: ParseLayout and TForm::LoadLayout may fail only with Exception, and a load
// that succeeds binds every published field.
#include "Forms.h"
#include "FuzzSupport.h"
#include "Layout.h"
#include "SysUtils.h"

// True when the step succeeds; it may fail only with an Exception naming the line at fault.
template <class TStep>
static bool Succeeds(TStep step)
{
    try {
        step();
        return true;
    } catch (const Exception& e) {
        FUZZ_CHECK(e.Message().starts_with("Layout error at line "));
        return false;
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::Text(data, size);
    const bool parsed = Succeeds([&] { (void)ParseLayout(text); });
    TForm form(nullptr);
    TButton* button = nullptr;
    TEdit* edit = nullptr;
    TLabel* label = nullptr;
    const bool loaded = Succeeds([&] {
        form.LoadLayout(text, {"TForm1",
                               {PublishedField("Button1", button), PublishedField("Edit1", edit), PublishedField("Label1", label)},
                               {{"Button1Click", [](TObject*) {}}}});
    });
    FUZZ_CHECK(parsed || !loaded);
    if (!loaded)
        return 0;
    FUZZ_CHECK(form.Controls().size() == 3 && form.ComponentCount() == 3);
    for (TControl* c : {static_cast<TControl*>(button), static_cast<TControl*>(edit), static_cast<TControl*>(label)})
        FUZZ_CHECK(c && c->Parent() == &form && c->Owner() == &form);
    FUZZ_CHECK(button->Name() == "Button1" && edit->Name() == "Edit1" && label->Name() == "Label1");
    return 0;
}
