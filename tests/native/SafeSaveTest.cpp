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
#include <cstring>
#include <tuple>

#include "tests/support/SaveCases.h"

using enum TSaveOutcome;
using psbtest::FilesIn;
using psbtest::TScratchFolder;

TEST(SafeSave, OutcomesAndWhatStaysOnDisk)
{
    for (const psbtest::TSaveCase& c : psbtest::SaveCases())
        EXPECT_EQ(psbtest::RunSaveCase(c), "") << c.what;
}

// Root saves a file of nobody's: the new file and the backup keep its owner and mode, set-id
// bit and all, whatever the umask.
TEST(SafeSave, KeepsOwnerAndMode)
{
    const passwd* nobody = getpwnam("nobody");
    if (geteuid() != 0 || !nobody)
        GTEST_SKIP() << "needs root, to give a file to nobody";
    const TScratchFolder folder("mode");
    const std::string file = folder.Write("sys.ini", "old");
    ASSERT_EQ(chown(file.c_str(), nobody->pw_uid, nobody->pw_gid) | chmod(file.c_str(), 02775), 0);
    EXPECT_TRUE(SaveFile(file, "new", "old", true).Saved());
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
    if (geteuid() != 0 || !nobody)
        GTEST_SKIP() << "needs root, to become nobody";
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
                      : static_cast<int>(SaveFile(file, "new", "old", false).outcome));
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, static_cast<int>(outcome)) << std::oct << folderMode;
        EXPECT_EQ(FilesIn(folder.Path()), psbtest::TFolderFiles({{"sys.ini", outcome == Saved ? "new" : "old"}}));
    }
}

// On a disk of 16 pages: a save that does not fit leaves the old file whole and nothing else.
TEST(SafeSave, DiskFull)
{
    const std::tuple<std::size_t, bool, TSaveOutcome> rows[] = {
        {48, false, DiskFull}, {28, true, DiskFull}, {28, false, Saved}, {20, true, Saved}};
    const std::string old(20 << 10, 'o');
    for (const auto& [newKiB, keepBackup, outcome] : rows) {
        const TScratchFolder folder("full");
        if (mount("tmpfs", folder.Path().c_str(), "tmpfs", 0, "size=64k") != 0)
            GTEST_SKIP() << "cannot mount a small tmpfs here: " << std::strerror(errno);
        const std::string file = folder.Write("sys.ini", old), bytes(newKiB << 10, 'n');
        const TSaveOutcome got = SaveFile(file, bytes, old, keepBackup).outcome;
        psbtest::TFolderFiles expected = {{"sys.ini", outcome == Saved ? bytes : old}};
        if (outcome == Saved && keepBackup)
            expected["sys.ini.bak"] = old;
        EXPECT_TRUE(got == outcome && FilesIn(folder.Path()) == expected) << newKiB << " KiB";
        umount2(folder.Path().c_str(), MNT_DETACH);
    }
}
