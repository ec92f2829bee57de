// The library's files read ahead on another thread: loading from them gives
// the library that loading from the disk gives, without the disk, and no
// file is served from memory once something was written. A reply comes
// from the cache of an earlier start only when its file did not change.
#include "LibraryTestSupport.h"
#include "library/LibraryReadAhead.h"
#include "library/ReplyCache.h"

#include <algorithm>
#include <string_view>

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
    TFilesRead files = ReadLibraryAhead(fs, lib.RootIndexPath()).files;
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

TEST_F(ReadAhead, AStartAsksTheDiskWhetherAFolderIsALinkOnlyForTheLink)
{
    // The listings tell which folders are links: the tidy, the reading and
    // the loading after them ask the disk only of the one no listing cleared.
    fs.linkChecks = 0;
    TLibraryStart start = ReadLibraryAtStart(fs, lib.Root(), "", 0);
    EXPECT_EQ(fs.linkChecks, 1);
    TReadAheadFileSystem readAhead(watch);
    fakes::FakeTreeControl otherTree;
    fakes::FakeListBox otherHotKeys, otherMacros;
    TRepList other{otherTree, otherHotKeys, otherMacros, readAhead, lib.Root()};
    readAhead.Offer(std::move(start.read.files), std::move(start.read.folders));
    fs.linkChecks = 0;
    other.BeginBulkLoad();
    other.LoadFolderIndex(other.RootIndexPath(), nullptr);
    other.EndBulkLoad();
    EXPECT_EQ(fs.linkChecks, 1);

    // The same library as the disk gives, the link not followed.
    Load();
    EXPECT_EQ(otherTree.Outline(), tree.Outline());
    EXPECT_EQ(Texts(otherMacros), Texts(macroBox));
    EXPECT_EQ(tree.Outline().find("Loop("), std::string::npos);

    // Served once: a second loading asks the disk again.
    fs.linkChecks = 0;
    Load();
    EXPECT_GT(fs.linkChecks, 1);
}

TEST_F(ReadAhead, NothingReadAheadIsServedAfterAWriteOrASecondRead)
{
    TReadAheadFileSystem readAhead(watch);
    readAhead.Offer(ReadLibraryAhead(fs, lib.RootIndexPath()).files);
    dir.Write("1.rep", "changed\r\n\r\n");
    dir.Write("7.rep", "changed too\r\n\r\n");
    // Served once from memory; the next read is the disk's.
    EXPECT_EQ(readAhead.ReadFile(dir.Win("1.rep")), "good\r\n1G\r\n{\\rtf1 Good}\r\n");
    EXPECT_EQ(readAhead.ReadFile(dir.Win("1.rep")), "changed\r\n\r\n");
    // A write through it drops every file still held.
    EXPECT_TRUE(readAhead.WriteFileReplacing(dir.Win("3.rep"), "x\r\n\r\n"));
    EXPECT_EQ(readAhead.ReadFile(dir.Win("7.rep")), "changed too\r\n\r\n");
}

// Starts read through the reply cache: every reply is what the disk holds,
// and only those whose files did not change since come from the cache.
struct ReplyCacheStarts : testing::LibraryFixture {
    static constexpr long long kLongAgo = 1'700'000'000'000;
    long long now = kLongAgo + 60'000;
    const std::string cachePath = dir.Base() + "\\Local\\Corvane 2\\ReplyCache.bin";

    ReplyCacheStarts()
    {
        WriteOld("index.sub", "REPLY_1?Top\r\nFOLDER_1?One\r\nFOLDER_2?Two\r\n");
        WriteOld("1.rep", "top\r\n\r\nTop reply\r\n");
        WriteOld("1/index.sub", "REPLY_1?A\r\nREPLY_2?B\r\nREPLY_3?C\r\n");
        WriteOld("1/1.rep", "a\r\n\r\nreply A\r\n");
        WriteOld("1/2.rep", "b\r\n\r\nreply B\r\n");
        WriteOld("1/3.rep", "c\r\n\r\nreply C\r\n");
        WriteOld("2/index.sub", "REPLY_1?D\r\nREPLY_2?E\r\n");
        WriteOld("2/1.rep", "d\r\n\r\nreply D\r\n");
        WriteOld("2/2.rep", "e\r\n\r\nreply E\r\n");
    }

    void WriteOld(const std::string& relative, const std::string& bytes, long long at = kLongAgo)
    {
        dir.Write(relative, bytes);
        fs.SetWriteTime(dir.Win(relative), at);
    }

    // One start as the program makes it, the cache rewritten when out of date.
    TLibraryStart Start()
    {
        fs.reads.clear();
        fs.listCount = 0;
        fs.linkChecks = 0;
        TLibraryStart start = ReadLibraryAtStart(fs, lib.Root(), cachePath, now);
        if (start.cache) {
            EXPECT_TRUE(WriteReplyCache(fs, cachePath, *start.cache));
        }
        return start;
    }

    // Relative to the root, in the order read.
    std::vector<std::string> RepliesReadFromDisk() const
    {
        std::vector<std::string> replies;
        const std::string root = dir.Win("") + "\\";
        for (const std::string& path : fs.reads)
            if (path.ends_with(".rep") && path.starts_with(root))
                replies.push_back(path.substr(root.size()));
        return replies;
    }
    size_t IndexesRead() const
    {
        return std::count_if(
            fs.reads.begin(), fs.reads.end(), [](const std::string& path) { return path.ends_with("index.sub"); });
    }

    // Every reply read is what its file holds now; the count of replies read.
    size_t RepliesAsOnDisk(const TLibraryStart& start) const
    {
        size_t replies = 0;
        for (const auto& [path, bytes] : start.read.files) {
            if (!path.ends_with(".rep"))
                continue;
            EXPECT_EQ(bytes, fs.Peek(path)) << path;
            ++replies;
        }
        return replies;
    }
};

TEST_F(ReplyCacheStarts, OnlyRepliesUnchangedOnDiskComeFromTheCache)
{
    using Paths = std::vector<std::string>;
    TLibraryStart first = Start();
    EXPECT_EQ(RepliesAsOnDisk(first), 6u);
    EXPECT_EQ(RepliesReadFromDisk(), (Paths{"1.rep", "1\\1.rep", "1\\2.rep", "1\\3.rep", "2\\1.rep", "2\\2.rep"}));
    EXPECT_TRUE(first.cache);

    // Nothing changed: each folder listed once and its index read once,
    // no folder asked apart whether it is a link, no reply file opened, the
    // cache left as it is.
    TLibraryStart second = Start();
    EXPECT_EQ(RepliesAsOnDisk(second), 6u);
    EXPECT_EQ(RepliesReadFromDisk(), Paths{});
    EXPECT_EQ(fs.listCount, 3);
    EXPECT_EQ(fs.linkChecks, 0);
    EXPECT_EQ(IndexesRead(), 3u);
    EXPECT_EQ(ReadAheadTraceText(second.read), "start: library files read (6 from the cache, 0 from disk)");
    EXPECT_FALSE(second.cache);

    // The same size with a new time; a new size at the same time; one added;
    // one deleted.
    WriteOld("1/1.rep", "a\r\n\r\nreply Z\r\n", kLongAgo + 5'000);
    WriteOld("2/1.rep", "d\r\n\r\nreply D, longer\r\n");
    WriteOld("1/index.sub", "REPLY_1?A\r\nREPLY_2?B\r\nREPLY_3?C\r\nREPLY_4?F\r\n");
    WriteOld("1/4.rep", "f\r\n\r\nreply F\r\n");
    WriteOld("2/index.sub", "REPLY_1?D\r\n");
    fs.RemoveFile(dir.Win("2/2.rep"));
    TLibraryStart third = Start();
    EXPECT_EQ(RepliesAsOnDisk(third), 6u);
    EXPECT_EQ(RepliesReadFromDisk(), (Paths{"1\\1.rep", "1\\4.rep", "2\\1.rep"}));
    EXPECT_EQ(ReadAheadTraceText(third.read), "start: library files read (3 from the cache, 3 from disk)");
    EXPECT_TRUE(third.cache);

    TLibraryStart fourth = Start();
    EXPECT_EQ(RepliesAsOnDisk(fourth), 6u);
    EXPECT_EQ(RepliesReadFromDisk(), Paths{});
    EXPECT_FALSE(fourth.cache);

    // A reply deleted, nothing read: the cache still holds it, and is rewritten.
    WriteOld("1/index.sub", "REPLY_1?A\r\nREPLY_2?B\r\nREPLY_4?F\r\n");
    fs.RemoveFile(dir.Win("1/3.rep"));
    TLibraryStart fifth = Start();
    EXPECT_EQ(RepliesAsOnDisk(fifth), 5u);
    EXPECT_EQ(RepliesReadFromDisk(), Paths{});
    EXPECT_TRUE(fifth.cache);
    EXPECT_FALSE(Start().cache);
}

TEST_F(ReplyCacheStarts, AFileWrittenWithinSecondsOfTheReadIsReadFromTheDiskNextTime)
{
    WriteOld("1/2.rep", "b\r\n\r\nfirst\r\n", now - kReplyCacheSettleMilliseconds + 1);
    WriteOld("1/3.rep", "c\r\n\r\nfirst\r\n", now - kReplyCacheSettleMilliseconds);
    Start();
    // Written again within the disk's time resolution: the same size and
    // the same stamp, other bytes.
    WriteOld("1/2.rep", "b\r\n\r\nlater\r\n", now - kReplyCacheSettleMilliseconds + 1);
    now += 60'000;
    const TLibraryStart next = Start();
    EXPECT_EQ(next.read.files.at(dir.Win("1/2.rep")), "b\r\n\r\nlater\r\n");
    EXPECT_EQ(RepliesReadFromDisk(), std::vector<std::string>{"1\\2.rep"});
    EXPECT_EQ(next.read.fromCache, 5u);
}

TEST_F(ReplyCacheStarts, ListingsThatDoNotTellWriteTimesNeverServeFromTheCache)
{
    fs.listsWriteTimes = false;
    Start();
    // Unknown stamps, were they taken for equal ones, would hide this change.
    WriteOld("1/1.rep", "a\r\n\r\nreply Z\r\n");
    const TLibraryStart next = Start();
    EXPECT_EQ(next.read.fromCache, 0u);
    EXPECT_EQ(RepliesAsOnDisk(next), 6u);
}

TEST(ReplyCacheFile, ACutOrDamagedCacheHoldsOnlyEntriesThatPassTheirChecks)
{
    const std::string root = "C:\\Users\\Tester\\data\\Replies";
    const std::vector<std::string> paths{"1.rep", "1\\2.rep", "1\\3.rep"};
    const std::vector<std::string> bodies{"a\r\n\r\nfirst\r\n", "", "c\r\n0C\r\nthe third, longer than the others\r\n"};
    std::vector<TReplyToKeep> replies;
    for (size_t i = 0; i < paths.size(); ++i)
        replies.push_back({paths[i], {bodies[i].size(), 1'000 + static_cast<long long>(i)}, bodies[i]});
    constexpr long long kNow = 1'000'000;
    // Where the header and each entry end.
    std::vector<size_t> ends;
    for (size_t count = 0; count <= replies.size(); ++count)
        ends.push_back(
            FormatReplyCache(root, std::vector<TReplyToKeep>(replies.begin(), replies.begin() + count), kNow).size());
    const std::string whole = FormatReplyCache(root, replies, kNow);
    // Entries whole before `at`.
    auto entriesBefore = [&](size_t at) {
        return static_cast<size_t>(std::count_if(ends.begin() + 1, ends.end(), [&](size_t end) { return end <= at; }));
    };
    // The entries held, each checked to be one written, with its own bytes.
    auto held = [&](std::string_view bytes) {
        TReplyCache cache = TReplyCache::Parse(bytes, root);
        size_t served = 0;
        for (size_t i = 0; i < paths.size(); ++i)
            if (const std::optional<std::string> reply = cache.Take(paths[i], replies[i].stamp)) {
                EXPECT_EQ(*reply, bodies[i]);
                ++served;
            }
        EXPECT_EQ(cache.Untaken(), 0u);
        return served;
    };

    EXPECT_EQ(held(whole), 3u);
    for (size_t cut = 0; cut < whole.size(); ++cut)
        EXPECT_EQ(held(whole.substr(0, cut)), entriesBefore(cut)) << "cut at " << cut;
    for (size_t at = 0; at < whole.size(); ++at)
        for (const unsigned char flip : {0x01, 0x80, 0xFF}) {
            std::string damaged = whole;
            damaged[at] = static_cast<char>(damaged[at] ^ flip);
            EXPECT_EQ(held(damaged), entriesBefore(at)) << "flipped at " << at;
        }
    EXPECT_EQ(TReplyCache::Parse(whole, "D:\\Replies").Size(), 0u);
    // A kept reply whose file now has another stamp is not served.
    TReplyCache cache = TReplyCache::Parse(whole, root);
    EXPECT_FALSE(cache.Take(paths[0], {bodies[0].size(), 999}));
    EXPECT_FALSE(cache.Take(paths[0], {bodies[0].size() + 1, 1'000}));
}

TEST(ReplyCacheFile, TheTraceCountsInThousands)
{
    TLibraryRead read;
    read.fromCache = 9'998;
    read.fromDisk = 2;
    EXPECT_EQ(ReadAheadTraceText(read), "start: library files read (9,998 from the cache, 2 from disk)");
    read.fromCache = 999;
    read.fromDisk = 1'234'567;
    EXPECT_EQ(ReadAheadTraceText(read), "start: library files read (999 from the cache, 1,234,567 from disk)");
}

} // namespace
} // namespace corvane
