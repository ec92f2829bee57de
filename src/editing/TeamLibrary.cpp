#include "editing/TeamLibrary.h"

#include "editing/LibraryEditing.h"
#include "library/IndexFormat.h"
#include "library/LibraryFiles.h"
#include "library/LibraryTidy.h"
#include "library/SharedWatch.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitConsts.h"
#include "library/UnitCorvaneTypes.h"

#include <algorithm>

namespace corvane {

TTeamLibrary::TTeamLibrary(TRepList& library, TLibraryEditing& editing, TSharedWatch& watch)
    : library_(library), editing_(editing), watch_(watch)
{ }

void TTeamLibrary::Load(const TTeamSettings& settings, long long now)
{
    settings_ = settings;
    if (settings_.folder.empty()) {
        editing_.ShowSharedLibrary([this] { library_.UnloadSharedLibrary(); });
        (void)watch_.Watch({});
        return;
    }
    // Loaded twice, each change of one copy would overwrite the other.
    if (IsAtOrBelow(settings_.folder, library_.Root()) || IsAtOrBelow(library_.Root(), settings_.folder)) {
        ShowError(FormatMessageText(kMsgSharedIsOwnLibrary, settings_.folder));
        settings_.folder.clear();
        Load(settings_, now);
        return;
    }
    (void)TidySharedLibrary(watch_, settings_.folder, now, kSharedTempAgeMilliseconds);
    if (watch_.Watch(settings_.folder))
        LoadFromFolder();
    else
        LoadFromCache();
}

bool TTeamLibrary::Offline() const { return library_.SharedAccess() == TSharedAccess::Offline; }

void TTeamLibrary::LoadFromFolder()
{
    editing_.ShowSharedLibrary([this] { library_.LoadSharedLibrary(settings_.folder, settings_.name); });
    if (library_.SharedTop() && !Offline())
        WriteCache(library_.SharedTop());
}

void TTeamLibrary::LoadFromCache()
{
    // The copy is shown as the team library but never written to, and never
    // written over the shared folder.
    const bool cached = !settings_.cacheDir.empty() && watch_.FileExists(IndexPathIn(settings_.cacheDir));
    editing_.ShowSharedLibrary([this, cached] {
        library_.LoadSharedLibrary(cached ? settings_.cacheDir : settings_.folder, settings_.name);
        library_.SetSharedAccess(TSharedAccess::Offline);
    });
}

void TTeamLibrary::Tick()
{
    if (settings_.folder.empty())
        return;
    if (Offline()) {
        if (watch_.Watch(settings_.folder))
            LoadFromFolder();
        return;
    }
    const std::optional<std::vector<std::string>> changed = watch_.Look();
    if (!changed) {
        // What is shown stays, for delivery; nothing is written any more.
        library_.SetSharedAccess(TSharedAccess::Offline);
        return;
    }
    if (changed->empty())
        return;
    editing_.ReloadSharedFolders(*changed);
    for (const std::string& dir : *changed)
        for (int i = 0; i < library_.Count(); ++i) {
            const TRep* rep = library_.Items(i);
            if (library_.IsShared(rep) && rep->IsFolder() && (rep->IsLibraryTop() || rep->HasSafePath())
                && rep->FolderPath() == dir) {
                WriteCache(rep);
                break;
            }
        }
}

std::string TTeamLibrary::CachePathOf(const std::string& sharedPath) const
{
    return settings_.cacheDir + sharedPath.substr(library_.SharedRoot().size());
}

void TTeamLibrary::WriteCache(const TRep* folder)
{
    if (settings_.cacheDir.empty())
        return;
    const ITreeControl& tree = library_.Tree();
    const std::string dir = CachePathOf(folder->FolderPath());
    (void)DeleteTree(watch_, dir);
    if (!watch_.CreateDirs(dir))
        return;
    std::vector<std::string> index;
    const int children = tree.ChildCount(folder->Node);
    for (int i = 0; i < children; ++i) {
        const TRep* rep = library_.RepOf(tree.Child(folder->Node, i));
        if (!rep || !rep->HasSafePath())
            continue;
        const std::string label = tree.Label(rep->Node);
        if (rep->IsFolder()) {
            index.push_back(MakeIndexLine(kFolderPrefix, rep->FolderName, label));
            WriteCache(rep);
            continue;
        }
        index.push_back(MakeIndexLine(kReplyPrefix, rep->FileName.substr(0, rep->FileName.find('.')), label));
        const int macro = library_.MacroIndexOf(rep);
        const int hotKey = library_.HotKeyIndexOf(rep);
        std::vector<std::string> lines{macro >= 0 ? library_.MacroAt(macro) : rep->KeptMacro,
            hotKey >= 0 ? library_.HotKeyCodeAt(hotKey) : rep->KeptHotKey};
        lines.insert(lines.end(), rep->Lines.begin(), rep->Lines.end());
        (void)WriteTextLines(watch_, dir + "\\" + rep->FileName, lines);
    }
    (void)WriteTextLines(watch_, IndexPathIn(dir), index);
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
