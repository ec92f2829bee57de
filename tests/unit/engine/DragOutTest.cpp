// A node dragged out of the main window and back: the cursor it shows and
// the pointer set back onto the border once per exit.
#include "EngineTestRig.h"

#include <gtest/gtest.h>

namespace corvane::testing {
namespace {

constexpr TFormBounds Form{100, 50, 400, 300}; // right edge at 500, bottom at 350

TDragMouse MoveTo(int x, int y) { return {x, y, x, y, Form}; }

TEST(DragOutTest, AReplyShowsTheDropCursorOutsideAndSnapsOncePerExit)
{
    EngineRig rig;
    TRep* reply = rig.AddReply("Thanks", RichEditRtf("Thank you"));
    rig.SelectNode(reply->Node);
    rig.engine.StartDrag();

    TDragStep step = rig.engine.DragMove(MoveTo(300, 200));
    EXPECT_FALSE(step.replyDropCursor);
    EXPECT_FALSE(step.snap);

    // Out through the right edge, the pointer already over another program.
    step = rig.engine.DragMove({520, 210, 530, 212, Form});
    EXPECT_TRUE(step.replyDropCursor);
    ASSERT_TRUE(step.snap);
    EXPECT_EQ(step.snapX, 499);
    EXPECT_EQ(step.snapY, 212);
    // On the border line itself the pointer counts as outside: no second snap.
    step = rig.engine.DragMove(MoveTo(499, 212));
    EXPECT_TRUE(step.replyDropCursor);
    EXPECT_FALSE(step.snap);
    step = rig.engine.DragMove(MoveTo(700, 220));
    EXPECT_TRUE(step.replyDropCursor);
    EXPECT_FALSE(step.snap);

    // Back inside: the drag's own cursor; the next exit (over the top) snaps again.
    step = rig.engine.DragMove(MoveTo(400, 200));
    EXPECT_FALSE(step.replyDropCursor);
    EXPECT_FALSE(step.snap);
    step = rig.engine.DragMove(MoveTo(250, 30));
    EXPECT_TRUE(step.replyDropCursor);
    ASSERT_TRUE(step.snap);
    EXPECT_EQ(step.snapX, 250);
    EXPECT_EQ(step.snapY, 51);

    // Released just after coming back inside: nothing is delivered.
    step = rig.engine.DragMove(MoveTo(250, 60));
    EXPECT_FALSE(step.replyDropCursor);
    rig.engine.DropSelectedReply(250, 60, MailWindow);
    EXPECT_EQ(rig.desktop.clicks, 0);
    EXPECT_EQ(rig.MailText(), "");

    // After the drag a move outside changes nothing.
    rig.engine.EndDrag();
    step = rig.engine.DragMove(MoveTo(700, 220));
    EXPECT_FALSE(step.replyDropCursor);
    EXPECT_FALSE(step.snap);
}

TEST(DragOutTest, AFolderKeepsTheNoDropCursorOutside)
{
    EngineRig rig;
    TRep* folder = rig.library.Items(rig.library.AddNodeLast("Letters", nullptr));
    rig.SelectNode(folder->Node);
    rig.engine.StartDrag();
    const TDragStep step = rig.engine.DragMove(MoveTo(50, 200));
    EXPECT_FALSE(step.replyDropCursor);
    EXPECT_TRUE(step.snap);
    EXPECT_EQ(step.snapX, 101);
}

} // namespace
} // namespace corvane::testing
