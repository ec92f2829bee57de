#include "shell/MainLayout.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

// Client area of the built-in 740 x 497 window.
constexpr int kClientW = 724;
constexpr int kClientH = 438;

TEST(MainLayout, FullModeSplitsUpperAndLowerPanelsAroundTheSplitter)
{
    const MainLayout l = ComputeMainLayout(kClientW, kClientH, PanelSizes{}, false);
    EXPECT_EQ(l.lowerPanel.h, 215);
    EXPECT_EQ(l.lowerPanel.y + l.lowerPanel.h, kClientH);
    EXPECT_EQ(l.splitterHorz, (LayoutRect{0, l.upperHeight, kClientW, 3}));
    EXPECT_EQ(l.upperHeight + 3 + 215, kClientH);
    EXPECT_EQ(l.tree.h, l.upperHeight);
}

TEST(MainLayout, FullModeColumnsFromLeftToRightLeaveNoGapsOrOverlaps)
{
    const MainLayout l = ComputeMainLayout(kClientW, kClientH, PanelSizes{}, false);
    EXPECT_EQ(l.navButtons.w, 40);
    EXPECT_EQ(l.tree.x, 40);
    EXPECT_EQ(l.tree.x + l.tree.w, l.splitterVert1.x);
    EXPECT_EQ(l.splitterVert1.x + 3, l.chooseBy.x);
    EXPECT_EQ(l.chooseBy.w, 260);
    EXPECT_EQ(l.chooseBy.x + l.chooseBy.w, kClientW);
    EXPECT_EQ(l.macrosList.x, l.chooseBy.x);
    EXPECT_EQ(l.macrosList.w, 119);
    EXPECT_EQ(l.splitterVert2.x, l.macrosList.x + 119);
    EXPECT_EQ(l.hotKeysList.x, l.splitterVert2.x + 3);
    EXPECT_EQ(l.hotKeysList.x + l.hotKeysList.w, kClientW);
    // Captions sit above their lists.
    EXPECT_EQ(l.macrosCaption.y + l.macrosCaption.h, l.macrosList.y);
    EXPECT_EQ(l.hotKeysCaption.y + l.hotKeysCaption.h, l.hotKeysList.y);
}

TEST(MainLayout, LowerPanelStacksParametersToolbarAndEditor)
{
    const MainLayout l = ComputeMainLayout(kClientW, kClientH, PanelSizes{}, false);
    EXPECT_EQ(l.bottomBar.w, 40);
    EXPECT_EQ(l.replyParams.x, 40);
    EXPECT_EQ(l.replyParams.h, 32);
    EXPECT_EQ(l.toolbar.y, l.replyParams.y + 32);
    EXPECT_EQ(l.editor.y, l.toolbar.y + l.toolbar.h);
    EXPECT_EQ(l.editor.y + l.editor.h, kClientH);
    EXPECT_EQ(l.editor.w, kClientW - 40);
}

TEST(MainLayout, CompactModeGivesEverythingToTheTree)
{
    const MainLayout l = ComputeMainLayout(300, 200, PanelSizes{}, true);
    EXPECT_EQ(l.tree, (LayoutRect{0, 0, 300, 200}));
    EXPECT_EQ(l.chooseBy.w, 0);
    EXPECT_EQ(l.editor.w, 0);
    EXPECT_EQ(l.lowerPanel.h, 0);
    EXPECT_EQ(l.navButtons.w, 0);
}

TEST(MainLayout, OversizedPanelsAreClampedIntoTheClientArea)
{
    PanelSizes huge;
    huge.lowerHeight = 5000;
    huge.chooseByWidth = 5000;
    huge.macrosWidth = 5000;
    const MainLayout l = ComputeMainLayout(400, 300, huge, false);
    EXPECT_GE(l.upperHeight, 0);
    EXPECT_LE(l.lowerPanel.y + l.lowerPanel.h, 300);
    EXPECT_GE(l.tree.w, 0);
    EXPECT_LE(l.chooseBy.x + l.chooseBy.w, 400);
    EXPECT_GE(l.hotKeysList.w, 0);
    EXPECT_LE(l.hotKeysList.x + l.hotKeysList.w, 400);
}

TEST(MainLayout, NegativeClientSizeYieldsEmptyRectangles)
{
    const MainLayout l = ComputeMainLayout(-10, -10, PanelSizes{}, false);
    EXPECT_EQ(l.tree.w, 0);
    EXPECT_EQ(l.editor.h, 0);
    EXPECT_EQ(l.upperHeight, 0);
}

TEST(SplitterDrag, EachSplitterStopsAtItsLimitsOnBothSides)
{
    const PanelSizes start;
    const MainLayout l = ComputeMainLayout(kClientW, kClientH, start, false);
    const int x1 = l.splitterVert1.x + 1;
    ASSERT_EQ(SplitterAt(l, false, x1, 10), SplitterId::Vert1);
    EXPECT_EQ(SplitterAt(l, true, x1, 10), SplitterId::None) << "compact mode has no splitters";
    const int grab = SplitterGrabOffset(l, SplitterId::Vert1, x1, 10);
    EXPECT_EQ(grab, 1);

    // Dragged 100 to the left: the lists widen by 100 and keep their proportion.
    PanelSizes s = DragSplitter(SplitterId::Vert1, x1 - 100, 10, grab, kClientW, kClientH, start, 119.0 / 260);
    EXPECT_EQ(s.chooseByWidth, 360);
    EXPECT_EQ(s.macrosWidth, 165); // 360 * 119 / 260 = 164.8
    // Far left: the tree keeps the splitter's minimum; far right: so do the lists.
    s = DragSplitter(SplitterId::Vert1, 0, 10, grab, kClientW, kClientH, start, 0.5);
    EXPECT_EQ(s.chooseByWidth, kClientW - kButtonColumnWidth - kSplitterThickness - kSplitterVert1MinSize);
    s = DragSplitter(SplitterId::Vert1, kClientW + 50, 10, grab, kClientW, kClientH, start, 0.5);
    EXPECT_EQ(s.chooseByWidth, kSplitterVert1MinSize);

    s = DragSplitter(SplitterId::Vert2, 0, 10, 0, kClientW, kClientH, start, 0.5);
    EXPECT_EQ(s.macrosWidth, kSplitterVert2MinSize);
    s = DragSplitter(SplitterId::Vert2, kClientW, 10, 0, kClientW, kClientH, start, 0.5);
    EXPECT_EQ(s.macrosWidth, 260 - kSplitterThickness - kSplitterVert2MinSize);

    const int yh = l.splitterHorz.y + 2;
    ASSERT_EQ(SplitterAt(l, false, 300, yh), SplitterId::Horz);
    s = DragSplitter(SplitterId::Horz, 300, 0, 2, kClientW, kClientH, start, 0.5);
    EXPECT_EQ(s.lowerHeight, kClientH - kSplitterHorzMinSize - kSplitterThickness) << "upper panel keeps its minimum";
    s = DragSplitter(SplitterId::Horz, 300, kClientH, 2, kClientW, kClientH, start, 0.5);
    EXPECT_EQ(s.lowerHeight, kSplitterHorzMinSize) << "lower panel keeps it too";
    EXPECT_EQ(s.chooseByWidth, start.chooseByWidth);
}

TEST(MainLayout, ButtonColumnsAndTheParameterRowFollowTheirPanels)
{
    const MainLayout l = ComputeMainLayout(kClientW, kClientH, PanelSizes{}, false);
    EXPECT_EQ(l.navButtonBar.x, 2);
    EXPECT_EQ(l.navButtonBar.h, 3 * (kNavButtonSize + 4));
    EXPECT_EQ(l.saveButtonBar.y, l.bottomBar.y + 2);
    EXPECT_EQ(l.deliveryButtonBar.y + l.deliveryButtonBar.h, l.bottomBar.y + l.bottomBar.h - 2);
    EXPECT_EQ(l.params.labelName.y, l.replyParams.y + 5);
    EXPECT_LT(l.params.editName.x + l.params.editName.w, l.params.labelMacro.x);
    EXPECT_LT(l.params.labelPlus.x + l.params.labelPlus.w, l.params.comboKey.x + 1);
    const MainLayout compact = ComputeMainLayout(kClientW, kClientH, PanelSizes{}, true);
    EXPECT_EQ(compact.params.editName.w, 0);
    EXPECT_EQ(compact.saveButtonBar.w, 0);
}

} // namespace
} // namespace corvane

namespace corvane {
namespace {

// Every rectangle of the layout at a DPI is the 96-DPI one scaled, to within
// the pixel that rounding each edge may cost.
class ScaledLayout : public ::testing::TestWithParam<int> { };

void ExpectScaled(const LayoutRect& at, const LayoutRect& base, int dpi, const char* name)
{
    constexpr int kRounding = 2;
    EXPECT_NEAR(at.x, ConvertDpi(base.x, kBaseDpi, dpi), kRounding) << name;
    EXPECT_NEAR(at.y, ConvertDpi(base.y, kBaseDpi, dpi), kRounding) << name;
    EXPECT_NEAR(at.w, ConvertDpi(base.w, kBaseDpi, dpi), kRounding) << name;
    EXPECT_NEAR(at.h, ConvertDpi(base.h, kBaseDpi, dpi), kRounding) << name;
}

TEST_P(ScaledLayout, EveryPartIsItsBaseSizeTimesTheScale)
{
    const int dpi = GetParam();
    const MainLayout base = ComputeMainLayout(kClientW, kClientH, PanelSizes{}, false);
    const MainLayout l
        = ComputeMainLayout(ScaleToDpi(kClientW, dpi), ScaleToDpi(kClientH, dpi), DefaultPanelSizes(dpi), false, dpi);
    const std::pair<const char*, LayoutRect MainLayout::*> parts[] = {{"navButtons", &MainLayout::navButtons},
        {"navButtonBar", &MainLayout::navButtonBar}, {"tree", &MainLayout::tree},
        {"splitterVert1", &MainLayout::splitterVert1}, {"macrosCaption", &MainLayout::macrosCaption},
        {"macrosList", &MainLayout::macrosList}, {"hotKeysList", &MainLayout::hotKeysList},
        {"splitterHorz", &MainLayout::splitterHorz}, {"saveButtonBar", &MainLayout::saveButtonBar},
        {"deliveryButtonBar", &MainLayout::deliveryButtonBar}, {"replyParams", &MainLayout::replyParams},
        {"toolbar", &MainLayout::toolbar}, {"editor", &MainLayout::editor}};
    for (const auto& [name, part] : parts)
        ExpectScaled(l.*part, base.*part, dpi, name);
    const std::pair<const char*, LayoutRect ReplyParamsLayout::*> params[]
        = {{"labelName", &ReplyParamsLayout::labelName}, {"editName", &ReplyParamsLayout::editName},
            {"labelMacro", &ReplyParamsLayout::labelMacro}, {"checkHotKey", &ReplyParamsLayout::checkHotKey},
            {"labelCtrlAlt", &ReplyParamsLayout::labelCtrlAlt}, {"checkShift", &ReplyParamsLayout::checkShift},
            {"comboKey", &ReplyParamsLayout::comboKey}};
    for (const auto& [name, part] : params)
        ExpectScaled(l.params.*part, base.params.*part, dpi, name);
    // Rounding opens no gap and no overlap between neighbours.
    EXPECT_EQ(l.tree.x + l.tree.w, l.splitterVert1.x);
    EXPECT_EQ(l.splitterVert1.x + l.splitterVert1.w, l.chooseBy.x);
    EXPECT_EQ(l.hotKeysList.x + l.hotKeysList.w, ScaleToDpi(kClientW, dpi));
    EXPECT_LE(l.params.labelCtrlAlt.x + l.params.labelCtrlAlt.w, l.params.checkShift.x);
    EXPECT_EQ(l.params.checkShift.x + l.params.checkShift.w, l.params.labelPlus.x);
}

TEST_P(ScaledLayout, SplitterLimitsScaleToo)
{
    const int dpi = GetParam();
    const int w = ScaleToDpi(kClientW, dpi), h = ScaleToDpi(kClientH, dpi);
    const PanelSizes start = DefaultPanelSizes(dpi);
    EXPECT_EQ(DragSplitter(SplitterId::Vert1, w + 50, 10, 0, w, h, start, 0.5, dpi).chooseByWidth,
        ScaleToDpi(kSplitterVert1MinSize, dpi));
    EXPECT_EQ(DragSplitter(SplitterId::Horz, 300, h, 0, w, h, start, 0.5, dpi).lowerHeight,
        ScaleToDpi(kSplitterHorzMinSize, dpi));
}

INSTANTIATE_TEST_SUITE_P(Dpi, ScaledLayout, ::testing::Values(96, 144, 192));

TEST(DisplayScale, ConversionRoundsToTheNearestPixelBothWays)
{
    EXPECT_EQ(ScaleToDpi(497, 144), 746); // 745.5
    EXPECT_EQ(ScaleToDpi(3, 120), 4); // 3.75
    EXPECT_EQ(ConvertDpi(746, 144, 96), 497); // 497.33
    EXPECT_EQ(ConvertDpi(-3, 96, 144), -5) << "half away from zero";
    EXPECT_EQ(ConvertDpi(100, 0, -1), 100) << "an unknown DPI is the base DPI";
    EXPECT_EQ(ConvertDpi(30000, 96, 480), 150000) << "no overflow";
}

} // namespace
} // namespace corvane
