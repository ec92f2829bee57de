#pragma once
// A desktop of monitors side by side, each with its own scale and work area,
// and a window frame that grows with the scale the way Windows draws it:
// a border padding that keeps its size and a caption rounded apart, so the
// frame at 150 % is not 1.5 times the frame at 100 %.
#include <algorithm>
#include <climits>
#include <vector>

#include "shell/MainLayout.h"
#include "shell/MonitorPlacement.h"

namespace corvane::fakes {

class FakeMonitors final : public IMonitors {
public:
    std::vector<TMonitor> monitors;

    // The office desk: a 1920 x 1080 primary at 100 % with its task bar at the
    // bottom, and right of it a 2880 x 1620 laptop panel at 150 %, set 200
    // pixels higher, with its task bar on the left.
    static FakeMonitors OfficeDesk()
    {
        FakeMonitors desk;
        desk.monitors.push_back({{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96});
        desk.monitors.push_back({{1920, -200, 4800, 1420}, {1986, -200, 4800, 1420}, 144});
        return desk;
    }
    const TMonitor& Primary() const { return monitors[0]; }
    const TMonitor& Second() const { return monitors[1]; }

    TMonitor OfRect(const TRect& r) const override
    {
        long long best = -1;
        const TMonitor* found = nullptr;
        for (const TMonitor& m : monitors) {
            const long long w = std::min(r.right, m.area.right) - std::max(r.left, m.area.left);
            const long long h = std::min(r.bottom, m.area.bottom) - std::max(r.top, m.area.top);
            if (w > 0 && h > 0 && w * h > best) {
                best = w * h;
                found = &m;
            }
        }
        return found ? *found : OfPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    TMonitor OfPoint(int x, int y) const override
    {
        long long nearest = LLONG_MAX;
        TMonitor found = monitors.front();
        for (const TMonitor& m : monitors) {
            const long long dx = x < m.area.left ? m.area.left - x : x >= m.area.right ? x - m.area.right + 1 : 0;
            const long long dy = y < m.area.top ? m.area.top - y : y >= m.area.bottom ? y - m.area.bottom + 1 : 0;
            if (dx * dx + dy * dy < nearest) {
                nearest = dx * dx + dy * dy;
                found = m;
            }
        }
        return found;
    }
    TFrame FrameAt(const TFrameStyle& style, int dpi) const override
    {
        const int border = 4 + ScaleToDpi(4, dpi); // a padding that does not scale
        const int caption = ScaleToDpi(23, dpi);
        const int menu = style.menu ? ScaleToDpi(19, dpi) + 1 : 0;
        return {border, border + caption + menu, border, border};
    }
};

} // namespace corvane::fakes
