#include "shell/EditorFormatting.h"

#include "fakes/FakeFormattingEditor.h"

#include <gtest/gtest.h>

#include <map>

namespace corvane {
namespace {

using fakes::FakeFormattingEditor;

// The toolbar's controls; setting a box's text notifies a change, as the real
// edit and combo boxes do, so the refresh guard is put to the test.
class FakeToolbar : public IFormattingToolbar {
public:
    void SetStyleDown(StyleButton button, bool down) override { styles[button] = down; }
    void SetAlignmentDown(Alignment a) override { alignment = a; }
    void SetFontNameText(const std::string& text) override
    {
        fontName = text;
        if (formatting)
            formatting->FontNameChanged(text);
    }
    void SetFontSizeText(const std::string& text) override
    {
        fontSize = text;
        if (formatting)
            formatting->FontSizeChanged(text);
    }
    void SetFontNames(const std::vector<std::string>& names) override { fontNames = names; }

    std::map<StyleButton, bool> styles;
    Alignment alignment = Alignment::Left;
    std::string fontName, fontSize;
    std::vector<std::string> fontNames;
    TEditorFormatting* formatting = nullptr;
};

CharFormat Format(const std::string& face, int size)
{
    CharFormat f;
    f.face = face;
    f.sizePoints = size;
    return f;
}

class EditorFormattingTest : public ::testing::Test {
protected:
    EditorFormattingTest() : formatting(editor, toolbar, [this] { ++formattedCount; })
    {
        toolbar.formatting = &formatting;
        formatting.FillFontList({"Courier New", "Arial", "Times New Roman"});
    }

    // "hello world again\rsecond paragraph\rthird"
    void ThreeParagraphs() { editor.SetContent("hello world again\rsecond paragraph\rthird"); }

    FakeFormattingEditor editor;
    FakeToolbar toolbar;
    TEditorFormatting formatting;
    int formattedCount = 0;
};

TEST_F(EditorFormattingTest, RefreshMirrorsTheTextUnderTheCaretWithoutChangingIt)
{
    editor.SetContent("Arial words and Courier words", Format("Arial", 12));
    for (int i = 16; i < 23; ++i) {
        CharFormat courier = Format("Courier New", 10);
        courier.bold = true;
        editor.WriteCharFormat({i, i + 1}, courier, kFormatFace | kFormatSize | kFormatStyles);
    }
    editor.ParagraphNumber(0).alignment = Alignment::Center;

    editor.Select(0, 5);
    formatting.Refresh();
    EXPECT_EQ(toolbar.fontSize, "12");
    EXPECT_EQ(toolbar.fontName, "Arial");
    EXPECT_FALSE(toolbar.styles[StyleButton::Bold]);
    EXPECT_EQ(toolbar.alignment, Alignment::Center);

    editor.Select(16, 23);
    formatting.Refresh();
    EXPECT_EQ(toolbar.fontSize, "10");
    EXPECT_EQ(toolbar.fontName, "Courier New");
    EXPECT_TRUE(toolbar.styles[StyleButton::Bold]);
    EXPECT_FALSE(toolbar.styles[StyleButton::Italic]);
    EXPECT_FALSE(formatting.Refreshing());

    // The boxes' change notifications during the refresh changed no text.
    EXPECT_EQ(formattedCount, 0);
    EXPECT_EQ(editor.FormatAt(0).sizePoints, 12);
    EXPECT_EQ(editor.FormatAt(16).face, "Courier New");

    // A selection across both shows neither size nor face; a justified
    // paragraph leaves the alignment buttons as they were.
    editor.ParagraphNumber(0).alignment = Alignment::Other;
    editor.Select(0, 23);
    formatting.Refresh();
    EXPECT_EQ(toolbar.fontSize, "");
    EXPECT_EQ(toolbar.fontName, "");
    EXPECT_EQ(toolbar.alignment, Alignment::Center);
}

TEST_F(EditorFormattingTest, BoldWithNothingSelectedBoldsTheWholeWordAtTheCaret)
{
    ThreeParagraphs();
    editor.Select(8, 8); // wo|rld
    EXPECT_EQ(formatting.CurrentTextRange(), (TextRange{6, 11}));
    formatting.StyleClicked(StyleButton::Bold, true);
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(editor.FormatAt(i).bold, i >= 6 && i < 11) << "at " << i;
    EXPECT_EQ(editor.Selection(), (TextRange{8, 8}));
    EXPECT_EQ(formattedCount, 1);
    formatting.StyleClicked(StyleButton::Bold, false);
    EXPECT_FALSE(editor.FormatAt(8).bold);

    // Between two blanks only what is typed next is bold.
    editor.SetContent("one  two");
    editor.Select(4, 4);
    formatting.StyleClicked(StyleButton::Bold, true);
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(editor.FormatAt(i).bold);
    editor.Type("x");
    EXPECT_TRUE(editor.FormatAt(4).bold);
    EXPECT_FALSE(editor.FormatAt(5).bold);
}

TEST_F(EditorFormattingTest, AStyleWrittenOnAMixedSelectionComesOutUniform)
{
    ThreeParagraphs();
    CharFormat italic = FakeFormattingEditor::DefaultFormat();
    italic.italic = true;
    editor.WriteCharFormat({0, 5}, italic, kFormatStyles);
    editor.Select(0, 11);
    formatting.StyleClicked(StyleButton::Underline, true);
    for (int i = 0; i < 11; ++i) {
        EXPECT_TRUE(editor.FormatAt(i).underline);
        EXPECT_FALSE(editor.FormatAt(i).italic) << "at " << i;
    }
    EXPECT_FALSE(editor.FormatAt(11).underline);
}

TEST_F(EditorFormattingTest, IndentationStepsByTenAndNeverGoesBelowTheMargin)
{
    ThreeParagraphs();
    editor.Select(3, 20); // the first two paragraphs
    editor.ParagraphNumber(0).indentPoints = 20;
    formatting.DecreaseIndent();
    EXPECT_EQ(editor.ParagraphNumber(0).indentPoints, 10);
    EXPECT_EQ(editor.ParagraphNumber(1).indentPoints, 10);
    formatting.DecreaseIndent();
    EXPECT_EQ(editor.ParagraphNumber(0).indentPoints, 0);
    formatting.DecreaseIndent();
    EXPECT_EQ(editor.ParagraphNumber(0).indentPoints, 0);
    formatting.IncreaseIndent();
    EXPECT_EQ(editor.ParagraphNumber(0).indentPoints, 10);
    formatting.IncreaseIndent();
    EXPECT_EQ(editor.ParagraphNumber(1).indentPoints, 20);
    EXPECT_EQ(editor.ParagraphNumber(2).indentPoints, 0);
    EXPECT_EQ(formattedCount, 5);

    // An indent of 5, as a pasted text may bring, goes to 0, not to -5.
    editor.ParagraphNumber(0).indentPoints = 5;
    formatting.DecreaseIndent();
    EXPECT_EQ(editor.ParagraphNumber(0).indentPoints, 0);
}

TEST_F(EditorFormattingTest, AlignmentButtonsSetTheSelectedParagraphs)
{
    ThreeParagraphs();
    editor.Select(20, 38);
    formatting.AlignmentClicked(Alignment::Right);
    EXPECT_EQ(editor.ParagraphNumber(0).alignment, Alignment::Left);
    EXPECT_EQ(editor.ParagraphNumber(1).alignment, Alignment::Right);
    EXPECT_EQ(editor.ParagraphNumber(2).alignment, Alignment::Right);
    formatting.Refresh();
    EXPECT_EQ(toolbar.alignment, Alignment::Right);
}

TEST_F(EditorFormattingTest, TheColourMenuChecksTheTextsColourAndSetsTheChosenOne)
{
    ThreeParagraphs();
    const int red = 9, navy = 4, automatic = 16;
    ASSERT_STREQ(kColorMenuItems[red].caption, "Red");
    ASSERT_STREQ(kColorMenuItems[automatic].caption, "Automatic");

    editor.Select(2, 2);
    EXPECT_EQ(formatting.ColorItemToCheck(), automatic);
    CharFormat redText;
    redText.autoColor = false;
    redText.color = MakeRgb(255, 0, 0);
    editor.WriteCharFormat({0, 5}, redText, kFormatColor);
    EXPECT_EQ(formatting.ColorItemToCheck(), red);

    // A colour that is not in the menu, and a selection in two colours, check nothing.
    redText.color = MakeRgb(1, 2, 3);
    editor.WriteCharFormat({6, 11}, redText, kFormatColor);
    editor.Select(7, 7);
    EXPECT_EQ(formatting.ColorItemToCheck(), -1);
    editor.Select(3, 8);
    EXPECT_EQ(formatting.ColorItemToCheck(), -1);

    editor.Select(14, 14); // in "again"
    formatting.ColorChosen(navy);
    EXPECT_EQ(formatting.ColorItemToCheck(), navy);
    EXPECT_FALSE(editor.FormatAt(12).autoColor);
    EXPECT_EQ(editor.FormatAt(16).color, MakeRgb(0, 0, 128));
    EXPECT_TRUE(editor.FormatAt(18).autoColor);
    formatting.ColorChosen(automatic);
    EXPECT_TRUE(editor.FormatAt(12).autoColor);
    EXPECT_EQ(formatting.ColorItemToCheck(), automatic);
}

TEST_F(EditorFormattingTest, FontNameAndSizeApplyOnlyWhatIsAFontAndASize)
{
    ThreeParagraphs();
    EXPECT_EQ(toolbar.fontNames, (std::vector<std::string>{"Arial", "Courier New", "Times New Roman"}));
    editor.Select(0, 5);
    formatting.FontNameChanged("Cour");
    EXPECT_EQ(editor.FormatAt(0).face, "Arial");
    formatting.FontNameChanged("courier new");
    EXPECT_EQ(editor.FormatAt(0).face, "Courier New");
    EXPECT_EQ(editor.FormatAt(5).face, "Arial");

    for (const char* notASize : {"", "1a", "0", "-3", " 12"})
        formatting.FontSizeChanged(notASize);
    EXPECT_EQ(editor.FormatAt(0).sizePoints, 10);
    EXPECT_EQ(formattedCount, 1);
    formatting.FontSizeChanged("250"); // typed by hand: not limited by the arrows
    EXPECT_EQ(editor.FormatAt(4).sizePoints, 250);
    EXPECT_EQ(editor.FormatAt(5).sizePoints, 10);
}

TEST(FontList, EachFaceOnceCutToThirtyOneCharactersSortedWithoutRegardToCase)
{
    const std::string longName(40, 'Z');
    EXPECT_EQ(SortedFontNames({"tahoma", "Arial", "Tahoma", longName, "", "arial black"}),
        (std::vector<std::string>{"Arial", "arial black", "tahoma", std::string(31, 'Z')}));
}

TEST(ColorMenu, TheSwatchSitsSixPixelsAfterTheCheckMarkInsetThreePixels)
{
    EXPECT_EQ(ColorSwatchRect(10, 40, 60, 15), (SwatchRect{31, 43, 51, 57}));
    EXPECT_EQ(ColorSwatchRect(10, 40, 80, 30, 192), (SwatchRect{52, 46, 92, 74})) << "the swatch at 200 %";
}

} // namespace
} // namespace corvane
