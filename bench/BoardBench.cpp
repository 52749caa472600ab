// Board loading: read the board file and make the labels, on the headless backend, beside
// its floor measured in the same run.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <time.h>

#include <chrono>
#include <memory>
#include <string>

#include "bench/ThreadClock.h"
#include "board/BoardDocument.h"
#include "platform/text/FileRead.h"
#include "tests/support/HeadlessBoard.h"

namespace {

std::string BoardBytes(std::int64_t count, std::int64_t sections)
{
    std::string bytes = "[sys]\ncount=" + std::to_string(count) + "\n";
    for (std::int64_t i = 1; i <= sections; ++i)
        bytes += "[PC" + std::to_string(i) + "]\nCaption=PC-" + std::to_string(i) +
                 "\nLeft=" + std::to_string((i % 40) * 24) + "\nTop=" + std::to_string((i / 40) % 30 * 16) +
                 "\nWidth=22\nHeight=14\n";
    return bytes;
}

// What any loader of the board must do and nothing more: the same file read, split into lines
// and sections, and one label-sized allocation per PC section; none of the reader's rules
// (encodings, blanks, case, quotes, numbers) and no window.
struct TFloor {
    std::string bytes;
    std::vector<std::string_view> lines;
    std::vector<std::size_t> sections;  // the index of each section's first line
    std::vector<std::unique_ptr<char[]>> labels;

    explicit TFloor(const std::string& path)
    {
        ReadWholeFile(path, bytes);
        const std::string_view text = bytes;
        for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
            end = std::min(text.find('\n', start), text.size());
            if (text[start] == '[')
                sections.push_back(lines.size());
            lines.push_back(text.substr(start, end - start));
        }
        labels.reserve(sections.size());
        for (std::size_t i = 1; i < sections.size(); ++i)
            labels.push_back(std::make_unique<char[]>(sizeof(TLabel)));
    }
};

// Board loading on the headless driver that the tests use: a board of the given PC sections
// beside a pretend executable, loaded as start-up loads it.
void LoadBoard(benchmark::State& state, const std::string& tag, std::int64_t count, std::int64_t sections,
               std::int64_t pcs)
{
    psbtest::HeadlessBoard board(tag);
    board.Write(BoardBytes(count, sections));
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

// Loading against its floor, turn about in each iteration, so that both see the same machine:
// the benchmark's time is the loading's, floor_ratio how many floors it takes.
void BM_LoadBoard(benchmark::State& state)
{
    const std::int64_t pcs = state.range(0);
    psbtest::HeadlessBoard board("bench-n" + std::to_string(pcs));
    board.Write(BoardBytes(pcs + 1, pcs));
    std::size_t heap = 0;
    TClock::duration load{}, floor{};
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        const TClock::time_point start = TClock::now();
        board.Build();
        const TClock::time_point built = TClock::now();
        heap = mallinfo2().uordblks - before;
        {
            const TClock::time_point floorStart = TClock::now();
            const TFloor done(board.BoardPath().string());
            floor += TClock::now() - floorStart;
            benchmark::DoNotOptimize(done.labels.data());
            if (done.labels.size() != static_cast<std::size_t>(pcs))
                state.SkipWithError("the floor did not find every PC");
        }
        board.Destroy();
        // The freed labels would wait in the allocator's caches for the next loading to sort
        // out: each loading starts from a tidy heap, as a new process does.
        malloc_trim(0);
        load += built - start;
        state.SetIterationTime(std::chrono::duration<double>(built - start).count());
    }
    const auto perPc = [&](TClock::duration d) {
        return std::chrono::duration<double, std::nano>(d).count() / static_cast<double>(state.iterations() * pcs);
    };
    state.counters["ns_per_pc"] = perPc(load);
    state.counters["floor_ns_per_pc"] = perPc(floor);
    state.counters["floor_ratio"] = static_cast<double>(load.count()) / static_cast<double>(floor.count());
    state.counters["bytes_per_pc"] = static_cast<double>(heap) / static_cast<double>(pcs);
}
BENCHMARK(BM_LoadBoard)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

// Opening the board for editing against loading it for the board, turn about: the file read
// and held line by line beside its board. heap_over_file is what the document holds beyond
// its board's model (a PC's values, its section's and values' lines, its section among all),
// per byte of the file.
void BM_OpenDocument(benchmark::State& state)
{
    const std::int64_t pcs = state.range(0);
    psbtest::HeadlessBoard board("bench-d" + std::to_string(pcs));
    const std::string bytes = BoardBytes(pcs + 1, pcs);
    board.Write(bytes);
    std::size_t heap = 0;
    TClock::duration open{}, load{};
    for (auto _ : state) {
        const TClock::time_point start = TClock::now();
        board.Build();
        load += TClock::now() - start;
        board.Destroy();
        malloc_trim(0);
        const std::size_t before = mallinfo2().uordblks;
        const TClock::time_point openStart = TClock::now();
        {
            std::string read;
            ReadWholeFile(board.BoardPath().string(), read);
            const board::TBoardDocument doc(std::move(read));
            const TClock::time_point opened = TClock::now();
            heap = mallinfo2().uordblks - before;
            open += opened - openStart;
            state.SetIterationTime(std::chrono::duration<double>(opened - openStart).count());
            if (doc.Pcs().size() != static_cast<std::size_t>(pcs))
                state.SkipWithError("the document did not find every PC");
        }
        malloc_trim(0);
    }
    const double model = static_cast<double>(sizeof(board::TBoardDocument::TPc) + 6 * 4 + 8) * static_cast<double>(pcs);
    state.counters["ns_per_pc"] =
        std::chrono::duration<double, std::nano>(open).count() / static_cast<double>(state.iterations() * pcs);
    state.counters["load_ratio"] = static_cast<double>(open.count()) / static_cast<double>(load.count());
    state.counters["heap_over_file"] = (static_cast<double>(heap) - model) / static_cast<double>(bytes.size());
}
BENCHMARK(BM_OpenDocument)->Arg(1000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

// An edit and its undo on a board of any size cost what they touch.
void BM_EditAndUndo(benchmark::State& state)
{
    board::TBoardDocument doc(BoardBytes(state.range(0) + 1, state.range(0)));
    const std::size_t middle = static_cast<std::size_t>(state.range(0) / 2);
    for (auto _ : state) {
        doc.SetValue(middle, board::TPcKey::Caption, "moved");
        doc.SetValue(middle, board::TPcKey::Left, "7");
        doc.Undo();
        doc.Undo();
    }
}
BENCHMARK(BM_EditAndUndo)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// count 4 and count 2147483647 over the same three sections: the count itself costs nothing.
void BM_LoadBoardThreeSections(benchmark::State& state)
{
    const std::int64_t count = state.range(0);
    LoadBoard(state, "bench-c" + std::to_string(count), count, 3, 3);
}
BENCHMARK(BM_LoadBoardThreeSections)->Arg(4)->Arg(2147483647)->Unit(benchmark::kMicrosecond);

}  // namespace
