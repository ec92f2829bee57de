// Saves every reply of a library over and over, as Save All does, until it is
// killed. Each reply file is written through the program's own file system
// seam; a generation number at its start and end tells a whole file from a
// torn one.
//   library_writer FOLDER REPLIES
#include "win32/Win32FileSystem.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Line 1 the macro, line 2 no hot key, then a large body that begins and
// ends with the generation.
std::string ReplyText(int reply, long generation)
{
    std::string text = "m" + std::to_string(reply) + "\r\n\r\n{\\rtf1 gen " + std::to_string(generation) + "\r\n";
    for (int line = 0; line < 2000; ++line)
        text += "\\par filler line " + std::to_string(line) + " of reply " + std::to_string(reply) + "\r\n";
    return text + "end " + std::to_string(generation) + "}\r\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const std::string folder = argv[1];
    const int replies = std::atoi(argv[2]);
    corvane::win32::Win32FileSystem fs;
    for (long generation = 1;; ++generation) {
        for (int reply = 1; reply <= replies; ++reply)
            if (!fs.WriteFileReplacing(folder + "\\" + std::to_string(reply) + ".rep", ReplyText(reply, generation)))
                return 1;
        std::printf("saved %ld\n", generation);
        std::fflush(stdout);
    }
}
