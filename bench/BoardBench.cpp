// Board loading: read the board file and make the labels, on the headless backend.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>

#include "tests/support/HeadlessBoard.h"

namespace {

// Board loading on the headless driver that the tests use: a board of the given PC sections
// beside a pretend executable, loaded as start-up loads it.
void LoadBoard(benchmark::State& state, const std::string& tag, std::int64_t count, std::int64_t sections,
               std::int64_t pcs)
{
    psbtest::HeadlessBoard board(tag);
    std::string bytes = "[sys]\ncount=" + std::to_string(count) + "\n";
    for (std::int64_t i = 1; i <= sections; ++i)
        bytes += "[PC" + std::to_string(i) + "]\nCaption=PC-" + std::to_string(i) +
                 "\nLeft=" + std::to_string((i % 40) * 24) + "\nTop=" + std::to_string((i / 40) % 30 * 16) +
                 "\nWidth=22\nHeight=14\n";
    board.Write(bytes);
    std::size_t heap = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        board.Build();
        heap = mallinfo2().uordblks - before;
        state.PauseTiming();
        board.Destroy();
        state.ResumeTiming();
    }
    state.counters["time_per_pc"] = benchmark::Counter(
        static_cast<double>(pcs), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["bytes_per_pc"] = static_cast<double>(heap) / static_cast<double>(pcs);
}

void BM_LoadBoard(benchmark::State& state)
{
    const std::int64_t pcs = state.range(0);
    LoadBoard(state, "bench-n" + std::to_string(pcs), pcs + 1, pcs, pcs);
}
BENCHMARK(BM_LoadBoard)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// count 4 and count 2147483647 over the same three sections: the count itself costs nothing.
void BM_LoadBoardThreeSections(benchmark::State& state)
{
    const std::int64_t count = state.range(0);
    LoadBoard(state, "bench-c" + std::to_string(count), count, 3, 3);
}
BENCHMARK(BM_LoadBoardThreeSections)->Arg(4)->Arg(2147483647)->Unit(benchmark::kMicrosecond);

}  // namespace
