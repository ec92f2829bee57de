#pragma once
// The team library as a set of changes that are never rewritten. Each entry
// (folder or reply) has an id chosen at random where it was made; each change
// of an entry (add, rename, move, new text, macro or hot key, delete) is one
// change record naming the entry, what the entry now is, and the changes it
// replaces. A record is written once, by the computer that made it, under a
// key no other computer can choose (its computer tag and its own counter).
// What the library shows is a merge of all records that depends only on the
// set of records, never on the order they arrived in, on clocks or on file
// times.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace corvane {

struct TTeamEntryState {
    bool deleted = false;
    bool folder = false;
    std::string parent; // the id of the folder holding it; empty: the team library's top
    std::string name;
    std::string macro;
    std::string hotKey;
    std::vector<std::string> lines; // a reply's RTF body
    bool operator==(const TTeamEntryState&) const = default;
};

struct TTeamChange {
    std::string entry; // the entry's id
    std::string key; // "<computer tag>.<counter>", unique across all computers
    std::vector<std::string> replaces; // keys of the same entry's changes this one follows
    TTeamEntryState state;
    bool operator==(const TTeamChange&) const = default;
};

// The record as single-byte text with CR LF line ends; its last line is
// "end", so a record half copied by a sync client does not parse.
std::string FormatTeamChange(const TTeamChange& change);
std::optional<TTeamChange> ParseTeamChange(const std::string& bytes);
// "<key>.chg"; the key when `fileName` is such a name.
std::string TeamChangeFileName(const std::string& key);
std::optional<std::string> TeamChangeKeyOf(const std::string& fileName);
// The computer's name in a key ("DESK-7" of "DESK-7-1a2b3c4d.12").
std::string ComputerNameOfKey(const std::string& key);
// The computer's tag in a key ("DESK-7-1a2b3c4d" of "DESK-7-1a2b3c4d.12").
std::string TagOfKey(const std::string& key);

// One computer's fold of every change it knew at one moment, so its own
// change files can leave the team folder: the keys it covers, the keys any
// of them replaces, and the changes among them that nothing replaces
// (deletes left out: what they replaced is in `replaced`). Written once
// under a new number, by that computer only; a newer fold of the same
// computer covers all an older one did.
struct TTeamFold {
    std::string tag;
    long long number = 0;
    std::set<std::string> covers;
    std::set<std::string> replaced;
    std::vector<TTeamChange> heads;
};
std::string FormatTeamFold(const TTeamFold& fold);
std::optional<TTeamFold> ParseTeamFold(const std::string& bytes);
// "<tag>.<number>.fold"; the tag and number when `fileName` is such a name.
std::string TeamFoldFileName(const std::string& tag, long long number);
std::optional<std::pair<std::string, long long>> TeamFoldOf(const std::string& fileName);

// One entry as shown. An entry changed on two computers from the same
// change shows once per version, each naming the computer it comes from.
struct TTeamShownEntry {
    std::string entry;
    std::string head; // the key of the change shown; a change here replaces it
    std::string parent; // the shown folder's entry id; empty: the top
    bool folder = false;
    std::string name; // with "(<computer>'s version)" for a version in conflict
    std::string macro;
    std::string hotKey;
    std::vector<std::string> lines;
    bool conflict = false;
};

// Every shown entry, a folder before what it holds, siblings in name order.
struct TTeamView {
    std::vector<TTeamShownEntry> entries;
    // Per entry id, the positions of its versions in `entries`.
    std::map<std::string, std::vector<size_t>> byEntry;
    const TTeamShownEntry* Find(const std::string& entry) const;
};

using TTeamChanges = std::map<std::string, TTeamChange>; // by key

// The changes of each entry that no other change of it replaces, nor a
// fold says are replaced (`replacedInFolds`: the changes replacing them may
// have left the team folder).
std::map<std::string, std::vector<const TTeamChange*>> TeamHeads(
    const TTeamChanges& changes, const std::set<std::string>& replacedInFolds = {});
TTeamView MergeTeamChanges(const TTeamChanges& changes, const std::set<std::string>& replacedInFolds = {});

} // namespace corvane
