#pragma once
// What the formatting toolbar needs of the rich-text editor: the selection
// and the text, the character format of a range, the paragraph format of the
// selection's paragraphs, and the editor's own clipboard and undo commands.
#include <cstdint>
#include <string>

namespace corvane {

// Red in the lowest byte, then green, then blue, as the platform keeps colours.
using RgbColor = std::uint32_t;
constexpr RgbColor MakeRgb(unsigned red, unsigned green, unsigned blue) { return red | (green << 8) | (blue << 16); }

// Character positions; paragraphs are ended by one "\r" in the editor's text.
struct TextRange {
    int start = 0;
    int end = 0;
    bool Empty() const { return start == end; }
    bool operator==(const TextRange&) const = default;
};

// The parts of a character format a write sets.
enum CharFormatPart : unsigned {
    kFormatFace = 1,
    kFormatSize = 2,
    kFormatStyles = 4, // bold, italic, underline and strike-out together
    kFormatColor = 8,
};

struct CharFormat {
    std::string face; // at most 31 characters
    int sizePoints = 0;
    // A style is reported present only when all of the range has it.
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool autoColor = true; // follows the system's window-text colour
    RgbColor color = 0;
    // Face, size or colour that differ within the range (kFormat... bits);
    // the value of such a part is then that of the range's start.
    unsigned mixed = 0;
};

// The codes the alignment buttons carry.
enum class Alignment { Left = 0, Right = 1, Center = 2, Other = 3 };

class IFormattingEditor {
public:
    virtual ~IFormattingEditor() = default;

    [[nodiscard]] virtual TextRange Selection() const = 0;
    [[nodiscard]] virtual std::string Text() const = 0;
    // The format of the range; of the insertion point when it is empty.
    [[nodiscard]] virtual CharFormat ReadCharFormat(TextRange range) const = 0;
    // Sets the given parts on the range; on the insertion point (what is
    // typed next) when it is empty. The selection is left as it was.
    virtual void WriteCharFormat(TextRange range, const CharFormat& format, unsigned parts) = 0;

    // Of the paragraph at the start of the selection.
    [[nodiscard]] virtual Alignment ParagraphAlignment() const = 0;
    [[nodiscard]] virtual int StartIndentPoints() const = 0;
    // On every paragraph of the selection.
    virtual void SetParagraphAlignment(Alignment alignment) = 0;
    virtual void SetStartIndentPoints(int points) = 0;

    virtual void Cut() = 0;
    virtual void Copy() = 0;
    virtual void Paste() = 0;
    virtual void Undo() = 0;
    virtual void Redo() = 0;
    virtual void SelectAll() = 0;
};

} // namespace corvane
