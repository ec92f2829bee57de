#include "shell/UnitMainWindowModes.h"

#include "shell/UnitSettings.h"

#include <algorithm>

namespace corvane {

namespace {

constexpr ModePanel kModePanels[] = {ModePanel::NavButtons, ModePanel::ChooseBy, ModePanel::SplitterVert1,
    ModePanel::BottomRoot, ModePanel::SplitterHorz};

int ReadEditMode(IRegistry& reg)
{
    if (!SettingsValueExists(reg, RegRoot::CurrentUser, kProgramKey, kEditMode)) {
        // An unwritable key has been reported by the start-up's defaults.
        (void)SettingsWriteInt(reg, RegRoot::CurrentUser, kProgramKey, kEditMode, kModeFull);
        return kModeFull;
    }
    return ReadProgramFlag(reg, kEditMode) ? kModeFull : kModeCompact;
}

// True when a stored geometry was applied.
bool LoadFullGeometry(IModeWindow& window, IRegistry& reg)
{
    window.SetModeItemCaption("Compact Mode");
    const auto value = ReadGeometryValue(reg, kMainFormSettings);
    if (!value)
        return false;
    const auto record = DecodeMainFormGeometry(*value);
    if (!record)
        return false;
    const auto g = UsableMainFormGeometry(*record, window.ScreenSize());
    if (!g)
        return false;
    window.SetMinHeight(g->minHeight);
    window.SetMinWidth(g->minWidth);
    window.SetWidth(g->width);
    window.SetHeight(g->height);
    window.SetLowerPanelHeight(std::max(0, window.ClientHeight() - g->upperPanelHeight - kSplitterThickness));
    window.SetChooseByWidth(g->chooseByWidth);
    window.SetMacrosListWidth(g->macrosListWidth);
    return true;
}

constexpr TWindowSize kCompactMinimum{kCompactMinSize, kCompactMinSize};

void LoadCompactGeometry(IModeWindow& window, IRegistry& reg)
{
    window.SetModeItemCaption("Full Mode");
    window.SetMinHeight(kCompactMinSize);
    window.SetMinWidth(kCompactMinSize);
    TWindowSize size{window.TreeWidth(), window.TreeHeight()};
    if (const auto value = ReadGeometryValue(reg, kNavMainFormSettings))
        if (const auto record = DecodeNavMainFormSize(*value))
            if (const auto usable = UsableWindowSize(*record, window.ScreenSize(), kCompactMinimum))
                size = *usable;
    window.SetWidth(size.width);
    window.SetHeight(size.height);
}

} // namespace

void LoadModeGeometry(TModeState& state, IModeWindow& window, IRegistry& reg)
{
    state.mode = ReadEditMode(reg);
    bool sized = true; // Compact mode always takes a size
    if (state.mode == kModeFull)
        sized = LoadFullGeometry(window, reg);
    else
        LoadCompactGeometry(window, reg);
    if (sized)
        window.CentreOnScreen();
    ApplyMode(state, window);
}

bool SaveModeGeometry(const TModeState& state, const IModeWindow& window, IRegistry& reg)
{
    const TWindowSize size = window.RestoredSize();
    if (state.mode == kModeFull) {
        const TMainFormGeometry g{window.MinHeight(), window.MinWidth(), size.width, size.height,
            window.UpperPanelHeight(), window.ChooseByWidth(), window.MacrosListWidth()};
        if (!UsableMainFormGeometry(g, {}))
            return true; // nothing worth keeping; the earlier record serves
        const auto record = EncodeMainFormGeometry(g);
        return WriteGeometryValue(reg, kMainFormSettings, record.data(), record.size());
    }
    if (!UsableWindowSize(size, {}, kCompactMinimum))
        return true;
    const auto record = EncodeNavMainFormSize(size);
    return WriteGeometryValue(reg, kNavMainFormSettings, record.data(), record.size());
}

void ApplyMode(const TModeState& state, IModeWindow& window)
{
    const bool full = state.mode == kModeFull;
    for (const auto panel : kModePanels)
        window.SetPanelVisible(panel, full);
    if (full)
        window.RelayoutFormattingToolbar();
}

bool ToggleMode(TModeState& state, IModeWindow& window, IRegistry& reg)
{
    const bool saved = SaveModeGeometry(state, window, reg);
    const bool written = SettingsWriteInt(
        reg, RegRoot::CurrentUser, kProgramKey, kEditMode, state.mode == kModeCompact ? kModeFull : kModeCompact);
    LoadModeGeometry(state, window, reg);
    return saved && written;
}

int MinWidthForChooseBy(int chooseByWidth) { return std::max(chooseByWidth + kTreeMinWidth, kFullMinWidth); }

int MinHeightForLowerPanel(int lowerPanelHeight, int windowHeight, int clientHeight)
{
    return lowerPanelHeight + (windowHeight - clientHeight) + kSplitterHorzMinSize + kSplitterThickness;
}

void RecordListRatio(TModeState& state, const IModeWindow& window)
{
    state.listRatio = ListRatio(window.MacrosListWidth(), window.ChooseByWidth());
}

void SplitterVert1Moved(const TModeState& state, IModeWindow& window)
{
    const int chooseBy = window.ChooseByWidth();
    window.SetMacrosListWidth(MacrosListWidthFor(chooseBy, state.listRatio));
    window.SetMinWidth(MinWidthForChooseBy(chooseBy));
}

void SplitterHorzMoved(IModeWindow& window)
{
    window.SetMinHeight(MinHeightForLowerPanel(window.LowerPanelHeight(), window.Height(), window.ClientHeight()));
}

} // namespace corvane
