// Usage figures: what a delivery records, time saved by week and month,
// the replies unused for 90 days, and the stored form.
#include "../engine/EngineTestRig.h"
#include "fakes/MemoryFileSystem.h"
#include "exchange/UsageStats.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

namespace corvane::testing {
namespace {

TEST(UsageStatsTest, ATypedMacroCountsItsKeysAndTheTextItPutIn)
{
    EngineRig rig;
    rig.AddReply("Signature", RichEditRtf("Best regards"), "sig", "0K");
    rig.desktop.foreground = MailWindow;
    rig.Type("sig ");
    ASSERT_EQ(rig.deliveries.size(), 1u);
    EXPECT_EQ(rig.deliveries[0].route, TRoute::Macro);
    EXPECT_EQ(rig.deliveries[0].charsTyped, 4); // s, i, g and the space
    EXPECT_EQ(rig.deliveries[0].charsIn, 12);
}

TEST(UsageStatsTest, TimeSavedCountsThisWeekFromMondayAndThisMonthFromTheFirst)
{
    // Wednesday 9 December 2026; Monday was the 7th.
    const int today = DayNumber(2026, 12, 9);
    TUsageStats stats;
    stats.Record("1.rep", TRoute::Macro, today, 204, 4); // 200 characters: 1 minute at 40 wpm
    stats.Record("1.rep", TRoute::HotKey, DayNumber(2026, 12, 7), 200, 0);
    stats.Record("2.rep", TRoute::Drag, DayNumber(2026, 12, 6), 400, 0); // Sunday: last week
    stats.Record("2.rep", TRoute::Copy, DayNumber(2026, 11, 30), 400, 0); // last month
    const TTimeSaved saved = stats.TimeSaved(today, 3, 9, 40);
    EXPECT_DOUBLE_EQ(saved.weekMinutes, 2.0);
    EXPECT_DOUBLE_EQ(saved.monthMinutes, 4.0);
    EXPECT_DOUBLE_EQ(saved.allMinutes, 6.0);
    EXPECT_DOUBLE_EQ(stats.TimeSaved(today, 3, 9, 80).allMinutes, 3.0);
}

TEST(UsageStatsTest, StoredFormKeepsCountsPerRouteAndNoText)
{
    const int today = DayNumber(2026, 12, 9);
    TUsageStats stats;
    stats.Record("3\\12.rep", TRoute::Picker, today, 50, 0);
    stats.Record("3\\12.rep", TRoute::Picker, today, 50, 0);
    stats.Record("3\\12.rep", TRoute::Macro, today - 100, 50, 5);
    stats.Record("1.rep", TRoute::Macro, today - 89, 10, 3);
    const TUsageStats back(stats.Stored() + "garbage line\r\n\t\t\t\t\t\r\n");
    EXPECT_EQ(back.CountsOf("3\\12.rep", TRoute::Picker).deliveries, 2);
    EXPECT_EQ(back.CountsOf("3\\12.rep", TRoute::Picker).charsIn, 100);
    EXPECT_EQ(back.CountsOf("3\\12.rep", TRoute::Macro).charsTyped, 5);
    EXPECT_EQ(back.MostUsed(1).front().key, "3\\12.rep");
    // Used 100 days ago only, or never: listed; used 89 days ago: not.
    EXPECT_EQ(back.UnusedSince({"1.rep", "3\\12.rep", "9.rep"}, today), (std::vector<std::string>{"9.rep"}));
    EXPECT_EQ(
        back.UnusedSince({"1.rep", "3\\12.rep", "9.rep"}, today + 2), (std::vector<std::string>{"1.rep", "9.rep"}));
}

TEST(UsageStatsTest, DeliveriesAreCountedInMemoryWrittenInOneGoAndAClearedFileIsReadAgain)
{
    fakes::MemoryFileSystem fs;
    fs.PutFile("C:\\Data\\Usage.txt", "");
    TUsageRecorder recorder(fs, "C:\\Data\\Usage.txt");
    const TLocalTime now{2026, 12, 9, 10, 0, 0};
    for (int i = 0; i < 3; ++i)
        recorder.Record("1.rep", {TRoute::Macro, 4, 12}, now);
    EXPECT_EQ(fs.writeCount, 0); // nothing written on the way of a paste
    fs.failWrite = [](const std::string&) { return true; };
    EXPECT_FALSE(recorder.WritePending());
    EXPECT_TRUE(recorder.Pending()); // kept for the next write
    fs.failWrite = nullptr;
    EXPECT_TRUE(recorder.WritePending());
    EXPECT_EQ(TUsageStats(*fs.Peek("C:\\Data\\Usage.txt")).CountsOf("1.rep", TRoute::Macro).deliveries, 3);
    const int writes = fs.writeCount;
    EXPECT_TRUE(recorder.WritePending());
    EXPECT_EQ(fs.writeCount, writes); // nothing new, nothing written

    // The Statistics window cleared the figures: they do not come back.
    fs.PutFile("C:\\Data\\Usage.txt", "");
    recorder.ReadAgain();
    recorder.Record("2.rep", {TRoute::HotKey, 0, 20}, now);
    EXPECT_TRUE(recorder.WritePending());
    const TUsageStats after(*fs.Peek("C:\\Data\\Usage.txt"));
    EXPECT_EQ(after.CountsOf("1.rep", TRoute::Macro).deliveries, 0);
    EXPECT_EQ(after.CountsOf("2.rep", TRoute::HotKey).deliveries, 1);
}

} // namespace
} // namespace corvane::testing
