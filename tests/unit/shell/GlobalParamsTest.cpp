#include "shell/UnitGlobalParams.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fakes/FaultyFileSystem.h"
#include "fakes/NativeFileSystem.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

// A program folder and an application-data folder in a fresh temp directory.
class GlobalParamsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path()
            / ("corvane-params-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "prog");
        fs::create_directories(root_ / "appdata");
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string Win(const fs::path& p) const { return fakes::ToWindowsPath(p.string()); }
    std::string ProgramPath() const { return Win(root_ / "prog" / "Corvane.exe"); }
    std::string AppData() const { return Win(root_ / "appdata"); }
    void WriteFile(const fs::path& p, const std::string& text) const
    {
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
    }

    fs::path root_;
    fakes::NativeFileSystem fs_;
};

TEST_F(GlobalParamsTest, FoldersEndWithBackslashAndDataFolderIsCreated)
{
    const TGlobalParams p = PrepareGlobalParams(ProgramPath(), AppData(), fs_);
    EXPECT_EQ(p.ProgramPath, ProgramPath());
    EXPECT_EQ(p.ProgramDir, Win(root_ / "prog") + "\\");
    EXPECT_EQ(p.DataDir, AppData() + "\\Corvane 2\\");
    EXPECT_EQ(p.DataDirFile("Replies"), AppData() + "\\Corvane 2\\Replies");
    EXPECT_EQ(p.ProgramDirFile("Corvane.chm"), Win(root_ / "prog") + "\\Corvane.chm");
    EXPECT_TRUE(fs::is_directory(root_ / "appdata" / "Corvane 2"));
}

TEST_F(GlobalParamsTest, WithoutApplicationDataFolderTheProgramFolderServes)
{
    WriteFile(root_ / "prog" / "Replies" / "index.sub", "REPLY_1?A\r\n");
    const TGlobalParams p = PrepareGlobalParams(ProgramPath(), std::nullopt, fs_);
    EXPECT_EQ(p.DataDir, p.ProgramDir);
    EXPECT_TRUE(fs::exists(root_ / "prog" / "Replies" / "index.sub")) << "no move when both folders are one";
}

TEST_F(GlobalParamsTest, OldLibraryBesideTheProgramMovesIntoTheDataFolder)
{
    WriteFile(root_ / "prog" / "Replies" / "index.sub", "FOLDER_1?F\r\n");
    WriteFile(root_ / "prog" / "Replies" / "1" / "1.rep", "\r\n\r\n");
    PrepareGlobalParams(ProgramPath(), AppData(), fs_);
    EXPECT_FALSE(fs::exists(root_ / "prog" / "Replies"));
    EXPECT_TRUE(fs::exists(root_ / "appdata" / "Corvane 2" / "Replies" / "1" / "1.rep"));
}

TEST_F(GlobalParamsTest, ExistingDataLibraryIsKeptAndOnlyAnEmptyLeftoverIsRemoved)
{
    WriteFile(root_ / "appdata" / "Corvane 2" / "Replies" / "index.sub", "mine");
    WriteFile(root_ / "prog" / "Replies" / "index.sub", "old");
    PrepareGlobalParams(ProgramPath(), AppData(), fs_);
    EXPECT_TRUE(fs::exists(root_ / "prog" / "Replies" / "index.sub"));

    fs::remove(root_ / "prog" / "Replies" / "index.sub");
    PrepareGlobalParams(ProgramPath(), AppData(), fs_);
    EXPECT_FALSE(fs::exists(root_ / "prog" / "Replies")) << "empty leftover is removed";
    std::ifstream kept(root_ / "appdata" / "Corvane 2" / "Replies" / "index.sub");
    std::string text;
    kept >> text;
    EXPECT_EQ(text, "mine");
}

TEST_F(GlobalParamsTest, ProgramInsideTheDataFolderSpelledInAnotherCaseMovesNothing)
{
    // On this case-sensitive file system "CORVANE 2" and "Corvane 2" are two
    // folders; a case-sensitive comparison would move the library between them.
    WriteFile(root_ / "appdata" / "CORVANE 2" / "Replies" / "index.sub", "x");
    const std::string programPath = Win(root_ / "appdata" / "CORVANE 2" / "Corvane.exe");
    const TGlobalParams p = PrepareGlobalParams(programPath, AppData(), fs_);
    EXPECT_EQ(p.DataDir, AppData() + "\\Corvane 2\\");
    EXPECT_TRUE(fs::exists(root_ / "appdata" / "CORVANE 2" / "Replies" / "index.sub"));
    EXPECT_FALSE(fs::exists(root_ / "appdata" / "Corvane 2" / "Replies"));
}

TEST_F(GlobalParamsTest, FailedMoveAcrossDrivesIsIgnoredAndTheOldFolderStays)
{
    WriteFile(root_ / "prog" / "Replies" / "index.sub", "x");
    fakes::FaultyFileSystem faulty(fs_);
    faulty.failRename = [](const std::string&) { return true; };
    const TGlobalParams p = PrepareGlobalParams(ProgramPath(), AppData(), faulty);
    EXPECT_EQ(p.DataDir, AppData() + "\\Corvane 2\\");
    EXPECT_TRUE(fs::exists(root_ / "prog" / "Replies" / "index.sub"));
    EXPECT_FALSE(fs::exists(root_ / "appdata" / "Corvane 2" / "Replies"));
}

TEST(DirectoryOf, CutsAfterTheLastBackslashOrColon)
{
    EXPECT_EQ(DirectoryOf("C:\\Program Files\\Corvane\\Corvane.exe"), "C:\\Program Files\\Corvane\\");
    EXPECT_EQ(DirectoryOf("C:Corvane.exe"), "C:");
    EXPECT_EQ(DirectoryOf("Corvane.exe"), "");
}

} // namespace
} // namespace corvane
