// The checker's findings: read again once the board is left alone a moment, listed in the
// panel, marked on the board, and a finding chosen selects its PC.
#include <algorithm>
#include <iterator>
#include <tuple>

#include "editor/EditForm.h"
#include "editor/EditorTexts.h"
#include "platform/text/SysUtils.h"

using editor::Text;
using editor::TText;

namespace {

// How long the board must stay as it is before the checker reads it again, in milliseconds.
constexpr std::uint32_t kCheckDelay = 250;

bool ReadingOrder(const TRect64& a, const TRect64& b)
{
    return std::tie(a.top, a.left, a.bottom, a.right) < std::tie(b.top, b.left, b.bottom, b.right);
}

}  // namespace

void TEditForm::StartChecker()
{
    checkTimer_ = new TTimer(this);
    checkTimer_->SetInterval(kCheckDelay);
    checkTimer_->SetOnTimer([this](TObject*) {
        checkTimer_->SetEnabled(false);
        checkTimer_->SetInterval(kCheckDelay);
        RefreshFindings(true);
    });
}

void TEditForm::RefreshFindings(bool recheck)
{
    bool unchanged = false;
    if (recheck) {
        std::vector<check::TFinding> before = std::move(check_.findings);
        check_ = check::CheckBoard(Editor().Document().Bytes(), Session().Path());
        unchanged = std::equal(before.begin(), before.end(), check_.findings.begin(), check_.findings.end(),
                               [](const check::TFinding& x, const check::TFinding& y) {
                                   return x.line == y.line && x.msg == y.msg && x.pc == y.pc && x.args == y.args;
                               });
    }
    // Most steps leave the findings as they were, and a long list is slow to make again.
    if (!unchanged)
        ShowFindings();
    // Only where a mark came or went is painted again.
    std::vector<TRect64> marks = Marks(), differ;
    std::set_symmetric_difference(marks_.begin(), marks_.end(), marks.begin(), marks.end(), std::back_inserter(differ),
                                  ReadingOrder);
    TRect64 changed;
    for (const TRect64& r : differ)
        changed = changed.Union(r);
    marks_ = std::move(marks);
    Invalidate(OnScreen(editor::Inflated(changed, 3)));
}

void TEditForm::ShowFindings()
{
    findingPcs_.clear();
    for (const check::TFinding& f : check_.findings)
        if (f.pc)
            findingPcs_.push_back(f.pc);
    std::sort(findingPcs_.begin(), findingPcs_.end());
    findingPcs_.erase(std::unique(findingPcs_.begin(), findingPcs_.end()), findingPcs_.end());
    // A row is written when it shows: ten thousand findings cost a count and what fits.
    const std::size_t count = check_.findings.size();
    findingList_->SetLines(std::max<std::size_t>(count, 1), [this, count](std::size_t row) {
        if (count == 0)
            return Text(TText::NoFindings);
        const check::TFinding& f = check_.findings[row];
        return Text(TText::Line,
                    {IntToStr(static_cast<std::int64_t>(f.line)), check::Text(f.msg, editor::Language(), f.args)});
    });
}

std::vector<TRect64> TEditForm::Marks() const
{
    std::vector<TRect64> marks;
    for (const std::int32_t number : findingPcs_)
        if (const auto place = Editor().PlaceOfNumber(number))
            marks.push_back(Editor().RectOf(*place));
    std::sort(marks.begin(), marks.end(), ReadingOrder);
    return marks;
}

void TEditForm::FindingClick()
{
    const int row = findingList_->ItemIndex();
    // One row per finding, in order ("no findings" alone has none).
    if (row < 0 || static_cast<std::size_t>(row) >= check_.findings.size())
        return;
    const auto place = Editor().PlaceOfNumber(check_.findings[static_cast<std::size_t>(row)].pc);
    if (!place)
        return;
    Editor().Select(*place);
    SyncSelection();
    ShowPc(*place);
}
