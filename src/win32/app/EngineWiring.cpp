// The expansion engine's events in, its requests of the window carried out.
#include "win32/app/EngineWiring.h"

#include <commctrl.h>

#include <deque>

#include "engine/Delivery.h"
#include "engine/HookWiring.h"
#include "engine/ReplyPicker.h"
#include "library/UnitCorvaneTypes.h"
#include "shell/UnitSettings.h"
#include "win32/Clipboard.h"
#include "win32/HtSysHookUtils.h"
#include "win32/MacroInsertsDialog.h"
#include "win32/PickerWindow.h"
#include "win32/TreeViewControl.h"
#include "win32/Win32Desktop.h"
#include "win32/app/CommandIds.h"
#include "win32/app/EditorPanel.h"
#include "win32/app/LibraryPanel.h"

namespace corvane::win32 {

namespace {

constexpr UINT_PTR kFixTimerId = 1;
// The engine's tick: how often hot keys and chords are polled.
constexpr UINT kFixTimerInterval = 50;

} // namespace

// What the engine asks of the main window.
class EngineWiring::Adapter final : public IEngineWindow {
public:
    Adapter(EngineWiring& wiring, IRegistry& registry) : w_(wiring), registry_(registry) { }

    TreeNode SelectedNode() const override { return w_.library_.TreeControl()->Selected(); }
    void CommitEdits() override { w_.library_.CommitEdits(); }
    // The editor's notifications would refresh the formatting toolbar and
    // mark edits for every load of a delivery; it ends as it began.
    void SetDelivering(bool delivering) override
    {
        if (delivering)
            quiet_.emplace_back(w_.editor_.Control());
        else if (!quiet_.empty())
            quiet_.pop_back();
    }
    WindowId MainWindow() const override { return ToWindowId(w_.window_.handle); }
    void ShowFromHotKey(WindowId from) override
    {
        w_.foregroundAtTick_ = ToHwnd(from);
        w_.window_.showFrom(w_.foregroundAtTick_);
    }
    void TakeForeground() override { ForceForeground(GetForegroundWindow(), w_.window_.handle); }
    bool ParametersDialogEnabled() const override { return ReadProgramFlag(registry_, kShowMacroIns); }
    std::string ConsoleClasses() const override { return ReadProgramString(registry_, kConsoleClasses); }
    bool KeepClipboard() const override { return ReadProgramFlag(registry_, kKeepClipboard); }
    bool AskParameters(const std::string& list, const TDialogPlace& place, std::string& values) override
    {
        if (!w_.macroInserts_->Ask(w_.window_.handle, list, place))
            return false;
        values = w_.macroInserts_->Values();
        return true;
    }
    bool ParametersDialogVisible() const override { return w_.macroInserts_->Visible(); }
    void CancelParametersDialog() override { w_.macroInserts_->Cancel(); }
    bool PickerEnabled() const override { return ReadPickerEnabled(registry_); }
    std::string ExcludedPrograms() const override { return ReadProgramString(registry_, kExcludedPrograms); }
    TPicked PickReply(WindowId target) override
    {
        TReplyPicker picker(TReplySearch(SearchEntriesOf(*w_.library_.Library())),
            TRecentDeliveries(ReadProgramString(registry_, kRecentReplies)));
        return w_.picker_->Pick(w_.window_.handle, ToHwnd(target), picker);
    }
    void ReplyDelivered(const TRep& reply) override
    {
        TRecentDeliveries recent(ReadProgramString(registry_, kRecentReplies));
        recent.Record(ReplyKeyOf(reply, w_.library_.Library()->Root()));
        (void)WriteProgramString(registry_, kRecentReplies, recent.Stored());
    }
    void ShowNotice(const char* text) override
    {
        if (w_.window_.notice)
            w_.window_.notice(text);
    }

private:
    EngineWiring& w_;
    IRegistry& registry_;
    std::deque<RichEditControl::Quiet> quiet_;
};

// The switches that activation flips for the expansion engine.
class EngineWiring::ArmingAdapter final : public IEngineArming {
public:
    explicit ArmingAdapter(EngineWiring& wiring) : w_(wiring) { }
    void SetFixTimerEnabled(bool enabled) override { w_.SetFixTimerEnabled(enabled); }
    void SetAppInactive(bool inactive) override { w_.engine_->SetAppInactive(inactive); }
    void CommitEdits() override { w_.library_.CommitEdits(); }

private:
    EngineWiring& w_;
};

EngineWiring::EngineWiring(
    const Window& window, IRegistry& registry, IMessageBoxes& boxes, LibraryPanel& library, EditorPanel& editor)
    : window_(window),
      library_(library),
      editor_(editor),
      desktop_(std::make_unique<Win32Desktop>()),
      clock_(std::make_unique<Win32Clock>()),
      clipboard_(std::make_unique<Win32ReplyClipboard>(
          GetModuleHandleA(nullptr), [this](std::uint32_t reader) { engine_->ClipboardRead(reader); },
          [this] { return engine_->ClipboardTick(); })),
      macroInserts_(std::make_unique<TFormMacroInserts>(registry)),
      picker_(std::make_unique<TFormReplyPicker>()),
      adapter_(std::make_unique<Adapter>(*this, registry)),
      arming_(std::make_unique<ArmingAdapter>(*this)),
      engine_(std::make_unique<TEngine>(
          TEngineParts{*library.Library(), editor.Control(), *adapter_, *desktop_, *clock_, boxes, *clipboard_}))
{ }

EngineWiring::~EngineWiring() = default;

IEngineArming& EngineWiring::Arming() { return *arming_; }

void EngineWiring::Terminate()
{
    terminating_ = true;
    engine_->FinishClipboard();
}

void EngineWiring::Connect(THtProgramHooks& hooks)
{
    ConnectEngine(hooks, *engine_, [this] { return terminating_; });
}

void EngineWiring::OnActivateApp(bool active)
{
    if (active)
        AppActivated(*arming_);
    else
        AppDeactivated(*arming_);
}

void EngineWiring::SetFixTimerEnabled(bool enabled)
{
    if (enabled == fixTimerEnabled_)
        return;
    fixTimerEnabled_ = enabled;
    if (enabled)
        SetTimer(window_.handle, kFixTimerId, kFixTimerInterval, nullptr);
    else
        KillTimer(window_.handle, kFixTimerId);
}

bool EngineWiring::OnTimer(UINT_PTR id)
{
    if (id != kFixTimerId)
        return false;
    // Off while an action runs, so that a dialog it opens sees no ticks.
    KillTimer(window_.handle, kFixTimerId);
    engine_->TimerTick();
    foregroundAtTick_ = ToHwnd(engine_->ForegroundAtTick());
    if (fixTimerEnabled_ && IsWindow(window_.handle))
        SetTimer(window_.handle, kFixTimerId, kFixTimerInterval, nullptr);
    return true;
}

bool EngineWiring::LastActiveWindowValid() const
{
    return IsWindow(reinterpret_cast<HWND>(engine_->LastActiveWindow())) != FALSE;
}

TDialogPlace EngineWiring::AroundDeliveryButton(int id) const
{
    RECT r{};
    SendMessageA(window_.deliveryButtons, TB_GETRECT, id, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(window_.deliveryButtons, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return {TDialogPlace::AroundPoint, (r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool EngineWiring::RunCommand(int id)
{
    switch (id) {
    case CmdCopyEntire:
        engine_->CopyEntireReply(AroundDeliveryButton(CmdCopyEntire));
        return true;
    case CmdPasteLastActive:
        engine_->PasteIntoLastActive(AroundDeliveryButton(CmdPasteLastActive));
        return true;
    case CmdTrayInsert:
        // The tray menu took the foreground: the reply goes back to the window active before it.
        engine_->PasteIntoLastActive({TDialogPlace::ScreenCentre});
        return true;
    default:
        return false;
    }
}

} // namespace corvane::win32
