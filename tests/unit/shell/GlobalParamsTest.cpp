#include "shell/UnitGlobalParams.h"

#include <gtest/gtest.h>

#include "fakes/MemoryFileSystem.h"

namespace corvane {
namespace {

// A program folder and an application-data folder on the in-memory disk.
class GlobalParamsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs_.PutDir(kRoot + "\\prog");
        fs_.PutDir(AppData());
    }

    static std::string ProgramPath() { return kRoot + "\\prog\\Corvane.exe"; }
    static std::string AppData() { return kRoot + "\\appdata"; }

    static inline const std::string kRoot = "C:\\Users\\Tester";
    fakes::MemoryFileSystem fs_;
};

TEST_F(GlobalParamsTest, FoldersEndWithBackslashAndDataFolderIsCreated)
{
    const TGlobalParams p = PrepareGlobalParams(ProgramPath(), AppData(), fs_);
    EXPECT_EQ(p.ProgramPath, ProgramPath());
    EXPECT_EQ(p.ProgramDir, kRoot + "\\prog\\");
    EXPECT_EQ(p.DataDir, AppData() + "\\Corvane 2\\");
    EXPECT_EQ(p.DataDirFile("Replies"), AppData() + "\\Corvane 2\\Replies");
    EXPECT_EQ(p.ProgramDirFile("Corvane.chm"), kRoot + "\\prog\\Corvane.chm");
    EXPECT_TRUE(fs_.DirExists(AppData() + "\\Corvane 2"));
}

TEST_F(GlobalParamsTest, WithoutApplicationDataFolderTheProgramFolderServes)
{
    fs_.PutFile(kRoot + "\\prog\\Replies\\index.sub", "REPLY_1?A\r\n");
    const TGlobalParams p = PrepareGlobalParams(ProgramPath(), std::nullopt, fs_);
    EXPECT_EQ(p.DataDir, p.ProgramDir);
    EXPECT_TRUE(fs_.Has(kRoot + "\\prog\\Replies\\index.sub")) << "no move when both folders are one";
}

TEST_F(GlobalParamsTest, OldLibraryBesideTheProgramMovesIntoTheDataFolder)
{
    fs_.PutFile(kRoot + "\\prog\\Replies\\index.sub", "FOLDER_1?F\r\n");
    fs_.PutFile(kRoot + "\\prog\\Replies\\1\\1.rep", "\r\n\r\n");
    PrepareGlobalParams(ProgramPath(), AppData(), fs_);
    EXPECT_FALSE(fs_.Has(kRoot + "\\prog\\Replies"));
    EXPECT_TRUE(fs_.Has(AppData() + "\\Corvane 2\\Replies\\1\\1.rep"));
}

TEST_F(GlobalParamsTest, ExistingDataLibraryIsKeptAndOnlyAnEmptyLeftoverIsRemoved)
{
    fs_.PutFile(AppData() + "\\Corvane 2\\Replies\\index.sub", "mine");
    fs_.PutFile(kRoot + "\\prog\\Replies\\index.sub", "old");
    PrepareGlobalParams(ProgramPath(), AppData(), fs_);
    EXPECT_TRUE(fs_.Has(kRoot + "\\prog\\Replies\\index.sub"));

    ASSERT_TRUE(fs_.DeleteFile(kRoot + "\\prog\\Replies\\index.sub"));
    PrepareGlobalParams(ProgramPath(), AppData(), fs_);
    EXPECT_FALSE(fs_.Has(kRoot + "\\prog\\Replies")) << "empty leftover is removed";
    EXPECT_EQ(fs_.Peek(AppData() + "\\Corvane 2\\Replies\\index.sub"), "mine");
}

TEST_F(GlobalParamsTest, ProgramInsideTheDataFolderSpelledInAnotherCaseMovesNothing)
{
    // "CORVANE 2" is the data folder spelled otherwise: a case-sensitive
    // comparison would try to move the library onto itself.
    fs_.PutFile(AppData() + "\\CORVANE 2\\Replies\\index.sub", "x");
    int renames = 0;
    fs_.failRename = [&](const std::string&) { return ++renames, false; };
    const std::string programPath = AppData() + "\\CORVANE 2\\Corvane.exe";
    const TGlobalParams p = PrepareGlobalParams(programPath, AppData(), fs_);
    EXPECT_EQ(p.DataDir, AppData() + "\\Corvane 2\\");
    EXPECT_EQ(fs_.Peek(AppData() + "\\Corvane 2\\Replies\\index.sub"), "x");
    EXPECT_EQ(renames, 0);
}

TEST_F(GlobalParamsTest, FailedMoveAcrossDrivesIsIgnoredAndTheOldFolderStays)
{
    fs_.PutFile(kRoot + "\\prog\\Replies\\index.sub", "x");
    fs_.failRename = [](const std::string&) { return true; };
    const TGlobalParams p = PrepareGlobalParams(ProgramPath(), AppData(), fs_);
    EXPECT_EQ(p.DataDir, AppData() + "\\Corvane 2\\");
    EXPECT_TRUE(fs_.Has(kRoot + "\\prog\\Replies\\index.sub"));
    EXPECT_FALSE(fs_.Has(AppData() + "\\Corvane 2\\Replies"));
}

TEST(DirectoryOf, CutsAfterTheLastBackslashOrColon)
{
    EXPECT_EQ(DirectoryOf("C:\\Program Files\\Corvane\\Corvane.exe"), "C:\\Program Files\\Corvane\\");
    EXPECT_EQ(DirectoryOf("C:Corvane.exe"), "C:");
    EXPECT_EQ(DirectoryOf("Corvane.exe"), "");
}

} // namespace
} // namespace corvane
