#include "engine/MacroInsertions.h"

namespace corvane {

std::vector<std::string> ParameterRows(std::string_view parameterList)
{
    std::vector<std::string> rows;
    size_t start = 0;
    for (;;) {
        const size_t comma = parameterList.find(',', start);
        rows.emplace_back(parameterList.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos)
            return rows;
        start = comma + 1;
    }
}

std::string JoinValues(const std::vector<std::string>& texts)
{
    std::string joined;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i > 0)
            joined += '\x01';
        joined += texts[i];
    }
    return joined;
}

std::vector<std::uint8_t> EncodeDialogSize(TDialogSize size)
{
    const auto h = static_cast<std::uint16_t>(static_cast<std::int16_t>(size.height));
    const auto w = static_cast<std::uint16_t>(static_cast<std::int16_t>(size.width));
    return {static_cast<std::uint8_t>(h & 0xFF), static_cast<std::uint8_t>(h >> 8), static_cast<std::uint8_t>(w & 0xFF),
        static_cast<std::uint8_t>(w >> 8)};
}

std::optional<TDialogSize> DecodeDialogSize(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() != 4)
        return std::nullopt;
    auto at = [&](size_t i) { return static_cast<std::int16_t>(bytes[i] | (bytes[i + 1] << 8)); };
    return TDialogSize{at(0), at(2)};
}

int AcceptButtonLeft(int panelWidth, int checkWidth, int buttonWidth)
{
    return (panelWidth - checkWidth - 5) / 2 - buttonWidth / 2;
}

int RowTop(int row) { return kMacroInsRowTop + row * (kMacroInsRowHeight + kMacroInsRowGap); }

int RowsHeight(int rows) { return RowTop(rows); }

int ParametersDialogHeight(int wanted, int neededForRows, int screenHeight)
{
    const int height = wanted > neededForRows ? wanted : neededForRows;
    return height < screenHeight ? height : screenHeight;
}

int TRowsScroll::ShowingRow(int row, int position) const
{
    const int top = RowTop(row) - kMacroInsRowTop;
    const int bottom = RowTop(row) + kMacroInsRowHeight + kMacroInsRowTop;
    if (top < position)
        return Clamp(top);
    if (bottom > position + view)
        return Clamp(bottom - view);
    return Clamp(position);
}

bool TSelectOnFirstClick::MouseUp(bool boxHasSelection)
{
    if (boxHasSelection || selectedOnce_)
        return false;
    selectedOnce_ = true;
    return true;
}

} // namespace corvane
