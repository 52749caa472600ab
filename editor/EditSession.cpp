#include "editor/EditSession.h"

#include <limits>
#include <utility>

#include "platform/text/FileRead.h"

namespace editor {
namespace {

// The bytes read at path into onDisk, or how reading failed.
TOpening Read(const std::string& path, std::optional<std::string>& onDisk, std::string& why)
{
    std::string bytes;
    switch (ReadFileIfThere(path, bytes, why)) {
    case TFileRead::Read:
        onDisk = std::move(bytes);
        return TOpening::Read;
    case TFileRead::Missing:
        return TOpening::NoFile;
    case TFileRead::Folder:
    case TFileRead::Failed:
        break;
    }
    return TOpening::Unreadable;
}

}  // namespace

TEditSession::TEditSession(std::string path)
    // The stamp first: a change while the file is read shows as a stamp that differs.
    : path_(std::move(path)), stamp_(FileStampOf(path_)), opening_(Read(path_, onDisk_, whyUnreadable_)),
      unread_(opening_ == TOpening::Unreadable), editor_(onDisk_.value_or(std::string())),
      savedVersion_(editor_.Document().Version())
{
}

TEditSession::TEditSession(std::string path, TRecovery recovered)
    : path_(std::move(path)), onDisk_(std::move(recovered.asOpened)), opening_(TOpening::Recovered),
      editor_(std::move(recovered.edited)),
      savedVersion_(std::numeric_limits<std::uint64_t>::max()),  // no state of these steps is saved
      baseKnown_(editor_.Document().Bytes() == onDisk_.value_or(std::string()))
{
}

TRecovery TEditSession::ForRecovery() const
{
    return {onDisk_, editor_.Document().Bytes()};
}

bool TEditSession::ChangedOnDisk()
{
    if (unread_)
        return false;
    const std::optional<TStamp> now = FileStampOf(path_);
    if (now && now == stamp_)
        return false;
    std::string bytes, why;
    bool changed = false;
    switch (ReadFileIfThere(path_, bytes, why)) {
    case TFileRead::Read:
        changed = onDisk_ != bytes;
        break;
    case TFileRead::Missing:
        changed = onDisk_.has_value();
        break;
    case TFileRead::Folder:
    case TFileRead::Failed:
        return false;
    }
    if (!changed)
        stamp_ = now;
    return changed;
}

bool TEditSession::NewChangeOnDisk()
{
    if (!ChangedOnDisk())
        return false;
    const std::optional<TStamp> now = FileStampOf(path_);
    if (told_ == now)
        return false;
    told_ = now;
    return true;
}

bool TEditSession::Modified() const
{
    return editor_.Document().Version() != savedVersion_;
}

TSaveResult TEditSession::Save()
{
    // What is there was never read: nothing may be written over it.
    if (unread_)
        return {TSaveOutcome::Failed, path_, whyUnreadable_};
    return SaveTo(path_, onDisk_, backupDone_ ? TBackup::Made : TBackup::Make);
}

TSaveResult TEditSession::SaveAs(const std::string& path)
{
    std::string bytes, why;
    // Over its own file, as a save: the backup made of it stays the one.
    const TBackup backup = path == path_ && backupDone_ ? TBackup::Made : TBackup::Make;
    switch (ReadFileIfThere(path, bytes, why)) {
    case TFileRead::Read:
        return SaveTo(path, std::move(bytes), backup);
    case TFileRead::Missing:
        return SaveTo(path, std::nullopt, backup);
    case TFileRead::Folder:
    case TFileRead::Failed:
        break;
    }
    return {TSaveOutcome::Failed, path, why};
}

TSaveResult TEditSession::SaveTo(const std::string& path, std::optional<std::string> onDisk, TBackup backup)
{
    std::string bytes = editor_.Document().Bytes();
    TSaveResult result = SaveFile(path, bytes, onDisk, backup);
    if (result.Saved()) {
        if (path != path_) {
            backupDone_ = false;
            backupPath_.clear();
        }
        if (!backupDone_ && !result.nothingToWrite) {
            backupDone_ = true;
            backupPath_ = result.backupPath;
        }
        path_ = path;
        onDisk_ = std::move(bytes);
        unread_ = false;
        savedVersion_ = editor_.Document().Version();
        MarkSaved();
    }
    return result;
}

void TEditSession::ConvertToUtf8()
{
    editor_.CancelDrag();
    editor_.Document().ConvertToUtf8(true);
}

}  // namespace editor
