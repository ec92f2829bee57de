#include "shell/MainLayout.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

// Spaces for the buttons and the reply parameter row, in 96-DPI units.
constexpr int kButtonMargin = 2;
constexpr int kParamsTop = 5;
constexpr int kParamsRowHeight = 22;
constexpr int kComboListHeight = 300;

// A list column: caption above its list box.
void PlaceColumn(const LayoutMetrics& m, const LayoutRect& column, LayoutRect& caption, LayoutRect& list)
{
    caption = {column.x, column.y, column.w, m.captionHeight};
    list = {column.x, column.y + m.captionHeight, column.w, std::max(0, column.h - m.captionHeight)};
}

LayoutRect ButtonBar(const LayoutMetrics& m, const LayoutRect& column, int top, int buttons)
{
    return {column.x + m.buttonMargin, top, m.buttonCell, buttons * m.buttonCell};
}

void PlaceUpperPanel(const LayoutMetrics& m, MainLayout& l, int width, int upperHeight, const PanelSizes& s)
{
    const int splitter = m.splitterThickness;
    const int chooseBy = std::clamp(s.chooseByWidth, 0, std::max(0, width - m.buttonColumnWidth - splitter));
    l.navButtons = {0, 0, m.buttonColumnWidth, upperHeight};
    l.navButtonBar = ButtonBar(m, l.navButtons, m.buttonMargin, 3);
    l.chooseBy = {width - chooseBy, 0, chooseBy, upperHeight};
    l.splitterVert1 = {l.chooseBy.x - splitter, 0, splitter, upperHeight};
    l.tree = {m.buttonColumnWidth, 0, std::max(0, l.splitterVert1.x - m.buttonColumnWidth), upperHeight};

    const int macros = std::clamp(s.macrosWidth, 0, std::max(0, chooseBy - splitter));
    const LayoutRect macrosColumn{l.chooseBy.x, 0, macros, upperHeight};
    l.splitterVert2 = {macrosColumn.x + macros, 0, splitter, upperHeight};
    const int hotKeysX = l.splitterVert2.x + splitter;
    const LayoutRect hotKeysColumn{hotKeysX, 0, std::max(0, width - hotKeysX), upperHeight};
    PlaceColumn(m, macrosColumn, l.macrosCaption, l.macrosList);
    PlaceColumn(m, hotKeysColumn, l.hotKeysCaption, l.hotKeysList);
}

ReplyParamsLayout PlaceReplyParams(const LayoutMetrics& m, const LayoutRect& p)
{
    // Each control from its left and right edge, so that rounding leaves no gaps.
    auto at = [&](int left, int right) {
        return LayoutRect{p.x + m(left), p.y + m.paramsTop, m(right) - m(left), m.paramsRowHeight};
    };
    ReplyParamsLayout r;
    r.labelName = at(4, 42);
    r.editName = at(44, 194);
    r.labelMacro = at(202, 242);
    r.editMacro = at(244, 354);
    // Room beyond each text's width at 96 DPI: fonts do not grow exactly
    // with the scale.
    r.checkHotKey = at(362, 432);
    r.labelCtrlAlt = at(434, 530);
    r.checkShift = at(532, 600);
    r.labelPlus = at(600, 612);
    r.comboKey = at(614, 662);
    r.comboKey.h = m.comboListHeight;
    return r;
}

void PlaceLowerPanel(const LayoutMetrics& m, MainLayout& l, int width, int top, int height)
{
    l.lowerPanel = {0, top, width, height};
    l.bottomBar = {0, top, m.buttonColumnWidth, height};
    l.saveButtonBar = ButtonBar(m, l.bottomBar, top + m.buttonMargin, 1);
    l.deliveryButtonBar = ButtonBar(m, l.bottomBar, top + height - 2 * m.buttonCell - m.buttonMargin, 2);
    const int editorX = m.buttonColumnWidth;
    const int editorW = std::max(0, width - editorX);
    l.replyParams = {editorX, top, editorW, std::min(m.replyParamsHeight, height)};
    l.params = PlaceReplyParams(m, l.replyParams);
    const int toolbarTop = top + l.replyParams.h;
    l.toolbar = {editorX, toolbarTop, editorW, std::clamp(height - l.replyParams.h, 0, m.toolbarHeight)};
    const int editorTop = toolbarTop + l.toolbar.h;
    l.editor = {editorX, editorTop, editorW, std::max(0, top + height - editorTop)};
}

// The largest value within [low, high], or low when the range is empty.
int ClampToRange(int value, int low, int high) { return std::clamp(value, low, std::max(low, high)); }

} // namespace

int ScaleToDpi(int units, int dpi) { return ConvertDpi(units, kBaseDpi, dpi); }

int ConvertDpi(int pixels, int fromDpi, int toDpi)
{
    const long long from = fromDpi > 0 ? fromDpi : kBaseDpi;
    const long long to = toDpi > 0 ? toDpi : kBaseDpi;
    const long long scaled = pixels * to;
    // Rounded half away from zero, as MulDiv does.
    return static_cast<int>(scaled >= 0 ? (scaled + from / 2) / from : (scaled - from / 2) / from);
}

LayoutMetrics MetricsAt(int dpi)
{
    LayoutMetrics m;
    m.dpi = dpi > 0 ? dpi : kBaseDpi;
    m.builtInWidth = m(kBuiltInWidth);
    m.builtInHeight = m(kBuiltInHeight);
    m.fullMinWidth = m(kFullMinWidth);
    m.fullMinHeight = m(kFullMinHeight);
    m.compactMinSize = m(kCompactMinSize);
    m.treeMinWidth = m(kTreeMinWidth);
    m.splitterThickness = m(kSplitterThickness);
    m.splitterHorzMinSize = m(kSplitterHorzMinSize);
    m.splitterVert1MinSize = m(kSplitterVert1MinSize);
    m.splitterVert2MinSize = m(kSplitterVert2MinSize);
    m.buttonColumnWidth = m(kButtonColumnWidth);
    m.navButtonSize = m(kNavButtonSize);
    m.captionHeight = m(kCaptionHeight);
    m.replyParamsHeight = m(kReplyParamsHeight);
    m.toolbarHeight = m(kToolbarHeight);
    m.treeIndent = m(kTreeIndent);
    m.buttonMargin = m(kButtonMargin);
    m.buttonCell = m.navButtonSize + m(4);
    m.paramsTop = m(kParamsTop);
    m.paramsRowHeight = m(kParamsRowHeight);
    m.comboListHeight = m(kComboListHeight);
    return m;
}

PanelSizes PanelSizesAtDpi(const PanelSizes& s, int fromDpi, int toDpi)
{
    auto at = [&](int pixels) { return ConvertDpi(pixels, fromDpi, toDpi); };
    return {at(s.lowerHeight), at(s.chooseByWidth), at(s.macrosWidth)};
}

double ListRatio(int macrosListWidth, int chooseByWidth)
{
    return chooseByWidth > 0 ? static_cast<double>(macrosListWidth) / chooseByWidth : 0.0;
}

int MacrosListWidthFor(int chooseByWidth, double listRatio)
{
    return static_cast<int>(std::nearbyint(chooseByWidth * listRatio));
}

MainLayout ComputeMainLayout(int clientWidth, int clientHeight, const PanelSizes& sizes, bool compact, int dpi)
{
    const LayoutMetrics m = MetricsAt(dpi);
    MainLayout l;
    const int width = std::max(0, clientWidth);
    const int height = std::max(0, clientHeight);
    if (compact) {
        l.tree = {0, 0, width, height};
        l.upperHeight = height;
        return l;
    }
    const int lower = std::clamp(sizes.lowerHeight, 0, std::max(0, height - m.splitterThickness));
    l.upperHeight = std::max(0, height - lower - m.splitterThickness);
    PlaceUpperPanel(m, l, width, l.upperHeight, sizes);
    l.splitterHorz = {0, l.upperHeight, width, m.splitterThickness};
    PlaceLowerPanel(m, l, width, l.upperHeight + m.splitterThickness, lower);
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
    const PanelSizes& sizes, double listRatio, int dpi)
{
    const LayoutMetrics m = MetricsAt(dpi);
    const int thickness = m.splitterThickness;
    PanelSizes s = sizes;
    switch (splitter) {
    case SplitterId::Vert1: {
        // Both sides keep the splitter's minimum: the lists and the tree.
        const int widest = clientWidth - m.buttonColumnWidth - thickness - m.splitterVert1MinSize;
        const int wanted = clientWidth - (x - grabOffset) - thickness;
        s.chooseByWidth = ClampToRange(wanted, m.splitterVert1MinSize, widest);
        s.macrosWidth = MacrosListWidthFor(s.chooseByWidth, listRatio);
        break;
    }
    case SplitterId::Vert2: {
        const int widest = s.chooseByWidth - thickness - m.splitterVert2MinSize;
        const int chooseByX = clientWidth - s.chooseByWidth;
        s.macrosWidth = ClampToRange(x - grabOffset - chooseByX, m.splitterVert2MinSize, widest);
        break;
    }
    case SplitterId::Horz: {
        const int upper = std::max(m.splitterHorzMinSize, y - grabOffset);
        s.lowerHeight = std::max(m.splitterHorzMinSize, clientHeight - upper - thickness);
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
