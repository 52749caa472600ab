// Shared by the fuzz targets: property checks and a private scratch directory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

// A failed property aborts, so libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::fuzz::Fail(#condition, __FILE__, __LINE__))

namespace fuzz {

[[noreturn]] inline void Fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, what);
    std::abort();
}

inline std::string_view Text(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// One directory per process under TMPDIR (tools/run-fuzzers points it into build/),
// removed again when the process ends normally.
class TScratch {
public:
    TScratch()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "psb-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            Fail("mkdtemp", __FILE__, __LINE__);
        dir_ = pattern;
    }
    ~TScratch()
    {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;

    const std::filesystem::path& Dir() const { return dir_; }

    // Replaces the file's whole content; the path as a UTF-8 string.
    std::string Write(const std::string& name, std::string_view bytes) const
    {
        const std::filesystem::path path = dir_ / name;
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            if (!out)
                Fail("writing the scratch file", __FILE__, __LINE__);
        }
        return path.string();
    }

private:
    std::filesystem::path dir_;
};

inline TScratch& Scratch()
{
    static TScratch scratch;
    return scratch;
}

}  // namespace fuzz
