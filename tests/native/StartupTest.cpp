#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "app/Startup.h"
#include "platform/headless/Headless.h"

namespace {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { headless::Reset(); }
    void TearDown() override { headless::Reset(); }
};

class GoodForm;
GoodForm* goodForm = nullptr;
bool designatedDuringConstruction = false;

class GoodForm : public TForm {
public:
    explicit GoodForm(TComponent* owner) : TForm(owner) { designatedDuringConstruction = goodForm == this; }
};

// Throws from its constructor, half-built: what it made must still be freed.
template <int Kind>
class FailingForm : public TForm {
public:
    explicit FailingForm(TComponent* owner) : TForm(owner)
    {
        new TLabel(this);
        if constexpr (Kind == 0)
            throw Exception("名稱 refused");
        else if constexpr (Kind == 1)
            throw std::runtime_error("not ours");
        else
            throw std::bad_alloc();
    }
};
template <int Kind>
FailingForm<Kind>* failingForm = nullptr;

TEST_F(StartupTest, FormIsDesignatedWhileBuiltAndTheLoopRuns)
{
    TForm* seenInLoop = nullptr;
    headless::Recorder().onLoop = [&](TForm& form) { seenInLoop = &form; };
    EXPECT_EQ(RunApplication(goodForm), 0);
    EXPECT_TRUE(designatedDuringConstruction);
    EXPECT_EQ(headless::Recorder().loopRuns, 1);
    EXPECT_NE(seenInLoop, nullptr);
    EXPECT_TRUE(headless::Recorder().messages.empty());
    EXPECT_EQ(goodForm, nullptr);  // the form is gone with the application's forms
    EXPECT_EQ(Application->ComponentCount(), 0u);
}

// Ours show their message, memory running out is named, others show nothing; the process
// still returns 0.
TEST_F(StartupTest, ExceptionFromTheConstructorIsShown)
{
    EXPECT_EQ(RunApplication(failingForm<0>), 0);
    EXPECT_EQ(RunApplication(failingForm<1>), 0);
    EXPECT_EQ(RunApplication(failingForm<2>), 0);
    EXPECT_NE(EOutOfMemory().Message(), "");
    EXPECT_EQ(headless::Recorder().messages, (std::vector<std::string>{"名稱 refused", "", EOutOfMemory().Message()}));
    EXPECT_EQ(headless::Recorder().loopRuns, 0);
    EXPECT_EQ(failingForm<0>, nullptr);
    EXPECT_EQ(Application->ComponentCount(), 0u);
}

TEST_F(StartupTest, ExceptionsInsideTheLoopAreShownToo)
{
    headless::Recorder().onLoop = [](TForm&) { throw Exception("late"); };
    EXPECT_EQ(RunApplication(goodForm), 0);
    EXPECT_EQ(headless::Recorder().messages, std::vector<std::string>{"late"});
}

}  // namespace
