// Importing 10,000 replies from a CSV file (read, checked against the
// library, written to disk and shown in the tree) beside loading the same
// library from disk, in one run; the ratio is import / load.
#include "exchange/ImportFormats.h"
#include "fakes/FakeListBox.h"
#include "fakes/FakeTreeControl.h"
#include "fakes/NativeFileSystem.h"
#include "library/SharedWatch.h"
#include "library/UnitCorvaneTypes.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace corvane {
namespace {

constexpr int kReplies = 10000;
constexpr int kPerFolder = 100;

std::string GeneratedCsv()
{
    std::string csv = "Folder,Name,Macro,Hot key,Text\r\n";
    for (int i = 0; i < kReplies; ++i)
        csv += "Area " + std::to_string(i / 1000) + "/Topic " + std::to_string(i / kPerFolder) + ",Reply "
            + std::to_string(i) + ",m" + std::to_string(i) + ",,\"Dear customer,\r\nthank you for message "
            + std::to_string(i) + ", we will answer soon.\r\nBest regards\"\r\n";
    return csv;
}

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

int Run()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-exchange-XXXXXX").string();
    const std::string base = ::mkdtemp(pattern.data());
    std::filesystem::create_directories(base + "/Replies");
    std::ofstream(base + "/Replies/index.sub").flush();
    const std::string root = LibraryRootIn(fakes::ToWindowsPath(base + "/"));
    fakes::NativeFileSystem native;
    TSharedWatch fs{native};
    const std::string csv = GeneratedCsv();

    fakes::FakeTreeControl tree;
    fakes::FakeListBox hotKeys, macros;
    TRepList library(tree, hotKeys, macros, fs, root);
    const auto importStart = std::chrono::steady_clock::now();
    TImportSet set = ReadCsvImport(csv, Windows1252());
    ResolveAgainstLibrary(set, library);
    const std::string error = WriteImport(library, fs, set, "generated");
    const double importMs = MillisecondsSince(importStart);
    if (!error.empty() || library.MacroCount() != kReplies) {
        std::fprintf(stderr, "import failed: %s (%d macros)\n", error.c_str(), library.MacroCount());
        return 1;
    }

    fakes::FakeTreeControl tree2;
    fakes::FakeListBox hotKeys2, macros2;
    TRepList loaded(tree2, hotKeys2, macros2, fs, root);
    const auto loadStart = std::chrono::steady_clock::now();
    loaded.BeginBulkLoad();
    loaded.LoadFolderIndex(loaded.RootIndexPath(), nullptr);
    loaded.EndBulkLoad();
    const double loadMs = MillisecondsSince(loadStart);
    std::filesystem::remove_all(base);
    if (loaded.MacroCount() != kReplies) {
        std::fprintf(stderr, "load found %d macros\n", loaded.MacroCount());
        return 1;
    }
    std::printf("import of %d replies from CSV (%zu KB): %.1f ms\n", kReplies, csv.size() / 1024, importMs);
    std::printf("load of the same library from disk (baseline): %.1f ms\n", loadMs);
    std::printf("ratio import / load: %.2f\n", importMs / loadMs);
    return 0;
}

} // namespace
} // namespace corvane

int main() { return corvane::Run(); }
