#include "exchange/ImportSet.h"

#include "exchange/ImportFormats.h"
#include "library/IndexFormat.h"
#include "library/LibraryFiles.h"
#include "library/TextUtils.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitCorvaneTypes.h"
#include "platform/FileSystem.h"

#include <memory>
#include <set>

namespace corvane {

namespace {

std::string LowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool IsTypableMacro(std::string_view macro)
{
    for (const char c : macro)
        if (kKeyCharsUnshifted.find(c) == std::string_view::npos && kKeyCharsShifted.find(c) == std::string_view::npos)
            return false;
    return true;
}

// The first line of a text, cut to a length a tree label can show.
std::string NameFromText(std::string_view text)
{
    const size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos)
        return {};
    text.remove_prefix(start);
    text = text.substr(0, text.find_first_of("\r\n"));
    constexpr size_t kLongest = 40;
    if (text.size() <= kLongest)
        return std::string(text);
    size_t cut = kLongest;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut; // not inside a UTF-8 sequence
    return std::string(text.substr(0, cut)) + "...";
}

void AppendNote(std::string& note, const std::string& more) { note += note.empty() ? more : "; " + more; }

// One directory of the import as it will be written.
struct TDirPlan {
    std::string path;
    std::vector<std::string> indexLines;
    std::vector<std::pair<std::string, std::unique_ptr<TDirPlan>>> folders; // by name, in order of appearance
    int replies = 0;

    TDirPlan& Folder(const std::string& name)
    {
        for (auto& [n, dir] : folders)
            if (n == name)
                return *dir;
        auto dir = std::make_unique<TDirPlan>();
        const std::string number = std::to_string(folders.size() + 1);
        dir->path = path + "\\" + number;
        indexLines.push_back(MakeIndexLine("FOLDER_", number, name));
        folders.emplace_back(name, std::move(dir));
        return *folders.back().second;
    }
};

bool CreateDirs(IFileSystem& fs, const TDirPlan& dir)
{
    if (!fs.CreateDir(dir.path))
        return false;
    for (const auto& [name, sub] : dir.folders)
        if (!CreateDirs(fs, *sub))
            return false;
    return true;
}

bool WriteIndexes(IFileSystem& fs, const TDirPlan& dir)
{
    if (!WriteTextLines(fs, IndexPathIn(dir.path), dir.indexLines))
        return false;
    for (const auto& [name, sub] : dir.folders)
        if (!WriteIndexes(fs, *sub))
            return false;
    return true;
}

} // namespace

TImportFormat ImportFormatOf(std::string_view fileName)
{
    const std::string lower = LowerAscii(fileName);
    if (EndsWith(lower, ".csv") || EndsWith(lower, ".txt"))
        return TImportFormat::Csv;
    if (EndsWith(lower, ".ahk"))
        return TImportFormat::AutoHotkey;
    if (EndsWith(lower, ".yml") || EndsWith(lower, ".yaml"))
        return TImportFormat::Espanso;
    if (EndsWith(lower, ".plist") || EndsWith(lower, ".xml") || EndsWith(lower, ".textexpander"))
        return TImportFormat::Plist;
    return TImportFormat::Unknown;
}

std::string ImportFolderName(std::string_view path)
{
    const size_t slash = path.find_last_of("\\/");
    if (slash != std::string_view::npos)
        path.remove_prefix(slash + 1);
    const size_t dot = path.rfind('.');
    if (dot != std::string_view::npos && dot > 0)
        path = path.substr(0, dot);
    return path.empty() ? std::string("Imported replies") : std::string(path);
}

std::string CheckImportBytes(std::string_view bytes, bool utf8Only)
{
    if (bytes.size() > kImportMaxBytes)
        return "The file is too large to be a list of replies (" + std::to_string(bytes.size() / (1024 * 1024))
            + " MB; at most " + std::to_string(kImportMaxBytes / (1024 * 1024)) + " MB are read).";
    if (bytes.empty())
        return "The file is empty.";
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return "The file is saved as UTF-16. Save it as UTF-8 and import it again.";
    if (bytes.find('\0') != std::string_view::npos)
        return "The file holds binary data, not text.";
    if (utf8Only) {
        if (!IsValidUtf8(WithoutUtf8Bom(bytes)))
            return "The file is not UTF-8 text: it was saved in another encoding, or it is damaged.";
    }
    return {};
}

TImportSet ReadImport(TImportFormat format, std::string_view bytes, const TCodePage& codePage)
{
    switch (format) {
    case TImportFormat::Csv:
        return ReadCsvImport(bytes, codePage);
    case TImportFormat::AutoHotkey:
        return ReadAutoHotkeyImport(bytes, codePage);
    case TImportFormat::Espanso:
        return ReadEspansoImport(bytes, codePage);
    case TImportFormat::Plist:
        return ReadPlistImport(bytes, codePage);
    case TImportFormat::Unknown:
        break;
    }
    TImportSet set;
    set.error = "Corvane imports CSV files (.csv), AutoHotkey scripts (.ahk), espanso match files (.yml) and property "
                "lists (.plist, .xml).";
    return set;
}

std::string ImportSummary(const TImportSet& set, const std::string& folderName)
{
    const auto counted = [](size_t count, const char* one, const char* many) {
        return std::to_string(count) + " " + (count == 1 ? one : many);
    };
    return counted(set.replies.size(), "reply comes", "replies come") + " in under the new folder \"" + folderName
        + "\"; " + counted(set.notTaken.size(), "entry is", "entries are")
        + " not taken. Nothing is written before you click Import.";
}

void AddIncoming(TImportSet& set, TIncoming in, const TCodePage& codePage)
{
    TImportReply reply;
    for (const std::string& folder : in.folders)
        if (!folder.empty())
            reply.folders.push_back(codePage.fromUtf8(folder));
    std::string name = NameFromText(in.name);
    if (name.empty())
        name = in.macro.empty() ? NameFromText(in.text) : in.macro;
    if (name.empty())
        name = "Imported reply";
    reply.name = codePage.fromUtf8(name);
    reply.note = std::move(in.note);
    if (!in.macro.empty() && !IsTypableMacro(in.macro))
        AppendNote(reply.note,
            "macro \"" + codePage.fromUtf8(in.macro)
                + "\" has characters that cannot be typed as a macro: comes without it");
    else
        reply.macro = std::move(in.macro);
    reply.hotKey = std::move(in.hotKey);
    if (!in.rtfLines.empty())
        reply.rtfLines = std::move(in.rtfLines);
    else if (!in.text.empty())
        reply.rtfLines = RtfLinesOfText(in.text, codePage);
    set.replies.push_back(std::move(reply));
}

void ResolveAgainstLibrary(TImportSet& set, const TRepList& library)
{
    std::set<std::string> stems;
    std::set<std::string> codes;
    for (TImportReply& reply : set.replies) {
        if (!reply.macro.empty()) {
            const std::string stem = UpperCaseAnsi(MacroStem(reply.macro));
            if (library.MatchMacro(reply.macro) >= 0 || !stems.insert(stem).second) {
                AppendNote(reply.note, "macro \"" + reply.macro + "\" is in use: comes without it");
                reply.macro.clear();
            }
        }
        if (!reply.hotKey.empty()) {
            const std::string code = UpperCaseAnsi(reply.hotKey);
            if (library.FindHotKey(code) >= 0 || !codes.insert(code).second) {
                AppendNote(reply.note, "hot key " + HotKeyText(code) + " is in use: comes without it");
                reply.hotKey.clear();
            }
        }
    }
}

std::string WriteImport(TRepList& library, IFileSystem& fs, const TImportSet& set, const std::string& folderName)
{
    if (set.replies.empty())
        return "There is nothing to import.";
    const std::string root = library.Root();
    auto rootLines = ReadTextLines(fs, library.RootIndexPath());
    if (!rootLines)
        return FormatMessageText("File \"%s\" can't be opened.", library.RootIndexPath());
    const std::string number = FreeEntryNumber(fs, root, true, *rootLines);
    TDirPlan top;
    top.path = root + "\\" + number;
    std::vector<std::pair<std::string, const TImportReply*>> files;
    for (const TImportReply& reply : set.replies) {
        TDirPlan* dir = &top;
        for (const std::string& folder : reply.folders)
            dir = &dir->Folder(folder);
        const std::string n = std::to_string(++dir->replies);
        dir->indexLines.push_back(MakeIndexLine("REPLY_", n, reply.name));
        files.emplace_back(EntryPathIn(dir->path, n, false), &reply);
    }
    const auto fail = [&] {
        (void)DeleteTree(fs, top.path);
        return "The replies could not be written into \"" + top.path + "\". Nothing was imported.";
    };
    if (!CreateDirs(fs, top))
        return fail();
    for (const auto& [path, reply] : files) {
        std::vector<std::string> lines = {reply->macro, reply->hotKey};
        lines.insert(lines.end(), reply->rtfLines.begin(), reply->rtfLines.end());
        if (!WriteTextLines(fs, path, lines))
            return fail();
    }
    if (!WriteIndexes(fs, top))
        return fail();
    rootLines->push_back(MakeIndexLine("FOLDER_", number, folderName));
    if (!WriteTextLines(fs, library.RootIndexPath(), *rootLines))
        return fail();

    library.BeginBulkLoad();
    const TRep* shared = library.SharedTop();
    const int index
        = shared ? library.InsertNodeBefore(folderName, shared->Node) : library.AddNodeLast(folderName, nullptr);
    TRep* folder = library.Items(index);
    folder->FolderName = number;
    library.LoadFolderIndex(IndexPathIn(top.path), folder->Node);
    library.EndBulkLoad();
    return {};
}

} // namespace corvane
