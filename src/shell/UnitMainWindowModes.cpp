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
    const int dpi = window.Dpi();
    const auto taken = MainFormGeometryAtDpi(*record, ReadGeometryDpi(reg, kMainFormDpi), dpi);
    const auto g = UsableMainFormGeometry(taken, window.ScreenSize(), dpi);
    if (!g)
        return false;
    window.SetMinHeight(g->minHeight);
    window.SetMinWidth(g->minWidth);
    window.SetWidth(g->width);
    window.SetHeight(g->height);
    const int splitter = MetricsAt(dpi).splitterThickness;
    window.SetLowerPanelHeight(std::max(0, window.ClientHeight() - g->upperPanelHeight - splitter));
    window.SetChooseByWidth(g->chooseByWidth);
    window.SetMacrosListWidth(g->macrosListWidth);
    return true;
}

TWindowSize CompactMinimum(int dpi)
{
    const int side = MetricsAt(dpi).compactMinSize;
    return {side, side};
}

void LoadCompactGeometry(IModeWindow& window, IRegistry& reg)
{
    window.SetModeItemCaption("Full Mode");
    const int dpi = window.Dpi();
    const TWindowSize minimum = CompactMinimum(dpi);
    window.SetMinHeight(minimum.height);
    window.SetMinWidth(minimum.width);
    TWindowSize size{window.TreeWidth(), window.TreeHeight()};
    if (const auto value = ReadGeometryValue(reg, kNavMainFormSettings))
        if (const auto record = DecodeNavMainFormSize(*value))
            if (const auto usable = UsableWindowSize(
                    WindowSizeAtDpi(*record, ReadGeometryDpi(reg, kNavMainFormDpi), dpi), window.ScreenSize(), minimum))
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

namespace {

bool WriteGeometryRecord(
    IRegistry& reg, const char* name, const std::uint8_t* bytes, std::size_t size, const char* dpiName, int dpi)
{
    return WriteGeometryValue(reg, name, bytes, size)
        && SettingsWriteInt(reg, RegRoot::CurrentUser, kProgramKey, dpiName, dpi);
}

} // namespace

bool SaveModeGeometry(const TModeState& state, const IModeWindow& window, IRegistry& reg)
{
    const TWindowSize size = window.RestoredSize();
    const int dpi = window.Dpi();
    if (state.mode == kModeFull) {
        // The lower panel keeps its height in any size; the upper one takes the rest.
        const int upper
            = size.height - window.FrameHeightAtDpi(dpi) - window.LowerPanelHeight() - MetricsAt(dpi).splitterThickness;
        const TMainFormGeometry g{window.MinHeight(), window.MinWidth(), size.width, size.height, upper,
            window.ChooseByWidth(), window.MacrosListWidth()};
        if (!UsableMainFormGeometry(g, {}, dpi))
            return true; // nothing worth keeping; the earlier record serves
        const auto record = EncodeMainFormGeometry(g);
        return WriteGeometryRecord(reg, kMainFormSettings, record.data(), record.size(), kMainFormDpi, dpi);
    }
    if (!UsableWindowSize(size, {}, CompactMinimum(dpi)))
        return true;
    const auto record = EncodeNavMainFormSize(size);
    return WriteGeometryRecord(reg, kNavMainFormSettings, record.data(), record.size(), kNavMainFormDpi, dpi);
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

int MinWidthForChooseBy(int chooseByWidth, int dpi)
{
    const LayoutMetrics m = MetricsAt(dpi);
    return std::max(chooseByWidth + m.treeMinWidth, m.fullMinWidth);
}

int MinHeightForLowerPanel(int lowerPanelHeight, int windowHeight, int clientHeight, int dpi)
{
    const LayoutMetrics m = MetricsAt(dpi);
    return lowerPanelHeight + (windowHeight - clientHeight) + m.splitterHorzMinSize + m.splitterThickness;
}

void RecordListRatio(TModeState& state, const IModeWindow& window)
{
    state.listRatio = ListRatio(window.MacrosListWidth(), window.ChooseByWidth());
}

void SplitterVert1Moved(const TModeState& state, IModeWindow& window)
{
    const int chooseBy = window.ChooseByWidth();
    window.SetMacrosListWidth(MacrosListWidthFor(chooseBy, state.listRatio));
    window.SetMinWidth(MinWidthForChooseBy(chooseBy, window.Dpi()));
}

void SplitterHorzMoved(IModeWindow& window)
{
    window.SetMinHeight(
        MinHeightForLowerPanel(window.LowerPanelHeight(), window.Height(), window.ClientHeight(), window.Dpi()));
}

} // namespace corvane
