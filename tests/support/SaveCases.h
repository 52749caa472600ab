// Saves that must come out alike through either system's implementation: what is on disk
// before, what the editor opened, and what the folder holds after.
#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/text/SafeSave.h"
#include "tests/support/ScratchFolder.h"

namespace psbtest {

using TFolderFiles = std::map<std::string, std::string>;
constexpr const char* kFolder = "/";  // in TFolderFiles: a folder by that name

// Every file of the folder by name, with its bytes: anything left behind shows.
inline TFolderFiles FilesIn(const std::filesystem::path& folder)
{
    TFolderFiles files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename().string()] = entry.is_directory() ? kFolder : ReadBytes(entry.path());
    return files;
}

inline void MakeFiles(const std::filesystem::path& folder, const TFolderFiles& files)
{
    for (const auto& [name, bytes] : files)
        if (bytes == kFolder)
            std::filesystem::create_directory(folder / name);
        else
            WriteBytes(folder / name, bytes);
}

// Read-only as each system says it: no write bits, or the read-only attribute.
inline void SetReadOnly(const std::filesystem::path& file, bool readOnly)
{
    namespace fs = std::filesystem;
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    readOnly ? fs::perm_options::remove : fs::perm_options::add);
}

struct TSaveCase {
    const char* what;
    const char* name;  // the file in the folder
    std::optional<std::string> onDisk, asOpened;
    TBackup backup;
    TFolderFiles before;   // other files there first
    const char* readOnly;  // the one file made read-only, or nullptr
    TSaveOutcome outcome;
    TFolderFiles after;
    const char* backupName = "";  // where the result says the board as opened is kept
    TBackupDetour detour = TBackupDetour::None;
};

inline const std::vector<TSaveCase>& SaveCases()
{
    using enum TSaveOutcome;
    using enum TBackup;
    using std::nullopt;
    const char* f = kFolder;
    static const std::vector<TSaveCase> cases = {
        {"the first save keeps the board as opened",
         "sys.ini",
         "old",
         "old",
         Make,
         {},
         nullptr,
         Saved,
         {{"sys.ini", "new"}, {"sys.ini.bak", "old"}},
         "sys.ini.bak"},
        {"no backup", "sys.ini", "old", "old", None, {}, nullptr, Saved, {{"sys.ini", "new"}}},
        {"a later save leaves the backup",
         "sys.ini",
         "old",
         "old",
         Made,
         {{"sys.ini.bak", "first"}},
         nullptr,
         Saved,
         {{"sys.ini", "new"}, {"sys.ini.bak", "first"}}},
        {"a .bak that holds the board already stays",
         "sys.ini",
         "old",
         "old",
         Make,
         {{"sys.ini.bak", "old"}},
         nullptr,
         Saved,
         {{"sys.ini", "new"}, {"sys.ini.bak", "old"}},
         "sys.ini.bak"},
        {"someone else's .bak is never overwritten",
         "sys.ini",
         "old",
         "old",
         Make,
         {{"sys.ini.bak", "admin"}},
         nullptr,
         Saved,
         {{"sys.ini", "new"}, {"sys.ini.bak", "admin"}, {"sys.ini.1.bak", "old"}},
         "sys.ini.1.bak",
         TBackupDetour::OtherFile},
        {"nor the next name",
         "sys.ini",
         "old",
         "old",
         Make,
         {{"sys.ini.bak", "admin"}, {"sys.ini.1.bak", "older"}},
         nullptr,
         Saved,
         {{"sys.ini", "new"}, {"sys.ini.bak", "admin"}, {"sys.ini.1.bak", "older"}, {"sys.ini.2.bak", "old"}},
         "sys.ini.2.bak",
         TBackupDetour::OtherFile},
        {"a read-only .bak",
         "sys.ini",
         "old",
         "old",
         Make,
         {{"sys.ini.bak", "admin"}},
         "sys.ini.bak",
         Saved,
         {{"sys.ini", "new"}, {"sys.ini.bak", "admin"}, {"sys.ini.1.bak", "old"}},
         "sys.ini.1.bak",
         TBackupDetour::ReadOnly},
        {"a read-only .bak that holds the board",
         "sys.ini",
         "old",
         "old",
         Make,
         {{"sys.ini.bak", "old"}},
         "sys.ini.bak",
         Saved,
         {{"sys.ini", "new"}, {"sys.ini.bak", "old"}},
         "sys.ini.bak"},
        {"a folder named .bak",
         "sys.ini",
         "old",
         "old",
         Make,
         {{"sys.ini.bak", f}},
         nullptr,
         Saved,
         {{"sys.ini", "new"}, {"sys.ini.bak", f}, {"sys.ini.1.bak", "old"}},
         "sys.ini.1.bak",
         TBackupDetour::Folder},
        {"nothing changed: nothing written", "sys.ini", "new", "new", Make, {}, nullptr, Saved, {{"sys.ini", "new"}}},
        {"nothing changed here, but on disk",
         "sys.ini",
         "old",
         "new",
         Make,
         {},
         nullptr,
         ChangedOnDisk,
         {{"sys.ini", "old"}}},
        {"an empty file replaced",
         "sys.ini",
         "",
         "",
         Make,
         {},
         nullptr,
         Saved,
         {{"sys.ini", "new"}, {"sys.ini.bak", ""}},
         "sys.ini.bak"},
        {"a new file", "sys.ini", nullopt, nullopt, Make, {}, nullptr, Saved, {{"sys.ini", "new"}}},
        {"changed since, same size", "sys.ini", "OLD", "old", Make, {}, nullptr, ChangedOnDisk, {{"sys.ini", "OLD"}}},
        {"changed since, longer", "sys.ini", "old!", "old", Make, {}, nullptr, ChangedOnDisk, {{"sys.ini", "old!"}}},
        {"gone since", "sys.ini", nullopt, "old", Make, {}, nullptr, ChangedOnDisk, {}},
        {"made since", "sys.ini", "old", nullopt, Make, {}, nullptr, ChangedOnDisk, {{"sys.ini", "old"}}},
        {"read-only", "sys.ini", "old", "old", Make, {}, "sys.ini", ReadOnly, {{"sys.ini", "old"}}},
        {"a folder gone", "none/sys.ini", nullopt, nullopt, Make, {}, nullptr, FolderGone, {}},
        {"a folder gone, with its file", "none/sys.ini", nullopt, "old", Make, {}, nullptr, FolderGone, {}},
    };
    return cases;
}

// Saves "new" as the case says in a folder of its own: what went otherwise, or "".
inline std::string RunSaveCase(const TSaveCase& c)
{
    namespace fs = std::filesystem;
    const TScratchFolder folder("save");
    const fs::path file = folder / c.name;
    MakeFiles(folder.Path(), c.before);
    // Whole seconds, which every file system keeps as they are.
    const fs::file_time_type past =
        std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now()) - std::chrono::hours(48);
    if (c.onDisk) {
        WriteBytes(file, *c.onDisk);
        fs::last_write_time(file, past);
    }
    if (c.readOnly)
        SetReadOnly(folder / c.readOnly, true);
    const TSaveResult result = SaveFile(file.string(), "new", c.asOpened, c.backup);
    if (c.readOnly)
        SetReadOnly(folder / c.readOnly, false);
    std::string wrong = result.outcome == c.outcome ? "" : "another outcome; ";
    if (FilesIn(folder.Path()) != c.after)
        wrong += "other files; ";
    // Bytes it already held are not written again.
    if (c.onDisk && c.after.contains(c.name) && c.after.at(c.name) == *c.onDisk && fs::last_write_time(file) != past)
        wrong += "written again; ";
    if (result.nothingToWrite != (c.outcome == TSaveOutcome::Saved && c.onDisk == "new"))
        wrong += "nothing to write said wrongly; ";
    // Named in both languages, and why in the system's words when no reason of ours fits.
    const std::string english = SaveMessage(result), chinese = SaveMessage(result, TLanguage::Chinese);
    if (english.rfind(file.string() + ": ", 0) || chinese.rfind(file.string() + "：", 0))
        wrong += "the file not named; ";
    if ((c.outcome == TSaveOutcome::Failed) != (result.outcome == TSaveOutcome::Failed && !result.systemText.empty()))
        wrong += "no reason given; ";
    // Where the backup is, and why not by the usual name, said in the message too.
    const std::string backup = *c.backupName ? (folder / c.backupName).string() : "";
    if (result.backupPath != backup || result.detour != c.detour)
        wrong += "the backup elsewhere: " + result.backupPath + "; ";
    if (!backup.empty() && (english.find(backup) == english.npos || chinese.find(backup) == chinese.npos))
        wrong += "the backup not named; ";
    if (c.detour != TBackupDetour::None && english.find(file.string() + ".bak is") == english.npos &&
        english.find(file.string() + ".bak holds") == english.npos)
        wrong += "the usual backup name not named; ";
    return wrong.empty() ? "" : wrong + english;
}

// Leftovers of a killed save beside the file: that of a process that has ended goes at the
// next save; that of a live one, and every other name, stays.
inline std::string RunLeftoversCase(unsigned long ended, unsigned long alive)
{
    const TScratchFolder folder("leftovers");
    const std::string e = std::to_string(ended), a = std::to_string(alive);
    const TFolderFiles kept = {{"sys.ini.bak", "b"},
                               {"sys.ini." + a + "-0.tmp", "live"},
                               {"sys.ini." + e + "-0.tmp~", "x"},
                               {"sys.ini." + e + ".tmp", "x"},
                               {"sys.ini.x" + e + "-0.tmp", "x"},
                               {"sys.ini." + e + "-0.tmp.txt", "x"},
                               {"other.ini." + e + "-0.tmp", "x"},
                               {"sys.ini." + e + "--0.tmp", "x"}};
    TFolderFiles before = kept;
    before["sys.ini." + e + "-0.tmp"] = "killed";
    before["sys.ini." + e + "-12.tmp"] = "killed";
    before["sys.ini"] = "old";
    MakeFiles(folder.Path(), before);
    const TSaveResult result = SaveFile((folder / "sys.ini").string(), "new", "old", TBackup::Made);
    TFolderFiles after = kept;
    after["sys.ini"] = "new";
    const TFolderFiles got = FilesIn(folder.Path());
    if (result.Saved() && got == after)
        return "";
    std::string wrong = SaveMessage(result) + "; left:";
    for (const auto& [name, bytes] : got)
        wrong += " " + name;
    return wrong;
}

}  // namespace psbtest
