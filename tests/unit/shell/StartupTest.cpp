#include "fakes/RecordingMessageBoxes.h"
#include "library/UnitCommonProcs.h"
#include "shell/UnitStartup.h"

#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(Startup, OnlyTheExactHiddenSwitchAsFirstArgumentHides)
{
    EXPECT_TRUE(IsHiddenStart({"-hidden"}));
    EXPECT_TRUE(IsHiddenStart({"-hidden", "more", "args"}));
    EXPECT_FALSE(IsHiddenStart({}));
    EXPECT_FALSE(IsHiddenStart({"-Hidden"}));
    EXPECT_FALSE(IsHiddenStart({"/hidden"}));
    EXPECT_FALSE(IsHiddenStart({"-hidden "}));
    EXPECT_FALSE(IsHiddenStart({"x", "-hidden"}));
}

class FailingCreation final : public IMainWindowCreation {
public:
    std::vector<std::string> steps;
    void ArmTipTimer() override { steps.push_back("tip timer"); }
    void RunCreationHandler() override
    {
        steps.push_back("hooks");
        throw std::runtime_error("Out of resources.");
    }
};

TEST(Startup, TheTipTimerIsArmedEvenWhenTheCreationHandlerFails)
{
    fakes::RecordingMessageBoxes boxes;
    SetMessageBoxes(&boxes);
    FailingCreation window;
    RunMainWindowCreation(window);
    SetMessageBoxes(nullptr);
    EXPECT_EQ(window.steps, (std::vector<std::string>{"tip timer", "hooks"}));
    EXPECT_EQ(boxes.ErrorTexts(), (std::vector<std::string>{"Out of resources."}));
}

} // namespace
} // namespace corvane
