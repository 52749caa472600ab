// Merging my steps onto a board someone else saved: 100 steps on a board of 10,000 PCs, with
// both files read, their PCs matched, every step made again and the result let go; in this
// thread's processor time.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench/ThreadClock.h"
#include "board/Merge.h"

namespace {

std::string Board(int pcs)
{
    std::string bytes = "[sys]\r\ncount=" + std::to_string(pcs + 1) + "\r\n";
    for (int i = 1; i <= pcs; ++i)
        bytes += "[PC" + std::to_string(i) + "]\r\nCaption=PC-" + std::to_string(i) +
                 "\r\nLeft=" + std::to_string((i % 100) * 24) + "\r\nTop=" + std::to_string(i / 100 * 16) +
                 "\r\nWidth=22\r\nHeight=14\r\n";
    return bytes;
}

void BM_Merge(benchmark::State& state)
{
    const int pcs = static_cast<int>(state.range(0)), steps = static_cast<int>(state.range(1));
    const std::string opened = Board(pcs);
    // Mine: values over the whole board, a few PCs added, deleted and moved.
    board::TBoardDocument mine(opened);
    std::vector<std::size_t> mineSet;  // opened places of PCs whose Left I set
    for (int i = 0; i < steps; ++i) {
        const auto place = static_cast<std::size_t>(i) * 97 % mine.Pcs().size();
        switch (i % 20) {
        case 0:
            mine.AddPc({"mine-" + std::to_string(i), 5, 5, 10, 10});
            break;
        case 1:
            mine.DeletePc(place);
            break;
        case 2:
            mine.MovePc(place, static_cast<std::int32_t>(place / 2 + 1));
            break;
        default:
            if (const std::string& caption = mine.Pcs()[place].entry.caption; i % 2 && caption.rfind("PC-", 0) == 0)
                mineSet.push_back(std::stoul(caption.substr(3)) - 1);
            mine.SetValue(place, i % 2 ? board::TPcKey::Left : board::TPcKey::Caption, std::to_string(i));
        }
    }
    // Theirs: some of the same values changed, and PCs deleted and added at the front, so that
    // all of mine are renumbered.
    board::TBoardDocument theirs(opened);
    for (std::size_t i = 0; i < mineSet.size(); i += 4)
        theirs.SetValue(mineSet[i], board::TPcKey::Left, "1");
    for (int i = 0; i < 10; ++i) {
        theirs.DeletePc(0);
        theirs.AddPc({"theirs-" + std::to_string(i), 0, 0, 10, 10});
    }
    const std::string theirsBytes = theirs.Bytes();
    std::size_t conflicts = 0;
    for (auto _ : state) {
        const TClock::time_point start = TClock::now();
        {
            const board::TMergeResult merged = board::Merge(opened, mine, theirsBytes);
            conflicts = merged.conflicts.size();
            benchmark::DoNotOptimize(merged.document.get());
        }
        state.SetIterationTime(std::chrono::duration<double>(TClock::now() - start).count());
    }
    state.counters["steps"] = static_cast<double>(mine.DoneMeanings().size());
    state.counters["conflicts"] = static_cast<double>(conflicts);
}
BENCHMARK(BM_Merge)->Args({10000, 100})->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
