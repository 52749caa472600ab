// The editor's window without a screen, opened on a board file, and the ways tests work it:
// keys, fields, menu items and drags, in board pixels.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/EditForm.h"
#include "editor/EditOpening.h"
#include "editor/EditorTexts.h"
#include "platform/forms/Accessibility.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/headless/Headless.h"

namespace psbtest {

class THeadlessEditForm : public testing::Test {
protected:
    void SetUp() override { editor::SetLanguage(TLanguage::English); }
    void TearDown() override
    {
        Application->DestroyForms();
        ::EditForm = nullptr;
        EditOpened.reset();
        headless::Reset();
    }

    // Shows the editor on the board at path, in place of any shown before.
    void Open(std::string path)
    {
        Application->DestroyForms();
        path_ = std::move(path);
        EditOpened = editor::OpenForEditing(path_);
        ASSERT_NE(EditOpened, nullptr);
        Application->CreateForm(::EditForm);
        form().Show();
        Tick();
    }

    TEditForm& form() { return *::EditForm; }
    // The loop's timers, due.
    static void Tick()
    {
        for (TTimer* timer : std::vector<TTimer*>(headless::Recorder().timers))
            timer->Tick();
    }
    bool Key(std::uint16_t key, TShiftState shift = 0, TControl* native = nullptr)
    {
        TKeyInfo info{key, shift};
        return form().KeyDown(info, native);
    }
    // A field by its spoken name.
    TEdit* Field(const std::string& name)
    {
        for (TControl* c : form().WindowedControls())
            if (form().AccessibleName(*c) == name)
                return dynamic_cast<TEdit*>(c);
        return nullptr;
    }
    TMenuItem* MenuItem(const std::string& caption)
    {
        const TMenuItem& bar = form().Menu()->Items();
        for (std::size_t i = 0; i < bar.Count(); ++i)
            for (std::size_t j = 0; j < bar.Items(i)->Count(); ++j)
                if (bar.Items(i)->Items(j)->Caption() == caption)
                    return bar.Items(i)->Items(j);
        return nullptr;
    }
    // A press, moves and the release of the left button.
    void Drag(TPoint64 from, TPoint64 to)
    {
        const TPoint64 o = form().BoardOffset();
        form().MouseDown(mbLeft, 0, {from.x + o.x, from.y + o.y}, 96);
        for (int step = 1; step <= 4; ++step)
            form().MouseMove(
                ssLeft, {from.x + o.x + (to.x - from.x) * step / 4, from.y + o.y + (to.y - from.y) * step / 4}, 96);
        form().MouseUp(mbLeft, 0, {to.x + o.x, to.y + o.y}, 96);
    }

    std::string path_;
};

}  // namespace psbtest
