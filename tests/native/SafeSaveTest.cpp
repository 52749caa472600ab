#include "platform/text/SafeSave.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <tuple>

#include "tests/support/SaveCases.h"

using enum TSaveOutcome;
using psbtest::FilesIn;
using psbtest::TFolderFiles;
using psbtest::TScratchFolder;

// A test whose premise is missing says so; where the whole run promises it (./test, as
// root), that is a failure, not a pass with nothing tried.
#define SKIP_UNLESS_REQUIRED(why)                         \
    if (std::getenv("PSB_REQUIRE_ROOT_TESTS") != nullptr) \
        FAIL() << why;                                    \
    else                                                  \
        GTEST_SKIP() << why

TEST(SafeSave, OutcomesAndWhatStaysOnDisk)
{
    for (const psbtest::TSaveCase& c : psbtest::SaveCases())
        EXPECT_EQ(psbtest::RunSaveCase(c), "") << c.what;
}

TEST(SafeSave, LeftoversOfAnEndedProcessOnly)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    EXPECT_EQ(psbtest::RunLeftoversCase(static_cast<unsigned long>(child), static_cast<unsigned long>(getppid())), "");
}

// A symbolic link is saved to its file, which keeps the backup; the link stays a link. A file
// with a second (hard) name is refused, whole.
TEST(SafeSave, LinksAndHardLinks)
{
    const TScratchFolder folder("links");
    const std::string board = folder.Write("real.ini", "old").string(), byLink = (folder / "sys.ini").string();
    ASSERT_EQ(symlink("real.ini", byLink.c_str()), 0);
    const TSaveResult saved = SaveFile(byLink, "new", "old", TBackup::Make);
    EXPECT_TRUE(saved.Saved() && saved.target == board && saved.backupPath == board + ".bak") << SaveMessage(saved);
    EXPECT_NE(SaveMessage(saved).find(board), std::string::npos);
    EXPECT_EQ(FilesIn(folder.Path()), TFolderFiles({{"real.ini", "new"}, {"real.ini.bak", "old"}, {"sys.ini", "new"}}));
    struct stat info {};
    EXPECT_TRUE(lstat(byLink.c_str(), &info) == 0 && S_ISLNK(info.st_mode));

    ASSERT_EQ(link(board.c_str(), (folder / "other.ini").c_str()), 0);
    const TSaveResult refused = SaveFile(board, "newer", "new", TBackup::Made);
    EXPECT_EQ(refused.outcome, HardLinked);
    EXPECT_NE(SaveMessage(refused).find("hard link"), std::string::npos);
    EXPECT_EQ(FilesIn(folder.Path()),
              TFolderFiles({{"real.ini", "new"}, {"real.ini.bak", "old"}, {"sys.ini", "new"}, {"other.ini", "new"}}));

    ASSERT_EQ(symlink("gone.ini", (folder / "dangling.ini").c_str()), 0);
    const TSaveResult dangling = SaveFile((folder / "dangling.ini").string(), "new", std::nullopt, TBackup::Make);
    EXPECT_EQ(dangling.outcome, Failed);
    EXPECT_NE(SaveMessage(dangling).find("symbolic link"), std::string::npos);
}

// Root saves a file of nobody's: the new file and the backup keep its owner and mode, set-id
// bit and all, whatever the umask.
TEST(SafeSave, KeepsOwnerAndMode)
{
    const passwd* nobody = getpwnam("nobody");
    if (geteuid() != 0 || !nobody) {
        SKIP_UNLESS_REQUIRED("needs root, to give a file to nobody");
    }
    const TScratchFolder folder("mode");
    const std::string file = folder.Write("sys.ini", "old");
    ASSERT_EQ(chown(file.c_str(), nobody->pw_uid, nobody->pw_gid) | chmod(file.c_str(), 02775), 0);
    EXPECT_TRUE(SaveFile(file, "new", "old", TBackup::Make).Saved());
    for (const std::string& name : {file, file + ".bak"}) {
        struct stat info {};
        stat(name.c_str(), &info);
        EXPECT_EQ(std::tuple(info.st_uid, info.st_gid, info.st_mode & 07777),
                  std::tuple(nobody->pw_uid, nobody->pw_gid, mode_t{02775}))
            << name;
    }
}

// Saved by nobody, whom the modes bind, in a child process.
TEST(SafeSave, AsNobody)
{
    const passwd* nobody = getpwnam("nobody");
    if (geteuid() != 0 || !nobody) {
        SKIP_UNLESS_REQUIRED("needs root, to become nobody");
    }
    const std::tuple<mode_t, mode_t, TSaveOutcome> rows[] = {
        {0755, 0666, NoPermission}, {0777, 0644, ReadOnly}, {0777, 0666, Saved}};
    for (const auto& [folderMode, fileMode, outcome] : rows) {
        const TScratchFolder folder("user");
        const std::string file = folder.Write("sys.ini", "old");
        ASSERT_EQ(chmod(folder.Path().c_str(), folderMode) | chmod(file.c_str(), fileMode), 0);
        std::fflush(nullptr);  // or the child may write out a copy of what is buffered
        const pid_t child = fork();
        if (child == 0)
            _exit(setgroups(0, nullptr) || setgid(nobody->pw_gid) || setuid(nobody->pw_uid)
                      ? 100
                      : static_cast<int>(SaveFile(file, "new", "old", TBackup::None).outcome));
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, static_cast<int>(outcome)) << std::oct << folderMode;
        EXPECT_EQ(FilesIn(folder.Path()), psbtest::TFolderFiles({{"sys.ini", outcome == Saved ? "new" : "old"}}));
    }
}

// On a disk of 16 pages: a save that does not fit leaves the old file whole and nothing else.
TEST(SafeSave, DiskFull)
{
    // The backup is the old file itself, under another name: it takes no room.
    const std::tuple<std::size_t, bool, TSaveOutcome> rows[] = {
        {48, false, DiskFull}, {48, true, DiskFull}, {28, true, Saved}, {36, true, Saved}};
    const std::string old(20 << 10, 'o');
    for (const auto& [newKiB, keepBackup, outcome] : rows) {
        const TScratchFolder folder("full");
        if (mount("tmpfs", folder.Path().c_str(), "tmpfs", 0, "size=64k") != 0) {
            SKIP_UNLESS_REQUIRED("cannot mount a small tmpfs here: " << std::strerror(errno));
        }
        const std::string file = folder.Write("sys.ini", old), bytes(newKiB << 10, 'n');
        const TSaveOutcome got = SaveFile(file, bytes, old, keepBackup ? TBackup::Make : TBackup::None).outcome;
        psbtest::TFolderFiles expected = {{"sys.ini", outcome == Saved ? bytes : old}};
        if (outcome == Saved && keepBackup)
            expected["sys.ini.bak"] = old;
        EXPECT_TRUE(got == outcome && FilesIn(folder.Path()) == expected) << newKiB << " KiB";
        umount2(folder.Path().c_str(), MNT_DETACH);
    }
}
