#include "platform/text/SafeSave.h"
#include "platform/text/win32/LongPath.h"
#include "platform/text/win32/SaveHooks.h"
#include "platform/text/win32/WinText.h"

#include <windows.h>

#include <algorithm>
#include <memory>

#ifndef ERROR_DIRECTORY_NOT_SUPPORTED
#define ERROR_DIRECTORY_NOT_SUPPORTED 336L  // not in every mingw-w64's headers
#endif

TSaveHooks& SaveHooks()
{
    static TSaveHooks hooks;
    return hooks;
}

namespace {

using savefile::TBackupSlot;
using savefile::TPlaced;

constexpr DWORD kNoFile = INVALID_FILE_ATTRIBUTES;

TSaveResult& Fail(TSaveResult& result, DWORD error)
{
    switch (error) {
    case ERROR_WRITE_PROTECT:
        result.outcome = TSaveOutcome::ReadOnly;
        break;
    case ERROR_ACCESS_DENIED:
        result.outcome = TSaveOutcome::NoPermission;
        break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
        result.outcome = TSaveOutcome::Locked;
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        result.outcome = TSaveOutcome::DiskFull;
        break;
    case ERROR_PATH_NOT_FOUND:  // the file's own absence is told apart before
    case ERROR_NOT_READY:
    case ERROR_INVALID_DRIVE:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETNAME_DELETED:
        result.outcome = TSaveOutcome::FolderGone;
        break;
    default:
        result.outcome = TSaveOutcome::Failed;
        break;
    }
    result.systemText = SystemText(error);
    return result;
}

TSaveResult& Refuse(TSaveResult& result, TSaveOutcome outcome)
{
    result.outcome = outcome;
    return result;
}

bool There(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != kNoFile;
}

// Another program holding the file: worth a few more tries, about a second in all, before
// saying so. A scanner or an indexer reading a fresh file lets go in a moment.
template <class TStep>
bool Retried(TStep step)
{
    for (DWORD wait = 50;; wait *= 2) {
        if (step())
            return true;
        const DWORD error = GetLastError();
        if (wait > 400 || (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION &&
                           error != ERROR_UNABLE_TO_REMOVE_REPLACED))
            return false;
        Sleep(wait);
        SetLastError(error);
    }
}

// Whether the open file holds exactly these bytes; nullopt with GetLastError() set when it
// could not be read.
std::optional<bool> Holds(HANDLE file, std::string_view bytes)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size))
        return std::nullopt;
    if (static_cast<std::uint64_t>(size.QuadPart) != bytes.size())
        return false;
    const auto buffer = std::make_unique<char[]>(1 << 16);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer.get(), 1 << 16, &got, nullptr))
            return std::nullopt;
        if (got == 0)
            return bytes.empty();
        const std::string_view part(buffer.get(), got);
        if (!bytes.starts_with(part))
            return false;
        bytes.remove_prefix(part.size());
    }
}

// The file opened to be read and compared, letting ReplaceFileW rename it (it asks for read
// and delete) while no one may write it.
HANDLE OpenHeld(const std::wstring& path)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    Retried([&] {
        file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        return file != INVALID_HANDLE_VALUE;
    });
    return file;
}

std::optional<bool> FileHolds(const std::wstring& path, std::string_view bytes, DWORD share)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const std::optional<bool> holds = Holds(file, bytes);
    const DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    return holds;
}

// The file a symbolic link leads to, as a long path; "" with GetLastError() set.
std::wstring FinalPath(const std::wstring& link)
{
    const HANDLE file = CreateFileW(link.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::wstring final(GetFinalPathNameByHandleW(file, nullptr, 0, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS), L'\0');
    final.resize(GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED));
    const DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    return final;
}

std::wstring Temporary(const std::wstring& file, unsigned attempt)
{
    return ToWide(savefile::TemporaryPath(FromWide(file), GetCurrentProcessId(), attempt));
}

// A new file beside the path holding the bytes, on disk and closed. Its name, or "" with
// GetLastError() set and nothing left behind.
std::wstring WriteBeside(const std::wstring& path, std::string_view bytes)
{
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::wstring name = Temporary(path, attempt);
        const HANDLE file =
            CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS)
            continue;
        if (file == INVALID_HANDLE_VALUE)
            return {};
        bool ok = true;
        while (ok && !bytes.empty()) {
            DWORD wrote = 0;
            ok = WriteFile(file, bytes.data(), static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 26)), &wrote,
                           nullptr) &&
                 wrote > 0;
            bytes.remove_prefix(wrote);
        }
        ok = ok && FlushFileBuffers(file);
        DWORD error = GetLastError();
        if (!CloseHandle(file) && ok) {
            ok = false;
            error = GetLastError();
        }
        if (ok)
            return name;
        DeleteFileW(name.c_str());
        SetLastError(error);
        return {};
    }
    SetLastError(ERROR_FILE_EXISTS);
    return {};
}

bool ProcessGone(DWORD id)
{
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process)
        return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process; denied means it is there
    DWORD code = 0;
    const bool ended = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
}

// Our temporary files beside the file whose process has ended: a save that was killed.
void RemoveLeftovers(const std::wstring& file)
{
    const std::size_t slash = file.rfind(L'\\');
    const std::wstring folder = file.substr(0, slash + 1), board = file.substr(slash + 1);
    WIN32_FIND_DATAW found{};
    const HANDLE search =
        FindFirstFileExW((file + L".*.tmp").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return;
    const std::string boardName = FromWide(board);
    do {
        const std::optional<unsigned long> owner = savefile::TemporaryOwner(FromWide(found.cFileName), boardName);
        if (owner && *owner != GetCurrentProcessId() && *owner <= MAXDWORD && ProcessGone(static_cast<DWORD>(*owner)))
            DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

TBackupSlot LookAtBackup(const std::string& name, std::string_view asOpened)
{
    const std::wstring path = LongPath(name);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == kNoFile)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? TBackupSlot::Free : TBackupSlot::OtherFile;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return TBackupSlot::Folder;
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        FileHolds(path, asOpened, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE).value_or(false))
        return TBackupSlot::HoldsIt;
    return attributes & FILE_ATTRIBUTE_READONLY ? TBackupSlot::ReadOnly : TBackupSlot::OtherFile;
}

// After a failed replace: the original put back by its name if it is not there, and then
// nothing lost; else both copies stay where they are, and the result says where.
TSaveResult& Recover(TSaveResult& result, const std::wstring& file, const std::wstring& temporary,
                     const std::wstring& kept, DWORD error)
{
    if (!There(file) && There(kept))
        SaveHooks().moveFile(kept.c_str(), file.c_str(), MOVEFILE_WRITE_THROUGH);
    if (There(file)) {
        if (!There(temporary))  // the new file went in after all
            return Refuse(result, TSaveOutcome::Saved);
        DeleteFileW(temporary.c_str());  // the editor still has the new board, to save again
        return Fail(result, error);
    }
    Fail(result, error);
    result.outcome = TSaveOutcome::CopiesApart;
    result.oldCopy = There(kept) ? ShortForm(kept) : std::string();
    result.newCopy = ShortForm(temporary);
    return result;
}

TSaveResult& SaveNew(TSaveResult& result, const std::wstring& file, std::string_view newBytes)
{
    const std::wstring temporary = WriteBeside(file, newBytes);
    if (temporary.empty())
        return Fail(result, GetLastError());
    // Never over a file that appeared meanwhile: no MOVEFILE_REPLACE_EXISTING.
    if (SaveHooks().moveFile(temporary.c_str(), file.c_str(), MOVEFILE_WRITE_THROUGH))
        return result;
    const DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? Refuse(result, TSaveOutcome::ChangedOnDisk)
                                                                       : Fail(result, error);
}

// Over a file that holds asOpened: the new file written and flushed, then the original held
// so that no one may write it, compared once more, and replaced, kept under a name of ours
// until the backup is placed.
TSaveResult& SaveOver(TSaveResult& result, const std::wstring& file, const std::string& name, std::string_view newBytes,
                      std::string_view asOpened, TBackup backup)
{
    const std::wstring temporary = WriteBeside(file, newBytes);
    if (temporary.empty())
        return Fail(result, GetLastError());
    const HANDLE held = OpenHeld(file);
    // The standard information only: it holds the count of links without asking the volume
    // for its serial number, as GetFileInformationByHandle does.
    FILE_STANDARD_INFO info{};
    std::optional<bool> holds;
    if (held != INVALID_HANDLE_VALUE && GetFileInformationByHandleEx(held, FileStandardInfo, &info, sizeof info))
        holds = Holds(held, asOpened);
    const DWORD error = GetLastError();
    const TSaveOutcome refusal = !holds                   ? TSaveOutcome::Failed
                                 : !*holds                ? TSaveOutcome::ChangedOnDisk
                                 : info.NumberOfLinks > 1 ? TSaveOutcome::HardLinked
                                                          : TSaveOutcome::Saved;
    if (refusal != TSaveOutcome::Saved) {
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        DeleteFileW(temporary.c_str());
        if (refusal == TSaveOutcome::Failed && error != ERROR_FILE_NOT_FOUND)
            return Fail(result, error);
        return Refuse(result, refusal == TSaveOutcome::Failed ? TSaveOutcome::ChangedOnDisk : refusal);
    }
    unsigned attempt = 100;
    while (There(Temporary(file, attempt)))
        ++attempt;
    const std::wstring kept = Temporary(file, attempt);
    const bool replaced = Retried(
        [&] { return SaveHooks().replaceFile(file.c_str(), temporary.c_str(), kept.c_str(), 0, nullptr, nullptr); });
    const DWORD replaceError = GetLastError();
    CloseHandle(held);
    if (!replaced)
        return Recover(result, file, temporary, kept, replaceError);
    if (backup == TBackup::Make &&
        !savefile::PlaceBackup(
            name, result, [&](const std::string& backupName) { return LookAtBackup(backupName, asOpened); },
            [&](const std::string& backupName) {
                if (SaveHooks().moveFile(kept.c_str(), LongPath(backupName).c_str(), MOVEFILE_WRITE_THROUGH))
                    return TPlaced::Done;
                const DWORD moveError = GetLastError();
                return moveError == ERROR_ALREADY_EXISTS || moveError == ERROR_FILE_EXISTS ? TPlaced::Taken
                                                                                           : TPlaced::Failed;
            })) {
        result.backupPath = ShortForm(kept);  // saved all the same; the board as opened stays there
        return result;
    }
    DeleteFileW(kept.c_str());  // still there without a backup, or when one already held it
    return result;
}

}  // namespace

TSaveResult SaveFile(const std::string& path, std::string_view newBytes, std::optional<std::string_view> asOpened,
                     TBackup backup)
{
    TSaveResult result{TSaveOutcome::Saved, path, {}};
    std::wstring file = LongPath(path);
    if (file.empty())
        return Fail(result, GetLastError());
    std::string name = path;  // backups are named from it, as the user reads it
    DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes != kNoFile && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        file = FinalPath(file);
        if (file.empty()) {
            result.outcome = TSaveOutcome::Failed;
            result.systemText = "a symbolic link to a file that cannot be reached: " + SystemText(GetLastError());
            return result;
        }
        name = result.target = ShortForm(file);
        attributes = GetFileAttributesW(file.c_str());
    }
    const bool exists = attributes != kNoFile;
    if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND)
        return Fail(result, GetLastError());
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Fail(result, ERROR_DIRECTORY_NOT_SUPPORTED);
    if (exists != asOpened.has_value())  // gone, or made, since
        return Refuse(result, TSaveOutcome::ChangedOnDisk);
    if (!exists)
        return SaveNew(result, file, newBytes);
    RemoveLeftovers(file);
    if (newBytes == *asOpened) {
        const std::optional<bool> holds = FileHolds(file, *asOpened, FILE_SHARE_READ | FILE_SHARE_DELETE);
        if (!holds)
            return Fail(result, GetLastError());
        if (!*holds)
            return Refuse(result, TSaveOutcome::ChangedOnDisk);
        result.nothingToWrite = true;
        return result;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return Refuse(result, TSaveOutcome::ReadOnly);
    return SaveOver(result, file, name, newBytes, *asOpened, backup);
}
