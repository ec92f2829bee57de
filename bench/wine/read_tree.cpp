// The floor of a start with no reply cache (not a test): a console program
// that lists a folder's tree and opens and reads every file in it with the
// calls Corvane's reader makes, and nothing else. Prints
// "files N bytes N ms N".
//   read_tree FOLDER
#include "win32/Handles.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using corvane::win32::UniqueFileHandle;
using corvane::win32::UniqueFind;

struct Totals {
    unsigned long files = 0;
    unsigned long long bytes = 0;
};

void ReadWhole(const std::string& path, Totals& totals)
{
    const UniqueFileHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size))
        return;
    std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        totals.bytes += read;
    ++totals.files;
}

void ReadTree(const std::string& folder, Totals& totals)
{
    WIN32_FIND_DATAA found{};
    const UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!find)
        return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ReadTree(folder + "\\" + name, totals);
        else
            ReadWhole(folder + "\\" + name, totals);
    } while (FindNextFileA(find.Get(), &found));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: read_tree FOLDER\n");
        return 2;
    }
    LARGE_INTEGER frequency{}, start{}, end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    Totals totals;
    ReadTree(argv[1], totals);
    QueryPerformanceCounter(&end);
    std::printf("files %lu bytes %llu ms %lld\n", totals.files, totals.bytes,
        (end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart);
    return 0;
}
