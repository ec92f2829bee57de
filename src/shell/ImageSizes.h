#pragma once
// Which of the pictures' drawn sizes a display of a given DPI shows.

namespace corvane {

// The sizes every icon of the program is drawn at, in pixels.
inline constexpr int kDrawnIconSizes[] = {16, 20, 24, 32, 40, 48};

// The largest drawn size that fits a picture of `units` 96-DPI units at
// `dpi`; the smallest drawn size when none fits.
int IconSizeAt(int units, int dpi);

} // namespace corvane
