#include "shell/TreeImages.h"
#include "shell/UnitIdleUpdate.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TCommandStates AllEnabled()
{
    TCommandStates s;
    s.addFolder = s.addReply = s.deleteNode = s.saveAll = s.copyName = s.name = s.macro = true;
    s.hotKeyBox = s.hotKeyParts = s.formattingToolbar = s.copy = s.cut = s.paste = s.undo = s.redo = true;
    s.selectAll = s.copyEntire = s.pasteInLastActive = s.formattingControls = s.placeholders = s.editor = true;
    return s;
}

TEST(IdleUpdate, NothingSelectedDisablesEverythingButAddAndKeepsSaveAll)
{
    TIdleInput in;
    in.nameChanged = true; // not looked at without a selection
    TCommandStates expected;
    expected.addFolder = expected.addReply = true;
    expected.saveAll = true;
    EXPECT_EQ(IdleUpdate(in, AllEnabled()), expected);

    expected.saveAll = false;
    EXPECT_EQ(IdleUpdate(in, TCommandStates{}), expected);

    in.fullMode = false;
    expected.addFolder = expected.addReply = false;
    EXPECT_EQ(IdleUpdate(in, TCommandStates{}), expected);
}

TEST(IdleUpdate, FolderAllowsOnlyTheName)
{
    TIdleInput in;
    in.selected = SelectedNode::Folder;
    in.treeFocused = true;
    in.hotKeyChecked = true;
    in.editorFocused = in.editorHasSelection = in.editorCanPaste = in.lastActiveWindowValid = true;
    TCommandStates expected;
    expected.addFolder = expected.addReply = expected.deleteNode = true;
    expected.copyName = true;
    expected.name = true;
    EXPECT_EQ(IdleUpdate(in, AllEnabled()), expected);
}

TEST(IdleUpdate, AReadOnlyTeamSelectionCanBeReadCopiedAndDeliveredOnly)
{
    TIdleInput in;
    in.selected = SelectedNode::Reply;
    in.selectionReadOnly = true;
    in.hotKeyChecked = in.editorFocused = in.editorHasSelection = in.editorCanPaste = in.editorCanUndo = true;
    in.lastActiveWindowValid = in.treeFocused = true;
    TCommandStates expected;
    expected.copyName = expected.copy = expected.selectAll = expected.copyEntire = expected.pasteInLastActive = true;
    expected.editor = true;
    EXPECT_EQ(IdleUpdate(in, AllEnabled()), expected);
}

TEST(IdleUpdate, CompactModeDisablesAddAndDelete)
{
    TIdleInput in;
    in.fullMode = false;
    in.selected = SelectedNode::Reply;
    const auto s = IdleUpdate(in, {});
    EXPECT_FALSE(s.addFolder);
    EXPECT_FALSE(s.addReply);
    EXPECT_FALSE(s.deleteNode);
    EXPECT_TRUE(s.editor);
}

TEST(IdleUpdate, SaveAllFollowsPendingEditsWhileSelected)
{
    TIdleInput in;
    in.selected = SelectedNode::Reply;
    EXPECT_FALSE(IdleUpdate(in, AllEnabled()).saveAll);
    in.nameChanged = true;
    EXPECT_TRUE(IdleUpdate(in, {}).saveAll);
    in.nameChanged = false;
    in.replyChanged = true;
    EXPECT_TRUE(IdleUpdate(in, {}).saveAll);
}

TEST(IdleUpdate, ReplyWithoutEditorFocusDisablesTheSixEditorCommands)
{
    TIdleInput in;
    in.selected = SelectedNode::Reply;
    in.editorHasSelection = in.editorCanPaste = in.editorCanUndo = in.editorCanRedo = true;
    const auto s = IdleUpdate(in, {});
    EXPECT_FALSE(s.copy || s.cut || s.paste || s.undo || s.redo || s.selectAll);
    EXPECT_TRUE(s.name && s.macro && s.hotKeyBox && s.formattingToolbar && s.formattingControls);
    EXPECT_TRUE(s.copyEntire && s.placeholders && s.editor);
    EXPECT_FALSE(s.hotKeyParts); // "Hot Key:" unchecked
    EXPECT_FALSE(s.pasteInLastActive);
    EXPECT_FALSE(s.copyName);
}

TEST(IdleUpdate, ReplyWithEditorFocusFollowsTheEditor)
{
    TIdleInput in;
    in.selected = SelectedNode::Reply;
    in.editorFocused = true;
    auto s = IdleUpdate(in, {});
    EXPECT_FALSE(s.copy || s.cut || s.paste || s.undo || s.redo);
    EXPECT_TRUE(s.selectAll);

    in.editorHasSelection = true;
    s = IdleUpdate(in, {});
    EXPECT_TRUE(s.copy && s.cut);
    EXPECT_FALSE(s.paste || s.undo || s.redo);

    in.editorCanPaste = true;
    in.editorCanUndo = true;
    s = IdleUpdate(in, {});
    EXPECT_TRUE(s.paste && s.undo);
    EXPECT_FALSE(s.redo);
    in.editorCanRedo = true;
    EXPECT_TRUE(IdleUpdate(in, {}).redo);
}

TEST(IdleUpdate, HotKeyPartsAndPasteInLastActiveFollowTheirConditions)
{
    TIdleInput in;
    in.selected = SelectedNode::Reply;
    in.hotKeyChecked = true;
    in.lastActiveWindowValid = true;
    in.treeFocused = true;
    const auto s = IdleUpdate(in, {});
    EXPECT_TRUE(s.hotKeyParts);
    EXPECT_TRUE(s.pasteInLastActive);
    EXPECT_TRUE(s.copyName);
}

} // namespace
} // namespace corvane

namespace corvane {
namespace {

TEST(TreeImages, FoldersShowTheFolderPicturesAndRepliesTheReplyPictures)
{
    EXPECT_EQ(TreeNodeImages(true, false), (TTreeNodeImages{kImageFolderClosed, kImageFolderClosed}));
    EXPECT_EQ(TreeNodeImages(true, true), (TTreeNodeImages{kImageFolderOpen, kImageFolderOpen}));
    EXPECT_EQ(TreeNodeImages(false, false), (TTreeNodeImages{kImageReply, kImageReplySelected}));
    EXPECT_EQ(TreeNodeImages(false, true), (TTreeNodeImages{kImageReply, kImageReplySelected}));
}

} // namespace
} // namespace corvane
