#include "win32/app/ButtonColumns.h"

#include <commctrl.h>

#include <utility>

#include "shell/ImageSizes.h"
#include "shell/MainLayout.h"
#include "win32/app/ChildWindows.h"
#include "win32/app/resource.h"

namespace corvane::win32 {

namespace {

constexpr int kButtonGlyphSize = 24;
// The button pictures, in the order of CommandGlyph after None.
constexpr int kGlyphIcons[]
    = {IDI_ADD_FOLDER, IDI_ADD_REPLY, IDI_DELETE, IDI_SAVE_ALL, IDI_COPY_ENTIRE, IDI_PASTE_LAST};

int GlyphImage(CommandGlyph glyph) { return static_cast<int>(glyph) - 1; }

} // namespace

void ButtonColumns::Create(const ChildFactory& children)
{
    nav_ = CreateColumn(children, NavButtons());
    save_ = CreateColumn(children, SaveButtons());
    delivery_ = CreateColumn(children, DeliveryButtons());
    ApplyDpi(children.Instance(), children.Dpi());
}

void ButtonColumns::ApplyDpi(HINSTANCE instance, int dpi)
{
    const int glyphSize = IconSizeAt(kButtonGlyphSize, dpi);
    UniqueImageList images(
        ImageList_Create(glyphSize, glyphSize, ILC_COLOR32 | ILC_MASK, static_cast<int>(std::size(kGlyphIcons)), 0));
    for (int icon : kGlyphIcons) {
        UniqueIcon glyph(
            static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(icon), IMAGE_ICON, glyphSize, glyphSize, 0)));
        ImageList_AddIcon(images.Get(), glyph.Get());
    }
    const int buttonSize = ScaleToDpi(kNavButtonSize, dpi);
    for (HWND bar : {nav_, save_, delivery_}) {
        SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.Get()));
        SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonSize, buttonSize));
    }
    // The bars no longer show the old list: it may go.
    images_ = std::move(images);
}

HWND ButtonColumns::CreateColumn(const ChildFactory& children, std::span<const CommandId> buttons)
{
    HWND bar = children.Create(TOOLBARCLASSNAMEA, "",
        TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_VERT
            | TBSTYLE_WRAPABLE,
        0);
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // The texts serve as tooltips only.
    SendMessageA(bar, TB_SETMAXTEXTROWS, 0, 0);
    for (const CommandId id : buttons) {
        const TCommand& command = *FindCommand(id);
        TBBUTTON b{};
        b.iBitmap = GlyphImage(command.glyph);
        b.idCommand = id;
        b.fsState = TBSTATE_ENABLED | TBSTATE_WRAP;
        b.fsStyle = BTNS_BUTTON;
        const std::string& hint = hints_.emplace_back(HintText(command));
        b.iString = reinterpret_cast<INT_PTR>(hint.c_str());
        SendMessageA(bar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
    }
    return bar;
}

void ButtonColumns::Layout(const MainLayout& l)
{
    MoveChild(nav_, l.navButtonBar);
    MoveChild(save_, l.saveButtonBar);
    MoveChild(delivery_, l.deliveryButtonBar);
}

void ButtonColumns::ApplyCommandStates(const TCommandStates& s)
{
    for (const auto& [toolbar, buttons] :
        {std::pair{nav_, NavButtons()}, std::pair{save_, SaveButtons()}, std::pair{delivery_, DeliveryButtons()}})
        for (const CommandId id : buttons)
            EnableToolButton(toolbar, id, CommandEnabled(id, s));
}

} // namespace corvane::win32
