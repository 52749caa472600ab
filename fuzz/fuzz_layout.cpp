// Layout text: ParseLayout and TForm::LoadLayout may only fail with Exception; what parses
// prints back to text that parses to the same tree; what loads binds every published field.
#include <cstdint>
#include <string>

#include "Forms.h"
#include "FuzzSupport.h"
#include "Layout.h"
#include "SysUtils.h"

namespace {

class TFuzzForm : public TForm {
public:
    TButton* Button1 = nullptr;
    TEdit* Edit1 = nullptr;
    TLabel* Label1 = nullptr;
    int clicks = 0;

    TFuzzForm() : TForm(nullptr) {}

    TPublished Published()
    {
        return {"TForm1",
                {PublishedField("Button1", Button1), PublishedField("Edit1", Edit1), PublishedField("Label1", Label1)},
                {{"Button1Click", [this](TObject*) { ++clicks; }}}};
    }
};

void Print(const TLayoutObject& object, int depth, std::string& out)
{
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    out += indent + "object " + object.name + ": " + object.className + "\n";
    for (const TLayoutProperty& p : object.properties) {
        out += indent + "  " + p.name + " = ";
        switch (p.value.kind) {
        case TLayoutValue::Integer:
            out += IntToStr(p.value.integer);
            break;
        case TLayoutValue::Identifier:
            out += p.value.text;
            break;
        case TLayoutValue::String:
            out += '\'';
            for (const char c : p.value.text)
                out += c == '\'' ? std::string("''") : std::string(1, c);
            out += '\'';
            break;
        }
        out += "\n";
    }
    for (const TLayoutObject& child : object.children)
        Print(child, depth + 1, out);
    out += indent + "end\n";
}

std::string Print(const TLayoutObject& root)
{
    std::string out;
    Print(root, 0, out);
    return out;
}

std::size_t LineCount(std::string_view text)
{
    std::size_t lines = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        if (text[i] == '\r' || text[i] == '\n')
            ++lines;
    }
    return lines;
}

// Every failure names a line of the text.
void CheckMessage(const Exception& e, std::string_view text)
{
    static constexpr std::string_view kPrefix = "Layout error at line ";
    const std::string& message = e.Message();
    FUZZ_CHECK(message.compare(0, kPrefix.size(), kPrefix) == 0);
    const std::string_view rest = std::string_view(message).substr(kPrefix.size());
    const std::size_t colon = rest.find(':');
    FUZZ_CHECK(colon != std::string_view::npos);
    std::int32_t line = 0;
    FUZZ_CHECK(TryStrToInt(rest.substr(0, colon), line));
    FUZZ_CHECK(line >= 1 && static_cast<std::size_t>(line) <= LineCount(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::Text(data, size);

    bool parsed = false;
    try {
        const TLayoutObject root = ParseLayout(text);
        parsed = true;
        const std::string printed = Print(root);
        FUZZ_CHECK(Print(ParseLayout(printed)) == printed);
    } catch (const Exception& e) {
        FUZZ_CHECK(!parsed);
        CheckMessage(e, text);
    }

    TFuzzForm form;
    bool loaded = false;
    try {
        form.LoadLayout(text, form.Published());
        loaded = true;
    } catch (const Exception& e) {
        CheckMessage(e, text);
    }
    FUZZ_CHECK(parsed || !loaded);
    if (loaded) {
        FUZZ_CHECK(form.Button1 && form.Edit1 && form.Label1);
        FUZZ_CHECK(form.Controls().size() == 3);
        FUZZ_CHECK(form.ComponentCount() == 3);
        for (TControl* c : {static_cast<TControl*>(form.Button1), static_cast<TControl*>(form.Edit1),
                            static_cast<TControl*>(form.Label1)})
            FUZZ_CHECK(c->Parent() == &form && c->Owner() == &form);
        FUZZ_CHECK(form.Button1->Name() == "Button1" && form.Edit1->Name() == "Edit1" && form.Label1->Name() == "Label1");
        const int before = form.clicks;
        form.Button1->Click();
        form.Label1->Click();
        form.Edit1->Click();
        FUZZ_CHECK(form.clicks >= before && form.clicks <= before + 3);
    }
    return 0;
}
