#pragma once
// A reply library on the in-memory file system, plus the fakes a TRepList is
// built on.
#include "fakes/FakeListBox.h"
#include "fakes/FakeTreeControl.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/RecordingMessageBoxes.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitCorvaneTypes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace corvane::testing {

// Layout: C:\Users\Tester\data\Replies is the library root,
// C:\Users\Tester\outside holds files no library operation may touch.
// Paths relative to the root are written with "/" ("2/index.sub").
class LibraryDir {
public:
    LibraryDir()
    {
        files.PutDir(Win(""));
        files.PutDir(Outside(""));
    }

    std::string Base() const { return "C:\\Users\\Tester"; }
    // The data folder, as the program's paths object ends it.
    std::string DataDir() const { return Base() + "\\data\\"; }
    // Windows path of a file relative to the library root, as the library builds it.
    std::string Win(const std::string& relative) const { return Under(Base() + "\\data\\Replies", relative); }
    std::string Outside(const std::string& relative) const { return Under(Base() + "\\outside", relative); }

    void Write(const std::string& relative, const std::string& bytes) { files.PutFile(Win(relative), bytes); }
    void MakeDir(const std::string& relative) { files.PutDir(Win(relative)); }
    std::string Read(const std::string& relative) const { return files.Peek(Win(relative)).value_or(""); }
    bool Exists(const std::string& relative) const { return files.Has(Win(relative)); }
    // Names in a directory of the library, sorted, for leftover checks.
    std::string Listing(const std::string& relative) const
    {
        std::vector<std::string> names = files.NamesIn(Win(relative));
        std::sort(names.begin(), names.end());
        std::string text;
        for (const auto& name : names)
            text += (text.empty() ? "" : " ") + name;
        return text;
    }

    fakes::MemoryFileSystem files;

private:
    static std::string Under(const std::string& base, const std::string& relative)
    {
        std::string path = base;
        if (!relative.empty())
            path += "\\" + relative;
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }
};

// A library over the in-memory directory with recording message boxes.
struct LibraryFixture : ::testing::Test {
    LibraryDir dir;
    fakes::MemoryFileSystem& fs = dir.files;
    fakes::FakeTreeControl tree;
    fakes::FakeListBox hotKeyBox;
    fakes::FakeListBox macroBox;
    fakes::RecordingMessageBoxes boxes;
    TRepList lib{tree, hotKeyBox, macroBox, fs, LibraryRootIn(dir.DataDir())};

    LibraryFixture() { SetMessageBoxes(&boxes); }
    ~LibraryFixture() override { SetMessageBoxes(nullptr); }

    void Load()
    {
        lib.BeginBulkLoad();
        lib.ClearAll();
        lib.LoadFolderIndex(lib.RootIndexPath(), nullptr);
        lib.EndBulkLoad();
    }
    TRep* Rep(const std::string& labelPath) const { return lib.RepOf(tree.Find(labelPath)); }
    // True when every path the library asked the file system about is the
    // library root or lies inside it.
    ::testing::AssertionResult OnlyInsideRoot() const
    {
        const std::string root = dir.Win("") + "\\";
        for (const auto& path : fs.touched)
            if ((path + "\\").rfind(root, 0) != 0 || path.find("\\..") != std::string::npos)
                return ::testing::AssertionFailure() << "touched " << path;
        return ::testing::AssertionSuccess();
    }
};

} // namespace corvane::testing
