// The team library as change files: what two or more computers see after
// they made changes at the same time, offline, through a sync client that
// copies late and in any order, or on a share that answers from its cache.
#include "fakes/MemoryFileSystem.h"
#include "fakes/ShareClient.h"
#include "fakes/SyncStandIn.h"
#include "library/TeamChanges.h"
#include "library/TeamReplica.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>

namespace corvane::testing {
namespace {

using fakes::MemoryFileSystem;

const std::string kTeam = "D:\\Synced\\Team";

TTeamEntryState Reply(const std::string& name, const std::string& parent = {}, const std::string& text = "body")
{
    TTeamEntryState s;
    s.name = name;
    s.parent = parent;
    s.lines = {"{\\rtf1 " + text + "}"};
    return s;
}

TTeamEntryState Folder(const std::string& name, const std::string& parent = {})
{
    TTeamEntryState s;
    s.folder = true;
    s.name = name;
    s.parent = parent;
    return s;
}

// One computer: its own disk, its synced folder on it, its copy of the
// team's changes, and random ids of its own.
struct Computer {
    Computer(const std::string& name, unsigned seed) : random(seed)
    {
        disk.PutDir("C:\\Local");
        replica = std::make_unique<TTeamReplica>(disk, "C:\\Local\\TeamCopy", name, [this] {
            std::string id;
            for (int i = 0; i < 4; ++i)
                id += std::to_string(random());
            return id;
        });
        (void)replica->Open();
    }
    TTeamExchange Exchange() { return replica->Exchange(disk, kTeam); }
    const TTeamShownEntry* Named(const std::string& name) const
    {
        for (const TTeamShownEntry& e : replica->View().entries)
            if (e.name == name)
                return &e;
        return nullptr;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const TTeamShownEntry& e : replica->View().entries)
            names.push_back(e.name);
        return names;
    }

    std::mt19937 random;
    MemoryFileSystem disk;
    std::unique_ptr<TTeamReplica> replica;
};

// Computers whose team folders a sync client joins.
struct SyncedTeam {
    explicit SyncedTeam(int count, unsigned seed = 1) : random(seed)
    {
        for (int i = 0; i < count; ++i) {
            computers.push_back(std::make_unique<Computer>("PC" + std::to_string(i + 1), seed * 100 + i));
            sync.Join(computers.back()->disk, kTeam, "PC" + std::to_string(i + 1));
        }
    }
    // Exchanges and syncs until no computer takes in anything new.
    void Settle()
    {
        for (int round = 0; round < 20; ++round) {
            int moved = 0;
            for (auto& c : computers) {
                const TTeamExchange e = c->Exchange();
                moved += e.sent + e.arrived + e.removed + (e.folded || e.foldsArrived ? 1 : 0);
            }
            const bool copied = sync.Step(random);
            sync.SyncAll(random);
            if (moved == 0 && !copied)
                return;
        }
        FAIL() << "the computers never settled";
    }
    Computer& operator[](size_t i) { return *computers[i]; }
    void FoldEvery(int changes)
    {
        for (auto& c : computers)
            c->replica->SetFoldEvery(changes);
    }
    // A computer that joins the team now, with nothing of it kept yet.
    Computer& Join(unsigned seed)
    {
        const std::string name = "PC" + std::to_string(computers.size() + 1);
        computers.push_back(std::make_unique<Computer>(name, seed));
        sync.Join(computers.back()->disk, kTeam, name);
        return *computers.back();
    }

    std::mt19937 random;
    fakes::SyncStandIn sync;
    std::vector<std::unique_ptr<Computer>> computers;
};

std::string Describe(const TTeamView& view)
{
    std::string text;
    for (const TTeamShownEntry& e : view.entries) {
        text += e.entry + "|" + e.head + "|" + e.parent + "|" + e.name + "|" + e.macro + "|" + e.hotKey + "|";
        for (const std::string& line : e.lines)
            text += line;
        text += "\n";
    }
    return text;
}

TEST(TeamChanges, ARecordCutShortBySyncIsNotTakenInUntilItIsWhole)
{
    TTeamChange change{"e1", "PC1-ab.3", {"PC1-ab.2"}, Reply("Sig", "f1", "Regards")};
    change.state.macro = "sig";
    const std::string bytes = FormatTeamChange(change);
    EXPECT_EQ(ParseTeamChange(bytes), change);
    for (size_t cut : {bytes.size() / 2, bytes.size() - 5})
        EXPECT_FALSE(ParseTeamChange(bytes.substr(0, cut))) << cut;
    // A name with a line break stays one field.
    change.state.name = "two\r\nlines";
    EXPECT_EQ(ParseTeamChange(FormatTeamChange(change))->state.name, "two  lines");
    // A sync client's renamed copy of a change file is no change file.
    EXPECT_FALSE(TeamChangeKeyOf("PC1-ab.3 (PC2's conflicted copy).chg"));
    EXPECT_EQ(TeamChangeKeyOf("PC1-ab.3.chg"), "PC1-ab.3");
    EXPECT_EQ(ComputerNameOfKey("DESK-7-1a2b3c4d.12"), "DESK-7");
}

TEST(TeamChanges, TwoAddsAtTheSameMomentWithOneNameBothArrive)
{
    SyncedTeam team(2);
    team[0].replica->Add(Reply("Greeting", {}, "Hello from one"));
    team[1].replica->Add(Reply("Greeting", {}, "Hello from two"));
    team.Settle();
    ASSERT_EQ(team[0].replica->View().entries.size(), 2u);
    EXPECT_EQ(Describe(team[0].replica->View()), Describe(team[1].replica->View()));
    std::set<std::string> texts;
    for (const TTeamShownEntry& e : team[1].replica->View().entries)
        texts.insert(e.lines.at(0));
    EXPECT_EQ(texts, (std::set<std::string>{"{\\rtf1 Hello from one}", "{\\rtf1 Hello from two}"}));
}

TEST(TeamChanges, OneReplyEditedOnTwoOfflineComputersShowsBothVersionsUntilOneIsDeleted)
{
    SyncedTeam team(2);
    team[0].replica->Add(Reply("Offer", {}, "v1"));
    team.Settle();
    team.sync.SetOnline(0, false);
    team.sync.SetOnline(1, false);
    TTeamShownEntry seenOn0 = *team[0].Named("Offer");
    TTeamShownEntry seenOn1 = *team[1].Named("Offer");
    team[0].replica->Change(seenOn0, Reply("Offer", {}, "ten percent"));
    team[1].replica->Change(seenOn1, Reply("Offer", {}, "twenty percent"));
    team.Settle();
    team.sync.SetOnline(0, true);
    team.sync.SetOnline(1, true);
    team.Settle();
    EXPECT_EQ(Describe(team[0].replica->View()), Describe(team[1].replica->View()));
    const TTeamShownEntry* mine = team[1].Named("Offer (PC1's version)");
    const TTeamShownEntry* theirs = team[1].Named("Offer (PC2's version)");
    ASSERT_TRUE(mine && theirs);
    EXPECT_EQ(mine->lines.at(0), "{\\rtf1 ten percent}");
    EXPECT_EQ(theirs->lines.at(0), "{\\rtf1 twenty percent}");
    // The user keeps one: the other name loses its suffix everywhere.
    team[1].replica->Delete(*mine);
    team.Settle();
    EXPECT_EQ(team[0].Names(), std::vector<std::string>{"Offer"});
    EXPECT_EQ(team[0].Named("Offer")->lines.at(0), "{\\rtf1 twenty percent}");
}

// A change that leaves the entry as it was is no change: nothing to send,
// and the next real change follows the version it was made on.
TEST(TeamChanges, AChangeThatChangesNothingIsNotRecorded)
{
    SyncedTeam team(2);
    team[0].replica->Add(Reply("Offer", {}, "v1"));
    team.Settle();
    const TTeamShownEntry seen = *team[1].Named("Offer");
    const size_t known = team[1].replica->Changes().size();
    EXPECT_EQ(team[1].replica->Change(seen, Reply("Offer", {}, "v1")), seen.head);
    EXPECT_EQ(team[1].replica->Changes().size(), known);
    EXPECT_EQ(team[1].replica->Unsent(), 0);
    team[1].replica->Change(seen, Reply("Offer", {}, "v2"));
    team.Settle();
    EXPECT_EQ(team[0].Names(), std::vector<std::string>{"Offer"});
    EXPECT_EQ(team[0].Named("Offer")->lines.at(0), "{\\rtf1 v2}");
}

// A computer that has written neither a change nor a fold is known to no
// other, so a delete's file can leave the team folder before it read it:
// the fold it reads instead tells what the delete replaced.
TEST(TeamChanges, AFoldTellsAComputerThatMissedADeleteWhatWasDeleted)
{
    SyncedTeam team(3);
    team.FoldEvery(1);
    team[2].replica->SetFoldEvery(1000);
    team[0].replica->Add(Reply("Offer"));
    team[1].replica->Add(Reply("Price"));
    team.Settle();
    ASSERT_NE(team[2].Named("Offer"), nullptr);
    team.sync.SetOnline(1, false);
    team.sync.SetOnline(2, false);
    const std::vector<std::string> deletes = team[0].replica->Delete(*team[0].Named("Offer"));
    ASSERT_EQ(deletes.size(), 1u);
    team.Settle();
    const std::string deleteFile = TeamChangesFolder(kTeam) + "\\" + TeamChangeFileName(deletes[0]);
    EXPECT_TRUE(team[0].disk.Has(deleteFile)) << "taken out before PC2, which wrote changes, folded it";
    team.sync.SetOnline(1, true);
    team.Settle();
    EXPECT_FALSE(team[1].disk.Has(deleteFile)) << "the delete was folded everywhere and its file taken out";
    team.sync.SetOnline(2, true);
    team.Settle();
    EXPECT_TRUE(team[2].replica->EntryOf(deletes[0]).empty()) << "the delete itself never reached PC3";
    EXPECT_EQ(team[2].Names(), std::vector<std::string>{"Price"});
    EXPECT_EQ(Describe(team[2].replica->View()), Describe(team[0].replica->View()));
    (void)team[2].replica->Open();
    EXPECT_EQ(team[2].Names(), std::vector<std::string>{"Price"}) << "after a restart";
}

// A computer that wrote changes and then never folded (gone for good, or
// away for weeks) keeps the others' files in place only for a while, by
// each one's own clock; if it comes back it still gets everything.
TEST(TeamChanges, AComputerThatNeverFoldsHoldsFilesInPlaceOnlyForAWhile)
{
    SyncedTeam team(2);
    long long clock = 1000000;
    team[0].replica->SetFoldEvery(1);
    team[0].replica->SetFoldAge(30LL * 24 * 3600, [&clock] { return clock; });
    team[1].replica->SetFoldEvery(1000);
    team[1].replica->Add(Reply("Price"));
    team.Settle();
    team.sync.SetOnline(1, false);
    const std::string offer = team[0].replica->Add(Reply("Offer"));
    team.Settle();
    const std::string offerFile = TeamChangesFolder(kTeam) + "\\" + TeamChangeFileName(offer);
    clock += 29LL * 24 * 3600;
    (void)team[0].Exchange();
    EXPECT_TRUE(team[0].disk.Has(offerFile)) << "PC2 wrote changes and has not folded this one";
    clock += 2LL * 24 * 3600;
    EXPECT_GT(team[0].Exchange().removed, 0);
    EXPECT_FALSE(team[0].disk.Has(offerFile));
    team.sync.SetOnline(1, true);
    team.Settle();
    EXPECT_EQ(team[1].Names(), (std::vector<std::string>{"Offer", "Price"}));
    EXPECT_EQ(Describe(team[1].replica->View()), Describe(team[0].replica->View()));
}

TEST(TeamChanges, AFolderDeletedHereKeepsWhatAnotherComputerAddedToItMeanwhile)
{
    SyncedTeam team(2);
    team[0].replica->Add(Folder("Sales"));
    const std::string sales = team[0].replica->View().entries.at(0).entry;
    team[0].replica->Add(Reply("Old price", sales));
    team.Settle();
    team[1].replica->Add(Reply("New price", sales, "added on two"));
    team[0].replica->Delete(*team[0].Named("Sales"));
    team.Settle();
    EXPECT_EQ(team[0].Names(), std::vector<std::string>{"New price"});
    EXPECT_EQ(team[1].Names(), std::vector<std::string>{"New price"});
}

TEST(TeamChanges, FoldersMovedIntoEachOtherOnTwoComputersEndTheSameEverywhere)
{
    SyncedTeam team(2);
    team[0].replica->Add(Folder("A"));
    team[0].replica->Add(Folder("B"));
    team.Settle();
    const TTeamShownEntry a = *team[0].Named("A");
    const TTeamShownEntry b = *team[1].Named("B");
    team[0].replica->Change(a, Folder("A", b.entry));
    team[1].replica->Change(b, Folder("B", a.entry));
    team.Settle();
    const TTeamView& view = team[0].replica->View();
    EXPECT_EQ(Describe(view), Describe(team[1].replica->View()));
    ASSERT_EQ(view.entries.size(), 2u);
    EXPECT_TRUE(view.entries[0].parent.empty());
    EXPECT_EQ(view.entries[1].parent, view.entries[0].entry);
}

TEST(TeamChanges, ChangesMadeWhileTheFolderIsGoneAreKeptOverARestartAndSentWhenItIsBack)
{
    MemoryFileSystem server;
    server.PutDir("\\\\srv\\team");
    long long clock = 0;
    fakes::ShareClient share(server, clock);
    share.reachable = false;
    Computer pc("PC1", 7);
    pc.replica->Add(Reply("Draft"));
    EXPECT_FALSE(pc.replica->Exchange(share, "\\\\srv\\team").reachable);
    // The program ends and starts again while the share is still gone.
    TTeamReplica again(pc.disk, "C:\\Local\\TeamCopy", "PC1", [] { return std::string("fresh-id"); });
    EXPECT_TRUE(again.Open());
    EXPECT_EQ(again.Unsent(), 1);
    EXPECT_EQ(again.View().entries.at(0).name, "Draft");
    share.reachable = true;
    EXPECT_EQ(again.Exchange(share, "\\\\srv\\team").sent, 1);
    EXPECT_EQ(again.Unsent(), 0);
    // A new change after the restart does not reuse the first one's key.
    again.Add(Reply("Second"));
    EXPECT_EQ(again.Exchange(share, "\\\\srv\\team").sent, 1);
    EXPECT_EQ(server.NamesIn(TeamChangesFolder("\\\\srv\\team")).size(), 2u);
}

TEST(TeamChanges, OnAShareFilesHeldOpenAndStaleCachesDelayButLoseNothing)
{
    MemoryFileSystem server;
    server.PutDir("\\\\srv\\team");
    // Antivirus and backup hold every file open without delete sharing.
    server.heldOpen = [](const std::string&) { return true; };
    long long clock1 = 1000000, clock2 = 1000000 + 20 * 60 * 1000; // the second clock runs 20 min ahead
    fakes::ShareClient share1(server, clock1), share2(server, clock2);
    Computer pc1("PC1", 1), pc2("PC2", 2);
    EXPECT_EQ(pc2.replica->Exchange(share2, "\\\\srv\\team").arrived, 0); // lists the empty folder: cached
    pc1.replica->Add(Reply("Fresh"));
    ASSERT_EQ(pc1.replica->Exchange(share1, "\\\\srv\\team").sent, 1);
    // The second computer's listing is still the cached one.
    clock2 += 2000;
    EXPECT_EQ(pc2.replica->Exchange(share2, "\\\\srv\\team").arrived, 0);
    clock2 += fakes::ShareClient::kListingMilliseconds;
    EXPECT_EQ(pc2.replica->Exchange(share2, "\\\\srv\\team").arrived, 1);
    pc2.replica->Change(*pc2.Named("Fresh"), Reply("Fresh", {}, "edited on two"));
    EXPECT_EQ(pc2.replica->Exchange(share2, "\\\\srv\\team").sent, 1);
    clock1 += fakes::ShareClient::kListingMilliseconds;
    EXPECT_EQ(pc1.replica->Exchange(share1, "\\\\srv\\team").arrived, 1);
    EXPECT_EQ(Describe(pc1.replica->View()), Describe(pc2.replica->View()));
    EXPECT_EQ(pc1.Named("Fresh")->lines.at(0), "{\\rtf1 edited on two}");
}

TEST(TeamChanges, ATeamFolderInTheOlderLayoutIsTakenInWithItsConflictCopiesOnceByAnyNumberOfComputers)
{
    SyncedTeam team(2);
    MemoryFileSystem& disk = team[0].disk;
    disk.PutFile(kTeam + "\\index.sub", "REPLY_1?Hello\r\nFOLDER_2?Sales\r\n");
    disk.PutFile(kTeam + "\\1.rep", "hi\r\n1H\r\n{\\rtf1 Hello}\r\n");
    disk.PutFile(kTeam + "\\2\\index.sub", "REPLY_1?Price\r\n");
    disk.PutFile(kTeam + "\\2\\1.rep", "\r\n\r\n{\\rtf1 Ten}\r\n");
    // What a sync client left of two computers saving at once.
    disk.PutFile(kTeam + "\\2\\index (PC2's conflicted copy).sub", "REPLY_1?Price\r\nREPLY_3?Discount\r\n");
    disk.PutFile(kTeam + "\\2\\3.rep", "\r\n\r\n{\\rtf1 Five}\r\n");
    disk.PutFile(kTeam + "\\2\\1 (PC2's conflicted copy).rep", "\r\n\r\n{\\rtf1 Twelve}\r\n");
    team.sync.SyncAll(team.random);
    // Both take the folder in before either sees the other's changes.
    EXPECT_EQ(team[0].Exchange().takenIn, 5);
    EXPECT_EQ(team[1].Exchange().takenIn, 5);
    team.Settle();
    EXPECT_EQ(Describe(team[0].replica->View()), Describe(team[1].replica->View()));
    EXPECT_EQ(team[0].Names(),
        (std::vector<std::string>{"Sales", "1 (PC2's conflicted copy).rep (found in the team folder)",
            "Discount (found in a copy of the index)", "Price", "Hello"}));
    EXPECT_EQ(team[0].Named("Hello")->macro, "hi");
    EXPECT_EQ(team[0].Named("Hello")->hotKey, "1H");
    EXPECT_EQ(team[0].Named("Price")->lines, std::vector<std::string>{"{\\rtf1 Ten}"});
    // The older files stay where they were.
    EXPECT_TRUE(disk.Has(kTeam + "\\2\\1.rep"));
}

// Several computers change the library at random, some offline for a while,
// through a sync client that copies late and in any order, each folding its
// changes now and then and taking its folded files out of the team folder.
// Once all is synced every computer shows the same library, every change
// made anywhere is on every computer, and each one is either shown or
// replaced by a later change of the same entry; the team folder holds far
// fewer files than changes were made, and a computer that joins only then
// shows the same library from what is left there.
TEST(TeamChanges, StressRandomChangesOnFourComputersConvergeAndLoseNothing)
{
    constexpr int kComputers = 4;
    constexpr int kSteps = 1500;
    SyncedTeam team(kComputers, 26);
    team.FoldEvery(60);
    std::mt19937& random = team.random;
    auto chance = [&random](int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; };
    std::set<std::string> made;
    std::vector<int> offlineFor(kComputers, 0);
    int edits = 0;
    for (int step = 0; step < kSteps; ++step) {
        const size_t who = std::uniform_int_distribution<size_t>(0, kComputers - 1)(random);
        Computer& pc = team[who];
        const TTeamView& view = pc.replica->View();
        std::vector<const TTeamShownEntry*> folders;
        for (const TTeamShownEntry& e : view.entries)
            if (e.folder)
                folders.push_back(&e);
        auto anyFolder = [&]() -> std::string {
            if (folders.empty() || chance(30))
                return {};
            return folders[std::uniform_int_distribution<size_t>(0, folders.size() - 1)(random)]->entry;
        };
        const int what = std::uniform_int_distribution<int>(0, 9)(random);
        const std::string label = "n" + std::to_string(step);
        if (view.entries.empty() || what <= 2) {
            made.insert(pc.replica->Add(what == 0 ? Folder(label, anyFolder()) : Reply(label, anyFolder(), label)));
        } else {
            const TTeamShownEntry shown
                = view.entries[std::uniform_int_distribution<size_t>(0, view.entries.size() - 1)(random)];
            TTeamEntryState next = shown.folder ? Folder(shown.name, shown.parent) : Reply(shown.name, shown.parent);
            next.lines = shown.lines;
            next.macro = shown.macro;
            if (what == 3)
                next.name = label;
            else if (what == 4)
                next.parent = anyFolder();
            else if (what == 5 && !shown.folder)
                next.lines = {"{\\rtf1 " + label + "}"};
            else if (what == 6)
                next.macro = label;
            if (what == 9) {
                for (const std::string& key : pc.replica->Delete(shown))
                    made.insert(key);
            } else {
                made.insert(pc.replica->Change(shown, next));
                ++edits;
            }
        }
        // Exchanges, sync steps and computers going offline and back.
        if (chance(40))
            (void)pc.Exchange();
        for (int s = 0; s < 3; ++s)
            (void)team.sync.Step(random);
        for (int i = 0; i < kComputers; ++i)
            if (offlineFor[i] > 0 && --offlineFor[i] == 0)
                team.sync.SetOnline(i, true);
        if (chance(2)) {
            const size_t away = std::uniform_int_distribution<size_t>(0, kComputers - 1)(random);
            offlineFor[away] = std::uniform_int_distribution<int>(20, 200)(random);
            team.sync.SetOnline(away, false);
        }
    }
    for (int i = 0; i < kComputers; ++i)
        team.sync.SetOnline(i, true);
    team.Settle();

    // A computer that took in a fold before the files it covers holds only
    // what the fold kept; each change is still held by the computer that made it.
    TTeamChanges all;
    for (int i = 0; i < kComputers; ++i) {
        EXPECT_EQ(Describe(team[i].replica->View()), Describe(team[0].replica->View())) << "computer " << i;
        all.insert(team[i].replica->Changes().begin(), team[i].replica->Changes().end());
    }
    ASSERT_EQ(made.count(""), 0u) << "a change was refused";
    // A delete removes the version it replaces; the entry may live on in a
    // version another computer made beside it.
    int shown = 0, replaced = 0, deleted = 0, deleteBesideLiveVersion = 0;
    const auto heads = TeamHeads(all);
    std::set<std::string> replacedKeys;
    for (const auto& [key, change] : all)
        replacedKeys.insert(change.replaces.begin(), change.replaces.end());
    const TTeamView& view = team[0].replica->View();
    for (const std::string& key : made) {
        ASSERT_TRUE(all.count(key)) << key << " never arrived";
        const TTeamChange& change = all.at(key);
        if (replacedKeys.count(key)) {
            ++replaced;
            continue;
        }
        if (change.state.deleted) {
            ++(view.byEntry.count(change.entry) ? deleteBesideLiveVersion : deleted);
            continue;
        }
        // A version no change replaces is shown, exactly as it was made.
        const auto versions = view.byEntry.find(change.entry);
        ASSERT_NE(versions, view.byEntry.end()) << key << " is neither shown nor replaced";
        bool found = false;
        for (size_t at : versions->second) {
            const TTeamShownEntry& e = view.entries[at];
            if (e.head == key) {
                found = true;
                EXPECT_EQ(e.name.rfind(change.state.name, 0), 0u);
                EXPECT_EQ(e.lines, change.state.lines);
                EXPECT_EQ(e.macro, change.state.macro);
            }
        }
        EXPECT_TRUE(found) << key;
        ++shown;
    }
    // Every shown entry hangs below a shown folder or the top.
    for (const TTeamShownEntry& e : view.entries)
        if (!e.parent.empty()) {
            ASSERT_NE(view.Find(e.parent), nullptr);
            EXPECT_TRUE(view.Find(e.parent)->folder);
        }
    EXPECT_EQ(shown + replaced + deleted + deleteBesideLiveVersion, static_cast<int>(made.size()));
    EXPECT_GT(shown, 0);
    EXPECT_GT(replaced, 0);

    const size_t filesLeft = team[0].disk.List(TeamChangesFolder(kTeam)).size();
    for (int i = 1; i < kComputers; ++i)
        EXPECT_EQ(team[i].disk.List(TeamChangesFolder(kTeam)).size(), filesLeft) << "computer " << i;
    EXPECT_LT(filesLeft * 4, made.size()) << "folding took too few files out";
    Computer& late = team.Join(99);
    late.replica->SetFoldEvery(60);
    team.Settle();
    EXPECT_EQ(Describe(late.replica->View()), Describe(view));
    EXPECT_LT(late.replica->Changes().size(), all.size()) << "the late computer read folds, not every change";
    std::printf("[ stress   ] %zu changes (%d edits): %d shown, %d replaced by a later change of the entry, %d "
                "deletes of a whole entry, %d deletes of one version beside a live one; %zu entries shown, %d "
                "sync conflict copies; %zu files left in the team folder, a late computer holds %zu changes\n",
        made.size(), edits, shown, replaced, deleted, deleteBesideLiveVersion, view.entries.size(),
        team.sync.ConflictCopies(), filesLeft, late.replica->Changes().size());
}

} // namespace
} // namespace corvane::testing
