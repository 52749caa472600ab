// Saving a file the user edited so that it is never left half written, implemented per OS.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text/Bilingual.h"

enum class TSaveOutcome {
    Saved,
    ChangedOnDisk,  // someone else saved it since it was opened: nothing is written
    ReadOnly,       // the file (or its disk) is read-only
    NoPermission,   // the folder or the file may not be written by this user
    Locked,         // another program has it open (Windows)
    DiskFull,
    Failed,  // anything else: systemText says what
};

struct TSaveResult {
    TSaveOutcome outcome = TSaveOutcome::Saved;
    std::string path;
    std::string systemText;  // the system's own words for the failure, if any

    bool Saved() const { return outcome == TSaveOutcome::Saved; }
};

// Saves newBytes to the UTF-8 path in one step: written beside it, flushed, then put in its
// place, so a failure at any point leaves the file as it was and no temporary file behind.
// asOpened is what the editor read when it opened the file (nullopt: there was no file); if
// the file on disk is no longer that, nothing is written and the outcome is ChangedOnDisk.
// With keepBackup the file as it was stays beside it as path + ".bak".
TSaveResult SaveFile(const std::string& path, std::string_view newBytes, std::optional<std::string_view> asOpened,
                     bool keepBackup);

// What happened, naming the file.
std::string SaveMessage(const TSaveResult& result, TLanguage language = TLanguage::English);

// Shared by the two implementations.
namespace savefile {

std::string BackupPath(const std::string& path);
// A name beside the path for a file of this save's own, different for each attempt.
std::string TemporaryPath(const std::string& path, unsigned long process, unsigned attempt);
// Whether the file differs from what was opened: gone, newly there, or other bytes.
// sizeOnDisk is nullopt when there is no file. nullopt when it could not be read: errno
// (GetLastError() on Windows) then says why.
std::optional<bool> ChangedSinceOpened(const std::string& path, std::optional<std::uint64_t> sizeOnDisk,
                                       std::optional<std::string_view> asOpened);

}  // namespace savefile
