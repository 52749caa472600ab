// A board file in a fresh directory, with the program's executable "living" beside it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "headless/Headless.h"
#include "ui/Unit1.h"

class BoardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::Reset();
        dir_ = std::filesystem::temp_directory_path() /
               ("psb-board-" + std::to_string(getpid()) + "-" + std::to_string(counter_++));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        headless::Recorder().exeName = (dir_ / "PcStatusBoard.exe").string();
    }

    void TearDown() override
    {
        Application->DestroyForms();
        Form1 = nullptr;
        headless::Reset();
        std::filesystem::remove_all(dir_);
    }

    void WriteBoard(const std::string& bytes) { WriteFile(dir_ / "sys.ini", bytes); }

    static void WriteFile(const std::filesystem::path& path, const std::string& bytes)
    {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }

    // Builds the window the way start-up does.
    TForm1& Build()
    {
        Application->CreateForm(Form1);
        return *Form1;
    }

    // The PC labels: every label shown on the form but the two fixed ones.
    static std::vector<TLabel*> PcLabels(const TForm1& form)
    {
        std::vector<TLabel*> labels;
        for (TControl* c : form.Controls())
            if (auto* label = dynamic_cast<TLabel*>(c); label && label != form.Label1 && label != form.Label2)
                labels.push_back(label);
        return labels;
    }

    std::filesystem::path dir_;
    static inline int counter_ = 0;
};
