// Saving a board beside its floor, measured in the same run: a plain copy of the same bytes
// to a file, flushed.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/text/SafeSave.h"
#include "tests/support/ScratchFolder.h"

namespace {

// Wall time: a save waits for the disk, and so does its floor.
using TWall = std::chrono::steady_clock;

std::string Board(std::int64_t pcs, int top)
{
    std::string bytes = "[sys]\r\ncount=" + std::to_string(pcs + 1) + "\r\n";
    for (std::int64_t i = 1; i <= pcs; ++i)
        bytes += "[PC" + std::to_string(i) + "]\r\nCaption=PC-" + std::to_string(i) +
                 "\r\nLeft=" + std::to_string((i % 40) * 24) +
                 "\r\nTop=" + std::to_string(i == pcs / 2 ? top : (i / 40) % 30 * 16) + "\r\nWidth=22\r\nHeight=14\r\n";
    return bytes;
}

// What any save that reaches the disk must do: the bytes written to a file and flushed.
void CopyToDisk(const std::string& path, const std::string& bytes)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) || fsync(fd) != 0)
        std::abort();
    close(fd);
}

// A board with one PC moved, saved through SaveFile (the file compared, a new one written,
// flushed and put in place) and copied, turn about. The first save of a session also keeps
// the file as opened: its .bak is removed between turns, outside the time.
void BM_SaveBoard(benchmark::State& state)
{
    const std::int64_t pcs = state.range(0);
    const auto backup = static_cast<TBackup>(state.range(1));
    const psbtest::TScratchFolder folder("bench-save" + std::to_string(pcs));
    std::string onDisk = Board(pcs, 0);
    const std::string path = folder.Write("sys.ini", onDisk).string(), copy = (folder / "copy.ini").string();
    TWall::duration save{}, floor{};
    int top = 0;
    for (auto _ : state) {
        std::string bytes = Board(pcs, ++top % 500);
        const TWall::time_point start = TWall::now();
        if (!SaveFile(path, bytes, onDisk, backup).Saved())
            state.SkipWithError("the save failed");
        const TWall::time_point saved = TWall::now();
        CopyToDisk(copy, bytes);
        floor += TWall::now() - saved;
        save += saved - start;
        state.SetIterationTime(std::chrono::duration<double>(saved - start).count());
        onDisk = std::move(bytes);
        if (backup == TBackup::Make)
            std::filesystem::remove(path + ".bak");
    }
    const auto ms = [&](TWall::duration d) {
        return std::chrono::duration<double, std::milli>(d).count() / static_cast<double>(state.iterations());
    };
    state.counters["save_ms"] = ms(save);
    state.counters["copy_ms"] = ms(floor);
    state.counters["copy_ratio"] = ms(save) / ms(floor);
}
BENCHMARK(BM_SaveBoard)
    ->Args({10000, static_cast<int>(TBackup::Made)})
    ->Args({10000, static_cast<int>(TBackup::Make)})
    ->Args({100000, static_cast<int>(TBackup::Made)})
    ->ArgNames({"pcs", "backup"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
