#include "LibraryTestSupport.h"

#include "library/LibraryTidy.h"
#include "library/UnitConsts.h"

namespace corvane {
namespace {

const char* const kEmptyReply = "\r\n\r\n";

struct Storage : testing::LibraryFixture {
    std::string CantOpen(const std::string& relative) const
    {
        return FormatMessageText(kMsgFileCantBeOpened, dir.Win(relative));
    }
    std::string BadStructure(const std::string& relative) const
    {
        return FormatMessageText(kMsgFileIncorrectStructure, dir.Win(relative));
    }
};

// ---------------------------------------------------------------- loading

TEST_F(Storage, LoadsDepthFirstInIndexOrderWithMacrosHotKeysAndBodies)
{
    dir.Write("index.sub", "REPLY_2?Second\r\nFOLDER_1?Support answers\r\nreply_1?Last_one?x\r\n");
    dir.Write("2.rep", "hi\r\n0a\r\n{\\rtf1\r\n}\r\n");
    dir.Write("1.rep", "\r\n\r\n");
    dir.Write("1/index.sub", "Folder_3?Inner\nREPLY_5?Five");
    dir.Write("1/5.rep", "addr(name,city)\r1Q\r");
    dir.Write("1/3/index.sub", "REPLY_1?Deep\r\n");
    dir.Write("1/3/1.rep", "\r\n07\r\nbody");
    Load();

    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(tree.Outline(), "Second,Support answers(Inner(Deep),Five),Last_one?x");
    EXPECT_EQ(lib.Count(), 6);
    TRep* second = Rep("Second");
    EXPECT_EQ(second->FileName, "2.rep");
    EXPECT_EQ(second->Lines, (std::vector<std::string>{"{\\rtf1", "}"}));
    EXPECT_EQ(Rep("Support answers")->FolderName, "1");
    EXPECT_EQ(Rep("Support answers/Inner")->FolderName, "3");
    EXPECT_TRUE(Rep("Last_one?x")->Lines.empty());
    EXPECT_EQ(Rep("Support answers/Inner/Deep")->Lines, std::vector<std::string>{"body"});
    EXPECT_EQ(Rep("Support answers/Inner/Deep")->OwnPath(), dir.Win("1/3/1.rep"));

    EXPECT_EQ(macroBox.Texts(), (std::vector<std::string>{"addr(name,city)", "hi"}));
    EXPECT_EQ(
        hotKeyBox.Texts(), (std::vector<std::string>{"<CTRL>+<ALT>+7", "<CTRL>+<ALT>+A", "<CTRL>+<ALT>+<SHIFT>+Q"}));
    EXPECT_EQ(lib.HotKeyReplyAt(lib.FindHotKey("0A")), second);
    EXPECT_EQ(tree.UpdateDepth(), 0);
    EXPECT_FALSE(lib.HotKeys().Bulk());
    EXPECT_TRUE(OnlyInsideRoot());
}

TEST_F(Storage, BulkLoadFillsEachListBoxOnce)
{
    dir.Write("index.sub", "REPLY_1?a\r\nREPLY_2?b\r\n");
    dir.Write("1.rep", "m1\r\n01\r\n");
    dir.Write("2.rep", "m2\r\n02\r\n");
    const int before = macroBox.ClearCount();
    Load();
    EXPECT_EQ(macroBox.ClearCount() - before, 1);
    EXPECT_EQ(macroBox.Count(), 2);
}

TEST_F(Storage, DuplicateKeysOnDiskStayWithTheReplyReadFirstAndSavingTheOtherDropsThem)
{
    dir.Write("index.sub", "FOLDER_1?F\r\nREPLY_1?Later\r\n");
    dir.Write("1/index.sub", "REPLY_1?Earlier\r\n");
    dir.Write("1/1.rep", "sig\r\n1A\r\nfirst\r\n");
    dir.Write("1.rep", "SIG\r\n1a\r\nsecond\r\n");
    Load();
    EXPECT_EQ(macroBox.Texts(), std::vector<std::string>{"sig"});
    EXPECT_EQ(lib.MacroReplyAt(0), Rep("F/Earlier"));
    EXPECT_EQ(lib.HotKeyReplyAt(0), Rep("F/Earlier"));
    EXPECT_EQ(lib.MacroIndexOf(Rep("Later")), -1);
    ASSERT_TRUE(lib.SaveReplyFile(Rep("Later")));
    EXPECT_EQ(dir.Read("1.rep"), "\r\n\r\nsecond\r\n");
}

TEST_F(Storage, HotKeyLinesTheIndexCannotHoldAreIgnored)
{
    dir.Write("index.sub", "REPLY_1?a\r\nREPLY_2?b\r\nREPLY_3?c\r\n");
    dir.Write("1.rep", "\r\n0AB\r\n");
    dir.Write("2.rep", "\r\nQ\r\n");
    dir.Write("3.rep", "\r\n2x\r\n");
    Load();
    EXPECT_EQ(lib.Count(), 3);
    EXPECT_EQ(lib.HotKeyCount(), 0);
}

TEST_F(Storage, AMissingRootIndexIsReportedAndLeavesAnEmptyTree)
{
    Load();
    EXPECT_EQ(boxes.ErrorTexts(), std::vector<std::string>{CantOpen("index.sub")});
    EXPECT_EQ(tree.Count(), 0);
    EXPECT_EQ(tree.UpdateDepth(), 0);
}

TEST_F(Storage, ABrokenLibraryLoadsWhatIsSoundAndReportsWhatIsNot)
{
    dir.Write("index.sub",
        "REPLY_1?Good\r\n"
        "REPLY_2?Missing file\r\n"
        "REPLY_3?One line\r\n"
        "FOLDER_4?No index\r\n"
        "\r\n"
        "NOTE_5?wrong prefix\r\n"
        "REPLY5?no underscore\r\n"
        "FOLDER_6?Fine folder\r\n"
        "REPLY_7?Empty file\r\n");
    dir.Write("1.rep", kEmptyReply);
    dir.Write("3.rep", "only a macro line\r\n");
    dir.MakeDir("4");
    dir.Write("6/index.sub", "REPLY_1?Inner\r\n");
    dir.Write("6/1.rep", kEmptyReply);
    dir.Write("7.rep", "");
    Load();

    EXPECT_EQ(tree.Outline(), "Good,No index,Fine folder(Inner)");
    EXPECT_EQ(boxes.ErrorTexts(),
        (std::vector<std::string>{
            CantOpen("2.rep"), BadStructure("3.rep"), CantOpen("4\\index.sub"), BadStructure("7.rep")}));
    EXPECT_TRUE(OnlyInsideRoot());
}

TEST_F(Storage, HostileNumbersAreSkippedAndNothingOutsideTheRootIsTouched)
{
    fs.PutFile(dir.Outside("secret.rep"), "\r\n\r\nsecret\r\n");
    fs.PutFile(dir.Outside("index.sub"), "REPLY_secret?Leaked\r\n");
    fs.PutFile(dir.DataDir() + "index.sub", "REPLY_1?Parent\r\n");
    dir.Write("index.sub",
        "FOLDER_..?Up\r\n"
        "FOLDER_.?Self\r\n"
        "FOLDER_?Empty\r\n"
        "FOLDER_..\\..\\outside?Escape\r\n"
        "REPLY_..\\..\\outside\\secret?Secret\r\n"
        "REPLY_../../outside/secret?Slashes\r\n"
        "REPLY_C:\\outside\\secret?Drive\r\n"
        "REPLY_CON?Device\r\n"
        "REPLY_1?Sound\r\n");
    dir.Write("1.rep", kEmptyReply);
    Load();

    EXPECT_EQ(tree.Outline(), "Sound");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(OnlyInsideRoot());
}

TEST_F(Storage, AFolderLinkIsShownButNotFollowed)
{
    dir.Write("index.sub", "FOLDER_1?Loop\r\nREPLY_1?r\r\n");
    dir.Write("1.rep", kEmptyReply);
    fs.PutLink(dir.Win("1"), dir.Win(""));
    Load();
    EXPECT_EQ(tree.Outline(), "Loop,r");
}

TEST_F(Storage, AbsurdNestingStopsAtTheDepthLimit)
{
    std::string relative;
    for (int level = 1; level <= TRepList::kMaxFolderDepth + 8; ++level) {
        dir.Write(relative + "index.sub", "FOLDER_1?L" + std::to_string(level) + "\r\n");
        relative += "1/";
    }
    Load();
    EXPECT_EQ(tree.Count(), TRepList::kMaxFolderDepth + 1);
    int depth = 0;
    for (TreeNode node = tree.First(); node; node = tree.Child(node, 0))
        ++depth;
    EXPECT_EQ(depth, TRepList::kMaxFolderDepth + 1);
}

TEST_F(Storage, LoadReplyFileInsertsFirstOrBeforeASibling)
{
    dir.Write("index.sub", "FOLDER_1?F\r\n");
    dir.Write("1/index.sub", "REPLY_1?a\r\n");
    dir.Write("1/1.rep", kEmptyReply);
    dir.Write("1/2.rep", "m\r\n\r\n");
    dir.Write("1/3.rep", kEmptyReply);
    Load();
    TreeNode folder = tree.Find("F");
    EXPECT_GE(lib.LoadReplyFile(dir.Win("1/2.rep"), "first", true, nullptr, folder), 0);
    EXPECT_GE(lib.LoadReplyFile(dir.Win("1/3.rep"), "before a", false, tree.Find("F/a"), folder), 0);
    EXPECT_EQ(lib.LoadReplyFile(dir.Win("1/9.rep"), "nope", false, nullptr, folder), -1);
    EXPECT_EQ(tree.Outline(), "F(first,before a,a)");
    EXPECT_EQ(Rep("F/first")->FileName, "2.rep");
    EXPECT_EQ(macroBox.Texts(), std::vector<std::string>{"m"});
    EXPECT_EQ(boxes.ErrorTexts(), std::vector<std::string>{CantOpen("1\\9.rep")});
}

// ---------------------------------------------------------------- writing

TEST_F(Storage, SaveReplyFileWritesMacroHotKeyAndBodyWithCrLf)
{
    dir.Write("index.sub", "REPLY_1?r\r\n");
    dir.Write("1.rep", kEmptyReply);
    Load();
    TRep* r = Rep("r");
    ASSERT_TRUE(lib.SetMacro(r, "sig"));
    ASSERT_TRUE(lib.SetHotKey(r, "1Q"));
    lib.SetBody(r, {"{\\rtf1", "}"});
    ASSERT_TRUE(lib.SaveReplyFile(r));
    EXPECT_EQ(dir.Read("1.rep"), "sig\r\n1Q\r\n{\\rtf1\r\n}\r\n");
    EXPECT_EQ(dir.Listing(""), "1.rep index.sub");
}

TEST_F(Storage, AFailedWriteLeavesTheOldFileWhole)
{
    dir.Write("index.sub", "REPLY_1?r\r\n");
    dir.Write("1.rep", "old\r\n\r\nbody\r\n");
    Load();
    TRep* r = Rep("r");
    lib.SetBody(r, {"new body"});
    fs.failWrite = [](const std::string&) { return true; };
    EXPECT_FALSE(lib.SaveReplyFile(r));
    EXPECT_FALSE(lib.RenameEntry(r, "x"));
    EXPECT_EQ(dir.Read("1.rep"), "old\r\n\r\nbody\r\n");
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_1?r\r\n");
    EXPECT_EQ(tree.Label(r->Node), "r");
    EXPECT_EQ(dir.Listing(""), "1.rep index.sub");
}

TEST_F(Storage, SaveReplyFileDoesNothingForAFolder)
{
    dir.Write("index.sub", "FOLDER_1?F\r\n");
    dir.Write("1/index.sub", "");
    Load();
    EXPECT_FALSE(lib.SaveReplyFile(Rep("F")));
    EXPECT_EQ(fs.writeCount, 0);
}

TEST_F(Storage, FindIndexLineNeedsTheLabelAndTheExactPrefixAndNumber)
{
    dir.Write("index.sub", "FOLDER_1?Same\r\nREPLY_1?Same\r\n");
    dir.Write("1/index.sub", "");
    dir.Write("1.rep", kEmptyReply);
    Load();
    TRep* reply = Rep("Same");
    ASSERT_EQ(tree.Label(lib.Items(1)->Node), "Same");
    reply = lib.Items(1);
    EXPECT_EQ(lib.FindIndexLine(reply, {"FOLDER_1?Same", "REPLY_1?SAME"}), 1);
    EXPECT_EQ(lib.FindIndexLine(lib.Items(0), {"REPLY_1?Same", "FOLDER_1?same"}), 1);
    EXPECT_EQ(lib.FindIndexLine(reply, {"reply_1?Same"}), -1);
    EXPECT_EQ(lib.FindIndexLine(reply, {"REPLY_01?Same"}), -1);
    EXPECT_EQ(lib.FindIndexLine(reply, {"REPLY_1?Other"}), -1);
}

TEST_F(Storage, RenameEntryRewritesTheLineAndTheLabel)
{
    dir.Write("index.sub", "REPLY_1?a\r\nREPLY_2?b\r\n");
    dir.Write("1.rep", kEmptyReply);
    dir.Write("2.rep", kEmptyReply);
    Load();
    EXPECT_TRUE(lib.RenameEntry(Rep("b"), "Bee_?x"));
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_1?a\r\nREPLY_2?Bee_?x\r\n");
    EXPECT_EQ(tree.Outline(), "a,Bee_?x");
    EXPECT_FALSE(lib.RenameEntry(Rep("a"), ""));
    EXPECT_EQ(tree.Label(lib.Items(0)->Node), "a");
}

TEST_F(Storage, RenameEntryChangesNothingWhenTheLineIsGone)
{
    dir.Write("index.sub", "REPLY_1?a\r\n");
    dir.Write("1.rep", kEmptyReply);
    Load();
    dir.Write("index.sub", "REPLY_9?a\r\n");
    EXPECT_FALSE(lib.RenameEntry(Rep("a"), "z"));
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_9?a\r\n");
    EXPECT_EQ(tree.Outline(), "a");
}

TEST_F(Storage, NamingTheReplyOfANewFolderNamesTheFolder)
{
    dir.Write("index.sub", "FOLDER_1?New Folder\r\nFOLDER_2?new folder\r\n");
    dir.Write("1/index.sub", "REPLY_1?New Reply\r\n");
    dir.Write("1/1.rep", kEmptyReply);
    dir.Write("2/index.sub", "REPLY_1?New Reply\r\n");
    dir.Write("2/1.rep", kEmptyReply);
    Load();
    EXPECT_TRUE(lib.RenameEntry(Rep("New Folder/New Reply"), "Prices"));
    EXPECT_TRUE(lib.RenameEntry(Rep("new folder/New Reply"), "Other"));
    EXPECT_EQ(tree.Outline(), "Prices Folder(Prices),new folder(Other)");
    EXPECT_EQ(dir.Read("index.sub"), "FOLDER_1?Prices Folder\r\nFOLDER_2?new folder\r\n");
    EXPECT_EQ(dir.Read("1/index.sub"), "REPLY_1?Prices\r\n");
}

TEST_F(Storage, DeleteFilesRemovesTheLineThenTheFile)
{
    dir.Write("index.sub", "REPLY_1?a\r\nREPLY_2?a\r\n");
    dir.Write("1.rep", kEmptyReply);
    dir.Write("2.rep", kEmptyReply);
    Load();
    EXPECT_TRUE(lib.DeleteFiles(lib.Items(1)));
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_1?a\r\n");
    EXPECT_EQ(dir.Listing(""), "1.rep index.sub");
}

TEST_F(Storage, DeleteFilesOfAFolderRemovesItsWholeDirectory)
{
    dir.Write("index.sub", "REPLY_1?keep\r\nfolder_3?F\r\n");
    dir.Write("1.rep", kEmptyReply);
    dir.Write("3/index.sub", "FOLDER_1?G\r\n");
    dir.Write("3/1/index.sub", "REPLY_1?x\r\n");
    dir.Write("3/1/1.rep", kEmptyReply);
    Load();
    TRep* folder = Rep("F");
    EXPECT_TRUE(lib.DeleteFiles(folder));
    lib.RemoveSubtree(folder->Node);
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_1?keep\r\n");
    EXPECT_EQ(dir.Listing(""), "1.rep index.sub");
    EXPECT_EQ(tree.Outline(), "keep");
    EXPECT_TRUE(OnlyInsideRoot());
}

TEST_F(Storage, DeleteFilesNeverEmptiesAnIndexItCouldNotRead)
{
    dir.Write("index.sub", "REPLY_1?a\r\nREPLY_2?b\r\n");
    dir.Write("1.rep", kEmptyReply);
    dir.Write("2.rep", kEmptyReply);
    Load();
    fs.failRead = [](const std::string& path) { return path.ends_with("index.sub"); };
    EXPECT_FALSE(lib.DeleteFiles(Rep("a")));
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_1?a\r\nREPLY_2?b\r\n");
    EXPECT_EQ(dir.Listing(""), "1.rep 2.rep index.sub");
}

TEST_F(Storage, AnEntryWithAnUnsafeNameIsNeverDeletedOrWritten)
{
    dir.Write("index.sub", "FOLDER_1?F\r\n");
    dir.Write("1/index.sub", "");
    Load();
    TRep* folder = Rep("F");
    folder->FolderName = ""; // would make FolderPath the root itself
    EXPECT_FALSE(lib.DeleteFiles(folder));
    folder->FolderName = "..";
    EXPECT_FALSE(lib.DeleteFiles(folder));
    EXPECT_FALSE(lib.RenameEntry(folder, "x"));
    EXPECT_EQ(dir.Listing(""), "1 index.sub");
    EXPECT_TRUE(fs.changed.empty());
}

// ---------------------------------------------------------------- moving

struct Moving : Storage {
    void SetUp() override
    {
        dir.Write("index.sub", "REPLY_1?one\r\nREPLY_2?two\r\nREPLY_3?three\r\nFOLDER_2?Folder\r\n");
        for (const char* name : {"1.rep", "2.rep", "3.rep"})
            dir.Write(name, kEmptyReply);
        dir.Write("2/index.sub", "REPLY_5?five\r\nFOLDER_1?Sub\r\n");
        dir.Write("2/5.rep", "m5\r\n\r\nbody5\r\n");
        dir.Write("2/1/index.sub", "REPLY_1?deep\r\n");
        dir.Write("2/1/1.rep", kEmptyReply);
        Load();
    }
};

TEST_F(Moving, AReplyMovesAcrossDirectoriesUnderAFreeNumber)
{
    TRep* five = Rep("Folder/five");
    ASSERT_TRUE(lib.MoveBefore(five, Rep("two")));
    lib.MoveNodeBefore(five, Rep("two"));
    EXPECT_EQ(
        dir.Read("index.sub"), "REPLY_1?one\r\nREPLY_4?five\r\nREPLY_2?two\r\nREPLY_3?three\r\nFOLDER_2?Folder\r\n");
    EXPECT_EQ(dir.Read("2/index.sub"), "FOLDER_1?Sub\r\n");
    EXPECT_EQ(dir.Read("4.rep"), "m5\r\n\r\nbody5\r\n");
    EXPECT_FALSE(dir.Exists("2/5.rep"));
    EXPECT_EQ(five->FileName, "4.rep");
    EXPECT_EQ(five->OwnPath(), dir.Win("4.rep"));
    EXPECT_EQ(tree.Outline(), "one,five,two,three,Folder(Sub(deep))");
}

TEST_F(Moving, TheNewNumberIsNeverOneTheDestinationIndexStillNames)
{
    dir.Write("index.sub", dir.Read("index.sub") + "REPLY_4?file gone\r\n");
    TRep* five = Rep("Folder/five");
    ASSERT_TRUE(lib.MoveBefore(five, Rep("two")));
    EXPECT_EQ(five->FileName, "5.rep");
    EXPECT_TRUE(dir.Exists("5.rep"));
}

TEST_F(Moving, AFolderMovesWithItsContents)
{
    TRep* sub = Rep("Folder/Sub");
    ASSERT_TRUE(lib.MoveBefore(sub, Rep("one")));
    lib.MoveNodeBefore(sub, Rep("one"));
    EXPECT_EQ(
        dir.Read("index.sub"), "FOLDER_1?Sub\r\nREPLY_1?one\r\nREPLY_2?two\r\nREPLY_3?three\r\nFOLDER_2?Folder\r\n");
    EXPECT_EQ(dir.Read("1/index.sub"), "REPLY_1?deep\r\n");
    EXPECT_TRUE(dir.Exists("1/1.rep"));
    EXPECT_FALSE(dir.Exists("2/1"));
    EXPECT_EQ(Rep("Sub/deep")->OwnPath(), dir.Win("1/1.rep"));
}

TEST_F(Moving, WithinOneDirectoryOnlyTheLineMoves)
{
    ASSERT_TRUE(lib.MoveBefore(Rep("three"), Rep("one")));
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_3?three\r\nREPLY_1?one\r\nREPLY_2?two\r\nFOLDER_2?Folder\r\n");
    EXPECT_EQ(Rep("three")->FileName, "3.rep");
    ASSERT_TRUE(lib.MoveBefore(Rep("one"), Rep("Folder")));
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_3?three\r\nREPLY_2?two\r\nREPLY_1?one\r\nFOLDER_2?Folder\r\n");
}

TEST_F(Moving, AFailedCopyChangesNothing)
{
    const std::string rootIndex = dir.Read("index.sub");
    fs.failWrite = [this](const std::string& path) { return path == dir.Win("4.rep"); };
    EXPECT_FALSE(lib.MoveBefore(Rep("Folder/five"), Rep("two")));
    fs.failWrite = nullptr;
    // A folder is copied under a temporary name and renamed into place.
    fs.failRename = [](const std::string&) { return true; };
    EXPECT_FALSE(lib.MoveBefore(Rep("Folder/Sub"), Rep("two")));
    EXPECT_EQ(dir.Read("index.sub"), rootIndex);
    EXPECT_EQ(dir.Read("2/index.sub"), "REPLY_5?five\r\nFOLDER_1?Sub\r\n");
    EXPECT_EQ(Rep("Folder/five")->FileName, "5.rep");
    EXPECT_EQ(Rep("Folder/Sub")->FolderName, "1");
    EXPECT_EQ(dir.Listing(""), "1.rep 2 2.rep 3.rep index.sub");
    EXPECT_EQ(dir.Listing("2"), "1 5.rep index.sub");
}

TEST_F(Moving, AFailedIndexWriteTakesTheCopyAway)
{
    const std::string rootIndex = dir.Read("index.sub");
    for (const char* failing : {"Replies\\index.sub", "2\\index.sub"}) {
        const std::string suffix = failing;
        fs.failWrite = [suffix](const std::string& path) { return path.ends_with(suffix); };
        EXPECT_FALSE(lib.MoveBefore(Rep("Folder/five"), Rep("two"))) << failing;
        EXPECT_EQ(dir.Read("index.sub"), rootIndex) << failing;
        EXPECT_EQ(dir.Read("2/index.sub"), "REPLY_5?five\r\nFOLDER_1?Sub\r\n") << failing;
        EXPECT_TRUE(dir.Exists("2/5.rep")) << failing;
        EXPECT_EQ(dir.Listing(""), "1.rep 2 2.rep 3.rep index.sub") << failing;
        EXPECT_EQ(Rep("Folder/five")->FileName, "5.rep") << failing;
    }
}

TEST_F(Moving, WhenNeitherIndexCanBeSetRightBothListingsStay)
{
    // The root takes the new line, then refuses everything: the source's line
    // cannot go, nor the new one be taken back.
    int rootWrites = 0;
    fs.failWrite = [&](const std::string& path) {
        return path == dir.Win("2/index.sub") || (path == lib.RootIndexPath() && ++rootWrites > 1);
    };
    EXPECT_FALSE(lib.MoveBefore(Rep("Folder/five"), Rep("two")));
    fs.failWrite = nullptr;
    EXPECT_EQ(
        dir.Read("index.sub"), "REPLY_1?one\r\nREPLY_4?five\r\nREPLY_2?two\r\nREPLY_3?three\r\nFOLDER_2?Folder\r\n");
    EXPECT_EQ(dir.Read("2/index.sub"), "REPLY_5?five\r\nFOLDER_1?Sub\r\n");
    EXPECT_EQ(Rep("Folder/five")->FileName, "5.rep");
    // The copy this process goes on saving survives the next start.
    lib.SetBodyText(Rep("Folder/five"), "edited");
    ASSERT_TRUE(lib.SaveReplyFile(Rep("Folder/five")));
    (void)TidyLibrary(fs, lib.Root());
    EXPECT_EQ(dir.Read("2/5.rep"), "m5\r\n\r\nedited\r\n");
    EXPECT_EQ(dir.Read("4.rep"), "m5\r\n\r\nbody5\r\n");
}

TEST_F(Moving, AFolderWhoseCopyWouldBeIncompleteStaysWhereItIs)
{
    // A listing that fails would copy an empty folder and then delete the
    // full one; a link inside would be copied as what it points to.
    fs.failList = [this](const std::string& path) { return path == dir.Win("2/1"); };
    EXPECT_FALSE(lib.MoveBefore(Rep("Folder/Sub"), Rep("one")));
    fs.failList = nullptr;
    fs.PutLink(dir.Win("2/1/linked"), dir.Outside(""));
    EXPECT_FALSE(lib.MoveBefore(Rep("Folder/Sub"), Rep("one")));
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_1?one\r\nREPLY_2?two\r\nREPLY_3?three\r\nFOLDER_2?Folder\r\n");
    EXPECT_EQ(dir.Listing(""), "1.rep 2 2.rep 3.rep index.sub");
    EXPECT_EQ(dir.Listing("2/1"), "1.rep index.sub linked");
    EXPECT_EQ(Rep("Folder/Sub")->FolderName, "1");
}

TEST_F(Moving, AFolderIsNeverCopiedIntoItself)
{
    // Two lines naming directory 2: Twin's Sub lies inside Folder's directory.
    dir.Write("index.sub", dir.Read("index.sub") + "FOLDER_2?Twin\r\n");
    Load();
    const std::string rootIndex = dir.Read("index.sub");
    EXPECT_FALSE(lib.MoveBefore(Rep("Folder"), Rep("Twin/Sub/deep")));
    for (const auto& path : fs.changed)
        EXPECT_EQ(path.find(".tmp\\"), std::string::npos) << path;
    EXPECT_EQ(dir.Read("index.sub"), rootIndex);
    EXPECT_EQ(dir.Read("2/1/index.sub"), "REPLY_1?deep\r\n");
    EXPECT_EQ(dir.Listing("2"), "1 5.rep index.sub");
    EXPECT_EQ(dir.Listing("2/1"), "1.rep index.sub");
}

TEST_F(Moving, MissingLinesStopTheMoveBeforeAnythingIsWritten)
{
    dir.Write("2/index.sub", "FOLDER_1?Sub\r\n");
    EXPECT_FALSE(lib.MoveBefore(Rep("Folder/five"), Rep("two")));
    EXPECT_FALSE(lib.MoveBefore(Rep("one"), Rep("Folder/five")));
    EXPECT_EQ(fs.writeCount, 0);
    EXPECT_TRUE(dir.Exists("2/5.rep"));
}

TEST_F(Moving, AFolderCannotMoveIntoItsOwnSubtree)
{
    EXPECT_FALSE(lib.MoveBefore(Rep("Folder"), Rep("Folder/Sub/deep")));
    EXPECT_FALSE(lib.MoveBefore(Rep("one"), Rep("one")));
    EXPECT_TRUE(fs.changed.empty());
}

} // namespace
} // namespace corvane
