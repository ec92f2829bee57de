#pragma once
// The formatting toolbar's button pictures, drawn at start rather than
// shipped as bitmaps.
#include "win32/Handles.h"

namespace corvane::win32 {

enum FormattingGlyph : int {
    GlyphCut,
    GlyphCopy,
    GlyphPaste,
    GlyphUndo,
    GlyphRedo,
    GlyphColor,
    GlyphBold,
    GlyphItalic,
    GlyphUnderline,
    GlyphLeftAlign,
    GlyphCenterAlign,
    GlyphRightAlign,
    GlyphDecIndent,
    GlyphIncIndent,
    GlyphInsertions,
    GlyphCount
};

inline constexpr int kFormattingGlyphSize = 16;

// An image list holding every FormattingGlyph at its own index, drawn at
// `size` pixels square.
UniqueImageList MakeFormattingGlyphs(int size = kFormattingGlyphSize);

} // namespace corvane::win32
