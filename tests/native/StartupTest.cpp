#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "app/Startup.h"
#include "headless/Headless.h"

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
    explicit GoodForm(TComponent* owner) : TForm(owner)
    {
        designatedDuringConstruction = goodForm == this;
    }
};

class RefusingForm;
RefusingForm* refusingForm = nullptr;

class RefusingForm : public TForm {
public:
    explicit RefusingForm(TComponent* owner) : TForm(owner)
    {
        new TLabel(this);  // half-built: must still be freed
        throw Exception("名稱 refused");
    }
};

class BrokenForm;
BrokenForm* brokenForm = nullptr;

class BrokenForm : public TForm {
public:
    explicit BrokenForm(TComponent* owner) : TForm(owner) { throw std::runtime_error("not ours"); }
};

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

TEST_F(StartupTest, ExceptionFromTheConstructorShowsItsMessage)
{
    EXPECT_EQ(RunApplication(refusingForm), 0);
    EXPECT_EQ(headless::Recorder().messages, std::vector<std::string>{"名稱 refused"});
    EXPECT_EQ(headless::Recorder().loopRuns, 0);
    EXPECT_EQ(refusingForm, nullptr);
    EXPECT_EQ(Application->ComponentCount(), 0u);
}

TEST_F(StartupTest, AnyOtherExceptionShowsTheEmptyMessage)
{
    EXPECT_EQ(RunApplication(brokenForm), 0);
    EXPECT_EQ(headless::Recorder().messages, std::vector<std::string>{""});
    EXPECT_EQ(headless::Recorder().loopRuns, 0);
    EXPECT_EQ(brokenForm, nullptr);
}

class HungryForm;
HungryForm* hungryForm = nullptr;

class HungryForm : public TForm {
public:
    explicit HungryForm(TComponent* owner) : TForm(owner) { throw std::bad_alloc(); }
};

TEST_F(StartupTest, RunningOutOfMemoryIsNamed)
{
    EXPECT_EQ(RunApplication(hungryForm), 0);
    EXPECT_EQ(headless::Recorder().messages, std::vector<std::string>{EOutOfMemory().Message()});
    EXPECT_NE(EOutOfMemory().Message(), "");
}

TEST_F(StartupTest, ExceptionsInsideTheLoopAreShownToo)
{
    headless::Recorder().onLoop = [](TForm&) { throw Exception("late"); };
    EXPECT_EQ(RunApplication(goodForm), 0);
    EXPECT_EQ(headless::Recorder().messages, std::vector<std::string>{"late"});
}

}  // namespace
