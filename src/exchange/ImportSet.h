#pragma once
// Replies read from another tool's file, before they enter the library: what
// comes in, what does not and why, and the step that writes them.
#include "exchange/TextEncoding.h"

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class IFileSystem;
class TRepList;
class TRep;

// The largest file an import reads; a reply library of thousands of replies
// stays far below it.
inline constexpr size_t kImportMaxBytes = 16u * 1024u * 1024u;

struct TImportReply {
    std::vector<std::string> folders; // below the import's own folder, outermost first
    std::string name;
    std::string macro;
    std::string hotKey; // a hot-key code, "1A"
    std::vector<std::string> rtfLines; // the body
    std::string note; // what changed on the way in, shown in the preview
};

struct TNotTaken {
    std::string what; // the entry as the file names it
    std::string reason;
};

struct TImportSet {
    std::vector<TImportReply> replies;
    std::vector<TNotTaken> notTaken;
    // Set when the file cannot be read as a whole: nothing at all comes in.
    std::string error;
};

enum class TImportFormat { Unknown, Csv, AutoHotkey, Espanso, Plist };

// By the file name's extension: .csv/.txt, .ahk, .yml/.yaml, .plist/.xml/.textexpander.
TImportFormat ImportFormatOf(std::string_view fileName);
// The file name without folder and extension: the new top folder's name.
std::string ImportFolderName(std::string_view path);

// Reads the file's bytes as the format says; texts turned into the library's
// code page. Every importer refuses binary data, files larger than
// kImportMaxBytes and text it cannot decode, with a message in `error`.
TImportSet ReadImport(TImportFormat format, std::string_view bytes, const TCodePage& codePage);

// Checks that hold for every format before its own parser runs; empty when
// the bytes may be text. `utf8Only` for formats that are UTF-8 by definition.
std::string CheckImportBytes(std::string_view bytes, bool utf8Only);

// One reply taken from a file: name, macro and text as UTF-8, the rest as
// the library holds them. The body is made from `text` unless `rtfLines` is
// given.
struct TIncoming {
    std::vector<std::string> folders;
    std::string name;
    std::string macro;
    std::string hotKey;
    std::string text;
    std::vector<std::string> rtfLines;
    std::string note;
};
void AddIncoming(TImportSet& set, TIncoming incoming, const TCodePage& codePage);

// The preview's summary: how many replies come in under `folderName`, how
// many entries are not taken, each count with its noun and verb agreeing.
std::string ImportSummary(const TImportSet& set, const std::string& folderName);

// Macros and hot keys that the library or an earlier reply of the import
// holds stay where they are: the reply comes in without them, and its note
// says so. Macros with characters that cannot be typed are dropped too.
void ResolveAgainstLibrary(TImportSet& set, const TRepList& library);

// Writes the replies under a new top-level folder `folderName` (their own
// folders below it) and shows it in the tree. The files are written first and
// the root index last, so a failure leaves the library as it was; returns an
// error text, empty on success.
std::string WriteImport(TRepList& library, IFileSystem& fs, const TImportSet& set, const std::string& folderName);

} // namespace corvane
