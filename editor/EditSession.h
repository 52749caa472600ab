// One board open for editing, whatever shows it: which file it is, whether it was there, what
// the file on disk holds as far as this session knows, and saving it there or elsewhere.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "board/Merge.h"
#include "editor/BoardEditor.h"
#include "editor/Recovery.h"
#include "platform/text/FileRead.h"
#include "platform/text/FileSystem.h"
#include "platform/text/SafeSave.h"

namespace editor {

// How opening went: the file read, no such file (a new, empty board), a file there that could
// not be read (an empty board that is never saved over it), or work kept for recovery taken.
enum class TOpening : std::uint8_t { Read, NoFile, Unreadable, Recovered };

class TEditSession {
public:
    explicit TEditSession(std::string path);
    // Work kept when a session of Windows ended, as unsaved changes over the board as it was
    // then; the file is not read.
    TEditSession(std::string path, TRecovery recovered);

    TBoardEditor& Editor() { return editor_; }
    const TBoardEditor& Editor() const { return editor_; }
    const std::string& Path() const { return path_; }
    TOpening Opening() const { return opening_; }
    // The system's words for why the file could not be read.
    const std::string& WhyUnreadable() const { return whyUnreadable_; }

    // Changed since opened or last saved.
    bool Modified() const;

    // Saves over the file at Path(): only while it still holds what was opened or last saved
    // here, or for a new board while there is still none. The first save that writes keeps
    // the file as opened beside it (the result says where); later ones leave that backup.
    TSaveResult Save();
    // Saves to another file as it now stands on disk, keeping that as its backup; later saves
    // then go there.
    TSaveResult SaveAs(const std::string& path);
    // What to keep if the work cannot be saved before Windows ends the session.
    TRecovery ForRecovery() const;
    // Whether the file is no longer what this session read or wrote: gone, newly there, or
    // other bytes. Cheap while its size and time of writing are as last seen; false while it
    // cannot be read, which saving reports.
    bool ChangedOnDisk();
    // The same, but once for each change: false again until the file changes once more.
    bool NewChangeOnDisk();

    // Where the board as it was opened is kept, once a save has kept it; "" before.
    const std::string& BackupPath() const { return backupPath_; }
    // Every line in UTF-8 with a byte order mark, for text the file's encoding cannot hold.
    void ConvertToUtf8();

    // -- someone else's save, merged (SessionMerge.cpp)
    // Reads the file as it now is, for MergeTheirs.
    TFileRead ReadTheirs(std::string& why);
    // Whether the steps since the file was last read or written here are known one by one, so
    // that they can be made again on theirs: not for recovered work, nor once steps from
    // before the last save were undone.
    bool CanMerge() const;
    // How many changes those steps make, each value set, PC added, deleted or moved one.
    std::size_t ChangesToMerge() const;
    // Those steps made again on the file ReadTheirs read, keepMine as Merge takes it. The steps
    // refused name this session's PCs.
    board::TMergeResult MergeTheirs(const std::vector<bool>& keepMine = {}) const;
    // A merge shown in place of the board, unsaved: the file is taken to hold what ReadTheirs
    // read, so that the next save goes over theirs, and undo shows theirs.
    void TakeMerged(board::TBoardDocument merged);

private:
    using TStamp = TFileStamp;

    std::string path_;
    // The file's size and time of writing when onDisk_ was last known to be its bytes.
    std::optional<TStamp> stamp_;
    // The file when a change was last told (nullopt inside: it was gone), if one was.
    std::optional<std::optional<TStamp>> told_;
    // The file at path_ as this session last read or wrote it; nullopt: there was none.
    std::optional<std::string> onDisk_;
    std::string whyUnreadable_;
    TOpening opening_ = TOpening::Read;
    bool unread_ = false;  // a file is at path_ that this session never read
    TBoardEditor editor_;
    std::uint64_t savedVersion_ = 0;
    // Whether a save since opening wrote the file, and so kept (or had nothing to keep of) it.
    bool backupDone_ = false;
    std::string backupPath_;

    // What the file held when last read or written here, in this document's steps: the steps
    // done then, and the identities of its PCs then (nullopt: the document was opened on it,
    // so they are the identities its steps use).
    std::vector<board::TMeaning> baseDone_;
    std::optional<std::vector<board::TPcId>> baseIds_;
    bool baseKnown_ = true;  // false: the document never held onDisk_ (recovered work)
    // The file as ReadTheirs read it, and its stamp before.
    std::optional<std::string> theirs_;
    std::optional<TStamp> theirsStamp_;

    TSaveResult SaveTo(const std::string& path, std::optional<std::string> onDisk, TBackup backup);
    // The document now holds what was just written.
    void MarkSaved();
};

}  // namespace editor
