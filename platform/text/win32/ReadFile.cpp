#include "platform/text/FileRead.h"
#include "platform/text/TextCodec.h"
#include "platform/text/win32/LongPath.h"
#include "platform/text/win32/WinText.h"

#include <windows.h>

#include <algorithm>

namespace {

class TFileHandle {
public:
    explicit TFileHandle(HANDLE handle) : handle_(handle) {}
    ~TFileHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    const std::wstring widePath = LongPath(path);
    // Other programs keep the file open for writing; we must not lock them out.
    const TFileHandle file(CreateFileW(widePath.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        return false;
    // Straight into the string, which grows only when full, in pieces ReadFile takes. The
    // size is only a hint: the file may grow or shrink while we read it.
    constexpr std::size_t kPiece = std::size_t{1} << 26;
    LARGE_INTEGER size{};
    bytes.resize(GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0 &&
                         static_cast<unsigned long long>(size.QuadPart) < bytes.max_size() / 2
                     ? static_cast<std::size_t>(size.QuadPart) + 1
                     : 1 << 16);
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(2 * used);
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes.data() + used, static_cast<DWORD>(std::min(bytes.size() - used, kPiece)), &got,
                      nullptr)) {
            bytes.clear();
            return false;
        }
        if (got == 0) {
            bytes.resize(used);
            return true;
        }
        used += got;
    }
}

TFileRead ReadFileIfThere(const std::string& path, std::string& bytes, std::string& why)
{
    if (ReadWholeFile(path, bytes))
        return TFileRead::Read;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return TFileRead::Missing;
    why = SystemText(error);
    // Opening a folder is denied like a file one may not read.
    const std::wstring widePath = LongPath(path);
    const DWORD attributes = GetFileAttributesW(widePath.c_str());
    const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    return folder ? TFileRead::Folder : TFileRead::Failed;
}
