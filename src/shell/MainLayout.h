#pragma once
// Where every control of the main window goes, computed from the client size
// and the user-adjustable panel sizes, and how the splitters change those
// sizes. The window only moves its controls to these rectangles.

namespace corvane {

// Every size below is in units of a 96-DPI display; MetricsAt turns them
// into a window's pixels at its DPI, and nothing else scales them.
inline constexpr int kBaseDpi = 96;

// The window's sizes.
inline constexpr int kBuiltInWidth = 740;
inline constexpr int kBuiltInHeight = 497;
inline constexpr int kFullMinWidth = 740;
inline constexpr int kFullMinHeight = 450;
inline constexpr int kCompactMinSize = 140; // width and height alike
inline constexpr int kTreeMinWidth = 150; // what SplitterVert1 leaves the tree at least

// The splitters: one thickness, and the least each leaves the panels it
// divides.
inline constexpr int kSplitterThickness = 3;
inline constexpr int kSplitterHorzMinSize = 114;
inline constexpr int kSplitterVert1MinSize = 170;
inline constexpr int kSplitterVert2MinSize = 15;

// Fixed parts of the layout.
inline constexpr int kButtonColumnWidth = 40;
inline constexpr int kNavButtonSize = 32;
inline constexpr int kCaptionHeight = 18;
inline constexpr int kReplyParamsHeight = 32;
inline constexpr int kToolbarHeight = 28;
inline constexpr int kTreeIndent = 19;

// A length in 96-DPI units at `dpi`, rounded to the nearest pixel.
int ScaleToDpi(int units, int dpi);
// A pixel length taken at `fromDpi` at `toDpi`; a DPI of zero or less counts
// as the base DPI.
int ConvertDpi(int pixels, int fromDpi, int toDpi);

// The layout's sizes in pixels at one DPI.
struct LayoutMetrics {
    int dpi = kBaseDpi;
    int builtInWidth, builtInHeight, fullMinWidth, fullMinHeight, compactMinSize, treeMinWidth;
    int splitterThickness, splitterHorzMinSize, splitterVert1MinSize, splitterVert2MinSize;
    int buttonColumnWidth, navButtonSize, captionHeight, replyParamsHeight, toolbarHeight, treeIndent;
    int buttonMargin, buttonCell, paramsTop, paramsRowHeight, comboListHeight;
    // Any other length of the layout, in 96-DPI units.
    int operator()(int units) const { return ScaleToDpi(units, dpi); }
};
LayoutMetrics MetricsAt(int dpi);

struct LayoutRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const LayoutRect&) const = default;
    bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

// Sizes the user changes with the splitters; they survive mode changes.
struct PanelSizes {
    int lowerHeight = 215; // PanelBottomRoot
    int chooseByWidth = 260; // PanelChooseBy
    int macrosWidth = 119; // PanelMacrosList
    bool operator==(const PanelSizes&) const = default;
};
// Panel sizes taken at `fromDpi`, in pixels at `toDpi`.
PanelSizes PanelSizesAtDpi(const PanelSizes& sizes, int fromDpi, int toDpi);
// The sizes above at `dpi`: what a window without stored geometry starts with.
inline PanelSizes DefaultPanelSizes(int dpi) { return PanelSizesAtDpi(PanelSizes{}, kBaseDpi, dpi); }

// The reply parameter row: "Name:", EditName, "Macro:", EditMacro, "Hot Key:",
// "<CTRL>+<ALT>+", "<SHIFT>", "+", ComboBoxKey (its height includes the list).
struct ReplyParamsLayout {
    LayoutRect labelName, editName, labelMacro, editMacro, checkHotKey, labelCtrlAlt, checkShift, labelPlus, comboKey;
};

struct MainLayout {
    // Upper panel.
    LayoutRect navButtons; // PanelNavButs
    LayoutRect navButtonBar; // its three buttons
    LayoutRect tree; // Navigation
    LayoutRect splitterVert1;
    LayoutRect chooseBy; // PanelChooseBy
    LayoutRect macrosCaption, macrosList;
    LayoutRect splitterVert2;
    LayoutRect hotKeysCaption, hotKeysList;
    // Horizontal splitter and lower panel.
    LayoutRect splitterHorz;
    LayoutRect lowerPanel; // PanelBottomRoot
    LayoutRect bottomBar; // PanelBottomBar
    LayoutRect saveButtonBar; // its top: Save All
    LayoutRect deliveryButtonBar; // its bottom: the two delivery buttons
    LayoutRect replyParams; // PanelReplyParams
    ReplyParamsLayout params;
    LayoutRect toolbar; // ToolBarEditor
    LayoutRect editor; // Editor
    int upperHeight = 0; // PanelTopRoot's height
};

// Full mode lays out every panel; compact mode gives the whole client area to
// the tree and leaves every other rectangle empty.
// The panel sizes are pixels; every fixed size is scaled to `dpi`.
MainLayout ComputeMainLayout(
    int clientWidth, int clientHeight, const PanelSizes& sizes, bool compact, int dpi = kBaseDpi);

// The macro column's share of the right-hand panel, and the column's width
// for a panel width at that share (rounded, ties to even).
double ListRatio(int macrosListWidth, int chooseByWidth);
int MacrosListWidthFor(int chooseByWidth, double listRatio);

enum class SplitterId { None, Vert1, Vert2, Horz };

// The splitter under a client point; none in compact mode.
SplitterId SplitterAt(const MainLayout& layout, bool compact, int x, int y);
// How far from the splitter's leading edge the drag grabbed it.
int SplitterGrabOffset(const MainLayout& layout, SplitterId splitter, int x, int y);

// The panel sizes while a splitter is dragged to a client point, within the
// splitters' limits. SplitterVert1 keeps the macro column's proportion
// `listRatio` of the right-hand panel.
PanelSizes DragSplitter(SplitterId splitter, int x, int y, int grabOffset, int clientWidth, int clientHeight,
    const PanelSizes& sizes, double listRatio, int dpi = kBaseDpi);

// Top-left corner that centres a window of the given size on a screen area;
// a window larger than the area starts at the area's corner.
struct ScreenArea {
    int x = 0, y = 0, w = 0, h = 0;
};
struct WindowOrigin {
    int x = 0, y = 0;
    bool operator==(const WindowOrigin&) const = default;
};
WindowOrigin CentredOrigin(const ScreenArea& area, int width, int height);

} // namespace corvane
