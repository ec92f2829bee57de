// The start-up tidy: what an interrupted write leaves is cleared, what is
// listed and present stays exactly as it is.
#include "LibraryTestSupport.h"

#include "library/LibraryTidy.h"
#include "library/UnitConsts.h"

namespace corvane::testing {
namespace {

struct Tidy : LibraryFixture {
    TTidyReport Run()
    {
        const TTidyReport report = TidyLibrary(fs, lib.Root());
        ShowTidyNotice(report);
        return report;
    }
};

TEST_F(Tidy, RemovesTemporariesAndDropsMissingEntriesWithOneNotice)
{
    dir.Write(
        "index.sub", "REPLY_1?Kept\r\nREPLY_2?Gone\r\nFOLDER_1?Box\r\nFOLDER_2?Vanished\r\nhello\r\nREPLY_..?x\r\n");
    dir.Write("1.rep", "k\r\n0K\r\nkept\r\n");
    dir.Write("7.rep", "\r\n\r\nunlisted\r\n");
    dir.Write("notes.txt", "mine");
    dir.Write("cvnotes.txt", "mine too");
    dir.Write("cvn1A.tmp", "half a sa");
    dir.Write("CVN2.TMP", "half an ind");
    dir.Write("cvn3.tmp/index.sub", "REPLY_1?copy\r\n");
    dir.Write("cvn3.tmp/1.rep", "\r\n\r\n");
    dir.Write("1/index.sub", "REPLY_1?Inner\r\nREPLY_2?Lost\r\n");
    dir.Write("1/1.rep", "\r\n\r\ninner\r\n");
    dir.Write("1/cvn9.tmp", "");

    const TTidyReport report = Run();
    EXPECT_EQ(report.temporariesRemoved, 4);
    EXPECT_EQ(boxes.shown,
        (std::vector<fakes::ShownMessage>{{"Warning",
            FormatMessageText(kMsgMissingEntriesDropped,
                "\"Gone\" (" + dir.Win("2.rep") + ")\r\n\"Vanished\" (" + dir.Win("2") + ")\r\n\"Box\\Lost\" ("
                    + dir.Win("1/2.rep") + ")")}}));
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_1?Kept\r\nFOLDER_1?Box\r\nhello\r\nREPLY_..?x\r\n");
    EXPECT_EQ(dir.Read("1/index.sub"), "REPLY_1?Inner\r\n");
    EXPECT_EQ(dir.Read("1.rep"), "k\r\n0K\r\nkept\r\n");
    EXPECT_EQ(dir.Listing(""), "1 1.rep 7.rep cvnotes.txt index.sub notes.txt");
    EXPECT_EQ(dir.Listing("1"), "1.rep index.sub");

    // The next start finds nothing to do and says nothing; the library loads
    // without an error box.
    boxes.shown.clear();
    fs.changed.clear();
    Run();
    EXPECT_TRUE(fs.changed.empty());
    Load();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(tree.Outline(), "Kept,Box(Inner)");
    EXPECT_TRUE(OnlyInsideRoot());
}

TEST_F(Tidy, AnEntryListedTwiceKeepsTheDestinationOnlyWhenAMoveLeftItSo)
{
    // A cut between the two index writes of a move of A into F.
    dir.Write("index.sub", "REPLY_1?A\r\nFOLDER_1?F\r\n");
    dir.Write("1.rep", "a\r\n\r\nalpha\r\n");
    dir.Write("1/index.sub", "REPLY_2?A\r\nREPLY_1?B\r\n");
    dir.Write("1/2.rep", "a\r\n\r\nalpha\r\n");
    dir.Write("1/1.rep", "\r\n\r\nbravo\r\n");

    // Without the move's record the two are a user's own: both stay.
    EXPECT_FALSE(Run().moveFinished);
    EXPECT_TRUE(fs.changed.empty());

    dir.Write(kMoveRecordName, "\r\nREPLY_1?A\r\n\\1\r\nREPLY_2?A\r\n");
    EXPECT_TRUE(Run().moveFinished);
    EXPECT_EQ(dir.Read("index.sub"), "FOLDER_1?F\r\n");
    EXPECT_EQ(dir.Listing(""), "1 index.sub");
    EXPECT_EQ(dir.Read("1/index.sub"), "REPLY_2?A\r\nREPLY_1?B\r\n");
    EXPECT_EQ(dir.Listing("1"), "1.rep 2.rep index.sub");
    EXPECT_TRUE(boxes.shown.empty());
    Load();
    EXPECT_EQ(tree.Outline(), "F(A,B)");
    EXPECT_EQ(lib.MacroReplyAt(0), Rep("F/A"));
}

TEST_F(Tidy, ALinkedFolderIsKeptButNotGoneIntoAsItsListingTells)
{
    dir.Write("index.sub", "FOLDER_1?Box\r\nFOLDER_2?Elsewhere\r\nFOLDER_3?Plain file\r\n");
    dir.Write("1/index.sub", "REPLY_1?Inner\r\nREPLY_2?Lost\r\n");
    dir.Write("1/1.rep", "\r\n\r\ninner\r\n");
    dir.Write("3", "not a folder");
    fs.PutFile(dir.Outside("index.sub"), "REPLY_1?Theirs\r\nREPLY_9?Not here\r\n");
    fs.PutFile(dir.Outside("cvn1.tmp"), "theirs");
    fs.PutLink(dir.Win("2"), dir.Outside(""));
    fs.linkChecks = 0;

    const TTidyReport report = Run();
    EXPECT_EQ(fs.linkChecks, 0);
    EXPECT_EQ(report.temporariesRemoved, 0);
    EXPECT_EQ(dir.Read("index.sub"), "FOLDER_1?Box\r\nFOLDER_2?Elsewhere\r\nFOLDER_3?Plain file\r\n");
    EXPECT_EQ(dir.Read("1/index.sub"), "REPLY_1?Inner\r\n");
    // Behind the link nothing was tidied.
    EXPECT_EQ(fs.Peek(dir.Outside("index.sub")), "REPLY_1?Theirs\r\nREPLY_9?Not here\r\n");
    EXPECT_TRUE(fs.Has(dir.Outside("cvn1.tmp")));
}

TEST_F(Tidy, NothingIsDroppedOrFollowedOnAnUntrustworthyLook)
{
    dir.Write("index.sub", "REPLY_1?A\r\nREPLY_2?Gone\r\n");
    dir.Write("1.rep", "\r\n\r\n");
    // A listing that fails (an unreachable share) would make every entry
    // look missing.
    fs.failList = [](const std::string&) { return true; };
    Run();
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_1?A\r\nREPLY_2?Gone\r\n");
    fs.failList = nullptr;

    // A record naming anything outside the library's own folders is ignored.
    dir.Write(kMoveRecordName, "\\..\\..\\outside\r\nREPLY_1?x\r\n\r\nREPLY_1?A\r\n");
    fs.PutFile(dir.Outside("index.sub"), "REPLY_1?x\r\n");
    fs.PutFile(dir.Outside("1.rep"), "\r\n\r\n");
    EXPECT_FALSE(Run().moveFinished);
    EXPECT_TRUE(fs.Has(dir.Outside("1.rep")));
    EXPECT_TRUE(OnlyInsideRoot());
}

} // namespace
} // namespace corvane::testing
