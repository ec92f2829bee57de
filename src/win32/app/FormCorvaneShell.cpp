// Main window: creation and destruction, its controls and their layout, and the message dispatch.
#include "win32/app/FormCorvaneAdapters.h"

#include <commctrl.h>
#include <richedit.h>

#include "library/UnitCommonProcs.h"
#include "library/UnitCorvaneTypes.h"
#include "shell/TreeImages.h"
#include "shell/UnitSettings.h"
#include "shell/UnitStartup.h"
#include "shell/UnitTexts.h"
#include "shell/EditorFormatting.h"
#include "win32/ColorMenu.h"
#include "win32/FormattingToolbarControls.h"
#include "win32/ListBoxControl.h"
#include "win32/RichEditControl.h"
#include "win32/TipDialog.h"
#include "win32/TreeViewControl.h"
#include "win32/app/CommandIds.h"
#include "win32/app/PrivateMessages.h"
#include "win32/app/resource.h"

namespace corvane::win32 {

namespace {

const char* const kWindowClass = "TFormCorvane";

constexpr int kButtonGlyphSize = 24;
// The button pictures, in the order of CommandGlyph after None.
constexpr int kGlyphIcons[]
    = {IDI_ADD_FOLDER, IDI_ADD_REPLY, IDI_DELETE, IDI_SAVE_ALL, IDI_COPY_ENTIRE, IDI_PASTE_LAST};

int GlyphImage(CommandGlyph glyph) { return static_cast<int>(glyph) - 1; }

HFONT CreateMessageFont()
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return CreateFontIndirectA(&metrics.lfMessageFont);
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

} // namespace

// Creating the window runs the creation handler; the start-up tip's timer is
// armed apart from it.
class TFormCorvane::Creation final : public IMainWindowCreation {
public:
    explicit Creation(TFormCorvane& form) : f_(form) { }
    void ArmTipTimer() override { SetTimer(f_.window_, kTipTimerId, kTipTimerInterval, nullptr); }
    void RunCreationHandler() override { f_.FormCreate(); }

private:
    TFormCorvane& f_;
};

TFormCorvane::TFormCorvane(HINSTANCE instance, IFileSystem& fs, IRegistry& registry)
    : instance_(instance),
      fs_(fs),
      registry_(registry),
      modeWindow_(std::make_unique<ModeWindow>(*this)),
      engineArming_(std::make_unique<EngineArming>(*this))
{ }

TFormCorvane::~TFormCorvane() { Destroy(); }

bool TFormCorvane::Create()
{
    appIcon_.Reset(
        static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_CORVANE), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &TFormCorvane::WindowProc;
    wc.hInstance = instance_;
    wc.hIcon = appIcon_.Get();
    smallIcon_.Reset(static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_CORVANE), IMAGE_ICON, 16, 16, 0)));
    wc.hIconSm = smallIcon_.Get();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassExA(&wc);

    const int x = (GetSystemMetrics(SM_CXSCREEN) - kBuiltInWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kBuiltInHeight) / 2;
    // WS_EX_CONTROLPARENT: Tab walks through the controls.
    CreateWindowExA(WS_EX_CONTROLPARENT, kWindowClass, kAppTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y,
        kBuiltInWidth, kBuiltInHeight, nullptr, nullptr, instance_, this);
    return window_ != nullptr;
}

void TFormCorvane::Show()
{
    ShowWindow(window_, SW_SHOW);
    ApplyAlwaysOnTop();
}

void TFormCorvane::ApplyAlwaysOnTop()
{
    // Never switched off while running: the options dialog asks for a restart.
    if (ReadProgramFlag(registry_, kAlwaysOnTop))
        SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TFormCorvane::ShowAndClose()
{
    Show();
    SendMessageA(window_, WM_CLOSE, 0, 0);
}

void TFormCorvane::Destroy()
{
    if (window_)
        DestroyWindow(window_);
}

LRESULT CALLBACK TFormCorvane::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<TFormCorvane*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TFormCorvane*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    try {
        return self->HandleMessage(msg, wParam, lParam);
    } catch (const std::exception& e) {
        MessageBoxA(hwnd, e.what(), kAppTitle, MB_OK | MB_ICONERROR);
    } catch (...) {
        MessageBoxA(hwnd, "Unexpected error.", kAppTitle, MB_OK | MB_ICONERROR);
    }
    return 0;
}

LRESULT TFormCorvane::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        Creation creation(*this);
        RunMainWindowCreation(creation);
        return 0;
    }
    case WM_DESTROY:
        FormDestroy();
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
        return 0;
    case WM_CLOSE:
        // Closing only hides: the program lives on in the tray.
        ShowWindow(window_, SW_HIDE);
        return 0;
    case WM_SIZE:
        // A minimised window keeps its last layout: its panels are what is
        // stored when the program ends now.
        if (wParam != SIZE_MINIMIZED) {
            LayoutControls();
            RefreshFormattingToolbar();
        }
        return 0;
    case WM_PAINT:
        PaintSplitters();
        return 0;
    case WM_MEASUREITEM:
        if (MeasureMenuItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
            return TRUE;
        return DefWindowProcA(window_, msg, wParam, lParam);
    case WM_DRAWITEM:
        if (DrawMenuItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        return DefWindowProcA(window_, msg, wParam, lParam);
    case WM_GETMINMAXINFO:
        OnMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == window_ && SetSplitterCursor())
            return TRUE;
        return DefWindowProcA(window_, msg, wParam, lParam);
    case WM_LBUTTONDOWN:
        if (treeDragging_)
            return 0;
        BeginSplitterDrag(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_MOUSEMOVE:
        if (OnTreeDragMouse(msg, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))))
            return 0;
        if (dragging_ != SplitterId::None)
            DragSplitter(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_LBUTTONUP:
        if (OnTreeDragMouse(msg, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))))
            return 0;
        if (dragging_ != SplitterId::None)
            EndSplitterDrag();
        return 0;
    case WM_CAPTURECHANGED:
        if (treeDragging_ && reinterpret_cast<HWND>(lParam) != window_)
            EndTreeDrag(false);
        if (dragging_ != SplitterId::None && reinterpret_cast<HWND>(lParam) != window_)
            EndSplitterDrag();
        return 0;
    case WM_ENTERIDLE:
        // A dialog or menu of this window runs its own loop.
        IdleUpdate();
        return 0;
    case WM_ACTIVATE:
        // Keep the keyboard focus where the user left it; the tree at first.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window_, focus))
                lastFocus_ = focus;
        }
        return DefWindowProcA(window_, msg, wParam, lParam);
    case WM_SETFOCUS:
        SetFocus(lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_) ? lastFocus_ : navigation_);
        return 0;
    case WM_ACTIVATEAPP:
        OnActivateApp(wParam != FALSE);
        return 0;
    case WM_TIMER:
        if (wParam == kTipTimerId)
            TipTimerTimer();
        else if (wParam == kFixTimerId)
            OnFixTimer();
        return 0;
    case WM_COMMAND:
        // Menus and shortcuts send no window; the button columns send their
        // own, with a command's id.
        if (lParam != 0 && !FindCommand(LOWORD(wParam)))
            OnControlCommand(LOWORD(wParam), HIWORD(wParam));
        else
            RunCommand(LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return OnControlNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_CONTEXTMENU:
        // Shift+F10 or the menu key on the tree.
        if (reinterpret_cast<HWND>(wParam) == navigation_ && lParam == -1) {
            RECT r{};
            if (HTREEITEM item = TreeView_GetSelection(navigation_))
                TreeView_GetItemRect(navigation_, item, &r, TRUE);
            POINT p{r.left, r.bottom};
            ClientToScreen(navigation_, &p);
            ShowNavPopup(p.x, p.y);
            return 0;
        }
        return DefWindowProcA(window_, msg, wParam, lParam);
    case WM_TRAY_NOTIFY:
        OnTrayNotify(lParam);
        return 0;
    default:
        if (msg == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
            // The shell restarted: the tray icon has to be added again.
            trayIconAdded_ = false;
            AddTrayIcon();
            return 0;
        }
        return DefWindowProcA(window_, msg, wParam, lParam);
    }
}

void TFormCorvane::FormCreate()
{
    taskbarCreatedMessage_ = RegisterWindowMessageA("TaskbarCreated");
    font_.Reset(CreateMessageFont());
    CreateControls();
    BuildMainMenu();
    AddTrayIcon();

    hooks_.Start(static_cast<std::uint32_t>(reinterpret_cast<uintptr_t>(window_)));

    ReportSettingsNotSaved(EnsureDefaultSettings(registry_));
    SetEditorSpaceBefore();
    RecordListRatio(modeState_, *modeWindow_);
    FillKeyTable();
    colorMenu_ = BuildColorMenu();
    LoadModeGeometry(modeState_, *modeWindow_, registry_);
    FillFontList();
    CreateReplyLibrary();
    LoadReplyLibrary();
    CreateEditing();
    CreateEngine();
    LayoutControls();
    RefreshFormattingToolbar();
    // A modal tip may come before the loop's first idle moment.
    IdleUpdate();
}

void TFormCorvane::ReportSettingsNotSaved(bool saved)
{
    if (!saved)
        ShowError(kMsgSettingsNotSaved);
}

void TFormCorvane::PaintSplitters()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    const LayoutRect& r = layout_.splitterHorz;
    const RECT splitter{r.x, r.y, r.x + r.w, r.y + r.h};
    FillRect(dc, &splitter, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(window_, &ps);
}

void TFormCorvane::SetEditorSpaceBefore()
{
    PARAFORMAT2 format{};
    format.cbSize = sizeof(format);
    format.dwMask = PFM_SPACEBEFORE;
    format.dySpaceBefore = 12 * 20; // 12 points, in twips
    SendMessageA(editor_, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
}

void TFormCorvane::TipTimerTimer()
{
    KillTimer(window_, kTipTimerId);
    ShowStartupTip(window_, registry_);
}

void TFormCorvane::FormDestroy()
{
    terminating_ = true;
    hooks_.Stop();

    // Save All: the shown reply's edits and the unsaved ones of others.
    (void)RunEditingCommand(CmdSaveAll);
    ReportSettingsNotSaved(SaveModeGeometry(modeState_, *modeWindow_, registry_));
    DestroyEditing();
    library_.reset();
    RemoveTrayIcon();
}

HWND TFormCorvane::CreateChild(const char* className, const char* text, DWORD style, int id, DWORD exStyle)
{
    HWND child = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    if (child)
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    return child;
}

void TFormCorvane::CreateControls()
{
    navigation_ = CreateChild(WC_TREEVIEWA, "",
        WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS, IdNavigation,
        WS_EX_CLIENTEDGE);
    treeImages_.Reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, kTreeImageCount, 0));
    // In TreeImage order: folder closed and open, reply and reply selected.
    for (int icon : {IDI_FOLDER, IDI_FOLDER_OPEN, IDI_REPLY, IDI_REPLY_SELECTED}) {
        UniqueIcon small(static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(icon), IMAGE_ICON, 16, 16, 0)));
        ImageList_AddIcon(treeImages_.Get(), small.Get());
    }
    TreeView_SetImageList(navigation_, treeImages_.Get(), TVSIL_NORMAL);
    TreeView_SetIndent(navigation_, kTreeIndent);

    captionMacros_ = CreateChild("STATIC", kCaptionListOfMacros, SS_LEFT, IdCaptionMacros);
    captionHotKeys_ = CreateChild("STATIC", kCaptionListOfHotKeys, SS_LEFT, IdCaptionHotKeys);
    const DWORD listStyle = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    listMacros_ = CreateChild("LISTBOX", "", listStyle, IdListMacros, WS_EX_CLIENTEDGE);
    listHotKeys_ = CreateChild("LISTBOX", "", listStyle, IdListHotKeys, WS_EX_CLIENTEDGE);

    buttonImages_.Reset(ImageList_Create(
        kButtonGlyphSize, kButtonGlyphSize, ILC_COLOR32 | ILC_MASK, static_cast<int>(std::size(kGlyphIcons)), 0));
    for (int icon : kGlyphIcons) {
        UniqueIcon glyph(static_cast<HICON>(
            LoadImageA(instance_, MAKEINTRESOURCEA(icon), IMAGE_ICON, kButtonGlyphSize, kButtonGlyphSize, 0)));
        ImageList_AddIcon(buttonImages_.Get(), glyph.Get());
    }
    navToolbar_ = CreateButtonColumn(NavButtons());
    saveToolbar_ = CreateButtonColumn(SaveButtons());
    deliveryToolbar_ = CreateButtonColumn(DeliveryButtons());

    labelName_ = CreateChild("STATIC", "Name:", SS_LEFT | SS_CENTERIMAGE, IdLabelName);
    editName_ = CreateChild("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, IdEditName, WS_EX_CLIENTEDGE);
    labelMacro_ = CreateChild("STATIC", "Macro:", SS_LEFT | SS_CENTERIMAGE, IdLabelMacro);
    editMacro_ = CreateChild("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, IdEditMacro, WS_EX_CLIENTEDGE);
    checkHotKey_ = CreateChild("BUTTON", "Hot Key:", WS_TABSTOP | BS_AUTOCHECKBOX, IdCheckHotKey);
    labelCtrlAlt_ = CreateChild("STATIC", "<CTRL>+<ALT>+", SS_LEFT | SS_CENTERIMAGE, IdLabelCtrlAlt);
    checkShift_ = CreateChild("BUTTON", "<SHIFT>", WS_TABSTOP | BS_AUTOCHECKBOX, IdCheckShift);
    labelPlus_ = CreateChild("STATIC", "+", SS_CENTER | SS_CENTERIMAGE, IdLabelPlus);
    comboKey_ = CreateChild("COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, IdComboKey);

    toolbar_ = CreateChild(TOOLBARCLASSNAMEA, "",
        TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN, IdToolbar);
    richEditLibrary_.Reset(LoadLibraryA("riched20.dll"));
    editor_ = CreateChild(RICHEDIT_CLASSA, "",
        WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL
            | ES_SELECTIONBAR,
        IdEditor,
        WS_EX_CLIENTEDGE);
    CreateFormattingToolbar();
}

HWND TFormCorvane::CreateButtonColumn(std::span<const CommandId> buttons)
{
    HWND bar = CreateChild(TOOLBARCLASSNAMEA, "",
        TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_VERT
            | TBSTYLE_WRAPABLE,
        0);
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(buttonImages_.Get()));
    SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(kNavButtonSize, kNavButtonSize));
    // The texts serve as tooltips only.
    SendMessageA(bar, TB_SETMAXTEXTROWS, 0, 0);
    for (const CommandId id : buttons) {
        const TCommand& command = *FindCommand(id);
        TBBUTTON b{};
        b.iBitmap = GlyphImage(command.glyph);
        b.idCommand = id;
        b.fsState = TBSTATE_ENABLED | TBSTATE_WRAP;
        b.fsStyle = BTNS_BUTTON;
        const std::string& hint = buttonHints_.emplace_back(HintText(command));
        b.iString = reinterpret_cast<INT_PTR>(hint.c_str());
        SendMessageA(bar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
    }
    return bar;
}

void TFormCorvane::MoveChild(HWND child, const LayoutRect& r)
{
    if (!child)
        return;
    const bool visible = r.w > 0 && r.h > 0;
    ShowWindow(child, visible ? SW_SHOW : SW_HIDE);
    if (visible)
        MoveWindow(child, r.x, r.y, r.w, r.h, TRUE);
}

void TFormCorvane::LayoutControls()
{
    if (!window_ || !navigation_)
        return;
    RECT client{};
    GetClientRect(window_, &client);
    const LayoutRect oldSplitter = layout_.splitterHorz;
    layout_ = ComputeMainLayout(client.right, client.bottom, panelSizes_, compact_);
    const MainLayout& l = layout_;
    for (const LayoutRect& r : {oldSplitter, l.splitterHorz}) {
        const RECT area{r.x, r.y, r.x + r.w, r.y + r.h};
        InvalidateRect(window_, &area, TRUE);
    }
    MoveChild(navigation_, l.tree);
    MoveChild(captionMacros_, l.macrosCaption);
    MoveChild(listMacros_, l.macrosList);
    MoveChild(captionHotKeys_, l.hotKeysCaption);
    MoveChild(listHotKeys_, l.hotKeysList);
    MoveChild(navToolbar_, l.navButtonBar);
    MoveChild(saveToolbar_, l.saveButtonBar);
    MoveChild(deliveryToolbar_, l.deliveryButtonBar);
    const ReplyParamsLayout& p = l.params;
    MoveChild(labelName_, p.labelName);
    MoveChild(editName_, p.editName);
    MoveChild(labelMacro_, p.labelMacro);
    MoveChild(editMacro_, p.editMacro);
    MoveChild(checkHotKey_, p.checkHotKey);
    MoveChild(labelCtrlAlt_, p.labelCtrlAlt);
    MoveChild(checkShift_, p.checkShift);
    MoveChild(labelPlus_, p.labelPlus);
    MoveChild(comboKey_, p.comboKey);
    MoveChild(toolbar_, l.toolbar);
    PlaceFormattingBoxes();
    MoveChild(editor_, l.editor);
}

} // namespace corvane::win32
