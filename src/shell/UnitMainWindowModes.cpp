#include "shell/UnitMainWindowModes.h"

#include "shell/UnitSettings.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

constexpr ModePanel kModePanels[] = {ModePanel::NavButtons, ModePanel::ChooseBy, ModePanel::SplitterVert1,
    ModePanel::BottomRoot, ModePanel::SplitterHorz};

int ReadEditMode(IRegistry& reg)
{
    if (!SettingsValueExists(reg, RegRoot::CurrentUser, kProgramKey, kEditMode)) {
        SettingsWriteInt(reg, RegRoot::CurrentUser, kProgramKey, kEditMode, kModeFull);
        return kModeFull;
    }
    return ReadProgramFlag(reg, kEditMode) ? kModeFull : kModeCompact;
}

void LoadFullGeometry(IModeWindow& window, IRegistry& reg)
{
    window.SetModeItemCaption("Compact Mode");
    const auto value = ReadGeometryValue(reg, kMainFormSettings);
    if (!value)
        return;
    const auto record = DecodeMainFormGeometry(*value);
    if (!record)
        return;
    const auto g = UsableMainFormGeometry(*record, window.ScreenSize());
    if (!g)
        return;
    window.SetMinHeight(g->minHeight);
    window.SetMinWidth(g->minWidth);
    window.SetWidth(g->width);
    window.SetHeight(g->height);
    window.SetLowerPanelHeight(std::max(0, window.ClientHeight() - g->upperPanelHeight - kSplitterHorzHeight));
    window.SetChooseByWidth(g->chooseByWidth);
    window.SetMacrosListWidth(g->macrosListWidth);
}

void LoadCompactGeometry(IModeWindow& window, IRegistry& reg)
{
    window.SetModeItemCaption("Full Mode");
    window.SetMinHeight(kCompactMinSize);
    window.SetMinWidth(kCompactMinSize);
    TWindowSize size{window.TreeWidth(), window.TreeHeight()};
    if (const auto value = ReadGeometryValue(reg, kNavMainFormSettings))
        if (const auto record = DecodeNavMainFormSize(*value))
            if (const auto usable = UsableWindowSize(*record, window.ScreenSize()))
                size = *usable;
    window.SetWidth(size.width);
    window.SetHeight(size.height);
}

} // namespace

void LoadModeGeometry(TModeState& state, IModeWindow& window, IRegistry& reg)
{
    state.mode = ReadEditMode(reg);
    if (state.mode == kModeFull)
        LoadFullGeometry(window, reg);
    else
        LoadCompactGeometry(window, reg);
    ApplyMode(state, window);
}

void SaveModeGeometry(const TModeState& state, const IModeWindow& window, IRegistry& reg)
{
    if (state.mode == kModeFull) {
        const auto record = EncodeMainFormGeometry({window.MinHeight(), window.MinWidth(), window.Width(),
            window.Height(), window.UpperPanelHeight(), window.ChooseByWidth(), window.MacrosListWidth()});
        WriteGeometryValue(reg, kMainFormSettings, record.data(), record.size());
    } else {
        const auto record = EncodeNavMainFormSize({window.Width(), window.Height()});
        WriteGeometryValue(reg, kNavMainFormSettings, record.data(), record.size());
    }
}

void ApplyMode(const TModeState& state, IModeWindow& window)
{
    const bool full = state.mode == kModeFull;
    for (const auto panel : kModePanels)
        window.SetPanelVisible(panel, full);
    if (full)
        window.RelayoutFormattingToolbar();
}

void ToggleMode(TModeState& state, IModeWindow& window, IRegistry& reg)
{
    SaveModeGeometry(state, window, reg);
    SettingsWriteInt(
        reg, RegRoot::CurrentUser, kProgramKey, kEditMode, state.mode == kModeCompact ? kModeFull : kModeCompact);
    LoadModeGeometry(state, window, reg);
}

double ListRatio(int macrosListWidth, int chooseByWidth)
{
    return chooseByWidth > 0 ? static_cast<double>(macrosListWidth) / chooseByWidth : 0.0;
}

int MacrosListWidthFor(int chooseByWidth, double listRatio)
{
    return static_cast<int>(std::nearbyint(chooseByWidth * listRatio));
}

int MinWidthForChooseBy(int chooseByWidth) { return std::max(chooseByWidth + kTreeMinWidth, kFullMinWidth); }

int MinHeightForLowerPanel(int lowerPanelHeight, int windowHeight, int clientHeight)
{
    return lowerPanelHeight + (windowHeight - clientHeight) + kSplitterHorzMinSize + kSplitterHorzHeight;
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
