#pragma once
// Full and Compact mode, the stored geometry, the panel sizes and the
// splitters between the panels: where every control goes is decided here,
// and the window moves its parts there.
#include <windows.h>

#include <functional>
#include <memory>

#include "shell/MainLayout.h"
#include "shell/UnitMainWindowModes.h"

namespace corvane {
class IRegistry;
}

namespace corvane::win32 {

class WindowModes {
public:
    struct Window {
        HWND handle;
        // Moves every control to the current layout.
        std::function<void()> relayout;
        // The same, with the formatting toolbar sized to its buttons anew.
        std::function<void()> relayoutToolbar;
    };

    explicit WindowModes(IRegistry& registry);
    ~WindowModes();
    WindowModes(const WindowModes&) = delete;
    WindowModes& operator=(const WindowModes&) = delete;

    void Attach(const Window& window);
    // The stored mode and sizes, applied to the window.
    void Load();
    [[nodiscard]] bool Save();
    [[nodiscard]] bool Toggle();

    // The layout for the window's client area as it is now; its splitter is
    // repainted.
    const MainLayout& ComputeLayout();
    const MainLayout& Layout() const { return layout_; }
    bool Compact() const { return compact_; }
    void PaintSplitters();

    bool SetSplitterCursor();
    void BeginSplitterDrag(int x, int y);
    bool DraggingSplitter() const { return dragging_ != SplitterId::None; }
    void DragSplitter(int x, int y);
    void EndSplitterDrag();
    void OnMinMaxInfo(MINMAXINFO& info) const;
    // The window moved to a display of another DPI: the panel sizes and the
    // limits keep their proportions.
    void ChangeDpi(int dpi);
    int Dpi() const { return dpi_; }

private:
    class Adapter;
    friend class Adapter;
    void SetModeItemCaption(const std::string& caption);

    IRegistry& registry_;
    Window window_{};
    bool compact_ = false;
    PanelSizes panelSizes_;
    MainLayout layout_;
    TModeState modeState_;
    int dpi_ = kBaseDpi;
    int minWidth_ = kFullMinWidth;
    int minHeight_ = kFullMinHeight;
    SplitterId dragging_ = SplitterId::None;
    int dragOffset_ = 0;
    std::unique_ptr<Adapter> adapter_;
};

} // namespace corvane::win32
