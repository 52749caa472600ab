// The main window built headless from a board file beside a pretend executable, as start-up
// builds it. Shared with fuzz_board and the benchmarks: no test framework.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless/Headless.h"
#include "tests/support/ScratchFolder.h"
#include "ui/Unit1.h"

namespace psbtest {

class HeadlessBoard {
public:
    explicit HeadlessBoard(const std::string& tag) : folder_(tag) { MoveExecutableTo(folder_.Path()); }

    ~HeadlessBoard()
    {
        Destroy();
        headless::Reset();
    }

    const std::filesystem::path& Folder() const { return folder_.Path(); }
    std::filesystem::path BoardPath() const { return exeFolder_ / "sys.ini"; }

    void MoveExecutableTo(const std::filesystem::path& folder)
    {
        exeFolder_ = folder;
        headless::Recorder().exeName = (folder / "PcStatusBoard.exe").string();
    }

    void Write(std::string_view bytes) const { WriteBytes(BoardPath(), bytes); }

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

    // An operator's press and release at a client point (96 DPI).
    static void ClickAt(TForm& form, std::int64_t x, std::int64_t y)
    {
        form.MouseDown(mbLeft, ssLeft, {x, y}, kDesignDpi);
        form.MouseUp(mbLeft, 0, {x, y}, kDesignDpi);
    }

private:
    TScratchFolder folder_;
    std::filesystem::path exeFolder_;
};

}  // namespace psbtest
