// The board editor on a board of 10,000 PCs (100 x 100): a drag's frames, a nudge and a
// release, each beside a floor measured turn about in the same run: the same PCs' values
// written and nothing else (into the preview for a frame, as document edits for a step).
#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <string>

#include "bench/ThreadClock.h"
#include "editor/BoardEditor.h"

namespace {

constexpr int kSide = 100;

std::string GridBoard()
{
    std::string bytes = "[sys]\r\ncount=" + std::to_string(kSide * kSide + 1) + "\r\n";
    for (int i = 0; i < kSide * kSide; ++i)
        bytes += "[PC" + std::to_string(i + 1) + "]\r\nCaption=PC-" + std::to_string(i + 1) +
                 "\r\nLeft=" + std::to_string(8 + i % kSide * 72) + "\r\nTop=" + std::to_string(8 + i / kSide * 32) +
                 "\r\nWidth=64\r\nHeight=24\r\n";
    return bytes;
}

// PC 0 alone, or the first row of the given length, selected; the press on PC 0's middle.
void SelectRow(editor::TBoardEditor& e, std::size_t count)
{
    e.Select(0);
    for (std::size_t pc = 1; pc < count; ++pc)
        e.Toggle(pc);
}
constexpr TPoint64 kPress{40, 20};

void Report(benchmark::State& state, TClock::duration work, TClock::duration floor)
{
    const auto us = [&](TClock::duration d) {
        return std::chrono::duration<double, std::micro>(d).count() / static_cast<double>(state.iterations());
    };
    state.counters["us"] = us(work);
    state.counters["floor_us"] = us(floor);
    state.counters["floor_ratio"] = static_cast<double>(work.count()) / static_cast<double>(floor.count());
}

// One frame of a drag already started, snapping on, the pointer swept over the board so
// that it meets other PCs' edges, centres and the grid.
void BM_DragFrame(benchmark::State& state)
{
    const auto moving = static_cast<std::size_t>(state.range(0));
    editor::TBoardEditor e(GridBoard());
    SelectRow(e, moving);
    e.Press(kPress, false, 3);
    e.DragTo({kPress.x + 10, kPress.y + 10}, true);
    std::vector<board::TBoardDocument::TPc> copy = e.Pcs();
    TClock::duration work{}, floor{};
    std::int64_t i = 0;
    for (auto _ : state) {
        ++i;
        const TPoint64 to{kPress.x + i * 7 % 3000, kPress.y + i * 5 % 2000};
        const TClock::time_point start = TClock::now();
        const TRect64 changed = e.DragTo(to, true);
        const TClock::time_point done = TClock::now();
        benchmark::DoNotOptimize(changed);
        for (std::size_t pc = 0; pc < moving; ++pc) {
            copy[pc].entry.left = static_cast<std::int32_t>(to.x + static_cast<std::int64_t>(pc) * 72);
            copy[pc].entry.top = static_cast<std::int32_t>(to.y);
        }
        benchmark::DoNotOptimize(copy.data());
        floor += TClock::now() - done;
        work += done - start;
        state.SetIterationTime(std::chrono::duration<double>(done - start).count());
    }
    Report(state, work, floor);
}
BENCHMARK(BM_DragFrame)->Arg(1)->Arg(100)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The first frame past the threshold: the board copied for the preview and the others' edges
// sorted. Its floor: the copy alone.
void BM_DragStart(benchmark::State& state)
{
    editor::TBoardEditor e(GridBoard());
    TClock::duration work{}, floor{};
    for (auto _ : state) {
        e.Select(0);
        e.Press(kPress, false, 3);
        const TClock::time_point start = TClock::now();
        e.DragTo({kPress.x + 10, kPress.y + 10}, true);
        const TClock::time_point done = TClock::now();
        e.CancelDrag();
        const TClock::time_point floorStart = TClock::now();
        std::vector<board::TBoardDocument::TPc> copy = e.Pcs();
        benchmark::DoNotOptimize(copy.data());
        floor += TClock::now() - floorStart;
        work += done - start;
        state.SetIterationTime(std::chrono::duration<double>(done - start).count());
    }
    Report(state, work, floor);
}
BENCHMARK(BM_DragStart)->UseManualTime()->Unit(benchmark::kMillisecond);

// The floor of a step on the first PCs: their Left and Top set as separate edits, undone.
TClock::duration EditFloor(board::TBoardDocument& doc, std::size_t count, std::int32_t by)
{
    const TClock::time_point start = TClock::now();
    for (std::size_t pc = 0; pc < count; ++pc) {
        const auto& entry = doc.Pcs()[pc].entry;
        doc.SetValue(pc, board::TPcKey::Left, std::to_string(entry.left + by));
        doc.SetValue(pc, board::TPcKey::Top, std::to_string(entry.top + by));
    }
    const TClock::duration took = TClock::now() - start;
    for (std::size_t pc = 0; pc < 2 * count; ++pc)
        doc.Undo();
    return took;
}

// An arrow key held: each nudge one document edit per PC, joined into the step before.
void BM_Nudge(benchmark::State& state)
{
    const auto moving = static_cast<std::size_t>(state.range(0));
    editor::TBoardEditor e(GridBoard());
    SelectRow(e, moving);
    TClock::duration work{}, floor{};
    std::int64_t i = 0;
    for (auto _ : state) {
        const std::int32_t by = ++i % 2 ? 1 : -1;
        const TClock::time_point start = TClock::now();
        e.Nudge(by, by, false, true);
        const TClock::time_point done = TClock::now();
        // A held key's step grows with every nudge: a new one now and then keeps it a key's
        // length.
        if (i % 64 == 0)
            e.Undo();
        floor += EditFloor(e.Document(), moving, by);
        work += done - start;
        state.SetIterationTime(std::chrono::duration<double>(done - start).count());
    }
    Report(state, work, floor);
}
BENCHMARK(BM_Nudge)->Arg(1)->Arg(100)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A drag's release: every moved PC's Left and Top written as one step.
void BM_Release(benchmark::State& state)
{
    const auto moving = static_cast<std::size_t>(state.range(0));
    editor::TBoardEditor e(GridBoard());
    TClock::duration work{}, floor{};
    for (auto _ : state) {
        SelectRow(e, moving);
        e.Press(kPress, false, 3);
        e.DragTo({kPress.x + 16, kPress.y + 16}, true);
        const TClock::time_point start = TClock::now();
        if (e.Release() != board::TRefusal::None)
            state.SkipWithError("the release was refused");
        const TClock::time_point done = TClock::now();
        e.Undo();
        floor += EditFloor(e.Document(), moving, 16);
        work += done - start;
        state.SetIterationTime(std::chrono::duration<double>(done - start).count());
    }
    Report(state, work, floor);
}
BENCHMARK(BM_Release)->Arg(1)->Arg(100)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
