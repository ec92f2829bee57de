// The main window: creation and destruction, the layout of its parts and the
// dispatch of its messages to them.
#include "win32/app/FormCorvane.h"

#include "win32/Win32Desktop.h"

#include <commctrl.h>

#include "engine/Delivery.h"
#include "library/Texts.h"
#include "library/UnitCorvaneTypes.h"
#include "platform/MessageBoxes.h"
#include "platform/Trace.h"
#include "shell/UnitGlobalParams.h"
#include "shell/UnitSettings.h"
#include "shell/UnitStartup.h"
#include "win32/DisplayDpi.h"
#include "hooks/HookHost32.h"
#include "win32/HookLibraryTrust.h"
#include "win32/HtSysHookUtils.h"
#include "win32/TipDialog.h"
#include "win32/app/ChildWindows.h"
#include "win32/app/CommandIds.h"
#include "win32/app/EngineWiring.h"
#include "win32/app/PrivateMessages.h"
#include "win32/app/TrayIcon.h"
#include "win32/app/TreeDrag.h"
#include "win32/app/resource.h"

namespace corvane::win32 {

namespace {

const char* const kWindowClass = "TFormCorvane";

constexpr UINT_PTR kTipTimerId = 2;
// The start-up tip comes this long after the message loop starts.
constexpr UINT kTipTimerInterval = 100;

#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

// The keys the gate held back after a macro's space, sent on after its paste.
class GateHeldKeys final : public IHeldKeys {
public:
    explicit GateHeldKeys(TKeyGate& gate) : gate_(gate) { }
    bool ClaimHold(std::uint8_t id) override { return gate_.ClaimHold(id); }
    void ReleaseHold(std::uint8_t id) override
    {
        if (gate_.EndHoldAtFence(id))
            SendHoldFence();
    }
    void PublishUndoChance(
        bool open, WindowId foreground, WindowId focus, std::optional<std::uint32_t> afterOwnKey) override
    {
        gate_.SetUndoChance(open, foreground, focus, afterOwnKey);
    }
    void ExpectOwnBackspaces(int count) override { gate_.ExpectOwnBackspaces(count); }

private:
    TKeyGate& gate_;
};

BOOL CALLBACK SetChildFont(HWND child, LPARAM font)
{
    SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
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

TFormCorvane::TFormCorvane(HINSTANCE instance, IFileSystem& fs, IRegistry& registry, IMessageBoxes& boxes)
    : instance_(instance),
      registry_(registry),
      boxes_(boxes),
      modes_(registry),
      library_(fs,
          {[this] { IdleUpdate(); }, [this](int x, int y) { ShowNavPopup(x, y); },
              [this] {
                  if (treeDrag_)
                      treeDrag_->Begin();
              }}),
      editor_({[this] { OnControlCommand(IdEditor, EN_CHANGE); }, [this] { library_.CommitEdits(); }})
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
    // The system's small-icon size: the tray and the caption show it.
    smallIcon_.Reset(static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_CORVANE), IMAGE_ICON,
        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    wc.hIconSm = smallIcon_.Get();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassExA(&wc);

    // The window opens on the primary display, whose DPI is the system's.
    const LayoutMetrics m = MetricsAt(SystemDpi());
    const int x = (GetSystemMetrics(SM_CXSCREEN) - m.builtInWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - m.builtInHeight) / 2;
    // WS_EX_CONTROLPARENT: Tab walks through the controls.
    CreateWindowExA(WS_EX_CONTROLPARENT, kWindowClass, kAppTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y,
        m.builtInWidth, m.builtInHeight, nullptr, nullptr, instance_, this);
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

void TFormCorvane::BringForward(HWND previous)
{
    if (IsIconic(window_))
        ShowWindow(window_, SW_RESTORE);
    Show();
    // The foreground belongs to another application; joining its input
    // thread lets the program take it.
    ForceForeground(previous, window_);
}

void TFormCorvane::ShowFromTray() { BringForward(engine_ ? engine_->ForegroundAtTick() : nullptr); }

void TFormCorvane::ShowFromTrayClick()
{
    Show(); // applies Always on Top, as every show does
    if (IsIconic(window_))
        ShowWindow(window_, SW_RESTORE);
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
        MessageBoxA(hwnd, kUnexpectedError, kAppTitle, MB_OK | MB_ICONERROR);
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
            editor_.Refresh();
        }
        return 0;
    case WM_PAINT:
        modes_.PaintSplitters();
        return 0;
    case WM_MEASUREITEM:
        if (editor_.MeasureMenuItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
            return TRUE;
        return DefWindowProcA(window_, msg, wParam, lParam);
    case WM_DRAWITEM:
        if (editor_.DrawMenuItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        return DefWindowProcA(window_, msg, wParam, lParam);
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_GETMINMAXINFO:
        modes_.OnMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == window_ && modes_.SetSplitterCursor())
            return TRUE;
        return DefWindowProcA(window_, msg, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        return OnMouse(msg, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    case WM_CAPTURECHANGED:
        if (treeDrag_ && treeDrag_->Active() && reinterpret_cast<HWND>(lParam) != window_)
            treeDrag_->End(false);
        if (modes_.DraggingSplitter() && reinterpret_cast<HWND>(lParam) != window_)
            modes_.EndSplitterDrag();
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
        SetFocus(lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_) ? lastFocus_ : library_.Tree());
        return 0;
    case WM_ACTIVATEAPP:
        if (engine_)
            engine_->OnActivateApp(wParam != FALSE);
        return 0;
    case WM_TEAM_FOLDER_CHANGED:
        library_.TeamFolderChanged();
        return 0;
    case WM_TEAM_PUBLISHED:
        library_.ShowTeamSnapshot();
        return 0;
    case WM_LIBRARY_READ:
        OnLibraryRead();
        return 0;
    case WM_FINISH_START:
        FinishStart();
        return 0;
    case WM_TIMER:
        if (wParam == kTipTimerId) {
            KillTimer(window_, kTipTimerId);
            ShowStartupTip(window_, registry_);
        } else if (wParam == kTeamTimerId) {
            library_.ShowTeamSnapshot();
        } else if (engine_) {
            engine_->OnTimer(wParam);
        }
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
        if (reinterpret_cast<HWND>(wParam) == library_.Tree() && lParam == -1) {
            const POINT p = library_.SelectionMenuPoint();
            ShowNavPopup(p.x, p.y);
            return 0;
        }
        return DefWindowProcA(window_, msg, wParam, lParam);
    case WM_TRAY_NOTIFY:
        if (tray_)
            tray_->OnNotify(lParam);
        return 0;
    default:
        if (tray_ && tray_->OnShellRestart(msg))
            return 0;
        return DefWindowProcA(window_, msg, wParam, lParam);
    }
}

LRESULT TFormCorvane::OnMouse(UINT msg, int x, int y)
{
    const bool treeDragging = treeDrag_ && treeDrag_->Active();
    if (msg == WM_LBUTTONDOWN) {
        if (!treeDragging)
            modes_.BeginSplitterDrag(x, y);
        return 0;
    }
    if (treeDragging && treeDrag_->OnMouse(msg, x, y))
        return 0;
    if (!modes_.DraggingSplitter())
        return 0;
    if (msg == WM_MOUSEMOVE)
        modes_.DragSplitter(x, y);
    else
        modes_.EndSplitterDrag();
    return 0;
}

void TFormCorvane::FormCreate()
{
    modes_.Attach({window_, [this] { LayoutControls(); }, [this] { RelayoutFormattingToolbar(); }});
    font_ = CreateMessageFontAtDpi(modes_.Dpi());
    tray_ = std::make_unique<TrayIcon>(TrayIcon::Window{window_, smallIcon_.Get(), [this] { ShowFromTrayClick(); },
        [this] {
            IdleUpdate();
            return TrayIcon::MenuState{library_.SelectedKind(), library_.SelectedReplyName(), commandStates_,
                engine_ && engine_->Engine().Paused()};
        }});
    CreateParts();
    // The library's files are read meanwhile, on a thread of their own; the
    // window shows and answers before they are in (OnLibraryRead).
    TraceStep("start: window created");
    library_.LoadReplies(window_, LibraryRootIn(GlobalParams().DataDir));
    BuildMainMenu();
    tray_->Add();

    // Keys are answered on a thread of their own from the start: nothing
    // this window does (loading the library, a dialog) holds up typing.
    gateDesktop_ = std::make_unique<Win32Desktop>();
    keyGate_ = std::make_unique<TKeyGate>(*gateDesktop_);
    heldKeys_ = std::make_unique<GateHeldKeys>(*keyGate_);
    UseReceiverThread({[gate = keyGate_.get()](const THtKeyStroke& key) { return gate->Decide(key); }, nullptr,
        [gate = keyGate_.get()](std::uint8_t id) { return gate->CheckHold(id); }});
    const THookLibrarySite hookSite = HookLibrarySiteOfThisProgram();
    const bool hooksRunning = hooks_.Start(static_cast<std::uint32_t>(reinterpret_cast<uintptr_t>(window_)), hookSite);
    TraceStep("start: hooks started");
    // 32-bit programs take the 32-bit library, whose hooks its host sets.
    hookHost32Path_ = HookHost32Path(hookSite, hooksRunning, WindowsIs64Bit());

    ReportSettingsNotSaved(EnsureDefaultSettings(registry_));
    modes_.Load();
    LayoutControls();
    editor_.Refresh();
    // A modal tip may come before the loop's first idle moment.
    IdleUpdate();
}

void TFormCorvane::OnLibraryRead()
{
    if (engine_)
        return;
    // The editing, the team library and the engine are made on the library
    // as loaded: none of them is ever left holding a part of the empty one.
    TraceStep("start: the window heard the files are read");
    const TTidyReport tidy = library_.FinishLoading();
    TraceStep("start: library built from memory");
    library_.CreateEditing(editor_.Control());
    library_.LoadTeamLibrary(window_, registry_);
    engine_ = std::make_unique<EngineWiring>(
        EngineWiring::Window{window_, buttons_.DeliveryColumn(), [this](HWND previous) { BringForward(previous); },
            [this](const char* text) {
                if (tray_)
                    tray_->ShowBalloon(text);
            }},
        registry_, boxes_, library_, editor_, *keyGate_, hooks_.KeyHook);
    TraceStep("start: engine made");
    engine_->Engine().SetHeldKeys(heldKeys_.get());
    engine_->Connect(hooks_);
    treeDrag_ = std::make_unique<TreeDrag>(window_, library_, engine_->Engine());
    editor_.Refresh();
    // The tree could not take the focus while it was disabled.
    if (GetFocus() == window_)
        SetFocus(library_.Tree());
    IdleUpdate();
    TraceStep("start: engine ready");
    PostMessageA(window_, WM_FINISH_START, 0, 0);
    ShowTidyNotice(tidy);
}

void TFormCorvane::FinishStart()
{
    hookHost32_.Start(hookHost32Path_);
    editor_.FillFontList();
    // Filling the font box cleared the face it showed.
    editor_.Refresh();
    TraceStep("start: finished");
}

void TFormCorvane::CreateParts()
{
    // Creation order is the order of the Tab key.
    const ChildFactory children(window_, instance_, static_cast<HFONT>(font_.Get()), modes_.Dpi());
    library_.CreateLists(children);
    buttons_.Create(children);
    library_.CreateReplyParams(children);
    editor_.Create(children);
}

void TFormCorvane::ReportSettingsNotSaved(bool saved)
{
    if (!saved)
        boxes_.Error(kMsgSettingsNotSaved);
}

void TFormCorvane::FormDestroy()
{
    if (engine_)
        engine_->Terminate();
    hookHost32_.End();
    hooks_.Stop();

    // Save All: the shown reply's edits and the unsaved ones of others.
    (void)library_.RunCommand(CmdSaveAll);
    ReportSettingsNotSaved(modes_.Save());
    treeDrag_.reset();
    library_.Destroy();
    if (tray_)
        tray_->Remove();
}

void TFormCorvane::LayoutControls()
{
    if (!window_ || !library_.Tree())
        return;
    const MainLayout& l = modes_.ComputeLayout();
    library_.Layout(l);
    buttons_.Layout(l);
    editor_.Layout(l.toolbar, l.editor);
}

void TFormCorvane::OnDpiChanged(int dpi, const RECT& suggested)
{
    modes_.ChangeDpi(dpi);
    // The old font stays selected in the children until each has the new one.
    UniqueGdiObject font = CreateMessageFontAtDpi(dpi);
    EnumChildWindows(window_, &SetChildFont, reinterpret_cast<LPARAM>(font.Get()));
    font_ = std::move(font);
    library_.ApplyDpi(instance_, dpi);
    buttons_.ApplyDpi(instance_, dpi);
    editor_.ApplyDpi(dpi);
    // One move to the rectangle Windows suggests; its WM_SIZE lays the parts out.
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
        suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RelayoutFormattingToolbar();
}

void TFormCorvane::RelayoutFormattingToolbar()
{
    editor_.HideToolbar();
    LayoutControls();
    editor_.AutosizeToolbar();
}

} // namespace corvane::win32
