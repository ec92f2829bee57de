#include "win32/FormattingGlyphs.h"

#include <array>

namespace corvane::win32 {

namespace {

constexpr int kSize = kFormattingGlyphSize;
constexpr COLORREF kTransparent = RGB(255, 0, 255);
constexpr COLORREF kInk = RGB(0, 0, 0);
constexpr COLORREF kArrow = RGB(0, 0, 128);

void Line(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void Box(HDC dc, int left, int top, int right, int bottom, COLORREF fill)
{
    UniqueGdiObject brush(CreateSolidBrush(fill));
    SelectedObject selected(dc, brush.Get());
    Rectangle(dc, left, top, right, bottom);
}

void Ring(HDC dc, int left, int top, int right, int bottom)
{
    SelectedObject hollow(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, left, top, right, bottom);
}

void Letter(HDC dc, const char* text, const char* face, int weight, bool italic, bool underline)
{
    UniqueGdiObject font(CreateFontA(-13, 0, 0, 0, weight, italic, underline, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, face));
    SelectedObject selected(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kInk);
    RECT r{0, 0, kSize, kSize};
    DrawTextA(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// Five lines of text, as a paragraph with the given alignment.
void Paragraph(HDC dc, int shift, int shortWidth, bool centred, bool right)
{
    for (int i = 0; i < 5; ++i) {
        const int width = (i % 2 == 0) ? 14 - shift : shortWidth;
        const int left = centred ? (kSize - width) / 2 : right ? kSize - 1 - width : 1 + shift;
        Line(dc, left, 2 + 3 * i, left + width, 2 + 3 * i);
    }
}

void Triangle(HDC dc, POINT a, POINT b, POINT c, COLORREF fill)
{
    UniqueGdiObject brush(CreateSolidBrush(fill));
    UniqueGdiObject pen(CreatePen(PS_SOLID, 1, fill));
    SelectedObject b1(dc, brush.Get());
    SelectedObject p1(dc, pen.Get());
    const POINT points[] = {a, b, c};
    Polygon(dc, points, 3);
}

void Curve(HDC dc, bool toLeft)
{
    UniqueGdiObject pen(CreatePen(PS_SOLID, 2, kArrow));
    SelectedObject selected(dc, pen.Get());
    auto x = [&](int v) { return toLeft ? v : kSize - 1 - v; };
    const POINT points[] = {{x(12), 13}, {x(13), 10}, {x(12), 7}, {x(9), 5}, {x(5), 5}};
    Polyline(dc, points, 5);
    Triangle(dc, {x(1), 5}, {x(5), 1}, {x(5), 9}, kArrow);
}

void Draw(HDC dc, int glyph)
{
    switch (glyph) {
    case GlyphCut:
        Line(dc, 5, 10, 10, 1);
        Line(dc, 10, 10, 5, 1);
        Ring(dc, 1, 9, 7, 15);
        Ring(dc, 8, 9, 14, 15);
        break;
    case GlyphCopy:
        Box(dc, 1, 1, 10, 11, RGB(255, 255, 255));
        Box(dc, 6, 5, 15, 15, RGB(255, 255, 255));
        break;
    case GlyphPaste:
        Box(dc, 1, 2, 12, 15, RGB(176, 128, 64));
        Box(dc, 4, 1, 9, 4, RGB(192, 192, 192));
        Box(dc, 7, 6, 15, 15, RGB(255, 255, 255));
        break;
    case GlyphUndo:
        Curve(dc, true);
        break;
    case GlyphRedo:
        Curve(dc, false);
        break;
    case GlyphColor: {
        Letter(dc, "A", "Arial", FW_BOLD, false, false);
        UniqueGdiObject red(CreateSolidBrush(RGB(255, 0, 0)));
        RECT bar{1, 13, 15, 16};
        FillRect(dc, &bar, static_cast<HBRUSH>(red.Get()));
        break;
    }
    case GlyphBold:
        Letter(dc, "B", "Arial", FW_BOLD, false, false);
        break;
    case GlyphItalic:
        Letter(dc, "I", "Times New Roman", FW_BOLD, true, false);
        break;
    case GlyphUnderline:
        Letter(dc, "U", "Arial", FW_NORMAL, false, true);
        break;
    case GlyphLeftAlign:
        Paragraph(dc, 0, 9, false, false);
        break;
    case GlyphCenterAlign:
        Paragraph(dc, 0, 8, true, false);
        break;
    case GlyphRightAlign:
        Paragraph(dc, 0, 9, false, true);
        break;
    case GlyphDecIndent:
        Paragraph(dc, 6, 6, false, false);
        Triangle(dc, {1, 8}, {4, 5}, {4, 11}, kArrow);
        break;
    case GlyphIncIndent:
        Paragraph(dc, 6, 6, false, false);
        Triangle(dc, {4, 8}, {1, 5}, {1, 11}, kArrow);
        break;
    case GlyphInsertions:
        Letter(dc, "%", "Arial", FW_BOLD, false, false);
        break;
    default:
        break;
    }
}

} // namespace

UniqueImageList MakeFormattingGlyphs(int size)
{
    UniqueImageList list(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, GlyphCount, 0));
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    UniqueGdiObject bitmap(CreateCompatibleBitmap(screen, size * GlyphCount, size));
    ReleaseDC(nullptr, screen);
    {
        SelectedObject selected(dc, bitmap.Get());
        UniqueGdiObject background(CreateSolidBrush(kTransparent));
        RECT all{0, 0, size * GlyphCount, size};
        FillRect(dc, &all, static_cast<HBRUSH>(background.Get()));
        // Each glyph is drawn on a grid of kSize, scaled to `size`.
        SetGraphicsMode(dc, GM_ADVANCED);
        const float scale = static_cast<float>(size) / kSize;
        for (int glyph = 0; glyph < GlyphCount; ++glyph) {
            const XFORM place{scale, 0, 0, scale, static_cast<float>(glyph * size), 0};
            SetWorldTransform(dc, &place);
            Draw(dc, glyph);
        }
        ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
    }
    DeleteDC(dc);
    ImageList_AddMasked(list.Get(), static_cast<HBITMAP>(bitmap.Get()), kTransparent);
    return list;
}

} // namespace corvane::win32
