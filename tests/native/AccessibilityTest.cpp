// What a screen reader reads of the main window: the model the Windows object translates.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/forms/Accessibility.h"
#include "tests/support/HeadlessBoard.h"
#include "tests/support/SevenSteps.h"

namespace {

using psbtest::HeadlessBoard;
constexpr std::size_t kSelf = TAccessibleForm::kSelf, kNone = TAccessibleForm::kNone;
constexpr TRect64 kClient{0, 0, 680, 441};

// PC1 and PC2 side by side; PC3 under PC4; PC5 without a caption; PC7 (no PC6) outside the
// client area; PC8 of no size; PC9 partly under PC10.
const char kAccessibilityBoard[] =
    "[sys]\ncount=11\n"
    "[PC1]\nCaption=A\nLeft=40\nTop=40\nWidth=100\nHeight=60\n"
    "[PC2]\nCaption=B\nLeft=200\nTop=40\nWidth=100\nHeight=60\n"
    "[PC3]\nCaption=under\nLeft=40\nTop=200\nWidth=50\nHeight=50\n"
    "[PC4]\nCaption=over\nLeft=30\nTop=190\nWidth=70\nHeight=70\n"
    "[PC5]\nLeft=400\nTop=40\nWidth=30\nHeight=30\n"
    "[PC7]\nCaption=away\nLeft=900\nTop=40\nWidth=30\nHeight=30\n"
    "[PC8]\nCaption=flat\nLeft=500\nTop=40\nWidth=30\nHeight=0\n"
    "[PC9]\nCaption=half\nLeft=300\nTop=200\nWidth=50\nHeight=50\n"
    "[PC10]\nCaption=cover\nLeft=320\nTop=200\nWidth=50\nHeight=50\n";

class Accessibility : public ::testing::Test {
public:
    void SetUp() override
    {
        board_.Write(kAccessibilityBoard);
        form_ = &board_.Build();
        form_->Show();
    }

    // The child of a control, found the slow way.
    std::size_t ChildAt(const TControl* control) const
    {
        const auto& controls = form_->Controls();
        return static_cast<std::size_t>(std::find(controls.begin(), controls.end(), control) - controls.begin()) + 1;
    }
    std::size_t Pc(int n) const { return ChildAt(HeadlessBoard::Labels(*form_)[static_cast<std::size_t>(n)]); }
    std::uint32_t State(std::size_t child, int dpi = kDesignDpi) const
    {
        return model().State(child, ScaleToDpi(kClient, dpi), dpi);
    }
    TAccessibleForm model() const { return TAccessibleForm(*form_); }

    HeadlessBoard board_{"accessibility"};
    TForm1* form_ = nullptr;
};

TEST_F(Accessibility, EveryControlIsAChildNamedAndRoledByWhatItIs)
{
    const TAccessibleForm m = model();
    ASSERT_EQ(m.ChildCount(), form_->Controls().size());
    EXPECT_EQ(m.Role(kSelf), TAccessibleRole::Client);
    EXPECT_EQ(m.Name(kSelf), "Form1");

    const auto pcs = HeadlessBoard::Labels(*form_);
    ASSERT_EQ(pcs.size(), 9u);
    // Control, role, name, and whether it has a window.
    const std::tuple<const TControl*, TAccessibleRole, std::string, bool> expected[] = {
        {form_->Label1, TAccessibleRole::StaticText, "名稱：", false},
        {form_->Button1, TAccessibleRole::PushButton, "故障設定", true},
        {form_->Edit1, TAccessibleRole::Text, "名稱：", true},
        {form_->Edit2, TAccessibleRole::Text, "狀態：", true},
        {pcs[0], TAccessibleRole::ListItem, "A", false},
        {pcs[4], TAccessibleRole::ListItem, "PC5", false},  // no caption: its section
        {pcs[5], TAccessibleRole::ListItem, "away", false},
    };
    for (const auto& [control, role, name, window] : expected) {
        const std::size_t child = ChildAt(control);
        EXPECT_EQ(m.ChildOf(*control), child) << name;
        EXPECT_EQ(&m.Control(child), control);
        EXPECT_EQ(m.Role(child), role) << name;
        EXPECT_EQ(m.Name(child), name);
        EXPECT_EQ(m.HasWindow(child), window) << name;
    }
    // Found without a rectangle to look near, too.
    EXPECT_EQ(m.ChildOf(*pcs[6]), ChildAt(pcs[6]));
    form_->Edit1->SetText("typed");
    EXPECT_EQ(m.Value(ChildAt(form_->Edit1)), "typed");
    EXPECT_EQ(m.Name(ChildAt(form_->Edit1)), "名稱：") << "what an edit holds is no name";
    TLabel stray(nullptr);
    EXPECT_EQ(m.ChildOf(stray), kNone);
}

// Scaled edge by edge; a native control where its window is.
TEST_F(Accessibility, LocationsAreWhatIsPaintedAtTheDpi)
{
    const TAccessibleForm m = model();
    const TRect64 client = ScaleToDpi(kClient, 144);
    EXPECT_EQ(m.Location(kSelf, client, 144), client);
    EXPECT_EQ(m.Location(Pc(0), client, 144), (TRect64{60, 60, 210, 150}));
    EXPECT_EQ(m.Location(Pc(6), client, 144), TRect64{});
    EXPECT_EQ(m.Location(ChildAt(form_->Button1), client, 144), (TRect64{108, 612, 221, 650}));
}

TEST_F(Accessibility, StatesTellWhatCanBeSeenAndWhatIsSelected)
{
    const std::uint32_t shown = asSelectable;
    EXPECT_EQ(State(Pc(0)), shown);
    EXPECT_EQ(State(Pc(2)), shown | asInvisible);  // wholly under PC4
    EXPECT_EQ(State(Pc(3)), shown);
    EXPECT_EQ(State(Pc(5)), shown | asOffscreen);
    EXPECT_EQ(State(Pc(6)), shown | asInvisible);
    EXPECT_EQ(State(Pc(7)), shown);  // partly covered
    EXPECT_EQ(State(Pc(5), 144), shown | asOffscreen);
    EXPECT_EQ(State(ChildAt(form_->Label1)), asReadOnly);
    EXPECT_EQ(State(ChildAt(form_->Button1)), asFocusable);
    EXPECT_EQ(model().State(kSelf, {}, kDesignDpi), asInvisible);

    EXPECT_EQ(model().Selection(), kNone);
    HeadlessBoard::ClickAt(*form_, 250, 70);
    EXPECT_EQ(model().Selection(), Pc(1));
    EXPECT_EQ(State(Pc(1)), shown | asSelected);
    EXPECT_EQ(State(Pc(0)), shown);
}

// Design points scaled to each DPI; edges as painted: right and bottom ones outside.
TEST_F(Accessibility, HitTestsTakeThePointAsAClickDoes)
{
    const TAccessibleForm m = model();
    for (const int dpi : {96, 144}) {
        const TRect64 client = ScaleToDpi(kClient, dpi);
        const auto at = [&](std::int64_t x, std::int64_t y) {
            return m.HitTest({ScaleToDpi(x, dpi), ScaleToDpi(y, dpi)}, client, dpi);
        };
        EXPECT_EQ(at(139, 99), Pc(0)) << dpi;
        EXPECT_EQ(at(140, 70), kSelf) << dpi;
        EXPECT_EQ(at(60, 220), Pc(3)) << dpi;  // the label on top
        EXPECT_EQ(at(201, 393), ChildAt(form_->Label1)) << dpi;
        const TRect64 button = m.Location(ChildAt(form_->Button1), client, dpi);
        EXPECT_EQ(m.HitTest({button.left, button.top}, client, dpi), ChildAt(form_->Button1));
        EXPECT_EQ(m.HitTest({client.right, 0}, client, dpi), kNone);
    }
}

TEST_F(Accessibility, NavigationGoesThroughTheChildrenInOrder)
{
    const TAccessibleForm m = model();
    const std::size_t last = m.ChildCount();
    using enum TNavigation;
    const std::tuple<std::size_t, TNavigation, std::size_t> moves[] = {
        {kSelf, FirstChild, 1}, {kSelf, LastChild, last}, {1, Next, 2},           {last, Previous, last - 1},
        {last, Next, kNone},    {1, Previous, kNone},     {1, FirstChild, kNone}, {kSelf, Next, kNone}};
    for (const auto& [from, way, to] : moves)
        EXPECT_EQ(m.Navigate(from, way), to) << from << " " << static_cast<int>(way);
    TForm empty(nullptr);
    EXPECT_EQ(TAccessibleForm(empty).Navigate(kSelf, TNavigation::FirstChild), kNone);
}

TEST_F(Accessibility, DefaultActionsDoWhatAClickDoesAndValuesFollow)
{
    const TAccessibleForm m = model();
    EXPECT_EQ(m.DefaultAction(Pc(1)), "選取");
    EXPECT_EQ(m.DefaultAction(ChildAt(form_->Button1)), "按下");
    for (const TControl* none : {static_cast<TControl*>(form_->Label1), static_cast<TControl*>(form_->Edit1)}) {
        EXPECT_EQ(m.DefaultAction(ChildAt(none)), "");
        EXPECT_FALSE(m.DoDefaultAction(ChildAt(none)));
    }
    EXPECT_TRUE(m.DoDefaultAction(Pc(1)));
    EXPECT_EQ(form_->Edit1->Text(), "B");
    // An item that nothing chooses, and a button that does nothing, have no action.
    const TNotifyEvent click = form_->Button1->OnClick();
    form_->Button1->SetOnClick(TNotifyEvent());
    EXPECT_EQ(m.DefaultAction(ChildAt(form_->Button1)), "");
    EXPECT_FALSE(m.DoDefaultAction(ChildAt(form_->Button1)));
    form_->Button1->SetOnClick(click);
    TLabel* still = HeadlessBoard::Labels(*form_)[2];
    const TNotifyEvent choose = still->OnClick();
    still->SetOnClick(TNotifyEvent());
    EXPECT_EQ(m.DefaultAction(Pc(2)), "");
    EXPECT_FALSE(m.DoDefaultAction(Pc(2)));
    still->SetOnClick(choose);
    EXPECT_EQ(m.Selection(), Pc(1));
    // A PC out of order says what the status field shows; nothing else has a value.
    EXPECT_TRUE(m.DoDefaultAction(ChildAt(form_->Button1)));
    EXPECT_EQ(m.Value(Pc(1)), psbtest::kOutOfOrder);
    EXPECT_EQ(m.Description(Pc(1)), form_->Edit2->Text());
    EXPECT_EQ(m.Value(Pc(0)), "");
    form_->Label1->SetColor(clRed);
    EXPECT_EQ(m.Value(ChildAt(form_->Label1)), "");
    form_->Button1->Click();
    EXPECT_EQ(m.Description(Pc(1)), "");
}

}  // namespace
