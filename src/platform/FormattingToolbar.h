#pragma once
// The formatting toolbar's controls as the refresh and the font list set them.
#include "platform/FormattingEditor.h"

#include <string>
#include <vector>

namespace corvane {

enum class StyleButton { Bold, Italic, Underline };

class IFormattingToolbar {
public:
    virtual ~IFormattingToolbar() = default;
    virtual void SetStyleDown(StyleButton button, bool down) = 0;
    // Puts one button of the alignment group down, the others up.
    virtual void SetAlignmentDown(Alignment alignment) = 0;
    virtual void SetFontNameText(const std::string& text) = 0;
    virtual void SetFontSizeText(const std::string& text) = 0;
    virtual void SetFontNames(const std::vector<std::string>& names) = 0;
};

} // namespace corvane
