// Saves that must come out alike through either system's implementation: what is on disk
// before, what the editor opened, and what the folder holds after.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/text/SafeSave.h"
#include "tests/support/ScratchFolder.h"

namespace psbtest {

using TFolderFiles = std::map<std::string, std::string>;

// Every file of the folder by name, with its bytes: anything left behind shows.
inline TFolderFiles FilesIn(const std::filesystem::path& folder)
{
    TFolderFiles files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename().string()] = ReadBytes(entry.path());
    return files;
}

struct TSaveCase {
    const char* what;
    const char* name;  // the file in the folder
    std::optional<std::string> onDisk, asOpened;
    bool keepBackup, readOnly;
    TSaveOutcome outcome;
    TFolderFiles after;
};

inline const std::vector<TSaveCase>& SaveCases()
{
    using enum TSaveOutcome;
    using std::nullopt;
    static const std::vector<TSaveCase> cases = {
        {"old kept", "sys.ini", "old", "old", true, false, Saved, {{"sys.ini", "new"}, {"sys.ini.bak", "old"}}},
        {"replaced", "sys.ini", "old", "old", false, false, Saved, {{"sys.ini", "new"}}},
        {"an empty file replaced", "sys.ini", "", "", true, false, Saved, {{"sys.ini", "new"}, {"sys.ini.bak", ""}}},
        {"a new file", "sys.ini", nullopt, nullopt, true, false, Saved, {{"sys.ini", "new"}}},
        {"changed since, same size", "sys.ini", "OLD", "old", true, false, ChangedOnDisk, {{"sys.ini", "OLD"}}},
        {"changed since, longer", "sys.ini", "old!", "old", true, false, ChangedOnDisk, {{"sys.ini", "old!"}}},
        {"gone since", "sys.ini", nullopt, "old", true, false, ChangedOnDisk, {}},
        {"made since", "sys.ini", "old", nullopt, true, false, ChangedOnDisk, {{"sys.ini", "old"}}},
        {"read-only", "sys.ini", "old", "old", true, true, ReadOnly, {{"sys.ini", "old"}}},
        {"no such folder", "none/sys.ini", nullopt, nullopt, true, false, Failed, {}},
    };
    return cases;
}

// Saves "new" as the case says in a folder of its own: what went otherwise, or "".
inline std::string RunSaveCase(const TSaveCase& c)
{
    namespace fs = std::filesystem;
    const TScratchFolder folder("save");
    const fs::path file = folder / c.name;
    if (c.onDisk)
        WriteBytes(file, *c.onDisk);
    if (c.readOnly)  // on Windows the read-only attribute
        fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const TSaveResult result = SaveFile(file.string(), "new", c.asOpened, c.keepBackup);
    if (c.readOnly)
        fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    std::string wrong = result.outcome == c.outcome ? "" : "another outcome; ";
    if (FilesIn(folder.Path()) != c.after)
        wrong += "other files; ";
    // Named in both languages, and why in the system's words when no reason of ours fits.
    if (SaveMessage(result).rfind(file.string() + ": ", 0) ||
        SaveMessage(result, TLanguage::Chinese).rfind(file.string() + "：", 0))
        wrong += "the file not named; ";
    if ((c.outcome == TSaveOutcome::Failed) != (result.outcome == TSaveOutcome::Failed && !result.systemText.empty()))
        wrong += "no reason given; ";
    return wrong.empty() ? "" : wrong + SaveMessage(result);
}

}  // namespace psbtest
