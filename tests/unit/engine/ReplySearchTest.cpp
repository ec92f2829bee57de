// Finding replies by typed words: what matches, in which order, and the
// picker's list and place around it.
#include "library/ExcludedPrograms.h"
#include "engine/ReplyPicker.h"
#include "engine/ReplySearch.h"
#include "engine/SearchIndex.h"
#include "unit/engine/EngineTestRig.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace corvane::testing {
namespace {

TSearchEntry Entry(const std::string& key, const std::string& name, const std::string& text,
    const std::string& macro = {}, const std::string& folder = {})
{
    TSearchEntry e;
    e.key = key;
    e.name = name;
    e.text = text;
    e.macro = macro;
    e.folder = folder;
    return e;
}

std::vector<std::string> KeysFound(
    const TReplySearch& search, std::string_view query, const TRecentDeliveries& recent = TRecentDeliveries())
{
    std::vector<std::string> keys;
    for (int position : search.Find(query, recent))
        keys.push_back(search.Entries()[static_cast<size_t>(position)].key);
    return keys;
}

TEST(ReplySearch, EveryTypedWordMustOccurSomewhereInTheReplyWithoutRegardToCase)
{
    const TReplySearch search({Entry("1", "Shipping delay", "Your parcel leaves in MAY.", "ship", "Orders"),
        Entry("2", "Shipping costs", "Free above 50 euros.", "", "Orders"),
        Entry("3", "Caf\xe9 hours", "We open at nine.", "", "Shop")});
    EXPECT_EQ(KeysFound(search, "ship may"), std::vector<std::string>{"1"});
    EXPECT_EQ(KeysFound(search, "  orders   EUROS "), std::vector<std::string>{"2"});
    EXPECT_EQ(KeysFound(search, "CAF\xc9"), std::vector<std::string>{"3"}); // Windows-1252 upper case
    EXPECT_TRUE(KeysFound(search, "ship nine").empty());
}

TEST(ReplySearch, WordStartsRankAboveInnerLettersAndNamesAboveText)
{
    const TReplySearch search({Entry("inner-name", "Reorder stock", "Ask the warehouse."),
        Entry("whole-text", "Parcel", "Your order has shipped."),
        Entry("start-name", "Orders overview", "All open ones."), Entry("whole-name", "Order", "Thank you."),
        Entry("start-text", "Invoice", "Ordering is easy.")});
    EXPECT_EQ(KeysFound(search, "order"),
        (std::vector<std::string>{"whole-name", "start-name", "whole-text", "start-text", "inner-name"}));
}

TEST(ReplySearch, RecentlyDeliveredRepliesComeFirstOnlyAmongEqualMatches)
{
    const TReplySearch search({Entry("a", "Greeting formal", "Dear Sir"), Entry("b", "Greeting casual", "Hi"),
        Entry("c", "Old greeting", "Hello"), Entry("d", "Signature", "Regards, greetings")});
    TRecentDeliveries recent;
    recent.Record("d");
    recent.Record("b");
    EXPECT_EQ(KeysFound(search, "greeting", recent), (std::vector<std::string>{"b", "a", "c", "d"}));
    EXPECT_EQ(KeysFound(search, "", recent), (std::vector<std::string>{"b", "d", "a", "c"}));
}

TEST(RecentDeliveries, KeepsTheLatestFiftyOnceEachAndSurvivesBeingStored)
{
    TRecentDeliveries recent;
    for (int i = 0; i < 60; ++i)
        recent.Record(std::to_string(i) + ".rep");
    recent.Record("55.rep");
    EXPECT_EQ(recent.Keys().size(), TRecentDeliveries::kKept);
    EXPECT_EQ(recent.RankOf("55.rep"), 0);
    EXPECT_EQ(recent.RankOf("59.rep"), 1);
    EXPECT_EQ(recent.RankOf("9.rep"), -1);

    const TRecentDeliveries restored(recent.Stored());
    EXPECT_EQ(restored.Keys(), recent.Keys());
    // A hand-edited value: empty pieces and repeats are dropped.
    EXPECT_EQ(TRecentDeliveries(";2\\4.rep;;1.rep;2\\4.rep").Keys(), (std::vector<std::string>{"2\\4.rep", "1.rep"}));
}

TEST(ReplySearch, EntriesOfTheLibrarySearchTheReplysTextNotItsFormatting)
{
    EngineRig rig;
    TRep* top = rig.library.Items(rig.library.AddNodeLast("Support", nullptr));
    top->FolderName = "2";
    TRep* sub = rig.library.Items(rig.library.AddNodeLast("Orders", top->Node));
    sub->FolderName = "1";
    TRep* reply = rig.library.Items(rig.library.AddNodeLast("Late parcel", sub->Node));
    reply->FileName = "3.rep";
    rig.library.SetBodyText(reply, RichEditRtf("We are \\b sorry\\b0  for the wait.\\par Kind regards"));
    ASSERT_TRUE(rig.library.SetMacro(reply, "late(Name)"));

    const std::vector<TSearchEntry> entries = SearchEntriesOf(rig.library);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].reply, reply);
    EXPECT_EQ(entries[0].key, "2\\1\\3.rep");
    EXPECT_EQ(entries[0].macro, "late(Name)");
    EXPECT_EQ(entries[0].folder, "Support / Orders");
    EXPECT_EQ(FirstLine(entries[0].text), "We are sorry for the wait.");

    const TReplySearch search(entries);
    EXPECT_EQ(search.Find("sorry regards", TRecentDeliveries()).size(), 1u);
    EXPECT_TRUE(search.Find("arial", TRecentDeliveries()).empty()); // the font table is no text
    EXPECT_TRUE(search.Find("viewkind", TRecentDeliveries()).empty());
}

// What a search answers to each query: the entries found, in order, whole.
std::vector<std::vector<std::string>> Answers(const TReplySearch& search, const TRecentDeliveries& recent)
{
    std::vector<std::vector<std::string>> answers;
    for (const char* query : {"", "order", "ship late", "regards", "folder 3", "p", "caf\xe9", "nothing like this"}) {
        std::vector<std::string> found;
        for (int position : search.Find(query, recent)) {
            const TSearchEntry& e = search.Entries()[static_cast<size_t>(position)];
            found.push_back(e.key + "|" + e.name + "|" + e.macro + "|" + e.folder + "|" + e.text);
        }
        answers.push_back(std::move(found));
    }
    return answers;
}

std::optional<TReplySearch> SearchWhenReady(TSearchIndex& index, const TRepList& library)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!index.Ready() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return index.SearchFor(SearchSourcesOf(library));
}

TEST(SearchIndex, TheIndexBuiltAsideAnswersAsASearchBuiltNowAlsoAfterTheLibraryChanged)
{
    EngineRig rig;
    std::vector<TRep*> replies;
    for (int f = 0; f < 4; ++f) {
        TRep* folder = rig.library.Items(rig.library.AddNodeLast("Folder " + std::to_string(f), nullptr));
        folder->FolderName = std::to_string(f);
        for (int r = 0; r < 6; ++r) {
            TRep* reply = rig.library.Items(rig.library.AddNodeLast("Parcel " + std::to_string(r), folder->Node));
            reply->FileName = std::to_string(r) + ".rep";
            rig.library.SetBodyText(reply,
                RichEditRtf("Your \\b order\\b0  " + std::to_string(f * 10 + r) + " ships late.\\par Kind regards"));
            if (r % 2 == 0) {
                ASSERT_TRUE(rig.library.SetMacro(reply, "p" + std::to_string(f) + std::to_string(r)));
            }
            replies.push_back(reply);
        }
    }
    TRecentDeliveries recent;
    recent.Record("2\\3.rep");

    TSearchIndex index;
    EXPECT_FALSE(index.SearchFor(SearchSourcesOf(rig.library)).has_value()); // nothing built yet
    index.Start(SearchSourcesOf(rig.library));
    // Changed while the index is built from what the library was.
    rig.library.SetBodyText(replies[0], RichEditRtf("Caf\xe9 closed on Sunday"));
    std::optional<TReplySearch> search = SearchWhenReady(index, rig.library);
    ASSERT_TRUE(search.has_value());
    EXPECT_EQ(Answers(*search, recent), Answers(TReplySearch(SearchEntriesOf(rig.library)), recent));

    // Each kind of change after the build: a text, a name, a macro, a new
    // reply, a deleted one.
    rig.library.SetBodyText(replies[5], RichEditRtf("Shipped early after all"));
    rig.tree.SetLabel(replies[7]->Node, "Late shipping");
    ASSERT_TRUE(rig.library.SetMacro(replies[8], "order"));
    TRep* added = rig.library.Items(rig.library.AddNodeFirst("Regards", rig.tree.Parent(replies[9]->Node)));
    added->FileName = "9.rep";
    rig.library.SetBodyText(added, RichEditRtf("Best regards"));
    rig.library.DeleteAt(rig.library.IndexOf(replies[10]));
    search = index.SearchFor(SearchSourcesOf(rig.library));
    ASSERT_TRUE(search.has_value());
    EXPECT_EQ(Answers(*search, recent), Answers(TReplySearch(SearchEntriesOf(rig.library)), recent));
}

TEST(ReplyPicker, AWaitingPickerListsNothingAndShowsWhatWasTypedOnceItsSearchIsReady)
{
    const std::vector<TSearchEntry> entries
        = {Entry("1", "Orders", "ship it"), Entry("2", "Shipping", "order"), Entry("3", "Invoice", "sent")};
    const TRecentDeliveries recent("2");
    TReplyPicker picker(recent);
    EXPECT_TRUE(picker.Waiting());
    picker.SetQuery("ord");
    picker.Move(TPickerMove::Down, 10);
    EXPECT_EQ(picker.RowCount(), 0);
    EXPECT_EQ(picker.SelectedEntry(), nullptr);
    EXPECT_EQ(picker.CellText(0, PickerColumnName), "");

    picker.SetSearch(TReplySearch(entries));
    EXPECT_FALSE(picker.Waiting());
    std::vector<std::string> shown;
    for (int row = 0; row < picker.RowCount(); ++row)
        shown.push_back(picker.EntryAt(row).key);
    EXPECT_EQ(shown, KeysFound(TReplySearch(entries), "ord", recent));
    ASSERT_NE(picker.SelectedEntry(), nullptr);
    EXPECT_EQ(picker.SelectedEntry()->key, "1");
    picker.SetQuery("ord ship");
    EXPECT_EQ(picker.RowCount(), 2);
}

TEST(ReplyPicker, ArrowAndPageKeysStayInsideTheListAndANewQuerySelectsTheBest)
{
    std::vector<TSearchEntry> entries;
    for (int i = 0; i < 30; ++i)
        entries.push_back(Entry(std::to_string(i), "Reply " + std::to_string(i), "text"));
    entries.push_back(Entry("x", "Unique", "first line\r\nsecond"));
    TReplyPicker picker(TReplySearch(entries), TRecentDeliveries("x"));
    EXPECT_EQ(picker.CellText(0, PickerColumnName), "Unique");
    EXPECT_EQ(picker.CellText(0, PickerColumnText), "first line");
    picker.Move(TPickerMove::Up, 10);
    EXPECT_EQ(picker.Selected(), 0);
    picker.Move(TPickerMove::PageDown, 10);
    EXPECT_EQ(picker.Selected(), 9);
    picker.Move(TPickerMove::PageDown, 10);
    picker.Move(TPickerMove::PageDown, 10);
    picker.Move(TPickerMove::PageDown, 10);
    EXPECT_EQ(picker.Selected(), 30);
    picker.Move(TPickerMove::Down, 10);
    EXPECT_EQ(picker.Selected(), 30);

    picker.SetQuery("reply 7");
    ASSERT_EQ(picker.RowCount(), 3); // 7, then 17 and 27 with the 7 inside a number
    EXPECT_EQ(picker.SelectedEntry()->key, "7");
    picker.SetQuery("nothing like it");
    EXPECT_EQ(picker.Selected(), -1);
    EXPECT_EQ(picker.SelectedEntry(), nullptr);
    picker.Move(TPickerMove::Down, 10);
    EXPECT_EQ(picker.Selected(), -1);
}

TEST(ReplyPicker, TypingOnNarrowsTheListAndErasingWidensItAgain)
{
    const std::vector<TSearchEntry> entries = {Entry("1", "Orders", "ship it"), Entry("2", "Shipping", "order"),
        Entry("3", "Invoice", "sent"), Entry("4", "Shop hours", "open")};
    const TRecentDeliveries recent("4");
    TReplyPicker picker(TReplySearch(entries), recent);
    const TReplySearch fresh(entries);
    for (const std::string box : {"s", "sh", "shi", "ship", "ship ", "ship o", "sh", "s", "", "o", "op"}) {
        picker.SetQuery(box);
        std::vector<std::string> shown;
        for (int row = 0; row < picker.RowCount(); ++row)
            shown.push_back(picker.EntryAt(row).key);
        EXPECT_EQ(shown, KeysFound(fresh, box, recent)) << "box \"" << box << "\"";
    }
}

TEST(ReplyPicker, OpensBelowTheCaretAboveItAtTheBottomAndCentredWithoutOne)
{
    const TScreenRect work{0, 0, 1024, 740};
    EXPECT_EQ(PlacePicker(TScreenRect{100, 200, 102, 216}, work, 500, 400), (TScreenPoint{100, 218}));
    EXPECT_EQ(PlacePicker(TScreenRect{900, 600, 902, 616}, work, 500, 400), (TScreenPoint{524, 198}));
    EXPECT_EQ(PlacePicker(std::nullopt, work, 500, 400), (TScreenPoint{262, 170}));
    // A second monitor left of the first.
    EXPECT_EQ(PlacePicker(std::nullopt, TScreenRect{-1280, 0, 0, 1024}, 500, 400), (TScreenPoint{-890, 312}));
}

TEST(ExcludedPrograms, MatchTheFileNameWithoutRegardToCaseAndNothingElse)
{
    const std::string setting = " KeePass.exe ;;mstsc.EXE;";
    EXPECT_TRUE(IsExcludedProgram("C:\\Program Files\\KeePass\\keepass.exe", setting));
    EXPECT_TRUE(IsExcludedProgram("MSTSC.exe", setting));
    EXPECT_FALSE(IsExcludedProgram("C:\\Tools\\pass.exe", setting));
    EXPECT_FALSE(IsExcludedProgram("C:\\KeePass.exe\\notepad.exe", setting));
    EXPECT_FALSE(IsExcludedProgram("", setting));
    EXPECT_FALSE(IsExcludedProgram("notepad.exe", ""));
    EXPECT_EQ(ExcludedProgramNames(setting), (std::vector<std::string>{"KeePass.exe", "mstsc.EXE"}));
    EXPECT_EQ(JoinExcludedPrograms({" game.exe", "", "a.exe;b.exe"}), "game.exe;a.exe;b.exe");
}

} // namespace
} // namespace corvane::testing
