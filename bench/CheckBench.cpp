// boardcheck on large boards: decoding, reading, every rule and the overlaps, from the bytes.
#include <benchmark/benchmark.h>

#include <string>

#include "check/BoardCheck.h"

namespace {

// 1,200 places, so from 1,200 PCs on every new label lands on an earlier one: most labels
// end up covered, the case where pairwise comparison would hurt most.
std::string Board(std::int64_t pcs)
{
    std::string board = "[sys]\ncount=" + std::to_string(pcs + 1) + "\n";
    for (std::int64_t i = 1; i <= pcs; ++i)
        board += "[PC" + std::to_string(i) + "]\nCaption=PC-" + std::to_string(i) +
                 "\nLeft=" + std::to_string((i % 40) * 17) + "\nTop=" + std::to_string((i / 40) % 30 * 13) +
                 "\nWidth=22\nHeight=14\n";
    return board;
}

void BM_CheckBoard(benchmark::State& state)
{
    const std::string board = Board(state.range(0));
    std::size_t findings = 0;
    for (auto _ : state)
        findings = check::CheckBoard(board).findings.size();
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_CheckBoard)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
