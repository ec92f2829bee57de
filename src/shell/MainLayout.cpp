#include "shell/MainLayout.h"

#include <algorithm>

namespace corvane {

namespace {

// A list column: caption above its list box.
void PlaceColumn(const LayoutRect& column, LayoutRect& caption, LayoutRect& list)
{
    caption = {column.x, column.y, column.w, kCaptionHeight};
    list = {column.x, column.y + kCaptionHeight, column.w, std::max(0, column.h - kCaptionHeight)};
}

void PlaceUpperPanel(MainLayout& l, int width, int upperHeight, const PanelSizes& s)
{
    const int chooseBy = std::clamp(s.chooseByWidth, 0, std::max(0, width - kButtonColumnWidth - kSplitterThickness));
    l.navButtons = {0, 0, kButtonColumnWidth, upperHeight};
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

void PlaceLowerPanel(MainLayout& l, int width, int top, int height)
{
    l.lowerPanel = {0, top, width, height};
    l.bottomBar = {0, top, kButtonColumnWidth, height};
    const int editorX = kButtonColumnWidth;
    const int editorW = std::max(0, width - editorX);
    l.replyParams = {editorX, top, editorW, std::min(kReplyParamsHeight, height)};
    const int toolbarTop = top + l.replyParams.h;
    l.toolbar = {editorX, toolbarTop, editorW, std::clamp(height - l.replyParams.h, 0, kToolbarHeight)};
    const int editorTop = toolbarTop + l.toolbar.h;
    l.editor = {editorX, editorTop, editorW, std::max(0, top + height - editorTop)};
}

} // namespace

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

} // namespace corvane
