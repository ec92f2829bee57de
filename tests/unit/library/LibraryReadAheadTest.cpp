// The library's files read ahead on another thread: loading from them gives
// the library that loading from the disk gives, without the disk, and no
// file is served from memory once something was written.
#include "LibraryTestSupport.h"
#include "library/LibraryReadAhead.h"

namespace corvane {
namespace {

struct ReadAhead : testing::LibraryFixture {
    ReadAhead()
    {
        // Sound, broken and hostile entries, a link, and nesting past the limit.
        dir.Write("index.sub",
            "REPLY_1?Good\r\n"
            "REPLY_2?Missing file\r\n"
            "REPLY_3?One line\r\n"
            "FOLDER_4?No index\r\n"
            "FOLDER_..?Up\r\n"
            "reply_..\\..\\outside\\secret?Secret\r\n"
            "FOLDER_5?Loop\r\n"
            "Folder_6?Deep\r\n"
            "REPLY_7?Last\r\n");
        dir.Write("1.rep", "good\r\n1G\r\n{\\rtf1 Good}\r\n");
        dir.Write("3.rep", "only a macro line\r\n");
        dir.MakeDir("4");
        fs.PutLink(dir.Win("5"), dir.Win(""));
        std::string relative = "6/";
        for (int level = 1; level <= TRepList::kMaxFolderDepth + 4; ++level) {
            dir.Write(relative + "index.sub", "REPLY_1?R" + std::to_string(level) + "\r\nFOLDER_1?L\r\n");
            dir.Write(relative + "1.rep", "m" + std::to_string(level) + "\r\n\r\nbody\r\n");
            relative += "1/";
        }
        dir.Write("7.rep", "last\r\n\r\n");
        fs.PutFile(dir.Outside("secret.rep"), "\r\n\r\nsecret\r\n");
    }

    // Every file under the library's root, deepest first.
    void DeleteEveryFileUnder(const std::string& folder)
    {
        for (const DirEntry& entry : fs.List(folder)) {
            const std::string path = folder + "\\" + entry.name;
            if (entry.isDir && !fs.IsLink(path))
                DeleteEveryFileUnder(path);
            else if (!entry.isDir)
                (void)fs.DeleteFile(path);
        }
    }

    static std::vector<std::string> Texts(const fakes::FakeListBox& list)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < list.Count(); ++i)
            texts.push_back(list.Text(i));
        return texts;
    }
};

TEST_F(ReadAhead, LoadingFromWhatWasReadGivesTheLibraryTheDiskGives)
{
    Load();
    const std::string outline = tree.Outline();
    const std::vector<std::string> macros = Texts(macroBox);
    const std::vector<std::string> errors = boxes.ErrorTexts();
    ASSERT_EQ(macros.size(), 2u + TRepList::kMaxFolderDepth);

    boxes.shown.clear();
    TFilesRead files = ReadLibraryAhead(fs, lib.RootIndexPath());
    EXPECT_TRUE(OnlyInsideRoot());
    // From here on the disk has nothing left to give.
    DeleteEveryFileUnder(dir.Win(""));
    TReadAheadFileSystem readAhead(watch);
    fakes::FakeTreeControl otherTree;
    fakes::FakeListBox otherHotKeys, otherMacros;
    TRepList other{otherTree, otherHotKeys, otherMacros, readAhead, lib.Root()};
    readAhead.Offer(std::move(files));
    other.BeginBulkLoad();
    other.LoadFolderIndex(other.RootIndexPath(), nullptr);
    other.EndBulkLoad();

    EXPECT_EQ(otherTree.Outline(), outline);
    EXPECT_EQ(Texts(otherMacros), macros);
    EXPECT_EQ(Texts(otherHotKeys), Texts(hotKeyBox));
    EXPECT_EQ(boxes.ErrorTexts(), errors);
    EXPECT_EQ(other.RepOf(otherTree.First())->Lines, std::vector<std::string>{"{\\rtf1 Good}"});
}

TEST_F(ReadAhead, NothingReadAheadIsServedAfterAWriteOrASecondRead)
{
    TReadAheadFileSystem readAhead(watch);
    readAhead.Offer(ReadLibraryAhead(fs, lib.RootIndexPath()));
    dir.Write("1.rep", "changed\r\n\r\n");
    dir.Write("7.rep", "changed too\r\n\r\n");
    // Served once from memory; the next read is the disk's.
    EXPECT_EQ(readAhead.ReadFile(dir.Win("1.rep")), "good\r\n1G\r\n{\\rtf1 Good}\r\n");
    EXPECT_EQ(readAhead.ReadFile(dir.Win("1.rep")), "changed\r\n\r\n");
    // A write through it drops every file still held.
    EXPECT_TRUE(readAhead.WriteFileReplacing(dir.Win("3.rep"), "x\r\n\r\n"));
    EXPECT_EQ(readAhead.ReadFile(dir.Win("7.rep")), "changed too\r\n\r\n");
}

} // namespace
} // namespace corvane
