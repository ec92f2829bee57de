// Placeholder values at the moment of delivery, and the parameters dialog's rules.
#include "engine/MacroInsertions.h"
#include "engine/PredefinedInsertions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

std::vector<std::string> Values(TLocalTime t)
{
    std::vector<std::string> out(1);
    for (char c : PredefinedValues(t)) {
        if (c == '\x01')
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

TEST(PredefinedInsertionsTest, ValuesOfAMondayAfternoon)
{
    EXPECT_EQ(Values({2026, 12, 7, 14, 5, 9}),
        (std::vector<std::string>{"Monday, December 07, 2026", "12/7/2026", "Monday", "Sunday, December 06, 2026",
            "12/6/2026", "Sunday", "Tuesday, December 08, 2026", "12/8/2026", "Tuesday", "14:05:09", "14:05"}));
    EXPECT_EQ(
        PredefinedNames(), "%Date,%ShortDate,%Day,%YDate,%YShortDate,%YDay,%TDate,%TShortDate,%TDay,%Time,%ShortTime");
}

TEST(PredefinedInsertionsTest, MonthEndsYearEndsAndLeapDays)
{
    const auto newYear = Values({2027, 1, 1, 0, 0, 0});
    EXPECT_EQ(newYear[3], "Thursday, December 31, 2026");
    EXPECT_EQ(newYear[10], "0:00");
    EXPECT_EQ(Values({2028, 2, 28, 9, 5, 3})[7], "2/29/2028");
    EXPECT_EQ(Values({2028, 2, 28, 9, 5, 3})[9], "9:05:03");
    EXPECT_EQ(Values({2027, 2, 28, 9, 5, 3})[7], "3/1/2027");
    EXPECT_EQ(Values({2028, 3, 1, 9, 5, 3})[3], "Tuesday, February 29, 2028");
    EXPECT_EQ(Values({2026, 12, 31, 23, 59, 59})[6], "Friday, January 01, 2027");
}

TEST(PredefinedInsertionsTest, MenuInFiveGroups)
{
    EXPECT_EQ(PlaceholderMenuCaption(0), "%Date - Today (date in full)");
    EXPECT_EQ(PlaceholderMenuCaption(PlaceholderCount), "%Cursor - Cursor (stands here after delivery)");
    int separators = 0;
    for (int i = 0; i < MenuPlaceholderCount; ++i)
        separators += SeparatorFollows(i) ? 1 : 0;
    EXPECT_EQ(separators, 4);
    EXPECT_TRUE(SeparatorFollows(PlaceholderCount - 1)); // the time, then the cursor and the clipboard
    EXPECT_FALSE(SeparatorFollows(MenuPlaceholderCount - 1));
}

TEST(MacroInsertionsTest, RowsAndValues)
{
    EXPECT_EQ(ParameterRows("A,,B"), (std::vector<std::string>{"A", "", "B"}));
    EXPECT_EQ(ParameterRows("A,A").size(), 2u);
    EXPECT_EQ(JoinValues({"Jane", "", "Acme"}),
        "Jane\x01\x01"
        "Acme");
}

TEST(MacroInsertionsTest, SizeRecordRoundTripsSignedValues)
{
    const auto bytes = EncodeDialogSize({132, -2});
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x84, 0x00, 0xfe, 0xff}));
    EXPECT_EQ(DecodeDialogSize(bytes), (TDialogSize{132, -2}));
    EXPECT_FALSE(DecodeDialogSize({1, 2, 3}));
}

TEST(MacroInsertionsTest, AcceptIsCentredLeftOfTheCheckBox) { EXPECT_EQ(AcceptButtonLeft(392, 97, 75), 108); }

TEST(MacroInsertionsTest, ManyRowsNeverMakeTheDialogTallerThanTheScreen)
{
    EXPECT_EQ(RowsHeight(2), 67);
    EXPECT_EQ(ParametersDialogHeight(171, RowsHeight(2) + 80, 1024), 171); // the design height
    EXPECT_EQ(ParametersDialogHeight(171, RowsHeight(20) + 80, 1024), RowsHeight(20) + 80);
    EXPECT_EQ(ParametersDialogHeight(171, RowsHeight(60) + 80, 1024), 1024);
    EXPECT_EQ(ParametersDialogHeight(1500, 200, 1024), 1024); // a stored height from a larger screen
}

TEST(MacroInsertionsTest, TheScrollBoxMovesAsLittleAsItCanToShowARow)
{
    const TRowsScroll scroll{RowsHeight(60), 300};
    EXPECT_EQ(scroll.Max(), RowsHeight(60) - 300);
    EXPECT_EQ(scroll.Clamp(-5), 0);
    EXPECT_EQ(scroll.Clamp(100000), scroll.Max());
    EXPECT_EQ(scroll.ShowingRow(0, 0), 0);
    EXPECT_EQ(scroll.ShowingRow(5, 0), 0); // rows 0 to 8 are in view
    EXPECT_EQ(scroll.ShowingRow(9, 0), RowTop(9) + kMacroInsRowHeight + kMacroInsRowTop - 300);
    EXPECT_EQ(scroll.ShowingRow(2, 500), RowTop(2) - kMacroInsRowTop);
    EXPECT_EQ(scroll.ShowingRow(59, 0), RowTop(59) + kMacroInsRowHeight + kMacroInsRowTop - 300);
    EXPECT_EQ(scroll.ShowingRow(59, scroll.Max()), scroll.Max());
    // Everything in view: nothing scrolls.
    EXPECT_EQ((TRowsScroll{RowsHeight(3), 300}).ShowingRow(2, 0), 0);
}

TEST(MacroInsertionsTest, FirstClickAfterLeavingABoxSelectsItsText)
{
    TSelectOnFirstClick rule;
    EXPECT_FALSE(rule.MouseUp(false)); // set at creation
    rule.Exit();
    EXPECT_TRUE(rule.MouseUp(false));
    EXPECT_FALSE(rule.MouseUp(false));
    rule.Exit();
    EXPECT_FALSE(rule.MouseUp(true));
}

} // namespace
} // namespace corvane
