#include "FileRead.h"
#include "TextCodec.h"

#include <windows.h>

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

} // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    const std::u16string widePath = Utf8ToUtf16(path);
    // Other programs keep the board file open for writing; we must not lock them out.
    const TFileHandle file(CreateFileW(reinterpret_cast<LPCWSTR>(widePath.c_str()), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0
        && static_cast<unsigned long long>(size.QuadPart) < bytes.max_size())
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[1 << 16];
    while (true) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) {
            bytes.clear();
            return false;
        }
        if (got == 0)
            return true;
        bytes.append(buffer, got);
    }
}
