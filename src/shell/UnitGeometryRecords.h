#pragma once
// The stored window geometry: packed records of 16-bit little-endian fields.
// Stored values are untrusted: a record of the wrong kind or size is ignored,
// and sizes that would make a window unusable are kept within the screen.
#include "platform/Registry.h"

#include <array>
#include <cstdint>
#include <optional>

namespace corvane {

struct TMainFormGeometry {
    int minHeight = 0;
    int minWidth = 0;
    int width = 0;
    int height = 0;
    int upperPanelHeight = 0;
    int chooseByWidth = 0;
    int macrosListWidth = 0;
    bool operator==(const TMainFormGeometry&) const = default;
};

struct TWindowSize {
    int width = 0;
    int height = 0;
    bool operator==(const TWindowSize&) const = default;
};

using TMainFormRecord = std::array<std::uint8_t, 14>;
using TSizeRecord = std::array<std::uint8_t, 4>;

// Each field is cut to its low 16 bits.
TMainFormRecord EncodeMainFormGeometry(const TMainFormGeometry& g);
std::optional<TMainFormGeometry> DecodeMainFormGeometry(const RegValue& value);
// Compact mode: width then height.
TSizeRecord EncodeNavMainFormSize(const TWindowSize& s);
std::optional<TWindowSize> DecodeNavMainFormSize(const RegValue& value);
// The macro insertions dialog: height then width.
TSizeRecord EncodeMacroInsFormSize(const TWindowSize& s);
std::optional<TWindowSize> DecodeMacroInsFormSize(const RegValue& value);

// nullopt for a record no window could use: a size of zero or less or below
// the window's minimum, a negative minimum, an upper panel below its splitter's
// limit (what a minimised window reports). Otherwise the record with its
// sizes cut to the screen's work area and its panels brought within the window.
// The limits are those of the layout at `dpi`.
std::optional<TMainFormGeometry> UsableMainFormGeometry(TMainFormGeometry g, TWindowSize screen, int dpi = 96);
// nullopt for a size below `minimum`, otherwise the size cut to the screen.
std::optional<TWindowSize> UsableWindowSize(TWindowSize s, TWindowSize screen, TWindowSize minimum = {1, 1});

// A record taken at `fromDpi`, in pixels at `toDpi`.
TMainFormGeometry MainFormGeometryAtDpi(const TMainFormGeometry& g, int fromDpi, int toDpi);
TWindowSize WindowSizeAtDpi(const TWindowSize& s, int fromDpi, int toDpi);
// The stored DPI named `name`; 96 when there is none or it is no DPI a
// display has.
int ReadGeometryDpi(IRegistry& reg, const char* name);

// Reading opens the program key without creating it; writing creates it.
std::optional<RegValue> ReadGeometryValue(IRegistry& reg, const char* name);
[[nodiscard]] bool WriteGeometryValue(IRegistry& reg, const char* name, const std::uint8_t* bytes, std::size_t size);

} // namespace corvane
