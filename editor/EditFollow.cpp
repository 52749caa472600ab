// The window following the board after each step: the labels, the selection, the title and
// the status line; the parts made elsewhere follow through the hooks they were given.
#include "editor/EditForm.h"

#include <algorithm>

#include "board/BoardFile.h"
#include "board/PcLabel.h"
#include "editor/EditorTexts.h"
#include "platform/text/SysUtils.h"

using editor::Text;
using editor::TRefusal;
using editor::TText;

namespace {

std::string RefusalText(TRefusal refusal, TTextEncoding encoding)
{
    switch (refusal) {
    case TRefusal::LineBreak:
        return Text(TText::RefusedLineBreak);
    case TRefusal::Nul:
        return Text(TText::RefusedNul);
    case TRefusal::NotANumber:
        return Text(TText::RefusedNumber);
    case TRefusal::NotInEncoding:
        return Text(TText::RefusedEncoding, {check::EncodingName(encoding)});
    case TRefusal::NoSuchPc:
        return Text(TText::RefusedNoPc);
    case TRefusal::BoardFull:
        return Text(TText::RefusedFull);
    case TRefusal::Unwritable:
    case TRefusal::None:
        break;
    }
    return Text(TText::RefusedUnwritable);
}

}  // namespace

void TEditForm::AfterStep()
{
    SyncLabels();
    FollowPlan();
    follow_.extent();
    SyncSelection();
    // The checker reads the whole file: once the admin pauses, not at every repeat of a key.
    checkTimer_->Restart();
    UpdateTitle();
    follow_.steps();
}

void TEditForm::SyncLabels()
{
    PlacePlanItem();
    const auto& pcs = Editor().Pcs();
    while (labels_.size() > pcs.size()) {
        labelPlaces_.erase(labels_.back());
        delete labels_.back();
        labels_.pop_back();
    }
    while (labels_.size() < pcs.size()) {
        auto* label = new TLabel(this);
        label->SetParent(this);
        board::StylePcLabel(*label);
        labelPlaces_.emplace(label, labels_.size());
        labels_.push_back(label);
    }
    for (std::size_t i = 0; i < pcs.size(); ++i) {
        TLabel& label = *labels_[i];
        const board::TPcEntry& e = pcs[i].entry;
        if (label.Caption() != e.caption)
            label.SetCaption(e.caption);
        const TRect64 r = OnScreen(board::EntryRect(e));
        // Far off the canvas a label keeps its size at the edge of 32-bit coordinates.
        const auto clamp = [](std::int64_t v) {
            return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
        };
        if (label.Left() != clamp(r.left) || label.Top() != clamp(r.top) || label.Width() != e.width ||
            label.Height() != e.height)
            label.SetBounds(clamp(r.left), clamp(r.top), e.width, e.height);
    }
}

void TEditForm::SyncSelection()
{
    const auto& sel = Editor().Selection();
    SetSelected(sel.empty() ? nullptr : labels_[sel.back()]);
    follow_.selection();
    SetStatus({});
}

void TEditForm::UpdateTitle()
{
    SetCaption((session_->Modified() ? "*" : "") + ExtractFileName(session_->Path()) + " - " + Text(TText::AppName));
}

void TEditForm::SetStatus(std::string message)
{
    if (!message.empty())
        status_ = std::move(message);
    Invalidate(statusRect_);
}

void TEditForm::ShowRefusal(TRefusal refusal)
{
    SetStatus(Text(TText::Refused, {RefusalText(refusal, Editor().Document().Encoding())}));
}

void TEditForm::FinishStep(TRefusal refusal)
{
    if (refusal != TRefusal::None)
        ShowRefusal(refusal);
    AfterStep();
}
