#pragma once
// A library over the in-memory file system, with the rule that every path the
// library code names lies inside its root, and a snapshot of what it holds.
#include "fakes/FakeListBox.h"
#include "fakes/FakeTreeControl.h"
#include "fakes/RecordingMessageBoxes.h"
#include "fuzz/FuzzInput.h"
#include "fakes/MemoryFileSystem.h"
#include "library/IndexFormat.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitCorvaneTypes.h"

#include <string>

namespace corvane::fuzz {

using fakes::MemoryFileSystem;

inline constexpr char kDataDir[] = "C:\\Users\\fuzz\\AppData\\Corvane 2\\";

// The root itself, or the root, "\" and plain components only.
inline bool InsideRoot(const std::string& root, const std::string& path)
{
    if (path == root)
        return true;
    if (path.size() <= root.size() + 1 || path.compare(0, root.size(), root) != 0 || path[root.size()] != '\\')
        return false;
    size_t start = root.size() + 1;
    for (;;) {
        const size_t cut = path.find('\\', start);
        if (!IsPlainPathComponent(std::string_view(path).substr(start, cut == std::string::npos ? cut : cut - start)))
            return false;
        if (cut == std::string::npos)
            return true;
        start = cut + 1;
    }
}

struct LibraryRig {
    explicit LibraryRig()
    {
        fs.CreateDirs(library.Root());
        fs.checkPath = [this](const std::string& path) {
            Check(InsideRoot(library.Root(), path), "a path outside the library root was named", path);
        };
        SetMessageBoxes(&boxes);
    }
    ~LibraryRig() { SetMessageBoxes(nullptr); }

    void Load()
    {
        library.BeginBulkLoad();
        library.ClearAll();
        library.LoadFolderIndex(library.RootIndexPath(), nullptr);
        library.EndBulkLoad();
    }

    fakes::FakeTreeControl tree;
    fakes::FakeListBox hotKeyBox, macroBox;
    MemoryFileSystem fs;
    fakes::RecordingMessageBoxes boxes;
    TRepList library{tree, hotKeyBox, macroBox, fs, LibraryRootIn(kDataDir)};
};

// Depth-first, in display order: kind, label, macro, hot key and body of
// every entry.
inline void AppendSnapshot(const TRepList& library, TreeNode parent, std::string& out)
{
    const ITreeControl& tree = library.Tree();
    for (int i = 0; i < tree.ChildCount(parent); ++i) {
        const TreeNode node = tree.Child(parent, i);
        const TRep* rep = library.RepOf(node);
        out += rep->IsFolder() ? "F[" : "R[";
        out += tree.Label(node);
        if (!rep->IsFolder()) {
            const int macro = library.MacroIndexOf(rep);
            const int hotKey = library.HotKeyIndexOf(rep);
            out += "|m=" + (macro >= 0 ? library.MacroAt(macro) : std::string());
            out += "|k=" + (hotKey >= 0 ? library.HotKeyCodeAt(hotKey) : std::string());
            out += "|b=";
            for (const std::string& line : rep->Lines)
                out += line + "\\n";
        }
        AppendSnapshot(library, node, out);
        out += "]";
    }
}

inline std::string Snapshot(const TRepList& library)
{
    std::string out;
    AppendSnapshot(library, nullptr, out);
    return out;
}

} // namespace corvane::fuzz
