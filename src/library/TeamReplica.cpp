#include "library/TeamReplica.h"

#include "library/IndexFormat.h"
#include "library/LibraryFiles.h"
#include "library/TextUtils.h"
#include "library/UnitConsts.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <set>

namespace corvane {

namespace {

constexpr const char* kChangesFolderName = "Corvane Team";
constexpr const char* kComputerFileName = "computer.txt";
constexpr const char* kImportTagStart = "import-";
constexpr const char* kFoldTimesFileName = "folded.txt";
constexpr long long kAgeLookEvery = 3600;

long long SecondsNow()
{
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}
// Deep enough for any library the program itself builds.
constexpr int kMaxTakeInDepth = 32;

std::string Hex(uint64_t value, int digits)
{
    static const char* kDigits = "0123456789abcdef";
    std::string text(static_cast<size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        text[static_cast<size_t>(i)] = kDigits[value & 15];
    return text;
}

uint64_t Fnv1a(const std::string& bytes)
{
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes)
        hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

// A computer name as one file-name part: letters, digits and "-" only.
std::string TagPart(const std::string& name)
{
    std::string part;
    for (char c : name)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')
            part += c;
    return part.empty() ? "computer" : part.substr(0, 40);
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = ToLowerAnsi(c);
    return text;
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && SameTextIgnoringCase(text.substr(text.size() - end.size()), end);
}

// Every entry of a team folder in the older layout, as changes that every
// computer taking it in writes alike: ids from the entry's place, keys from
// the content, so two computers taking in the same folder agree, and a
// folder taken in twice after it changed shows both versions.
class OlderLayoutTaker {
    struct Line;

public:
    OlderLayoutTaker(IFileSystem& fs, std::vector<TTeamChange>& out) : fs_(fs), out_(out) { }

    void TakeFolder(const std::string& dir, const std::string& id, int depth)
    {
        std::map<std::string, Line> lines; // "f<n>" / "r<n>", lower case
        std::vector<std::string> files;
        std::vector<std::string> copies;
        for (const DirEntry& e : fs_.List(dir)) {
            if (e.isDir)
                continue;
            if (SameTextIgnoringCase(e.name, kIndexFileName))
                continue;
            if (EndsWithIgnoringCase(e.name, ".sub") && Lower(e.name).rfind("index", 0) == 0)
                copies.push_back(e.name);
            else if (EndsWithIgnoringCase(e.name, kReplyExtension))
                files.push_back(e.name);
        }
        std::sort(copies.begin(), copies.end());
        std::sort(files.begin(), files.end());
        ReadIndex(dir + "\\" + kIndexFileName, false, lines);
        for (const std::string& copy : copies)
            ReadIndex(dir + "\\" + copy, true, lines);
        for (const auto& [key, line] : lines) {
            const std::string number = key.substr(1);
            const std::string name = line.found ? line.name + " (found in a copy of the index)" : line.name;
            if (line.folder) {
                const std::string folderId = id + ".f" + number;
                Emit(folderId, id, true, name, {});
                if (depth < kMaxTakeInDepth && !fs_.IsLink(dir + "\\" + number))
                    TakeFolder(dir + "\\" + number, folderId, depth + 1);
                continue;
            }
            const std::string file = number + kReplyExtension;
            files.erase(std::remove_if(files.begin(), files.end(),
                            [&file](const std::string& f) { return SameTextIgnoringCase(f, file); }),
                files.end());
            Emit(id + ".r" + number, id, false, name, fs_.ReadFile(dir + "\\" + file));
        }
        // Reply files no index lists: a sync client's conflict copies among them.
        for (const std::string& file : files)
            Emit(id + ".x" + Lower(file), id, false, file + " (found in the team folder)",
                fs_.ReadFile(dir + "\\" + file));
    }

private:
    struct Line {
        bool folder;
        std::string name;
        bool found; // only in a sync client's copy of the index
    };

    void ReadIndex(const std::string& path, bool copy, std::map<std::string, Line>& lines)
    {
        const std::optional<std::string> bytes = fs_.ReadFile(path);
        if (!bytes)
            return;
        for (const std::string& text : SplitTextLines(*bytes)) {
            const IndexLine parts = SplitIndexLine(text);
            const bool folder = SameTextIgnoringCase(parts.prefix, kFolderPrefix);
            if ((!folder && !SameTextIgnoringCase(parts.prefix, kReplyPrefix)) || !IsPlainPathComponent(parts.number))
                continue;
            const std::string key = (folder ? "f" : "r") + Lower(parts.number);
            if (!lines.count(key))
                lines[key] = {folder, parts.name, copy};
        }
    }

    void Emit(const std::string& id, const std::string& parent, bool folder, const std::string& name,
        const std::optional<std::string>& replyBytes)
    {
        TTeamChange change;
        change.entry = id;
        change.state.folder = folder;
        change.state.parent = parent;
        change.state.name = name;
        if (!folder) {
            std::vector<std::string> body = SplitTextLines(replyBytes.value_or(""));
            if (!body.empty())
                change.state.macro = body[0];
            if (body.size() > 1)
                change.state.hotKey = body[1];
            if (body.size() > 2)
                change.state.lines.assign(body.begin() + 2, body.end());
        }
        change.key = kImportTagStart + Hex(Fnv1a(FormatTeamChange(change)), 16) + ".1";
        out_.push_back(std::move(change));
    }

    IFileSystem& fs_;
    std::vector<TTeamChange>& out_;
};

} // namespace

std::string TeamChangesFolder(const std::string& teamFolder) { return teamFolder + "\\" + kChangesFolderName; }

TTeamReplica::TTeamReplica(IFileSystem& local, std::string localDir, std::string computerName, IdSource newId)
    : local_(local),
      localDir_(std::move(localDir)),
      computerName_(std::move(computerName)),
      newId_(std::move(newId)),
      now_(SecondsNow)
{ }

bool TTeamReplica::Open()
{
    changes_.clear();
    knownNames_.clear();
    outbox_.clear();
    const std::vector<std::string> computer
        = SplitTextLines(local_.ReadFile(localDir_ + "\\" + kComputerFileName).value_or(""));
    const bool kept = computer.size() >= 2;
    if (kept) {
        tag_ = computer[0];
        counter_ = std::atoll(computer[1].c_str());
    } else {
        // A new tag whenever this computer's copy is gone: its counter starts
        // again, and keys of the lost copy may already be in the team folder.
        tag_ = TagPart(computerName_) + "-" + newId_().substr(0, 8);
        counter_ = 0;
    }
    for (const DirEntry& e : local_.List(localDir_ + "\\changes")) {
        const std::optional<std::string> key = TeamChangeKeyOf(e.name);
        if (!key)
            continue;
        const std::optional<std::string> bytes = local_.ReadFile(localDir_ + "\\changes\\" + e.name);
        std::optional<TTeamChange> change = bytes ? ParseTeamChange(*bytes) : std::nullopt;
        if (!change || !SameTextIgnoringCase(change->key, *key))
            continue;
        knownNames_.insert(Lower(*key));
        // A counter written after a change that a crash cut off is behind.
        if (change->key.rfind(tag_ + ".", 0) == 0)
            counter_ = std::max(counter_, std::atoll(change->key.substr(tag_.size() + 1).c_str()));
        changes_.emplace(change->key, std::move(*change));
    }
    for (const DirEntry& e : local_.List(localDir_ + "\\outbox"))
        if (std::optional<std::string> key = TeamChangeKeyOf(e.name))
            for (const auto& [known, change] : changes_)
                if (SameTextIgnoringCase(known, *key))
                    outbox_.push_back(known);
    folds_.clear();
    replacedInFolds_.clear();
    lookAtRemoving_ = true;
    ownFoldTimes_.clear();
    for (const std::string& line : SplitTextLines(local_.ReadFile(localDir_ + "\\" + kFoldTimesFileName).value_or("")))
        if (const size_t space = line.find(' '); space != std::string::npos)
            ownFoldTimes_[std::atoll(line.c_str())] = std::atoll(line.c_str() + space + 1);
    for (const DirEntry& e : local_.List(localDir_ + "\\folds")) {
        const std::optional<std::string> bytes = local_.ReadFile(localDir_ + "\\folds\\" + e.name);
        if (std::optional<TTeamFold> fold = bytes ? ParseTeamFold(*bytes) : std::nullopt)
            (void)TakeFold(std::move(*fold), false);
    }
    if (!kept)
        SaveCounter();
    Remerge();
    return kept;
}

std::optional<int> TTeamReplica::TakeFold(TTeamFold fold, bool keepHere)
{
    const auto known = folds_.find(fold.tag);
    const long long previous = known == folds_.end() ? 0 : known->second.number;
    if (known != folds_.end() && previous >= fold.number)
        return std::nullopt;
    if (fold.tag == tag_)
        counter_ = std::max(counter_, fold.number);
    int arrived = 0;
    for (const TTeamChange& change : fold.heads)
        if (Keep(change))
            ++arrived;
    for (const std::string& key : fold.covers)
        knownNames_.insert(Lower(key));
    replacedInFolds_.insert(fold.replaced.begin(), fold.replaced.end());
    if (keepHere) {
        (void)local_.CreateDirs(localDir_ + "\\folds");
        (void)local_.WriteFileReplacing(
            localDir_ + "\\folds\\" + TeamFoldFileName(fold.tag, fold.number), FormatTeamFold(fold));
        if (previous > 0)
            (void)local_.DeleteFile(localDir_ + "\\folds\\" + TeamFoldFileName(fold.tag, previous));
    }
    folds_[fold.tag] = std::move(fold);
    lookAtRemoving_ = true;
    return arrived;
}

bool TTeamReplica::WriteFold(IFileSystem& shared, const std::string& folder)
{
    const auto own = folds_.find(tag_);
    const size_t covered = own == folds_.end() ? 0 : own->second.covers.size();
    if (!outbox_.empty() || knownNames_.size() < covered + static_cast<size_t>(foldEvery_))
        return false;
    // Everything known here: the changes held and what the other folds cover.
    TTeamFold fold;
    fold.tag = tag_;
    fold.number = ++counter_;
    SaveCounter();
    for (const auto& [tag, other] : folds_) {
        fold.covers.insert(other.covers.begin(), other.covers.end());
        fold.replaced.insert(other.replaced.begin(), other.replaced.end());
    }
    for (const auto& [key, change] : changes_) {
        fold.covers.insert(key);
        fold.replaced.insert(change.replaces.begin(), change.replaces.end());
    }
    for (const auto& [key, change] : changes_)
        if (!change.state.deleted && !fold.replaced.count(key))
            fold.heads.push_back(change);
    const long long previous = own == folds_.end() ? 0 : own->second.number;
    if (!shared.CreateNewFile(folder + "\\" + TeamFoldFileName(tag_, fold.number), FormatTeamFold(fold)))
        return false;
    ownFoldTimes_[fold.number] = now_();
    std::vector<std::string> times;
    for (const auto& [number, time] : ownFoldTimes_)
        times.push_back(std::to_string(number) + " " + std::to_string(time));
    (void)local_.WriteFileReplacing(localDir_ + "\\" + kFoldTimesFileName, JoinTextLines(times));
    (void)TakeFold(std::move(fold), true);
    if (previous > 0)
        (void)shared.DeleteFile(folder + "\\" + TeamFoldFileName(tag_, previous));
    return true;
}

bool TTeamReplica::FoldedLongAgo(const std::string& ownKey) const
{
    // Own folds cover every own change made before them: the first fold
    // numbered after the change's counter is the first that covered it.
    const auto first = ownFoldTimes_.upper_bound(std::atoll(ownKey.substr(ownKey.find_last_of('.') + 1).c_str()));
    return first != ownFoldTimes_.end() && now_() - first->second >= foldAge_;
}

int TTeamReplica::RemoveFolded(IFileSystem& shared, const std::string& folder, const std::vector<DirEntry>& listing)
{
    if (!lookAtRemoving_ && now_() < nextAgeLook_)
        return 0;
    lookAtRemoving_ = false;
    nextAgeLook_ = now_() + kAgeLookEvery;
    const auto own = folds_.find(tag_);
    if (own == folds_.end())
        return 0;
    // Every other computer known here must have folded a change before its
    // file goes, so none of them ever misses it, however late its sync
    // client copies the file's removal or the fold.
    std::set<std::string> others;
    const auto note = [&](const std::string& key) {
        const std::string tag = TagOfKey(key);
        if (tag != tag_ && tag.rfind(kImportTagStart, 0) != 0)
            others.insert(tag);
    };
    for (const auto& [key, change] : changes_)
        note(key);
    for (const auto& [tag, fold] : folds_) {
        note(tag + ".0");
        for (const std::string& key : fold.covers)
            note(key);
    }
    std::vector<const TTeamFold*> theirs;
    bool someoneNeverFolded = false;
    for (const std::string& tag : others) {
        const auto fold = folds_.find(tag);
        if (fold == folds_.end())
            someoneNeverFolded = true;
        else
            theirs.push_back(&fold->second);
    }
    int removed = 0;
    for (const DirEntry& e : listing) {
        const std::optional<std::string> key = TeamChangeKeyOf(e.name);
        if (e.isDir || !key || TagOfKey(*key) != tag_ || !own->second.covers.count(*key))
            continue;
        const bool foldedByAll = !someoneNeverFolded
            && std::none_of(
                theirs.begin(), theirs.end(), [&key](const TTeamFold* fold) { return !fold->covers.count(*key); });
        if (!foldedByAll && !FoldedLongAgo(*key))
            continue;
        if (shared.DeleteFile(folder + "\\" + e.name))
            ++removed;
    }
    return removed;
}

void TTeamReplica::SaveCounter()
{
    (void)local_.CreateDirs(localDir_);
    (void)local_.WriteFileReplacing(
        localDir_ + "\\" + kComputerFileName, JoinTextLines({tag_, std::to_string(counter_)}));
}

void TTeamReplica::Remerge() { view_ = MergeTeamChanges(changes_, replacedInFolds_); }

bool TTeamReplica::Keep(const TTeamChange& change)
{
    if (knownNames_.count(Lower(change.key)))
        return false;
    (void)local_.CreateDirs(localDir_ + "\\changes");
    (void)local_.WriteFileReplacing(
        localDir_ + "\\changes\\" + TeamChangeFileName(change.key), FormatTeamChange(change));
    changes_.emplace(change.key, change);
    knownNames_.insert(Lower(change.key));
    return true;
}

std::string TTeamReplica::Record(const std::string& entry, std::vector<std::string> replaces, TTeamEntryState state)
{
    TTeamChange change;
    change.entry = entry;
    change.key = tag_ + "." + std::to_string(++counter_);
    change.replaces = std::move(replaces);
    change.state = std::move(state);
    SaveCounter();
    (void)Keep(change);
    (void)local_.CreateDirs(localDir_ + "\\outbox");
    (void)local_.WriteFileReplacing(localDir_ + "\\outbox\\" + TeamChangeFileName(change.key), "");
    outbox_.push_back(change.key);
    return change.key;
}

std::string TTeamReplica::Add(const TTeamEntryState& state) { return AddAs(newId_(), state); }

std::string TTeamReplica::AddAs(const std::string& entry, const TTeamEntryState& state)
{
    const std::string key = Record(entry, {}, state);
    Remerge();
    return key;
}

std::string TTeamReplica::Change(const TTeamShownEntry& shown, TTeamEntryState state)
{
    const auto version = changes_.find(shown.head);
    if (version == changes_.end() || version->second.entry != shown.entry)
        return {};
    // Nothing to tell the other computers: the version stays the one shown.
    if (version->second.state == state)
        return shown.head;
    const std::string key = Record(shown.entry, {shown.head}, std::move(state));
    Remerge();
    return key;
}

std::vector<std::string> TTeamReplica::Delete(const TTeamShownEntry& shown)
{
    std::vector<std::string> keys;
    const auto version = changes_.find(shown.head);
    if (version == changes_.end() || version->second.entry != shown.entry)
        return keys;
    // What the folder holds as this computer shows it, deepest first; each
    // delete replaces only the version seen here.
    std::vector<const TTeamShownEntry*> inside;
    if (shown.folder) {
        std::set<std::string> under{shown.entry};
        for (const TTeamShownEntry& e : view_.entries)
            if (under.count(e.parent) && e.entry != shown.entry) {
                inside.push_back(&e);
                under.insert(e.entry);
            }
    }
    std::vector<std::pair<std::string, std::string>> doomed; // entry, head
    for (auto it = inside.rbegin(); it != inside.rend(); ++it)
        doomed.emplace_back((*it)->entry, (*it)->head);
    doomed.emplace_back(shown.entry, shown.head);
    for (const auto& [entry, head] : doomed) {
        TTeamEntryState gone = changes_.at(head).state;
        gone.deleted = true;
        gone.lines.clear();
        keys.push_back(Record(entry, {head}, std::move(gone)));
    }
    Remerge();
    return keys;
}

std::string TTeamReplica::EntryOf(const std::string& key) const
{
    const auto it = changes_.find(key);
    return it == changes_.end() ? std::string() : it->second.entry;
}

bool TTeamReplica::Send(IFileSystem& shared, const std::string& folder, const std::string& key)
{
    const std::string path = folder + "\\" + TeamChangeFileName(key);
    const std::string bytes = FormatTeamChange(changes_.at(key));
    if (shared.CreateNewFile(path, bytes))
        return true;
    // Already there from an exchange cut short: only this computer writes
    // this name, so finishing it overwrites nobody's work.
    if (shared.ReadFile(path) == bytes)
        return true;
    return shared.FileExists(path) && shared.WriteFileReplacing(path, bytes);
}

TTeamExchange TTeamReplica::Exchange(IFileSystem& shared, const std::string& teamFolder)
{
    TTeamExchange result;
    if (teamFolder.empty() || !shared.DirExists(teamFolder))
        return result;
    result.reachable = true;
    const std::string folder = TeamChangesFolder(teamFolder);
    if (!shared.DirExists(folder) && shared.FileExists(IndexPathIn(teamFolder))) {
        std::vector<TTeamChange> taken;
        OlderLayoutTaker(shared, taken).TakeFolder(teamFolder, "old", 0);
        for (const TTeamChange& change : taken)
            if (Keep(change)) {
                ++result.takenIn;
                (void)local_.CreateDirs(localDir_ + "\\outbox");
                (void)local_.WriteFileReplacing(localDir_ + "\\outbox\\" + TeamChangeFileName(change.key), "");
                outbox_.push_back(change.key);
            }
    }
    if (!outbox_.empty())
        (void)shared.CreateDirs(folder);
    std::vector<std::string> stillUnsent;
    for (const std::string& key : outbox_) {
        if (Send(shared, folder, key)) {
            ++result.sent;
            (void)local_.DeleteFile(localDir_ + "\\outbox\\" + TeamChangeFileName(key));
        } else {
            stillUnsent.push_back(key);
        }
    }
    outbox_ = std::move(stillUnsent);
    // A listing may be some seconds old on a share: what it misses now is
    // taken in at a later exchange.
    const std::vector<DirEntry> listing = shared.List(folder);
    // Folds first: the change files they cover need no reading.
    for (const DirEntry& e : listing) {
        const std::optional<std::pair<std::string, long long>> named = TeamFoldOf(e.name);
        if (e.isDir || !named || SameTextIgnoringCase(named->first, tag_))
            continue;
        const auto known = folds_.find(named->first);
        if (known != folds_.end() && known->second.number >= named->second)
            continue;
        const std::optional<std::string> bytes = shared.ReadFile(folder + "\\" + e.name);
        std::optional<TTeamFold> fold = bytes ? ParseTeamFold(*bytes) : std::nullopt;
        if (!fold || !SameTextIgnoringCase(fold->tag, named->first) || fold->number != named->second)
            continue;
        if (const std::optional<int> arrived = TakeFold(std::move(*fold), true)) {
            result.arrived += *arrived;
            result.foldsArrived = true;
        }
    }
    for (const DirEntry& e : listing) {
        const std::optional<std::string> key = TeamChangeKeyOf(e.name);
        if (e.isDir || !key || knownNames_.count(Lower(*key)))
            continue;
        const std::optional<std::string> bytes = shared.ReadFile(folder + "\\" + e.name);
        const std::optional<TTeamChange> change = bytes ? ParseTeamChange(*bytes) : std::nullopt;
        // Half copied, or not what its name says: looked at again next time.
        if (!change || !SameTextIgnoringCase(change->key, *key))
            continue;
        if (Keep(*change))
            ++result.arrived;
    }
    if (result.arrived > 0 || result.takenIn > 0 || result.foldsArrived)
        Remerge();
    result.folded = WriteFold(shared, folder);
    result.removed = RemoveFolded(shared, folder, listing);
    return result;
}

} // namespace corvane
