#pragma once
// The reply editor's formatting toolbar: how it follows the text under the
// caret, what each of its controls does to the text, the colour menu and the
// font list.
#include "platform/FormattingEditor.h"
#include "platform/FormattingToolbar.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct ColorMenuItem {
    const char* caption;
    RgbColor color;
    bool automatic; // the system's window-text colour
};

inline constexpr int kColorMenuItemCount = 17;
extern const std::array<ColorMenuItem, kColorMenuItemCount> kColorMenuItems;
// Room before each caption for the swatch.
inline constexpr int kColorMenuSwatchRoom = 25;

struct SwatchRect {
    int left, top, right, bottom;
    bool operator==(const SwatchRect&) const = default;
};
// Where an item's colour swatch is drawn, frame included; the swatch's own
// sizes are scaled to `dpi` (the check mark's width is the system's already).
SwatchRect ColorSwatchRect(int itemLeft, int itemTop, int itemBottom, int checkMarkWidth, int dpi = 96);

inline constexpr int kFontSizeArrowMin = 1;
inline constexpr int kFontSizeArrowMax = 100;
inline constexpr int kFontSizeStart = 10;
inline constexpr int kIndentStepPoints = 10;

// The word the caret stands inside, or the empty range at the caret when it
// is not inside one (between blanks, or at a word's edge, where what is
// typed next is what a format is meant for).
TextRange WordAt(std::string_view text, int caret);

// Face names as the font box lists them: at most 31 characters, each once,
// sorted without regard to case.
std::vector<std::string> SortedFontNames(std::vector<std::string> faces);

// A whole number of points; nothing for text that is not one.
std::optional<int> FontSizeFromText(std::string_view text);

class TEditorFormatting {
public:
    // `formatted` is told of every change a command makes to the text, which
    // the editor does not report as an edit of its own.
    TEditorFormatting(IFormattingEditor& editor, IFormattingToolbar& toolbar, std::function<void()> formatted = {});

    // FillFontList: the installed faces into the font box.
    void FillFontList(std::vector<std::string> faces);
    // The editor's selection-change handler.
    void Refresh();
    [[nodiscard]] bool Refreshing() const { return refreshing_; }

    // CurrentTextAttributes: the selection, or the word at the caret.
    [[nodiscard]] TextRange CurrentTextRange() const;

    void FontNameChanged(const std::string& text);
    void FontSizeChanged(const std::string& text);
    // After the click has toggled the button: `down` is its new state.
    void StyleClicked(StyleButton button, bool down);
    void AlignmentClicked(Alignment alignment);
    void IncreaseIndent();
    void DecreaseIndent();

    // The colour menu item to check before it opens; -1 for none.
    [[nodiscard]] int ColorItemToCheck() const;
    void ColorChosen(int item);

private:
    void WriteCurrent(const CharFormat& format, unsigned parts);
    void SetIndent(int points);

    IFormattingEditor& editor_;
    IFormattingToolbar& toolbar_;
    std::function<void()> formatted_;
    std::vector<std::string> fontNames_;
    bool refreshing_ = false;
};

} // namespace corvane
