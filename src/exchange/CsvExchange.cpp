#include "exchange/ImportFormats.h"

#include "engine/ReplaceInReply.h"
#include "library/IndexFormat.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitCorvaneTypes.h"

#include <optional>
#include <unordered_map>

namespace corvane {

namespace {

using TRecord = std::vector<std::string>;

// The separator the header row uses: "," unless it holds more ";" or tabs,
// as spreadsheets of some locales write.
char SeparatorOf(std::string_view text)
{
    int comma = 0, semicolon = 0, tab = 0;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r'))
            break;
        else if (!quoted)
            comma += c == ',', semicolon += c == ';', tab += c == '\t';
    }
    if (semicolon > comma && semicolon >= tab)
        return ';';
    if (tab > comma && tab > semicolon)
        return '\t';
    return ',';
}

// RFC 4180 records; nullopt with `error` set when the text ends inside quotes.
std::optional<std::vector<TRecord>> ParseRecords(std::string_view text, char separator, std::string& error)
{
    std::vector<TRecord> records;
    TRecord record;
    std::string field;
    bool quoted = false;
    bool wasQuoted = false;
    int line = 1;
    int quoteLine = 0;
    const auto endField = [&] {
        record.push_back(std::move(field));
        field.clear();
        wasQuoted = false;
    };
    const auto endRecord = [&] {
        endField();
        records.push_back(std::move(record));
        record.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == '"' && field.empty() && !wasQuoted) {
            quoted = wasQuoted = true;
            quoteLine = line;
        } else if (c == separator) {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            ++line;
            endRecord();
        } else {
            field += c;
        }
    }
    if (quoted) {
        error = "The file ends inside a quoted field that starts on line " + std::to_string(quoteLine)
            + ": it may have been cut short. Nothing was imported.";
        return std::nullopt;
    }
    if (!field.empty() || !record.empty() || wasQuoted)
        endRecord();
    return records;
}

enum class TColumn { Folder, Name, Macro, HotKey, Text, Rtf, Other };

TColumn ColumnOf(std::string_view header)
{
    std::string key;
    for (const char c : header)
        if (c != ' ' && c != '_' && c != '-')
            key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (key == "folder" || key == "folderpath" || key == "path")
        return TColumn::Folder;
    if (key == "name" || key == "label" || key == "title")
        return TColumn::Name;
    if (key == "macro" || key == "abbreviation" || key == "trigger")
        return TColumn::Macro;
    if (key == "hotkey")
        return TColumn::HotKey;
    if (key == "text" || key == "replytext" || key == "content")
        return TColumn::Text;
    if (key == "rtf")
        return TColumn::Rtf;
    return TColumn::Other;
}

// A spreadsheet computes a cell that starts with one of these; the export
// puts an apostrophe before them, which the import takes off again.
bool StartsLikeFormula(std::string_view value)
{
    return !value.empty() && (value[0] == '=' || value[0] == '+' || value[0] == '-' || value[0] == '@');
}

std::string Unguarded(std::string value)
{
    if (value.size() > 1 && value[0] == '\'' && StartsLikeFormula(std::string_view(value).substr(1)))
        value.erase(0, 1);
    return value;
}

std::vector<std::string> SplitFolderPath(std::string_view path)
{
    std::vector<std::string> folders;
    std::string current;
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '/' && i + 1 < path.size() && path[i + 1] == '/') {
            current += '/';
            ++i;
        } else if (path[i] == '/') {
            folders.push_back(std::move(current));
            current.clear();
        } else {
            current += path[i];
        }
    }
    folders.push_back(std::move(current));
    for (std::string& f : folders) {
        const size_t a = f.find_first_not_of(' ');
        const size_t b = f.find_last_not_of(' ');
        f = a == std::string::npos ? std::string() : f.substr(a, b - a + 1);
    }
    std::erase(folders, std::string());
    return folders;
}

std::string FolderPathText(const std::vector<std::string>& folders)
{
    std::string path;
    for (const std::string& folder : folders) {
        if (!path.empty())
            path += '/';
        for (const char c : folder)
            path += c == '/' ? std::string("//") : std::string(1, c);
    }
    return path;
}

std::string CsvField(const std::string& value)
{
    std::string v = StartsLikeFormula(value) ? "'" + value : value;
    if (v.find_first_of(",;\"\r\n\t") == std::string::npos && (v.empty() || (v.front() != ' ' && v.back() != ' ')))
        return v;
    std::string out = "\"";
    for (const char c : v)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

void ExportFolder(const TRepList& library, TreeNode node, std::vector<std::string>& folders,
    const std::unordered_map<const TRep*, std::string>& macros, const TCodePage& cp, std::string& out)
{
    const ITreeControl& tree = library.Tree();
    const int count = tree.ChildCount(node);
    for (int i = 0; i < count; ++i) {
        const TreeNode child = tree.Child(node, i);
        const TRep* rep = library.RepOf(child);
        if (!rep)
            continue;
        if (rep->IsFolder()) {
            folders.push_back(cp.toUtf8(tree.Label(child)));
            ExportFolder(library, child, folders, macros, cp, out);
            folders.pop_back();
            continue;
        }
        const auto found = macros.find(rep);
        const std::string macro = found == macros.end() ? std::string() : found->second;
        const int hotKey = library.HotKeyIndexOf(rep);
        const std::string rtf = JoinTextLines(rep->Lines);
        out += CsvField(FolderPathText(folders)) + "," + CsvField(cp.toUtf8(tree.Label(child))) + ","
            + CsvField(cp.toUtf8(macro)) + ","
            + CsvField(hotKey >= 0 ? HotKeyTextOfCode(library.HotKeyCodeAt(hotKey)) : "") + ","
            + CsvField(cp.toUtf8(PlainTextOfRtf(rtf))) + "," + CsvField(cp.toUtf8(rtf)) + "\r\n";
    }
}

} // namespace

std::string HotKeyCodeOfText(std::string_view text)
{
    std::string upper;
    for (const char c : text)
        if (c != ' ')
            upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    if (IsValidHotKeyCode(upper) && upper.size() == 2)
        return upper;
    bool ctrl = false, alt = false, shift = false;
    std::string key;
    size_t start = 0;
    while (start <= upper.size()) {
        const size_t plus = upper.find('+', start);
        const std::string part = upper.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        if (part == "CTRL" || part == "CONTROL" || part == "<CTRL>")
            ctrl = true;
        else if (part == "ALT" || part == "<ALT>")
            alt = true;
        else if (part == "SHIFT" || part == "<SHIFT>")
            shift = true;
        else if (key.empty())
            key = part;
        else
            return {};
        if (plus == std::string::npos)
            break;
        start = plus + 1;
    }
    if (!ctrl || !alt || key.size() != 1 || kHotKeyChars.find(key[0]) == std::string_view::npos)
        return {};
    return MakeHotKeyCode(shift, key[0]);
}

std::string HotKeyTextOfCode(std::string_view code)
{
    const HotKeyParts parts = SplitHotKeyCode(code);
    if (!parts.key)
        return {};
    return std::string(parts.shift ? "Ctrl+Alt+Shift+" : "Ctrl+Alt+") + parts.key;
}

TImportSet ReadCsvImport(std::string_view bytes, const TCodePage& codePage)
{
    TImportSet set;
    set.error = CheckImportBytes(bytes, false);
    if (!set.error.empty())
        return set;
    const std::string text = TextAsUtf8(bytes, codePage);
    auto records = ParseRecords(text, SeparatorOf(text), set.error);
    if (!records)
        return set;
    if (records->empty()) {
        set.error = "The file holds no rows.";
        return set;
    }
    std::vector<TColumn> columns;
    bool hasText = false;
    for (const std::string& header : records->front()) {
        columns.push_back(ColumnOf(header));
        hasText = hasText || columns.back() == TColumn::Text;
    }
    if (!hasText) {
        set.error = "The first row must name the columns, and one of them must be \"Text\" (the others: \"Folder\", "
                    "\"Name\", \"Macro\", \"Hot key\"). Nothing was imported.";
        return set;
    }
    for (size_t r = 1; r < records->size(); ++r) {
        const TRecord& record = (*records)[r];
        TIncoming in;
        std::string rtf;
        bool any = false;
        for (size_t c = 0; c < record.size() && c < columns.size(); ++c) {
            std::string value = Unguarded(record[c]);
            any = any || !value.empty();
            switch (columns[c]) {
            case TColumn::Folder:
                in.folders = SplitFolderPath(value);
                break;
            case TColumn::Name:
                in.name = std::move(value);
                break;
            case TColumn::Macro:
                in.macro = std::move(value);
                break;
            case TColumn::HotKey:
                if (!value.empty()) {
                    in.hotKey = HotKeyCodeOfText(value);
                    if (in.hotKey.empty())
                        in.note = "hot key \"" + codePage.fromUtf8(value) + "\" is none Corvane has: comes without it";
                }
                break;
            case TColumn::Text:
                in.text = std::move(value);
                break;
            case TColumn::Rtf:
                rtf = std::move(value);
                break;
            case TColumn::Other:
                break;
            }
        }
        if (!any)
            continue;
        if (rtf.starts_with("{\\rtf"))
            in.rtfLines = SplitTextLines(codePage.fromUtf8(rtf));
        else if (!rtf.empty())
            in.note += in.note.empty() ? "the RTF column holds no RTF: the text is taken" : "";
        AddIncoming(set, std::move(in), codePage);
    }
    return set;
}

std::string WriteCsvExport(const TRepList& library, const TRep* folder, const TCodePage& codePage)
{
    std::unordered_map<const TRep*, std::string> macros;
    for (int i = 0; i < library.MacroCount(); ++i)
        macros.emplace(library.MacroReplyAt(i), library.MacroAt(i));
    std::string out = "\xEF\xBB\xBF"
                      "Folder,Name,Macro,Hot key,Text,RTF\r\n";
    std::vector<std::string> folders;
    ExportFolder(library, folder ? folder->Node : nullptr, folders, macros, codePage, out);
    return out;
}

} // namespace corvane
