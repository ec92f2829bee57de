// A stress run, not a timed test: N writer processes share one team library
// folder for a while, each adding, renaming, moving and deleting its own
// replies through the same editing code as the main window. Afterwards every
// index line must have its file, every reply file its line, and every reply
// that a writer last saw in place must be there, once.
//   team_stress [writers=4] [seconds=60]
#include "editing/LibraryEditing.h"
#include "fakes/FakeListBox.h"
#include "fakes/FakePanelControls.h"
#include "fakes/FakeReplyEditor.h"
#include "fakes/FakeTreeControl.h"
#include "fakes/NativeFileSystem.h"
#include "fakes/RecordingMessageBoxes.h"
#include "library/IndexFormat.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitConsts.h"
#include "library/UnitCorvaneTypes.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace corvane {
namespace {

namespace fs = std::filesystem;

const char* const kFolders[] = {"1", "2"};

void WriteFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Two folders, each with an anchor reply that no writer touches.
void MakeSharedLibrary(const fs::path& shared)
{
    WriteFile(shared / "index.sub", "FOLDER_1?Folder one\r\nFOLDER_2?Folder two\r\n");
    for (const char* folder : kFolders) {
        WriteFile(shared / folder / "index.sub", "REPLY_1?Anchor\r\n");
        WriteFile(shared / folder / "1.rep", "\r\n\r\n");
    }
}

struct Counts {
    int adds = 0, renames = 0, moves = 0, deletes = 0, refused = 0;
};

// One writer: its own replies by label, and what it did.
int RunWriter(int writer, const fs::path& base, int seconds)
{
    fakes::RecordingMessageBoxes boxes;
    SetMessageBoxes(&boxes);
    const fs::path own = base / ("own" + std::to_string(writer));
    WriteFile(own / "Replies" / "index.sub", "");
    fakes::NativeFileSystem files;
    fakes::FakeTreeControl tree;
    fakes::FakeListBox hotKeys, macros;
    TRepList lib{tree, hotKeys, macros, files, LibraryRootIn(fakes::ToWindowsPath(own.string() + "/"))};
    lib.LoadSharedLibrary(fakes::ToWindowsPath((base / "shared").string()), "Team");
    fakes::FakeLineEdit name, macro;
    fakes::FakeCheckBox hotKey, shift;
    fakes::FakeDropDownList key{static_cast<int>(kHotKeyChars.size())};
    fakes::FakeReplyEditor editor;
    TLibraryEditing editing{lib, files, TReplyPanel{name, macro, hotKey, shift, key, editor}};

    auto anchor = [&](int folder) {
        return tree.Find(std::string("Team/Folder ") + (folder == 0 ? "one" : "two") + "/Anchor");
    };
    std::vector<std::string> mine; // labels, each unique
    std::mt19937 random(static_cast<unsigned>(writer * 7919 + 17));
    Counts counts;
    int serial = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        const int op = mine.empty() ? 0 : static_cast<int>(random() % 4);
        const int folder = static_cast<int>(random() % 2);
        const size_t pick = mine.empty() ? 0 : random() % mine.size();
        const size_t errorsBefore = boxes.shown.size();
        auto nodeOf = [&](const std::string& label) {
            for (int f = 0; f < 2; ++f)
                if (TreeNode node = tree.Find(std::string("Team/Folder ") + (f == 0 ? "one" : "two") + "/" + label))
                    return node;
            return TreeNode{};
        };
        if (op == 0) {
            editing.SelectNode(anchor(folder));
            editing.NavAddReplyExecute();
            const TreeNode added = tree.Editing();
            const std::string label = "w" + std::to_string(writer) + "-" + std::to_string(++serial);
            if (added && boxes.shown.size() == errorsBefore) {
                editing.NavigationEdited(added, label);
                // Named or not, the reply is there under the label it shows.
                mine.push_back(tree.Label(added));
                ++counts.adds;
            }
        } else if (op == 1) {
            const std::string label = "w" + std::to_string(writer) + "-" + std::to_string(++serial);
            const TreeNode node = nodeOf(mine[pick]);
            editing.SelectNode(node);
            editing.NavigationEdited(node, label);
            if (tree.Label(node) == label) {
                mine[pick] = label;
                ++counts.renames;
            }
        } else if (op == 2) {
            editing.SelectNode(nodeOf(mine[pick]));
            editing.NavigationDragDrop(anchor(folder));
            counts.moves += boxes.shown.size() == errorsBefore;
        } else {
            editing.SelectNode(nodeOf(mine[pick]));
            editing.NavDeleteExecute();
            if (!nodeOf(mine[pick])) {
                mine.erase(mine.begin() + static_cast<std::ptrdiff_t>(pick));
                ++counts.deletes;
            }
        }
        counts.refused += boxes.shown.size() != errorsBefore && boxes.shown.back().kind == "Error";
    }
    std::ofstream out(base / ("writer" + std::to_string(writer) + ".txt"));
    out << counts.adds << ' ' << counts.renames << ' ' << counts.moves << ' ' << counts.deletes << ' ' << counts.refused
        << '\n';
    for (const std::string& label : mine)
        out << label << '\n';
    return 0;
}

// Labels found in the shared library; counts the lines without a file and
// the files without a line.
std::map<std::string, int> CheckLibrary(const fs::path& shared, int& unlistedFiles, int& missingFiles)
{
    std::map<std::string, int> labels;
    for (const char* folder : kFolders) {
        std::set<std::string> listed;
        for (const std::string& line : SplitTextLines(ReadFile(shared / folder / "index.sub"))) {
            const IndexLine parts = SplitIndexLine(line);
            listed.insert(parts.number + ".rep");
            ++labels[parts.name];
            if (!fs::exists(shared / folder / (parts.number + ".rep")))
                ++missingFiles;
        }
        for (const auto& entry : fs::directory_iterator(shared / folder))
            if (entry.path().extension() == ".rep" && !listed.count(entry.path().filename().string()))
                ++unlistedFiles;
    }
    return labels;
}

} // namespace
} // namespace corvane

int main(int argc, char** argv)
{
    using namespace corvane;
    const int writers = argc > 1 ? std::atoi(argv[1]) : 4;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 60;
    std::string pattern = (fs::temp_directory_path() / "corvane-stress-XXXXXX").string();
    const fs::path base = ::mkdtemp(pattern.data());
    MakeSharedLibrary(base / "shared");

    std::vector<pid_t> children;
    for (int w = 0; w < writers; ++w) {
        const pid_t child = ::fork();
        if (child == 0)
            std::_Exit(RunWriter(w, base, seconds));
        children.push_back(child);
    }
    for (pid_t child : children)
        ::waitpid(child, nullptr, 0);

    Counts total;
    std::vector<std::string> expected;
    for (int w = 0; w < writers; ++w) {
        std::istringstream in(ReadFile(base / ("writer" + std::to_string(w) + ".txt")));
        Counts counts;
        in >> counts.adds >> counts.renames >> counts.moves >> counts.deletes >> counts.refused;
        total.adds += counts.adds;
        total.renames += counts.renames;
        total.moves += counts.moves;
        total.deletes += counts.deletes;
        total.refused += counts.refused;
        for (std::string label; in >> label;)
            expected.push_back(label);
    }
    int unlisted = 0;
    int missing = 0;
    std::map<std::string, int> found = CheckLibrary(base / "shared", unlisted, missing);
    int lost = 0;
    int doubled = 0;
    for (const std::string& label : expected) {
        lost += found[label] == 0;
        doubled += found[label] > 1;
    }
    const int operations = total.adds + total.renames + total.moves + total.deletes;
    std::printf("writers %d, %d s: %d operations (%d adds, %d renames, %d moves, %d deletes), %d refused as busy\n",
        writers, seconds, operations, total.adds, total.renames, total.moves, total.deletes, total.refused);
    std::printf("replies expected %zu; lost %d, listed twice %d, lines without file %d, files without line %d\n",
        expected.size(), lost, doubled, missing, unlisted);
    std::error_code ignored;
    fs::remove_all(base, ignored);
    return lost + doubled + missing + unlisted == 0 ? 0 : 1;
}
