#include "platform/text/SafeSave.h"

#include <charconv>

#include "platform/text/SysUtils.h"

namespace {

// {0} is the file, {1} the system's words, {2} and {3} where the old and the new copy are.
constexpr TBilingualText<TSaveOutcome> kRows[] = {
    {TSaveOutcome::Saved, "{0}: saved", "{0}：已儲存"},
    {TSaveOutcome::ChangedOnDisk, "{0}: another program changed the file after it was opened; nothing was saved",
     "{0}：開啟後檔案已被其他程式修改，未儲存任何內容"},
    {TSaveOutcome::ReadOnly, "{0}: cannot be saved: the file is read-only; it is unchanged",
     "{0}：無法儲存：檔案為唯讀；檔案未變更"},
    {TSaveOutcome::NoPermission, "{0}: cannot be saved: no permission to write the file or its folder; it is unchanged",
     "{0}：無法儲存：沒有寫入此檔案或其資料夾的權限；檔案未變更"},
    {TSaveOutcome::Locked, "{0}: cannot be saved: another program is using the file; it is unchanged",
     "{0}：無法儲存：另一個程式正在使用此檔案；檔案未變更"},
    {TSaveOutcome::DiskFull, "{0}: cannot be saved: the disk is full; the file is unchanged",
     "{0}：無法儲存：磁碟已滿；檔案未變更"},
    {TSaveOutcome::FolderGone,
     "{0}: cannot be saved: its folder is not there (a removed drive, a share out of reach or a deleted folder)",
     "{0}：無法儲存：檔案所在的資料夾不存在（磁碟已移除、網路共用無法連線或資料夾已刪除）"},
    {TSaveOutcome::HardLinked,
     "{0}: cannot be saved: the file has other names (hard links), which a save would part from it; save it "
     "under another name; it is unchanged",
     "{0}：無法儲存：此檔案還有其他名稱（硬式連結），儲存會使它們分開；請另存新檔；檔案未變更"},
    {TSaveOutcome::CopiesApart,
     "{0}: cannot be saved: {1}; no file is under that name now: the board as it was is in {2}, the new one in {3}",
     "{0}：無法儲存：{1}；此名稱下目前沒有檔案：原來的看板在 {2}，新的在 {3}"},
    {TSaveOutcome::Failed, "{0}: cannot be saved: {1}; the file is unchanged", "{0}：無法儲存：{1}；檔案未變更"},
};
constexpr TBilingualTable<TSaveOutcome> kTable(kRows, TSaveOutcome::Failed);

// What follows "saved": {0} is where the backup is, {1} the usual backup name.
constexpr TBilingualText<TBackupDetour> kBackupRows[] = {
    {TBackupDetour::None, "; the board as it was opened is kept in {0}", "；開啟時的看板保存在 {0}"},
    {TBackupDetour::OtherFile, "; {1} holds another file, so the board as it was opened is kept in {0}",
     "；{1} 是另一個檔案，因此開啟時的看板保存在 {0}"},
    {TBackupDetour::ReadOnly, "; {1} is read-only, so the board as it was opened is kept in {0}",
     "；{1} 為唯讀，因此開啟時的看板保存在 {0}"},
    {TBackupDetour::Folder, "; {1} is a folder, so the board as it was opened is kept in {0}",
     "；{1} 是資料夾，因此開啟時的看板保存在 {0}"},
};
constexpr TBilingualTable<TBackupDetour> kBackupTable(kBackupRows, TBackupDetour::Folder);

}  // namespace

std::string SaveMessage(const TSaveResult& result, TLanguage language)
{
    std::string text =
        kTable.Text(result.outcome, language, {result.path, result.systemText, result.oldCopy, result.newCopy});
    if (!result.Saved())
        return text;
    if (!result.target.empty())
        text += FillPlaceholders(
            language == TLanguage::Chinese ? "（經由連結寫入 {0}）" : " (through the link, to {0})", {result.target});
    if (!result.backupPath.empty())
        text += kBackupTable.Text(
            result.detour, language,
            {result.backupPath, savefile::BackupPath(result.target.empty() ? result.path : result.target)});
    return text;
}

namespace savefile {

std::string BackupPath(const std::string& path, unsigned attempt)
{
    return attempt == 0 ? path + ".bak" : path + "." + std::to_string(attempt) + ".bak";
}

std::string TemporaryPath(const std::string& path, unsigned long process, unsigned attempt)
{
    return path + "." + std::to_string(process) + "-" + std::to_string(attempt) + ".tmp";
}

std::optional<unsigned long> TemporaryOwner(std::string_view name, std::string_view board)
{
    // board.<digits>-<digits>.tmp, and nothing else: no sign, no space, no other ending.
    if (!name.starts_with(board) || !name.ends_with(".tmp") || name.size() < board.size() + 8 ||
        name[board.size()] != '.')
        return std::nullopt;
    const std::string_view middle = name.substr(board.size() + 1, name.size() - board.size() - 5);
    const std::size_t dash = middle.find('-');
    const auto digits = [](std::string_view s) {
        return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (dash == std::string_view::npos || !digits(middle.substr(0, dash)) || !digits(middle.substr(dash + 1)))
        return std::nullopt;
    unsigned long process = 0;
    if (std::from_chars(middle.data(), middle.data() + dash, process).ec != std::errc())
        return std::nullopt;
    return process;
}

bool PlaceBackup(const std::string& path, TSaveResult& result,
                 const std::function<TBackupSlot(const std::string&)>& look,
                 const std::function<TPlaced(const std::string&)>& place)
{
    for (unsigned attempt = 0, tries = 0; attempt < 1000 && tries < 2000; ++tries) {
        const std::string name = BackupPath(path, attempt);
        const TBackupSlot slot = look(name);
        if (slot == TBackupSlot::Free) {
            const TPlaced placed = place(name);
            if (placed == TPlaced::Failed)
                return false;
            if (placed == TPlaced::Taken)  // made meanwhile: looked at again
                continue;
        }
        if (slot == TBackupSlot::Free || slot == TBackupSlot::HoldsIt) {
            result.backupPath = name;
            return true;
        }
        if (attempt++ == 0)
            result.detour = slot == TBackupSlot::Folder     ? TBackupDetour::Folder
                            : slot == TBackupSlot::ReadOnly ? TBackupDetour::ReadOnly
                                                            : TBackupDetour::OtherFile;
    }
    return false;
}

}  // namespace savefile
