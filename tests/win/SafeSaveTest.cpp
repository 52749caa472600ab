#include "platform/text/SafeSave.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <utility>

#include "platform/text/win32/SaveHooks.h"
#include "platform/text/win32/WinText.h"
#include "tests/support/SaveCases.h"
#include "tests/support/WinProgram.h"

using enum TSaveOutcome;
using psbtest::FilesIn;
using psbtest::TFolderFiles;

TEST(SafeSave, OutcomesAndWhatStaysOnDisk)
{
    for (const psbtest::TSaveCase& c : psbtest::SaveCases())
        EXPECT_EQ(psbtest::RunSaveCase(c), "") << c.what << std::endl;
}

namespace {

// Another process that holds the file open with that sharing mode, once it does, for that
// long; null if it could not.
HANDLE HoldOpen(const std::filesystem::path& file, DWORD share, DWORD milliseconds = INFINITE)
{
    const std::wstring event = L"psb-held-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(share);
    const HANDLE held = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
    const std::wstring program = psbtest::WinePath(PSB_HOLD_OPEN).wstring();
    std::wstring line = L"\"" + program + L"\" " + std::to_wstring(share) + L" \"" + file.wstring() + L"\" " + event;
    if (milliseconds != INFINITE)
        line += L" " + std::to_wstring(milliseconds);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        const HANDLE either[] = {held, process.hProcess};  // held, or ended without
        if (WaitForMultipleObjects(2, either, FALSE, 60000) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 0);
            CloseHandle(std::exchange(process.hProcess, nullptr));
        }
    }
    CloseHandle(held);
    return process.hProcess;
}

void End(HANDLE process)
{
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 30000);
    CloseHandle(process);
}

// The id of a process that has run and ended.
DWORD EndedProcess()
{
    const std::wstring program = psbtest::WinePath(PSB_HOLD_OPEN).wstring();
    std::wstring line = L"\"" + program + L"\"";  // without its arguments it ends at once
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0;
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return process.dwProcessId;
}

}  // namespace

// Replacing the file takes leave to delete it, and checking it keeps others from writing: a
// program that has it open for writing, or shares less, locks it, still after a few tries;
// one that lets go within them does not.
TEST(SafeSave, FileOpenInAnotherProgram)
{
    const std::tuple<DWORD, DWORD, TSaveOutcome> rows[] = {
        {0, INFINITE, Locked},
        {FILE_SHARE_READ, INFINITE, Locked},
        {FILE_SHARE_READ | FILE_SHARE_WRITE, INFINITE, Locked},
        // One that may write to it at any moment is waited for too: no check could stand.
        {FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, INFINITE, Locked},
        {0, 150, Saved}};
    for (const auto& [share, hold, outcome] : rows) {
        const psbtest::TScratchFolder folder("locked");
        const std::filesystem::path file = folder.Write("sys.ini", "old");
        const HANDLE holder = HoldOpen(file, share, hold);
        ASSERT_NE(holder, nullptr) << "share " << share;
        const TSaveResult result = SaveFile(file.string(), "new", "old", TBackup::Make);
        End(holder);
        const std::string message = SaveMessage(result);
        EXPECT_TRUE(result.outcome == outcome &&
                    (outcome == Locked) == (message.find("another program") != message.npos))
            << "share " << share << ": " << message;
        EXPECT_EQ(FilesIn(folder.Path()), (outcome == Saved ? TFolderFiles{{"sys.ini", "new"}, {"sys.ini.bak", "old"}}
                                                            : TFolderFiles{{"sys.ini", "old"}}));
    }
}

namespace {

DWORD gReplaceError = 0;
bool gMoveFails = false;

// As Windows leaves the files for each failure: only the _2 one has moved the original.
BOOL WINAPI FailingReplace(LPCWSTR replaced, LPCWSTR, LPCWSTR backup, DWORD, LPVOID, LPVOID)
{
    if (gReplaceError == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        MoveFileExW(replaced, backup, 0);
    SetLastError(gReplaceError);
    return FALSE;
}

BOOL WINAPI FailingMove(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    if (!gMoveFails)
        return MoveFileExW(from, to, flags);
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// A file that appears by the name just before the new one is put there.
BOOL WINAPI MoveAfterAnother(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    const HANDLE theirs = CreateFileW(to, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD wrote = 0;
    WriteFile(theirs, "theirs", 6, &wrote, nullptr);
    CloseHandle(theirs);
    return MoveFileExW(from, to, flags);
}

}  // namespace

// Every way the replace can fail leaves the board by its name, or says where both copies are;
// the new one is never deleted while it is the only copy.
TEST(SafeSave, EachFailureOfTheReplace)
{
    const std::string me = std::to_string(GetCurrentProcessId());
    const std::tuple<DWORD, bool, TSaveOutcome> rows[] = {
        {ERROR_UNABLE_TO_REMOVE_REPLACED, false, Locked},    {ERROR_UNABLE_TO_MOVE_REPLACEMENT, false, Failed},
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, false, Failed}, {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, true, CopiesApart},
        {ERROR_ACCESS_DENIED, false, NoPermission},          {ERROR_DISK_FULL, false, DiskFull}};
    for (const auto& [error, moveFails, outcome] : rows) {
        const psbtest::TScratchFolder folder("replace");
        const std::filesystem::path file = folder.Write("sys.ini", "old");
        gReplaceError = error;
        gMoveFails = moveFails;
        SaveHooks() = {&FailingReplace, &FailingMove};
        const TSaveResult result = SaveFile(file.string(), "new", "old", TBackup::Make);
        SaveHooks() = {};
        const std::string message = SaveMessage(result), old = "sys.ini." + me + "-100.tmp",
                          made = "sys.ini." + me + "-0.tmp";
        EXPECT_EQ(result.outcome, outcome) << error << ": " << message;
        if (outcome != CopiesApart) {
            EXPECT_EQ(FilesIn(folder.Path()), TFolderFiles({{"sys.ini", "old"}})) << error;
            EXPECT_NE(message.find("unchanged"), message.npos) << message;
            continue;
        }
        EXPECT_EQ(FilesIn(folder.Path()), TFolderFiles({{old, "old"}, {made, "new"}})) << error;
        EXPECT_TRUE(message.find((folder / old).string()) != message.npos &&
                    message.find((folder / made).string()) != message.npos)
            << message;
    }
}

// A new file is never put over one that appeared meanwhile.
TEST(SafeSave, ANewFileNeverOverOneThatAppeared)
{
    const psbtest::TScratchFolder folder("appeared");
    SaveHooks().moveFile = &MoveAfterAnother;
    const TSaveResult result = SaveFile((folder / "sys.ini").string(), "new", std::nullopt, TBackup::Make);
    SaveHooks() = {};
    EXPECT_EQ(result.outcome, ChangedOnDisk);
    EXPECT_EQ(FilesIn(folder.Path()), TFolderFiles({{"sys.ini", "theirs"}}));
}

TEST(SafeSave, LeftoversOfAnEndedProcessOnly)
{
    const psbtest::TScratchFolder folder("alive");
    const HANDLE alive = HoldOpen(folder.Write("held", ""), FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_NE(alive, nullptr);
    const DWORD ended = EndedProcess();
    ASSERT_NE(ended, 0u);
    EXPECT_EQ(psbtest::RunLeftoversCase(ended, GetProcessId(alive)), "");
    End(alive);
}

// A path longer than the old 260 characters, given as the user gives it.
TEST(SafeSave, LongPaths)
{
    const psbtest::TScratchFolder folder("long");
    std::wstring deep = L"\\\\?\\" + folder.Path().wstring();
    std::vector<std::wstring> made;
    for (int i = 0; i < 5; ++i) {
        deep += L"\\" + std::wstring(60, static_cast<wchar_t>(L'a' + i));
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
        made.push_back(deep);
    }
    const std::string file = FromWide(deep.substr(4)) + "\\sys.ini";
    ASSERT_GT(file.size(), 300u);
    EXPECT_TRUE(SaveFile(file, "old", std::nullopt, TBackup::Make).Saved());
    const TSaveResult saved = SaveFile(file, "new", "old", TBackup::Make);
    EXPECT_TRUE(saved.Saved() && saved.backupPath == file + ".bak") << SaveMessage(saved);
    EXPECT_TRUE(SaveFile(file, "new", "new", TBackup::Made).nothingToWrite);  // read back as written
    for (const wchar_t* name : {L"\\sys.ini", L"\\sys.ini.bak"})
        DeleteFileW((deep + name).c_str());
    for (auto level = made.rbegin(); level != made.rend(); ++level)
        RemoveDirectoryW(level->c_str());
}

// A hard-linked board is refused whole.
TEST(SafeSave, HardLinkRefused)
{
    const psbtest::TScratchFolder folder("links");
    const std::filesystem::path board = folder.Write("real.ini", "old");
    ASSERT_TRUE(CreateHardLinkW((folder / "other.ini").wstring().c_str(), board.wstring().c_str(), nullptr));
    const TSaveResult refused = SaveFile(board.string(), "new", "old", TBackup::Make);
    EXPECT_EQ(refused.outcome, HardLinked) << SaveMessage(refused);
    EXPECT_EQ(FilesIn(folder.Path()), TFolderFiles({{"real.ini", "old"}, {"other.ini", "old"}}));
}
