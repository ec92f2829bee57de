#include "LibraryTestSupport.h"

namespace corvane {
namespace {

struct Indexes : testing::LibraryFixture {
    TRep* NewReply(const std::string& name)
    {
        TRep* rep = lib.Items(lib.AddNodeLast(name, nullptr));
        rep->FileName = std::to_string(lib.Count()) + ".rep";
        return rep;
    }
};

TEST_F(Indexes, HotKeysSortWithoutShiftFirstAndShowTheirText)
{
    for (const char* code : {"1B", "0Z", "05", "0A"})
        ASSERT_TRUE(lib.SetHotKey(NewReply(code), code));
    EXPECT_EQ(lib.HotKeyCodeAt(0), "05");
    EXPECT_EQ(lib.HotKeyCodeAt(1), "0A");
    EXPECT_EQ(lib.HotKeyCodeAt(2), "0Z");
    EXPECT_EQ(lib.HotKeyCodeAt(3), "1B");
    EXPECT_EQ(hotKeyBox.Texts(),
        (std::vector<std::string>{"<CTRL>+<ALT>+5", "<CTRL>+<ALT>+A", "<CTRL>+<ALT>+Z", "<CTRL>+<ALT>+<SHIFT>+B"}));
    for (int i = 0; i < lib.HotKeyCount(); ++i) {
        EXPECT_EQ(hotKeyBox.Data(i), lib.HotKeyReplyAt(i));
        EXPECT_EQ(tree.Label(lib.HotKeyReplyAt(i)->Node), lib.HotKeyCodeAt(i));
    }
    EXPECT_EQ(lib.FindHotKey("0a"), 1);
    EXPECT_EQ(lib.FindHotKey("1A"), -1);
}

TEST_F(Indexes, BulkAddingKeepsTheFirstOfEqualKeysAndLeavesTheListBoxAlone)
{
    TRep* first = NewReply("first");
    TRep* second = NewReply("second");
    TRep* other = NewReply("other");
    lib.BeginBulkLoad();
    lib.Macros().AddEntry("sig", first);
    lib.Macros().AddEntry("SIG", second);
    lib.Macros().AddEntry("abc", other);
    lib.Macros().AddEntry("", other);
    EXPECT_EQ(macroBox.Count(), 0);
    // Who holds a key is known while adding goes on, whatever the case.
    EXPECT_EQ(lib.Macros().Holder("Sig"), first);
    EXPECT_EQ(lib.Macros().Holder("ab"), nullptr);
    // Looked at in sorted order halfway, then added to again.
    EXPECT_EQ(lib.MacroCount(), 2);
    lib.Macros().AddEntry("ABC", second);
    lib.Macros().AddEntry("zed", second);
    EXPECT_EQ(lib.Macros().Holder("abc"), other);
    EXPECT_EQ(lib.Macros().Holder("ZED"), second);
    lib.EndBulkLoad();
    EXPECT_EQ(macroBox.Texts(), (std::vector<std::string>{"abc", "sig", "zed"}));
    EXPECT_EQ(lib.MacroReplyAt(1), first);
    EXPECT_EQ(lib.MacroIndexOf(second), 2);
    EXPECT_EQ(lib.Macros().Holder("sig"), first);
}

struct MacroMatching : Indexes {
    TRep* sig = nullptr;
    TRep* addr = nullptr;
    void SetUp() override
    {
        sig = NewReply("sig");
        addr = NewReply("addr");
        ASSERT_TRUE(lib.SetMacro(sig, "sig"));
        ASSERT_TRUE(lib.SetMacro(addr, "addr(name,city)"));
    }
};

TEST_F(MacroMatching, MatchesWithoutRegardToCase)
{
    std::string names = "stale";
    std::string values = "stale";
    const int at = lib.MatchMacro("SIG", names, values);
    ASSERT_GE(at, 0);
    EXPECT_EQ(lib.MacroReplyAt(at), sig);
    EXPECT_EQ(names, "");
    EXPECT_EQ(values, "");
}

TEST_F(MacroMatching, FindsAParametricMacroByItsStemAndSplitsTheValues)
{
    std::string names;
    std::string values;
    const int at = lib.MatchMacro("addr(Bob,Paris)", names, values);
    ASSERT_GE(at, 0);
    EXPECT_EQ(lib.MacroReplyAt(at), addr);
    EXPECT_EQ(names, "name,city");
    EXPECT_EQ(values, std::string("Bob\x01Paris"));

    EXPECT_EQ(lib.MatchMacro("ADDR()", names, values), at);
    EXPECT_EQ(values, "");
    EXPECT_EQ(names, "name,city");
}

TEST_F(MacroMatching, TheBareStemWithoutParenthesisDoesNotMatch)
{
    EXPECT_EQ(lib.MatchMacro("addr"), -1);
    EXPECT_EQ(lib.MatchMacro("zzz"), -1);
    EXPECT_EQ(lib.MatchMacro("si"), -1);
    EXPECT_EQ(lib.MatchMacro(""), -1);
}

TEST_F(MacroMatching, AClosingParenthesisWithoutAnOpeningOneGivesNoValues)
{
    TRep* odd = NewReply("odd");
    ASSERT_TRUE(lib.SetMacro(odd, "a)b"));
    std::string names;
    std::string values;
    ASSERT_GE(lib.MatchMacro("a)b", names, values), 0);
    EXPECT_EQ(values, "");
}

TEST_F(MacroMatching, SetMacroRefusesAStemHeldByAnotherReply)
{
    TRep* other = NewReply("other");
    EXPECT_FALSE(lib.SetMacro(other, "Addr(x)"));
    EXPECT_EQ(lib.MacroIndexOf(other), -1);
    EXPECT_FALSE(lib.SetMacro(other, "SIG"));
    EXPECT_EQ(macroBox.Texts(), (std::vector<std::string>{"addr(name,city)", "sig"}));
}

TEST_F(MacroMatching, SetMacroRefusesALineBreakThatWouldShiftTheReplyFile)
{
    EXPECT_FALSE(lib.SetMacro(sig, "new\r\n0A"));
    EXPECT_FALSE(lib.SetMacro(sig, "x\ny"));
    EXPECT_EQ(lib.MacroAt(lib.MacroIndexOf(sig)), "sig");
}

TEST_F(MacroMatching, SetMacroAcceptsADifferentStemAndSelectsIt)
{
    TRep* other = NewReply("other");
    EXPECT_TRUE(lib.SetMacro(other, "sig(x)"));
    EXPECT_EQ(macroBox.Texts(), (std::vector<std::string>{"addr(name,city)", "sig", "sig(x)"}));
    EXPECT_EQ(macroBox.SelectedIndex(), 2);
    EXPECT_EQ(lib.MacroReplyAt(lib.MatchMacro("sig(1)")), other);
    EXPECT_EQ(lib.MacroReplyAt(lib.MatchMacro("sig")), sig);
}

TEST_F(MacroMatching, SetMacroChangesAndRemovesTheRepliesOwnEntry)
{
    EXPECT_TRUE(lib.SetMacro(addr, "addr(street)"));
    EXPECT_EQ(lib.MacroAt(lib.MacroIndexOf(addr)), "addr(street)");
    EXPECT_EQ(lib.MacroCount(), 2);
    EXPECT_TRUE(lib.SetMacro(sig, "zz"));
    EXPECT_EQ(macroBox.Texts(), (std::vector<std::string>{"addr(street)", "zz"}));
    EXPECT_EQ(macroBox.Text(macroBox.SelectedIndex()), "zz");
    EXPECT_TRUE(lib.SetMacro(sig, ""));
    EXPECT_EQ(lib.MacroIndexOf(sig), -1);
    EXPECT_EQ(macroBox.Texts(), std::vector<std::string>{"addr(street)"});
    EXPECT_EQ(macroBox.SelectedIndex(), -1);
}

TEST_F(MacroMatching, RefillKeepsTheSelectedMacroSelected)
{
    macroBox.Select(1); // "sig"
    TRep* other = NewReply("other");
    ASSERT_TRUE(lib.Macros().Count() == 2);
    lib.Macros().AddEntry("aaa", other);
    EXPECT_EQ(macroBox.Texts(), (std::vector<std::string>{"aaa", "addr(name,city)", "sig"}));
    EXPECT_EQ(macroBox.SelectedIndex(), 2);
}

TEST_F(Indexes, SetHotKeyAssignsChangesRefusesAndRemoves)
{
    TRep* a = NewReply("a");
    TRep* b = NewReply("b");
    EXPECT_TRUE(lib.SetHotKey(a, "0q"));
    EXPECT_EQ(lib.HotKeyCodeAt(lib.HotKeyIndexOf(a)), "0Q");
    EXPECT_EQ(hotKeyBox.Text(hotKeyBox.SelectedIndex()), "<CTRL>+<ALT>+Q");

    EXPECT_FALSE(lib.SetHotKey(b, "0Q"));
    EXPECT_EQ(lib.HotKeyIndexOf(b), -1);

    EXPECT_TRUE(lib.SetHotKey(b, "1Q"));
    EXPECT_TRUE(lib.SetHotKey(a, "01"));
    EXPECT_EQ(hotKeyBox.Texts(), (std::vector<std::string>{"<CTRL>+<ALT>+1", "<CTRL>+<ALT>+<SHIFT>+Q"}));

    EXPECT_FALSE(lib.SetHotKey(a, "0AB"));
    EXPECT_FALSE(lib.SetHotKey(a, "2A"));
    EXPECT_EQ(lib.HotKeyCodeAt(lib.HotKeyIndexOf(a)), "01");

    EXPECT_TRUE(lib.SetHotKey(a, ""));
    EXPECT_EQ(lib.HotKeyIndexOf(a), -1);
    EXPECT_EQ(hotKeyBox.Texts(), std::vector<std::string>{"<CTRL>+<ALT>+<SHIFT>+Q"});
    EXPECT_EQ(hotKeyBox.SelectedIndex(), -1);
}

TEST_F(Indexes, SetHotKeyWithTheRepliesOwnCodeChangesNothingNotEvenTheSelection)
{
    TRep* a = NewReply("a");
    TRep* b = NewReply("b");
    ASSERT_TRUE(lib.SetHotKey(a, "0A"));
    ASSERT_TRUE(lib.SetHotKey(b, "0B"));
    hotKeyBox.Select(1);
    const int clears = hotKeyBox.ClearCount();
    EXPECT_TRUE(lib.SetHotKey(a, "0a"));
    EXPECT_EQ(hotKeyBox.SelectedIndex(), 1);
    EXPECT_EQ(hotKeyBox.ClearCount(), clears);
}

TEST_F(Indexes, RemovingAReplyTakesItsItemOutOfTheListBoxAtOnce)
{
    TRep* a = NewReply("a");
    TRep* b = NewReply("b");
    ASSERT_TRUE(lib.SetHotKey(a, "0A"));
    ASSERT_TRUE(lib.SetHotKey(b, "0B"));
    lib.RemoveSubtree(a->Node);
    EXPECT_EQ(hotKeyBox.Texts(), std::vector<std::string>{"<CTRL>+<ALT>+B"});
    EXPECT_EQ(hotKeyBox.Data(0), b);
}

} // namespace
} // namespace corvane
