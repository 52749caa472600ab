#include "platform/text/FileSystem.h"
#include "platform/text/win32/LongPath.h"

#include <windows.h>

std::optional<TFileStamp> FileStampOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard, &info))
        return std::nullopt;
    return TFileStamp{std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow,
                      std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32 | info.ftLastWriteTime.dwLowDateTime};
}

bool RemoveFile(const std::string& path)
{
    return DeleteFileW(LongPath(path).c_str());
}
