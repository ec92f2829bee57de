// Replies brought in from the files other tools write (made from each
// format's public documentation), the preview's notes, bad files that must
// leave the library untouched, and the CSV round trip.
#include "../library/LibraryTestSupport.h"
#include "engine/ReplaceInReply.h"
#include "exchange/ImportFormats.h"
#include "library/IndexFormat.h"

#include <gtest/gtest.h>

namespace corvane::testing {
namespace {

const TCodePage kCp = Windows1252();

std::string BodyText(const TRep* rep) { return PlainTextOfRtf(JoinTextLines(rep->Lines)); }

// What the preview lists as not taken, "what: reason" per line.
std::string NotTakenList(const TImportSet& set)
{
    std::string out;
    for (const auto& n : set.notTaken)
        out += n.what + " | " + n.reason + "\n";
    return out;
}

const TImportReply* Find(const TImportSet& set, std::string_view name)
{
    for (const auto& r : set.replies)
        if (r.name == name)
            return &r;
    return nullptr;
}

struct ImportTest : LibraryFixture {
    ImportTest()
    {
        dir.Write("index.sub", "REPLY_1?Signature\r\n");
        dir.Write("1.rep", "sig\r\n0A\r\n{\\rtf1 Best regards\\par}\r\n");
        Load();
    }
    std::string Import(TImportFormat format, std::string_view bytes, const std::string& folder)
    {
        TImportSet set = ReadImport(format, bytes, kCp);
        if (!set.error.empty())
            return set.error;
        ResolveAgainstLibrary(set, lib);
        return WriteImport(lib, fs, set, folder);
    }
    std::string MacroOf(const TRep* rep) const
    {
        const int at = lib.MacroIndexOf(rep);
        return at < 0 ? "" : lib.MacroAt(at);
    }
    std::string HotKeyOf(const TRep* rep) const
    {
        const int at = lib.HotKeyIndexOf(rep);
        return at < 0 ? "" : lib.HotKeyCodeAt(at);
    }
};

// A spreadsheet's CSV: columns in its own order, a byte-order mark, fields
// quoted around commas, quotes and line breaks.
TEST_F(ImportTest, CsvFromASpreadsheetComesInUnderAFolderNamedAfterTheFile)
{
    const std::string csv = "\xEF\xBB\xBFText,Name,Folder path,Hot key,Macro\r\n"
                            "\"Dear customer,\r\nyour refund of \"\"$20\"\" is on its "
                            "way.\",Refund,Support/Billing,Ctrl+Alt+Shift+R,refund\r\n"
                            "Thanks for waiting!,Waiting,Support,,wait\r\n"
                            "\"Caf\xC3\xA9 {open} \\ closed\",Caf\xC3\xA9,,,\r\n";
    ASSERT_EQ(Import(TImportFormat::Csv, csv, "replies"), "");

    const TRep* refund = Rep("replies/Support/Billing/Refund");
    ASSERT_NE(refund, nullptr);
    EXPECT_EQ(BodyText(refund), "Dear customer,\nyour refund of \"$20\" is on its way.\n");
    EXPECT_EQ(MacroOf(refund), "refund");
    EXPECT_EQ(HotKeyOf(refund), "1R");
    EXPECT_EQ(MacroOf(Rep("replies/Support/Waiting")), "wait");
    const TRep* cafe = Rep("replies/Caf\xE9");
    ASSERT_NE(cafe, nullptr);
    EXPECT_EQ(BodyText(cafe), "Caf\xE9 {open} \\ closed\n");
    // The new folder is on disk as the library reads it at the next start.
    EXPECT_NE(dir.Read("index.sub").find("FOLDER_1?replies"), std::string::npos);
    EXPECT_EQ(dir.Read("1/index.sub"), "FOLDER_1?Support\r\nREPLY_1?Caf\xE9\r\n");
    EXPECT_EQ(dir.Read("1/1/1/1.rep").substr(0, 12), "refund\r\n1R\r\n");
}

TEST_F(ImportTest, CsvInTheSystemCodePageAndWithOnlyATextColumnIsRead)
{
    const TImportSet set = ReadCsvImport("Text\r\ncaf\xE9 au lait\r\n\r\nsecond;one\r\n", kCp);
    ASSERT_EQ(set.error, "");
    ASSERT_EQ(set.replies.size(), 2u);
    EXPECT_EQ(set.replies[0].name, "caf\xE9 au lait"); // named after its first line
    EXPECT_EQ(set.replies[1].name, "second;one");
    EXPECT_NE(JoinTextLines(set.replies[0].rtfLines).find("caf\\'e9"), std::string::npos);
}

TEST_F(ImportTest, AMacroOrHotKeyInUseStaysWithTheExistingReply)
{
    const std::string csv = "Name,Macro,Hot key,Text\r\n"
                            "Mine,SIG,ctrl+alt+a,new signature\r\n"
                            "First,dup(x),,one\r\n"
                            "Second,DUP(y),Ctrl+Alt+B,two\r\n"
                            "Third,other,Ctrl+Alt+B,three\r\n"
                            "Spaced,has space,Ctrl+Q,four\r\n";
    TImportSet set = ReadCsvImport(csv, kCp);
    ResolveAgainstLibrary(set, lib);
    ASSERT_EQ(set.replies.size(), 5u);
    EXPECT_EQ(set.replies[0].macro, "");
    EXPECT_EQ(set.replies[0].hotKey, "");
    EXPECT_NE(set.replies[0].note.find("macro \"SIG\" is in use"), std::string::npos);
    EXPECT_NE(set.replies[0].note.find("<CTRL>+<ALT>+A is in use"), std::string::npos);
    EXPECT_EQ(set.replies[1].macro, "dup(x)");
    EXPECT_EQ(set.replies[2].macro, ""); // the same stem as the one before
    EXPECT_EQ(set.replies[2].hotKey, "0B");
    EXPECT_EQ(set.replies[3].hotKey, "");
    EXPECT_EQ(set.replies[4].macro, ""); // a space cannot be typed into a macro
    EXPECT_EQ(set.replies[4].hotKey, ""); // Ctrl+Q is no hot key of Corvane's
    EXPECT_NE(set.replies[4].note.find("cannot be typed"), std::string::npos);

    ASSERT_EQ(WriteImport(lib, fs, set, "more"), "");
    EXPECT_EQ(lib.MacroReplyAt(lib.MatchMacro("sig")), Rep("Signature"));
    EXPECT_EQ(lib.HotKeyReplyAt(lib.FindHotKey("0A")), Rep("Signature"));
    EXPECT_EQ(lib.HotKeyReplyAt(lib.FindHotKey("0B")), Rep("more/Second"));
}

// Each kind of bad file gets its own message and leaves the disk as it was.
TEST_F(ImportTest, BadFilesWriteNothing)
{
    const std::string before = dir.Listing("");
    const std::string index = dir.Read("index.sub");
    struct Case {
        TImportFormat format;
        std::string bytes;
        const char* says;
    };
    const Case cases[] = {
        {TImportFormat::Csv, "Name,Text\r\nA,\"cut off in the mid", "ends inside a quoted field that starts on line 2"},
        {TImportFormat::Csv, "Name,Macro\r\nA,a\r\n", "must be \"Text\""},
        {TImportFormat::Csv, std::string("PK\x03\x04\0\0\x08\0", 8) + "Text", "binary data"},
        {TImportFormat::Csv, std::string(50u * 1024u * 1024u, 'a'), "too large"},
        {TImportFormat::Csv, "\xFF\xFET\0e\0x\0t\0", "UTF-16"},
        {TImportFormat::AutoHotkey, "::sig::\r\n(\r\nBest\r\n", "no closing \")\""},
        {TImportFormat::Espanso, "matches:\n  - trigger: \":a\"\n    replace: \"cut", "not valid YAML (line 3"},
        {TImportFormat::Espanso, "matches:\n  - trigger: \":a\"\n    replace: caf\xE9\n", "not UTF-8"},
        {TImportFormat::Espanso, "toggle_key: ALT\n", "no \"matches\" list"},
        {TImportFormat::Plist, "<?xml version=\"1.0\"?><plist><dict><key>plainText</key><string>cut", "cannot be read"},
        {TImportFormat::Plist, std::string("bplist00\xD1\x01\x02", 11), "binary property list"},
        {TImportFormat::Unknown, "whatever", "imports CSV files"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        EXPECT_NE(Import(c.format, c.bytes, "bad").find(c.says), std::string::npos) << Import(c.format, c.bytes, "bad");
    }
    EXPECT_EQ(dir.Listing(""), before);
    EXPECT_EQ(dir.Read("index.sub"), index);
    EXPECT_EQ(tree.Count(), 1);
}

// The preview counts in the singular for one reply or one entry, and the
// verb follows the count.
TEST(ImportSummaryTest, CountsAgreeWithTheirNounsAndVerbs)
{
    TImportSet set;
    set.replies.resize(1);
    set.notTaken.resize(1);
    EXPECT_EQ(ImportSummary(set, "Snippets"),
        "1 reply comes in under the new folder \"Snippets\"; 1 entry is not taken. Nothing is written before you "
        "click Import.");
    set.replies.resize(2);
    set.notTaken.clear();
    const std::string many = ImportSummary(set, "x");
    EXPECT_NE(many.find("2 replies come in"), std::string::npos) << many;
    EXPECT_NE(many.find("0 entries are not taken"), std::string::npos) << many;
}

// Hotstrings as the scripting language's documentation writes them.
TEST_F(ImportTest, AutoHotkeyHotstringsComeInAndCodeIsListedAsNotTaken)
{
    const std::string script = "\xEF\xBB\xBF#SingleInstance Force\r\n"
                               "; my hotstrings\r\n"
                               "::btw::by the way  ; inline comment\r\n"
                               ":*:addr1::12 Main Street{Enter}Springfield\r\n"
                               ":R:excl::Wow! 100%\r\n"
                               "::thx::Thanks{!} See you`nBob\r\n"
                               "::sig::\r\n"
                               "(LTrim\r\n"
                               "    Best regards,\r\n"
                               "    Ann `; Sales\r\n"
                               ")\r\n"
                               "/*\r\n"
                               "::hidden::not read\r\n"
                               "*/\r\n"
                               "::dt::\r\n"
                               "FormatTime, now,, yyyy-MM-dd\r\n"
                               "SendInput %now%\r\n"
                               "return\r\n"
                               ":X:mb::MsgBox hi\r\n"
                               ":B0:keep::kept\r\n"
                               "::alt::Hi!\r\n"
                               "::arrow::x{Left}\r\n";
    const TImportSet set = ReadAutoHotkeyImport(script, kCp);
    ASSERT_EQ(set.error, "");
    std::vector<std::string> names;
    for (const auto& r : set.replies)
        names.push_back(r.name + "=" + PlainTextOfRtf(JoinTextLines(r.rtfLines)));
    EXPECT_EQ(names,
        (std::vector<std::string>{"btw=by the way\n", "addr1=12 Main Street\nSpringfield\n", "excl=Wow! 100%\n",
            "thx=Thanks! See you\nBob\n", "sig=Best regards,\nAnn ; Sales\n"}));
    EXPECT_EQ(Find(set, "btw")->macro, "btw");
    EXPECT_NE(Find(set, "addr1")->note.find("option *"), std::string::npos);
    const std::string notTaken = NotTakenList(set);
    EXPECT_NE(notTaken.find("::dt:: | the replacement is code"), std::string::npos) << notTaken;
    EXPECT_NE(notTaken.find(":X:mb:: | the replacement is code (option X)"), std::string::npos);
    EXPECT_NE(notTaken.find(":B0:keep:: | option B0"), std::string::npos);
    EXPECT_NE(notTaken.find("::alt:: | sends a key combination"), std::string::npos);
    EXPECT_NE(notTaken.find("::arrow:: | sends the key {Left}"), std::string::npos);
    EXPECT_EQ(set.notTaken.size(), 5u);
}

TEST_F(ImportTest, AutoHotkeyScriptInTheSystemCodePageKeepsItsAccents)
{
    const TImportSet set = ReadAutoHotkeyImport("::cafe::caf\xE9\r\n", kCp);
    ASSERT_EQ(set.replies.size(), 1u);
    EXPECT_EQ(PlainTextOfRtf(JoinTextLines(set.replies[0].rtfLines)), "caf\xE9\n");
}

// A match file as the documentation shows them.
TEST_F(ImportTest, EspansoMatchesMapDatesCursorAndFormsAndListTheRest)
{
    const std::string yaml = "# base.yml\n"
                             "matches:\n"
                             "  - trigger: \":hello\"\n"
                             "    replace: \"Hello $|$, how are you?\"\n"
                             "  - triggers: [\":bye\", \":cya\"]\n"
                             "    label: Goodbye\n"
                             "    replace: |\n"
                             "      See you,\n"
                             "      Ann\n"
                             "  - trigger: \":today\"\n"
                             "    replace: \"Today is {{mydate}}, tomorrow {{tom}}\"\n"
                             "    vars:\n"
                             "      - name: mydate\n"
                             "        type: date\n"
                             "        params:\n"
                             "          format: \"%A, %B %d, %Y\"\n"
                             "      - name: tom\n"
                             "        type: date\n"
                             "        params:\n"
                             "          format: \"%-m/%-d/%Y\"\n"
                             "          offset: 86400\n"
                             "  - trigger: \":greet\"\n"
                             "    form: \"Hey [[name]], welcome to [[city]]!\"\n"
                             "  - trigger: \":iso\"\n"
                             "    replace: \"{{d}}\"\n"
                             "    vars:\n"
                             "      - name: d\n"
                             "        type: date\n"
                             "        params:\n"
                             "          format: \"%Y-%m-%d\"\n"
                             "  - trigger: \":ip\"\n"
                             "    replace: \"{{output}}\"\n"
                             "    vars:\n"
                             "      - name: output\n"
                             "        type: shell\n"
                             "        params:\n"
                             "          cmd: \"curl ifconfig.me\"\n"
                             "  - trigger: \":cat\"\n"
                             "    image_path: \"$CONFIG/images/cat.png\"\n"
                             "  - regex: \":hi(?P<person>.*)\\\\.\"\n"
                             "    replace: \"Hi {{person}}!\"\n";
    const TImportSet set = ReadEspansoImport(yaml, kCp);
    ASSERT_EQ(set.error, "");
    ASSERT_EQ(set.replies.size(), 4u);
    EXPECT_EQ(PlainTextOfRtf(JoinTextLines(set.replies[0].rtfLines)), "Hello %Cursor, how are you?\n");
    EXPECT_EQ(Find(set, "Goodbye")->macro, ":bye");
    EXPECT_EQ(PlainTextOfRtf(JoinTextLines(Find(set, "Goodbye")->rtfLines)), "See you,\nAnn\n");
    EXPECT_EQ(PlainTextOfRtf(JoinTextLines(Find(set, ":today")->rtfLines)), "Today is %Date, tomorrow %TShortDate\n");
    const TImportReply* greet = Find(set, ":greet");
    ASSERT_NE(greet, nullptr);
    EXPECT_EQ(greet->macro, ":greet(name,city)");
    EXPECT_EQ(PlainTextOfRtf(JoinTextLines(greet->rtfLines)), "Hey name, welcome to city!\n");
    const std::string notTaken = NotTakenList(set);
    EXPECT_NE(notTaken.find(":cya | another trigger of \":bye\""), std::string::npos) << notTaken;
    EXPECT_NE(notTaken.find(":iso | the date format of {{d}} is none"), std::string::npos);
    EXPECT_NE(notTaken.find(":ip | the variable {{output}} is of type shell"), std::string::npos);
    EXPECT_NE(notTaken.find(":cat | an image"), std::string::npos);
    EXPECT_NE(notTaken.find("a regular-expression trigger"), std::string::npos);
}

TEST_F(ImportTest, EspansoFormFillsInThroughTheParametricMacro)
{
    ASSERT_EQ(
        Import(TImportFormat::Espanso, "matches:\n  - trigger: \":greet\"\n    form: \"Hey [[name]]!\"\n", "espanso"),
        "");
    std::string names, values;
    const int at = lib.MatchMacro(":greet(Bob)", names, values);
    ASSERT_GE(at, 0);
    EXPECT_EQ(names, "name");
    EXPECT_EQ(
        PlainTextOfRtf(ReplaceNamesInRtf(JoinTextLines(lib.MacroReplyAt(at)->Lines), names, values)), "Hey Bob!\n");
}

// A snippet list as the commercial tools export it: groups, each with its
// snippets, as an XML property list.
TEST_F(ImportTest, PropertyListGroupsBecomeFolders)
{
    const std::string plist
        = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
          "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
          "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
          "<plist version=\"1.0\">\n<dict>\n"
          "  <key>groups</key>\n  <array>\n"
          "    <dict>\n"
          "      <key>groupInfo</key><dict><key>groupName</key><string>Sales &amp; Co</string></dict>\n"
          "      <key>snippetsTE2</key>\n      <array>\n"
          "        <dict>\n"
          "          <key>abbreviation</key><string>;quote</string>\n"
          "          <key>abbreviationMode</key><integer>0</integer>\n"
          "          <key>label</key><string>Quote</string>\n"
          "          <key>plainText</key><string>Price: &lt;10&gt; &#8364;\nThanks</string>\n"
          "          <key>snippetType</key><integer>0</integer>\n"
          "        </dict>\n"
          "        <dict>\n"
          "          <key>abbreviation</key><string>;run</string>\n"
          "          <key>plainText</key><string>do shell script \"ls\"</string>\n"
          "          <key>snippetType</key><integer>2</integer>\n"
          "        </dict>\n"
          "      </array>\n"
          "    </dict>\n"
          "    <dict>\n"
          "      <key>groupName</key><string>Misc</string>\n"
          "      <key>snippets</key><array><dict>\n"
          "        <key>abbreviation</key><string>;em</string>\n"
          "        <key>plainText</key><string><![CDATA[a@b.example <x>]]></string>\n"
          "      </dict></array>\n"
          "    </dict>\n"
          "  </array>\n</dict>\n</plist>\n";
    ASSERT_EQ(Import(TImportFormat::Plist, plist, "Snippets"), "");
    const TRep* quote = Rep("Snippets/Sales & Co/Quote");
    ASSERT_NE(quote, nullptr);
    EXPECT_EQ(MacroOf(quote), ";quote");
    EXPECT_EQ(BodyText(quote), "Price: <10> \x80\nThanks\n");
    EXPECT_EQ(BodyText(Rep("Snippets/Misc/;em")), "a@b.example <x>\n");
    const TImportSet set = ReadPlistImport(plist, kCp);
    EXPECT_EQ(NotTakenList(set), ";run | a script snippet; Corvane does not run scripts\n");
}

// Every reply of a library exported and imported into a new library comes
// back with the same folder, name, macro, hot key and RTF.
TEST_F(ImportTest, LibraryToCsvAndBackKeepsEveryReply)
{
    dir.Write("index.sub", "FOLDER_2?Support / Help\r\nREPLY_1?Signature\r\nREPLY_3?=SUM(A1)\r\n");
    dir.Write("1.rep", "sig\r\n0A\r\n{\\rtf1\\ansi Best, \"Ann\"\\par\r\n\\'e9t\\'e9\\par\r\n}\r\n");
    dir.Write("3.rep", "-x\r\n1Z\r\n");
    dir.MakeDir("2");
    dir.Write("2/index.sub", "FOLDER_4?Deep, deeper\r\nREPLY_1?Raw bytes \xE9\r\n");
    dir.Write("2/1.rep", "addr(name,city)\r\n\r\n{\\rtf1 caf\xE9 {\\b bold}, name; city\\par\r\n}\r\n");
    dir.MakeDir("2/4");
    dir.Write("2/4/index.sub", "REPLY_1?Leaf\r\n");
    dir.Write("2/4/1.rep", "\r\n17\r\n{\\rtf1\\ansi\r\n\r\n  indented\\par}\r\n");
    Load();
    const std::string csv = WriteCsvExport(lib, nullptr, kCp);

    struct Copy {
        std::string folder, name, macro, hotKey, rtf;
        bool operator==(const Copy&) const = default;
    };
    const auto everyReply = [](TRepList& l, const std::string& under) {
        std::vector<Copy> out;
        for (int i = 0; i < l.Count(); ++i) {
            const TRep* rep = l.Items(i);
            if (rep->IsFolder())
                continue;
            std::string folder;
            for (TreeNode n = l.Tree().Parent(rep->Node); n; n = l.Tree().Parent(n))
                folder = l.Tree().Label(n) + "/" + folder;
            if (!under.empty()) {
                if (!folder.starts_with(under))
                    continue;
                folder.erase(0, under.size());
            }
            const int m = l.MacroIndexOf(rep), h = l.HotKeyIndexOf(rep);
            out.push_back({folder, l.Tree().Label(rep->Node), m < 0 ? "" : l.MacroAt(m), h < 0 ? "" : l.HotKeyCodeAt(h),
                JoinTextLines(rep->Lines)});
        }
        return out;
    };
    const std::vector<Copy> original = everyReply(lib, "");
    ASSERT_EQ(original.size(), 4u);

    LibraryDir otherDir;
    otherDir.Write("index.sub", "");
    TSharedWatch otherWatch{otherDir.files};
    fakes::FakeTreeControl otherTree;
    fakes::FakeListBox otherHotKeys, otherMacros;
    TRepList other{otherTree, otherHotKeys, otherMacros, otherWatch, LibraryRootIn(otherDir.DataDir())};
    TImportSet set = ReadCsvImport(csv, kCp);
    ASSERT_EQ(set.error, "");
    ResolveAgainstLibrary(set, other);
    ASSERT_EQ(WriteImport(other, otherDir.files, set, "export"), "");
    std::vector<Copy> back = everyReply(other, "export/");
    std::sort(back.begin(), back.end(), [](const Copy& a, const Copy& b) { return a.name < b.name; });
    std::vector<Copy> expected = original;
    std::sort(expected.begin(), expected.end(), [](const Copy& a, const Copy& b) { return a.name < b.name; });
    ASSERT_EQ(back.size(), expected.size());
    for (size_t i = 0; i < back.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(back[i].folder, expected[i].folder);
        EXPECT_EQ(back[i].name, expected[i].name);
        EXPECT_EQ(back[i].macro, expected[i].macro);
        EXPECT_EQ(back[i].hotKey, expected[i].hotKey);
        EXPECT_EQ(back[i].rtf, expected[i].rtf);
    }
    // A spreadsheet shows the text column and computes no cell of ours.
    EXPECT_NE(csv.find(",'=SUM(A1),'-x,Ctrl+Alt+Shift+Z,"), std::string::npos) << csv;
}

} // namespace
} // namespace corvane::testing
