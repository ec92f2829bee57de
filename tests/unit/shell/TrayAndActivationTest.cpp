#include "shell/UnitTrayRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

TEST(TrayInsertCaption, NamesOnlyAReplyDirectlyAfterTheWordReply)
{
    const std::string plain = "Insert the selected reply into the current window [Hotkey: Ctrl+Shift+V]";
    EXPECT_EQ(TrayInsertCaption(SelectedNode::None, "x"), plain);
    EXPECT_EQ(TrayInsertCaption(SelectedNode::Folder, "Letters"), plain);
    EXPECT_EQ(TrayInsertCaption(SelectedNode::Reply, "Thanks"),
        "Insert the selected reply(Thanks) into the current window [Hotkey: Ctrl+Shift+V]");
}

TEST(TrayLeftClick, ShowsAHiddenWindowAndNeverHidesIt)
{
    EXPECT_TRUE(TrayLeftClickShowsWindow(false));
    EXPECT_FALSE(TrayLeftClickShowsWindow(true));
}

class RecordingEngine final : public IEngineArming {
public:
    std::vector<std::string> calls;
    void SetFixTimerEnabled(bool e) override { calls.push_back(e ? "timer on" : "timer off"); }
    void SetAppInactive(bool i) override { calls.push_back(i ? "inactive" : "active"); }
    void CommitEdits() override { calls.push_back("commit"); }
};

TEST(Activation, LeavingArmsTheEngineAndCommitsReturningDisarms)
{
    RecordingEngine engine;
    AppDeactivated(engine);
    EXPECT_EQ(engine.calls, (std::vector<std::string>{"timer on", "inactive", "commit"}));
    engine.calls.clear();
    AppActivated(engine);
    EXPECT_EQ(engine.calls, (std::vector<std::string>{"timer off", "active"}));
}

} // namespace
} // namespace corvane
