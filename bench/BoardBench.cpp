// Board loading: read the board file and make the labels, on the headless backend.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "headless/Headless.h"
#include "ui/Unit1.h"

namespace {

// Writes a board of the given PC sections beside a pretend executable.
std::filesystem::path WriteBoard(const std::string& name, std::int64_t count, std::int64_t sections)
{
    const auto dir = std::filesystem::temp_directory_path() / ("psb-bench-" + std::to_string(getpid()) + "-" + name);
    std::filesystem::create_directories(dir);
    std::ofstream out(dir / "sys.ini", std::ios::binary);
    out << "[sys]\ncount=" << count << "\n";
    for (std::int64_t i = 1; i <= sections; ++i)
        out << "[PC" << i << "]\nCaption=PC-" << i << "\nLeft=" << (i % 40) * 24 << "\nTop=" << (i / 40) % 30 * 16
            << "\nWidth=22\nHeight=14\n";
    return dir;
}

void LoadBoard(benchmark::State& state, const std::filesystem::path& dir, std::int64_t pcs)
{
    headless::Reset();
    headless::Recorder().exeName = (dir / "PcStatusBoard.exe").string();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        Application->CreateForm(Form1);
        bytes = mallinfo2().uordblks - before;
        state.PauseTiming();
        Application->DestroyForms();
        state.ResumeTiming();
    }
    state.counters["time_per_pc"] =
        benchmark::Counter(static_cast<double>(pcs), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["bytes_per_pc"] = static_cast<double>(bytes) / static_cast<double>(pcs);
    std::filesystem::remove_all(dir);
}

void BM_LoadBoard(benchmark::State& state)
{
    const std::int64_t pcs = state.range(0);
    LoadBoard(state, WriteBoard("n" + std::to_string(pcs), pcs + 1, pcs), pcs);
}
BENCHMARK(BM_LoadBoard)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// count 4 and count 2147483647 over the same three sections: the count itself costs nothing.
void BM_LoadBoardThreeSections(benchmark::State& state)
{
    const std::int64_t count = state.range(0);
    LoadBoard(state, WriteBoard("c" + std::to_string(count), count, 3), 3);
}
BENCHMARK(BM_LoadBoardThreeSections)->Arg(4)->Arg(2147483647)->Unit(benchmark::kMicrosecond);

}  // namespace
