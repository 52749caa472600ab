#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/headless/Headless.h"

namespace {

// Records its own destruction, so the tests see who freed what and in which order.
class Probe : public TComponent {
public:
    Probe(TComponent* owner, int id, std::vector<int>& log) : TComponent(owner), id_(id), log_(log) {}
    ~Probe() override { log_.push_back(id_); }

private:
    int id_;
    std::vector<int>& log_;
};

// A destructor's body first, then what it owns, newest first; one deleted early leaves its owner.
TEST(Ownership, OwnerDestroysWhatItStillOwnsNewestFirst)
{
    std::vector<int> log;
    auto* owner = new Probe(nullptr, 0, log);
    auto* gone = new Probe(owner, 1, log);
    auto* middle = new Probe(owner, 2, log);
    new Probe(middle, 21, log);
    new Probe(owner, 3, log);
    delete gone;
    ASSERT_EQ(owner->ComponentCount(), 2u);
    delete owner;
    EXPECT_EQ(log, (std::vector<int>{1, 0, 3, 2, 21}));
}

TEST(Ownership, FormReleasesItsControlsAndTheirParentLinks)
{
    TForm form(nullptr);
    auto* a = new TLabel(&form);
    a->SetParent(&form);
    auto* b = new TLabel(&form);
    b->SetParent(&form);
    ASSERT_EQ(form.Controls().size(), 2u);
    delete a;
    ASSERT_EQ(form.Controls().size(), 1u);
    EXPECT_EQ(form.Controls().front(), b);
    // Moved to another form, and left behind when that form goes first.
    {
        TForm other(nullptr);
        b->SetParent(&other);
        EXPECT_TRUE(form.Controls().empty());
        EXPECT_EQ(other.Controls().front(), b);
    }
    EXPECT_EQ(b->Parent(), nullptr);
}

TEST(Controls, BoundsRectIsExactForAnyThirtyTwoBitValues)
{
    TLabel label(nullptr);
    label.SetBounds(INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX);
    EXPECT_EQ(label.BoundsRect(), (TRect64{INT32_MAX, INT32_MIN, std::int64_t{INT32_MAX} * 2, -1}));
    label.SetBounds(5, 5, 0, 10);
    EXPECT_TRUE(label.BoundsRect().IsEmpty());
    label.SetBounds(5, 5, 10, -3);
    EXPECT_TRUE(label.BoundsRect().IsEmpty());
}

// A 30 x 11 caption in a label at (10, 20) of 100 x 50, by each alignment and layout as the
// label keeps them; one larger than its label sticks out on the far side from its edge.
TEST(Controls, CaptionOriginFollowsAlignmentAndLayout)
{
    struct Case {
        TAlignment alignment;
        TTextLayout layout;
        TPoint64 origin;
    };
    const Case cases[] = {
        {taLeftJustify, tlTop, {10, 20}},    {taCenter, tlTop, {45, 20}},    {taRightJustify, tlTop, {80, 20}},
        {taLeftJustify, tlCenter, {10, 39}}, {taCenter, tlCenter, {45, 39}}, {taRightJustify, tlCenter, {80, 39}},
        {taLeftJustify, tlBottom, {10, 59}}, {taCenter, tlBottom, {45, 59}}, {taRightJustify, tlBottom, {80, 59}},
    };
    TLabel label(nullptr);
    label.SetBounds(10, 20, 100, 50);
    for (const Case& c : cases) {
        label.SetAlignment(c.alignment);
        label.SetLayout(c.layout);
        const TPoint64 at = CaptionOrigin(label.BoundsRect(), 30, 11, label.Alignment(), label.Layout());
        EXPECT_EQ(at, c.origin) << c.alignment << " " << c.layout << ": " << at.x << ", " << at.y;
    }
    EXPECT_EQ(CaptionOrigin(TRect64::Of(10, 20, 20, 8), 30, 12, taRightJustify, tlBottom), (TPoint64{0, 16}));
    // Far edges beyond 32 bits.
    const TRect64 far = TRect64::Of(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX);
    EXPECT_EQ(CaptionOrigin(far, 1, 1, taRightJustify, tlBottom), (TPoint64{4294967293, 4294967293}));
}

// Once the form shows, every change of a label repaints it; a move both where it was and is.
TEST(Controls, LabelChangesRepaintOnceTheFormShows)
{
    headless::Reset();
    TForm form(nullptr);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetBounds(10, 20, 30, 40);
    label->SetColor(clRed);
    EXPECT_TRUE(headless::Recorder().invalidated.empty());
    form.Show();
    const TRect64 at = label->BoundsRect();
    const std::vector<std::pair<std::function<void()>, std::vector<TRect64>>> changes = {
        {[&] { label->SetColor(clYellow); }, {at}},
        {[&] { label->SetAlignment(taRightJustify); }, {at}},
        {[&] { label->SetLayout(tlBottom); }, {at}},
        {[&] { label->SetCaption("PC"); }, {at}},
        {[&] { label->SetLeft(50); }, {at, TRect64::Of(50, 20, 30, 40)}},
    };
    for (const auto& [change, repainted] : changes) {
        headless::Recorder().invalidated.clear();
        change();
        EXPECT_EQ(headless::Recorder().invalidated, repainted);
    }
    headless::Reset();
}

}  // namespace
