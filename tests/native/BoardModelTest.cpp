// Whatever the board, the model answers what a walk over every label and pixel answers.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "platform/BoardModel.h"
#include "platform/Forms.h"

namespace {

class TRectStack : public IBoardStack {
public:
    std::vector<TRect64> rects;
    std::size_t Count() const override { return rects.size(); }
    TRect64 DesignRect(std::size_t item) const override { return rects[item]; }
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
std::vector<TBoardModel::TShown> ShownByPixels(const TRectStack& stack, const TRect64& area, int dpi,
                                               const std::vector<TRect64>& blockers)
{
    std::vector<TBoardModel::TShown> shown;
    for (std::size_t i = 0; i < stack.rects.size(); ++i) {
        const TRect64 rect = ScaleToDpi(stack.rects[i], dpi);
        if (!rect.Intersects(area))
            continue;
        TBoardModel::TShown s;
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
                    s.firstCovered = {x, y};
                    for (std::size_t j = stack.rects.size(); j-- > i + 1 && s.coveredBy == TBoardModel::npos;)
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

void ExpectSame(const TBoardModel::TShown& a, const TBoardModel::TShown& b)
{
    EXPECT_EQ(a.item, b.item);
    EXPECT_EQ(a.rect, b.rect);
    EXPECT_EQ(a.visible, b.visible) << "item " << a.item;
    EXPECT_EQ(a.visiblePixels, b.visiblePixels) << "item " << a.item;
    EXPECT_EQ(a.covered, b.covered) << "item " << a.item;
    if (a.covered && b.covered) {
        EXPECT_EQ(a.firstCovered, b.firstCovered) << "item " << a.item;
    }
    if (a.coveredBy != TBoardModel::npos) {
        EXPECT_EQ(a.coveredBy, b.coveredBy) << "item " << a.item;
    }
}

TEST(BoardModel, ShowsAndHitTestsWhatThePixelsShow)
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
        const TBoardModel model(stack);
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
            std::size_t walked = TBoardModel::npos;
            for (std::size_t i = 0; i < stack.rects.size(); ++i)
                if (ScaleToDpi(stack.rects[i], dpi).Contains(p.x, p.y))
                    walked = i;
            ASSERT_EQ(model.ItemAt(p, dpi), walked) << "at " << p.x << "," << p.y << " dpi " << dpi;
        }
    }
}

TEST(BoardModel, FormFollowsLabelsThatMoveOrGo)
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
