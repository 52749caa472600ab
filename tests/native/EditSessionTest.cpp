// The editing session on real files: what opening a file, no file or an unreadable one gives,
// and where saving, saving elsewhere and converting leave the file and the session.
#include "editor/EditSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "tests/support/ScratchFolder.h"

using editor::TEditSession;
using editor::TOpening;

namespace {

const std::string kEditSessionBoard =
    "[sys]\r\ncount=2\r\n[PC1]\r\nCaption=A\r\nLeft=8\r\nTop=8\r\nWidth=64\r\nHeight=24\r\n";

// Opened, edited and saved, the file takes the edit and the session is no longer modified;
// a save after someone else's is refused and leaves theirs.
TEST(EditSession, SavesOverWhatItOpenedOnlyWhileThatIsStillThere)
{
    psbtest::TScratchFolder folder("session");
    const std::string path = folder.Write("room.ini", kEditSessionBoard).string();
    TEditSession s(path);
    EXPECT_EQ(s.Opening(), TOpening::Read);
    EXPECT_EQ(s.Editor().Pcs().size(), 1u);
    EXPECT_FALSE(s.Modified());
    s.Editor().Select(0);
    ASSERT_EQ(s.Editor().Nudge(1, 0, false, false), board::TRefusal::None);
    EXPECT_TRUE(s.Modified());
    s.Editor().Undo();
    EXPECT_FALSE(s.Modified());
    s.Editor().Redo();

    ASSERT_TRUE(s.Save().Saved());
    EXPECT_FALSE(s.Modified());
    EXPECT_NE(psbtest::ReadBytes(path).find("Left=9\r\n"), std::string::npos);
    EXPECT_EQ(psbtest::ReadBytes(path + ".bak"), kEditSessionBoard);
    // The next save compares with what this one wrote.
    ASSERT_EQ(s.Editor().Nudge(1, 0, false, false), board::TRefusal::None);
    ASSERT_TRUE(s.Save().Saved());
    EXPECT_NE(psbtest::ReadBytes(path).find("Left=10\r\n"), std::string::npos);

    psbtest::WriteBytes(path, kEditSessionBoard);
    ASSERT_EQ(s.Editor().Nudge(1, 0, false, false), board::TRefusal::None);
    const TSaveResult refused = s.Save();
    EXPECT_EQ(refused.outcome, TSaveOutcome::ChangedOnDisk);
    EXPECT_EQ(refused.path, path);
    EXPECT_EQ(psbtest::ReadBytes(path), kEditSessionBoard);
    EXPECT_TRUE(s.Modified());
}

// No file, nor a folder for it: an empty board, saved as a new file, and then over that file;
// a file that appears meanwhile is never overwritten.
TEST(EditSession, ABoardFromNoFileSavesANewOne)
{
    psbtest::TScratchFolder folder("session");
    const std::string path = (folder.Path() / "new.ini").string();
    TEditSession s(path);
    EXPECT_EQ(s.Opening(), TOpening::NoFile);
    EXPECT_TRUE(s.Editor().Pcs().empty());
    ASSERT_EQ(s.Editor().AddPc(), board::TRefusal::None);
    ASSERT_TRUE(s.Save().Saved());
    EXPECT_EQ(s.Path(), path);
    EXPECT_NE(psbtest::ReadBytes(path).find("[PC1]"), std::string::npos);
    ASSERT_EQ(s.Editor().AddPc(), board::TRefusal::None);
    ASSERT_TRUE(s.Save().Saved());
    EXPECT_NE(psbtest::ReadBytes(path).find("[PC2]"), std::string::npos);

    TEditSession inMissingFolder((folder.Path() / "gone" / "sys.ini").string());
    EXPECT_EQ(inMissingFolder.Opening(), TOpening::NoFile);
    TEditSession raced((folder.Path() / "raced.ini").string());
    ASSERT_EQ(raced.Editor().AddPc(), board::TRefusal::None);
    psbtest::WriteBytes(folder.Path() / "raced.ini", kEditSessionBoard);
    EXPECT_EQ(raced.Save().outcome, TSaveOutcome::ChangedOnDisk);
    EXPECT_EQ(psbtest::ReadBytes(folder.Path() / "raced.ini"), kEditSessionBoard);
}

// Something there that cannot be read (here a folder) is said to be so with the system's
// words, and nothing is saved over it; Save As elsewhere works, and later saves go there.
TEST(EditSession, AnUnreadableFileIsNeverSavedOver)
{
    psbtest::TScratchFolder folder("session");
    const std::filesystem::path there = folder.Path() / "sys.ini";
    std::filesystem::create_directory(there);
    TEditSession s(there.string());
    EXPECT_EQ(s.Opening(), TOpening::Unreadable);
    EXPECT_FALSE(s.WhyUnreadable().empty());
    ASSERT_EQ(s.Editor().AddPc(), board::TRefusal::None);
    const TSaveResult refused = s.Save();
    EXPECT_EQ(refused.outcome, TSaveOutcome::Failed);
    EXPECT_EQ(refused.systemText, s.WhyUnreadable());
    EXPECT_TRUE(std::filesystem::is_directory(there));
    EXPECT_EQ(s.SaveAs(there.string()).outcome, TSaveOutcome::Failed);

    const std::string elsewhere = (folder.Path() / "copy.ini").string();
    ASSERT_TRUE(s.SaveAs(elsewhere).Saved());
    EXPECT_EQ(s.Path(), elsewhere);
    EXPECT_FALSE(s.Modified());
    ASSERT_EQ(s.Editor().AddPc(), board::TRefusal::None);
    ASSERT_TRUE(s.Save().Saved());
    EXPECT_NE(psbtest::ReadBytes(elsewhere).find("[PC2]"), std::string::npos);
}

// The backup holds the board as it was opened through any number of saves; a save with
// nothing new writes nothing; a .bak the session did not make is left as it is.
TEST(EditSession, TheBackupKeepsTheBoardAsOpened)
{
    psbtest::TScratchFolder folder("session");
    const std::string path = folder.Write("room.ini", kEditSessionBoard).string();
    const std::filesystem::path admins = folder.Write("room.ini.bak", "; the admin's\r\n");
    TEditSession s(path);
    const std::filesystem::file_time_type past =
        std::chrono::floor<std::chrono::seconds>(std::filesystem::file_time_type::clock::now()) -
        std::chrono::hours(48);
    std::filesystem::last_write_time(path, past);
    const TSaveResult nothing = s.Save();
    EXPECT_TRUE(nothing.Saved() && nothing.nothingToWrite && nothing.backupPath.empty());
    EXPECT_EQ(std::filesystem::last_write_time(path), past);

    s.Editor().Select(0);
    ASSERT_EQ(s.Editor().Nudge(1, 0, false, false), board::TRefusal::None);
    const TSaveResult first = s.Save();
    EXPECT_TRUE(first.Saved() && first.backupPath == path + ".1.bak" && first.detour == TBackupDetour::OtherFile);
    ASSERT_EQ(s.Editor().Nudge(1, 0, false, false), board::TRefusal::None);
    const TSaveResult second = s.Save();
    EXPECT_TRUE(second.Saved() && second.backupPath.empty());
    EXPECT_EQ(s.BackupPath(), path + ".1.bak");
    EXPECT_NE(psbtest::ReadBytes(path).find("Left=10\r\n"), std::string::npos);
    EXPECT_EQ(psbtest::ReadBytes(path + ".1.bak"), kEditSessionBoard);
    EXPECT_EQ(psbtest::ReadBytes(admins), "; the admin's\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".2.bak"));

    // Save As over its own file is a save: the backup stays the one made.
    ASSERT_EQ(s.Editor().Nudge(1, 0, false, false), board::TRefusal::None);
    EXPECT_TRUE(s.SaveAs(path).Saved());
    EXPECT_EQ(psbtest::ReadBytes(path + ".1.bak"), kEditSessionBoard);
    EXPECT_FALSE(std::filesystem::exists(path + ".2.bak"));
}

// Save As over a file that is there takes it as it now is; converting is a step like any other.
TEST(EditSession, SaveAsOverAFileAndConvert)
{
    psbtest::TScratchFolder folder("session");
    const std::string big5 = "[sys]\r\ncount=2\r\n[PC1]\r\nCaption=\xA5\xD2\r\nLeft=8\r\nTop=8\r\n";
    const std::string path = folder.Write("big5.ini", big5).string();
    const std::string other = folder.Write("other.ini", "; theirs\r\n").string();
    TEditSession s(path);
    s.ConvertToUtf8();
    EXPECT_TRUE(s.Modified());
    ASSERT_TRUE(s.SaveAs(other).Saved());
    EXPECT_EQ(psbtest::ReadBytes(other),
              "\xEF\xBB\xBF[sys]\r\ncount=2\r\n[PC1]\r\nCaption=\xE7\x94\xB2\r\nLeft=8\r\nTop=8\r\n");
    EXPECT_EQ(psbtest::ReadBytes(other + ".bak"), "; theirs\r\n");
    EXPECT_EQ(psbtest::ReadBytes(path), big5);
    s.Editor().Undo();
    EXPECT_TRUE(s.Modified());
}

// The file beside the board reads back as written, with or without a file as opened, and
// nothing that is not a whole one is taken for one.
TEST(EditSession, RecoveryReadsBackWholeOrNotAtAll)
{
    psbtest::TScratchFolder folder("session");
    const std::string path = (folder.Path() / "sys.ini").string();
    const editor::TRecovery cases[] = {
        {kEditSessionBoard, kEditSessionBoard + "; mine\r\n"}, {std::nullopt, "[sys]\r\n"}, {"", ""}};
    for (const editor::TRecovery& recovery : cases) {
        ASSERT_TRUE(editor::KeepRecovery(path, recovery));
        EXPECT_EQ(editor::FindRecovery(path), recovery);
    }
    const std::string whole = editor::EncodeRecovery(cases[0]);
    for (const std::string& broken : {whole.substr(0, whole.size() - 1), whole + "x", whole.substr(1), std::string()})
        EXPECT_EQ(editor::DecodeRecovery(broken), std::nullopt) << broken;
    editor::DropRecovery(path);
    EXPECT_FALSE(std::filesystem::exists(path + ".recovery"));
    EXPECT_EQ(editor::FindRecovery(path), std::nullopt);
}

// A change on disk is seen whatever it is: other bytes of the same size, the file gone, a file
// where there was none; the same bytes written again are no change. Each is told once.
TEST(EditSession, ChangesOnDiskAreSeenAndToldOnce)
{
    psbtest::TScratchFolder folder("session");
    const std::string path = folder.Write("room.ini", kEditSessionBoard).string();
    TEditSession s(path);
    EXPECT_FALSE(s.ChangedOnDisk());
    std::string theirs = kEditSessionBoard;
    theirs[theirs.find("Left=8")] = 'l';
    const auto opened = std::filesystem::last_write_time(path);
    psbtest::WriteBytes(path, theirs);
    // Later than the time it was read, as another save is, however coarse the file system's clock.
    std::filesystem::last_write_time(path, opened + std::chrono::seconds(2));
    EXPECT_TRUE(s.ChangedOnDisk());
    EXPECT_TRUE(s.NewChangeOnDisk());
    EXPECT_FALSE(s.NewChangeOnDisk());
    EXPECT_TRUE(s.ChangedOnDisk());
    psbtest::WriteBytes(path, kEditSessionBoard);
    EXPECT_FALSE(s.ChangedOnDisk());
    std::filesystem::remove(path);
    EXPECT_TRUE(s.NewChangeOnDisk());

    TEditSession none((folder.Path() / "new.ini").string());
    EXPECT_FALSE(none.ChangedOnDisk());
    psbtest::WriteBytes(folder.Path() / "new.ini", "");
    EXPECT_TRUE(none.ChangedOnDisk());

    // Recovered work is unsaved, over the board as it was then.
    psbtest::WriteBytes(path, theirs);
    TEditSession recovered(path, {kEditSessionBoard, kEditSessionBoard + "; mine\r\n"});
    EXPECT_TRUE(recovered.Modified());
    EXPECT_TRUE(recovered.ChangedOnDisk());
    EXPECT_EQ(recovered.Save().outcome, TSaveOutcome::ChangedOnDisk);
    EXPECT_EQ(psbtest::ReadBytes(path), theirs);
}

// Past a save, only the steps since are made again on theirs, on the PCs they name: a PC added
// before the save is not added twice, one added after is. The merge is then saved over theirs. Steps from before
// the save undone, or recovered work, are not told apart and not merged.
TEST(EditSession, MergesTheStepsSinceTheLastSave)
{
    psbtest::TScratchFolder folder("session");
    const std::string path = folder
                                 .Write("room.ini",
                                        "[sys]\r\ncount=3\r\n"
                                        "[PC1]\r\nCaption=A\r\nLeft=8\r\nTop=8\r\nWidth=64\r\nHeight=24\r\n"
                                        "[PC2]\r\nCaption=B\r\nLeft=100\r\nTop=8\r\nWidth=64\r\nHeight=24\r\n")
                                 .string();
    TEditSession s(path);
    s.Editor().Select(0);
    ASSERT_EQ(s.Editor().DeleteSelection(), board::TRefusal::None);  // B's lines move up
    ASSERT_EQ(s.Editor().AddPc(), board::TRefusal::None);
    ASSERT_TRUE(s.Save().Saved());
    s.Editor().Select(0);
    ASSERT_EQ(s.Editor().Nudge(1, 0, false, false), board::TRefusal::None);
    ASSERT_EQ(s.Editor().AddPc(), board::TRefusal::None);
    const board::TPcEntry added = s.Editor().Pcs().back().entry;
    std::string theirs = psbtest::ReadBytes(path);
    theirs.replace(theirs.find("Caption=B"), 9, "Caption=Theirs");
    psbtest::WriteBytes(path, theirs);
    ASSERT_EQ(s.Save().outcome, TSaveOutcome::ChangedOnDisk);

    std::string why;
    ASSERT_EQ(s.ReadTheirs(why), TFileRead::Read);
    ASSERT_TRUE(s.CanMerge());
    EXPECT_EQ(s.ChangesToMerge(), 2u);
    board::TMergeResult merged = s.MergeTheirs();
    EXPECT_TRUE(merged.conflicts.empty());
    EXPECT_TRUE(merged.refused.empty());
    board::TBoardDocument expected(theirs);
    ASSERT_EQ(expected.Pcs().size(), 2u);
    ASSERT_EQ(expected.Pcs()[0].entry.caption, "Theirs");
    ASSERT_EQ(expected.SetValue(0, board::TPcKey::Left, "101"), board::TRefusal::None);
    ASSERT_EQ(expected.AddPc(added), board::TRefusal::None);
    EXPECT_EQ(merged.document->Bytes(), expected.Bytes());
    s.TakeMerged(std::move(*merged.document));
    EXPECT_TRUE(s.Modified());
    ASSERT_TRUE(s.Save().Saved());
    EXPECT_EQ(psbtest::ReadBytes(path), expected.Bytes());

    s.Editor().Undo();
    ASSERT_EQ(s.Editor().Nudge(0, 1, false, false), board::TRefusal::None);
    EXPECT_FALSE(s.CanMerge());
    TEditSession recovered(path, {kEditSessionBoard, kEditSessionBoard + "; mine\r\n"});
    EXPECT_FALSE(recovered.CanMerge());
}

}  // namespace
