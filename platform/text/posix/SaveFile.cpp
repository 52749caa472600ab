#include "platform/text/SafeSave.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <libgen.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TSaveResult Failure(const std::string& path, int error)
{
    switch (error) {
    case EROFS:
        return {TSaveOutcome::ReadOnly, path, std::strerror(error)};
    case EACCES:
    case EPERM:
        return {TSaveOutcome::NoPermission, path, std::strerror(error)};
    case ENOSPC:
    case EDQUOT:
        return {TSaveOutcome::DiskFull, path, std::strerror(error)};
    default:
        return {TSaveOutcome::Failed, path, std::strerror(error)};
    }
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t wrote = write(fd, bytes.data(), bytes.size());
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote < 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(wrote));
    }
    return true;
}

// A new file beside the path holding the bytes, on disk and closed, with the owner and mode
// of `like` (the file it replaces) or, without one, as the umask says. Its name, or "" with
// errno set and nothing left behind.
std::string WriteBeside(const std::string& path, std::string_view bytes, const struct stat* like)
{
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::string name = savefile::TemporaryPath(path, static_cast<unsigned long>(getpid()), attempt);
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, like ? like->st_mode & 07777 : 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return {};
        // The owner first: giving a file away clears its set-id bits. Only root may give a
        // file away; anyone else's new file stays their own.
        bool ok = (!like || fchown(fd, like->st_uid, like->st_gid) == 0 || errno == EPERM) &&
                  (!like || fchmod(fd, like->st_mode & 07777) == 0) && WriteAll(fd, bytes) && fsync(fd) == 0;
        int error = errno;
        if (close(fd) != 0 && ok) {
            ok = false;
            error = errno;
        }
        if (ok)
            return name;
        unlink(name.c_str());
        errno = error;
        return {};
    }
    errno = EEXIST;
    return {};
}

// A rename is on disk once its folder is; some file systems cannot sync a folder, and the
// file is in place by then anyway.
void SyncFolder(const std::string& path)
{
    std::string folder = path;
    const int fd = open(dirname(folder.data()), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

}  // namespace

TSaveResult SaveFile(const std::string& path, std::string_view newBytes, std::optional<std::string_view> asOpened,
                     bool keepBackup)
{
    struct stat info {};
    const bool exists = stat(path.c_str(), &info) == 0;
    if (!exists && errno != ENOENT)
        return Failure(path, errno);
    if (exists && S_ISDIR(info.st_mode))
        return Failure(path, EISDIR);
    const std::optional<bool> changed = savefile::ChangedSinceOpened(
        path, exists ? std::optional<std::uint64_t>(info.st_size) : std::nullopt, asOpened);
    if (!changed)
        return Failure(path, errno);
    if (*changed)
        return {TSaveOutcome::ChangedOnDisk, path, {}};
    // Root may rename over any file: a file nobody may write is read-only for root too.
    if (exists && (info.st_mode & 0222) == 0)
        return {TSaveOutcome::ReadOnly, path, {}};
    if (exists && faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        return errno == EACCES ? TSaveResult{TSaveOutcome::ReadOnly, path, {}} : Failure(path, errno);

    const struct stat* like = exists ? &info : nullptr;
    const std::string temporary = WriteBeside(path, newBytes, like);
    if (temporary.empty())
        return Failure(path, errno);
    if (keepBackup && exists) {
        // A copy of what was opened, which is what the file still holds.
        const std::string backup = WriteBeside(path, *asOpened, like);
        if (backup.empty() || rename(backup.c_str(), savefile::BackupPath(path).c_str()) != 0) {
            const int error = errno;
            if (!backup.empty())
                unlink(backup.c_str());
            unlink(temporary.c_str());
            return Failure(path, error);
        }
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        return Failure(path, error);
    }
    SyncFolder(path);
    return {TSaveOutcome::Saved, path, {}};
}
