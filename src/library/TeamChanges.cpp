#include "library/TeamChanges.h"

#include "library/IndexFormat.h"
#include "library/TextUtils.h"

#include <algorithm>
#include <set>

namespace corvane {

namespace {

constexpr const char* kFirstLine = "Corvane team change 1";
constexpr const char* kChangeExtension = ".chg";

// A field's value when `line` is "<field> <value>".
std::optional<std::string> FieldOf(const std::string& line, const std::string& field)
{
    if (line.size() < field.size() + 1 || line.compare(0, field.size(), field) != 0 || line[field.size()] != ' ')
        return std::nullopt;
    return line.substr(field.size() + 1);
}

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

// No line break may end up inside a one-line field.
std::string OneLine(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

} // namespace

std::string FormatTeamChange(const TTeamChange& change)
{
    const TTeamEntryState& s = change.state;
    std::string replaces;
    for (const std::string& key : change.replaces)
        replaces += (replaces.empty() ? "" : " ") + key;
    std::vector<std::string> lines{kFirstLine, "entry " + change.entry, "change " + change.key, "replaces " + replaces,
        std::string("kind ")
            + (s.deleted       ? "deleted"
                    : s.folder ? "folder"
                               : "reply"),
        "parent " + s.parent, "name " + OneLine(s.name), "macro " + OneLine(s.macro), "hotkey " + OneLine(s.hotKey),
        "text " + std::to_string(s.lines.size())};
    for (const std::string& line : s.lines)
        lines.push_back(OneLine(line));
    lines.emplace_back("end");
    return JoinTextLines(lines);
}

namespace {

// The change record starting at `lines[at]`; `at` moves past it.
std::optional<TTeamChange> ParseTeamChangeAt(const std::vector<std::string>& lines, size_t& at)
{
    if (lines.size() < at + 11 || lines[at] != kFirstLine)
        return std::nullopt;
    const char* fields[] = {"entry", "change", "replaces", "kind", "parent", "name", "macro", "hotkey", "text"};
    std::vector<std::string> values;
    for (size_t i = 0; i < std::size(fields); ++i) {
        std::optional<std::string> value = FieldOf(lines[at + i + 1], fields[i]);
        if (!value)
            return std::nullopt;
        values.push_back(*value);
    }
    TTeamChange change;
    change.entry = values[0];
    change.key = values[1];
    change.replaces = Words(values[2]);
    const std::string& kind = values[3];
    if (change.entry.empty() || !TeamChangeKeyOf(TeamChangeFileName(change.key))
        || (kind != "deleted" && kind != "folder" && kind != "reply"))
        return std::nullopt;
    change.state.deleted = kind == "deleted";
    change.state.folder = kind == "folder";
    change.state.parent = values[4];
    change.state.name = values[5];
    change.state.macro = values[6];
    change.state.hotKey = values[7];
    const std::string& count = values[8];
    if (count.empty() || count.size() > 9
        || !std::all_of(count.begin(), count.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const size_t textLines = std::stoul(count);
    const size_t end = at + 10 + textLines;
    if (lines.size() <= end || lines[end] != "end")
        return std::nullopt;
    change.state.lines.assign(
        lines.begin() + static_cast<std::ptrdiff_t>(at + 10), lines.begin() + static_cast<std::ptrdiff_t>(end));
    at = end + 1;
    return change;
}

bool IsCount(const std::string& text)
{
    return !text.empty() && text.size() <= 9
        && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "<field> <count>" followed by that many keys.
bool ParseKeys(const std::vector<std::string>& lines, size_t& at, const char* field, std::set<std::string>& keys)
{
    const std::optional<std::string> count = at < lines.size() ? FieldOf(lines[at], field) : std::nullopt;
    if (!count || !IsCount(*count) || lines.size() < at + 1 + std::stoul(*count))
        return false;
    const size_t n = std::stoul(*count);
    keys.insert(
        lines.begin() + static_cast<std::ptrdiff_t>(at + 1), lines.begin() + static_cast<std::ptrdiff_t>(at + 1 + n));
    at += 1 + n;
    return true;
}

} // namespace

std::optional<TTeamChange> ParseTeamChange(const std::string& bytes)
{
    const std::vector<std::string> lines = SplitTextLines(bytes);
    size_t at = 0;
    std::optional<TTeamChange> change = ParseTeamChangeAt(lines, at);
    return change && at == lines.size() ? change : std::nullopt;
}

namespace {

constexpr const char* kFoldFirstLine = "Corvane team fold 1";
constexpr const char* kFoldLastLine = "end of fold";
constexpr const char* kFoldExtension = ".fold";

} // namespace

std::string FormatTeamFold(const TTeamFold& fold)
{
    std::vector<std::string> lines{kFoldFirstLine, "computer " + fold.tag, "number " + std::to_string(fold.number),
        "covers " + std::to_string(fold.covers.size())};
    lines.insert(lines.end(), fold.covers.begin(), fold.covers.end());
    lines.push_back("replaced " + std::to_string(fold.replaced.size()));
    lines.insert(lines.end(), fold.replaced.begin(), fold.replaced.end());
    lines.push_back("changes " + std::to_string(fold.heads.size()));
    for (const TTeamChange& change : fold.heads) {
        const std::vector<std::string> record = SplitTextLines(FormatTeamChange(change));
        lines.insert(lines.end(), record.begin(), record.end());
    }
    lines.emplace_back(kFoldLastLine);
    return JoinTextLines(lines);
}

std::optional<TTeamFold> ParseTeamFold(const std::string& bytes)
{
    const std::vector<std::string> lines = SplitTextLines(bytes);
    // A fold half copied by a sync client does not end with its last line.
    if (lines.size() < 8 || lines[0] != kFoldFirstLine || lines.back() != kFoldLastLine)
        return std::nullopt;
    TTeamFold fold;
    const std::optional<std::string> tag = FieldOf(lines[1], "computer");
    const std::optional<std::string> number = FieldOf(lines[2], "number");
    if (!tag || tag->empty() || !number || !IsCount(*number))
        return std::nullopt;
    fold.tag = *tag;
    fold.number = std::stoll(*number);
    size_t at = 3;
    if (!ParseKeys(lines, at, "covers", fold.covers) || !ParseKeys(lines, at, "replaced", fold.replaced))
        return std::nullopt;
    const std::optional<std::string> count = at < lines.size() ? FieldOf(lines[at], "changes") : std::nullopt;
    if (!count || !IsCount(*count))
        return std::nullopt;
    ++at;
    for (size_t i = std::stoul(*count); i > 0; --i) {
        std::optional<TTeamChange> change = ParseTeamChangeAt(lines, at);
        if (!change)
            return std::nullopt;
        fold.heads.push_back(std::move(*change));
    }
    if (at + 1 != lines.size())
        return std::nullopt;
    return fold;
}

std::string TeamFoldFileName(const std::string& tag, long long number)
{
    return tag + "." + std::to_string(number) + kFoldExtension;
}

std::optional<std::pair<std::string, long long>> TeamFoldOf(const std::string& fileName)
{
    const std::string extension = kFoldExtension;
    if (fileName.size() <= extension.size()
        || !SameTextIgnoringCase(fileName.substr(fileName.size() - extension.size()), extension))
        return std::nullopt;
    // The same shape as a change key: a sync client's renamed copy is none.
    const std::optional<std::string> key
        = TeamChangeKeyOf(fileName.substr(0, fileName.size() - extension.size()) + ".chg");
    if (!key)
        return std::nullopt;
    const std::string digits = key->substr(key->find_last_of('.') + 1);
    if (!IsCount(digits))
        return std::nullopt;
    return std::make_pair(TagOfKey(*key), std::stoll(digits));
}

std::string TeamChangeFileName(const std::string& key) { return key + kChangeExtension; }

std::optional<std::string> TeamChangeKeyOf(const std::string& fileName)
{
    const std::string extension = kChangeExtension;
    if (fileName.size() <= extension.size()
        || !SameTextIgnoringCase(fileName.substr(fileName.size() - extension.size()), extension))
        return std::nullopt;
    std::string key = fileName.substr(0, fileName.size() - extension.size());
    // "<tag>.<counter>": a copy a sync client renamed ("x.12 (conflicted copy)") is no key.
    const size_t dot = key.find_last_of('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == key.size()
        || !std::all_of(
            key.begin() + static_cast<std::ptrdiff_t>(dot) + 1, key.end(), [](char c) { return c >= '0' && c <= '9'; })
        || !IsPlainPathComponent(key + kChangeExtension) || key.find(' ') != std::string::npos)
        return std::nullopt;
    return key;
}

std::string TagOfKey(const std::string& key) { return key.substr(0, key.find_last_of('.')); }

std::string ComputerNameOfKey(const std::string& key)
{
    const std::string tag = TagOfKey(key);
    const size_t dash = tag.find_last_of('-');
    return dash == std::string::npos ? tag : tag.substr(0, dash);
}

const TTeamShownEntry* TTeamView::Find(const std::string& entry) const
{
    const auto it = byEntry.find(entry);
    return it == byEntry.end() ? nullptr : &entries[it->second.front()];
}

std::map<std::string, std::vector<const TTeamChange*>> TeamHeads(
    const TTeamChanges& changes, const std::set<std::string>& replacedInFolds)
{
    std::map<std::string, std::set<std::string>> replaced; // per entry
    for (const auto& [key, change] : changes)
        for (const std::string& old : change.replaces)
            replaced[change.entry].insert(old);
    std::map<std::string, std::vector<const TTeamChange*>> heads;
    // The map is in key order, so each entry's heads are too.
    for (const auto& [key, change] : changes)
        if (!replaced[change.entry].count(key) && !replacedInFolds.count(key))
            heads[change.entry].push_back(&change);
    return heads;
}

namespace {

// Each shown entry's folder, with every cycle that moves made on two
// computers can close (A into B here, B into A there) broken at the entry
// with the least id, which goes to the top.
std::map<std::string, std::string> ResolveParents(const std::map<std::string, const TTeamChange*>& shown)
{
    std::map<std::string, std::string> parentOf;
    for (const auto& [entry, change] : shown) {
        const auto parent = shown.find(change->state.parent);
        const bool usable = parent != shown.end() && parent->second->state.folder && parent->first != entry;
        parentOf[entry] = usable ? parent->first : std::string();
    }
    std::set<std::string> settled;
    for (const auto& start : parentOf) {
        std::vector<std::string> path;
        std::string at = start.first;
        while (!at.empty() && !settled.count(at)) {
            const auto seen = std::find(path.begin(), path.end(), at);
            if (seen != path.end()) {
                parentOf[*std::min_element(seen, path.end())].clear();
                path.clear();
                at = start.first;
                continue;
            }
            path.push_back(at);
            at = parentOf[at];
        }
        settled.insert(path.begin(), path.end());
    }
    return parentOf;
}

bool ShownBefore(const TTeamShownEntry& a, const TTeamShownEntry& b)
{
    if (a.folder != b.folder)
        return a.folder;
    const int byName = CompareTextIgnoringCase(a.name, b.name);
    if (byName != 0)
        return byName < 0;
    return a.entry != b.entry ? a.entry < b.entry : a.head < b.head;
}

} // namespace

TTeamView MergeTeamChanges(const TTeamChanges& changes, const std::set<std::string>& replacedInFolds)
{
    // A delete never hides a change made beside it on another computer: only
    // the versions still alive are shown.
    std::map<std::string, std::vector<const TTeamChange*>> alive;
    for (auto& [entry, heads] : TeamHeads(changes, replacedInFolds)) {
        std::vector<const TTeamChange*> live;
        std::copy_if(heads.begin(), heads.end(), std::back_inserter(live),
            [](const TTeamChange* head) { return !head->state.deleted; });
        if (!live.empty())
            alive[entry] = std::move(live);
    }
    // An entry's place comes from its first version (least key).
    std::map<std::string, const TTeamChange*> first;
    for (const auto& [entry, versions] : alive)
        first[entry] = versions.front();
    const std::map<std::string, std::string> parentOf = ResolveParents(first);

    std::map<std::string, std::vector<TTeamShownEntry>> children; // by parent id
    for (const auto& [entry, versions] : alive)
        for (const TTeamChange* version : versions) {
            TTeamShownEntry shown;
            shown.entry = entry;
            shown.head = version->key;
            shown.parent = parentOf.at(entry);
            shown.folder = versions.front()->state.folder;
            shown.conflict = versions.size() > 1;
            shown.name = version->state.name;
            if (shown.conflict)
                shown.name += " (" + ComputerNameOfKey(version->key) + "'s version)";
            shown.macro = version->state.macro;
            shown.hotKey = version->state.hotKey;
            shown.lines = version->state.lines;
            children[shown.parent].push_back(std::move(shown));
        }
    for (auto& [parent, list] : children)
        std::sort(list.begin(), list.end(), ShownBefore);

    TTeamView view;
    // Depth first from the top; a folder in conflict holds its entries under
    // its first version only.
    std::vector<std::pair<std::string, size_t>> stack{{std::string(), 0}};
    while (!stack.empty()) {
        auto& [parent, next] = stack.back();
        const auto list = children.find(parent);
        if (list == children.end() || next >= list->second.size()) {
            stack.pop_back();
            continue;
        }
        TTeamShownEntry& shown = list->second[next++];
        const bool firstVersion = !view.byEntry.count(shown.entry);
        view.byEntry[shown.entry].push_back(view.entries.size());
        view.entries.push_back(std::move(shown));
        const TTeamShownEntry& added = view.entries.back();
        if (added.folder && firstVersion)
            stack.emplace_back(added.entry, 0);
    }
    return view;
}

} // namespace corvane
