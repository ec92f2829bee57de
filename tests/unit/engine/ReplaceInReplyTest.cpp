// Names replaced in the document text of RichEdit's RTF, never in its markup.
#include "EngineTestRig.h"
#include "engine/ReplaceInReply.h"

#include <gtest/gtest.h>

namespace corvane::testing {
namespace {

std::string Replace(const std::string& body, const std::string& names, const std::string& values)
{
    return ReplaceNamesInRtf(RichEditRtf(body), names, values);
}

TEST(ReplaceInReplyTest, NamesAreReplacedIgnoringCaseLeftToRight)
{
    EXPECT_EQ(Replace("Dear name, NAME and Name.", "Name", "Jo"), RichEditRtf("Dear Jo, Jo and Jo."));
    EXPECT_EQ(Replace("aaa", "aa", "b"), RichEditRtf("ba"));
}

TEST(ReplaceInReplyTest, ControlWordsAndHeaderGroupsAreNeverTouched)
{
    const std::string body = "\\b Strong\\b0  text\\par\r\nArial and swiss in red";
    EXPECT_EQ(Replace(body, "b,par,Arial,swiss,red,fs",
                  "X\x01Y\x01Helvetica\x01S\x01R\x01"
                  "F"),
        RichEditRtf("\\b Strong\\b0  text\\par\r\nHelvetica and S in R"));
    // Nothing of the header groups either: fonttbl, colortbl, \* destinations.
    const std::string withDestination = "{\\*\\generator Riched20 10.0;}Name";
    EXPECT_EQ(Replace(withDestination, "Riched,Name", "x\x01y"), RichEditRtf("{\\*\\generator Riched20 10.0;}y"));
}

TEST(ReplaceInReplyTest, ValuesAreInsertedEscaped)
{
    EXPECT_EQ(Replace("Hi Name!", "Name", "{x}\\y"), RichEditRtf("Hi \\{x\\}\\\\y!"));
    EXPECT_EQ(Replace("Hi Name!", "Name", "Jos\xe9"), RichEditRtf("Hi Jos\\'e9!"));
    EXPECT_EQ(fakes::FakeReplyEditor::PlainTextOfRtf(Replace("Hi Name!", "Name", "{x}")), "Hi {x}!\r\n");
}

TEST(ReplaceInReplyTest, EscapedCharactersOfTheTextMatchAsTheyRead)
{
    EXPECT_EQ(Replace("Caf\\'e9 {x\\}", "caf\xe9,X}", "Bar\x01y"), RichEditRtf("Bar {y"));
}

TEST(ReplaceInReplyTest, NameSplitByAFormattingChangeIsNotReplaced)
{
    const std::string body = "%Da\\b te\\b0  and %Date";
    EXPECT_EQ(Replace(body, "%Date", "today"), RichEditRtf("%Da\\b te\\b0  and today"));
}

TEST(ReplaceInReplyTest, PairsApplyInOrderEachOnTheResultOfTheOnesBefore)
{
    EXPECT_EQ(Replace("A B", "A,B",
                  "B\x01"
                  "C"),
        RichEditRtf("C C"));
    EXPECT_EQ(Replace("A B", "A,B", "x"), RichEditRtf("x B"));
    EXPECT_EQ(Replace("A B", "A", "x\x01y"), RichEditRtf("x B"));
    EXPECT_EQ(Replace("A B", "A,,B",
                  "\x01q\x01"
                  "z"),
        RichEditRtf("A z"));
    // Names equal to their values (a dialog left as shown) replace nothing.
    EXPECT_EQ(Replace("a", "A", "a"), RichEditRtf("a"));
    EXPECT_EQ(Replace("%Dates", "%Date", "Monday"), RichEditRtf("Mondays"));
}

TEST(ReplaceInReplyTest, UnicodeFallbackIsNotText)
{
    // RichEdit writes a character outside the code page as \uN and a fallback "?".
    EXPECT_EQ(Replace("x\\u8364?y ?y", "?y", "Z"), RichEditRtf("x\\u8364?y Z"));
}

TEST(ReplaceInReplyTest, PlainTextRepliesAreReplacedAsPlainText)
{
    // Shown as they stand: a backslash is no control word, values carry no escapes.
    EXPECT_EQ(ReplaceNamesInRtf("Dear Name,\r\nsaved in C:\\Name\\{Date}", "name,date",
                  "Jo{e \xe9\x01"
                  "today"),
        "Dear Jo{e \xe9,\r\nsaved in C:\\Jo{e \xe9\\{today}");
}

TEST(ReplaceInReplyTest, EveryReplacementGoesInWithOneUnmodifiedLoad)
{
    fakes::FakeReplyEditor editor;
    editor.SetModified(true);
    LoadReplaced(editor, RichEditRtf("Hi Name, %Day"), {{"Name", "Jo"}, {"%Day", "Monday"}});
    EXPECT_EQ(editor.PlainText(), "Hi Jo, Monday\r\n");
    EXPECT_EQ(editor.loads, 1);
    EXPECT_FALSE(editor.Modified());
}

} // namespace
} // namespace corvane::testing
