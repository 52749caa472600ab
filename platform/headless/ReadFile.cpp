#include "FileRead.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class TFileHandle {
public:
    explicit TFileHandle(int fd) : fd_(fd) {}
    ~TFileHandle()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

} // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    const TFileHandle file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        return false;
    struct stat info {};
    if (fstat(file.Get(), &info) != 0 || S_ISDIR(info.st_mode))
        return false;
    // The size is only a hint: the file may grow or shrink while we read it.
    if (S_ISREG(info.st_mode) && info.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[1 << 16];
    while (true) {
        const ssize_t got = read(file.Get(), buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            bytes.clear();
            return false;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}
