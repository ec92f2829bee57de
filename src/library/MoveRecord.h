#pragma once
// The note a move across directories leaves in the library root while it
// runs. Cut off after its new index line is written and before the old one
// goes, a move leaves the entry listed in both directories with the same
// content; the note tells the start-up tidy which of the two is the
// destination. It is one of the program's own temporaries (cvn*.tmp).
#include <optional>
#include <string>

namespace corvane {

class IFileSystem;

struct TMoveRecord {
    // Directories relative to the library root: "" for the root itself,
    // "\2\1" for folder 1 inside folder 2.
    std::string sourceDir;
    std::string sourceLine; // the entry's index line before the move
    std::string destinationDir;
    std::string destinationLine; // its index line after the move
};

// <root>\cvnmove.tmp
std::string MoveRecordPath(const std::string& root);
// `path` relative to `root`, which it must start with.
std::string RelativeToRoot(const std::string& root, const std::string& path);

[[nodiscard]] bool WriteMoveRecord(IFileSystem& fs, const std::string& root, const TMoveRecord& record);
// nullopt when there is no record, or one that names anything but plain
// directories below the root.
std::optional<TMoveRecord> ReadMoveRecord(const IFileSystem& fs, const std::string& root);

} // namespace corvane
