#pragma once
// Full and Compact mode of the main window, their stored geometry, and the
// splitter rules. The window itself is reached through IModeWindow.
#include "platform/Registry.h"
#include "shell/MainLayout.h"
#include "shell/UnitGeometryRecords.h"

#include <string>

namespace corvane {

// The five parts that Compact mode hides, in the order they are hidden/shown.
enum class ModePanel { NavButtons, ChooseBy, SplitterVert1, BottomRoot, SplitterHorz };

class IModeWindow {
public:
    virtual ~IModeWindow() = default;
    virtual int MinHeight() const = 0;
    virtual int MinWidth() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // The size the window has when neither minimised nor maximised; what is
    // stored.
    virtual TWindowSize RestoredSize() const = 0;
    // Window height minus client height at `dpi`: the caption, menu bar and
    // borders as Windows draws them at that scale. Asked for at the window's
    // own DPI, which need not be the system's.
    virtual int FrameHeightAtDpi(int dpi) const = 0;
    virtual int ClientHeight() const = 0;
    // The DPI the window is laid out at.
    virtual int Dpi() const = 0;
    virtual void SetMinHeight(int h) = 0;
    virtual void SetMinWidth(int w) = 0;
    virtual void SetWidth(int w) = 0;
    virtual void SetHeight(int h) = 0;

    virtual int LowerPanelHeight() const = 0;
    virtual void SetLowerPanelHeight(int h) = 0;
    virtual int ChooseByWidth() const = 0;
    virtual void SetChooseByWidth(int w) = 0;
    virtual int MacrosListWidth() const = 0;
    virtual void SetMacrosListWidth(int w) = 0;
    virtual int TreeWidth() const = 0;
    virtual int TreeHeight() const = 0;

    virtual void SetPanelVisible(ModePanel panel, bool visible) = 0;
    // Hides and shows the formatting toolbar so that it lays its buttons out anew.
    virtual void RelayoutFormattingToolbar() = 0;
    virtual void SetModeItemCaption(const std::string& caption) = 0;
    // Size of the screen's work area, against which stored sizes are checked.
    virtual TWindowSize ScreenSize() const = 0;
    // Centres the window on the screen's work area at its actual size.
    virtual void CentreOnScreen() = 0;
};

inline constexpr int kModeCompact = 0;
inline constexpr int kModeFull = 1;

struct TModeState {
    int mode = kModeFull; // set only by LoadModeGeometry
    double listRatio = 0.0; // macro column width / right-hand panel width
};

// A stored size that is applied is applied centred on the screen, converted
// from the DPI it was taken at to the window's.
void LoadModeGeometry(TModeState& state, IModeWindow& window, IRegistry& reg);
// Stores the restored size and the window's DPI, with the upper panel as it is in that size; a
// geometry no window could be opened with again (a minimised window's) is
// not stored, and the earlier record stays. False when the registry refused
// the write.
[[nodiscard]] bool SaveModeGeometry(const TModeState& state, const IModeWindow& window, IRegistry& reg);
void ApplyMode(const TModeState& state, IModeWindow& window);
// False when the geometry or the new mode could not be stored; the window
// then shows the mode the registry holds.
[[nodiscard]] bool ToggleMode(TModeState& state, IModeWindow& window, IRegistry& reg);

// Splitter rules.
int MinWidthForChooseBy(int chooseByWidth, int dpi = kBaseDpi);
int MinHeightForLowerPanel(int lowerPanelHeight, int windowHeight, int clientHeight, int dpi = kBaseDpi);

void RecordListRatio(TModeState& state, const IModeWindow& window); // also before SplitterVert1 moves
void SplitterVert1Moved(const TModeState& state, IModeWindow& window);
void SplitterHorzMoved(IModeWindow& window);

} // namespace corvane
