// The reply editor and its formatting toolbar, forwarded to the portable
// formatting handlers.
#include "win32/app/EditorPanel.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/PredefinedInsertions.h"
#include "shell/EditorFormatting.h"
#include "win32/ColorMenu.h"
#include "win32/DisplayDpi.h"
#include "win32/FormattingGlyphs.h"
#include "win32/FormattingToolbarControls.h"
#include "win32/app/ChildWindows.h"
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

EditorPanel::EditorPanel(Events events) : events_(std::move(events)) { }

EditorPanel::~EditorPanel() = default;

void EditorPanel::Create(const ChildFactory& children)
{
    window_ = children.Parent();
    metrics_ = MetricsAt(children.Dpi());
    toolbar_ = children.Create(TOOLBARCLASSNAMEA, "",
        TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN, IdToolbar);
    richEditLibrary_.Reset(LoadLibraryA("riched20.dll"));
    editor_ = children.Create(RICHEDIT_CLASSA, "",
        WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL
            | ES_SELECTIONBAR,
        IdEditor, WS_EX_CLIENTEDGE);
    ZoomTextToDpi(editor_, children.Dpi());
    CreateToolbar();
    CreateFontBoxes(children);

    control_ = std::make_unique<RichEditControl>(editor_);
    // Every change of the content marks the reply edited; the caret's moves
    // refresh the toolbar.
    control_->SetNotifications(ENM_CHANGE | ENM_SELCHANGE);
    formattingToolbar_ = std::make_unique<FormattingToolbarControls>(toolbar_, fontName_, fontSize_,
        FormattingButtonIds{IdBoldBut, IdItalicBut, IdUnderlineBut, IdLeftAlign, IdCenterAlign, IdRightAlign});
    formatting_ = std::make_unique<TEditorFormatting>(*control_, *formattingToolbar_, [this] {
        if (events_.formatChanged)
            events_.formatChanged();
    });
    colorMenu_ = BuildColorMenu();
    BuildPlaceholderMenu();
    SetSpaceBefore();
}

void EditorPanel::CreateToolbar()
{
    SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    glyphs_ = MakeFormattingGlyphs(metrics_(kFormattingGlyphSize));
    SendMessageA(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(glyphs_.Get()));
    // The texts serve as tooltips only.
    SendMessageA(toolbar_, TB_SETMAXTEXTROWS, 0, 0);
    for (const FormattingButton& button : kFormattingButtons) {
        TBBUTTON b{};
        b.idCommand = button.id;
        b.fsStyle = button.style;
        b.fsState = TBSTATE_ENABLED;
        b.iBitmap = button.glyph >= 0 ? button.glyph : metrics_(button.slotWidth);
        b.iString = reinterpret_cast<INT_PTR>(button.hint);
        SendMessageA(toolbar_, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
    }
    SendMessageA(toolbar_, TB_CHECKBUTTON, IdLeftAlign, MAKELPARAM(TRUE, 0));
    // The toolbar must not paint over the boxes that stand on its slots.
    SetWindowLongPtrA(toolbar_, GWL_STYLE, GetWindowLongPtrA(toolbar_, GWL_STYLE) | WS_CLIPSIBLINGS);
}

void EditorPanel::ApplyDpi(int dpi)
{
    metrics_ = MetricsAt(dpi);
    ZoomTextToDpi(editor_, dpi);
    // Owner-drawn items keep the size they were first measured at: a new
    // menu is measured at the new scale. The checked colour stays checked.
    int checked = -1;
    for (int i = 0; i < kColorMenuItemCount; ++i)
        if (GetMenuState(colorMenu_.Get(), kColorMenuFirstId + static_cast<UINT>(i), MF_BYCOMMAND) & MF_CHECKED)
            checked = i;
    colorMenu_ = BuildColorMenu();
    CheckColorItem(colorMenu_.Get(), checked);
    UniqueImageList glyphs = MakeFormattingGlyphs(metrics_(kFormattingGlyphSize));
    SendMessageA(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(glyphs.Get()));
    glyphs_ = std::move(glyphs);
    for (const FormattingButton& button : kFormattingButtons) {
        if (button.slotWidth == 0)
            continue;
        TBBUTTONINFOA info{};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_SIZE;
        info.cx = static_cast<WORD>(metrics_(button.slotWidth));
        SendMessageA(toolbar_, TB_SETBUTTONINFOA, static_cast<WPARAM>(button.id), reinterpret_cast<LPARAM>(&info));
    }
}

void EditorPanel::CreateFontBoxes(const ChildFactory& children)
{
    fontName_ = children.Create("COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, IdFontName);
    fontSize_ = children.Create("EDIT", "10", WS_TABSTOP | ES_AUTOHSCROLL, IdFontSize, WS_EX_CLIENTEDGE);
    fontSizeArrows_ = children.Create(
        UPDOWN_CLASSA, "", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, IdFontSizeArrows);
    SendMessageA(fontSizeArrows_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(fontSize_), 0);
    SendMessageA(fontSizeArrows_, UDM_SETRANGE32, kFontSizeArrowMin, kFontSizeArrowMax);
    SendMessageA(fontSizeArrows_, UDM_SETPOS32, 0, kFontSizeStart);
    for (HWND box : {fontName_, fontSize_, fontSizeArrows_})
        SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void EditorPanel::BuildPlaceholderMenu()
{
    placeholderMenu_.Reset(CreatePopupMenu());
    for (int i = 0; i < MenuPlaceholderCount; ++i) {
        AppendMenuA(placeholderMenu_.Get(), MF_STRING, CmdPlaceholderFirst + i, PlaceholderMenuCaption(i).c_str());
        if (SeparatorFollows(i))
            AppendMenuA(placeholderMenu_.Get(), MF_SEPARATOR, 0, nullptr);
    }
}

void EditorPanel::SetSpaceBefore()
{
    PARAFORMAT2 format{};
    format.cbSize = sizeof(format);
    format.dwMask = PFM_SPACEBEFORE;
    format.dySpaceBefore = 12 * 20; // 12 points, in twips
    SendMessageA(editor_, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
}

void EditorPanel::FillFontList()
{
    std::vector<std::string> faces;
    HDC screen = GetDC(nullptr);
    EnumFontsA(screen, nullptr, &CollectFace, reinterpret_cast<LPARAM>(&faces));
    ReleaseDC(nullptr, screen);
    formatting_->FillFontList(std::move(faces));
}

void EditorPanel::Layout(const LayoutRect& toolbar, const LayoutRect& editor)
{
    MoveChild(toolbar_, toolbar);
    PlaceFontBoxes();
    MoveChild(editor_, editor);
}

void EditorPanel::HideToolbar() { ShowWindow(toolbar_, SW_HIDE); }

void EditorPanel::AutosizeToolbar() { SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0); }

void EditorPanel::PlaceFontBoxes()
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
    const LayoutMetrics& m = metrics_;
    const int boxHeight = m(22);
    const int top = name.top + (name.bottom - name.top - boxHeight) / 2;
    const int nameWidth = m(kFontNameWidth), sizeWidth = m(kFontSizeWidth);
    MoveChild(fontName_, shown ? LayoutRect{name.left, top, nameWidth, m(kDropDownHeight)} : LayoutRect{});
    MoveChild(fontSize_, shown ? LayoutRect{size.left, top, sizeWidth, boxHeight} : LayoutRect{});
    MoveChild(
        fontSizeArrows_, shown ? LayoutRect{size.left + sizeWidth, top, m(kArrowsWidth), boxHeight} : LayoutRect{});
}

void EditorPanel::Refresh()
{
    if (formatting_)
        formatting_->Refresh();
}

void EditorPanel::OnCommand(int controlId, int code)
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
            events_.boxEntered();
        break;
    case IdFontSize:
        if (code == EN_CHANGE)
            formatting_->FontSizeChanged(WindowText(fontSize_));
        else if (code == EN_SETFOCUS)
            events_.boxEntered();
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

LRESULT EditorPanel::OnNotify(const NMHDR& header)
{
    if (header.idFrom == IdEditor) {
        if (header.code == EN_SELCHANGE)
            Refresh();
        return 0;
    }
    if (header.idFrom != IdToolbar || header.code != TBN_DROPDOWN)
        return 0;
    const int button = reinterpret_cast<const NMTOOLBARA&>(header).iItem;
    if (button == IdColorBut)
        ShowColorMenu(button);
    else if (button == IdPreDefParams)
        ShowPlaceholderMenu(button);
    return TBDDRET_DEFAULT;
}

POINT EditorPanel::BelowToolButton(int buttonId) const
{
    RECT r{};
    SendMessageA(toolbar_, TB_GETRECT, static_cast<WPARAM>(buttonId), reinterpret_cast<LPARAM>(&r));
    POINT p{r.left, r.bottom};
    ClientToScreen(toolbar_, &p);
    return p;
}

void EditorPanel::ShowColorMenu(int buttonId)
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

void EditorPanel::ShowPlaceholderMenu(int buttonId)
{
    // Its items carry their own command ids and come back as commands.
    const POINT at = BelowToolButton(buttonId);
    TrackPopupMenu(placeholderMenu_.Get(), TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, window_, nullptr);
}

bool EditorPanel::RunCommand(int id)
{
    if (!control_)
        return false;
    // The Edit menu's editing commands belong to the reply editor; the name
    // and macro boxes keep their own keys.
    switch (id) {
    case CmdCopy:
        control_->Copy();
        return true;
    case CmdCut:
        control_->Cut();
        return true;
    case CmdPaste:
        control_->Paste();
        return true;
    case CmdUndo:
        control_->Undo();
        return true;
    case CmdRedo:
        control_->Redo();
        return true;
    case CmdSelectAll:
        control_->SelectAll();
        return true;
    default:
        if (id < CmdPlaceholderFirst || id >= CmdPlaceholderFirst + MenuPlaceholderCount)
            return false;
        InsertPlaceholder(id - CmdPlaceholderFirst);
        return true;
    }
}

void EditorPanel::InsertPlaceholder(int index)
{
    // In the editor's current formatting, marking the reply as changed like typing.
    control_->ReplaceSelection(MenuPlaceholderName(index));
    SetFocus(editor_);
}

void EditorPanel::CollectIdleInput(HWND focus, TIdleInput& in) const
{
    in.editorFocused = focus != nullptr && focus == editor_;
    if (!in.editorFocused)
        return;
    CHARRANGE range{};
    SendMessageA(editor_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    in.editorHasSelection = range.cpMax != range.cpMin;
    in.editorCanPaste = SendMessageA(editor_, EM_CANPASTE, 0, 0) != 0;
    in.editorCanUndo = SendMessageA(editor_, EM_CANUNDO, 0, 0) != 0;
    in.editorCanRedo = SendMessageA(editor_, EM_CANREDO, 0, 0) != 0;
}

void EditorPanel::ApplyCommandStates(const TCommandStates& s)
{
    EnableControl(toolbar_, s.formattingToolbar);
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
    EnableControl(editor_, s.editor);
}

bool EditorPanel::MeasureMenuItem(MEASUREITEMSTRUCT& item)
{
    if (item.CtlType != ODT_MENU || !IsColorMenuItem(item.itemID))
        return false;
    MeasureColorItem(window_, item);
    return true;
}

bool EditorPanel::DrawMenuItem(const DRAWITEMSTRUCT& item)
{
    if (item.CtlType != ODT_MENU || !IsColorMenuItem(item.itemID))
        return false;
    DrawColorItem(window_, item);
    return true;
}

} // namespace corvane::win32
