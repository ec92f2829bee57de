// Any bytes as a file of each format Corvane imports (the first byte picks
// the format), read and imported into a library that already holds a reply
// with a macro and a hot key, as the import command does:
// - a file refused as a whole brings nothing in, and a set with no replies
//   writes nothing;
// - the library loaded again from disk holds what the import left in memory,
//   and under the new folder exactly the replies of the set, with their
//   folders, names, macros, hot keys and bodies;
// - the existing reply keeps its macro and hot key;
// - every macro that came in, typed key by key as the recogniser reads keys,
//   finds its own reply.
#include "engine/Recogniser.h"
#include "exchange/ImportSet.h"
#include "fuzz/LibraryFuzzRig.h"
#include "library/LibraryFiles.h"
#include "library/UnitConsts.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace corvane;
using namespace corvane::fuzz;

namespace {

constexpr char kFolder[] = "Snippets";
constexpr char kExistingMacro[] = "sig";

struct TKey {
    int virtualKey = 0;
    bool shift = false;
};

// The key (and Shift) that types each character, from the recogniser's table.
std::optional<TKey> KeyFor(char c)
{
    static const auto table = [] {
        std::array<std::optional<TKey>, 256> keys{};
        for (int shift = 1; shift >= 0; --shift)
            for (int vk = 1; vk < 256; ++vk)
                if (const char typed = KeyCharacter(vk, shift != 0); typed != '\0')
                    keys[static_cast<unsigned char>(typed)] = TKey{vk, shift != 0};
        return keys;
    }();
    return table[static_cast<unsigned char>(c)];
}

// What the recogniser's buffer holds after `macro` is typed, or nullopt when
// a character of it has no key.
std::optional<std::string> TypedBuffer(const std::string& macro)
{
    std::string buffer;
    for (const char c : macro) {
        const auto key = KeyFor(c);
        if (!key)
            return std::nullopt;
        if (key->shift)
            (void)FeedKey(buffer, VkShift, true, '\0');
        (void)FeedKey(buffer, key->virtualKey, true, KeyCharacter(key->virtualKey, key->shift));
        (void)FeedKey(buffer, key->virtualKey, false, '\0');
        if (key->shift)
            (void)FeedKey(buffer, VkShift, false, '\0');
    }
    Check(FeedKey(buffer, VkSpace, true, '\0') == TKeyOutcome::Expand, "a space after a macro does not expand");
    return buffer;
}

// One reply as the tree shows it: the folders below the import's own, the
// name, macro, hot key and body.
using TEntry = std::tuple<std::vector<std::string>, std::string, std::string, std::string, std::vector<std::string>>;

std::string Describe(const TEntry& e)
{
    std::string out;
    for (const std::string& f : std::get<0>(e))
        out += f + "/";
    out += std::get<1>(e) + " |m=" + std::get<2>(e) + " |k=" + std::get<3>(e) + " |b=";
    for (const std::string& line : std::get<4>(e))
        out += line + "\\n";
    return out + "\n";
}

// An index line cannot hold a line break: the name shows a space there.
std::string AsIndexName(std::string name)
{
    std::replace(name.begin(), name.end(), '\r', ' ');
    std::replace(name.begin(), name.end(), '\n', ' ');
    return name;
}

void CollectLoaded(const TRepList& library, TreeNode parent, std::vector<std::string>& folders,
    std::vector<std::pair<TEntry, const TRep*>>& out)
{
    const ITreeControl& tree = library.Tree();
    for (int i = 0; i < tree.ChildCount(parent); ++i) {
        const TreeNode node = tree.Child(parent, i);
        const TRep* rep = library.RepOf(node);
        if (rep->IsFolder()) {
            folders.push_back(tree.Label(node));
            CollectLoaded(library, node, folders, out);
            folders.pop_back();
            continue;
        }
        const int macro = library.MacroIndexOf(rep);
        const int hotKey = library.HotKeyIndexOf(rep);
        out.push_back({TEntry{folders, tree.Label(node), macro >= 0 ? library.MacroAt(macro) : std::string(),
                           hotKey >= 0 ? library.HotKeyCodeAt(hotKey) : std::string(), rep->Lines},
            rep});
    }
}

// The library before the import: one reply with a macro and a hot key.
void WriteExistingReply(LibraryRig& rig)
{
    const std::string root = rig.library.Root();
    Check(rig.fs.WriteFileReplacing(root + "\\1" + kReplyExtension,
              JoinTextLines({kExistingMacro, MakeHotKeyCode(false, 'A'), "{\\rtf1 Regards\\par}"})),
        "the existing reply could not be written");
    Check(rig.fs.WriteFileReplacing(
              rig.library.RootIndexPath(), JoinTextLines({MakeIndexLine(kReplyPrefix, "1", "Existing")})),
        "the root index could not be written");
    rig.Load();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static constexpr TImportFormat kFormats[]
        = {TImportFormat::Csv, TImportFormat::AutoHotkey, TImportFormat::Espanso, TImportFormat::Plist};
    const TImportFormat format = kFormats[data[0] % std::size(kFormats)];
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    static const TCodePage codePage = Windows1252();
    TImportSet set = ReadImport(format, bytes, codePage);
    if (!set.error.empty()) {
        Check(set.replies.empty() && set.notTaken.empty(), "a refused file still brings entries in", set.error);
        return 0;
    }

    LibraryRig rig;
    WriteExistingReply(rig);
    ResolveAgainstLibrary(set, rig.library);

    const auto filesBefore = rig.fs.Files();
    const std::string error = WriteImport(rig.library, rig.fs, set, kFolder);
    if (set.replies.empty()) {
        Check(!error.empty() && rig.fs.Files() == filesBefore, "an import without replies wrote to the library");
        return 0;
    }
    Check(error.empty(), "the import could not be written", error);
    const std::string inMemory = Snapshot(rig.library);
    rig.Load();
    Check(Snapshot(rig.library) == inMemory, "the library loaded again is not what the import left in memory",
        inMemory + "\n--- loaded ---\n" + Snapshot(rig.library));

    // The existing reply first, the import's folder after it.
    const ITreeControl& tree = rig.library.Tree();
    Check(tree.ChildCount(nullptr) == 2, "the import did not add exactly one top folder");
    const TRep* existing = rig.library.RepOf(tree.Child(nullptr, 0));
    const TreeNode top = tree.Child(nullptr, 1);
    Check(tree.Label(top) == kFolder, "the import's folder is not named after the file");
    const int existingMacro = rig.library.MacroIndexOf(existing);
    const int existingHotKey = rig.library.HotKeyIndexOf(existing);
    Check(existingMacro >= 0 && rig.library.MacroAt(existingMacro) == kExistingMacro && existingHotKey >= 0
            && rig.library.HotKeyCodeAt(existingHotKey) == MakeHotKeyCode(false, 'A'),
        "the existing reply lost its macro or hot key to the import");

    std::vector<TEntry> expected;
    for (const TImportReply& reply : set.replies) {
        std::vector<std::string> folders;
        for (const std::string& folder : reply.folders)
            folders.push_back(AsIndexName(folder));
        expected.emplace_back(folders, AsIndexName(reply.name), reply.macro, reply.hotKey, reply.rtfLines);
    }
    std::vector<std::pair<TEntry, const TRep*>> loaded;
    std::vector<std::string> folders;
    CollectLoaded(rig.library, top, folders, loaded);
    std::vector<TEntry> got;
    for (const auto& [entry, rep] : loaded)
        got.push_back(entry);
    std::sort(expected.begin(), expected.end());
    std::sort(got.begin(), got.end());
    if (got != expected) {
        std::string detail;
        for (const TEntry& e : expected)
            detail += Describe(e);
        detail += "--- loaded ---\n";
        for (const TEntry& e : got)
            detail += Describe(e);
        Fail("the replies loaded from disk are not the ones the import showed", detail);
    }

    for (const auto& [entry, rep] : loaded) {
        const std::string& macro = std::get<2>(entry);
        if (macro.empty())
            continue;
        const auto typed = TypedBuffer(macro);
        Check(typed.has_value(), "a macro came in that has a character no key types", macro);
        const int position = rig.library.MatchMacro(*typed);
        Check(position >= 0 && rig.library.MacroReplyAt(position) == rep, "a typed macro does not find its own reply",
            macro);
    }
    return 0;
}
