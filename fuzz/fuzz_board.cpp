// The whole start-up board: the bytes are sys.ini beside a pretend executable; the main
// window is built as the program builds it, checked against the same file, and destroyed.
#include "FuzzSupport.h"
#include "IniFiles.h"
#include "headless/Headless.h"
#include "ui/Unit1.h"

// "PC" in any case, then a decimal number without leading zeros (capped far above any
// count); 0 or less for any other name.
static std::int64_t PcNumber(std::string_view name)
{
    std::int64_t n = name.size() > 2 && fuzz::SameText(name.substr(0, 2), "pc") && name[2] != '0' ? 0 : -1;
    for (std::size_t i = 2; i < name.size() && n >= 0; ++i)
        n = name[i] < '0' || name[i] > '9' ? -1 : std::min<std::int64_t>(n * 10 + (name[i] - '0'), std::int64_t{1} << 40);
    return n;
}

// The window with its executable in the given folder; all of the last one went again.
static std::size_t CreateBoard(const std::filesystem::path& folder)
{
    FUZZ_CHECK(Application->ComponentCount() == 0 && Application->MainForm() == nullptr);
    headless::Reset();
    headless::Recorder().exeName = (folder / "PcStatusBoard.exe").string();
    Form1 = nullptr;
    Application->CreateForm(Form1);
    FUZZ_CHECK(Form1 != nullptr && Application->MainForm() == Form1);
    return Form1->Controls().size();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The window's own controls come first, then one label per PC.
    const std::filesystem::path folder = std::filesystem::path(fuzz::WriteScratch("sys.ini", fuzz::Text(data, size))).parent_path();
    static const std::size_t fixedControls = [&] { const std::size_t n = CreateBoard(folder / "empty"); Application->DestroyForms(); return n; }();
    const TIniFile ini((folder / "sys.ini").string());
    const std::int32_t count = ini.ReadInteger("sys", "count", 0);
    std::vector<std::int64_t> numbers;
    for (const std::string_view name : ini.SectionNames())
        if (const std::int64_t n = PcNumber(name); n >= 1 && n < count)
            numbers.push_back(n);
    std::sort(numbers.begin(), numbers.end());

    FUZZ_CHECK(CreateBoard(folder) == fixedControls + numbers.size());
    FUZZ_CHECK(headless::Recorder().messages.empty());
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const auto* label = dynamic_cast<const TLabel*>(Form1->Controls()[fixedControls + i]);
        FUZZ_CHECK(label && label->Color() == clYellow && label->Name() == label->Caption() && label->OnClick());
        FUZZ_CHECK(label->Parent() == Form1 && label->Owner() == Form1);
        FUZZ_CHECK(!label->AutoSize() && label->Alignment() == taCenter && label->Layout() == tlCenter);
        // In ascending PC number, each with its own section's values.
        const std::string section = "PC" + std::to_string(numbers[i]);
        const auto read = [&](const char* key) { return ini.ReadInteger(section, key, 0); };
        FUZZ_CHECK(label->Caption() == ini.ReadString(section, "Caption", "") && label->Left() == read("Left"));
        FUZZ_CHECK(label->Top() == read("Top") && label->Width() == read("Width") && label->Height() == read("Height"));
    }
    Application->DestroyForms();
    return 0;
}
