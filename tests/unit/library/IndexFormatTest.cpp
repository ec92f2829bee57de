#include "library/IndexFormat.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(IndexLineFormat, SplitsAtFirstUnderscoreAndFirstQuestionMark)
{
    const IndexLine line = SplitIndexLine("REPLY_3?Greeting_2?x");
    EXPECT_EQ(line.prefix, "REPLY_");
    EXPECT_EQ(line.number, "3");
    EXPECT_EQ(line.name, "Greeting_2?x");

    const IndexLine folder = SplitIndexLine("FOLDER_2?Support answers");
    EXPECT_EQ(folder.prefix, "FOLDER_");
    EXPECT_EQ(folder.number, "2");
    EXPECT_EQ(folder.name, "Support answers");
}

TEST(IndexLineFormat, SplitsMalformedLinesWithoutThrowing)
{
    EXPECT_EQ(SplitIndexLine("").prefix, "");
    const IndexLine noSeparators = SplitIndexLine("garbage");
    EXPECT_EQ(noSeparators.prefix, "");
    EXPECT_EQ(noSeparators.name, "");
    const IndexLine noName = SplitIndexLine("REPLY_7");
    EXPECT_EQ(noName.number, "7");
    EXPECT_EQ(noName.name, "");
    const IndexLine questionFirst = SplitIndexLine("A?b_c");
    EXPECT_EQ(questionFirst.prefix, "A?b_");
    EXPECT_EQ(questionFirst.number, "");
    EXPECT_EQ(questionFirst.name, "b_c");
    EXPECT_EQ(SplitIndexLine("REPLY_?x").number, "");
}

TEST(IndexLineFormat, BuildsLinesThatSplitBack)
{
    EXPECT_EQ(MakeIndexLine("REPLY_", "14", "Thanks_for_waiting?"), "REPLY_14?Thanks_for_waiting?");
    const IndexLine back = SplitIndexLine(MakeIndexLine("FOLDER_", "3", "a?b_c"));
    EXPECT_EQ(back.prefix, "FOLDER_");
    EXPECT_EQ(back.number, "3");
    EXPECT_EQ(back.name, "a?b_c");
}

TEST(IndexLineFormat, LineBreaksInANameCannotSplitTheEntry)
{
    EXPECT_EQ(MakeIndexLine("REPLY_", "1", "two\r\nlines\n"), "REPLY_1?two  lines ");
}

TEST(TextLines, CrLfLoneCrAndLoneLfEachEndALine)
{
    EXPECT_EQ(SplitTextLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTextLines("a\n\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitTextLines("\r\n\r\n"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(SplitTextLines("last\r\n"), (std::vector<std::string>{"last"}));
    EXPECT_EQ(SplitTextLines("no terminator"), (std::vector<std::string>{"no terminator"}));
    EXPECT_TRUE(SplitTextLines("").empty());
}

TEST(TextLines, WritesEveryLineWithCrLf)
{
    EXPECT_EQ(JoinTextLines({"", ""}), "\r\n\r\n");
    EXPECT_EQ(JoinTextLines({"a", "b"}), "a\r\nb\r\n");
    EXPECT_EQ(JoinTextLines({}), "");
    const std::vector<std::string> lines{"{\\rtf1", "", "}"};
    EXPECT_EQ(SplitTextLines(JoinTextLines(lines)), lines);
}

TEST(PathComponents, AcceptsPlainNames)
{
    for (const char* name : {"1", "12", "12.rep", "abc", "CONSOLE", "com10", "a b"})
        EXPECT_TRUE(IsPlainPathComponent(name)) << name;
}

TEST(PathComponents, RejectsAnythingThatCouldLeaveItsDirectory)
{
    for (const char* name : {"", ".", "..", "...", "..\\x", "a\\b", "a/b", "/etc", "C:", "C:x", "x.", "x ", "a*", "a?",
             "a|b", "a\"b", "<a>", "CON", "con.rep", "NUL", "Aux", "prn.txt", "COM1", "lpt9.rep"})
        EXPECT_FALSE(IsPlainPathComponent(name)) << name;
    EXPECT_FALSE(IsPlainPathComponent(std::string("a\0b", 3)));
    EXPECT_FALSE(IsPlainPathComponent("a\tb"));
}

} // namespace
} // namespace corvane
