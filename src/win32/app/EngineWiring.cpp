// The expansion engine's events in, its requests of the window carried out.
#include "win32/app/EngineWiring.h"

#include <commctrl.h>

#include <optional>
#include <richedit.h>

#include "engine/Delivery.h"
#include "engine/HookWiring.h"
#include "engine/KeyGate.h"
#include "hooks/HtSysHookComp.h"
#include "engine/ReplyPicker.h"
#include "engine/SearchIndex.h"
#include "exchange/UsageStats.h"
#include "library/UnitCorvaneTypes.h"
#include "shell/UnitGlobalParams.h"
#include "shell/UnitSettings.h"
#include "win32/Clipboard.h"
#include "win32/HtSysHookHost.h"
#include "win32/HtSysHookUtils.h"
#include "win32/MacroInsertsDialog.h"
#include "win32/PasswordFocus.h"
#include "win32/RichEditControl.h"
#include "win32/PickerWindow.h"
#include "win32/TreeViewControl.h"
#include "win32/Win32Desktop.h"
#include "win32/app/CommandIds.h"
#include "win32/app/EditorPanel.h"
#include "win32/app/ExchangeCommands.h"
#include "win32/app/LibraryPanel.h"

namespace corvane::win32 {

namespace {

constexpr UINT_PTR kFixTimerId = 1;
// The engine's tick: how often hot keys and chords are polled.
constexpr UINT kFixTimerInterval = 50;
// The recent replies and the usage figures are written this long after a
// delivery, not with each one.
constexpr UINT_PTR kRecentTimerId = 5;
constexpr UINT kRecentWriteDelay = 3000;

// The settings the engine asks for on every key and tick, read from the
// registry at start and again whenever the program changes them.
struct EngineSettings {
    bool parametersDialog = false;
    bool keepClipboard = false;
    bool picker = false;
    std::string consoleClasses;
    std::string excludedPrograms;
    bool followMacroCase = true;
    bool undoWithBackspace = true;
    bool endKeysTabEnter = false;
    bool countUsage = true;
};

EngineSettings ReadEngineSettings(IRegistry& registry)
{
    return {ReadProgramFlag(registry, kShowMacroIns), ReadProgramFlag(registry, kKeepClipboard),
        ReadPickerEnabled(registry), ReadProgramString(registry, kConsoleClasses),
        ReadProgramString(registry, kExcludedPrograms), ReadFollowMacroCase(registry), ReadUndoWithBackspace(registry),
        ReadEndKeysTabEnter(registry), UsageCountingOn(registry)};
}

} // namespace

// What the engine asks of the main window.
class EngineWiring::Adapter final : public IEngineWindow {
public:
    Adapter(EngineWiring& wiring, IRegistry& registry)
        : w_(wiring),
          registry_(registry),
          settings_(ReadEngineSettings(registry)),
          usage_(wiring.library_.Files(), GlobalParams().DataDirFile(kUsageFileName))
    { }

    void ReloadSettings() { settings_ = ReadEngineSettings(registry_); }

    TreeNode SelectedNode() const override { return w_.library_.TreeControl()->Selected(); }
    void CommitEdits() override { w_.library_.CommitEdits(); }
    WindowId MainWindow() const override { return ToWindowId(w_.window_.handle); }
    void ShowFromHotKey(WindowId from) override
    {
        w_.foregroundAtTick_ = ToHwnd(from);
        w_.window_.showFrom(w_.foregroundAtTick_);
    }
    void TakeForeground() override { ForceForeground(GetForegroundWindow(), w_.window_.handle); }
    bool ParametersDialogEnabled() const override { return settings_.parametersDialog; }
    std::string ConsoleClasses() const override { return settings_.consoleClasses; }
    bool KeepClipboard() const override { return settings_.keepClipboard; }
    bool AskParameters(const std::string& list, const TDialogPlace& place, std::string& values) override
    {
        const bool accepted = w_.macroInserts_->Ask(w_.window_.handle, list, place);
        // The dialog's own box may have switched it off for the next time.
        settings_.parametersDialog = ReadProgramFlag(registry_, kShowMacroIns);
        if (!accepted)
            return false;
        values = w_.macroInserts_->Values();
        return true;
    }
    bool ParametersDialogVisible() const override { return w_.macroInserts_->Visible(); }
    void CancelParametersDialog() override { w_.macroInserts_->Cancel(); }
    bool PickerEnabled() const override { return settings_.picker; }
    std::string ExcludedPrograms() const override { return settings_.excludedPrograms; }
    TPicked PickReply(WindowId target) override
    {
        TReplyPicker picker(Recent());
        auto whenReady = [this]() -> std::optional<TReplySearch> {
            if (!w_.searchIndex_->Ready())
                return std::nullopt;
            return w_.searchIndex_->SearchFor(SearchSourcesOf(*w_.library_.Library()));
        };
        if (std::optional<TReplySearch> search = whenReady())
            picker.SetSearch(std::move(*search));
        return w_.picker_->Pick(w_.window_.handle, ToHwnd(target), picker, whenReady);
    }
    void ReplyDelivered(const TRep& reply, const TDelivery& delivery) override
    {
        const std::string key = ReplyKeyOf(reply, w_.library_.Library()->Root());
        Recent().Record(key);
        recentChanged_ = true;
        if (settings_.countUsage)
            usage_.Record(key, delivery, w_.clock_->Now());
        SetTimer(w_.window_.handle, kRecentTimerId, kRecentWriteDelay, nullptr);
    }
    void WritePending()
    {
        KillTimer(w_.window_.handle, kRecentTimerId);
        if (recentChanged_ && recent_)
            (void)WriteProgramString(registry_, kRecentReplies, recent_->Stored());
        recentChanged_ = false;
        (void)usage_.WritePending();
    }
    // The Statistics window reads the figures file and may clear it or switch counting off.
    void ShowStatistics()
    {
        WritePending();
        ShowStatisticsWindow(w_.window_.handle, w_.library_, registry_);
        usage_.ReadAgain();
        ReloadSettings();
    }
    void ShowNotice(const char* text) override
    {
        if (w_.window_.notice)
            w_.window_.notice(text);
    }
    bool FollowMacroCase() const override { return settings_.followMacroCase; }
    bool UndoWithBackspace() const override { return settings_.undoWithBackspace; }
    bool EndKeysTabEnter() const override { return settings_.endKeysTabEnter; }

private:
    TRecentDeliveries& Recent()
    {
        if (!recent_)
            recent_.emplace(ReadProgramString(registry_, kRecentReplies));
        return *recent_;
    }

    EngineWiring& w_;
    IRegistry& registry_;
    EngineSettings settings_;
    std::optional<TRecentDeliveries> recent_;
    bool recentChanged_ = false;
    TUsageRecorder usage_;
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

EngineWiring::EngineWiring(const Window& window, IRegistry& registry, IMessageBoxes& boxes, LibraryPanel& library,
    EditorPanel& editor, TKeyGate& gate, THtSysHook& keyHook)
    : window_(window),
      registry_(registry),
      gate_(gate),
      keyHook_(keyHook),
      library_(library),
      editor_(editor),
      renderWindow_(CreateWindowExA(0, RICHEDIT_CLASSA, "", WS_CHILD | ES_MULTILINE, 0, 0, 0, 0, window.handle, nullptr,
          GetModuleHandleA(nullptr), nullptr)),
      renderer_(std::make_unique<RichEditControl>(renderWindow_.Get())),
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
          TEngineParts{*library.Library(), *renderer_, *adapter_, *desktop_, *clock_, boxes, *clipboard_})),
      searchIndex_(std::make_unique<TSearchIndex>()),
      inputState_(std::make_unique<TInputStatePublisher>([](std::uint32_t flags, const std::string& excluded) {
          (void)HookHost().Loader().PublishInputState(flags, excluded);
      }))
{
    // The picker's search is prepared meanwhile, off this thread.
    searchIndex_->Start(SearchSourcesOf(*library.Library()));
}

EngineWiring::~EngineWiring() { WatchPasswordFocus({}); }

IEngineArming& EngineWiring::Arming() { return *arming_; }

void EngineWiring::SettingsChanged() { adapter_->ReloadSettings(); }

void EngineWiring::Terminate()
{
    terminating_ = true;
    // The hook library is let go after this: the watcher writes no more, nor
    // the engine on the ring of its keys.
    WatchPasswordFocus({});
    engine_->UseOwnKeyRing(nullptr);
    gate_.UseOwnKeyRing(nullptr);
    adapter_->WritePending();
    engine_->FinishClipboard();
}

void EngineWiring::Connect(THtProgramHooks& hooks)
{
    ConnectEngine(hooks, *engine_, [this] { return terminating_; });
    // Hooked programs take the keys the engine sends off this ring themselves.
    THtOwnKeyRing* ring = keyHook_.Active() ? HookHost().Loader().OwnKeyRing() : nullptr;
    engine_->UseOwnKeyRing(ring);
    gate_.UseOwnKeyRing(ring);
    PublishInputState();
    // A password's focus is told at once, from the watcher's thread: this
    // window may be busy.
    WatchPasswordFocus([this](bool password) {
        gate_.SetPasswordFocus(password);
        inputState_->PublishPasswordFocus(password);
    });
}

void EngineWiring::OnActivateApp(bool active)
{
    if (active)
        AppActivated(*arming_);
    else
        AppDeactivated(*arming_);
    PublishInputState();
}

void EngineWiring::PublishInputState()
{
    ticksSincePublished_ = 0;
    TGateState state = engine_->GateState();
    inputState_->PublishState(PublishedInputFlags(state), state.excludedPrograms, keyHook_.Active());
    gate_.Publish(std::move(state));
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
    if (id == kRecentTimerId) {
        adapter_->WritePending();
        return true;
    }
    if (id != kFixTimerId)
        return false;
    // Off while an action runs, so that a dialog it opens sees no ticks.
    KillTimer(window_.handle, kFixTimerId);
    // The team library may have brought other hot keys meanwhile.
    constexpr int kTicksPerPublish = 20;
    if (++ticksSincePublished_ >= kTicksPerPublish)
        PublishInputState();
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
    case CmdStatistics:
        adapter_->ShowStatistics();
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
