// Writes a library over and over, as the program does, until it is killed.
//   library_writer FOLDER REPLIES   saves <FOLDER>\1.rep .. <REPLIES>.rep, as
//                                   Save All does; a generation number at
//                                   each file's start and end tells a whole
//                                   file from a torn one
//   library_writer moves ROOT       loads the library at ROOT (replies R1, R2,
//                                   a folder Box holding B1; a folder Inner)
//                                   and, round after round, moves R1 and
//                                   Inner into Box or out of it, and back,
//                                   and saves every reply
// Every file goes through the program's own file system and library code.
#include "fakes/FakeListBox.h"
#include "fakes/FakeTreeControl.h"
#include "library/UnitCorvaneTypes.h"
#include "win32/Win32FileSystem.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A large body that begins and ends with the generation.
std::string ReplyBody(int reply, long generation)
{
    std::string text = "{\\rtf1 gen " + std::to_string(generation) + "\r\n";
    for (int line = 0; line < 2000; ++line)
        text += "\\par filler line " + std::to_string(line) + " of reply " + std::to_string(reply) + "\r\n";
    return text + "end " + std::to_string(generation) + "}\r\n";
}

// Line 1 the macro, line 2 no hot key, then the body.
std::string ReplyText(int reply, long generation)
{
    return "m" + std::to_string(reply) + "\r\n\r\n" + ReplyBody(reply, generation);
}

int SaveForever(const std::string& folder, int replies)
{
    corvane::win32::Win32FileSystem fs;
    for (long generation = 1;; ++generation) {
        for (int reply = 1; reply <= replies; ++reply)
            if (!fs.WriteFileReplacing(folder + "\\" + std::to_string(reply) + ".rep", ReplyText(reply, generation)))
                return 1;
        std::printf("saved %ld\n", generation);
        std::fflush(stdout);
    }
}

int MoveForever(const std::string& root)
{
    corvane::win32::Win32FileSystem fs;
    corvane::fakes::FakeTreeControl tree;
    corvane::fakes::FakeListBox hotKeys, macros;
    corvane::TRepList library{tree, hotKeys, macros, fs, root};
    library.BeginBulkLoad();
    library.LoadFolderIndex(library.RootIndexPath(), nullptr);
    library.EndBulkLoad();
    // As a drop in the tree does: the files, then the node. R2 and Box/B1
    // never move; a killed writer may have left R1 or Inner on either side.
    auto moveAcross = [&](const std::string& name) {
        const bool inBox = tree.Find("Box/" + name) != nullptr;
        corvane::TRep* moved = library.RepOf(tree.Find(inBox ? "Box/" + name : name));
        corvane::TRep* before = library.RepOf(tree.Find(inBox ? "R2" : "Box/B1"));
        if (!moved || !before || !library.MoveBefore(moved, before)) {
            std::printf("could not move %s\n", name.c_str());
            return false;
        }
        library.MoveNodeBefore(moved, before);
        return true;
    };
    for (long round = 1;; ++round) {
        if (!moveAcross("R1") || !moveAcross("Inner") || !moveAcross("R1") || !moveAcross("Inner"))
            return 1;
        for (int i = 0; i < library.Count(); ++i) {
            corvane::TRep* reply = library.Items(i);
            if (reply->IsFolder())
                continue;
            library.SetBodyText(reply, ReplyBody(i, round));
            if (!library.SaveReplyFile(reply))
                return 1;
        }
        std::printf("round %ld\n", round);
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "moves") == 0)
        return MoveForever(argv[2]);
    if (argc < 3)
        return 2;
    return SaveForever(argv[1], std::atoi(argv[2]));
}
