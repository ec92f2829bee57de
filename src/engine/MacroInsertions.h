#pragma once
// The parameters dialog's rules: its rows, its values, its stored size, where
// it stands, and when a click selects a box's text.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/Texts.h"

namespace corvane {

// One row per name; n commas give n + 1 rows, empty ones included.
std::vector<std::string> ParameterRows(std::string_view parameterList);
// The rows' texts joined by the character 1.
std::string JoinValues(const std::vector<std::string>& texts);

struct TDialogSize {
    int height = 0, width = 0;
    bool operator==(const TDialogSize&) const = default;
};
// Height then width, each a signed 16-bit little-endian number.
std::vector<std::uint8_t> EncodeDialogSize(TDialogSize size);
std::optional<TDialogSize> DecodeDialogSize(const std::vector<std::uint8_t>& bytes);

// Accept centred in the bottom panel left of the check box.
int AcceptButtonLeft(int panelWidth, int checkWidth, int buttonWidth);

// The rows stand one under the other in a scroll box above the bottom panel.
inline constexpr int kMacroInsRowTop = 5;
inline constexpr int kMacroInsRowHeight = 21;
inline constexpr int kMacroInsRowGap = 10;
inline constexpr int kMacroInsBottomPanel = 41;
// Top of row `row` in the scroll box's content, and the content's height.
int RowTop(int row);
int RowsHeight(int rows);
// The dialog's height: at least what it is asked to be (its design or its
// stored height), enough to show every row where the screen has room, and
// never taller than the screen; the scroll box shows the rest.
int ParametersDialogHeight(int wanted, int neededForRows, int screenHeight);

// The scroll box's position: the content's pixel row at the box's top.
struct TRowsScroll {
    int content = 0; // RowsHeight of the rows
    int view = 0; // the scroll box's client height
    [[nodiscard]] int Max() const { return content > view ? content - view : 0; }
    [[nodiscard]] int Clamp(int position) const { return position < 0 ? 0 : position > Max() ? Max() : position; }
    // The position that shows row `row` whole, moving as little as it can.
    [[nodiscard]] int ShowingRow(int row, int position) const;
};

// Where a route shows the dialog.
struct TDialogPlace {
    enum Kind { ScreenCentre, AroundPoint } kind = ScreenCentre;
    int x = 0, y = 0; // the point for AroundPoint, in screen coordinates
};
struct TScreenPoint {
    int x = 0, y = 0;
    bool operator==(const TScreenPoint&) const = default;
};

// The first click into a box after leaving another selects its text for
// overtyping; later clicks place the caret.
class TSelectOnFirstClick {
public:
    // True when the click should select the box's whole text.
    bool MouseUp(bool boxHasSelection);
    void Exit() { selectedOnce_ = false; }

private:
    bool selectedOnce_ = true;
};

} // namespace corvane
