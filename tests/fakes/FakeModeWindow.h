#pragma once
// A main window for the mode and geometry logic, without Windows.
#include "shell/MainLayout.h"
#include "shell/MonitorPlacement.h"
#include "shell/UnitMainWindowModes.h"

#include <string>
#include <utility>
#include <vector>

namespace corvane::fakes {

// A window whose panels follow a simple layout: the upper panel takes what
// the lower panel and the splitter leave of the client area.
class FakeModeWindow final : public IModeWindow {
public:
    int minHeight = 450, minWidth = 740, width = 740, height = 497;
    int frame = 50; // window height minus client height
    int lower = 215, chooseBy = 260, macros = 119;
    int treeWidth = 400, treeHeight = 230;
    int dpi = 96;
    std::vector<std::pair<ModePanel, bool>> panelCalls;
    int toolbarRelayouts = 0;
    std::string caption = "Change Mode";

    int MinHeight() const override { return minHeight; }
    int MinWidth() const override { return minWidth; }
    int Width() const override { return width; }
    int Height() const override { return height; }
    TWindowSize RestoredSize() const override { return restored.width ? restored : TWindowSize{width, height}; }
    int ClientHeight() const override { return height - FrameHeightAtDpi(dpi); }
    int Dpi() const override { return dpi; }
    void SetMinHeight(int h) override { minHeight = h; }
    void SetMinWidth(int w) override { minWidth = w; }
    void SetWidth(int w) override { width = w; }
    void SetHeight(int h) override { height = h; }
    int FrameHeightAtDpi(int at) const override
    {
        return monitors ? monitors->FrameAt({0, 0, true}, at).Height() : frame;
    }
    // When set, the frame is the one these monitors draw at each DPI, and the
    // client area is what the frame at the window's own DPI leaves of it.
    const IMonitors* monitors = nullptr;
    int LowerPanelHeight() const override { return lower; }
    void SetLowerPanelHeight(int h) override { lower = h; }
    int ChooseByWidth() const override { return chooseBy; }
    void SetChooseByWidth(int w) override { chooseBy = w; }
    int MacrosListWidth() const override { return macros; }
    void SetMacrosListWidth(int w) override { macros = w; }
    int TreeWidth() const override { return treeWidth; }
    int TreeHeight() const override { return treeHeight; }
    void SetPanelVisible(ModePanel p, bool v) override { panelCalls.emplace_back(p, v); }
    void RelayoutFormattingToolbar() override { ++toolbarRelayouts; }
    void SetModeItemCaption(const std::string& c) override { caption = c; }
    TWindowSize ScreenSize() const override { return {1920, 1080}; }
    void CentreOnScreen() override { centredAt.push_back({width, height}); }
    TWindowSize restored; // when set, the window is minimised or maximised
    std::vector<TWindowSize> centredAt;
};

} // namespace corvane::fakes
