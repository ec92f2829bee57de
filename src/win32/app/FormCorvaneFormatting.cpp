// Main window: the editor's formatting toolbar, its colour menu and font
// list, forwarded to the portable formatting handlers.
#include "win32/app/FormCorvaneAdapters.h"

#include <richedit.h>

#include <array>
#include <string>
#include <vector>

#include "shell/EditorFormatting.h"
#include "win32/ColorMenu.h"
#include "win32/FormattingGlyphs.h"
#include "win32/FormattingToolbarControls.h"
#include "win32/RichEditControl.h"
#include "win32/app/CommandIds.h"

namespace corvane::win32 {

namespace {

constexpr int kFontNameWidth = 161;
constexpr int kFontSizeWidth = 36;
constexpr int kArrowsWidth = 17;
constexpr int kDropDownHeight = 300;

struct FormattingButton {
    int id;
    int glyph; // -1: a separator, or a slot of the given width for a box
    BYTE style;
    const char* hint;
    int slotWidth = 0;
};

constexpr BYTE kSeparator = BTNS_SEP;

const FormattingButton kFormattingButtons[] = {
    {CmdCut, GlyphCut, BTNS_BUTTON, "Cut"},
    {CmdCopy, GlyphCopy, BTNS_BUTTON, "Copy"},
    {CmdPaste, GlyphPaste, BTNS_BUTTON, "Paste"},
    {CmdUndo, GlyphUndo, BTNS_BUTTON, "Undo"},
    {CmdRedo, GlyphRedo, BTNS_BUTTON, "Redo"},
    {0, -1, kSeparator, nullptr},
    {IdFontNameSlot, -1, kSeparator, nullptr, kFontNameWidth},
    {0, -1, kSeparator, nullptr},
    {IdFontSizeSlot, -1, kSeparator, nullptr, kFontSizeWidth + kArrowsWidth},
    {0, -1, kSeparator, nullptr},
    {IdColorBut, GlyphColor, BTNS_WHOLEDROPDOWN, "Color"},
    {0, -1, kSeparator, nullptr},
    {IdBoldBut, GlyphBold, BTNS_CHECK, "Bold"},
    {IdItalicBut, GlyphItalic, BTNS_CHECK, "Italic"},
    {IdUnderlineBut, GlyphUnderline, BTNS_CHECK, "Underline"},
    {0, -1, kSeparator, nullptr},
    {IdLeftAlign, GlyphLeftAlign, BTNS_CHECKGROUP, "Left Align"},
    {IdCenterAlign, GlyphCenterAlign, BTNS_CHECKGROUP, "Center"},
    {IdRightAlign, GlyphRightAlign, BTNS_CHECKGROUP, "Right Align"},
    {0, -1, kSeparator, nullptr},
    {IdDecIndentBut, GlyphDecIndent, BTNS_BUTTON, "Decrease Indentation"},
    {IdIncIndentBut, GlyphIncIndent, BTNS_BUTTON, "Increase Indentation"},
    {0, -1, kSeparator, nullptr},
    {IdPreDefParams, GlyphInsertions, BTNS_WHOLEDROPDOWN, "Predefined Reply Insertions"},
};

// The buttons the formatting controls' state enables (the predefined
// insertions have a state of their own).
constexpr int kFormatButtonIds[] = {IdColorBut, IdBoldBut, IdItalicBut, IdUnderlineBut, IdLeftAlign, IdCenterAlign,
    IdRightAlign, IdDecIndentBut, IdIncIndentBut};

std::string WindowText(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

std::string ChosenItemText(HWND combo)
{
    const LRESULT chosen = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (chosen == CB_ERR)
        return {};
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(chosen), 0);
    std::string text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
    const LRESULT copied
        = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(chosen), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

int CALLBACK CollectFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM faces)
{
    reinterpret_cast<std::vector<std::string>*>(faces)->emplace_back(font->lfFaceName);
    return 1;
}

Alignment AlignmentOfButton(int id)
{
    switch (id) {
    case IdLeftAlign:
        return Alignment::Left;
    case IdCenterAlign:
        return Alignment::Center;
    case IdRightAlign:
        return Alignment::Right;
    default:
        return Alignment::Other;
    }
}

} // namespace

void TFormCorvane::CreateFormattingToolbar()
{
    SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    formattingGlyphs_ = MakeFormattingGlyphs();
    SendMessageA(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(formattingGlyphs_.Get()));
    // The texts serve as tooltips only.
    SendMessageA(toolbar_, TB_SETMAXTEXTROWS, 0, 0);
    for (const FormattingButton& button : kFormattingButtons) {
        TBBUTTON b{};
        b.idCommand = button.id;
        b.fsStyle = button.style;
        b.fsState = TBSTATE_ENABLED;
        b.iBitmap = button.glyph >= 0 ? button.glyph : button.slotWidth;
        b.iString = reinterpret_cast<INT_PTR>(button.hint);
        SendMessageA(toolbar_, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
    }
    SendMessageA(toolbar_, TB_CHECKBUTTON, IdLeftAlign, MAKELPARAM(TRUE, 0));
    // The toolbar must not paint over the boxes that stand on its slots.
    SetWindowLongPtrA(toolbar_, GWL_STYLE, GetWindowLongPtrA(toolbar_, GWL_STYLE) | WS_CLIPSIBLINGS);

    fontName_ = CreateChild("COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, IdFontName);
    fontSize_ = CreateChild("EDIT", "10", WS_TABSTOP | ES_AUTOHSCROLL, IdFontSize, WS_EX_CLIENTEDGE);
    fontSizeArrows_ = CreateChild(
        UPDOWN_CLASSA, "", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, IdFontSizeArrows);
    SendMessageA(fontSizeArrows_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(fontSize_), 0);
    SendMessageA(fontSizeArrows_, UDM_SETRANGE32, kFontSizeArrowMin, kFontSizeArrowMax);
    SendMessageA(fontSizeArrows_, UDM_SETPOS32, 0, kFontSizeStart);
    for (HWND box : {fontName_, fontSize_, fontSizeArrows_})
        SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    SendMessageA(editor_, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
    editorControl_ = std::make_unique<RichEditControl>(editor_);
    formattingToolbar_ = std::make_unique<FormattingToolbarControls>(toolbar_, fontName_, fontSize_,
        FormattingButtonIds{IdBoldBut, IdItalicBut, IdUnderlineBut, IdLeftAlign, IdCenterAlign, IdRightAlign});
    // A format change is an edit of the reply like typing, which the editor
    // itself does not report.
    formatting_ = std::make_unique<TEditorFormatting>(
        *editorControl_, *formattingToolbar_, [this] { OnControlCommand(IdEditor, EN_CHANGE); });
    placeholderMenu_.Reset(CreatePopupMenu());
}

void TFormCorvane::PlaceFormattingBoxes()
{
    RECT toolbar{};
    GetWindowRect(toolbar_, &toolbar);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&toolbar), 2);
    const bool shown = IsWindowVisible(toolbar_) != FALSE;
    auto slot = [&](int id) {
        RECT r{};
        SendMessageA(toolbar_, TB_GETRECT, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&r));
        OffsetRect(&r, toolbar.left, toolbar.top);
        return r;
    };
    const RECT name = slot(IdFontNameSlot);
    const RECT size = slot(IdFontSizeSlot);
    const int boxHeight = 22;
    const int top = name.top + (name.bottom - name.top - boxHeight) / 2;
    MoveChild(fontName_, shown ? LayoutRect{name.left, top, kFontNameWidth, kDropDownHeight} : LayoutRect{});
    MoveChild(fontSize_, shown ? LayoutRect{size.left, top, kFontSizeWidth, boxHeight} : LayoutRect{});
    MoveChild(
        fontSizeArrows_, shown ? LayoutRect{size.left + kFontSizeWidth, top, kArrowsWidth, boxHeight} : LayoutRect{});
}

void TFormCorvane::FillFontList()
{
    std::vector<std::string> faces;
    HDC screen = GetDC(nullptr);
    EnumFontsA(screen, nullptr, &CollectFace, reinterpret_cast<LPARAM>(&faces));
    ReleaseDC(nullptr, screen);
    formatting_->FillFontList(std::move(faces));
}

void TFormCorvane::RefreshFormattingToolbar()
{
    if (formatting_)
        formatting_->Refresh();
}

void TFormCorvane::OnFormattingCommand(int controlId, int code)
{
    if (!formatting_)
        return;
    switch (controlId) {
    case IdFontName:
        if (code == CBN_SELCHANGE)
            formatting_->FontNameChanged(ChosenItemText(fontName_));
        else if (code == CBN_EDITCHANGE)
            formatting_->FontNameChanged(WindowText(fontName_));
        else if (code == CBN_SETFOCUS)
            engineArming_->CommitEdits();
        break;
    case IdFontSize:
        if (code == EN_CHANGE)
            formatting_->FontSizeChanged(WindowText(fontSize_));
        else if (code == EN_SETFOCUS)
            engineArming_->CommitEdits();
        break;
    case IdBoldBut:
    case IdItalicBut:
    case IdUnderlineBut: {
        const bool down = SendMessageA(toolbar_, TB_ISBUTTONCHECKED, static_cast<WPARAM>(controlId), 0) != 0;
        const StyleButton button = controlId == IdBoldBut ? StyleButton::Bold
            : controlId == IdItalicBut                    ? StyleButton::Italic
                                                          : StyleButton::Underline;
        formatting_->StyleClicked(button, down);
        break;
    }
    case IdLeftAlign:
    case IdCenterAlign:
    case IdRightAlign:
        formatting_->AlignmentClicked(AlignmentOfButton(controlId));
        break;
    case IdDecIndentBut:
        formatting_->DecreaseIndent();
        break;
    case IdIncIndentBut:
        formatting_->IncreaseIndent();
        break;
    default:
        break;
    }
}

LRESULT TFormCorvane::OnFormattingToolbarNotify(const NMHDR& header)
{
    if (header.code != TBN_DROPDOWN)
        return 0;
    const int button = reinterpret_cast<const NMTOOLBARA&>(header).iItem;
    if (button == IdColorBut)
        ShowColorMenu(button);
    else if (button == IdPreDefParams)
        ShowPlaceholderMenu(button);
    return TBDDRET_DEFAULT;
}

POINT TFormCorvane::BelowToolButton(int buttonId) const
{
    RECT r{};
    SendMessageA(toolbar_, TB_GETRECT, static_cast<WPARAM>(buttonId), reinterpret_cast<LPARAM>(&r));
    POINT p{r.left, r.bottom};
    ClientToScreen(toolbar_, &p);
    return p;
}

void TFormCorvane::ShowColorMenu(int buttonId)
{
    CheckColorItem(colorMenu_.Get(), formatting_->ColorItemToCheck());
    const POINT at = BelowToolButton(buttonId);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        colorMenu_.Get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, window_, nullptr));
    if (IsColorMenuItem(chosen)) {
        CheckColorItem(colorMenu_.Get(), ColorMenuIndex(chosen));
        formatting_->ColorChosen(ColorMenuIndex(chosen));
    }
}

void TFormCorvane::ShowPlaceholderMenu(int buttonId)
{
    // Its items carry their own command ids; the engine handles them.
    if (GetMenuItemCount(placeholderMenu_.Get()) <= 0)
        return;
    const POINT at = BelowToolButton(buttonId);
    TrackPopupMenu(placeholderMenu_.Get(), TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, window_, nullptr);
}

void TFormCorvane::ApplyFormattingStates(const TCommandStates& s)
{
    EnableControl(fontName_, s.formattingControls);
    EnableControl(fontSize_, s.formattingControls);
    EnableControl(fontSizeArrows_, s.formattingControls);
    for (int id : kFormatButtonIds)
        EnableToolButton(toolbar_, id, s.formattingControls);
    EnableToolButton(toolbar_, IdPreDefParams, s.placeholders);
    EnableToolButton(toolbar_, CmdCut, s.cut);
    EnableToolButton(toolbar_, CmdCopy, s.copy);
    EnableToolButton(toolbar_, CmdPaste, s.paste);
    EnableToolButton(toolbar_, CmdUndo, s.undo);
    EnableToolButton(toolbar_, CmdRedo, s.redo);
}

bool TFormCorvane::MeasureMenuItem(MEASUREITEMSTRUCT& item)
{
    if (item.CtlType != ODT_MENU || !IsColorMenuItem(item.itemID))
        return false;
    MeasureColorItem(window_, item);
    return true;
}

bool TFormCorvane::DrawMenuItem(const DRAWITEMSTRUCT& item)
{
    if (item.CtlType != ODT_MENU || !IsColorMenuItem(item.itemID))
        return false;
    DrawColorItem(item);
    return true;
}

} // namespace corvane::win32
