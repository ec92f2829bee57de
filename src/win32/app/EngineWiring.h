#pragma once
// The expansion engine in the main window: its desktop, clock, message
// boxes and parameters dialog, the hook events in, the 50 ms timer, the
// activation that arms it and the delivery commands.
#include <windows.h>

#include <functional>
#include <memory>

#include "engine/MacroInsertions.h"
#include "shell/UnitTrayRules.h"
#include "win32/Handles.h"

namespace corvane {
class IMessageBoxes;
class IRegistry;
class TEngine;
class TInputStatePublisher;
class TKeyGate;
class THtProgramHooks;
class THtSysHook;
class TSearchIndex;
} // namespace corvane

namespace corvane::win32 {

class EditorPanel;
class RichEditControl;
class LibraryPanel;
class TFormMacroInserts;
class TFormReplyPicker;
class Win32Clock;
class Win32Desktop;
class Win32ReplyClipboard;

class EngineWiring {
public:
    struct Window {
        HWND handle;
        // The toolbar whose buttons the parameters dialog stands beside.
        HWND deliveryButtons;
        // Shows the main window, taking the foreground from `previous`.
        std::function<void(HWND previous)> showFrom;
        // Tells the user something without interrupting them.
        std::function<void(const char* text)> notice;
    };

    // `gate` answers the hooked programs; `keyHook` reaches the hook library.
    EngineWiring(const Window& window, IRegistry& registry, IMessageBoxes& boxes, LibraryPanel& library,
        EditorPanel& editor, TKeyGate& gate, THtSysHook& keyHook);
    ~EngineWiring();
    EngineWiring(const EngineWiring&) = delete;
    EngineWiring& operator=(const EngineWiring&) = delete;

    void Connect(THtProgramHooks& hooks);
    // The program's settings were changed (the options dialog closed).
    void SettingsChanged();
    // From now on, a window destroyed is the program ending; what the user
    // had copied goes back in place of a reply still out, and the recent
    // replies are written.
    void Terminate();
    void OnActivateApp(bool active);
    // What the receiver thread and the hooked programs decide by: armed,
    // paused, the settings, the hot keys. Published whenever one may have
    // changed: at activation either way, a pause, and on timer ticks. A
    // password's focus is published by the focus watcher as it changes.
    void PublishInputState();
    // True when the timer was the engine's tick, which has then run.
    bool OnTimer(UINT_PTR id);
    // True when `id` was a delivery command, which has then run.
    bool RunCommand(int id);

    TEngine& Engine() { return *engine_; }
    // The foreground window at the last timer tick: what the tray's Show
    // takes the foreground from.
    HWND ForegroundAtTick() const { return foregroundAtTick_; }
    bool LastActiveWindowValid() const;
    // The switches activation flips; usable before the engine exists.
    IEngineArming& Arming();

private:
    class Adapter;
    class ArmingAdapter;
    friend class ArmingAdapter;
    TDialogPlace AroundDeliveryButton(int id) const;
    void SetFixTimerEnabled(bool enabled);

    Window window_;
    IRegistry& registry_;
    TKeyGate& gate_;
    THtSysHook& keyHook_;
    int ticksSincePublished_ = 0;
    LibraryPanel& library_;
    EditorPanel& editor_;
    bool fixTimerEnabled_ = false;
    bool terminating_ = false;
    HWND foregroundAtTick_ = nullptr;
    // The engine's own editor, never shown, where deliveries are filled in.
    UniqueWindow renderWindow_;
    std::unique_ptr<RichEditControl> renderer_;
    std::unique_ptr<Win32Desktop> desktop_;
    std::unique_ptr<Win32Clock> clock_;
    std::unique_ptr<Win32ReplyClipboard> clipboard_;
    std::unique_ptr<TFormMacroInserts> macroInserts_;
    std::unique_ptr<TFormReplyPicker> picker_;
    std::unique_ptr<Adapter> adapter_;
    std::unique_ptr<ArmingAdapter> arming_;
    std::unique_ptr<TEngine> engine_;
    std::unique_ptr<TSearchIndex> searchIndex_; // the picker's
    std::unique_ptr<TInputStatePublisher> inputState_; // written from here and from the focus watcher
};

} // namespace corvane::win32
