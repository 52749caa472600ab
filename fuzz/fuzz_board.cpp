// The whole start-up board: the bytes are sys.ini beside a pretend executable, the main
// window is built as the program builds it, checked, and destroyed again.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "IniFiles.h"
#include "headless/Headless.h"
#include "ui/Unit1.h"

namespace {

// The PC number a section name stands for: "PC" in any case, then a decimal number without
// leading zeros; 0 for anything else.
std::int64_t PcNumber(std::string_view name)
{
    if (name.size() < 3 || (name[0] != 'P' && name[0] != 'p') || (name[1] != 'C' && name[1] != 'c') || name[2] == '0')
        return 0;
    std::int64_t n = 0;
    for (const char c : name.substr(2)) {
        if (c < '0' || c > '9' || n > INT32_MAX)
            return 0;
        n = n * 10 + (c - '0');
    }
    return n > INT32_MAX ? 0 : n;
}

const std::string kOutOfOrder = "\xE6\x95\x85\xE9\x9A\x9C\xE4\xB8\xAD";  // 故障中

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto& scratch = fuzz::Scratch();
    const std::string board = scratch.Write("sys.ini", fuzz::Text(data, size));
    headless::Reset();
    headless::Recorder().exeName = (scratch.Dir() / "PcStatusBoard.exe").string();

    // What the board should show, from the same file read on its own.
    const TIniFile ini(board);
    const std::int32_t count = ini.ReadInteger("sys", "count", 0);
    std::vector<std::int64_t> numbers;
    for (const std::string_view name : ini.SectionNames()) {
        const std::int64_t n = PcNumber(name);
        if (n >= 1 && n < count)
            numbers.push_back(n);
    }

    // The window's own controls come first, then one label per PC, above them.
    static const std::size_t fixedControls = [] {
        const std::string saved = headless::Recorder().exeName;
        headless::Recorder().exeName = (fuzz::Scratch().Dir() / "empty" / "PcStatusBoard.exe").string();
        Application->CreateForm(Form1);
        const std::size_t n = Form1->Controls().size();
        Application->DestroyForms();
        Form1 = nullptr;
        headless::Recorder().exeName = saved;
        return n;
    }();

    Application->CreateForm(Form1);
    FUZZ_CHECK(Form1 != nullptr && Application->MainForm() == Form1);
    TForm1& form = *Form1;
    FUZZ_CHECK(form.Controls().size() == fixedControls + numbers.size());
    std::vector<TLabel*> labels;
    for (std::size_t i = fixedControls; i < form.Controls().size(); ++i) {
        auto* label = dynamic_cast<TLabel*>(form.Controls()[i]);
        FUZZ_CHECK(label != nullptr);
        labels.push_back(label);
    }

    for (const TLabel* label : labels) {
        FUZZ_CHECK(label->Color() == clYellow);
        FUZZ_CHECK(label->Name() == label->Caption());
        FUZZ_CHECK(label->Parent() == &form && label->Owner() == &form);
        FUZZ_CHECK(!label->AutoSize() && label->Alignment() == taCenter && label->Layout() == tlCenter);
        FUZZ_CHECK(static_cast<bool>(label->OnClick()));
    }
    // In ascending PC number, each with its own section's values.
    std::sort(numbers.begin(), numbers.end());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        FUZZ_CHECK(i == 0 || numbers[i] > numbers[i - 1]);
        const std::string section = "PC" + std::to_string(numbers[i]);
        const TLabel& label = *labels[i];
        FUZZ_CHECK(label.Caption() == ini.ReadString(section, "Caption", ""));
        FUZZ_CHECK(label.Left() == ini.ReadInteger(section, "Left", 0));
        FUZZ_CHECK(label.Top() == ini.ReadInteger(section, "Top", 0));
        FUZZ_CHECK(label.Width() == ini.ReadInteger(section, "Width", 0));
        FUZZ_CHECK(label.Height() == ini.ReadInteger(section, "Height", 0));
    }
    FUZZ_CHECK(headless::Recorder().messages.empty());

    // Operating the board: whatever the file held, a PC is found where it lies (at 96 and at
    // 144 DPI), and selecting and marking it behave as the operators are told.
    for (std::size_t i = 0; i < labels.size() && i < 64; ++i) {
        TLabel& label = *labels[i];
        const TRect64 r = label.BoundsRect();
        for (const int dpi : {kDesignDpi, 144}) {
            const TRect64 scaled = ScaleToDpi(r, dpi);
            const TControl* hit = form.ControlAt(scaled.left, scaled.top, dpi);
            FUZZ_CHECK(hit != nullptr || !scaled.Contains(scaled.left, scaled.top));
            if (hit)
                FUZZ_CHECK(ScaleToDpi(hit->BoundsRect(), dpi).Contains(scaled.left, scaled.top));
        }
        label.Click();
        FUZZ_CHECK(form.Edit1->Text() == label.Caption() && form.Edit2->Text().empty());
        form.Button1->Click();
        FUZZ_CHECK(label.Color() == clRed && form.Edit1->Text() == label.Caption() && form.Edit2->Text() == kOutOfOrder);
        form.Edit1->SetText("typed");
        label.Click();
        FUZZ_CHECK(form.Edit1->Text() == "typed" && form.Edit2->Text() == kOutOfOrder);
        form.Button1->Click();
        FUZZ_CHECK(label.Color() == clYellow && form.Edit1->Text() == label.Caption() && form.Edit2->Text().empty());
    }

    Application->DestroyForms();
    Form1 = nullptr;
    FUZZ_CHECK(Application->ComponentCount() == 0 && Application->MainForm() == nullptr);
    return 0;
}
