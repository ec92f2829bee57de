#pragma once
// Where every control of the main window goes, computed from the client size
// and the user-adjustable panel sizes. The window only moves its controls to
// these rectangles.

namespace corvane {

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
};

struct MainLayout {
    // Upper panel.
    LayoutRect navButtons; // PanelNavButs
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
    LayoutRect replyParams; // PanelReplyParams
    LayoutRect toolbar; // ToolBarEditor
    LayoutRect editor; // Editor
    int upperHeight = 0; // PanelTopRoot's height
};

inline constexpr int kButtonColumnWidth = 40;
inline constexpr int kSplitterThickness = 3;
inline constexpr int kCaptionHeight = 18;
inline constexpr int kReplyParamsHeight = 32;
inline constexpr int kToolbarHeight = 28;
inline constexpr int kNavButtonSize = 32;

// Full mode lays out every panel; compact mode gives the whole client area to
// the tree and leaves every other rectangle empty.
MainLayout ComputeMainLayout(int clientWidth, int clientHeight, const PanelSizes& sizes, bool compact);

} // namespace corvane
