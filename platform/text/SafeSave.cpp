#include "platform/text/SafeSave.h"

#include "platform/text/FileRead.h"
#include "platform/text/SysUtils.h"

namespace {

// {0} is the file, {1} the system's words.
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
    {TSaveOutcome::Failed, "{0}: cannot be saved: {1}; the file is unchanged", "{0}：無法儲存：{1}；檔案未變更"},
};
constexpr TBilingualTable<TSaveOutcome> kTable(kRows, TSaveOutcome::Failed);

}  // namespace

std::string SaveMessage(const TSaveResult& result, TLanguage language)
{
    return kTable.Text(result.outcome, language, {result.path, result.systemText});
}

namespace savefile {

std::string BackupPath(const std::string& path)
{
    return path + ".bak";
}

std::string TemporaryPath(const std::string& path, unsigned long process, unsigned attempt)
{
    return path + "." + std::to_string(process) + "-" + std::to_string(attempt) + ".tmp";
}

std::optional<bool> ChangedSinceOpened(const std::string& path, std::optional<std::uint64_t> sizeOnDisk,
                                       std::optional<std::string_view> asOpened)
{
    if (!sizeOnDisk || !asOpened)
        return sizeOnDisk.has_value() != asOpened.has_value();
    // Another size needs no reading; the same size may still hold other bytes.
    if (*sizeOnDisk != asOpened->size())
        return true;
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return std::nullopt;
    return bytes != *asOpened;
}

}  // namespace savefile
