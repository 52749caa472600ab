#include "platform/text/FileRead.h"

#include <cerrno>
#include <cstring>
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

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    const TFileHandle file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        return false;
    struct stat info {};
    if (fstat(file.Get(), &info) != 0)
        return false;
    if (S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return false;
    }
    // Straight into the string, which grows only when full. The size is only a hint: the
    // file may grow or shrink while we read it.
    bytes.resize(S_ISREG(info.st_mode) && info.st_size > 0 ? static_cast<std::size_t>(info.st_size) + 1 : 1 << 16);
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(2 * used);
        const ssize_t got = read(file.Get(), bytes.data() + used, bytes.size() - used);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            bytes.clear();
            return false;
        }
        if (got == 0) {
            bytes.resize(used);
            return true;
        }
        used += static_cast<std::size_t>(got);
    }
}

TFileRead ReadFileIfThere(const std::string& path, std::string& bytes, std::string& why)
{
    if (ReadWholeFile(path, bytes))
        return TFileRead::Read;
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR)
        return TFileRead::Missing;
    why = std::strerror(error);
    return error == EISDIR ? TFileRead::Folder : TFileRead::Failed;
}
