// Whatever the stack, the index answers what a walk over every rectangle and pixel answers.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "platform/geometry/PaintedIndex.h"
#include "platform/forms/Forms.h"

namespace {

struct TPainted {
    TRect64 rect;
    bool IsWindowless() const { return true; }
    TRect64 PaintedRect() const { return rect; }
};

// The rectangles, and a stack over them.
struct TRectStack {
    std::vector<TRect64> rects;
    std::vector<TPainted> items;
    TPaintedStack<TPainted> stack;

    void Build()
    {
        items.clear();
        for (const TRect64& r : rects)
            items.push_back({r});
        for (TPainted& item : items)
            stack.Add(item);
    }
};

struct TRandom {
    std::mt19937 engine{7};
    std::int32_t operator()(std::int32_t low, std::int32_t high)
    {
        return std::uniform_int_distribution<std::int32_t>(low, high)(engine);
    }
};

// Every kind the index treats apart: small, many cells, anywhere, the grid's edge, empty.
TRect64 AnyRect(TRandom& pick, int kind)
{
    switch (kind % 6) {
    case 0:
        return TRect64::Of(pick(-40, 900), pick(-40, 600), pick(-5, 60), pick(-5, 60));
    case 1:
        return TRect64::Of(pick(0, 700), pick(0, 450), pick(0, 600), pick(0, 400));
    case 2:
        return TRect64::Of(pick(INT_MIN, INT_MAX), pick(INT_MIN, INT_MAX), pick(0, INT_MAX), pick(0, INT_MAX));
    case 3:
        return TRect64::Of(pick(8000, 8300), pick(8000, 8300), 100, 100);
    default:
        return TRect64::Of(pick(0, 680), pick(0, 440), 6, 6);
    }
}

// Pixel by pixel, from the top down: what of each item shows, and where it is first covered.
std::vector<TPaintedIndex::TShown> ShownByPixels(const TRectStack& stack, const TRect64& area, int dpi,
                                                 const std::vector<TRect64>& blockers)
{
    std::vector<TPaintedIndex::TShown> shown;
    for (std::size_t i = 0; i < stack.rects.size(); ++i) {
        const TRect64 rect = ScaleToDpi(stack.rects[i], dpi);
        if (!rect.Intersects(area))
            continue;
        TPaintedIndex::TShown s;
        s.item = i;
        s.rect = rect;
        const TRect64 inside = rect.Intersect(area);
        TRect64 free{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
        for (std::int64_t y = inside.top; y < inside.bottom; ++y)
            for (std::int64_t x = inside.left; x < inside.right; ++x) {
                const auto on = [&](const TRect64& r) { return r.Contains(x, y); };
                if (std::any_of(blockers.begin(), blockers.end(), on))
                    continue;
                bool above = false;
                for (std::size_t j = i + 1; j < stack.rects.size() && !above; ++j)
                    above = on(ScaleToDpi(stack.rects[j], dpi));
                if (above && !s.covered) {
                    s.covered = true;
                    for (std::size_t j = stack.rects.size(); j-- > i + 1 && s.coveredBy == TPaintedIndex::npos;)
                        if (on(ScaleToDpi(stack.rects[j], dpi)))
                            s.coveredBy = j;
                }
                if (!above) {
                    ++s.visiblePixels;
                    free = {std::min(free.left, x), std::min(free.top, y), std::max(free.right, x + 1),
                            std::max(free.bottom, y + 1)};
                }
            }
        s.visible = s.visiblePixels ? free : TRect64{};
        shown.push_back(s);
    }
    return shown;
}

void ExpectSame(const TPaintedIndex::TShown& a, const TPaintedIndex::TShown& b)
{
    EXPECT_EQ(a.item, b.item);
    EXPECT_EQ(a.rect, b.rect);
    EXPECT_EQ(a.visible, b.visible) << "item " << a.item;
    EXPECT_EQ(a.visiblePixels, b.visiblePixels) << "item " << a.item;
    EXPECT_EQ(a.covered, b.covered) << "item " << a.item;
    if (a.coveredBy != TPaintedIndex::npos) {
        EXPECT_EQ(a.coveredBy, b.coveredBy) << "item " << a.item;
    }
}

TEST(PaintedIndex, ShowsAndHitTestsWhatThePixelsShow)
{
    TRandom pick;
    for (int board = 0; board < 60; ++board) {
        TRectStack stack;
        const int items = pick(1, 60);
        for (int i = 0; i < items; ++i)
            stack.rects.push_back(i % 7 == 0 ? AnyRect(pick, i)
                                             : TRect64::Of(pick(-20, 150), pick(-20, 110), pick(-2, 70), pick(-2, 50)));
        std::vector<TRect64> blockers;
        if (board % 2)
            blockers.push_back(TRect64::Of(pick(0, 100), pick(0, 80), pick(1, 60), pick(1, 40)));
        stack.Build();
        const TPaintedStack<TPainted>& model = stack.stack;
        const int dpi = std::array{96, 120, 144, 72}[board % 4];
        const TRect64 area = TRect64::Of(pick(-10, 60), pick(-10, 40), pick(0, 200), pick(0, 150));
        const auto expected = ShownByPixels(stack, area, dpi, blockers);
        const auto shown = model.ShownIn(area, dpi, blockers, true);
        ASSERT_EQ(shown.size(), expected.size()) << "board " << board;
        for (std::size_t i = 0; i < shown.size(); ++i)
            ExpectSame(shown[i], expected[i]);
        if (blockers.empty())
            for (const auto& e : expected)
                ExpectSame(model.ShownOf(e.item, area, dpi), e);
        // A click takes the topmost item under it, as a walk over every item finds it.
        for (int q = 0; q < 200; ++q) {
            const TPoint64 p =
                q % 4 ? TPoint64{pick(-30, 260), pick(-30, 200)} : TPoint64{pick(-100, 13000), pick(-100, 13000)};
            std::size_t walked = TPaintedIndex::npos;
            for (std::size_t i = 0; i < stack.rects.size(); ++i)
                if (ScaleToDpi(stack.rects[i], dpi).Contains(p.x, p.y))
                    walked = i;
            ASSERT_EQ(model.IndexAt(p, dpi), walked) << "at " << p.x << "," << p.y << " dpi " << dpi;
        }
    }
}

// The index is built anew, not on top of the last one: rebuilt for an unchanged stack it holds
// the same entries.
TEST(PaintedIndex, RebuildsFromScratch)
{
    TRandom pick;
    TRectStack stack;
    for (int i = 0; i < 40; ++i)
        stack.rects.push_back(AnyRect(pick, i));
    stack.Build();
    const TPaintedStack<TPainted>& s = stack.stack;
    s.IndexAt({5, 5}, kDesignDpi);
    const std::size_t entries = s.IndexEntryCount();
    ASSERT_GT(entries, 0u);
    for (int round = 0; round < 3; ++round) {
        stack.stack.Moved(stack.items.front());
        s.IndexAt({5, 5}, kDesignDpi);
        EXPECT_EQ(s.IndexEntryCount(), entries);
    }
}

TEST(PaintedIndex, FormFollowsLabelsThatMoveOrGo)
{
    TForm form(nullptr);
    auto* below = new TLabel(&form);
    below->SetParent(&form);
    below->SetBounds(0, 0, 50, 50);
    auto* above = new TLabel(&form);
    above->SetParent(&form);
    above->SetBounds(10, 10, 10, 10);
    EXPECT_EQ(form.ControlAt(15, 15), above);
    EXPECT_EQ(form.ControlAt(49, 49), below);
    EXPECT_EQ(form.ControlAt(50, 0), nullptr);  // the right and bottom edges are outside
    EXPECT_EQ(form.ControlAt(0, 50), nullptr);
    above->SetLeft(5000);
    EXPECT_EQ(form.ControlAt(15, 15), below);
    EXPECT_EQ(form.ControlAt(5005, 15), above);
    delete above;
    EXPECT_EQ(form.ControlAt(5005, 15), nullptr);
}

}  // namespace
