#pragma once
// The formatting toolbar's colour menu: owner-drawn radio items, one per
// entry of kColorMenuItems, each showing a swatch of its colour before its
// caption.
#include "win32/Handles.h"

namespace corvane::win32 {

inline constexpr UINT kColorMenuFirstId = 3001;

bool IsColorMenuItem(UINT id);
// The item's position in kColorMenuItems; -1 for an id of another menu.
int ColorMenuIndex(UINT id);
UniqueMenu BuildColorMenu();
// Checks one item (-1: none) and unchecks the others.
void CheckColorItem(HMENU menu, int index);
void MeasureColorItem(HWND owner, MEASUREITEMSTRUCT& item);
void DrawColorItem(HWND owner, const DRAWITEMSTRUCT& item);

} // namespace corvane::win32
