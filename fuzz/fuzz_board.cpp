// The bytes as sys.ini beside a pretend executable: the main window built and checked against it.
#include "board/BoardFile.h"
#include "fuzz/FuzzSupport.h"
#include "platform/text/IniFiles.h"
#include "tests/support/HeadlessBoard.h"

// "PC" in any case and a number without leading zeros (capped); 0 or less for other names.
static std::int64_t PcNumber(std::string_view name)
{
    std::int64_t n = name.size() > 2 && fuzz::SameText(name.substr(0, 2), "pc") && name[2] != '0' ? 0 : -1;
    for (std::size_t i = 2; i < name.size() && n >= 0; ++i)
        n = name[i] < '0' || name[i] > '9' ? -1
                                           : std::min<std::int64_t>(n * 10 + (name[i] - '0'), std::int64_t{1} << 40);
    return n;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static psbtest::HeadlessBoard board("fuzz-board");
    board.Write(fuzz::Text(data, size));
    const TIniFile ini(board.BoardPath().string());
    const std::int32_t count = ini.ReadInteger("sys", "count", 0);
    std::vector<std::int64_t> numbers;
    for (const std::string_view name : ini.SectionNames())
        if (const std::int64_t n = PcNumber(name); n >= 1 && n < count)
            numbers.push_back(n);
    std::sort(numbers.begin(), numbers.end());

    TForm1& form = board.Build();
    FUZZ_CHECK(Application->MainForm() == &form && headless::Recorder().messages.empty());
    const std::vector<TLabel*> labels = psbtest::HeadlessBoard::Labels(form);
    FUZZ_CHECK(labels.size() == numbers.size());
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        // In ascending PC number, each with its own section's values.
        const TLabel& label = *labels[i];
        const board::TPcEntry entry = board::ReadPcEntry(ini, static_cast<std::int32_t>(numbers[i]));
        FUZZ_CHECK(label.Caption() == entry.caption && label.Name() == label.Caption());
        FUZZ_CHECK(label.Left() == entry.left && label.Top() == entry.top && label.Width() == entry.width &&
                   label.Height() == entry.height && label.Color() == clYellow);
    }
    board.Destroy();
    return 0;
}
