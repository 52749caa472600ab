#include "platform/text/SafeSave.h"
#include "platform/text/win32/WinText.h"

#include <windows.h>

#include <algorithm>

#ifndef ERROR_DIRECTORY_NOT_SUPPORTED
#define ERROR_DIRECTORY_NOT_SUPPORTED 336L  // not in every mingw-w64's headers
#endif

namespace {

// The system's message, without the line end and full stop, as it goes inside a sentence.
std::string SystemText(DWORD code)
{
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    // std::to_wstring would bring the C library's whole wide printf along, floating point and all.
    std::wstring words = length ? std::wstring(text, length) : ToWide("error " + std::to_string(code));
    LocalFree(text);
    words.erase(words.find_last_not_of(L" \r\n.\u3002") + 1);
    return FromWide(words);
}

TSaveResult Failure(const std::string& path, DWORD error)
{
    TSaveOutcome outcome = TSaveOutcome::Failed;
    switch (error) {
    case ERROR_WRITE_PROTECT:
        outcome = TSaveOutcome::ReadOnly;
        break;
    case ERROR_ACCESS_DENIED:
        outcome = TSaveOutcome::NoPermission;
        break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
        outcome = TSaveOutcome::Locked;
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        outcome = TSaveOutcome::DiskFull;
        break;
    }
    return {outcome, path, SystemText(error)};
}

// A new file beside the path holding the bytes, on disk and closed. Its name, or "" with
// GetLastError() set and nothing left behind.
std::wstring WriteBeside(const std::string& path, std::string_view bytes)
{
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::wstring name = ToWide(savefile::TemporaryPath(path, GetCurrentProcessId(), attempt));
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

}  // namespace

TSaveResult SaveFile(const std::string& path, std::string_view newBytes, std::optional<std::string_view> asOpened,
                     bool keepBackup)
{
    const std::wstring target = ToWide(path);
    WIN32_FILE_ATTRIBUTE_DATA info{};
    const bool exists = GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &info);
    if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_PATH_NOT_FOUND)
        return Failure(path, GetLastError());
    if (exists && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return Failure(path, ERROR_DIRECTORY_NOT_SUPPORTED);
    const std::uint64_t size = std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
    const std::optional<bool> changed =
        savefile::ChangedSinceOpened(path, exists ? std::optional(size) : std::nullopt, asOpened);
    if (!changed)
        return Failure(path, GetLastError());
    if (*changed)
        return {TSaveOutcome::ChangedOnDisk, path, {}};
    if (exists && (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY))
        return {TSaveOutcome::ReadOnly, path, {}};

    const std::wstring temporary = WriteBeside(path, newBytes);
    if (temporary.empty())
        return Failure(path, GetLastError());
    if (!exists) {
        if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return {TSaveOutcome::Saved, path, {}};
        const DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        return Failure(path, error);
    }
    // Always through a backup: without one, a failed last step leaves nothing by the file's
    // name; with one, the file as it was can be put back.
    const std::wstring backup =
        ToWide(keepBackup ? savefile::BackupPath(path)
                          : savefile::TemporaryPath(savefile::BackupPath(path), GetCurrentProcessId(), 0));
    if (!ReplaceFileW(target.c_str(), temporary.c_str(), backup.c_str(), 0, nullptr, nullptr)) {
        const DWORD error = GetLastError();
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
            MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
        DeleteFileW(temporary.c_str());
        return Failure(path, error);
    }
    if (!keepBackup)
        DeleteFileW(backup.c_str());
    return {TSaveOutcome::Saved, path, {}};
}
