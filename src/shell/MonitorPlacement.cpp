#include "shell/MonitorPlacement.h"

#include <algorithm>
#include <numeric>

#include "shell/MainLayout.h"

namespace corvane {

namespace {

// The start of an extent moved so that it ends inside [low, high]; a
// window larger than the range starts at its low end.
int KeptWithin(int start, int extent, int low, int high) { return std::max(low, std::min(start, high - extent)); }

TWindowSize CutTo(TWindowSize size, const TRect& work)
{
    return {std::min(size.width, work.Width()), std::min(size.height, work.Height())};
}

} // namespace

TMonitor MonitorFor(const IMonitors& monitors, const TPlacement& place)
{
    if (place.kind == TPlacement::OverRect)
        return monitors.OfRect(place.rect);
    return monitors.OfPoint(place.x, place.y);
}

TPlacement PlacementForCaret(const std::optional<TRect>& caret, const TRect& targetWindow)
{
    if (caret)
        return {TPlacement::MonitorOfPoint, {}, caret->left, (caret->top + caret->bottom) / 2};
    return {TPlacement::OverRect, targetWindow};
}

TWindowSize OuterSizeOn(
    const IMonitors& monitors, const TMonitor& monitor, const TFrameStyle& style, TWindowSize client96)
{
    const TFrame frame = monitors.FrameAt(style, monitor.dpi);
    return CutTo({ScaleToDpi(client96.width, monitor.dpi) + frame.Width(),
                     ScaleToDpi(client96.height, monitor.dpi) + frame.Height()},
        monitor.work);
}

TRect PlaceOnMonitor(const TMonitor& monitor, const TPlacement& place, TWindowSize size)
{
    const TRect& work = monitor.work;
    size = CutTo(size, work);
    int cx = 0, cy = 0; // the centre asked for, doubled so that no half pixel is lost
    switch (place.kind) {
    case TPlacement::OverRect:
        cx = place.rect.left + place.rect.right;
        cy = place.rect.top + place.rect.bottom;
        break;
    case TPlacement::AroundPoint:
        cx = 2 * place.x;
        cy = 2 * place.y;
        break;
    case TPlacement::MonitorOfPoint:
        cx = work.left + work.right;
        cy = work.top + work.bottom;
        break;
    }
    const int x = KeptWithin((cx - size.width) / 2, size.width, work.left, work.right);
    const int y = KeptWithin((cy - size.height) / 2, size.height, work.top, work.bottom);
    return {x, y, x + size.width, y + size.height};
}

TRect DialogRect(const IMonitors& monitors, const TPlacement& place, const TFrameStyle& style, TWindowSize client96)
{
    const TMonitor monitor = MonitorFor(monitors, place);
    return PlaceOnMonitor(monitor, place, OuterSizeOn(monitors, monitor, style, client96));
}

std::optional<TWindowSize> StoredSizeOn(
    TWindowSize stored, int storedDpi, const TMonitor& monitor, TWindowSize minimum96)
{
    if (stored.width < ScaleToDpi(minimum96.width, storedDpi)
        || stored.height < ScaleToDpi(minimum96.height, storedDpi))
        return std::nullopt;
    const TWindowSize minimum{ScaleToDpi(minimum96.width, monitor.dpi), ScaleToDpi(minimum96.height, monitor.dpi)};
    const TWindowSize at = WindowSizeAtDpi(stored, storedDpi, monitor.dpi);
    return CutTo({std::max(at.width, minimum.width), std::max(at.height, minimum.height)}, monitor.work);
}

TZoom EditorZoom(int windowDpi, int systemDpi)
{
    if (windowDpi <= 0 || systemDpi <= 0 || windowDpi == systemDpi)
        return {};
    const int common = std::gcd(windowDpi, systemDpi);
    return {windowDpi / common, systemDpi / common};
}

} // namespace corvane
