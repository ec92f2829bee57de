#pragma once
// Where every control of the main window goes, computed from the client size
// and the user-adjustable panel sizes, and how the splitters change those
// sizes. The window only moves its controls to these rectangles.

namespace corvane {

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
MainLayout ComputeMainLayout(int clientWidth, int clientHeight, const PanelSizes& sizes, bool compact);

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
    const PanelSizes& sizes, double listRatio);

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
