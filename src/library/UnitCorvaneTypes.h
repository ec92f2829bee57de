#pragma once
// The reply library in memory: folders and replies bound to the navigation
// tree, their two indexes (hot keys and macros) bound to list boxes, and the
// operations that keep the library directory on disk in step.
#include "platform/TreeControl.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

class IFileSystem;
class IListBox;
class TFolderLock;

// The library folder inside a data folder that ends with "\\", without a
// trailing separator.
std::string LibraryRootIn(const std::string& dataDir);

// One folder or one reply. Its name, parent and children are those of its
// tree node; its macro and hot key live in the indexes.
class TRep {
public:
    TreeNode Node = nullptr;
    std::vector<std::string> Lines; // the reply's RTF body, one string per line
    std::string FileName; // "<n>.rep" for a reply, empty for a folder
    std::string FolderName; // "<m>" for a folder, empty for a reply
    // A team reply's macro and hot key that one of the user's own replies
    // already holds: the indexes leave them out, the reply file keeps them.
    std::string KeptMacro;
    std::string KeptHotKey;
    // The reply file's write time when this program last read or wrote it
    // (see IFileSystem::LastWriteTime), -1 when unknown: a different time on
    // disk means another computer changed it meanwhile.
    long long Stamp = -1;
    // A team entry shown from the team's change files: its id and the change
    // it shows (a change made here replaces that one), and its name without
    // the "(<computer>'s version)" of a version in conflict. Empty otherwise.
    std::string TeamEntry;
    std::string TeamHead;
    std::string TeamName;

    // `root` is the root folder of the entry's library; it must outlive the
    // entry. A library's top folder stands for that root itself.
    TRep(const ITreeControl& tree, const std::string& root, bool libraryTop = false)
        : tree_(&tree), root_(&root), libraryTop_(libraryTop)
    { }

    bool IsFolder() const { return FileName.empty(); }
    // The top-level folder that shows a shared library: its FolderPath is
    // that library's root; it has no index line and no number of its own.
    bool IsLibraryTop() const { return libraryTop_; }
    const std::string& LibraryRoot() const { return *root_; }
    // <root>\<m>\...\<m of this folder>
    std::string FolderPath() const;
    // The directory holding this entry: the parent's FolderPath, or the root.
    std::string ContainerPath() const;
    // FolderPath for a folder, ContainerPath\FileName for a reply.
    std::string OwnPath() const;
    // True when every directory name from the top level down to this entry,
    // and the entry's own file or directory name, is one plain component, so
    // the paths above stay inside the library root.
    bool HasSafePath() const;
    // Takes the last component of `newPath`, where its file or directory now
    // is, as the entry's name. Must run before the node moves.
    void AdoptPath(const std::string& newPath);

private:
    friend class TRepList; // moves entries between libraries
    TRep* ParentRep() const;
    const ITreeControl* tree_;
    const std::string* root_;
    bool libraryTop_ = false;
};

// A sorted, case-insensitive index from key strings to replies that keeps a
// list box showing its entries in index order.
class TRepIndex {
public:
    TRepIndex(const TRepIndex&) = delete;
    TRepIndex& operator=(const TRepIndex&) = delete;

    // An empty key, or one equal to a key already held, is not added.
    void AddEntry(const std::string& key, TRep* rep);
    void DeleteEntry(int position);
    void ReplaceKey(int position, const std::string& key);
    const std::string& KeyAt(int position) const;
    TRep* RepAt(int position) const;
    int Count() const;
    int IndexOfRep(const TRep* rep) const; // linear scan, -1 when absent
    int Find(std::string_view key) const; // binary search, -1 when absent
    // The reply holding a key equal to `key`, or nullptr. Unlike Find, it
    // does not sort what a bulk load has appended so far.
    TRep* Holder(std::string_view key) const;
    int InsertionPoint(std::string_view key) const;
    // Re-sorts, then shows every entry in the list box.
    void Refill();
    // Removes every entry; the list box is emptied unless in bulk mode.
    void Clear();

    // While set, adding and deleting leave the list box alone.
    bool Bulk() const { return bulk_; }
    void SetBulk(bool bulk) { bulk_ = bulk; }
    IListBox& ListBox() const { return *listBox_; }

protected:
    using DisplayTextFn = std::string (*)(std::string_view key);
    TRepIndex(IListBox& listBox, DisplayTextFn displayText, bool keepsSelection);
    ~TRepIndex() = default;

private:
    struct Entry {
        std::string key;
        TRep* rep;
    };
    // Bulk additions are appended and sorted on first use; a stable sort
    // keeps the first of equal keys, as adding one by one would.
    void EnsureSorted() const;

    mutable std::vector<Entry> entries_;
    mutable bool sorted_ = true;
    // While entries_ is not sorted: each key, lower-cased, with its holder.
    mutable std::unordered_map<std::string, TRep*> appended_;
    IListBox* listBox_;
    DisplayTextFn displayText_;
    bool keepsSelection_;
    bool bulk_ = false;
};

// Hot-key codes ("0A", "17") to replies; the list box shows "<CTRL>+<ALT>+A".
class TRepHotKeyList : public TRepIndex {
public:
    explicit TRepHotKeyList(IListBox& listBox);
};

// Macro strings to replies; the list box shows the macros and keeps its
// selected text across refills.
class TRepMacroList : public TRepIndex {
public:
    explicit TRepMacroList(IListBox& listBox);
};

// Text up to and including the first "(", or the whole text.
std::string_view MacroStem(std::string_view macro);
// Text strictly between the first "(" and the first ")", or nothing when the
// text has no "(" or the ")" does not follow it with something in between.
std::string_view ParameterList(std::string_view text);

// A team reply's macro or hot key that one of the user's own replies already
// holds; the user's own reply keeps it.
struct TKeyConflict {
    const TRep* reply = nullptr;
    bool hotKey = false; // else a macro
    std::string key; // the macro, or the hot-key code
};

// What can be done with the shared library now. Away: the team folder can't
// be reached, and changes are kept on this computer until it can.
enum class TSharedAccess { None, Writable, ReadOnly, Offline, Away };

// The library: owns every TRep and both indexes.
class TRepList {
public:
    // `root` is the folder holding the top-level index, without a trailing
    // separator (see LibraryRootIn).
    TRepList(ITreeControl& tree, IListBox& hotKeyListBox, IListBox& macroListBox, IFileSystem& fs, std::string root);
    ~TRepList();
    TRepList(const TRepList&) = delete;
    TRepList& operator=(const TRepList&) = delete;

    // --- the entries, in creation order ---
    int Count() const { return static_cast<int>(items_.size()); }
    TRep* Items(int index) const { return items_[static_cast<size_t>(index)].get(); }
    int IndexOf(const TRep* rep) const; // linear scan, -1 when absent
    // The entry shown by a node (its data pointer), or nullptr.
    TRep* RepOf(TreeNode node) const;

    ITreeControl& Tree() const { return *tree_; }
    const std::string& Root() const { return root_; }
    // <root>\index.sub, where loading the whole library starts.
    std::string RootIndexPath() const;
    TRepHotKeyList& HotKeys() { return hotKeys_; }
    TRepMacroList& Macros() { return macros_; }

    // --- in memory ---
    // Each creates a TRep with a new node labelled `name` and returns its index.
    int AddNodeLast(const std::string& name, TreeNode parent);
    int AddNodeFirst(const std::string& name, TreeNode parent);
    int InsertNodeBefore(const std::string& name, TreeNode sibling);
    // Removes the entry at `index` with its node; like RemoveSubtree, so no
    // child or index entry is left pointing at a freed TRep.
    void DeleteAt(int index);
    // Removes a node, its descendants, their TReps and their index entries
    // from memory. The disk is left alone (see DeleteFiles).
    void RemoveSubtree(TreeNode node);
    void ClearAll();
    // Replaces the body, split into lines as reading it from a file would.
    void SetBody(TRep* reply, const std::vector<std::string>& lines);
    void SetBodyText(TRep* reply, std::string_view text);
    // Moves the entry's node just before the target's node (after MoveBefore
    // has moved the files) and keeps every moved TRep's Node current, since a
    // tree control may re-create the nodes it moves.
    void MoveNodeBefore(TRep* entry, TRep* target);

    // --- storage ---
    void BeginBulkLoad();
    void EndBulkLoad();
    // Loads one directory's index and, depth-first, everything below it.
    void LoadFolderIndex(const std::string& indexPath, TreeNode parent);
    // Returns the new entry's index, or -1 (after an error box) when the file
    // cannot be read or is malformed.
    int LoadReplyFile(const std::string& path, const std::string& name, bool asFirst, TreeNode before, TreeNode parent);
    int FindIndexLine(const TRep* rep, const std::vector<std::string>& lines) const;
    [[nodiscard]] bool SaveReplyFile(TRep* reply);
    [[nodiscard]] bool RenameEntry(TRep* rep, const std::string& newName);
    [[nodiscard]] bool DeleteFiles(TRep* rep);
    // Moves the entry's file or directory and its index line to just before
    // the target. Returns false, with disk and tree unchanged, when the lines
    // are not found or the file system refuses; the caller then leaves the
    // node where it is. Cut off at any step, a move leaves the old state, the
    // new one, or an extra that TidyLibrary clears at the next start.
    [[nodiscard]] bool MoveBefore(TRep* entry, TRep* target);

    // --- indexes ---
    int FindHotKey(std::string_view code) const;
    int HotKeyIndexOf(const TRep* reply) const;
    int MacroIndexOf(const TRep* reply) const;
    int HotKeyCount() const;
    std::string HotKeyCodeAt(int position) const;
    TRep* HotKeyReplyAt(int position) const;
    int MacroCount() const;
    std::string MacroAt(int position) const;
    TRep* MacroReplyAt(int position) const;
    // Position of the macro entry matching typed text, or -1. `names` gets the
    // stored parameter names (comma-separated), `values` the typed values
    // joined by the character 1.
    int MatchMacro(std::string_view text, std::string& names, std::string& values) const;
    int MatchMacro(std::string_view text) const;
    // Assigns, changes or (with an empty string) removes; false when another
    // reply holds the same macro stem / the same code, or the value cannot be
    // stored (a macro with a line break, a code outside the 72 hot keys).
    [[nodiscard]] bool SetMacro(TRep* reply, const std::string& macro);
    [[nodiscard]] bool SetHotKey(TRep* reply, const std::string& code);

    // --- a shared library beside the user's own ---
    // Shows the library at `root` (no trailing separator) as the last
    // top-level folder, labelled `name`, and loads it after the user's own
    // one; its macros and hot keys that the user's own replies hold are left
    // out of the indexes and listed in Conflicts(). A folder that cannot be
    // read leaves the top folder empty and the access Offline; one that
    // refuses files, ReadOnly.
    void LoadSharedLibrary(const std::string& root, const std::string& name);
    // Shows an empty top folder for the shared library at `root`, labelled
    // `name`, for entries added in memory (AddTeamEntry).
    void StartSharedLibrary(const std::string& root, const std::string& name);
    // A team reply's macro and hot key into the indexes, as loading a reply
    // file takes them: those the user's own replies hold are kept aside.
    void AddSharedKeys(TRep* reply, const std::string& macro, const std::string& code)
    {
        AddKeysFromFile(reply, macro, code);
    }
    // Takes the shared library's folder and everything in it out of memory.
    void UnloadSharedLibrary();
    // Reloads, from disk, what the shared library's folder `dir` holds
    // (the root or any folder in it). False when `dir` is not shown.
    bool ReloadSharedFolder(const std::string& dir);
    TRep* SharedTop() const { return sharedTop_; }
    const std::string& SharedRoot() const { return sharedRoot_; }
    bool IsShared(const TRep* rep) const { return sharedTop_ && &rep->LibraryRoot() == &sharedRoot_; }
    TSharedAccess SharedAccess() const { return sharedAccess_; }
    void SetSharedAccess(TSharedAccess access) { sharedAccess_ = access; }
    // The entry may be changed on disk: it is the user's own, or the shared
    // library is writable.
    bool CanChange(const TRep* rep) const;
    bool CanChangeIn(const std::string& dir) const;
    const std::vector<TKeyConflict>& Conflicts() const { return conflicts_; }
    // Locks `dir` for one read-modify-write of its index when it belongs to
    // the shared library; true when the caller may go on (always for the
    // user's own library), false when the lock could not be had.
    [[nodiscard]] bool LockForChange(const std::string& dir, std::optional<TFolderLock>& lock);
    // True, with the shared library now Offline, when the entry is in the
    // shared library and its folder cannot be reached any more.
    bool SharedFolderGone(const TRep* rep);
    bool SharedFolderGoneAt(const std::string& dir);
    // True when the reply's file was written by someone else since this
    // program last read or wrote it.
    bool ChangedElsewhere(const TRep* reply) const;
    // Reads the reply's file again: body, macro and hot key as stored.
    [[nodiscard]] bool RereadReplyFile(TRep* reply);

    // Folders nested deeper than this are shown without their contents.
    static constexpr int kMaxFolderDepth = 32;

private:
    bool SharedChangeable() const;
    const std::string& RootUnder(TreeNode parent) const;
    void AddKeysFromFile(TRep* reply, const std::string& macro, const std::string& code);
    void StampFrom(TRep* reply, const std::string& path);
    int Adopt(std::unique_ptr<TRep> rep, TreeNode node);
    void CollectSubtree(TreeNode node, std::vector<TRep*>& reps) const;
    void RelinkSubtree(TreeNode node);
    void RemoveIndexEntries(const TRep* rep);
    void LoadFolderIndexAt(const std::string& indexPath, TreeNode parent, int depth);
    int DepthOf(TreeNode node) const;
    bool IsInSubtree(TreeNode node, TreeNode root) const;
    bool MoveWithinDirectory(TRep* entry, TRep* target, const std::string& indexPath);
    bool MoveAcrossDirectories(
        TRep* entry, TRep* target, const std::string& sourceIndex, const std::string& destinationIndex);

    std::vector<std::unique_ptr<TRep>> items_;
    std::string root_;
    std::string sharedRoot_;
    TRep* sharedTop_ = nullptr;
    TSharedAccess sharedAccess_ = TSharedAccess::None;
    std::vector<TKeyConflict> conflicts_;
    ITreeControl* tree_;
    TRepHotKeyList hotKeys_;
    TRepMacroList macros_;
    IFileSystem* fs_;
};

} // namespace corvane
