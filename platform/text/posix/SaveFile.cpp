#include "platform/text/SafeSave.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

using savefile::TBackupSlot;
using savefile::TPlaced;

TSaveResult& Fail(TSaveResult& result, int error)
{
    switch (error) {
    case EROFS:
        result.outcome = TSaveOutcome::ReadOnly;
        break;
    case EACCES:
    case EPERM:
        result.outcome = TSaveOutcome::NoPermission;
        break;
    case ENOSPC:
    case EDQUOT:
        result.outcome = TSaveOutcome::DiskFull;
        break;
    case ENOENT:  // only ever asked of the folder: the file's own absence is told apart first
    case ENOTDIR:
        result.outcome = TSaveOutcome::FolderGone;
        break;
    default:
        result.outcome = TSaveOutcome::Failed;
        break;
    }
    result.systemText = std::strerror(error);
    return result;
}

TSaveResult& Refuse(TSaveResult& result, TSaveOutcome outcome)
{
    result.outcome = outcome;
    return result;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
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

// Whether the open file holds exactly these bytes, read from where it is; nullopt with errno
// set when it could not be read.
std::optional<bool> Holds(int fd, std::string_view bytes)
{
    struct stat info {};
    if (fstat(fd, &info) != 0)
        return std::nullopt;
    if (static_cast<std::uint64_t>(info.st_size) != bytes.size())
        return false;
    const auto buffer = std::make_unique<char[]>(1 << 16);
    for (;;) {
        const ssize_t got = read(fd, buffer.get(), 1 << 16);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return bytes.empty();
        const std::string_view part(buffer.get(), static_cast<std::size_t>(got));
        if (!bytes.starts_with(part))
            return false;
        bytes.remove_prefix(part.size());
    }
}

std::optional<bool> FileHolds(const std::string& path, std::string_view bytes)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return std::nullopt;
    const std::optional<bool> holds = Holds(fd, bytes);
    close(fd);
    return holds;
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

// Another name for the file at from, never over a file there: 0, or errno (EEXIST: taken).
int LinkNew(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)  // a file system without it: a link, then the old name gone
        return errno;
    if (link(from.c_str(), to.c_str()) != 0)
        return errno;
    unlink(from.c_str());
    return 0;
}

// A rename is on disk once its folder is; some file systems cannot sync a folder, and the
// file is in place by then anyway.
void SyncFolder(const std::string& path)
{
    const int fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Our temporary files beside the path whose process has ended: a save that was killed.
void RemoveLeftovers(const std::string& path)
{
    DIR* folder = opendir(FolderOf(path).c_str());
    if (!folder)
        return;
    const std::string board = path.substr(path.rfind('/') + 1);
    while (const dirent* entry = readdir(folder)) {
        const std::optional<unsigned long> owner = savefile::TemporaryOwner(entry->d_name, board);
        // Anything kill() could take for a group (0, or too big for a pid) stays.
        if (owner && *owner > 0 && *owner <= INT_MAX && static_cast<pid_t>(*owner) != getpid() &&
            kill(static_cast<pid_t>(*owner), 0) != 0 && errno == ESRCH)
            unlinkat(dirfd(folder), entry->d_name, 0);
    }
    closedir(folder);
}

TBackupSlot LookAtBackup(const std::string& name, std::string_view asOpened)
{
    struct stat info {};
    if (lstat(name.c_str(), &info) != 0)
        return errno == ENOENT ? TBackupSlot::Free : TBackupSlot::OtherFile;
    if (S_ISDIR(info.st_mode))
        return TBackupSlot::Folder;
    if (S_ISREG(info.st_mode) && FileHolds(name, asOpened).value_or(false))
        return TBackupSlot::HoldsIt;
    return (info.st_mode & 0222) == 0 ? TBackupSlot::ReadOnly : TBackupSlot::OtherFile;
}

// A second name for the original, so that the rename keeps it: a link, or on a file system
// without links a copy of what it holds. "" with errno set when neither could be made.
std::string KeepOriginal(const std::string& file, std::string_view asOpened, const struct stat& like)
{
    for (unsigned attempt = 100; attempt < 200; ++attempt) {
        std::string name = savefile::TemporaryPath(file, static_cast<unsigned long>(getpid()), attempt);
        if (link(file.c_str(), name.c_str()) == 0)
            return name;
        if (errno != EEXIST)
            break;
    }
    return errno == EPERM || errno == EOPNOTSUPP || errno == EMLINK ? WriteBeside(file, asOpened, &like) : "";
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

TSaveResult& SaveNew(TSaveResult& result, const std::string& file, std::string_view newBytes)
{
    const std::string temporary = WriteBeside(file, newBytes, nullptr);
    if (temporary.empty())
        return Fail(result, errno);
    const int error = LinkNew(temporary, file);
    if (error != 0)
        unlink(temporary.c_str());
    if (error == EEXIST)
        return Refuse(result, TSaveOutcome::ChangedOnDisk);
    if (error != 0)
        return Fail(result, error);
    SyncFolder(file);
    return result;
}

// Over a file that holds asOpened: the new file written, the original checked once more
// through a descriptor held open, then the rename, with the original kept under another name
// until the rename is done.
TSaveResult& SaveOver(TSaveResult& result, const std::string& file, std::string_view newBytes,
                      std::string_view asOpened, TBackup backup, const struct stat& info)
{
    const std::string temporary = WriteBeside(file, newBytes, &info);
    if (temporary.empty())
        return Fail(result, errno);
    std::string kept;
    const auto fail = [&](int error, TSaveOutcome outcome) -> TSaveResult& {
        unlink(temporary.c_str());
        if (!kept.empty())
            unlink(kept.c_str());
        return error ? Fail(result, error) : Refuse(result, outcome);
    };
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(errno == ENOENT ? 0 : errno, TSaveOutcome::ChangedOnDisk);
    struct stat held {};
    const std::optional<bool> holds = fstat(fd, &held) == 0 ? Holds(fd, asOpened) : std::nullopt;
    const int error = errno;
    close(fd);
    if (!holds)
        return fail(error, TSaveOutcome::Failed);
    if (!*holds)
        return fail(0, TSaveOutcome::ChangedOnDisk);
    if (held.st_nlink > 1)
        return fail(0, TSaveOutcome::HardLinked);
    if (backup == TBackup::Make && (kept = KeepOriginal(file, asOpened, info)).empty())
        return fail(errno, TSaveOutcome::Failed);
    // Nothing keeps another program from writing it meanwhile: the file as checked must
    // still be the one by its name, untouched, right before the rename.
    struct stat now {};
    if (stat(file.c_str(), &now) != 0 || !SameFile(now, held))
        return fail(0, TSaveOutcome::ChangedOnDisk);
    if (rename(temporary.c_str(), file.c_str()) != 0)
        return fail(errno, TSaveOutcome::Failed);
    SyncFolder(file);
    result.outcome = TSaveOutcome::Saved;
    if (!kept.empty()) {
        const bool placed = savefile::PlaceBackup(
            file, result, [&](const std::string& name) { return LookAtBackup(name, asOpened); },
            [&](const std::string& name) {
                const int moved = LinkNew(kept, name);
                return moved == 0 ? TPlaced::Done : moved == EEXIST ? TPlaced::Taken : TPlaced::Failed;
            });
        if (!placed)  // saved all the same; the board as opened stays where it is
            result.backupPath = kept;
        else
            unlink(kept.c_str());  // still there when the backup name already held it
    }
    return result;
}

}  // namespace

TSaveResult SaveFile(const std::string& path, std::string_view newBytes, std::optional<std::string_view> asOpened,
                     TBackup backup)
{
    TSaveResult result{TSaveOutcome::Saved, path, {}};
    std::string file = path;
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        const std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
        if (!real) {
            result.outcome = TSaveOutcome::Failed;
            result.systemText =
                std::string("a symbolic link to a file that cannot be reached: ") + std::strerror(errno);
            return result;
        }
        file = result.target = real.get();
    }
    const bool exists = stat(file.c_str(), &info) == 0;
    if (!exists && errno != ENOENT)
        return Fail(result, errno);
    if (!exists && access(FolderOf(file).c_str(), F_OK) != 0)
        return Fail(result, errno);
    if (exists && S_ISDIR(info.st_mode))
        return Fail(result, EISDIR);
    if (exists != asOpened.has_value())  // gone, or made, since
        return Refuse(result, TSaveOutcome::ChangedOnDisk);
    if (!exists)
        return SaveNew(result, file, newBytes);
    RemoveLeftovers(file);
    if (newBytes == *asOpened) {
        const std::optional<bool> holds = FileHolds(file, *asOpened);
        if (!holds)
            return Fail(result, errno);
        if (!*holds)
            return Refuse(result, TSaveOutcome::ChangedOnDisk);
        result.nothingToWrite = true;
        return result;
    }
    // Root may rename over any file: a file nobody may write is read-only for root too.
    if ((info.st_mode & 0222) == 0)
        return Refuse(result, TSaveOutcome::ReadOnly);
    if (faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0)
        return errno == EACCES ? Refuse(result, TSaveOutcome::ReadOnly) : Fail(result, errno);
    return SaveOver(result, file, newBytes, *asOpened, backup, info);
}
