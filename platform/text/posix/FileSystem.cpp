#include "platform/text/FileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

std::optional<TFileStamp> FileStampOf(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return TFileStamp{static_cast<std::uint64_t>(info.st_size),
                      static_cast<std::uint64_t>(info.st_mtim.tv_sec) * 1000000000u +
                          static_cast<std::uint64_t>(info.st_mtim.tv_nsec)};
}

bool RemoveFile(const std::string& path)
{
    return unlink(path.c_str()) == 0;
}
