// The main window built on the headless backend from a board file beside a pretend
// executable, as start-up builds it. Shared by the native tests, fuzz_board and the
// benchmarks, so it uses no test framework.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless/Headless.h"
#include "ui/Unit1.h"

namespace psbtest {

class HeadlessBoard {
public:
    // A fresh folder of this process's own under the temporary directory, named by tag.
    explicit HeadlessBoard(const std::string& tag)
        : folder_(std::filesystem::temp_directory_path() / ("psb-" + tag + "-" + std::to_string(getpid())))
    {
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        MoveExecutableTo(folder_);
    }

    ~HeadlessBoard()
    {
        Destroy();
        headless::Reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    HeadlessBoard(const HeadlessBoard&) = delete;
    HeadlessBoard& operator=(const HeadlessBoard&) = delete;

    const std::filesystem::path& Folder() const { return folder_; }
    std::filesystem::path BoardPath() const { return exeFolder_ / "sys.ini"; }

    // The pretend executable lies in this folder from now on.
    void MoveExecutableTo(const std::filesystem::path& folder)
    {
        exeFolder_ = folder;
        headless::Recorder().exeName = (folder / "PcStatusBoard.exe").string();
    }

    void Write(std::string_view bytes) const { WriteFile(BoardPath(), bytes); }

    static void WriteFile(const std::filesystem::path& path, std::string_view bytes)
    {
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    // Builds the window the way start-up does; any window built before goes first.
    TForm1& Build()
    {
        Destroy();
        Application->CreateForm(Form1);
        return *Form1;
    }

    void Destroy()
    {
        Application->DestroyForms();
        Form1 = nullptr;
    }

    // The PC labels, as the form tells them, bottom to top.
    static std::vector<TLabel*> Labels(const TForm1& form)
    {
        std::vector<TLabel*> labels;
        for (TControl* c : form.Controls())
            if (form.IsItem(*c))
                labels.push_back(static_cast<TLabel*>(c));
        return labels;
    }

    // An operator's click at a client point (96 DPI): a press and a release, as the window
    // reports them.
    static void ClickAt(TForm& form, std::int64_t x, std::int64_t y)
    {
        form.MouseDown(mbLeft, ssLeft, {x, y}, kDesignDpi);
        form.MouseUp(mbLeft, 0, {x, y}, kDesignDpi);
    }

private:
    std::filesystem::path folder_, exeFolder_;
};

}  // namespace psbtest
