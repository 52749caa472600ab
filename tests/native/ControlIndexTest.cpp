// Hit-testing and painting go through an index; whatever the board, they must find exactly
// what a walk over every label finds.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "platform/Forms.h"

namespace {

TEST(ControlIndex, FindsWhatAWalkOverEveryLabelFinds)
{
    std::mt19937 random(7);
    const auto pick = [&](std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(random);
    };
    TForm form(nullptr);
    for (int i = 0; i < 3000; ++i) {
        auto* label = new TLabel(&form);
        label->SetParent(&form);
        switch (i % 6) {
        case 0:
            label->SetBounds(pick(-40, 900), pick(-40, 600), pick(-5, 60), pick(-5, 60));
            break;
        case 1:
            label->SetBounds(pick(0, 700), pick(0, 450), pick(0, 600), pick(0, 400));
            break;  // many cells
        case 2:
            label->SetBounds(pick(INT_MIN, INT_MAX), pick(INT_MIN, INT_MAX), pick(0, INT_MAX), pick(0, INT_MAX));
            break;
        case 3:
            label->SetBounds(pick(8000, 8300), pick(8000, 8300), 100, 100);
            break;  // the grid's far edge
        default:
            label->SetBounds(pick(0, 680), pick(0, 440), 6, 6);
            break;
        }
        if (i == 1500)
            delete label;  // leaves the form: positions shift
    }
    for (const int dpi : {96, 120, 144}) {
        for (int q = 0; q < 3000; ++q) {
            const std::int64_t x = pick(-100, 12000), y = pick(-100, 12000);
            TControl* walked = nullptr;
            for (TControl* c : form.Controls())
                if (ScaleToDpi(c->BoundsRect(), dpi).Contains(x, y))
                    walked = c;
            ASSERT_EQ(form.ControlAt(x, y, dpi), walked) << "at " << x << "," << y << " dpi " << dpi;
        }
        for (int q = 0; q < 300; ++q) {
            const std::int64_t left = pick(-200, 9000), top = pick(-200, 9000);
            const TRect64 area{left, top, left + pick(1, 700), top + pick(1, 500)};
            std::vector<TControl*> walked, indexed;
            for (TControl* c : form.Controls())
                if (ScaleToDpi(c->BoundsRect(), dpi).Intersects(area))
                    walked.push_back(c);
            form.ForEachPaintedIn(
                area, [&](TControl& c) { indexed.push_back(&c); }, dpi);
            ASSERT_EQ(indexed, walked) << "dpi " << dpi;
        }
    }
}

TEST(ControlIndex, FollowsLabelsThatMoveOrGo)
{
    TForm form(nullptr);
    auto* below = new TLabel(&form);
    below->SetParent(&form);
    below->SetBounds(0, 0, 50, 50);
    auto* above = new TLabel(&form);
    above->SetParent(&form);
    above->SetBounds(10, 10, 10, 10);
    EXPECT_EQ(form.ControlAt(15, 15), above);
    above->SetLeft(5000);
    EXPECT_EQ(form.ControlAt(15, 15), below);
    EXPECT_EQ(form.ControlAt(5005, 15), above);
    delete above;
    EXPECT_EQ(form.ControlAt(5005, 15), nullptr);
}

}  // namespace
