#pragma once
// Where a window opens when the desktop has several monitors, each with its
// own scale and work area: every dialog goes to the monitor of what it
// belongs to (its owner, or the caret it serves), takes that monitor's scale
// and stays inside that monitor's work area. The monitors are reached
// through IMonitors.
#include <cstdint>
#include <optional>

#include "shell/UnitGeometryRecords.h"

namespace corvane {

struct TRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    [[nodiscard]] int Width() const { return right - left; }
    [[nodiscard]] int Height() const { return bottom - top; }
    [[nodiscard]] bool Holds(const TRect& inner) const
    {
        return inner.left >= left && inner.top >= top && inner.right <= right && inner.bottom <= bottom;
    }
    bool operator==(const TRect&) const = default;
};

struct TMonitor {
    TRect area; // the whole monitor, in virtual-screen coordinates
    TRect work; // without the task bar and docked bars
    int dpi = 96;
    bool operator==(const TMonitor&) const = default;
};

// What decides a window's frame: its style bits, and whether it has a menu bar.
struct TFrameStyle {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    bool menu = false;
};

// The frame around a client area: how far the window reaches past it on each side.
struct TFrame {
    int left = 0, top = 0, right = 0, bottom = 0;
    [[nodiscard]] int Width() const { return left + right; }
    [[nodiscard]] int Height() const { return top + bottom; }
};

class IMonitors {
public:
    virtual ~IMonitors() = default;
    // The monitor sharing the most with `r`; the nearest when none does.
    virtual TMonitor OfRect(const TRect& r) const = 0;
    // The monitor holding the point; the nearest when none does.
    virtual TMonitor OfPoint(int x, int y) const = 0;
    // The frame Windows draws around a window of `style` at `dpi`.
    virtual TFrame FrameAt(const TFrameStyle& style, int dpi) const = 0;
};

// Where a window is to open.
struct TPlacement {
    enum Kind {
        OverRect, // centred on a window: its owner
        AroundPoint, // centred on a point: a button that was pressed
        MonitorOfPoint, // centred on the monitor holding the point: a caret's
    } kind
        = OverRect;
    TRect rect; // for OverRect
    int x = 0, y = 0; // for the others
};

TMonitor MonitorFor(const IMonitors& monitors, const TPlacement& place);

// A window that serves the text caret of another program: on the caret's
// monitor, else on the monitor of that program's window.
TPlacement PlacementForCaret(const std::optional<TRect>& caret, const TRect& targetWindow);

// The outer size of a window whose client area is `client` at the monitor's
// scale (given in 96-DPI pixels), cut to the monitor's work area.
TWindowSize OuterSizeOn(
    const IMonitors& monitors, const TMonitor& monitor, const TFrameStyle& style, TWindowSize client96);

// A window of `size` where `place` asks, moved and cut so that it lies
// inside the monitor's work area.
TRect PlaceOnMonitor(const TMonitor& monitor, const TPlacement& place, TWindowSize size);

// A dialog with a fixed client size in 96-DPI pixels: on the monitor `place`
// names, at its scale, inside its work area.
TRect DialogRect(const IMonitors& monitors, const TPlacement& place, const TFrameStyle& style, TWindowSize client96);

// A resizable window's stored outer size, taken at `storedDpi`, on `monitor`:
// at its scale, no smaller than `minimum96` at that scale, no larger than its
// work area. nullopt for a stored size that is below the minimum where it
// was taken (no window could have had it).
std::optional<TWindowSize> StoredSizeOn(
    TWindowSize stored, int storedDpi, const TMonitor& monitor, TWindowSize minimum96);

// The zoom that shows a rich-text control's text at `windowDpi` when the
// control draws its points at `systemDpi`: numerator and denominator,
// {0, 0} (no zoom) when the two agree.
struct TZoom {
    int numerator = 0, denominator = 0;
    bool operator==(const TZoom&) const = default;
};
TZoom EditorZoom(int windowDpi, int systemDpi);

} // namespace corvane
