// A folder of the test's own under the temporary directory, and files of given bytes in it.
// Shared by the tests, the benchmarks and the fuzz targets on both systems, so it uses no
// test framework.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace psbtest {

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Replaces the file's whole content; false when it could not be written.
inline bool WriteBytes(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary);
    return static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush());
}

class TScratchFolder {
public:
    // A new folder named by the tag, the process and a count: process ids come again, and a
    // run that was stopped leaves its folder behind.
    explicit TScratchFolder(std::string_view tag)
    {
#ifdef _WIN32
        const auto process = static_cast<unsigned long>(GetCurrentProcessId());
#else
        const auto process = static_cast<unsigned long>(getpid());
#endif
        static unsigned made = 0;
        const std::string prefix = "psb-" + std::string(tag) + "-" + std::to_string(process) + "-";
        do
            path_ = std::filesystem::temp_directory_path() / (prefix + std::to_string(++made));
        while (!std::filesystem::create_directories(path_));
    }
    ~TScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    const std::filesystem::path& Path() const
    {
        return path_;
    }
    std::filesystem::path operator/(const std::filesystem::path& name) const
    {
        return path_ / name;
    }
    // Writes a file of these bytes in the folder and gives its path.
    std::filesystem::path Write(const std::filesystem::path& name, std::string_view bytes) const
    {
        WriteBytes(path_ / name, bytes);
        return path_ / name;
    }

private:
    std::filesystem::path path_;
};

}  // namespace psbtest
