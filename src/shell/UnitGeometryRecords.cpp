#include "shell/UnitGeometryRecords.h"

#include "shell/MainLayout.h"
#include "shell/UnitSettings.h"

#include <algorithm>

namespace corvane {

namespace {

void Put16(std::uint8_t* at, int v)
{
    const auto bits = static_cast<std::uint16_t>(v);
    at[0] = static_cast<std::uint8_t>(bits);
    at[1] = static_cast<std::uint8_t>(bits >> 8);
}

int Get16(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    const auto bits = static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
    return static_cast<std::int16_t>(bits);
}

bool IsRecord(const RegValue& value, std::size_t size)
{
    return value.kind == RegKind::Binary && value.data.size() == size;
}

} // namespace

TMainFormRecord EncodeMainFormGeometry(const TMainFormGeometry& g)
{
    TMainFormRecord r{};
    Put16(&r[0], g.minHeight);
    Put16(&r[2], g.minWidth);
    Put16(&r[4], g.width);
    Put16(&r[6], g.height);
    Put16(&r[8], g.upperPanelHeight);
    Put16(&r[10], g.chooseByWidth);
    Put16(&r[12], g.macrosListWidth);
    return r;
}

std::optional<TMainFormGeometry> DecodeMainFormGeometry(const RegValue& value)
{
    if (!IsRecord(value, 14))
        return std::nullopt;
    const auto& d = value.data;
    return TMainFormGeometry{
        Get16(d, 0), Get16(d, 2), Get16(d, 4), Get16(d, 6), Get16(d, 8), Get16(d, 10), Get16(d, 12)};
}

TSizeRecord EncodeNavMainFormSize(const TWindowSize& s)
{
    TSizeRecord r{};
    Put16(&r[0], s.width);
    Put16(&r[2], s.height);
    return r;
}

std::optional<TWindowSize> DecodeNavMainFormSize(const RegValue& value)
{
    if (!IsRecord(value, 4))
        return std::nullopt;
    return TWindowSize{Get16(value.data, 0), Get16(value.data, 2)};
}

TSizeRecord EncodeMacroInsFormSize(const TWindowSize& s)
{
    TSizeRecord r{};
    Put16(&r[0], s.height);
    Put16(&r[2], s.width);
    return r;
}

std::optional<TWindowSize> DecodeMacroInsFormSize(const RegValue& value)
{
    if (!IsRecord(value, 4))
        return std::nullopt;
    return TWindowSize{Get16(value.data, 2), Get16(value.data, 0)};
}

std::optional<TWindowSize> UsableWindowSize(TWindowSize s, TWindowSize screen, TWindowSize minimum)
{
    if (s.width <= 0 || s.height <= 0 || s.width < minimum.width || s.height < minimum.height)
        return std::nullopt;
    // An unknown screen size limits nothing.
    if (screen.width > 0)
        s.width = std::min(s.width, screen.width);
    if (screen.height > 0)
        s.height = std::min(s.height, screen.height);
    return s;
}

std::optional<TMainFormGeometry> UsableMainFormGeometry(TMainFormGeometry g, TWindowSize screen, int dpi)
{
    const LayoutMetrics m = MetricsAt(dpi);
    if (g.minWidth < 0 || g.minHeight < 0 || g.upperPanelHeight < m.splitterHorzMinSize)
        return std::nullopt;
    const auto size
        = UsableWindowSize({g.width, g.height}, screen, {std::max(g.minWidth, m.fullMinWidth), g.minHeight});
    if (!size)
        return std::nullopt;
    g.width = size->width;
    g.height = size->height;
    g.minWidth = std::min(g.minWidth, g.width);
    g.minHeight = std::min(g.minHeight, g.height);
    g.upperPanelHeight = std::clamp(g.upperPanelHeight, 0, g.height);
    g.chooseByWidth = std::clamp(g.chooseByWidth, 0, g.width);
    g.macrosListWidth = std::clamp(g.macrosListWidth, 0, g.chooseByWidth);
    return g;
}

TMainFormGeometry MainFormGeometryAtDpi(const TMainFormGeometry& g, int fromDpi, int toDpi)
{
    auto at = [&](int pixels) { return ConvertDpi(pixels, fromDpi, toDpi); };
    return {at(g.minHeight), at(g.minWidth), at(g.width), at(g.height), at(g.upperPanelHeight), at(g.chooseByWidth),
        at(g.macrosListWidth)};
}

TWindowSize WindowSizeAtDpi(const TWindowSize& s, int fromDpi, int toDpi)
{
    return {ConvertDpi(s.width, fromDpi, toDpi), ConvertDpi(s.height, fromDpi, toDpi)};
}

int ReadGeometryDpi(IRegistry& reg, const char* name)
{
    // Displays run from 100 % to 500 %; anything else was not written by us.
    constexpr int kLowestDpi = kBaseDpi, kHighestDpi = 5 * kBaseDpi;
    const int dpi = SettingsReadInt(reg, RegRoot::CurrentUser, kProgramKey, name);
    return dpi >= kLowestDpi && dpi <= kHighestDpi ? dpi : kBaseDpi;
}

std::optional<RegValue> ReadGeometryValue(IRegistry& reg, const char* name)
{
    const auto key = reg.Open(RegRoot::CurrentUser, kProgramKey, RegAccess::Read);
    if (!key)
        return std::nullopt;
    return key->Read(name);
}

bool WriteGeometryValue(IRegistry& reg, const char* name, const std::uint8_t* bytes, std::size_t size)
{
    const auto key = reg.Create(RegRoot::CurrentUser, kProgramKey);
    return key && key->WriteBinary(name, std::vector<std::uint8_t>(bytes, bytes + size));
}

} // namespace corvane
