// What a screen reader asks of the board, on the headless driver: one child's properties, a
// hit-test and finding the child of a PC (what every event needs) cost what lies there, the
// same on 10,000 PCs as on 100,000 where both boards are alike (their top rows); reading
// every child costs the same per child.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "platform/forms/Accessibility.h"
#include "tests/support/HeadlessBoard.h"

namespace {

constexpr TRect64 kClient{0, 0, 680, 441};

// PCs of 4 x 4 pixels on a pitch of 1.6 over the client area, 400 to a row, as the dense
// start-up benchmark lays them out: every point lies on a few of them, and a 32-pixel cell of
// the grid index holds some 400. Each run of a benchmark builds its own and ends it before
// returning: the headless driver keeps one main window, and a board left to the end of the
// process would be torn down after the driver's own state.
class DenseBoard {
public:
    explicit DenseBoard(int pcs) : board_("bench-a" + std::to_string(pcs))
    {
        std::string bytes = "[sys]\ncount=" + std::to_string(pcs + 1) + "\n";
        for (int i = 0; i < pcs; ++i)
            bytes += "[PC" + std::to_string(i + 1) + "]\nCaption=" + std::to_string(i + 1) +
                     "\nLeft=" + std::to_string(8 + i % 400 * 16 / 10) +
                     "\nTop=" + std::to_string(8 + i / 400 * 16 / 10) + "\nWidth=4\nHeight=4\n";
        board_.Write(bytes);
        form_ = &board_.Build();
        form_->Show();
        model_ = std::make_unique<TAccessibleForm>(*form_);
        // The grid index is built on the first question; no run should time that.
        benchmark::DoNotOptimize(model_->HitTest({8, 8}, kClient, kDesignDpi));
    }
    const TAccessibleForm& Model() const { return *model_; }
    TForm1& Form() const { return *form_; }

private:
    psbtest::HeadlessBoard board_;
    TForm1* form_ = nullptr;
    std::unique_ptr<TAccessibleForm> model_;
};

// Name, role, place, states and status of a PC of the top ten rows, as a screen reader reads one.
void BM_OneChildsProperties(benchmark::State& state)
{
    const DenseBoard board(static_cast<int>(state.range(0)));
    const TAccessibleForm& m = board.Model();
    std::mt19937 pick(1);
    std::uniform_int_distribution<std::size_t> child(6, 6 + 10 * 400);
    for (auto _ : state) {
        const std::size_t c = child(pick);
        benchmark::DoNotOptimize(m.Name(c));
        benchmark::DoNotOptimize(m.Role(c));
        benchmark::DoNotOptimize(m.Location(c, kClient, kDesignDpi));
        benchmark::DoNotOptimize(m.State(c, kClient, kDesignDpi));
        benchmark::DoNotOptimize(m.Value(c));
        benchmark::DoNotOptimize(m.ChildCount());
    }
}
BENCHMARK(BM_OneChildsProperties)->Arg(10000)->Arg(100000);

void BM_HitTest(benchmark::State& state)
{
    const DenseBoard board(static_cast<int>(state.range(0)));
    const TAccessibleForm& m = board.Model();
    std::mt19937 pick(2);
    std::uniform_int_distribution<std::int64_t> x(8, 640), y(8, 24);
    for (auto _ : state)
        benchmark::DoNotOptimize(m.HitTest({x(pick), y(pick)}, kClient, kDesignDpi));
}
BENCHMARK(BM_HitTest)->Arg(10000)->Arg(100000);

// What every selection and status event asks first.
void BM_ChildOfAPc(benchmark::State& state)
{
    const DenseBoard board(static_cast<int>(state.range(0)));
    const auto& controls = board.Form().Controls();
    std::mt19937 pick(3);
    std::uniform_int_distribution<std::size_t> item(5, 5 + 10 * 400);
    for (auto _ : state)
        benchmark::DoNotOptimize(board.Model().ChildOf(*controls[item(pick)]));
}
BENCHMARK(BM_ChildOfAPc)->Arg(10000)->Arg(100000);

// Every child's name, role and states, as a screen reader reads the whole board.
void BM_EveryChild(benchmark::State& state)
{
    const DenseBoard board(static_cast<int>(state.range(0)));
    const TAccessibleForm& m = board.Model();
    for (auto _ : state)
        for (std::size_t c = 1; c <= m.ChildCount(); ++c) {
            benchmark::DoNotOptimize(m.Name(c));
            benchmark::DoNotOptimize(m.Role(c));
            benchmark::DoNotOptimize(m.State(c, kClient, kDesignDpi));
        }
    state.counters["time_per_child"] =
        benchmark::Counter(static_cast<double>(m.ChildCount()),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_EveryChild)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
