#include "../library/LibraryTestSupport.h"

#include "editing/LibraryEditing.h"
#include "editing/TeamLibrary.h"
#include "fakes/FakeKeyboardLayouts.h"
#include "fakes/FakePanelControls.h"
#include "fakes/FakeReplyEditor.h"
#include "fakes/MemoryFileSystem.h"
#include "library/IndexFormat.h"
#include "library/UnitConsts.h"

#include <functional>
#include <utility>

namespace corvane {
namespace {

// The library under a tree that behaves like the tree view (selection events,
// new handles on a move), with the panel's controls wired as the window wires
// them.
struct Editing : testing::LibraryFixture {
    fakes::FakeLineEdit name;
    fakes::FakeLineEdit macro;
    fakes::FakeCheckBox hotKey;
    fakes::FakeCheckBox shift;
    fakes::FakeDropDownList key{static_cast<int>(kHotKeyChars.size())};
    fakes::FakeReplyEditor editor;
    TLibraryEditing editing{lib, watch, TReplyPanel{name, macro, hotKey, shift, key, editor}};
    // A US keyboard: Ctrl+Alt gives no character.
    const fakes::FakeLayout us = fakes::WithLetters(fakes::FakeLayout());
    fakes::FakeKeyboardLayouts layouts;

    Editing()
    {
        layouts.installed = {&us};
        editing.SetKeyboardLayouts(&layouts);
        name.onChange = [this] { editing.EditNameChange(); };
        macro.onChange = [this] { editing.EditMacroChange(); };
        tree.likeTreeView = true;
        tree.onSelChanging = [this] { editing.NavigationChanging(); };
        tree.onSelChanged = [this] { editing.NavigationChange(); };
        key.Select(0);
    }
    // The library outlives the editing and the panel.
    ~Editing() override { tree.likeTreeView = false; }

    // Greeting (sig, Ctrl+Alt+A), Support (Refund: ref; Delay: Ctrl+Alt+Shift+B), Thanks.
    void Standard()
    {
        dir.Write("index.sub", "REPLY_1?Greeting\r\nFOLDER_1?Support\r\nREPLY_2?Thanks\r\n");
        dir.Write("1.rep", "sig\r\n0A\r\n{\\rtf1 hello}\r\n");
        dir.Write("2.rep", "\r\n\r\n{\\rtf1 thanks}\r\n");
        dir.Write("1/index.sub", "REPLY_1?Refund\r\nREPLY_2?Delay\r\n");
        dir.Write("1/1.rep", "ref\r\n\r\n{\\rtf1 refund}\r\n");
        dir.Write("1/2.rep", "\r\n1B\r\n{\\rtf1 delay}\r\n");
        Load();
    }
    TreeNode Node(const std::string& labelPath) const { return tree.Find(labelPath); }
    // A user's click on a node.
    void Click(const std::string& labelPath) { tree.Select(Node(labelPath)); }
    void TypeBody(const std::string& text)
    {
        editor.ReplaceSelection(text);
        editing.EditorChange();
    }
    // Types into EditMacro through its key filter.
    void TypeMacro(const std::string& keys)
    {
        for (char c : keys)
            if (!editing.EditMacroKeyPress(c))
                macro.SetText(macro.Text() + c);
    }
};

// ---------------------------------------------------------------- adding

TEST_F(Editing, AddReplyWithNothingSelectedAppendsToTheRootAndStartsNaming)
{
    Standard();
    editing.NavAddReplyExecute();
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_1?Greeting\r\nFOLDER_1?Support\r\nREPLY_2?Thanks\r\nREPLY_3?New Reply\r\n");
    EXPECT_EQ(dir.Read("3.rep"), "\r\n\r\n");
    EXPECT_EQ(tree.Outline(), "Greeting,Support(Refund,Delay),Thanks,New Reply");
    const TreeNode added = tree.Child(nullptr, 3);
    EXPECT_EQ(tree.Selected(), added);
    EXPECT_EQ(tree.Editing(), added);
    EXPECT_EQ(name.Text(), "New Reply");
    EXPECT_FALSE(editing.NameChanged());

    editing.NavigationEdited(added, "Hours");
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_1?Greeting\r\nFOLDER_1?Support\r\nREPLY_2?Thanks\r\nREPLY_3?Hours\r\n");
    EXPECT_EQ(name.Text(), "Hours");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Editing, AddGoesBeforeTheSelectionOrFirstIntoAnExpandedFolder)
{
    Standard();
    // A collapsed folder: the new folder becomes its sibling, just before it.
    Click("Support");
    editing.NavAddFolderExecute();
    EXPECT_EQ(
        dir.Read("index.sub"), "REPLY_1?Greeting\r\nFOLDER_2?New Folder\r\nFOLDER_1?Support\r\nREPLY_2?Thanks\r\n");
    EXPECT_EQ(dir.Read("2/index.sub"), "REPLY_1?New Reply\r\n");
    EXPECT_EQ(dir.Read("2/1.rep"), "\r\n\r\n");
    EXPECT_EQ(tree.Outline(), "Greeting,New Folder(New Reply),Support(Refund,Delay),Thanks");
    EXPECT_EQ(tree.Selected(), Node("New Folder/New Reply"));
    EXPECT_EQ(tree.Editing(), Node("New Folder/New Reply"));
    // Naming the folder's first reply names the folder.
    editing.NavigationEdited(Node("New Folder/New Reply"), "Prices");
    EXPECT_EQ(tree.Outline(), "Greeting,Prices Folder(Prices),Support(Refund,Delay),Thanks");
    EXPECT_EQ(
        dir.Read("index.sub"), "REPLY_1?Greeting\r\nFOLDER_2?Prices Folder\r\nFOLDER_1?Support\r\nREPLY_2?Thanks\r\n");

    // The same folder expanded: the new entry becomes its first child.
    tree.SetExpanded(Node("Support"), true);
    Click("Support");
    editing.NavAddReplyExecute();
    EXPECT_EQ(dir.Read("1/index.sub"), "REPLY_3?New Reply\r\nREPLY_1?Refund\r\nREPLY_2?Delay\r\n");

    // A reply: just before it, in its directory.
    Click("Support/Delay");
    editing.NavAddReplyExecute();
    EXPECT_EQ(dir.Read("1/index.sub"), "REPLY_3?New Reply\r\nREPLY_1?Refund\r\nREPLY_4?New Reply\r\nREPLY_2?Delay\r\n");
    EXPECT_EQ(tree.Outline(Node("Support")), "New Reply,Refund,New Reply,Delay");
    EXPECT_EQ(tree.Selected(), tree.Child(Node("Support"), 2));
    EXPECT_EQ(dir.Listing("1"), "1.rep 2.rep 3.rep 4.rep index.sub");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(OnlyInsideRoot());
}

TEST_F(Editing, AddStopsBeforeWritingWhenTheReceivingIndexCannotBeRead)
{
    Standard();
    fs.failRead = [this](const std::string& path) { return path == dir.Win("1/index.sub"); };
    Click("Support/Refund");
    const int writes = fs.writeCount;
    editing.NavAddFolderExecute();
    EXPECT_EQ(
        boxes.ErrorTexts(), std::vector<std::string>{FormatMessageText(kMsgFileCantBeOpened, dir.Win("1/index.sub"))});
    EXPECT_EQ(fs.writeCount, writes);
    EXPECT_EQ(dir.Listing("1"), "1.rep 2.rep index.sub");
    EXPECT_EQ(tree.Outline(), "Greeting,Support(Refund,Delay),Thanks");
}

// ---------------------------------------------------------------- deleting

TEST_F(Editing, DeletingTheOnlyReplyOfNestedFoldersRemovesBothFoldersAfterOneQuestion)
{
    dir.Write("index.sub", "FOLDER_1?Outer\r\nREPLY_1?Keep\r\n");
    dir.Write("1.rep", "\r\n\r\n");
    dir.Write("1/index.sub", "FOLDER_1?Inner\r\n");
    dir.Write("1/1/index.sub", "REPLY_1?Only\r\n");
    dir.Write("1/1/1.rep", "only\r\n05\r\nbody\r\n");
    Load();

    Click("Outer");
    boxes.answerYes = false;
    editing.NavDeleteExecute();
    Click("Outer/Inner/Only");
    editing.NavDeleteExecute();
    EXPECT_EQ(tree.Outline(), "Outer(Inner(Only)),Keep");
    EXPECT_EQ(boxes.shown,
        (std::vector<fakes::ShownMessage>{{"Confirm", "Do you really want to delete \"Outer\" folder?"},
            {"Confirm", "Do you really want to delete \"Only\" reply?"}}));

    boxes.answerYes = true;
    editing.NavDeleteExecute();
    EXPECT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(tree.Outline(), "Keep");
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_1?Keep\r\n");
    EXPECT_EQ(dir.Listing(""), "1.rep index.sub");
    EXPECT_TRUE(macroBox.Texts().empty());
    EXPECT_TRUE(hotKeyBox.Texts().empty());
    EXPECT_EQ(lib.Count(), 1);
    // The panel follows the node the tree selected instead.
    EXPECT_EQ(tree.Selected(), Node("Keep"));
    EXPECT_EQ(name.Text(), "Keep");
}

TEST_F(Editing, PendingEditsOfADeletedReplyAreNeverWrittenBack)
{
    Standard();
    Click("Support/Refund");
    TypeBody(" more");
    name.SetText("Refund policy");
    ASSERT_TRUE(editing.ReplyChanged() && editing.NameChanged());
    editing.NavDeleteExecute();

    EXPECT_FALSE(dir.Exists("1/1.rep"));
    EXPECT_EQ(dir.Read("1/index.sub"), "REPLY_2?Delay\r\n");
    EXPECT_EQ(dir.Listing("1"), "2.rep index.sub");
    EXPECT_TRUE(boxes.ErrorTexts().empty());
    EXPECT_FALSE(editing.ReplyChanged() || editing.NameChanged());
    // The neighbour the tree selected is what the panel shows now.
    EXPECT_EQ(tree.Selected(), Node("Support/Delay"));
    EXPECT_EQ(name.Text(), "Delay");
    EXPECT_EQ(editor.SaveRtf(), "{\\rtf1 delay}\r\n");
}

// ---------------------------------------------------------------- moving

TEST_F(Editing, DropRulesAndTheFolderEmptiedByAMoveGoesWithoutAsking)
{
    dir.Write("index.sub", "FOLDER_1?Box\r\nREPLY_1?Top\r\n");
    dir.Write("1.rep", "\r\n\r\n");
    dir.Write("1/index.sub", "FOLDER_1?Sub\r\n");
    dir.Write("1/1/index.sub", "REPLY_1?Last\r\n");
    dir.Write("1/1/1.rep", "last\r\n\r\nbody\r\n");
    Load();

    Click("Box");
    EXPECT_FALSE(editing.NavigationDragOver(Node("Box/Sub/Last"), true)); // its own subtree
    EXPECT_FALSE(editing.NavigationDragOver(Node("Box"), true));
    EXPECT_TRUE(editing.NavigationDragOver(Node("Top"), true));
    EXPECT_FALSE(editing.NavigationDragOver(Node("Top"), false)); // not from the tree
    EXPECT_FALSE(editing.NavigationDragOver(nullptr, true));
    editing.NavigationDragDrop(Node("Box/Sub"));
    EXPECT_EQ(tree.Outline(), "Box(Sub(Last)),Top");

    Click("Box/Sub/Last");
    editing.NavigationDragDrop(Node("Top"));
    EXPECT_EQ(tree.Outline(), "Last,Top");
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_2?Last\r\nREPLY_1?Top\r\n");
    EXPECT_EQ(dir.Read("2.rep"), "last\r\n\r\nbody\r\n");
    EXPECT_EQ(dir.Listing(""), "1.rep 2.rep index.sub");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(tree.Selected(), Node("Last"));
    EXPECT_EQ(lib.RepOf(Node("Last"))->Node, Node("Last"));
    EXPECT_EQ(lib.MacroReplyAt(0), lib.RepOf(Node("Last")));

    editing.NavDeleteExecute();
    EXPECT_EQ(tree.Outline(), "Top");
    EXPECT_EQ(dir.Listing(""), "1.rep index.sub");
}

TEST_F(Editing, PendingEditsOfAMovedReplyAreWrittenOnlyAtItsNewPlace)
{
    dir.Write("index.sub", "FOLDER_1?Support\r\nREPLY_1?Greeting\r\n");
    dir.Write("1.rep", "\r\n\r\nhello\r\n");
    dir.Write("1/index.sub", "REPLY_1?Refund\r\nREPLY_2?Delay\r\n");
    dir.Write("1/1.rep", "\r\n\r\n{refund}\r\n");
    dir.Write("1/2.rep", "\r\n\r\ndelay\r\n");
    Load();

    Click("Support/Refund");
    TypeBody(" changed");
    // Refund becomes 2.rep at the top, the number Delay has in the folder.
    editing.NavigationDragDrop(Node("Greeting"));
    EXPECT_EQ(dir.Read("1/2.rep"), "\r\n\r\ndelay\r\n");
    EXPECT_EQ(dir.Listing("1"), "2.rep index.sub");
    EXPECT_EQ(dir.Read("2.rep"), "\r\n\r\n{refund}\r\n");
    EXPECT_TRUE(editing.ReplyChanged());
    EXPECT_EQ(tree.Selected(), Node("Refund"));

    editing.EditorForceSaveExecute();
    EXPECT_EQ(dir.Read("2.rep"), "\r\n\r\n{refund changed}\r\n");
    EXPECT_EQ(dir.Read("1/2.rep"), "\r\n\r\ndelay\r\n");
    EXPECT_EQ(dir.Listing("1"), "2.rep index.sub");
    EXPECT_FALSE(editing.ReplyChanged());
}

// ---------------------------------------------------------------- commits

TEST_F(Editing, EveryCommitEventWritesNameMacroAndBody)
{
    Standard();
    const std::vector<std::pair<std::string, std::function<void()>>> events{
        {"focus", [&] { editing.ControlEnter(); }},
        {"enter-name", [&] { EXPECT_TRUE(editing.EditNameKeyPress(kKeyEnter)); }},
        {"enter-macro", [&] { EXPECT_TRUE(editing.EditMacroKeyPress(kKeyEnter)); }},
        {"save-all", [&] { editing.EditorForceSaveExecute(); }},
        {"deactivation", [&] { editing.CommitEdits(); }},
        {"selection", [&] { Click("Thanks"); }},
    };
    for (const auto& [event, fire] : events) {
        SCOPED_TRACE(event);
        Click("Greeting");
        name.SetText("Greeting " + event);
        TypeBody(event);
        macro.SetText("g" + event);
        ASSERT_TRUE(editing.NameChanged() && editing.ReplyChanged());
        fire();
        EXPECT_FALSE(editing.NameChanged() || editing.ReplyChanged());
        EXPECT_EQ(tree.Label(Node("Greeting " + event)), "Greeting " + event);
        EXPECT_EQ(dir.Read("index.sub").substr(0, 17 + event.size()), "REPLY_1?Greeting " + event);
        const std::string file = dir.Read("1.rep");
        EXPECT_EQ(file.substr(0, file.find("\r\n")), "g" + event);
        EXPECT_NE(file.find(event + "}"), std::string::npos) << file;
        ASSERT_TRUE(lib.RenameEntry(lib.RepOf(Node("Greeting " + event)), "Greeting"));
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Editing, AFailedWriteIsReportedAndTheEditStaysPending)
{
    Standard();
    Click("Greeting");
    TypeBody(" world");
    fs.failWrite = [this](const std::string& path) { return path == dir.Win("1.rep"); };
    editing.EditorForceSaveExecute();
    EXPECT_EQ(boxes.ErrorTexts(), std::vector<std::string>{FormatMessageText(kMsgFileCantBeSaved, dir.Win("1.rep"))});
    EXPECT_TRUE(editing.ReplyChanged());
    EXPECT_EQ(dir.Read("1.rep"), "sig\r\n0A\r\n{\\rtf1 hello}\r\n");

    fs.failWrite = [this](const std::string& path) { return path == lib.RootIndexPath(); };
    name.SetText("Hi");
    editing.CommitEdits();
    EXPECT_EQ(boxes.ErrorTexts().back(), FormatMessageText(kMsgFileCantBeSaved, lib.RootIndexPath()));
    EXPECT_TRUE(editing.NameChanged());
    EXPECT_EQ(tree.Label(tree.Selected()), "Greeting");
    EXPECT_FALSE(editing.ReplyChanged()); // the body could be written this time

    fs.failWrite = {};
    Click("Thanks");
    EXPECT_EQ(dir.Read("1.rep"), "sig\r\n0A\r\n{\\rtf1 hello world}\r\n");
    EXPECT_EQ(tree.Outline(), "Hi,Support(Refund,Delay),Thanks");
}

TEST_F(Editing, AnUnsavedReplyEditIsNeitherShownNorDeliveredAsSavedAndIsWrittenLater)
{
    Standard();
    Click("Greeting");
    TypeBody(" world");
    macro.SetText("hi");
    key.Select(2); // C
    fs.failWrite = [this](const std::string& path) { return path == dir.Win("1.rep"); };
    Click("Thanks");
    EXPECT_EQ(boxes.ErrorTexts(), std::vector<std::string>{FormatMessageText(kMsgFileCantBeSaved, dir.Win("1.rep"))});

    // The library holds what the file holds: the body delivered, the macro
    // and hot key recognised, the lists shown.
    const TRep* greeting = lib.RepOf(Node("Greeting"));
    EXPECT_EQ(JoinTextLines(greeting->Lines), "{\\rtf1 hello}\r\n");
    EXPECT_EQ(lib.MacroReplyAt(lib.MatchMacro("sig")), greeting);
    EXPECT_LT(lib.MatchMacro("hi"), 0);
    EXPECT_EQ(lib.HotKeyReplyAt(lib.FindHotKey("0A")), greeting);
    EXPECT_EQ(macroBox.Texts(), (std::vector<std::string>{"ref", "sig"}));
    EXPECT_TRUE(editing.HasUnsavedEdit(greeting));
    EXPECT_TRUE(editing.HasUnsavedEdits()); // Save All stays enabled

    // Back on the reply, the panel shows the edit, still to be saved.
    Click("Greeting");
    EXPECT_EQ(editor.SaveRtf(), "{\\rtf1 hello world}\r\n");
    EXPECT_EQ(macro.Text(), "hi");
    EXPECT_EQ(key.SelectedIndex(), 2);
    EXPECT_TRUE(editing.ReplyChanged());
    Click("Thanks");
    EXPECT_EQ(boxes.ErrorTexts().size(), 2u);

    // Save All (and the program's end) writes it once the file can be written.
    fs.failWrite = {};
    editing.EditorForceSaveExecute();
    EXPECT_EQ(dir.Read("1.rep"), "hi\r\n0C\r\n{\\rtf1 hello world}\r\n");
    EXPECT_EQ(JoinTextLines(greeting->Lines), "{\\rtf1 hello world}\r\n");
    EXPECT_FALSE(editing.HasUnsavedEdits());
    Click("Greeting");
    EXPECT_FALSE(editing.ReplyChanged());
    EXPECT_EQ(boxes.ErrorTexts().size(), 2u);
}

TEST_F(Editing, AnUnsavedEditGoesWithItsDeletedReply)
{
    Standard();
    Click("Support/Refund");
    TypeBody(" new");
    fs.failWrite = [this](const std::string& path) { return path == dir.Win("1/1.rep"); };
    Click("Thanks");
    ASSERT_TRUE(editing.HasUnsavedEdit(lib.RepOf(Node("Support/Refund"))));
    fs.failWrite = {};
    Click("Support");
    editing.NavDeleteExecute();
    editing.EditorForceSaveExecute();
    EXPECT_FALSE(dir.Exists("1/1.rep"));
    EXPECT_EQ(tree.Outline(), "Greeting,Thanks");
}

// ---------------------------------------------------------------- the panel

TEST_F(Editing, SelectingLoadsThePanelAndReselectingRestoresTheStoredText)
{
    Standard();
    Click("Greeting");
    EXPECT_EQ(editor.SaveRtf(), "{\\rtf1 hello}\r\n");
    EXPECT_EQ(name.Text(), "Greeting");
    EXPECT_EQ(macro.Text(), "sig");
    EXPECT_TRUE(hotKey.Checked());
    EXPECT_FALSE(shift.Checked());
    EXPECT_EQ(key.SelectedIndex(), 0);
    EXPECT_EQ(macroBox.SelectedIndex(), 1);
    EXPECT_EQ(hotKeyBox.SelectedIndex(), 0);
    EXPECT_FALSE(editing.NameChanged() || editing.ReplyChanged());

    // Selecting the shown reply again reloads its stored text.
    editor.ReplaceSelection(" EXPANDED");
    editing.SelectNode(Node("Greeting"));
    EXPECT_EQ(editor.SaveRtf(), "{\\rtf1 hello}\r\n");
    EXPECT_EQ(dir.Read("1.rep"), "sig\r\n0A\r\n{\\rtf1 hello}\r\n");

    // A reply without hot key leaves Shift and the key as they were.
    Click("Support/Delay");
    Click("Support/Refund");
    EXPECT_FALSE(hotKey.Checked());
    EXPECT_TRUE(shift.Checked());
    EXPECT_EQ(key.SelectedIndex(), 1);
    Click("Support");
    EXPECT_EQ(editor.SaveRtf(), "");
    EXPECT_EQ(macroBox.SelectedIndex(), -1);
    EXPECT_EQ(hotKeyBox.SelectedIndex(), -1);
    editing.NavigationRightButtonDown(nullptr);
    EXPECT_EQ(tree.Selected(), nullptr);

    // The lists jump to their reply.
    macroBox.Select(0); // ref
    editing.ListMacrosClick();
    EXPECT_EQ(tree.Selected(), Node("Support/Refund"));
    hotKeyBox.Select(1); // Ctrl+Alt+Shift+B
    editing.ListHotKeysClick();
    EXPECT_EQ(tree.Selected(), Node("Support/Delay"));
    EXPECT_EQ(name.Text(), "Delay");
}

TEST_F(Editing, MacroBoxTakesOnlyTheRecognisersCharacters)
{
    Standard();
    Click("Thanks");
    TypeMacro("a b\xE9?\t\x01Z\"~\\");
    EXPECT_EQ(macro.Text(), "ab?Z\"~\\");
    EXPECT_FALSE(editing.EditMacroKeyPress(kKeyBackspace));
    EXPECT_TRUE(editing.EditMacroKeyPress('\n'));
    EXPECT_TRUE(editing.ReplyChanged());

    // A paste arrives as a change of the whole text.
    macro.SetText("my macro\t(\xE9"
                  "a,b)\r\n");
    EXPECT_EQ(macro.Text(), "mymacro(a,b)");
    editing.CommitEdits();
    EXPECT_EQ(dir.Read("2.rep"), "mymacro(a,b)\r\n\r\n{\\rtf1 thanks}\r\n");
}

TEST_F(Editing, EnterWithAnotherRepliesMacroIsRefusedAndTheBodyIsStillSavedLater)
{
    Standard();
    Click("Support/Refund");
    TypeBody(" new");
    macro.SetText("Sig");
    EXPECT_TRUE(editing.EditMacroKeyPress(kKeyEnter));
    EXPECT_EQ(boxes.shown, (std::vector<fakes::ShownMessage>{{"Information", kMsgMacroAssigned}}));
    EXPECT_TRUE(editing.ReplyChanged());
    EXPECT_EQ(dir.Read("1/1.rep"), "ref\r\n\r\n{\\rtf1 refund}\r\n");

    Click("Thanks");
    EXPECT_EQ(dir.Read("1/1.rep"), "ref\r\n\r\n{\\rtf1 refund new}\r\n");
    EXPECT_EQ(macroBox.Texts(), (std::vector<std::string>{"ref", "sig"}));
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(Editing, HotKeyBoxesAssignFreeKeysAndRefuseTakenOnes)
{
    Standard();
    Click("Thanks");
    key.Select(0); // A, held by Greeting
    // Ticking with the keyboard marks nothing.
    hotKey.SetChecked(true);
    EXPECT_FALSE(editing.ReplyChanged());
    editing.CheckBoxHotKeyMouseUp();
    EXPECT_EQ(key.SelectedIndex(), 1);
    EXPECT_EQ(dir.Read("2.rep"), "\r\n0B\r\n{\\rtf1 thanks}\r\n");

    // With Shift, the codes with Shift count: 1B is Delay's, 1A is free.
    shift.SetChecked(true);
    editing.CheckBoxShiftMouseUp();
    EXPECT_EQ(key.SelectedIndex(), 0);
    EXPECT_EQ(dir.Read("2.rep"), "\r\n1A\r\n{\\rtf1 thanks}\r\n");

    const int writes = fs.writeCount;
    editing.ComboBoxKeyChange(); // its own key
    key.Select(1); // 1B: Delay's
    editing.ComboBoxKeyChange();
    EXPECT_EQ(boxes.shown, (std::vector<fakes::ShownMessage>{{"Information", kMsgHotKeyAssigned}}));
    EXPECT_EQ(fs.writeCount, writes);
    EXPECT_FALSE(editing.ReplyChanged());

    key.Select(2);
    editing.ComboBoxKeyChange();
    EXPECT_EQ(dir.Read("2.rep"), "\r\n1C\r\n{\\rtf1 thanks}\r\n");
    EXPECT_EQ(hotKeyBox.Texts(),
        (std::vector<std::string>{"<CTRL>+<ALT>+A", "<CTRL>+<ALT>+<SHIFT>+B", "<CTRL>+<ALT>+<SHIFT>+C"}));

    hotKey.SetChecked(false);
    editing.CheckBoxHotKeyMouseUp();
    EXPECT_EQ(dir.Read("2.rep"), "\r\n\r\n{\\rtf1 thanks}\r\n");
    EXPECT_EQ(key.SelectedIndex(), 0); // 1C was still its own: the first free one
}

TEST_F(Editing, AutomaticHotKeysSkipKeysThatTypeACharacterOnTheUsersLayouts)
{
    Standard(); // Ctrl+Alt+A is Greeting's
    Click("Thanks");
    // With a Polish layout beside the US one, Ctrl+Alt+B is the first free key
    // that types nothing: C (with its accent) is skipped.
    const fakes::FakeLayout polish = fakes::PolishLayout();
    layouts.installed = {&us, &polish};
    key.Select(2);
    hotKey.SetChecked(true);
    editing.CheckBoxHotKeyMouseUp();
    EXPECT_EQ(dir.Read("2.rep"), "\r\n0B\r\n{\\rtf1 thanks}\r\n");
    // With Shift: 1B is Delay's, and AltGr+Shift+A gives a capital on Polish.
    shift.SetChecked(true);
    editing.CheckBoxShiftMouseUp();
    EXPECT_EQ(dir.Read("2.rep"), "\r\n1D\r\n{\\rtf1 thanks}\r\n");
    EXPECT_TRUE(boxes.shown.empty());

    // A German layout: AltGr+7 is "{", and Q is "@"; J types nothing.
    const fakes::FakeLayout german = fakes::GermanLayout();
    layouts.installed = {&german};
    EXPECT_TRUE(HotKeyTypesCharacter(&layouts, '7', false));
    EXPECT_TRUE(HotKeyTypesCharacter(&layouts, 'Q', false));
    EXPECT_FALSE(HotKeyTypesCharacter(&layouts, 'J', false));
    // No layout to ask: the keys that type on common layouts are skipped.
    EXPECT_TRUE(HotKeyTypesCharacter(nullptr, 'E', false));
    EXPECT_TRUE(HotKeyTypesCharacter(nullptr, '8', true));
    EXPECT_FALSE(HotKeyTypesCharacter(nullptr, 'B', false));
    layouts.installed.clear();
    EXPECT_TRUE(HotKeyTypesCharacter(&layouts, 'A', false));

    // A key the user picks that types a character is kept, with a warning, once.
    layouts.installed = {&us, &polish};
    shift.SetChecked(false);
    key.Select(static_cast<int>(kHotKeyChars.find('E')));
    editing.ComboBoxKeyChange();
    EXPECT_EQ(dir.Read("2.rep"), "\r\n0E\r\n{\\rtf1 thanks}\r\n");
    EXPECT_EQ(boxes.shown, (std::vector<fakes::ShownMessage>{{"Warning", HotKeyTypesCharacterText}}));
    key.Select(static_cast<int>(kHotKeyChars.find('L')));
    editing.ComboBoxKeyChange();
    EXPECT_EQ(dir.Read("2.rep"), "\r\n0L\r\n{\\rtf1 thanks}\r\n");
    EXPECT_EQ(boxes.shown.size(), 1u);
    // Ctrl+Alt+F types nothing anywhere here: no warning either way.
    key.Select(static_cast<int>(kHotKeyChars.find('F')));
    editing.ComboBoxKeyChange();
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(Editing, ChooseFreeHotKeyKeepsTheSelectionWhenEveryKeyIsTaken)
{
    std::string index;
    for (size_t i = 0; i < kHotKeyChars.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        index += "REPLY_" + n + "?R" + n + "\r\n";
        dir.Write(n + ".rep", std::string("\r\n0") + kHotKeyChars[i] + "\r\n");
    }
    dir.Write("index.sub", index);
    Load();
    Click("R36");
    key.Select(5);
    editing.ChooseFreeHotKey();
    EXPECT_EQ(key.SelectedIndex(), 5);
    shift.SetChecked(true);
    key.Select(-1);
    editing.ChooseFreeHotKey();
    EXPECT_EQ(key.SelectedIndex(), 0);
}

TEST_F(Editing, InPlaceRenameToNothingKeepsTheNameWhateverTheNameBoxHolds)
{
    Standard();
    Click("Thanks");
    name.SetText("Pending");
    editing.NavigationEdited(Node("Thanks"), "");
    EXPECT_EQ(tree.Outline(), "Greeting,Support(Refund,Delay),Thanks");
    // Tree and index still agree: a later rename is written.
    editing.NavigationEdited(Node("Thanks"), "Thanks!");
    EXPECT_TRUE(boxes.shown.empty());
    name.SetText("Typed");
    editing.NavigationEdited(tree.Selected(), "Thank you");
    EXPECT_EQ(name.Text(), "Thank you");
    EXPECT_FALSE(editing.NameChanged());
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_1?Greeting\r\nFOLDER_1?Support\r\nREPLY_2?Thank you\r\n");
}

TEST(EditingRules, DragScrollsNearTheEdgesOnlyWithThePointerOverTheTree)
{
    EXPECT_EQ(DragScrollDirection(50, 14, 100, 200), -1);
    EXPECT_EQ(DragScrollDirection(50, 15, 100, 200), 0);
    EXPECT_EQ(DragScrollDirection(50, 185, 100, 200), 0);
    EXPECT_EQ(DragScrollDirection(50, 186, 100, 200), 1);
    EXPECT_EQ(DragScrollDirection(0, 0, 100, 200), -1);
    EXPECT_EQ(DragScrollDirection(99, 199, 100, 200), 1);
    // Above, below, left and right of the tree.
    EXPECT_EQ(DragScrollDirection(50, -1, 100, 200), 0);
    EXPECT_EQ(DragScrollDirection(50, 200, 100, 200), 0);
    EXPECT_EQ(DragScrollDirection(-1, 5, 100, 200), 0);
    EXPECT_EQ(DragScrollDirection(100, 195, 100, 200), 0);
}

} // namespace
} // namespace corvane

// ---------------------------------------------------------------- the team library

namespace corvane {
namespace {

// The user's own library (Standard) and a team library on a shared folder
// <tmp>/team: Team greeting (sig, Ctrl+Alt+A, both held by the user's own
// Greeting; Ctrl+Alt+T), Sales (Offer: offer).
struct TeamLibrary : Editing {
    std::string teamRoot = dir.Base() + "\\team";

    // A path below the base folder, "/" written for "\\".
    std::string At(std::string relative) const
    {
        std::replace(relative.begin(), relative.end(), '/', '\\');
        return dir.Base() + "\\" + relative;
    }
    std::string TeamPath(const std::string& relative) const { return At("team/" + relative); }
    void WriteTeam(const std::string& relative, const std::string& bytes) { fs.PutFile(TeamPath(relative), bytes); }
    std::string ReadTeam(const std::string& relative) const { return fs.Peek(TeamPath(relative)).value_or(""); }
    void StandardWithTeam()
    {
        Standard();
        WriteTeam("index.sub", "REPLY_1?Team greeting\r\nFOLDER_1?Sales\r\n");
        WriteTeam("1.rep", "sig\r\n0A\r\n{\\rtf1 team hello}\r\n");
        WriteTeam("1/index.sub", "REPLY_1?Offer\r\n");
        WriteTeam("1/1.rep", "offer\r\n0T\r\n{\\rtf1 offer}\r\n");
        lib.LoadSharedLibrary(teamRoot, "Team");
    }
    // The same reply written by another computer a moment later.
    void WriteTeamLater(const std::string& relative, const std::string& bytes)
    {
        WriteTeam(relative, bytes);
        fs.SetWriteTime(TeamPath(relative), *fs.LastWriteTime(TeamPath(relative)) + 2000);
    }
};

TEST_F(TeamLibrary, ShowsTheTeamFolderLastAndTheUsersOwnRepliesKeepTheirKeys)
{
    StandardWithTeam();
    EXPECT_EQ(tree.Outline(), "Greeting,Support(Refund,Delay),Thanks,Team(Team greeting,Sales(Offer))");
    EXPECT_EQ(lib.SharedAccess(), TSharedAccess::Writable);
    TRep* team = Rep("Team/Team greeting");
    EXPECT_EQ(team->OwnPath(), teamRoot + "\\1.rep");
    EXPECT_EQ(Rep("Team/Sales/Offer")->OwnPath(), teamRoot + "\\1\\1.rep");
    EXPECT_EQ(lib.MacroReplyAt(lib.MatchMacro("sig")), Rep("Greeting"));
    EXPECT_EQ(lib.HotKeyReplyAt(lib.FindHotKey("0A")), Rep("Greeting"));
    EXPECT_EQ(lib.MacroReplyAt(lib.MatchMacro("offer")), Rep("Team/Sales/Offer"));
    ASSERT_EQ(lib.Conflicts().size(), 2u);
    EXPECT_EQ(lib.Conflicts()[0].reply, team);
    EXPECT_EQ(lib.Conflicts()[0].key, "sig");
    EXPECT_TRUE(lib.Conflicts()[1].hotKey);

    // Saving the team reply writes back the keys it could not take here:
    // the rest of the team still uses them.
    Click("Team/Team greeting");
    TypeBody("more ");
    editing.CommitEdits();
    EXPECT_EQ(ReadTeam("1.rep").substr(0, 10), "sig\r\n0A\r\n{");
    EXPECT_EQ(dir.Read("1.rep"), "sig\r\n0A\r\n{\\rtf1 hello}\r\n");
}

TEST_F(TeamLibrary, AddingAndRemovingInTheTeamFolderWritesThereUnderItsLock)
{
    StandardWithTeam();
    Click("Team/Sales/Offer");
    editing.NavAddReplyExecute();
    EXPECT_EQ(ReadTeam("1/index.sub"), "REPLY_2?New Reply\r\nREPLY_1?Offer\r\n");
    EXPECT_EQ(ReadTeam("1/2.rep"), "\r\n\r\n");
    editing.NavigationEdited(tree.Editing(), "Discount");
    EXPECT_EQ(ReadTeam("1/index.sub"), "REPLY_2?Discount\r\nREPLY_1?Offer\r\n");

    // The team's last reply out leaves the team folder itself in place.
    Click("Team/Team greeting");
    editing.NavDeleteExecute();
    Click("Team/Sales");
    editing.NavDeleteExecute();
    EXPECT_EQ(tree.Outline(), "Greeting,Support(Refund,Delay),Thanks,Team");
    EXPECT_EQ(ReadTeam("index.sub"), "");
    EXPECT_EQ(fs.NamesIn(teamRoot), std::vector<std::string>{"index.sub"});
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_1?Greeting\r\nFOLDER_1?Support\r\nREPLY_2?Thanks\r\n");
    EXPECT_TRUE(boxes.ErrorTexts().empty());
}

TEST_F(TeamLibrary, TheTeamFolderKeepsTheNameGivenInOptions)
{
    StandardWithTeam();
    Click("Team");
    editing.NavigationEdited(Node("Team"), "Ours");
    name.SetText("Ours too");
    editing.CommitEdits();
    EXPECT_EQ(tree.Outline(), "Greeting,Support(Refund,Delay),Thanks,Team(Team greeting,Sales(Offer))");
    EXPECT_EQ(name.Text(), "Team");
    EXPECT_FALSE(editing.NameChanged());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(TeamLibrary, AnIndexLockedByAnotherComputerRefusesTheChangeWithAMessage)
{
    StandardWithTeam();
    WriteTeam("1/index.lck", "another computer");
    Click("Team/Sales/Offer");
    editing.NavAddReplyExecute();
    EXPECT_EQ(ReadTeam("1/index.sub"), "REPLY_1?Offer\r\n");
    EXPECT_EQ(boxes.ErrorTexts(), std::vector<std::string>{FormatMessageText(kMsgSharedBusy, teamRoot + "\\1")});
    EXPECT_EQ(ReadTeam("1/index.lck"), "another computer");
}

TEST_F(TeamLibrary, TwoComputersAddingAMomentApartKeepBothReplies)
{
    StandardWithTeam();
    fakes::FakeTreeControl otherTree;
    fakes::FakeListBox otherHotKeys;
    fakes::FakeListBox otherMacros;
    TRepList other{otherTree, otherHotKeys, otherMacros, fs, LibraryRootIn(At("other\\"))};
    other.LoadSharedLibrary(teamRoot, "Team");
    fakes::FakeLineEdit n, m;
    fakes::FakeCheckBox h, s;
    fakes::FakeDropDownList k{static_cast<int>(kHotKeyChars.size())};
    fakes::FakeReplyEditor e;
    TLibraryEditing otherEditing{other, fs, TReplyPanel{n, m, h, s, k, e}};

    Click("Team/Team greeting");
    otherTree.Select(otherTree.Find("Team/Team greeting"));
    editing.NavAddReplyExecute();
    otherEditing.NavAddReplyExecute();
    EXPECT_EQ(
        ReadTeam("index.sub"), "REPLY_2?New Reply\r\nREPLY_3?New Reply\r\nREPLY_1?Team greeting\r\nFOLDER_1?Sales\r\n");
    EXPECT_TRUE(fs.Has(TeamPath("2.rep")) && fs.Has(TeamPath("3.rep")));
}

TEST_F(TeamLibrary, AReplyChangedElsewhereWhileEditedKeepsBothVersions)
{
    StandardWithTeam();
    Click("Team/Sales/Offer");
    TypeBody("mine ");
    WriteTeamLater("1/1.rep", "offer\r\n0T\r\n{\\rtf1 theirs}\r\n");
    editing.CommitEdits();

    EXPECT_EQ(tree.Outline(), "Greeting,Support(Refund,Delay),Thanks,Team(Team greeting,Sales(Offer (my copy),Offer))");
    EXPECT_EQ(ReadTeam("1/index.sub"), "REPLY_2?Offer (my copy)\r\nREPLY_1?Offer\r\n");
    EXPECT_EQ(ReadTeam("1/1.rep"), "offer\r\n0T\r\n{\\rtf1 theirs}\r\n");
    EXPECT_NE(ReadTeam("1/2.rep").find("mine"), std::string::npos);
    EXPECT_EQ(ReadTeam("1/2.rep").substr(0, 4), "\r\n\r\n");
    EXPECT_EQ(Rep("Team/Sales/Offer")->Lines, std::vector<std::string>{"{\\rtf1 theirs}"});
    EXPECT_FALSE(editing.ReplyChanged());
    EXPECT_EQ(lib.MacroReplyAt(lib.MatchMacro("offer")), Rep("Team/Sales/Offer"));
}

TEST_F(TeamLibrary, AReloadShowsAnotherComputersChangesAndKeepsTheSelection)
{
    StandardWithTeam();
    Click("Team/Sales/Offer");
    WriteTeam("1/index.sub", "REPLY_1?Offer\r\nREPLY_2?Welcome\r\n");
    WriteTeam("1/2.rep", "welcome\r\n\r\n{\\rtf1 welcome}\r\n");
    editing.ReloadSharedFolders({teamRoot + "\\1"});
    EXPECT_EQ(tree.Outline(), "Greeting,Support(Refund,Delay),Thanks,Team(Team greeting,Sales(Offer,Welcome))");
    EXPECT_EQ(tree.Selected(), Node("Team/Sales/Offer"));
    EXPECT_EQ(name.Text(), "Offer");
    EXPECT_EQ(lib.MacroReplyAt(lib.MatchMacro("welcome")), Rep("Team/Sales/Welcome"));
}

TEST_F(TeamLibrary, AFolderThatRefusesWritesIsReadOnlyAndEditingThereIsRefused)
{
    fs.failWrite = [this](const std::string& path) { return path.rfind(teamRoot, 0) == 0; };
    StandardWithTeam();
    EXPECT_EQ(lib.SharedAccess(), TSharedAccess::ReadOnly);
    Click("Team/Sales/Offer");
    editing.NavAddReplyExecute();
    TypeBody("mine ");
    editing.CommitEdits();
    EXPECT_EQ(boxes.ErrorTexts(), (std::vector<std::string>{kMsgSharedReadOnly, kMsgSharedReadOnly}));
    EXPECT_EQ(ReadTeam("1/index.sub"), "REPLY_1?Offer\r\n");
    EXPECT_EQ(ReadTeam("1/1.rep"), "offer\r\n0T\r\n{\\rtf1 offer}\r\n");
    EXPECT_FALSE(editing.ReplyChanged());

    Click("Thanks");
    TypeBody("own ");
    editing.CommitEdits();
    EXPECT_NE(dir.Read("2.rep").find("own"), std::string::npos);
}

TEST_F(TeamLibrary, AnUnreachableTeamFolderShowsEmptyAndOfflineWithoutAnError)
{
    Standard();
    lib.LoadSharedLibrary(teamRoot, "Team");
    EXPECT_EQ(tree.Outline(), "Greeting,Support(Refund,Delay),Thanks,Team");
    EXPECT_EQ(lib.SharedAccess(), TSharedAccess::Offline);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(TeamLibrary, DraggingBetweenTheLibrariesMovesTheFiles)
{
    StandardWithTeam();
    Click("Thanks");
    editing.NavigationDragDrop(Node("Team/Sales/Offer"));
    EXPECT_EQ(tree.Outline(), "Greeting,Support(Refund,Delay),Team(Team greeting,Sales(Thanks,Offer))");
    EXPECT_EQ(ReadTeam("1/index.sub"), "REPLY_2?Thanks\r\nREPLY_1?Offer\r\n");
    EXPECT_EQ(ReadTeam("1/2.rep"), "\r\n\r\n{\\rtf1 thanks}\r\n");
    EXPECT_FALSE(dir.Exists("2.rep"));
    EXPECT_EQ(Rep("Team/Sales/Thanks")->OwnPath(), teamRoot + "\\1\\2.rep");
    EXPECT_FALSE(dir.Exists("cvnmove.tmp"));
}

// The team library as the window runs it from change files. The store is
// answered at once on this thread: this computer (PC1) and another (PC2)
// keep their own copies and meet in one shared folder when the test says.
struct TeamFromChanges : TeamLibrary {
    fakes::MemoryFileSystem shared;
    fakes::MemoryFileSystem hereCopy;
    fakes::MemoryFileSystem thereCopy;
    int nextId = 0;
    TTeamReplica::IdSource ids = [this] { return std::to_string(10000000 + ++nextId) + "-id"; };
    const std::string folder = "\\\\server\\team";

    struct Store : ITeamStore {
        TTeamReplica replica;
        TTeamSnapshot snapshot;
        explicit Store(TTeamReplica r) : replica(std::move(r)) { }
        void Submit(Edit edit) override { edit(replica); }
        std::optional<TTeamSnapshot> TakeSnapshot(long long seen) const override
        {
            return snapshot.serial > seen ? std::optional(snapshot) : std::nullopt;
        }
        void Publish(bool reachable = true)
        {
            snapshot = {replica.View(), reachable, replica.Unsent(), snapshot.serial + 1};
        }
    } store{TTeamReplica{hereCopy, "C:\\here", "PC1", ids}};
    TTeamReplica there{thereCopy, "C:\\there", "PC2", ids};
    TTeamLibrary team{lib, editing, store};

    TeamFromChanges()
    {
        shared.PutDir(folder);
        hereCopy.PutDir("C:\\here");
        thereCopy.PutDir("C:\\there");
        (void)store.replica.Open();
        (void)there.Open();
    }
    // Both send what they made and take in what the other made.
    void Exchange()
    {
        (void)store.replica.Exchange(shared, folder);
        (void)there.Exchange(shared, folder);
        (void)store.replica.Exchange(shared, folder);
        store.Publish();
    }
    // PC2 adds a reply at the team library's top; its id.
    std::string ThereAdds(const std::string& name, const std::string& macroText)
    {
        TTeamEntryState state;
        state.name = name;
        state.macro = macroText;
        state.lines = {"{\\rtf1 " + name + "}"};
        return there.EntryOf(there.Add(state));
    }
    // The standard library with the team folder loaded beside it, where PC2
    // has added "Offer" (macro "offer"); its id.
    std::string LoadTeamWithPC2sOffer()
    {
        Standard();
        std::string offer = ThereAdds("Offer", "offer");
        Exchange();
        team.Load({folder, "Team"});
        return offer;
    }
    std::string ThereShows(const std::string& entry) const
    {
        std::string names;
        for (size_t at : there.View().byEntry.at(entry))
            names += (names.empty() ? "" : ",") + there.View().entries[at].name;
        return names;
    }
    bool RecordedHere(const std::function<bool(const TTeamEntryState&)>& match) const
    {
        for (const auto& [key, change] : store.replica.Changes())
            if (match(change.state))
                return true;
        return false;
    }
};

TEST_F(TeamFromChanges, AnotherComputersChangeWaitsWhileTheUserTypesAndNeverCommitsTheBoxes)
{
    const std::string offer = LoadTeamWithPC2sOffer();
    ASSERT_TRUE(team.ShowLatest(false));
    EXPECT_EQ(tree.Outline(), "Greeting,Support(Refund,Delay),Thanks,Team(Offer)");
    tree.SetExpanded(Node("Team"), true);
    Click("Team/Offer");
    editing.ControlEnter();
    macro.SetText("s"); // "offer" selected and typed over

    // PC2 renames the reply the user is in and adds another.
    TTeamEntryState renamed;
    renamed.name = "Offer 2";
    renamed.macro = "offer";
    (void)there.Change(*there.View().Find(offer), renamed);
    (void)ThereAdds("Welcome", "welc");
    Exchange();
    EXPECT_FALSE(team.ShowLatest(true));
    EXPECT_FALSE(team.ShowLatest(false)) << "the typed macro is not committed yet";
    EXPECT_EQ(tree.Outline(), "Greeting,Support(Refund,Delay),Thanks,Team(Offer)");
    EXPECT_EQ(macro.Text(), "s");
    EXPECT_TRUE(editing.ReplyChanged());
    EXPECT_LT(lib.MatchMacro("s"), 0) << "a half-typed macro went live";
    EXPECT_FALSE(RecordedHere([](const TTeamEntryState& s) { return s.macro == "s"; }));

    // The user finishes and leaves the box: the change is made on the version
    // the user saw, so PC2's rename made meanwhile stands beside it.
    TypeMacro("ale");
    editing.CommitEdits();
    Exchange();
    ASSERT_TRUE(team.ShowLatest(false));
    EXPECT_EQ(tree.Outline(),
        "Greeting,Support(Refund,Delay),Thanks,Team(Offer (PC1's version),Offer 2 (PC2's version),Welcome)");
    EXPECT_TRUE(tree.IsExpanded(Node("Team")));
    EXPECT_EQ(lib.MacroReplyAt(lib.MatchMacro("sale")), Rep("Team/Offer (PC1's version)"));
    EXPECT_EQ(lib.MacroReplyAt(lib.MatchMacro("welc")), Rep("Team/Welcome"));
    EXPECT_EQ(lib.RepOf(tree.Selected())->TeamEntry, offer);
    EXPECT_EQ(ThereShows(offer), "Offer (PC1's version),Offer 2 (PC2's version)");

    // Deleting one version leaves the other under its plain name everywhere.
    Click("Team/Offer 2 (PC2's version)");
    editing.NavDeleteExecute();
    Exchange();
    ASSERT_TRUE(team.ShowLatest(false));
    EXPECT_EQ(tree.Outline(), "Greeting,Support(Refund,Delay),Thanks,Team(Offer,Welcome)");
    EXPECT_EQ(ThereShows(offer), "Offer");
    EXPECT_EQ(lib.MacroReplyAt(lib.MatchMacro("sale")), Rep("Team/Offer"));
}

TEST_F(TeamFromChanges, EditingCommandsRecordChangesThatFollowEachOtherBeforeAnySnapshot)
{
    const std::string offer = LoadTeamWithPC2sOffer();
    ASSERT_TRUE(team.ShowLatest(false));
    tree.SetExpanded(Node("Team"), true);

    // Made one after another with no snapshot between them: each follows the
    // one before, none stands beside it as a conflict.
    Click("Team/Offer");
    editing.NavAddReplyExecute();
    editing.NavigationEdited(tree.Editing(), "Discount");
    TypeBody("ten percent ");
    Click("Team/Offer");
    editing.NavAddFolderExecute();
    editing.NavigationEdited(tree.Editing(), "Inside");
    Click("Team/Discount");
    editing.NavigationDragDrop(Node("Team/New Folder/Inside"));
    Click("Team/Offer");
    editing.NavDeleteExecute();
    EXPECT_EQ(tree.Outline(), "Greeting,Support(Refund,Delay),Thanks,Team(New Folder(Discount,Inside))");

    Exchange();
    EXPECT_EQ(there.View().Find(offer), nullptr);
    std::string shownThere;
    for (const TTeamShownEntry& e : there.View().entries)
        shownThere += (shownThere.empty() ? "" : ",") + e.name + (e.conflict ? "!" : "");
    EXPECT_EQ(shownThere, "New Folder,Discount,Inside");
    for (const TTeamShownEntry& e : there.View().entries)
        EXPECT_TRUE(e.name != "Discount" || JoinTextLines(e.lines).find("ten percent") != std::string::npos);
    ASSERT_TRUE(team.ShowLatest(false));
    EXPECT_EQ(tree.Outline(), "Greeting,Support(Refund,Delay),Thanks,Team(New Folder(Discount,Inside))");
    EXPECT_EQ(dir.Read("index.sub"), "REPLY_1?Greeting\r\nFOLDER_1?Support\r\nREPLY_2?Thanks\r\n");
    EXPECT_TRUE(boxes.ErrorTexts().empty());
}

// Ending a label edit without changing the name records nothing; a version
// in conflict keeps its own name instead of taking on the label that tells
// whose version it is.
TEST_F(TeamFromChanges, ALabelEditThatChangesNothingRecordsNothing)
{
    const std::string offer = LoadTeamWithPC2sOffer();
    ASSERT_TRUE(team.ShowLatest(false));
    tree.SetExpanded(Node("Team"), true);

    Click("Team/Offer");
    editing.NavAddReplyExecute();
    const size_t added = store.replica.Changes().size();
    editing.NavigationEdited(tree.Editing(), tree.Label(tree.Editing()));
    editing.NavigationEdited(Node("Team/Offer"), "Offer");
    editing.CommitEdits();
    EXPECT_EQ(store.replica.Changes().size(), added);

    TTeamEntryState renamed;
    renamed.name = "Offer 2";
    renamed.macro = "offer";
    (void)there.Change(*there.View().Find(offer), renamed);
    renamed.name = "Offer 3";
    (void)store.replica.Change(*store.replica.View().Find(offer), renamed);
    Exchange();
    ASSERT_TRUE(team.ShowLatest(false));
    const size_t inConflict = store.replica.Changes().size();
    editing.NavigationEdited(Node("Team/Offer 3 (PC1's version)"), "Offer 3 (PC1's version)");
    EXPECT_EQ(store.replica.Changes().size(), inConflict);
    Exchange();
    EXPECT_EQ(ThereShows(offer), "Offer 2 (PC2's version),Offer 3 (PC1's version)");
}

} // namespace
// With the team folder out of reach the team library stays changeable: the
// changes are kept in this computer's copy and sent once it is back.
TEST_F(TeamFromChanges, TeamEntriesStayChangeableWhileTheFolderIsAway)
{
    (void)LoadTeamWithPC2sOffer();
    store.Publish(false);
    ASSERT_TRUE(team.ShowLatest(false));
    EXPECT_TRUE(team.Offline());
    EXPECT_NE(lib.SharedAccess(), TSharedAccess::Writable) << "the folder's picture shows it away";
    EXPECT_TRUE(lib.CanChange(Rep("Team/Offer")));
    EXPECT_TRUE(lib.CanChangeIn(folder));

    tree.SetExpanded(Node("Team"), true);
    Click("Team/Offer");
    editing.NavAddReplyExecute();
    editing.NavigationEdited(tree.Editing(), "Kept while away");
    EXPECT_TRUE(boxes.ErrorTexts().empty());
    EXPECT_TRUE(RecordedHere([](const TTeamEntryState& s) { return s.name == "Kept while away"; }));
    Exchange();
    const auto& arrived = there.View().entries;
    EXPECT_TRUE(std::any_of(arrived.begin(), arrived.end(),
        [](const TTeamShownEntry& e) { return e.name == "Kept while away" && !e.conflict; }));
}

} // namespace corvane
