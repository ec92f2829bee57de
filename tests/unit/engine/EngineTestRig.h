#pragma once
// A library, an editor, a clipboard and a desktop with another program's
// window, wired to one engine as the main window wires them; keys, clicks
// and window events arrive as the hook receivers' notifications.
#include "engine/Delivery.h"
#include "engine/HookWiring.h"
#include "engine/KeyGate.h"
#include "engine/Recogniser.h"
#include "fakes/FakeDesktop.h"
#include "fakes/FakeHookHost.h"
#include "hooks/HtSysHookStartup.h"
#include "fakes/FakeListBox.h"
#include "fakes/FakeReplyEditor.h"
#include "fakes/FakeTreeControl.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/RecordingMessageBoxes.h"
#include "library/IndexFormat.h"
#include "library/UnitCorvaneTypes.h"

#include <deque>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace corvane::testing {

inline constexpr WindowId MailWindow = 0x1001;
inline constexpr WindowId OwnWindow = 0x2002;

class EngineRig : public IEngineWindow, public IHeldKeys {
public:
    EngineRig()
    {
        desktop.OpenWindow(MailWindow);
        engine.SetAppInactive(true);
        engine.SetHeldKeys(this);
        clipboard.onRead = [this](std::uint32_t reader) { engine.ClipboardRead(reader); };
        ConnectEngine(hooks, engine, [this] { return terminating; });
    }

    // --- the main window, as the engine sees it ---
    TreeNode SelectedNode() const override { return tree.Selected(); }
    void CommitEdits() override { ++commits; }
    // The user selects a node: its reply shows in the editor.
    void SelectNode(TreeNode node)
    {
        tree.Select(node);
        const TRep* rep = node ? library.RepOf(node) : nullptr;
        if (rep && !rep->IsFolder())
            editor.LoadRtf(JoinTextLines(rep->Lines));
        else
            editor.Clear();
    }
    WindowId MainWindow() const override { return OwnWindow; }
    void ShowFromHotKey(WindowId from) override { shownFrom.push_back(from); }
    void TakeForeground() override { desktop.foreground = OwnWindow; }
    bool ParametersDialogEnabled() const override { return dialogEnabled; }
    std::string ConsoleClasses() const override { return consoleClasses; }
    bool KeepClipboard() const override { return keepClipboard; }
    bool AskParameters(const std::string& list, const TDialogPlace& place, std::string& values) override
    {
        askedLists.push_back(list);
        askedPlaces.push_back(place);
        values = dialogValues;
        return dialogAccepts;
    }
    bool ParametersDialogVisible() const override { return dialogVisible; }
    void CancelParametersDialog() override { ++dialogCancels; }
    bool PickerEnabled() const override { return pickerEnabled; }
    std::string ExcludedPrograms() const override { return excludedPrograms; }
    // The user picks `pickerChoice` (nothing when null) in a picker that took the foreground.
    TPicked PickReply(WindowId target) override
    {
        pickedOver.push_back(target);
        desktop.foreground = OwnWindow;
        if (pickerLeftFor != 0)
            desktop.foreground = pickerLeftFor;
        return {pickerChoice, pickerLeftFor != 0};
    }
    void ReplyDelivered(const TRep& reply, const TDelivery& delivery) override
    {
        delivered.push_back(&reply);
        deliveries.push_back(delivery);
    }
    void ShowNotice(const char* text) override { notices.emplace_back(text); }
    bool FollowMacroCase() const override { return followMacroCase; }
    bool UndoWithBackspace() const override { return undoWithBackspace; }
    bool EndKeysTabEnter() const override { return endKeysTabEnter; }

    TRep* AddReply(
        const std::string& name, const std::string& rtf, const std::string& macro = {}, const std::string& hotKey = {})
    {
        TRep* rep = library.Items(library.AddNodeLast(name, nullptr));
        rep->FileName = std::to_string(library.Count()) + ".rep";
        library.SetBodyText(rep, rtf);
        if (!macro.empty())
            (void)library.SetMacro(rep, macro);
        if (!hotKey.empty())
            (void)library.SetHotKey(rep, hotKey);
        return rep;
    }

    // Types text into the foreground window as a user would: the target
    // gets each character, the hook reports each press and release (Shift
    // included). The physical key state is not touched: by the time the
    // notifications are handled, the keys are up again.
    void Type(const std::string& text)
    {
        for (char c : text) {
            int vk = c == ' ' ? VkSpace : 0;
            bool shift = false;
            for (int k = 1; k < 256 && !vk; ++k) {
                if (KeyCharacter(k, false) == c)
                    vk = k;
                else if (KeyCharacter(k, true) == c)
                    vk = k, shift = true;
            }
            if (shift)
                Key(VkShift, true);
            Key(vk, true, 0x1E, {}, std::string(1, c));
            Key(vk, false);
            if (shift)
                Key(VkShift, false);
        }
    }
    // Types text as a user of `layout` does: Shift or AltGr (Ctrl+Alt)
    // around the keys that need them.
    void TypeOn(const fakes::FakeLayout& layout, const std::string& text)
    {
        desktop.layout = &layout;
        for (char c : text) {
            const auto stroke = c == ' ' ? fakes::KeyStroke{VkSpace, fakes::Level::Plain} : layout.StrokeOf(c).value();
            std::vector<int> modifiers;
            if (stroke.level == fakes::Level::Shift)
                modifiers = {VkShift};
            else if (stroke.level == fakes::Level::AltGr)
                modifiers = {VkControl, VkMenu};
            for (int m : modifiers)
                Key(m, true);
            if (desktop.IsWindow(desktop.foreground))
                desktop.TextOf(desktop.foreground) += c;
            Press(stroke.virtualKey);
            for (int m : modifiers)
                Key(m, false);
        }
    }
    void Press(int vk)
    {
        Key(vk, true);
        Key(vk, false);
    }
    // The hook library's notices, as its listener windows receive them: a
    // key with the target's Ctrl, Shift and Alt state and its flags (repeat
    // count 1; a release has bits 30 and 31), a left click with the position
    // and the window under it, and a shell event about a window.
    // The receiver thread answers from what the engine last published (here
    // always fresh) and passes the key on, marked when it took it.
    // A press not taken puts `typed` into the target. The engine hears of
    // the key at once, or, while `engineBusy`, when it catches up.
    // Returns what the hook library is told: 1 when the key is taken from the target.
    std::int64_t Key(
        int vk, bool pressed, std::uint8_t scanCode = 0x1E, TModifiers held = {}, const std::string& typed = {})
    {
        // A press of a key already down is an automatic repeat.
        const bool repeat = pressed && !keysDown.insert(vk).second;
        if (!pressed)
            keysDown.erase(vk);
        const std::uint32_t flags
            = (std::uint32_t{scanCode} << 16) | 1u | (pressed ? 0u : 0xC0000000u) | (repeat ? 0x40000000u : 0u);
        const std::uint64_t keyAndState = static_cast<std::uint64_t>(vk) | (held.control ? 0x10000u : 0u)
            | (held.shift ? 0x20000u : 0u) | (held.alt ? 0x40000u : 0u);
        gate.Publish(engine.GateState());
        const TGateVerdict verdict = gate.Decide(DecodeKeyStroke(keyAndState, flags));
        SendOn(verdict.sendOn);
        if (!verdict.take && !typed.empty() && desktop.IsWindow(desktop.foreground))
            desktop.TypeAtCaret(typed);
        if (verdict.tell)
            keyNotices.emplace_back(
                keyAndState | (verdict.take ? htKeyTakenBit : 0) | (std::uint64_t{verdict.holdId} << htKeyHoldShift),
                flags);
        if (!engineBusy)
            EngineCatchesUp();
        return verdict.take ? 1 : 0;
    }
    // The engine handles the notices that waited, in order.
    void EngineCatchesUp()
    {
        while (!keyNotices.empty()) {
            const auto [wParam, lParam] = keyNotices.front();
            keyNotices.pop_front();
            hooks.KeyHook.HandleMessage(htNotifyBase, wParam, lParam);
        }
    }
    // --- the held keys, as the main window sends them on ---
    bool ClaimHold(std::uint8_t id) override { return gate.ClaimHold(id); }
    void PublishUndoChance(
        bool open, WindowId foreground, WindowId focus, std::optional<std::uint32_t> afterOwnKey) override
    {
        gate.SetUndoChance(open, foreground, focus, afterOwnKey);
    }
    void ExpectOwnBackspaces(int count) override { gate.ExpectOwnBackspaces(count); }
    void ReleaseHold(std::uint8_t id) override
    {
        if (gate.EndHoldAtFence(id))
            SendOwnKey(HoldFenceKey, false);
    }
    // The receiver thread's look at a hold, as its timer makes it.
    void CheckHold(std::uint8_t id)
    {
        THoldCheck check = gate.CheckHold(id);
        if (check.sendFence)
            SendOwnKey(HoldFenceKey, false);
        SendOn(check.sendOn);
    }
    void SendOwnKey(int vk, bool pressed)
    {
        const bool wasBusy = std::exchange(engineBusy, true);
        Key(vk, pressed, 0);
        engineBusy = wasBusy;
    }
    // Each held key reaches the target again, and its notice comes back.
    void SendOn(const std::vector<THtKeyStroke>& keys)
    {
        for (const THtKeyStroke& k : keys) {
            const char c = k.VirtualKeyCode == VkSpace ? ' ' : KeyCharacter(k.VirtualKeyCode, k.shiftHeld);
            const bool wasBusy = std::exchange(engineBusy, true);
            Key(k.VirtualKeyCode, k.keyIsBeingPressed, k.ScanCode, {}, k.keyIsBeingPressed ? std::string(1, c) : "");
            engineBusy = wasBusy;
        }
    }
    void Click() { hooks.MouseHook.HandleMessage(htNotifyBase + 0x201, 0x00200010, 0x7007); }
    void Activate(WindowId window) { ShellNotice(4, window); }
    void Destroyed(WindowId window) { ShellNotice(2, window); }
    void ShellNotice(std::uint32_t code, WindowId window)
    {
        hooks.ShellHook.HandleMessage(htNotifyBase + code, static_cast<std::uint32_t>(window), 0);
    }
    // The notifications of the keys the engine synthesised reach it later,
    // with scan codes, looking like the user's.
    void HandleEchoes()
    {
        auto echoed = std::move(desktop.echoed);
        desktop.echoed.clear();
        for (const auto& [vk, pressed] : echoed)
            Key(vk, pressed);
    }
    // As a hooked program does with the hook library's ring: each key the
    // engine sent that is next on the ring is taken off and told to nobody.
    void HandleEchoesThroughTheRing(THtOwnKeyRing& ring)
    {
        auto echoed = std::move(desktop.echoed);
        desktop.echoed.clear();
        for (const auto& [vk, pressed] : echoed) {
            const auto now = static_cast<std::uint32_t>(clock.Milliseconds());
            if (!TakeOwnKey(ring, static_cast<std::uint16_t>(KeyAsHookReports(vk)), pressed, now))
                Key(vk, pressed);
        }
    }
    std::string MailText() { return desktop.TextOf(MailWindow); }

    fakes::FakeTreeControl tree;
    fakes::FakeListBox hotKeyBox, macroBox;
    fakes::MemoryFileSystem fs;
    TRepList library{tree, hotKeyBox, macroBox, fs, "C:\\Replies"}; // nothing is read or written
    fakes::FakeClipboard clipboard;
    fakes::FakeReplyEditor editor{&clipboard};
    fakes::FakeDesktop desktop{clipboard};
    fakes::FakeClock clock;
    fakes::RecordingMessageBoxes boxes;
    // The engine's hidden editor, apart from the one the user sees.
    fakes::FakeReplyEditor renderer{&clipboard};
    TEngine engine{{library, renderer, *this, desktop, clock, boxes, clipboard}};
    fakes::FakeHost hookHost;
    THtProgramHooks hooks{hookHost};
    TKeyGate gate{desktop};
    bool engineBusy = false;
    std::deque<std::pair<std::uint64_t, std::int64_t>> keyNotices; // not yet handled by the engine
    std::set<int> keysDown;
    bool terminating = false;

    bool followMacroCase = true;
    bool undoWithBackspace = true;
    bool endKeysTabEnter = false;
    bool dialogEnabled = true;
    bool keepClipboard = true;
    std::string consoleClasses;
    bool dialogAccepts = true;
    bool dialogVisible = false;
    std::string dialogValues;
    std::vector<std::string> askedLists;
    std::vector<TDialogPlace> askedPlaces;
    std::vector<WindowId> shownFrom;
    int dialogCancels = 0;
    bool pickerEnabled = true;
    std::string excludedPrograms;
    const TRep* pickerChoice = nullptr;
    WindowId pickerLeftFor = 0; // the window the user went to from the picker
    std::vector<WindowId> pickedOver;
    std::vector<const TRep*> delivered;
    std::vector<TDelivery> deliveries;
    std::vector<std::string> notices; // shown beside the tray icon
    int deliveringDepth = 0;
    int commits = 0;
};

// A reply as RichEdit writes it.
inline std::string RichEditRtf(const std::string& body)
{
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
           "{\\colortbl ;\\red31\\green73\\blue125;}\r\n"
           "\\viewkind4\\uc1\\pard\\sb240\\f0\\fs20 "
        + body + "\\par\r\n}\r\n";
}

} // namespace corvane::testing
