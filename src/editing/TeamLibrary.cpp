#include "editing/TeamLibrary.h"

#include "editing/LibraryEditing.h"
#include "library/IndexFormat.h"
#include "library/LibraryFiles.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitConsts.h"
#include "library/UnitCorvaneTypes.h"

#include <algorithm>

namespace corvane {

namespace {

std::string Followed(const std::map<std::string, std::string>& followedBy, std::string head)
{
    for (auto next = followedBy.find(head); next != followedBy.end(); next = followedBy.find(head))
        head = next->second;
    return head;
}

std::string AddedKey(const std::string& entry) { return "+" + entry; }

} // namespace

TTeamLibrary::TTeamLibrary(TRepList& library, TLibraryEditing& editing, ITeamStore& store)
    : library_(library),
      editing_(editing),
      store_(store),
      followedBy_(std::make_shared<std::map<std::string, std::string>>())
{
    editing_.SetTeamEdits(this);
}

TTeamLibrary::~TTeamLibrary() { editing_.SetTeamEdits(nullptr); }

void TTeamLibrary::Load(const TTeamSettings& settings)
{
    settings_ = settings;
    loaded_ = false;
    if (settings_.folder.empty()) {
        editing_.ShowSharedLibrary([this] { library_.UnloadSharedLibrary(); });
        return;
    }
    // Loaded twice, each change of one copy would overwrite the other.
    if (IsAtOrBelow(settings_.folder, library_.Root()) || IsAtOrBelow(library_.Root(), settings_.folder)) {
        ShowError(FormatMessageText(kMsgSharedIsOwnLibrary, settings_.folder));
        settings_.folder.clear();
        Load(settings_);
        return;
    }
    editing_.ShowSharedLibrary([this] {
        library_.StartSharedLibrary(settings_.folder, settings_.name);
        library_.SetSharedAccess(TSharedAccess::Away);
    });
    loaded_ = true;
    reachable_ = false;
    seen_ = 0;
}

bool TTeamLibrary::ShowLatest(bool focusInBoxes)
{
    if (!loaded_ || !editing_.MayShowTeamAnew(focusInBoxes))
        return false;
    std::optional<TTeamSnapshot> snapshot = store_.TakeSnapshot(seen_);
    if (!snapshot)
        return false;
    seen_ = snapshot->serial;
    reachable_ = snapshot->reachable;
    unsent_ = snapshot->unsent;
    // The team folder's picture tells whether it is reached; edits are kept
    // here either way.
    library_.SetSharedAccess(reachable_ ? TSharedAccess::Writable : TSharedAccess::Away);
    editing_.ShowTeamAnew([&] { Fill(snapshot->view); });
    return true;
}

void TTeamLibrary::Fill(const TTeamView& view)
{
    ITreeControl& tree = library_.Tree();
    // Folders stay open as the user left them.
    std::vector<std::string> open;
    bool topOpen = false;
    if (const TRep* top = library_.SharedTop()) {
        topOpen = tree.IsExpanded(top->Node);
        for (int i = 0; i < library_.Count(); ++i) {
            const TRep* rep = library_.Items(i);
            if (library_.IsShared(rep) && rep->IsFolder() && !rep->TeamEntry.empty() && tree.IsExpanded(rep->Node))
                open.push_back(rep->TeamEntry);
        }
    }
    tree.BeginUpdate();
    library_.StartSharedLibrary(settings_.folder, settings_.name);
    library_.BeginBulkLoad();
    std::map<std::string, TreeNode> folders; // entry id: the node of its first version
    std::vector<TreeNode> toOpen;
    for (const TTeamShownEntry& shown : view.entries) {
        const auto parent = folders.find(shown.parent);
        const TreeNode parentNode = parent != folders.end() ? parent->second : library_.SharedTop()->Node;
        TRep* rep = library_.Items(library_.AddNodeLast(shown.name, parentNode));
        rep->TeamEntry = shown.entry;
        rep->TeamHead = shown.head;
        rep->TeamName = shown.name;
        if (shown.conflict) {
            const std::string suffix = " (" + ComputerNameOfKey(shown.head) + "'s version)";
            if (rep->TeamName.ends_with(suffix))
                rep->TeamName.resize(rep->TeamName.size() - suffix.size());
        }
        if (shown.folder) {
            rep->FolderName = shown.entry;
            folders.emplace(shown.entry, rep->Node);
            if (std::find(open.begin(), open.end(), shown.entry) != open.end())
                toOpen.push_back(rep->Node);
            continue;
        }
        rep->FileName = shown.entry + kReplyExtension;
        rep->Lines = shown.lines;
        library_.AddSharedKeys(rep, shown.macro, shown.hotKey);
    }
    library_.EndBulkLoad();
    library_.SetSharedAccess(reachable_ ? TSharedAccess::Writable : TSharedAccess::Away);
    if (topOpen)
        tree.Expand(library_.SharedTop()->Node);
    for (TreeNode node : toOpen)
        tree.Expand(node);
    tree.EndUpdate();
}

TTeamEntryState TTeamLibrary::StateOf(const TRep& rep) const
{
    TTeamEntryState state;
    state.folder = rep.IsFolder();
    const TRep* parent = library_.RepOf(library_.Tree().Parent(rep.Node));
    state.parent = parent && !parent->IsLibraryTop() ? parent->TeamEntry : std::string();
    state.name = rep.TeamName;
    if (!state.folder) {
        const int macro = library_.MacroIndexOf(&rep);
        const int hotKey = library_.HotKeyIndexOf(&rep);
        state.macro = macro >= 0 ? library_.MacroAt(macro) : rep.KeptMacro;
        state.hotKey = hotKey >= 0 ? library_.HotKeyCodeAt(hotKey) : rep.KeptHotKey;
        state.lines = rep.Lines;
    }
    return state;
}

TTeamShownEntry TTeamLibrary::ShownOf(const TRep& rep) const
{
    TTeamShownEntry shown;
    shown.entry = rep.TeamEntry;
    shown.head = rep.TeamHead.empty() ? AddedKey(rep.TeamEntry) : rep.TeamHead;
    shown.folder = rep.IsFolder();
    return shown;
}

void TTeamLibrary::Added(const TRep& rep)
{
    store_.Submit([followedBy = followedBy_, entry = rep.TeamEntry, state = StateOf(rep)](
                      TTeamReplica& replica) { (*followedBy)[AddedKey(entry)] = replica.AddAs(entry, state); });
}

void TTeamLibrary::Changed(const TRep& rep)
{
    store_.Submit([followedBy = followedBy_, shown = ShownOf(rep), state = StateOf(rep)](TTeamReplica& replica) {
        TTeamShownEntry version = shown;
        version.head = Followed(*followedBy, shown.head);
        const std::string key = replica.Change(version, state);
        if (!key.empty() && key != version.head)
            (*followedBy)[version.head] = key;
    });
}

void TTeamLibrary::Deleted(const TRep& rep)
{
    store_.Submit([followedBy = followedBy_, shown = ShownOf(rep)](TTeamReplica& replica) {
        TTeamShownEntry version = shown;
        version.head = Followed(*followedBy, shown.head);
        (void)replica.Delete(version);
    });
}

std::string TTeamLibrary::TakeConflictNotice(std::string& told) const
{
    std::vector<std::string> known = SplitTextLines(told);
    std::string notice;
    for (const TKeyConflict& conflict : library_.Conflicts()) {
        const std::string key = (conflict.hotKey ? "H " : "M ") + conflict.key;
        if (std::find(known.begin(), known.end(), key) != known.end())
            continue;
        known.push_back(key);
        notice.append(notice.empty() ? "" : "\r\n")
            .append("\"" + library_.Tree().Label(conflict.reply->Node) + "\": ")
            .append(conflict.hotKey ? HotKeyText(conflict.key) : conflict.key);
    }
    if (notice.empty())
        return {};
    told = JoinTextLines(known);
    return FormatMessageText(kMsgSharedConflicts, notice);
}

} // namespace corvane
