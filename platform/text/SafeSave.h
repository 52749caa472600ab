// Saving a file the user edited so that it is never left half written, implemented per OS.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text/Bilingual.h"

enum class TSaveOutcome : std::uint8_t {
    Saved,
    ChangedOnDisk,  // someone else saved it since it was opened: nothing is written
    ReadOnly,       // the file (or its disk) is read-only
    NoPermission,   // the folder or the file may not be written by this user
    Locked,         // another program has it open (Windows), still after a few tries
    DiskFull,
    FolderGone,   // its folder, or the drive or share it is on, is not there
    HardLinked,   // the file has other names, which a new file in its place would part from it
    CopiesApart,  // the last step failed and could not be undone: oldCopy and newCopy hold the two
    Failed,       // anything else: systemText says what
};

// What becomes of the file as it was opened.
enum class TBackup : std::uint8_t {
    None,  // nothing is kept
    Make,  // the first save since it was opened: kept beside it, as path + ".bak" or the next free name
    Made,  // an earlier save of this session kept it already: left as it is
};

// Why the backup is not at path + ".bak": what that name holds.
enum class TBackupDetour : std::uint8_t { None, OtherFile, ReadOnly, Folder };

struct TSaveResult {
    TSaveOutcome outcome = TSaveOutcome::Saved;
    std::string path;
    std::string systemText;       // the system's own words for the failure, if any
    bool nothingToWrite = false;  // Saved without writing: the file already held these bytes
    std::string target{};         // the file written, when path is a symbolic link to it
    std::string backupPath{};     // where this save keeps the file as opened (TBackup::Make)
    TBackupDetour detour = TBackupDetour::None;
    std::string oldCopy{}, newCopy{};  // CopiesApart: the file as it was, and as it was to be

    bool Saved() const { return outcome == TSaveOutcome::Saved; }
};

// Saves newBytes to the UTF-8 path in one step: written beside it, flushed, then put in its
// place, so a failure at any point leaves the file as it was and no temporary file behind (or,
// for CopiesApart, says where both are). asOpened is what the editor read when it opened the
// file (nullopt: there was no file); if the file on disk is no longer that when the new one
// is ready to take its place, nothing is written and the outcome is ChangedOnDisk. When
// newBytes are asOpened and the file still holds them, nothing is written at all.
// A symbolic link is saved to the file it leads to; a file with other (hard) names is refused.
TSaveResult SaveFile(const std::string& path, std::string_view newBytes, std::optional<std::string_view> asOpened,
                     TBackup backup);

// What happened, naming the file, and where the backup is.
std::string SaveMessage(const TSaveResult& result, TLanguage language = TLanguage::English);

// Shared by the two implementations.
namespace savefile {

// path + ".bak", then path + ".1.bak", ".2.bak", …
std::string BackupPath(const std::string& path, unsigned attempt = 0);
// A name beside the path for a file of this save's own, different for each attempt.
std::string TemporaryPath(const std::string& path, unsigned long process, unsigned attempt);
// The process that made a file named as TemporaryPath does beside the file named board;
// nullopt for any other name.
std::optional<unsigned long> TemporaryOwner(std::string_view name, std::string_view board);

// What a backup name holds.
enum class TBackupSlot : std::uint8_t { Free, HoldsIt, Folder, ReadOnly, OtherFile };
enum class TPlaced : std::uint8_t { Done, Taken, Failed };
// Keeps the board as opened under the first backup name that is free (place puts it there)
// or holds it already, recording which in result. False when placing failed: errno
// (GetLastError() on Windows) says why.
bool PlaceBackup(const std::string& path, TSaveResult& result,
                 const std::function<TBackupSlot(const std::string&)>& look,
                 const std::function<TPlaced(const std::string&)>& place);

}  // namespace savefile
