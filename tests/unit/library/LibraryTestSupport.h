#pragma once
// A reply library in a fresh temporary directory, plus the fakes a TRepList
// is built on.
#include "fakes/FakeListBox.h"
#include "fakes/FakeTreeControl.h"
#include "fakes/FaultyFileSystem.h"
#include "fakes/NativeFileSystem.h"
#include "fakes/RecordingMessageBoxes.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitCorvaneTypes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace corvane::testing {

// Temporary directory layout: <tmp>/data/Replies is the library root,
// <tmp>/outside holds files no library operation may touch.
class TempLibraryDir {
public:
    TempLibraryDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvane-lib-XXXXXX").string();
        base_ = ::mkdtemp(pattern.data());
        std::filesystem::create_directories(base_ + "/data/Replies");
        std::filesystem::create_directories(base_ + "/outside");
    }
    ~TempLibraryDir()
    {
        std::error_code ignored;
        std::filesystem::permissions(base_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(base_, ignored);
    }
    TempLibraryDir(const TempLibraryDir&) = delete;
    TempLibraryDir& operator=(const TempLibraryDir&) = delete;

    // Posix path of a file relative to the library root ("2/index.sub").
    std::string Posix(const std::string& relative) const { return base_ + "/data/Replies/" + relative; }
    std::string Base() const { return base_; }
    // Windows-style path as the library builds it.
    std::string Win(const std::string& relative) const
    {
        return fakes::ToWindowsPath(relative.empty() ? base_ + "/data/Replies" : Posix(relative));
    }

    void Write(const std::string& relative, const std::string& bytes) const
    {
        const std::filesystem::path path = Posix(relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& relative) const
    {
        std::ifstream in(Posix(relative), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }
    bool Exists(const std::string& relative) const { return std::filesystem::exists(Posix(relative)); }
    // Names in a directory of the library, sorted, for leftover checks.
    std::string Listing(const std::string& relative) const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Posix(relative)))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        std::string text;
        for (const auto& name : names)
            text += (text.empty() ? "" : " ") + name;
        return text;
    }

private:
    std::string base_;
};

// A library over the temporary directory with recording message boxes.
struct LibraryFixture : ::testing::Test {
    TempLibraryDir dir;
    fakes::NativeFileSystem native;
    fakes::FaultyFileSystem fs{native};
    fakes::FakeTreeControl tree;
    fakes::FakeListBox hotKeyBox;
    fakes::FakeListBox macroBox;
    fakes::RecordingMessageBoxes boxes;
    TRepList lib{tree, hotKeyBox, macroBox, fs, LibraryRootIn(fakes::ToWindowsPath(dir.Base() + "/data/"))};

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
