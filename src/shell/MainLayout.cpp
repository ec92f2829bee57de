#include "shell/MainLayout.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

// Space for the delivery buttons at the foot of the bottom bar, with margins.
constexpr int kButtonMargin = 2;
constexpr int kButtonCell = kNavButtonSize + 4;
constexpr int kParamsTop = 5;
constexpr int kParamsRowHeight = 22;
constexpr int kComboListHeight = 300;

// A list column: caption above its list box.
void PlaceColumn(const LayoutRect& column, LayoutRect& caption, LayoutRect& list)
{
    caption = {column.x, column.y, column.w, kCaptionHeight};
    list = {column.x, column.y + kCaptionHeight, column.w, std::max(0, column.h - kCaptionHeight)};
}

LayoutRect ButtonBar(const LayoutRect& column, int top, int buttons)
{
    return {column.x + kButtonMargin, top, kButtonCell, buttons * kButtonCell};
}

void PlaceUpperPanel(MainLayout& l, int width, int upperHeight, const PanelSizes& s)
{
    const int chooseBy = std::clamp(s.chooseByWidth, 0, std::max(0, width - kButtonColumnWidth - kSplitterThickness));
    l.navButtons = {0, 0, kButtonColumnWidth, upperHeight};
    l.navButtonBar = ButtonBar(l.navButtons, kButtonMargin, 3);
    l.chooseBy = {width - chooseBy, 0, chooseBy, upperHeight};
    l.splitterVert1 = {l.chooseBy.x - kSplitterThickness, 0, kSplitterThickness, upperHeight};
    l.tree = {kButtonColumnWidth, 0, std::max(0, l.splitterVert1.x - kButtonColumnWidth), upperHeight};

    const int macros = std::clamp(s.macrosWidth, 0, std::max(0, chooseBy - kSplitterThickness));
    const LayoutRect macrosColumn{l.chooseBy.x, 0, macros, upperHeight};
    l.splitterVert2 = {macrosColumn.x + macros, 0, kSplitterThickness, upperHeight};
    const int hotKeysX = l.splitterVert2.x + kSplitterThickness;
    const LayoutRect hotKeysColumn{hotKeysX, 0, std::max(0, width - hotKeysX), upperHeight};
    PlaceColumn(macrosColumn, l.macrosCaption, l.macrosList);
    PlaceColumn(hotKeysColumn, l.hotKeysCaption, l.hotKeysList);
}

ReplyParamsLayout PlaceReplyParams(const LayoutRect& p)
{
    auto at = [&](int x, int w) { return LayoutRect{p.x + x, p.y + kParamsTop, w, kParamsRowHeight}; };
    ReplyParamsLayout r;
    r.labelName = at(4, 38);
    r.editName = at(44, 150);
    r.labelMacro = at(202, 40);
    r.editMacro = at(244, 110);
    r.checkHotKey = at(364, 68);
    r.labelCtrlAlt = at(434, 88);
    r.checkShift = at(522, 64);
    r.labelPlus = at(586, 12);
    r.comboKey = {p.x + 600, p.y + kParamsTop, 48, kComboListHeight};
    return r;
}

void PlaceLowerPanel(MainLayout& l, int width, int top, int height)
{
    l.lowerPanel = {0, top, width, height};
    l.bottomBar = {0, top, kButtonColumnWidth, height};
    l.saveButtonBar = ButtonBar(l.bottomBar, top + kButtonMargin, 1);
    l.deliveryButtonBar = ButtonBar(l.bottomBar, top + height - 2 * kButtonCell - kButtonMargin, 2);
    const int editorX = kButtonColumnWidth;
    const int editorW = std::max(0, width - editorX);
    l.replyParams = {editorX, top, editorW, std::min(kReplyParamsHeight, height)};
    l.params = PlaceReplyParams(l.replyParams);
    const int toolbarTop = top + l.replyParams.h;
    l.toolbar = {editorX, toolbarTop, editorW, std::clamp(height - l.replyParams.h, 0, kToolbarHeight)};
    const int editorTop = toolbarTop + l.toolbar.h;
    l.editor = {editorX, editorTop, editorW, std::max(0, top + height - editorTop)};
}

// The largest value within [low, high], or low when the range is empty.
int ClampToRange(int value, int low, int high) { return std::clamp(value, low, std::max(low, high)); }

} // namespace

double ListRatio(int macrosListWidth, int chooseByWidth)
{
    return chooseByWidth > 0 ? static_cast<double>(macrosListWidth) / chooseByWidth : 0.0;
}

int MacrosListWidthFor(int chooseByWidth, double listRatio)
{
    return static_cast<int>(std::nearbyint(chooseByWidth * listRatio));
}

MainLayout ComputeMainLayout(int clientWidth, int clientHeight, const PanelSizes& sizes, bool compact)
{
    MainLayout l;
    const int width = std::max(0, clientWidth);
    const int height = std::max(0, clientHeight);
    if (compact) {
        l.tree = {0, 0, width, height};
        l.upperHeight = height;
        return l;
    }
    const int lower = std::clamp(sizes.lowerHeight, 0, std::max(0, height - kSplitterThickness));
    l.upperHeight = std::max(0, height - lower - kSplitterThickness);
    PlaceUpperPanel(l, width, l.upperHeight, sizes);
    l.splitterHorz = {0, l.upperHeight, width, kSplitterThickness};
    PlaceLowerPanel(l, width, l.upperHeight + kSplitterThickness, lower);
    return l;
}

SplitterId SplitterAt(const MainLayout& layout, bool compact, int x, int y)
{
    if (compact)
        return SplitterId::None;
    if (layout.splitterVert1.Contains(x, y))
        return SplitterId::Vert1;
    if (layout.splitterVert2.Contains(x, y))
        return SplitterId::Vert2;
    if (layout.splitterHorz.Contains(x, y))
        return SplitterId::Horz;
    return SplitterId::None;
}

int SplitterGrabOffset(const MainLayout& layout, SplitterId splitter, int x, int y)
{
    switch (splitter) {
    case SplitterId::Vert1:
        return x - layout.splitterVert1.x;
    case SplitterId::Vert2:
        return x - layout.splitterVert2.x;
    case SplitterId::Horz:
        return y - layout.splitterHorz.y;
    case SplitterId::None:
        break;
    }
    return 0;
}

PanelSizes DragSplitter(SplitterId splitter, int x, int y, int grabOffset, int clientWidth, int clientHeight,
    const PanelSizes& sizes, double listRatio)
{
    PanelSizes s = sizes;
    switch (splitter) {
    case SplitterId::Vert1: {
        // Both sides keep the splitter's minimum: the lists and the tree.
        const int widest = clientWidth - kButtonColumnWidth - kSplitterThickness - kSplitterVert1MinSize;
        const int wanted = clientWidth - (x - grabOffset) - kSplitterThickness;
        s.chooseByWidth = ClampToRange(wanted, kSplitterVert1MinSize, widest);
        s.macrosWidth = MacrosListWidthFor(s.chooseByWidth, listRatio);
        break;
    }
    case SplitterId::Vert2: {
        const int widest = s.chooseByWidth - kSplitterThickness - kSplitterVert2MinSize;
        const int chooseByX = clientWidth - s.chooseByWidth;
        s.macrosWidth = ClampToRange(x - grabOffset - chooseByX, kSplitterVert2MinSize, widest);
        break;
    }
    case SplitterId::Horz: {
        const int upper = std::max(kSplitterHorzMinSize, y - grabOffset);
        s.lowerHeight = std::max(kSplitterHorzMinSize, clientHeight - upper - kSplitterThickness);
        break;
    }
    case SplitterId::None:
        break;
    }
    return s;
}

WindowOrigin CentredOrigin(const ScreenArea& area, int width, int height)
{
    return {area.x + std::max(0, (area.w - width) / 2), area.y + std::max(0, (area.h - height) / 2)};
}

} // namespace corvane
