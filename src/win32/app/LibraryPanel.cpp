// The library panel's controls, their notifications forwarded to the
// library editing handlers.
#include "win32/app/LibraryPanel.h"

#include "editing/LibraryEditing.h"
#include "editing/TeamLibrary.h"
#include "editing/TeamSync.h"
#include "win32/Win32FileSystem.h"
#include "library/SharedWatch.h"
#include "win32/FolderWatcher.h"
#include "library/LibraryFiles.h"
#include "library/LibraryReadAhead.h"
#include "library/LibraryTidy.h"
#include "library/ReplyCache.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitCorvaneTypes.h"
#include "platform/Trace.h"
#include "shell/ImageSizes.h"
#include "shell/TreeImages.h"
#include "library/Texts.h"
#include "win32/Clipboard.h"
#include "win32/ListBoxControl.h"
#include "win32/PanelControlAdapters.h"
#include "win32/TreeViewControl.h"
#include "win32/Win32FileSystem.h"
#include "win32/Win32KeyboardLayouts.h"
#include "win32/app/ChildWindows.h"
#include "win32/app/CommandIds.h"
#include "win32/app/PrivateMessages.h"
#include "win32/app/resource.h"

namespace corvane::win32 {

namespace {

constexpr UINT_PTR kReplyParamSubclassId = 1;
} // namespace

struct LibraryPanel::Reader {
    HWND window = nullptr;
    std::string root;
    TTidyReport tidy;
    TFilesRead files;
    TFoldersGoneInto folders;
    UniqueKernelHandle filesIn; // set once `tidy` and `files` are in
    UniqueKernelHandle thread;

    static DWORD WINAPI Run(void* self) noexcept
    {
        auto& reader = *static_cast<Reader*>(self);
        std::string cachePath;
        std::optional<std::string> cache; // what the cache file is to hold, when it is out of date
        try {
            Win32FileSystem fs;
            const long long started = NowMilliseconds();
            const std::string folder = LocalDataFolder();
            cachePath = folder.empty() ? folder : folder + "\\" + kReplyCacheFileName;
            TLibraryStart start = ReadLibraryAtStart(fs, reader.root, cachePath, started);
            reader.tidy = std::move(start.tidy);
            reader.files = std::move(start.read.files);
            reader.folders = std::move(start.read.folders);
            cache = std::move(start.cache);
        } catch (...) {
            reader.files.clear(); // the loading reads from the disk itself
            reader.folders.clear();
            cache.reset();
        }
        const HWND window = reader.window;
        SetEvent(reader.filesIn.Get());
        PostMessageA(window, WM_LIBRARY_READ, 0, 0);
        if (cache) {
            // While the window's thread builds the library from what was read.
            SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
            try {
                Win32FileSystem fs;
                if (WriteReplyCache(fs, cachePath, *cache))
                    TraceStep("start: reply cache written");
            } catch (...) {
                // Only the next start's time depends on the cache.
            }
        }
        return 0;
    }
};

LibraryPanel::LibraryPanel(IFileSystem& fs, Events events)
    : fs_(fs), events_(std::move(events)), watch_(std::make_unique<TSharedWatch>(fs))
{ }

LibraryPanel::~LibraryPanel() = default;

void LibraryPanel::CreateLists(const ChildFactory& children)
{
    navigation_ = children.Create(WC_TREEVIEWA, "",
        WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS, IdNavigation,
        WS_EX_CLIENTEDGE);
    ApplyDpi(children.Instance(), children.Dpi());

    captionMacros_ = children.Create("STATIC", kCaptionListOfMacros, SS_LEFT, IdCaptionMacros);
    captionHotKeys_ = children.Create("STATIC", kCaptionListOfHotKeys, SS_LEFT, IdCaptionHotKeys);
    const DWORD listStyle = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    listMacros_ = children.Create("LISTBOX", "", listStyle, IdListMacros, WS_EX_CLIENTEDGE);
    listHotKeys_ = children.Create("LISTBOX", "", listStyle, IdListHotKeys, WS_EX_CLIENTEDGE);
}

void LibraryPanel::ApplyDpi(HINSTANCE instance, int dpi)
{
    constexpr int kTreeImageUnits = 16;
    const int size = IconSizeAt(kTreeImageUnits, dpi);
    UniqueImageList images(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, kTreeImageCount, 0));
    // In TreeImage order: folder closed and open, reply and reply selected.
    for (int icon : {IDI_FOLDER, IDI_FOLDER_OPEN, IDI_REPLY, IDI_REPLY_SELECTED, IDI_TEAM_LIBRARY, IDI_TEAM_OFFLINE,
             IDI_REPLY_CONFLICT}) {
        UniqueIcon picture(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(icon), IMAGE_ICON, size, size, 0)));
        ImageList_AddIcon(images.Get(), picture.Get());
    }
    TreeView_SetImageList(navigation_, images.Get(), TVSIL_NORMAL);
    TreeView_SetIndent(navigation_, ScaleToDpi(kTreeIndent, dpi));
    treeImages_ = std::move(images);
}

void LibraryPanel::CreateReplyParams(const ChildFactory& children)
{
    labelName_ = children.Create("STATIC", kLabelName, SS_LEFT | SS_CENTERIMAGE, IdLabelName);
    editName_ = children.Create("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, IdEditName, WS_EX_CLIENTEDGE);
    labelMacro_ = children.Create("STATIC", kLabelMacro, SS_LEFT | SS_CENTERIMAGE, IdLabelMacro);
    editMacro_ = children.Create("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, IdEditMacro, WS_EX_CLIENTEDGE);
    checkHotKey_ = children.Create("BUTTON", kLabelHotKey, WS_TABSTOP | BS_AUTOCHECKBOX, IdCheckHotKey);
    labelCtrlAlt_ = children.Create("STATIC", kLabelCtrlAlt, SS_LEFT | SS_CENTERIMAGE, IdLabelCtrlAlt);
    checkShift_ = children.Create("BUTTON", kLabelShift, WS_TABSTOP | BS_AUTOCHECKBOX, IdCheckShift);
    labelPlus_ = children.Create("STATIC", "+", SS_CENTER | SS_CENTERIMAGE, IdLabelPlus);
    comboKey_ = children.Create("COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, IdComboKey);
    FillKeyTable();
}

void LibraryPanel::FillKeyTable()
{
    SendMessageA(comboKey_, CB_RESETCONTENT, 0, 0);
    for (char key : kHotKeyChars) {
        const char item[2] = {key, '\0'};
        SendMessageA(comboKey_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SendMessageA(comboKey_, CB_SETCURSEL, 0, 0);
}

void LibraryPanel::LoadReplies(HWND window, const std::string& root)
{
    view_ = std::make_unique<TreeViewControl>(navigation_);
    tree_ = std::make_unique<TLazyTree>(*view_);
    hotKeyList_ = std::make_unique<ListBoxControl>(listHotKeys_);
    macroList_ = std::make_unique<ListBoxControl>(listMacros_);
    readAhead_ = std::make_unique<TReadAheadFileSystem>(*watch_);
    library_ = std::make_unique<TRepList>(*tree_, *hotKeyList_, *macroList_, *readAhead_, root);

    // The files are read on a thread of their own while this one shows the
    // window and answers it; the library is built from memory once they are in.
    // The empty tree takes no input meanwhile: it says "not yet" to the user.
    EnableWindow(navigation_, FALSE);
    reader_ = std::make_unique<Reader>();
    reader_->window = window;
    reader_->root = library_->Root();
    reader_->filesIn.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (reader_->filesIn)
        reader_->thread.Reset(CreateThread(nullptr, 0, &Reader::Run, reader_.get(), 0, nullptr));
    if (!reader_->thread)
        PostMessageA(window, WM_LIBRARY_READ, 0, 0); // read from the disk when it comes
}

TTidyReport LibraryPanel::FinishLoading()
{
    if (loaded_)
        return {};
    TTidyReport tidy = BuildLibrary();
    EnableWindow(navigation_, TRUE);
    return tidy;
}

TTidyReport LibraryPanel::BuildLibrary()
{
    loaded_ = true;
    TTidyReport tidy;
    // The reader may still be writing the reply cache: it stays until Destroy.
    if (reader_ && reader_->thread) {
        WaitForSingleObject(reader_->filesIn.Get(), INFINITE);
        tidy = std::move(reader_->tidy);
        readAhead_->Offer(std::move(reader_->files), std::move(reader_->folders));
    } else {
        tidy = TidyLibrary(fs_, library_->Root());
    }
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    library_->BeginBulkLoad();
    struct EndLoad {
        TRepList& library;
        TReadAheadFileSystem& files;
        HCURSOR cursor;
        ~EndLoad()
        {
            SetCursor(cursor);
            library.EndBulkLoad();
            files.Drop();
        }
    } endLoad{*library_, *readAhead_, previous};
    library_->ClearAll();
    library_->LoadFolderIndex(library_->RootIndexPath(), nullptr);
    TraceStep("start: library loaded, lists not yet filled");
    return tidy;
}

void LibraryPanel::CreateEditing(IReplyEditor& editor)
{
    nameEdit_ = std::make_unique<LineEditControl>(editName_);
    macroEdit_ = std::make_unique<LineEditControl>(editMacro_);
    hotKeyBox_ = std::make_unique<CheckBoxControl>(checkHotKey_);
    shiftBox_ = std::make_unique<CheckBoxControl>(checkShift_);
    keyList_ = std::make_unique<DropDownListControl>(comboKey_);
    editing_ = std::make_unique<TLibraryEditing>(
        *library_, *watch_, TReplyPanel{*nameEdit_, *macroEdit_, *hotKeyBox_, *shiftBox_, *keyList_, editor});
    static const Win32KeyboardLayouts layouts;
    editing_->SetKeyboardLayouts(&layouts);
    SubclassReplyParams();
    editing_->NavigationChange();
}

void LibraryPanel::Destroy()
{
    if (reader_ && reader_->thread)
        WaitForSingleObject(reader_->thread.Get(), INFINITE);
    reader_.reset();
    if (teamWindow_)
        KillTimer(teamWindow_, kTeamTimerId);
    teamFolderWatcher_.reset();
    if (teamSync_)
        teamSync_->Stop();
    team_.reset();
    editing_.reset();
    library_.reset();
}

void LibraryPanel::Layout(const MainLayout& l)
{
    MoveChild(navigation_, l.tree);
    MoveChild(captionMacros_, l.macrosCaption);
    MoveChild(listMacros_, l.macrosList);
    MoveChild(captionHotKeys_, l.hotKeysCaption);
    MoveChild(listHotKeys_, l.hotKeysList);
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
}

void LibraryPanel::CommitEdits()
{
    if (editing_)
        editing_->CommitEdits();
}

bool LibraryPanel::RunCommand(int id)
{
    if (id == CmdCopyName) {
        CopyNodeName();
        return true;
    }
    if (!editing_)
        return false;
    switch (id) {
    case CmdAddFolder:
        editing_->NavAddFolderExecute();
        return true;
    case CmdAddReply:
        editing_->NavAddReplyExecute();
        return true;
    case CmdDelete:
        editing_->NavDeleteExecute();
        return true;
    case CmdSaveAll:
        editing_->EditorForceSaveExecute();
        return true;
    default:
        return false;
    }
}

void LibraryPanel::CopyNodeName()
{
    if (tree_ && tree_->Selected())
        (void)ReplaceClipboard(GetParent(navigation_), {{CF_TEXT, tree_->Label(tree_->Selected())}});
}

void LibraryPanel::OnCommand(int controlId, int code)
{
    if (!editing_)
        return;
    switch (controlId) {
    case IdEditName:
        if (code == EN_CHANGE)
            editing_->EditNameChange();
        else if (code == EN_SETFOCUS)
            editing_->ControlEnter();
        break;
    case IdEditMacro:
        if (code == EN_CHANGE)
            editing_->EditMacroChange();
        else if (code == EN_SETFOCUS)
            editing_->ControlEnter();
        break;
    case IdEditor:
        if (code == EN_CHANGE)
            editing_->EditorChange();
        else if (code == EN_SETFOCUS)
            editing_->ControlEnter();
        break;
    case IdComboKey:
        if (code == CBN_SELCHANGE)
            editing_->ComboBoxKeyChange();
        else if (code == CBN_SETFOCUS)
            editing_->ControlEnter();
        break;
    case IdListMacros:
        if (code == LBN_SELCHANGE)
            editing_->ListMacrosClick();
        break;
    case IdListHotKeys:
        if (code == LBN_SELCHANGE)
            editing_->ListHotKeysClick();
        break;
    default:
        break;
    }
}

bool LibraryPanel::OnTreeNotify(NMHDR& header, LRESULT& result)
{
    result = 0;
    switch (header.code) {
    case TVN_SELCHANGINGA:
    case TVN_SELCHANGINGW:
        if (editing_)
            editing_->NavigationChanging(); // never vetoes
        return true;
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        if (editing_)
            editing_->NavigationChange();
        events_.stateChanged();
        return true;
    case TVN_ENDLABELEDITA: {
        const auto& edit = reinterpret_cast<const NMTVDISPINFOA&>(header);
        // Without text the edit was cancelled. The handler sets the label
        // itself, so the control keeps what it is given (FALSE).
        if (editing_ && edit.item.pszText)
            editing_->NavigationEdited(tree_->NodeOfView(edit.item.hItem), edit.item.pszText);
        return true;
    }
    case TVN_BEGINDRAGA:
    case TVN_BEGINDRAGW: {
        if (!editing_)
            return false;
        // The dragged node is the selected one.
        const TreeNode item = tree_->NodeOfView(reinterpret_cast<const NMTREEVIEWA&>(header).itemNew.hItem);
        if (tree_->Selected() != item)
            editing_->SelectNode(item);
        events_.dragStarted();
        return true;
    }
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW:
        // A folder's children go into the control when it is first opened.
        if (tree_ && (reinterpret_cast<const NMTREEVIEWA&>(header).action & TVE_EXPAND))
            tree_->Expanding(reinterpret_cast<const NMTREEVIEWA&>(header).itemNew.hItem);
        return true;
    case NM_RCLICK:
        OnTreeRightClick();
        result = TRUE;
        return true;
    case TVN_GETDISPINFOA:
    case TVN_GETDISPINFOW:
        // Both structures start alike up to the image fields.
        SetTreeImages(reinterpret_cast<NMTVDISPINFOA&>(header).item);
        return true;
    default:
        return false;
    }
}

void LibraryPanel::SetTreeImages(TVITEMA& item) const
{
    if (!(item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE)))
        return;
    const TreeNode node = tree_ ? tree_->NodeOfView(item.hItem) : nullptr;
    const bool hasChildren = node && tree_->ChildCount(node) > 0;
    const bool expanded = (TreeView_GetItemState(navigation_, item.hItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    const TTreeNodeImages images = TreeNodeImages(
        hasChildren, expanded, library_ && node ? NodeMarkOf(*library_, library_->RepOf(node)) : TNodeMark::None);
    if (item.mask & TVIF_IMAGE)
        item.iImage = images.normal;
    if (item.mask & TVIF_SELECTEDIMAGE)
        item.iSelectedImage = images.selected;
}

void LibraryPanel::OnTreeRightClick()
{
    // The node under the cursor becomes the selected one, as a user expects.
    POINT at{};
    GetCursorPos(&at);
    TVHITTESTINFO hit{};
    hit.pt = at;
    ScreenToClient(navigation_, &hit.pt);
    if (editing_)
        editing_->NavigationRightButtonDown(tree_->NodeOfView(TreeView_HitTest(navigation_, &hit)));
    SetFocus(navigation_);
    events_.treeMenu(at.x, at.y);
}

POINT LibraryPanel::SelectionMenuPoint() const
{
    RECT r{};
    if (HTREEITEM item = TreeView_GetSelection(navigation_))
        TreeView_GetItemRect(navigation_, item, &r, TRUE);
    POINT p{r.left, r.bottom};
    ClientToScreen(navigation_, &p);
    return p;
}

// ---------------------------------------------------------------- reply parameter keys and clicks

void LibraryPanel::SubclassReplyParams()
{
    for (HWND control : {editName_, editMacro_, checkHotKey_, checkShift_})
        SetWindowSubclass(
            control, &LibraryPanel::ReplyParamProc, kReplyParamSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK LibraryPanel::ReplyParamProc(
    HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    auto* panel = reinterpret_cast<LibraryPanel*>(self);
    const int controlId = GetDlgCtrlID(hwnd);
    try {
        switch (msg) {
        case WM_GETDLGCODE:
            // Enter belongs to the name and macro boxes.
            if (lParam && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN
                && reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN)
                return DefSubclassProc(hwnd, msg, wParam, lParam) | DLGC_WANTMESSAGE;
            break;
        case WM_CHAR:
            if (panel->ReplyParamKeyPress(controlId, static_cast<char>(wParam)))
                return 0;
            break;
        case WM_LBUTTONUP: {
            // The box toggles on the release; the handler comes after it.
            const LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
            RECT client{};
            GetClientRect(hwnd, &client);
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (PtInRect(&client, at))
                panel->ReplyParamLeftButtonUp(controlId);
            return result;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, &LibraryPanel::ReplyParamProc, kReplyParamSubclassId);
            break;
        default:
            break;
        }
    } catch (const std::exception& e) {
        MessageBoxA(GetAncestor(hwnd, GA_ROOT), e.what(), kAppTitle, MB_OK | MB_ICONERROR);
        return 0;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

bool LibraryPanel::ReplyParamKeyPress(int controlId, char key)
{
    if (!editing_)
        return false;
    if (controlId == IdEditName)
        return editing_->EditNameKeyPress(key);
    if (controlId == IdEditMacro)
        return editing_->EditMacroKeyPress(key);
    return false;
}

void LibraryPanel::ReplyParamLeftButtonUp(int controlId)
{
    if (!editing_)
        return;
    if (controlId == IdCheckHotKey)
        editing_->CheckBoxHotKeyMouseUp();
    else if (controlId == IdCheckShift)
        editing_->CheckBoxShiftMouseUp();
    events_.stateChanged();
}

// ---------------------------------------------------------------- state

TRep* LibraryPanel::SelectedRep() const
{
    if (!library_ || !tree_)
        return nullptr;
    return library_->RepOf(tree_->Selected());
}

SelectedNode LibraryPanel::SelectedKind() const
{
    const TreeNode node = tree_ ? tree_->Selected() : nullptr;
    if (!node)
        return SelectedNode::None;
    // The window tells folders from replies by their children.
    return tree_->ChildCount(node) > 0 ? SelectedNode::Folder : SelectedNode::Reply;
}

std::string LibraryPanel::SelectedReplyName() const
{
    const TRep* selected = SelectedRep();
    return selected ? tree_->Label(selected->Node) : std::string();
}

void LibraryPanel::CollectIdleInput(HWND focus, TIdleInput& in) const
{
    in.selected = SelectedKind();
    in.nameChanged = editing_ && editing_->NameChanged();
    in.replyChanged = editing_ && (editing_->ReplyChanged() || editing_->HasUnsavedEdits());
    in.treeFocused = focus != nullptr && focus == navigation_;
    in.hotKeyChecked = SendMessageA(checkHotKey_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    const TRep* selected = SelectedRep();
    in.selectionReadOnly = selected && library_ && !library_->CanChange(selected);
}

void LibraryPanel::ApplyCommandStates(const TCommandStates& s)
{
    EnableControl(labelName_, s.name);
    EnableControl(editName_, s.name);
    EnableControl(labelMacro_, s.macro);
    EnableControl(editMacro_, s.macro);
    EnableControl(checkHotKey_, s.hotKeyBox);
    EnableControl(labelCtrlAlt_, s.hotKeyParts);
    EnableControl(checkShift_, s.hotKeyParts);
    EnableControl(labelPlus_, s.hotKeyParts);
    EnableControl(comboKey_, s.hotKeyParts);
}

} // namespace corvane::win32
