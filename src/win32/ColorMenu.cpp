#include "win32/ColorMenu.h"

#include "shell/EditorFormatting.h"
#include "shell/MainLayout.h"
#include "win32/DisplayDpi.h"

#include <algorithm>
#include <cstring>

namespace corvane::win32 {

namespace {

constexpr int kCaptionGap = 6; // between the swatch's room and the caption
constexpr int kRightMargin = 12;
constexpr int kBulletInset = 5;

// A window's menus are drawn at the window's DPI, which on a monitor of
// another scale is not the system's: so are the items' font and metrics.
struct MenuScale {
    int dpi;
    int operator()(int pixels) const { return ScaleToDpi(pixels, dpi); }
    int Metric(int index) const { return SystemMetricAtDpi(index, dpi); }
    int CaptionLeft(int itemLeft) const
    {
        return itemLeft + Metric(SM_CXMENUCHECK) + (*this)(kColorMenuSwatchRoom + kCaptionGap);
    }
};

COLORREF ItemColor(const ColorMenuItem& item)
{
    return item.automatic ? GetSysColor(COLOR_WINDOWTEXT) : static_cast<COLORREF>(item.color);
}

} // namespace

int ColorMenuIndex(UINT id)
{
    const int index = static_cast<int>(id) - static_cast<int>(kColorMenuFirstId);
    return index >= 0 && index < kColorMenuItemCount ? index : -1;
}

bool IsColorMenuItem(UINT id) { return ColorMenuIndex(id) >= 0; }

UniqueMenu BuildColorMenu()
{
    UniqueMenu menu(CreatePopupMenu());
    for (int i = 0; i < kColorMenuItemCount; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
        info.fType = MFT_OWNERDRAW | MFT_RADIOCHECK;
        info.wID = kColorMenuFirstId + static_cast<UINT>(i);
        info.dwItemData = static_cast<ULONG_PTR>(i);
        InsertMenuItemA(menu.Get(), static_cast<UINT>(i), TRUE, &info);
    }
    return menu;
}

void CheckColorItem(HMENU menu, int index)
{
    for (int i = 0; i < kColorMenuItemCount; ++i)
        CheckMenuItem(menu, kColorMenuFirstId + static_cast<UINT>(i), MF_BYCOMMAND | (i == index ? MF_CHECKED : 0));
}

void MeasureColorItem(HWND owner, MEASUREITEMSTRUCT& item)
{
    const int index = ColorMenuIndex(item.itemID);
    if (index < 0)
        return;
    const char* caption = kColorMenuItems[static_cast<size_t>(index)].caption;
    const MenuScale scaled{WindowDpi(owner)};
    HDC dc = GetDC(owner);
    UniqueGdiObject font = CreateMenuFontAtDpi(scaled.dpi);
    SIZE text{};
    {
        SelectedObject selected(dc, font.Get());
        GetTextExtentPoint32A(dc, caption, static_cast<int>(std::strlen(caption)), &text);
    }
    ReleaseDC(owner, dc);
    item.itemWidth = static_cast<UINT>(scaled.CaptionLeft(0) + text.cx + scaled(kRightMargin));
    item.itemHeight = static_cast<UINT>(std::max<int>(scaled.Metric(SM_CYMENU), text.cy + scaled(6)));
}

void DrawColorItem(HWND owner, const DRAWITEMSTRUCT& item)
{
    const MenuScale scaled{WindowDpi(owner)};
    const int index = ColorMenuIndex(item.itemID);
    if (index < 0)
        return;
    const ColorMenuItem& entry = kColorMenuItems[static_cast<size_t>(index)];
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool highlighted = (item.itemState & ODS_SELECTED) != 0;
    const int textColor = highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT;

    // The normal item: background, check mark, caption.
    FillRect(dc, &r, GetSysColorBrush(highlighted ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (item.itemState & ODS_CHECKED) {
        const int check = scaled.Metric(SM_CXMENUCHECK);
        const int middle = (r.top + r.bottom) / 2;
        const int radius = std::max(2, check / 2 - scaled(kBulletInset) + 2);
        SelectedObject brush(dc, GetSysColorBrush(textColor));
        SelectedObject pen(dc, GetStockObject(NULL_PEN));
        const int centre = r.left + check / 2 + 2;
        Ellipse(dc, centre - radius, middle - radius, centre + radius + 1, middle + radius + 1);
    }
    UniqueGdiObject font = CreateMenuFontAtDpi(scaled.dpi);
    {
        SelectedObject selected(dc, font.Get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(textColor));
        RECT text{scaled.CaptionLeft(r.left), r.top, r.right, r.bottom};
        DrawTextA(dc, entry.caption, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    // The swatch: a frame in the menu-text colour around the item's colour.
    const SwatchRect s = ColorSwatchRect(r.left, r.top, r.bottom, scaled.Metric(SM_CXMENUCHECK), scaled.dpi);
    RECT swatch{s.left, s.top, s.right, s.bottom};
    UniqueGdiObject frame(CreateSolidBrush(GetSysColor(COLOR_MENUTEXT)));
    FrameRect(dc, &swatch, static_cast<HBRUSH>(frame.Get()));
    InflateRect(&swatch, -1, -1);
    UniqueGdiObject fill(CreateSolidBrush(ItemColor(entry)));
    FillRect(dc, &swatch, static_cast<HBRUSH>(fill.Get()));
}

} // namespace corvane::win32
