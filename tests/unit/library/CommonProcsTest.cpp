#include "LibraryTestSupport.h"

#include "library/UnitConsts.h"

namespace corvane {
namespace {

using testing::LibraryDir;

TEST(FreeNumbers, ReplyNumberIsTheFirstGap)
{
    LibraryDir dir;
    fakes::MemoryFileSystem& fs = dir.files;
    EXPECT_EQ(FreeReplyNumber(fs, dir.Win("")), "1");
    dir.Write("1.rep", "");
    dir.Write("2.rep", "");
    dir.Write("4.rep", "");
    EXPECT_EQ(FreeReplyNumber(fs, dir.Win("")), "3");
}

TEST(FreeNumbers, FolderNumberIgnoresReplyFilesAndCountsOnlyDirectories)
{
    LibraryDir dir;
    fakes::MemoryFileSystem& fs = dir.files;
    dir.MakeDir("1");
    dir.MakeDir("2");
    dir.Write("3.rep", "");
    dir.Write("3x", "");
    EXPECT_EQ(FreeFolderNumber(fs, dir.Win("")), "3");
    dir.Write("3", "a file, not a folder");
    EXPECT_EQ(FreeFolderNumber(fs, dir.Win("")), "3");
}

TEST(DeleteTreeOnDisk, RemovesNestedFilesIncludingReadOnlyOnes)
{
    LibraryDir dir;
    fakes::MemoryFileSystem& fs = dir.files;
    dir.Write("5/index.sub", "x");
    dir.Write("5/1.rep", "x");
    dir.Write("5/2/index.sub", "x");
    dir.Write("5/2/3/deep.rep", "x");
    fs.SetReadOnly(dir.Win("5/1.rep"));
    EXPECT_TRUE(DeleteTree(fs, dir.Win("5")));
    EXPECT_FALSE(dir.Exists("5"));
}

TEST(DeleteTreeOnDisk, GoesOnPastFilesThatCannotBeDeleted)
{
    LibraryDir dir;
    fakes::MemoryFileSystem& fs = dir.files;
    dir.Write("5/a.rep", "x");
    dir.Write("5/b.rep", "x");
    dir.Write("5/c.rep", "x");
    fs.failDelete = [](const std::string& path) { return path.ends_with("b.rep"); };
    EXPECT_FALSE(DeleteTree(fs, dir.Win("5")));
    EXPECT_EQ(dir.Listing("5"), "b.rep");
}

TEST(DeleteTreeOnDisk, RemovesALinkWithoutEmptyingWhatItPointsTo)
{
    LibraryDir dir;
    fakes::MemoryFileSystem& fs = dir.files;
    fs.PutFile(dir.Outside("keep/precious.txt"), "x");
    dir.Write("5/1.rep", "x");
    fs.PutLink(dir.Win("5/link"), dir.Outside("keep"));
    EXPECT_TRUE(DeleteTree(fs, dir.Win("5")));
    EXPECT_FALSE(dir.Exists("5"));
    EXPECT_TRUE(fs.Has(dir.Outside("keep/precious.txt")));
}

TEST(HotKeyCodes, MakeSplitAndShow)
{
    EXPECT_EQ(MakeHotKeyCode(true, 'q'), "1Q");
    EXPECT_EQ(MakeHotKeyCode(false, '7'), "07");
    const HotKeyParts parts = SplitHotKeyCode("1b");
    EXPECT_TRUE(parts.shift);
    EXPECT_EQ(parts.key, 'B');
    EXPECT_FALSE(SplitHotKeyCode("0A").shift);
    EXPECT_EQ(SplitHotKeyCode("1").key, '\0');
    EXPECT_EQ(HotKeyText("0A"), "<CTRL>+<ALT>+A");
    EXPECT_EQ(HotKeyText("17"), "<CTRL>+<ALT>+<SHIFT>+7");
    EXPECT_EQ(HotKeyText("0z"), "<CTRL>+<ALT>+Z");
}

TEST(HotKeyCodes, OnlyAShiftFlagAndOneOfTheThirtySixKeysAreValid)
{
    for (const char* code : {"0A", "1Z", "05", "19", "0q"})
        EXPECT_TRUE(IsValidHotKeyCode(code)) << code;
    for (const char* code : {"", "0", "A", "2A", "0AB", "0?", "0 ", "1-"})
        EXPECT_FALSE(IsValidHotKeyCode(code)) << code;
    EXPECT_EQ(kHotKeyChars.size(), 36u);
}

TEST(MessageBoxes, GoToTheInstalledBoxesWithTheirKind)
{
    fakes::RecordingMessageBoxes boxes;
    SetMessageBoxes(&boxes);
    ShowInfo("i");
    ShowWarning("w");
    ShowError(FormatMessageText(kMsgFileCantBeOpened, "C:\\x\\index.sub"));
    boxes.answerYes = false;
    EXPECT_FALSE(AskYesNo("q1"));
    boxes.answerYes = true;
    EXPECT_TRUE(AskYesNo("q2"));
    SetMessageBoxes(nullptr);
    ShowError("not shown");
    EXPECT_FALSE(AskYesNo("not asked"));
    const std::vector<fakes::ShownMessage> expected{{"Information", "i"}, {"Warning", "w"},
        {"Error", "File \"C:\\x\\index.sub\" can't be opened."}, {"Confirm", "q1"}, {"Confirm", "q2"}};
    EXPECT_EQ(boxes.shown, expected);
}

} // namespace
} // namespace corvane
