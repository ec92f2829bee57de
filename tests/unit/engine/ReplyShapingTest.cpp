// The macro's case carried into a reply's RTF text, the clipboard's text put
// in, and the caret's place counted as a text box moves over the result.
#include "EngineTestRig.h"
#include "engine/ReplaceInReply.h"
#include "engine/ReplyShaping.h"

#include <gtest/gtest.h>

namespace corvane::testing {
namespace {

TEST(ReplyShapingTest, TheTypedMacrosLettersDecideTheCase)
{
    EXPECT_EQ(CaseOfTypedMacro("Sig", "sig"), TMacroCase::CapitalFirst);
    EXPECT_EQ(CaseOfTypedMacro("SIg", "sig"), TMacroCase::CapitalFirst);
    EXPECT_EQ(CaseOfTypedMacro("SIG", "sig"), TMacroCase::AllCapitals);
    EXPECT_EQ(CaseOfTypedMacro("S", "s"), TMacroCase::CapitalFirst); // one letter is not "all capitals"
    EXPECT_EQ(CaseOfTypedMacro("sig", "SIG"), TMacroCase::AsStored);
    EXPECT_EQ(CaseOfTypedMacro("2DO", "2do"), TMacroCase::AllCapitals);
    // Only the letters before "(" count: the values are the user's own.
    EXPECT_EQ(CaseOfTypedMacro("meet(FRIDAY,NOON)", "meet(DAY,TIME)"), TMacroCase::AsStored);
    EXPECT_EQ(CaseOfTypedMacro("MEET(friday)", "meet(DAY,TIME)"), TMacroCase::AllCapitals);
    // A macro stored in capitals and typed as stored keeps its reply as it is.
    EXPECT_EQ(CaseOfTypedMacro("BR", "BR"), TMacroCase::AsStored);
    EXPECT_EQ(CaseOfTypedMacro("Br", "BR"), TMacroCase::CapitalFirst);
}

TEST(ReplyShapingTest, CapitalsChangeTheTextNeverTheMarkup)
{
    // Font and colour tables, control words, \* destinations and escapes of
    // braces stay; \'hh and \uN letters become capitals in their own form.
    const std::string body = "{\\*\\generator Riched20 10.0;}\\b best\\b0  caf\\'e9 \\u1076?\\u1072? "
                             "\\\\par \\{x\\} \\u-10179?\\u-8704? \\'df\\par\r\nnext";
    EXPECT_EQ(FollowMacroCase(RichEditRtf(body), TMacroCase::AllCapitals),
        RichEditRtf("{\\*\\generator Riched20 10.0;}\\b BEST\\b0  CAF\\'c9 \\u1044?\\u1040? "
                    "\\\\PAR \\{X\\} \\u-10179?\\u-8704? \\'df\\par\r\nNEXT"));
    EXPECT_EQ(FollowMacroCase(RichEditRtf(body), TMacroCase::CapitalFirst),
        RichEditRtf("{\\*\\generator Riched20 10.0;}\\b Best\\b0  caf\\'e9 \\u1076?\\u1072? "
                    "\\\\par \\{x\\} \\u-10179?\\u-8704? \\'df\\par\r\nnext"));
    EXPECT_EQ(FollowMacroCase(RichEditRtf("best"), TMacroCase::AsStored), RichEditRtf("best"));
}

TEST(ReplyShapingTest, TheFirstLetterIsTheTextsFirstWordOnly)
{
    // After blanks, quotes and a bracket; a reply that starts with a digit keeps it.
    EXPECT_EQ(
        FollowMacroCase(RichEditRtf("  \\'93(\\u1076?a"), TMacroCase::CapitalFirst), RichEditRtf("  \\'93(\\u1044?a"));
    EXPECT_EQ(FollowMacroCase(RichEditRtf("3 steps"), TMacroCase::CapitalFirst), RichEditRtf("3 steps"));
    // Bytes of another code page are not read as Windows-1252 letters.
    std::string greek = RichEditRtf("\\'e1lpha");
    greek.replace(greek.find("1252"), 4, "1253");
    EXPECT_EQ(FollowMacroCase(greek, TMacroCase::AllCapitals).find("\\'e1LPHA") != std::string::npos, true);
    // A reply stored as plain text.
    EXPECT_EQ(FollowMacroCase("see you, caf\xe9", TMacroCase::AllCapitals), "SEE YOU, CAF\xc9");
}

TEST(ReplyShapingTest, PlaceholdersAndValuesKeepTheirCaseThroughADelivery)
{
    // A capital macro: the reply's own words in capitals, the values typed and
    // the date as they are.
    EngineRig rig;
    rig.AddReply("Meeting", RichEditRtf("see you on \\b DAY\\b0  at TIME, %Date."), "meet(DAY,TIME)");
    rig.Type("MEET(friday,noon) ");
    EXPECT_EQ(rig.MailText(), "SEE YOU ON friday AT noon, Monday, December 07, 2026.\r\n");
    rig.desktop.TextOf(MailWindow).clear();
    rig.Type("Meet(friday,noon) ");
    EXPECT_EQ(rig.MailText(), "See you on friday at noon, Monday, December 07, 2026.\r\n");
    rig.followMacroCase = false;
    rig.desktop.TextOf(MailWindow).clear();
    rig.Type("MEET(friday,noon) ");
    EXPECT_EQ(rig.MailText(), "see you on friday at noon, Monday, December 07, 2026.\r\n");
}

TEST(ReplyShapingTest, TheCaretStopsAreCountedAsATextBoxMovesOverThem)
{
    // A break is one stop, a character outside the code page one, a pair of
    // surrogates one; the document's last paragraph mark is not delivered.
    const auto finished
        = FinishReply(RichEditRtf("Hi %Cursor\\b you\\b0\\par\r\n\\u1044?\\'e9\\tab x\\line \\u-10179?\\u-8704?"), {});
    EXPECT_EQ(finished.source, RichEditRtf("Hi \\b you\\b0\\par\r\n\\u1044?\\'e9\\tab x\\line \\u-10179?\\u-8704?"));
    EXPECT_EQ(finished.stops.afterCursor, 3u + 1 + 5 + 1);
    EXPECT_EQ(finished.stops.total, 3u + 3 + 1 + 5 + 1);
    // Only the first counts; the others go, in any case of letters.
    const auto twice = FinishReply(RichEditRtf("ab%CURSORcd%cursor"), {});
    EXPECT_EQ(twice.source, RichEditRtf("abcd"));
    EXPECT_EQ(twice.stops.afterCursor, 2u);
    EXPECT_EQ(twice.stops.total, 4u);
    // Without one, the caret stays after the reply.
    EXPECT_EQ(FinishReply(RichEditRtf("abc"), {}).stops.afterCursor, 0u);
    // Plain text: CR LF is one break.
    const auto plain = FinishReply("one%Cursor\r\ntwo", {});
    EXPECT_EQ(plain.source, "one\r\ntwo");
    EXPECT_EQ(plain.stops.afterCursor, 4u);
}

TEST(ReplyShapingTest, TheClipboardsTextComesInAsPlainTextInTheFormattingThere)
{
    int asked = 0;
    const auto clipboard = [&] {
        ++asked;
        return std::u16string(u"a{b}\\\r\n\x0414%Cursor\t!");
    };
    const auto finished = FinishReply(RichEditRtf("\\b [%Clipboard]\\b0  %cursor%CLIPBOARD"), clipboard);
    EXPECT_EQ(finished.source,
        RichEditRtf("\\b [a\\{b\\}\\\\\\par \\u1044?%Cursor\\tab !]\\b0  a\\{b\\}\\\\\\par \\u1044?%Cursor\\tab !"));
    EXPECT_EQ(asked, 1);
    // The cursor stands before the second copy, whose text is counted after it.
    EXPECT_EQ(finished.stops.afterCursor, 5u + 1 + 1 + 7 + 1 + 1);
    // The clipboard is read only for a reply that asks for it.
    (void)FinishReply(RichEditRtf("no placeholder"), clipboard);
    EXPECT_EQ(asked, 1);
}

TEST(ReplyShapingTest, TheRichTextPastedEndsWhereItsTextDoes)
{
    // The paragraph mark the editor writes after the last paragraph would be
    // one more line break in a rich-text program than in a plain-text one.
    const auto withoutLastMark = [](const std::string& body) {
        std::string rtf = RichEditRtf(body);
        return rtf.erase(rtf.rfind("\\par"), 4);
    };
    EXPECT_EQ(WithoutFinalParagraphMark(RichEditRtf("\\b a\\par b\\b0")), withoutLastMark("\\b a\\par b\\b0"));
    // The last paragraph's own line break stays; so does a mark with text after it.
    EXPECT_EQ(WithoutFinalParagraphMark(RichEditRtf("a\\line ")), withoutLastMark("a\\line "));
    const std::string textAfter = "{\\rtf1\\ansi a\\par b}";
    EXPECT_EQ(WithoutFinalParagraphMark(textAfter), textAfter);
}

} // namespace
} // namespace corvane::testing
