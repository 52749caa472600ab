#include "platform/text/SafeSave.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <utility>

#include "tests/support/SaveCases.h"
#include "tests/support/WinProgram.h"

TEST(SafeSave, OutcomesAndWhatStaysOnDisk)
{
    for (const psbtest::TSaveCase& c : psbtest::SaveCases())
        EXPECT_EQ(psbtest::RunSaveCase(c), "") << c.what;
}

// Another process that holds the file open with that sharing mode, once it does; null if not.
static HANDLE HoldOpen(const std::filesystem::path& file, DWORD share)
{
    const std::wstring event = L"psb-held-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(share);
    const HANDLE held = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
    const std::wstring program = psbtest::WinePath(PSB_HOLD_OPEN).wstring();
    std::wstring line = L"\"" + program + L"\" " + std::to_wstring(share) + L" \"" + file.wstring() + L"\" " + event;
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

// Replacing the file takes leave to delete it: a program that shares less locks it.
TEST(SafeSave, FileOpenInAnotherProgram)
{
    using enum TSaveOutcome;
    const std::pair<DWORD, TSaveOutcome> rows[] = {{0, Locked},
                                                   {FILE_SHARE_READ, Locked},
                                                   {FILE_SHARE_READ | FILE_SHARE_WRITE, Locked},
                                                   {FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, Saved}};
    for (const auto& [share, outcome] : rows) {
        const psbtest::TScratchFolder folder("locked");
        const std::filesystem::path file = folder.Write("sys.ini", "old");
        const HANDLE holder = HoldOpen(file, share);
        ASSERT_NE(holder, nullptr) << "share " << share;
        const TSaveResult result = SaveFile(file.string(), "new", "old", TBackup::Make);
        TerminateProcess(holder, 0);
        WaitForSingleObject(holder, 30000);
        CloseHandle(holder);
        const std::string message = SaveMessage(result);
        EXPECT_TRUE(result.outcome == outcome &&
                    (outcome == Locked) == (message.find("another program") != message.npos))
            << "share " << share << ": " << message;
        EXPECT_EQ(psbtest::FilesIn(folder.Path()),
                  (outcome == Saved ? psbtest::TFolderFiles{{"sys.ini", "new"}, {"sys.ini.bak", "old"}}
                                    : psbtest::TFolderFiles{{"sys.ini", "old"}}));
    }
}
