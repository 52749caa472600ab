#include "ui/Unit1.h"

#include <memory>

#include "board/BoardFile.h"
#include "board/PcLabel.h"
#include "platform/text/IniFiles.h"
#include "platform/forms/LayoutBinding.h"
#include "ui/Unit1Layout.h"

TForm1* Form1 = nullptr;
TLabel* SelectedLabel = nullptr;

namespace {
const char kOutOfOrder[] = "\xE6\x95\x85\xE9\x9A\x9C\xE4\xB8\xAD";  // 故障中

// What the status field shows for a PC.
const char* StatusOf(const TControl& label)
{
    return label.Color() == clRed ? kOutOfOrder : "";
}
}  // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner)
{
    LoadLayout(*this, kUnit1Layout,
               {"TForm1",
                {PublishedField("Button1", Button1), PublishedField("Edit1", Edit1), PublishedField("Edit2", Edit2),
                 PublishedField("Label1", Label1), PublishedField("Label2", Label2)},
                {{"Button1Click", [this](TObject* sender) { Button1Click(sender); }}}});
    Edit1->SetLabelledBy(Label1);
    Edit2->SetLabelledBy(Label2);
    LoadBoard();
}

TForm1::~TForm1()
{
    // The selected label goes with the form.
    SelectedLabel = nullptr;
}

// One yellow label per PC section of the board file, in ascending PC number. Each PC's
// section is walked once for its five values, which are then applied in order.
void TForm1::LoadBoard()
{
    const auto file = std::make_unique<TIniFile>(board::FilePath(Application->GetExeName()));
    const std::vector<std::int32_t> numbers = board::PcNumbersInFile(*file, board::ReadCount(*file));
    ReserveComponents(numbers.size());
    if (Form1)
        Form1->ReserveControls(numbers.size());
    const TNotifyEvent labelClick = [this](TObject* sender) { LabelClick(sender); };
    // The label's name follows its caption, read back from it.
    struct TApply {
        TLabel& label;
        void operator()(std::string caption)
        {
            label.SetCaption(std::move(caption));
            label.SetName(label.Caption());
        }
        void operator()(board::TPcKey key, std::int32_t value)
        {
            board::TPcEntry bounds{{}, label.Left(), label.Top(), label.Width(), label.Height()};
            board::FieldOf(bounds, key) = value;
            label.SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
        }
    };
    for (const std::int32_t i : numbers) {
        auto* label = new TLabel(this);
        label->SetParent(Form1);
        board::StylePcLabel(*label);
        label->SetOnClick(labelClick);
        board::ReadPcEntry(*file, i, TApply{*label});
        if (label->Caption().empty())
            uncaptioned_.emplace(label, i);
    }
}

// Selects the clicked PC and shows its state. The name field keeps its text for a PC out of
// order.
void TForm1::LabelClick(TObject* sender)
{
    SelectedLabel = dynamic_cast<TLabel*>(sender);
    SetSelected(SelectedLabel);
    if (!SelectedLabel)
        return;
    if (SelectedLabel->Color() == clRed) {
        SelectedLabel->Refresh();
        Edit2->SetText(kOutOfOrder);
    } else {
        Edit1->SetText(SelectedLabel->Caption());
        Edit2->SetText("");
    }
}

// Marks the selected PC out of order, or back in service.
void TForm1::Button1Click(TObject*)
{
    if (!SelectedLabel)
        return;
    SelectedLabel->SetColor(SelectedLabel->Color() == clRed ? clYellow : clRed);
    SelectedLabel->Refresh();
    Edit1->SetText(SelectedLabel->Caption());
    Edit2->SetText(StatusOf(*SelectedLabel));
}

std::string TForm1::AccessibleName(const TControl& control) const
{
    const auto it = control.TextAsSet().empty() ? uncaptioned_.find(&control) : uncaptioned_.end();
    return it == uncaptioned_.end() ? TForm::AccessibleName(control) : board::SectionName(it->second);
}

bool TForm1::IsItem(const TControl& control) const
{
    return control.IsWindowless() && &control != Label1 && &control != Label2;
}

std::string TForm1::AccessibleStatus(const TControl& control) const
{
    return IsItem(control) ? StatusOf(control) : "";
}
