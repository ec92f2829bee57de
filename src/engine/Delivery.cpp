#include "engine/Delivery.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "engine/HeldModifiers.h"
#include "engine/PredefinedInsertions.h"
#include "engine/Recogniser.h"
#include "engine/ReplaceInReply.h"
#include "library/ExcludedPrograms.h"
#include "library/IndexFormat.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitCorvaneTypes.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/ReplyEditor.h"
#include "platform/Trace.h"

namespace corvane {

namespace {

// `count` strokes of one key, each its press and its release.
void AddKeyStrokes(std::vector<TKeyEvent>& keys, int virtualKey, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        keys.push_back({virtualKey, false});
        keys.push_back({virtualKey, true});
    }
}

// Whether the names separated by commas (blanks around them do not count) hold `name`.
bool ListHolds(std::string_view list, std::string_view name)
{
    for (size_t start = 0; start <= list.size();) {
        const size_t comma = std::min(list.find(',', start), list.size());
        std::string_view item = list.substr(start, comma - start);
        while (!item.empty() && item.front() == ' ')
            item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ')
            item.remove_suffix(1);
        if (!item.empty() && item == name)
            return true;
        start = comma + 1;
    }
    return false;
}

// The reply's plain text as a console is to get it: one line, with tabs
// as blanks and no other control character; nothing when it has several lines.
std::optional<std::u16string> ConsoleLine(std::u16string_view text)
{
    auto isBreak = [](char16_t c) {
        return c == u'\r' || c == u'\n' || c == 0x0B || c == 0x0C || c == 0x85 || c == 0x2028 || c == 0x2029;
    };
    while (!text.empty() && (isBreak(text.back()) || text.back() == 0))
        text.remove_suffix(1);
    std::u16string line;
    for (char16_t c : text) {
        if (isBreak(c))
            return std::nullopt;
        if (c == u'\t')
            line += u' ';
        else if (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0))
            line += c;
    }
    return line;
}

// The plain text among the formats of a copy: UTF-16 where offered, else single-byte.
std::u16string PlainTextOf(const TClipboardFormats& formats)
{
    constexpr std::uint32_t CfText = 1, CfUnicodeText = 13;
    for (const TClipboardFormat& f : formats)
        if (f.format == CfUnicodeText) {
            std::u16string text(f.bytes.size() / 2, u'\0');
            for (size_t i = 0; i < text.size(); ++i)
                text[i] = static_cast<char16_t>(
                    static_cast<unsigned char>(f.bytes[2 * i]) | (static_cast<unsigned char>(f.bytes[2 * i + 1]) << 8));
            return text.substr(0, text.find(u'\0'));
        }
    for (const TClipboardFormat& f : formats)
        if (f.format == CfText) {
            std::u16string text;
            for (char c : f.bytes.substr(0, f.bytes.find('\0')))
                text += static_cast<char16_t>(static_cast<unsigned char>(c));
            return text;
        }
    return {};
}

} // namespace

bool TEngine::TakesChordKey(int virtualKey, bool keyIsBeingPressed, const TModifiers& modifiers)
{
    if (!appInactive_)
        return false;
    const TChordFound found = ChordToTake(
        virtualKey, keyIsBeingPressed, modifiers, p_.library, [this] { return p_.window.PickerEnabled(); },
        [this] { return StaysOut(); });
    if (found.chord == TChord::None)
        return false;
    // Recorded here too: a press too short for the poll to see is still carried out.
    RecordChord(found);
    return true;
}

TGateState TEngine::GateState() const
{
    TGateState state;
    state.armed = appInactive_;
    state.paused = paused_;
    state.pickerEnabled = p_.window.PickerEnabled();
    state.endKeysTabEnter = p_.window.EndKeysTabEnter();
    state.excludedPrograms = p_.window.ExcludedPrograms();
    state.hotKeyCodes = HotKeyCodesOf(p_.library);
    for (int i = 0; i < p_.library.MacroCount(); ++i)
        state.macroStems.insert(MacroStemKey(p_.library.MacroAt(i)));
    return state;
}

bool TEngine::TakesKey(
    int virtualKey, bool keyIsBeingPressed, const TModifiers& modifiers, bool synthesised, bool takenByReceiver)
{
    taken_ = TTaken::None;
    // Asked for every key first: the notices of the keys this program sent come back in order.
    ownKeyNow_ = ownKeys_.IsEchoOfOwnKey(virtualKey, keyIsBeingPressed);
    if (synthesised || ownKeyNow_ || !appInactive_ || !keyIsBeingPressed)
        return false;
    const bool plain = !modifiers.control && !modifiers.alt;
    if (virtualKey == VkBack && plain) {
        // Held down, its repeats would go on into what was put back.
        if (holdingBackspace_)
            taken_ = TTaken::HeldBackspace;
        else if (undo_ && UndoStillApplies())
            taken_ = TTaken::Undo;
    } else if ((virtualKey == VkTab || virtualKey == VkReturn) && plain && EndsMacro(virtualKey, modifiers)) {
        taken_ = TTaken::EndKey;
    } else if (takenByReceiver && TakesChordKey(virtualKey, keyIsBeingPressed, modifiers)) {
        taken_ = TTaken::Chord;
    }
    return taken_ != TTaken::None;
}

bool TEngine::EndsMacro(int, const TModifiers&) const
{
    if (typedBuffer_.empty() || StaysOut())
        return false;
    std::string names;
    std::string values;
    // The setting is read only for a key that would end a macro: the target waits.
    return p_.library.MatchMacro(typedBuffer_, names, values) >= 0 && p_.window.EndKeysTabEnter();
}

bool TEngine::UndoStillApplies() const
{
    // A key noticed before the expansion's own keys came back was struck
    // before them: it is no answer to the reply.
    return ownKeys_.AllEchoed() && p_.desktop.ForegroundWindow() == undo_->foreground
        && p_.desktop.FocusWindow() == undo_->focus;
}

void TEngine::AgreeOnTaken(int virtualKey, bool keyIsBeingPressed, bool takenByReceiver)
{
    const bool wanted = taken_ != TTaken::None;
    if (wanted && !takenByReceiver)
        taken_ = TTaken::None;
    else if (!wanted && takenByReceiver && keyIsBeingPressed)
        SendKeyStroke(virtualKey);
}

void TEngine::PublishUndoChance() const
{
    if (heldKeys_ == nullptr)
        return;
    if (!undo_) {
        heldKeys_->PublishUndoChance(false, 0, 0, std::nullopt);
        return;
    }
    // Keys of the engine's still on the ring are taken off by the program
    // before any key struck after them reaches the gate.
    const bool echoed = ownKeys_.AllEchoed();
    const std::optional<std::uint32_t> afterOwnKey = echoed ? std::nullopt : ownKeys_.LastOnRing();
    heldKeys_->PublishUndoChance(echoed || afterOwnKey, undo_->foreground, undo_->focus, afterOwnKey);
}

void TEngine::MouseClick()
{
    typedBuffer_.clear();
    // Published at once: keys of ours sent next must not meet a stale chance.
    undo_.reset();
    PublishUndoChance();
}

std::shared_ptr<void> TEngine::HoldRelease(std::uint8_t id) const
{
    if (id == 0 || heldKeys_ == nullptr)
        return nullptr;
    return std::shared_ptr<void>(nullptr, [keys = heldKeys_, id](void*) { keys->ReleaseHold(id); });
}

void TEngine::KeyAction(int virtualKey, bool keyIsBeingPressed, int scanCode, bool synthesised, std::uint8_t holdId)
{
    // The keys typed after this one go on when it is dealt with: at once, or
    // after the paste of the macro it completes.
    const std::shared_ptr<void> hold = HoldRelease(holdId);
    TrackModifier(virtualKey, keyIsBeingPressed, scanCode);
    const TTaken taken = std::exchange(taken_, TTaken::None);
    const bool ownKey = std::exchange(ownKeyNow_, false) || synthesised;
    if (!appInactive_)
        return;
    // This program's keys end no chance to take an expansion back; what
    // they did to the text before the caret (erased, pasted, moved) joins
    // nothing typed before them to what is typed after.
    if (ownKey) {
        typedBuffer_.clear();
        return;
    }
    if (virtualKey == VkBack && !keyIsBeingPressed)
        holdingBackspace_ = false;
    if (taken == TTaken::Undo) {
        UndoExpansion();
        return;
    }
    if (taken == TTaken::HeldBackspace)
        return;
    // Any other key ends the chance to take the expansion back; Shift, Ctrl
    // and Alt alone do not, nor does letting go of the ending key.
    if (keyIsBeingPressed && !IsModifierKey(virtualKey)) {
        undo_.reset();
        PublishUndoChance();
        holdingBackspace_ = false;
    }
    if (taken == TTaken::EndKey) {
        ExpandTypedMacro(virtualKey, hold, holdId);
        return;
    }
    // Nothing typed into a password reaches the buffer, AltGr characters included.
    if (StaysOut() || p_.desktop.FocusHidesTyping()) {
        typedBuffer_.clear();
        return;
    }
    const TModifiers modifiers = HeldModifiers();
    char character = '\0';
    if (keyIsBeingPressed) {
        const TKeyTranslation translation = p_.desktop.TranslateKey(virtualKey, scanCode, modifiers);
        // The accent's key: what it gives comes with the next key.
        if (translation.kind == TKeyTranslation::Kind::DeadKey)
            return;
        character = MacroCharacter(translation, virtualKey, modifiers.shift);
        if (!IsModifierKey(virtualKey))
            altGrCharacterTyped_ = modifiers.control && modifiers.alt && character != '\0'
                && translation.kind == TKeyTranslation::Kind::Character;
    } else if ((virtualKey == VkControl || virtualKey == VkMenu) && altGrCharacterTyped_) {
        return; // AltGr let go after its character: what was typed stays
    }
    if (FeedKey(typedBuffer_, virtualKey, keyIsBeingPressed, character) == TKeyOutcome::Expand)
        ExpandTypedMacro(VkSpace, hold, holdId);
}

void TEngine::TrackModifier(int virtualKey, bool keyIsBeingPressed, int scanCode)
{
    // As the notifications report them, in the order the keys were struck:
    // read from the key state when the notification is handled, a quickly
    // released key would already be up. Each Shift key counts on its own,
    // so that releasing one while the other is held keeps Shift.
    constexpr int RightShiftScanCode = 0x36;
    if (virtualKey == VkLShift || (virtualKey == VkShift && scanCode != RightShiftScanCode))
        leftShiftDown_ = keyIsBeingPressed;
    else if (virtualKey == VkRShift || virtualKey == VkShift)
        rightShiftDown_ = keyIsBeingPressed;
    else if (virtualKey == VkControl)
        controlDown_ = keyIsBeingPressed;
    else if (virtualKey == VkMenu)
        altDown_ = keyIsBeingPressed;
}

TModifiers TEngine::HeldModifiers() const { return {controlDown_, altDown_, leftShiftDown_ || rightShiftDown_}; }

bool TEngine::StaysOut() const
{
    if (paused_)
        return true;
    const std::string excluded = p_.window.ExcludedPrograms();
    return !excluded.empty() && IsExcludedProgram(ForegroundProgram(), excluded);
}

const std::string& TEngine::ForegroundProgram() const
{
    // Opening the process on every key and tick costs more than the key.
    return foregroundProgram_.Of(
        p_.desktop.ForegroundWindow(), [this](WindowId window) { return p_.desktop.ProgramFileOf(window); });
}

void TEngine::ExpandTypedMacro(int endKey, const std::shared_ptr<void>& hold, std::uint8_t holdId)
{
    TraceStep("engine heard the macro's end");
    std::string names;
    std::string values;
    const int position = p_.library.MatchMacro(typedBuffer_, names, values);
    const std::string typed = std::exchange(typedBuffer_, {});
    if (position < 0)
        return;
    // Held too long, the keys typed after the space went on: erasing the
    // macro now would erase them instead.
    if (holdId != 0 && heldKeys_ != nullptr && !heldKeys_->ClaimHold(holdId))
        return;
    const TMacroCase macroCase
        = p_.window.FollowMacroCase() ? CaseOfTypedMacro(typed, p_.library.MacroAt(position)) : TMacroCase::AsStored;
    const TRep* reply = p_.library.MacroReplyAt(position);
    // The macro and its space are in the target already, after any macro
    // still being delivered: that one erases them too, before its paste. A
    // Tab or Enter that ended the macro was taken: it is not in the target.
    const size_t endKeyTyped = endKey == VkSpace ? 1 : 0;
    keysToErase_ += typed.size() + endKeyTyped;
    const auto typedKeys = static_cast<long long>(typed.size() + 1); // and the key that ended it
    Deliver([this, reply, names, values, typed, endKey, macroCase, typedKeys, hold] {
        route_ = TRoute::Macro;
        routeTyped_ = typedKeys;
        PasteTypedReply(*reply, names, values, {typed, endKey, macroCase});
    });
}

void TEngine::Deliver(std::function<void()> delivery)
{
    waitingDeliveries_.push_back(std::move(delivery));
    if (delivering_)
        return;
    delivering_ = true;
    struct TDone {
        bool& flag;
        ~TDone() { flag = false; }
    } done{delivering_};
    while (!waitingDeliveries_.empty()) {
        const std::function<void()> next = std::move(waitingDeliveries_.front());
        waitingDeliveries_.pop_front();
        next();
    }
}

void TEngine::PasteTypedReply(
    const TRep& reply, const std::string& names, const std::string& values, const TTypedMacro& macro)
{
    const std::string& typed = macro.typed;
    const int endKey = macro.endKey;
    const WindowId target = p_.desktop.ForegroundWindow();
    // The macro is erased first: the program takes the Backspaces in while
    // the reply is filled in and put on the clipboard, instead of after.
    // Modifiers still held are let go once for the Backspaces and the paste.
    const size_t erase = std::exchange(keysToErase_, 0);
    bool copied = false;
    bool pasted = false;
    {
        const THeldModifiersLetGo letGo(p_.desktop);
        SendKeyStrokes(VkBack, erase);
        TraceStep("macro erased (Backspaces sent)");
        copied = FillInAndCopy(reply, names, values, TUse::Paste, target, macro.macroCase);
        // Without the copy, pasting would paste what the clipboard held: what
        // was typed comes back instead.
        if (!copied) {
            TypeBack(typed, endKey);
        } else {
            endKeyToSend_ = endKey == VkSpace ? 0 : endKey;
            pasted = SimulatePaste();
        }
    }
    if (!copied) {
        p_.boxes.Warning(ClipboardBusyText);
        return;
    }
    if (pasted && p_.window.UndoWithBackspace()) {
        // The Tab or Enter was sent where the caret then stood.
        const size_t endKeyStops = endKey == VkSpace ? 0 : 1;
        undo_ = TUndo{typed, endKey, lastStops_.total - lastStops_.afterCursor + endKeyStops, lastStops_.afterCursor,
            p_.desktop.ForegroundWindow(), p_.desktop.FocusWindow()};
    }
}

void TEngine::UndoExpansion()
{
    const TUndo undo = *std::exchange(undo_, std::nullopt);
    PublishUndoChance();
    holdingBackspace_ = true;
    // Taken off the ring by the hooked program, they never reach the gate.
    if (heldKeys_ != nullptr && !ownKeys_.HookTakesOwnKeys())
        heldKeys_->ExpectOwnBackspaces(static_cast<int>(undo.before));
    std::vector<TKeyEvent> keys;
    AddKeyStrokes(keys, VkDelete, undo.after);
    AddKeyStrokes(keys, VkBack, undo.before);
    p_.desktop.SendKeys(keys);
    TypeBack(undo.typed, undo.endKey);
}

void TEngine::TypeBack(const std::string& typed, int endKey)
{
    std::u16string text;
    for (const char c : typed)
        text += static_cast<char16_t>(static_cast<unsigned char>(c));
    if (endKey == VkSpace)
        text += u' ';
    (void)p_.desktop.TypeCharacters(text);
    if (endKey != VkSpace)
        SendKeyStroke(endKey);
}

void TEngine::SendKeyStroke(int virtualKey) { SendKeyStrokes(virtualKey, 1); }

void TEngine::SendKeyStrokes(int virtualKey, size_t count)
{
    std::vector<TKeyEvent> keys;
    AddKeyStrokes(keys, virtualKey, count);
    p_.desktop.SendKeys(keys);
}

bool TEngine::SimulatePaste()
{
    const size_t caretBack = std::exchange(caretBack_, 0);
    const int endKey = std::exchange(endKeyToSend_, 0);
    const WindowId front = p_.desktop.ForegroundWindow();
    // The reply stays on the clipboard, so Ctrl+V by hand still works there.
    if (RefusesInput(front)) {
        if (consoleLine_)
            (void)p_.clipboard.Offer(consoleFormats_);
        consoleLine_.reset();
        keeper_.LeaveReply();
        return false;
    }
    if (consoleLine_ || IsConsole(front)) {
        // The Tab or Enter that ended the macro follows a line typed whole;
        // sent after a reply left on the clipboard, it would run the line
        // without it.
        if (DeliverToConsole() && endKey != 0)
            SendKeyStroke(endKey);
        return false;
    }
    TraceStep("target's rights and kind looked at");
    // Only that program's reads of the reply count towards giving the clipboard back.
    keeper_.PastingInto(KindOf(front).process);
    // Held modifiers would make the arrows that place the caret select, too.
    const THeldModifiersLetGo letGo(p_.desktop);
    TraceStep("held modifiers let go");
    std::vector<TKeyEvent> keys{{VkControl, false}, {VkV, false}, {VkV, true}, {VkControl, true}};
    // Each stop one arrow: a text box moves over a line break at once.
    AddKeyStrokes(keys, VkLeft, caretBack);
    if (endKey != 0)
        AddKeyStrokes(keys, endKey, 1);
    p_.desktop.SendKeys(keys);
    TraceStep("Ctrl+V sent");
    return true;
}

bool TEngine::RefusesInput(WindowId window)
{
    const std::string& program
        = elevatedProgram_.Of(window, [this](WindowId w) { return p_.desktop.ElevatedProgramOf(w); });
    if (program.empty())
        return false;
    if (elevatedProgramsTold_.insert(program).second)
        p_.boxes.Warning(FormatMessageText(ElevatedTargetText, program));
    return true;
}

const TWindowKind& TEngine::KindOf(WindowId window) const
{
    return windowKind_.Of(window, [this](WindowId w) {
        TWindowFacts facts = p_.desktop.FactsOf(w);
        return TWindowKind{std::move(facts.className), facts.process};
    });
}

bool TEngine::IsConsole(WindowId window) const
{
    const std::string& className = KindOf(window).className;
    for (std::string_view console : BuiltInConsoleClasses)
        if (className == console)
            return true;
    return ListHolds(p_.window.ConsoleClasses(), className);
}

bool TEngine::DeliverToConsole()
{
    std::optional<std::u16string> line = std::move(consoleLine_);
    consoleLine_.reset();
    const bool onClipboard = !line;
    // A reply that went to the clipboard all the same (the console was not
    // the target foreseen): its text decides.
    if (!line)
        line = ConsoleLine(p_.desktop.ClipboardText());
    if (!line) {
        keeper_.LeaveReply();
        // A balloon, which takes neither the focus nor the keys still on
        // their way; once a session.
        if (!consoleLinesTold_) {
            consoleLinesTold_ = true;
            p_.window.ShowNotice(ConsoleSeveralLinesText);
        }
        return false;
    }
    if (!TypeIntoConsole(*line)) {
        if (!onClipboard)
            (void)p_.clipboard.Offer(consoleFormats_);
        keeper_.LeaveReply();
        p_.boxes.Warning(TypingStoppedText);
        return false;
    }
    if (onClipboard)
        keeper_.ReplyUsed();
    return true;
}

bool TEngine::TypeIntoConsole(std::u16string_view line)
{
    const THeldModifiersLetGo letGo(p_.desktop);
    // In chunks, each checked: the system drops keystrokes it refuses (a
    // secure desktop, a program above this one's rights) without waiting.
    for (size_t at = 0; at < line.size(); at += TypingChunk) {
        const std::u16string_view chunk = line.substr(at, TypingChunk);
        if (p_.desktop.TypeCharacters(chunk) != chunk.size())
            return false;
    }
    return true;
}

void TEngine::PasteInto(WindowId window)
{
    if (!p_.desktop.IsWindow(window)) {
        keeper_.LeaveReply();
        p_.boxes.Warning(TargetGoneText);
        return;
    }
    p_.desktop.SetForeground(window);
    // Activation of another program's window may take effect later (under
    // Wine it waits for the X server); keys sent before would reach the old one.
    for (int waited = 0; p_.desktop.ForegroundWindow() != window && waited < ForegroundWaitMs;
         waited += ForegroundPollMs)
        p_.desktop.Pause(ForegroundPollMs);
    SimulatePaste();
}

void TEngine::PasteStep(TCopy copy, WindowId dialogTarget)
{
    // After a dialog the focus is the program's: the target is brought back.
    if (copy == TCopy::CopiedAfterDialog) {
        PasteInto(dialogTarget);
    } else if (copy == TCopy::Copied) {
        p_.desktop.Pause(DeliveryPauseMs);
        SimulatePaste();
    }
}

void TEngine::WindowActivated(WindowId window)
{
    shellActivationSeen_ = true;
    undo_.reset();
    PublishUndoChance();
    NoteActiveWindow(window);
}

void TEngine::NoteActiveWindow(WindowId window)
{
    if (window == 0 || p_.window.ParametersDialogVisible())
        return;
    // An owned popup (a find box, a tool palette) stands for the program that owns it.
    const WindowId root = p_.desktop.FactsOf(window).rootOwner;
    if (IsPasteTarget(root != 0 ? root : window))
        lastActiveWindow_ = root != 0 ? root : window;
}

bool TEngine::IsPasteTarget(WindowId rootWindow) const
{
    // The taskbar, the desktop, the task switchers and the start menu.
    static constexpr std::string_view ShellClasses[]
        = {"Shell_TrayWnd", "Shell_SecondaryTrayWnd", "Progman", "WorkerW", "MultitaskingViewFrame", "TaskSwitcherWnd",
            "XamlExplorerHostIslandWindow", "ForegroundStaging", "Windows.UI.Core.CoreWindow", "#32768"};
    if (rootWindow == p_.window.MainWindow())
        return false;
    const TWindowFacts facts = p_.desktop.FactsOf(rootWindow);
    if (facts.toolWindow || facts.ownProcess)
        return false;
    for (std::string_view shellClass : ShellClasses)
        if (facts.className == shellClass)
            return false;
    return true;
}

void TEngine::WindowDestroyed(WindowId window, bool terminating)
{
    if (terminating || window != lastActiveWindow_)
        return;
    lastActiveWindow_ = 0;
    if (p_.window.ParametersDialogVisible())
        p_.window.CancelParametersDialog();
}

void TEngine::TimerTick()
{
    foregroundAtTick_ = p_.desktop.ForegroundWindow();
    // A chord found during a delivery is carried out at a tick after it.
    if (!appInactive_ || delivering_)
        return;
    // Some systems (Wine among them) send no shell activations; there the
    // window in front while another application is active was activated too.
    if (!shellActivationSeen_)
        NoteActiveWindow(foregroundAtTick_);
    if (StaysOut()) {
        // A chord seen before the user went into the program is dropped, not carried out there.
        pendingInsert_ = pendingShow_ = pendingPicker_ = false;
        pendingHotKey_ = -1;
        return;
    }
    if (pendingInsert_) {
        if (ChordReleased(VkV))
            InsertSelectedReply();
    } else if (pendingShow_) {
        pendingShow_ = false;
        p_.window.ShowFromHotKey(foregroundAtTick_);
    } else if (pendingPicker_) {
        // Opened once the chord is let go, so that Ctrl and Alt do not act in the search box.
        if (ChordReleased(VkSpace))
            Deliver([this] { PickAndDeliver(); });
    } else if (pendingHotKey_ != -1) {
        DeliverHotKeyReply();
    } else {
        PollHotKeys();
    }
}

void TEngine::PollHotKeys() { RecordChord(FindChord(p_.desktop, p_.library, p_.window.PickerEnabled())); }

void TEngine::RecordChord(const TChordFound& found)
{
    switch (found.chord) {
    case TChord::Picker:
        pendingPicker_ = true;
        break;
    case TChord::ShowWindow:
        pendingShow_ = true;
        break;
    case TChord::InsertSelected:
        pendingInsert_ = true;
        break;
    case TChord::ReplyHotKey:
        pendingHotKey_ = found.hotKeyPosition;
        pendingHotKeyCode_ = p_.library.HotKeyCodeAt(found.hotKeyPosition);
        pendingHotKeyReply_ = p_.library.HotKeyReplyAt(found.hotKeyPosition);
        break;
    case TChord::None:
        break;
    }
}

void TEngine::DeliverHotKeyReply()
{
    // The library may have changed while the program was active in between:
    // a position that names another entry now delivers nothing.
    const int position = pendingHotKey_;
    if (position >= p_.library.HotKeyCount() || p_.library.HotKeyCodeAt(position) != pendingHotKeyCode_
        || p_.library.HotKeyReplyAt(position) != pendingHotKeyReply_) {
        pendingHotKey_ = -1;
        return;
    }
    const HotKeyParts parts = SplitHotKeyCode(pendingHotKeyCode_);
    if (!ChordReleased(static_cast<unsigned char>(parts.key)))
        return;
    pendingHotKey_ = -1;
    const TRep* reply = p_.library.HotKeyReplyAt(position);
    Deliver([this, reply] {
        route_ = TRoute::HotKey;
        routeTyped_ = 0;
        PasteStep(
            CopyReply(*reply, {TDialogPlace::ScreenCentre}, TUse::Paste, 0, lastActiveWindow_), lastActiveWindow_);
    });
}

bool TEngine::ChordReleased(int virtualKey) const
{
    for (int key : {virtualKey, VkControl, VkMenu, VkShift})
        if (p_.desktop.KeyDown(key))
            return false;
    return true;
}

void TEngine::PickAndDeliver()
{
    pendingPicker_ = false;
    const WindowId target = foregroundAtTick_;
    if (target == 0 || target == p_.window.MainWindow())
        return;
    const TPicked picked = p_.window.PickReply(target);
    // The picker had the foreground: the target gets it back, before the
    // paste or when the picker was dismissed, but not from a window the
    // user went to.
    if (!picked.reply) {
        if (!picked.leftForAnotherWindow && p_.desktop.IsWindow(target))
            p_.desktop.SetForeground(target);
        return;
    }
    route_ = TRoute::Picker;
    routeTyped_ = 0;
    const TCopy copy = CopyReply(*picked.reply, {TDialogPlace::ScreenCentre}, TUse::Paste, target, target);
    if (copy == TCopy::Copied || copy == TCopy::CopiedAfterDialog)
        PasteInto(target);
    else if (p_.desktop.IsWindow(target))
        p_.desktop.SetForeground(target);
}

void TEngine::InsertSelectedReply()
{
    pendingInsert_ = false;
    // A folder has nothing to deliver; its empty copy would clear the target's clipboard for nothing.
    Deliver([this] {
        route_ = TRoute::Insert;
        routeTyped_ = 0;
        if (const TRep* reply = SelectedReply())
            PasteStep(
                CopyReply(*reply, {TDialogPlace::ScreenCentre}, TUse::Paste, 0, lastActiveWindow_), lastActiveWindow_);
    });
}

void TEngine::PasteIntoLastActive(const TDialogPlace& dialogPlace)
{
    Deliver([this, dialogPlace] { PasteSelectedIntoLastActive(dialogPlace); });
}

void TEngine::PasteSelectedIntoLastActive(const TDialogPlace& dialogPlace)
{
    p_.window.CommitEdits();
    const TRep* reply = SelectedReply();
    if (!reply)
        return;
    route_ = TRoute::PasteLast;
    routeTyped_ = 0;
    const TCopy copy = CopyReply(*reply, dialogPlace, TUse::Paste, lastActiveWindow_, lastActiveWindow_);
    if (copy == TCopy::Copied)
        p_.desktop.Pause(DeliveryPauseMs);
    if (copy == TCopy::Copied || copy == TCopy::CopiedAfterDialog)
        PasteInto(lastActiveWindow_);
}

void TEngine::CopyEntireReply(const TDialogPlace& dialogPlace)
{
    Deliver([this, dialogPlace] {
        route_ = TRoute::Copy;
        routeTyped_ = 0;
        p_.window.CommitEdits();
        if (const TRep* reply = SelectedReply())
            (void)CopyReply(*reply, dialogPlace, TUse::CopyOnly);
    });
}

void TEngine::DropSelectedReply(int x, int y, WindowId target)
{
    Deliver([this, x, y, target] { DropReply(x, y, target); });
}

void TEngine::DropReply(int x, int y, WindowId target)
{
    const TRep* reply = SelectedReply();
    if (!reply || drag_.PointerInsideForm() || target == 0 || target == p_.window.MainWindow())
        return;
    // The click places the caret at the drop point and gives the target the focus.
    p_.desktop.ClickAtPointer();
    const bool asks = !DialogParameters(*reply).empty();
    if (asks) {
        p_.window.TakeForeground();
        p_.desktop.Pause(DeliveryPauseMs);
    }
    route_ = TRoute::Drag;
    routeTyped_ = 0;
    PasteStep(CopyReply(*reply, {TDialogPlace::AroundPoint, x, y}, TUse::Paste, target, target), target);
}

const TRep* TEngine::SelectedReply() const
{
    const TreeNode node = p_.window.SelectedNode();
    const TRep* rep = node ? p_.library.RepOf(node) : nullptr;
    return rep && !rep->IsFolder() ? rep : nullptr;
}

std::string TEngine::DialogParameters(const TRep& reply) const
{
    if (!p_.window.ParametersDialogEnabled())
        return {};
    const int position = p_.library.MacroIndexOf(&reply);
    if (position < 0)
        return {};
    return std::string(ParameterList(p_.library.MacroAt(position)));
}

TEngine::TCopy TEngine::CopyReply(
    const TRep& reply, const TDialogPlace& dialogPlace, TUse use, WindowId target, WindowId dialogTarget)
{
    const std::string parameters = DialogParameters(reply);
    std::string values;
    if (!parameters.empty() && !p_.window.AskParameters(parameters, dialogPlace, values))
        return TCopy::Cancelled;
    if (!FillInAndCopy(reply, parameters, values, use, parameters.empty() ? target : dialogTarget)) {
        p_.boxes.Warning(ClipboardBusyText);
        return TCopy::Failed;
    }
    return parameters.empty() ? TCopy::Copied : TCopy::CopiedAfterDialog;
}

bool TEngine::FillInAndCopy(const TRep& reply, const std::string& names, const std::string& values, TUse use,
    WindowId target, TMacroCase macroCase)
{
    // The case first, so that values and the placeholders' values keep theirs.
    std::string rtf = FollowMacroCase(JoinTextLines(reply.Lines), macroCase);
    rtf = ReplaceNamesInRtf(std::move(rtf), names, values);
    rtf = ReplaceNamesInRtf(std::move(rtf), PredefinedNames(), PredefinedValues(p_.clock.Now()));
    const TFinishedReply finished = FinishReply(std::move(rtf), [this] { return UserClipboardText(); });
    TraceStep("reply filled in");
    lastStops_ = finished.stops;
    caretBack_ = use == TUse::Paste ? finished.stops.afterCursor : 0;
    consoleLine_.reset();
    const TRenderedReply& rendered = Render(finished.source);
    TraceStep("reply rendered");
    if (use == TUse::Paste && IsConsole(target != 0 ? target : p_.desktop.ForegroundWindow())) {
        consoleFormats_ = rendered.formats;
        consoleLine_ = ConsoleLine(PlainTextOf(consoleFormats_));
        if (consoleLine_) {
            p_.window.ReplyDelivered(reply, {route_, routeTyped_, static_cast<long long>(consoleLine_->size())});
            return true;
        }
    }
    // A copy the user asked for stays; a paste gives the clipboard back.
    bool copied = false;
    if (use == TUse::Paste && p_.window.KeepClipboard()) {
        const TOffer offer = keeper_.OfferReply(rendered.formats);
        copied = offer != TOffer::Failed;
        // Told each time, without stopping the paste: the user's copy is gone.
        if (offer == TOffer::NotKeptBusy)
            p_.window.ShowNotice(ClipboardHeldNotKeptText);
        else if (offer == TOffer::NotKeptTooLarge)
            p_.window.ShowNotice(ClipboardNotKeptText);
    } else {
        LoadIntoRenderer(finished.source);
        copied = p_.renderer.CopyAllToClipboard();
    }
    if (copied) {
        p_.window.ReplyDelivered(reply, {route_, routeTyped_, static_cast<long long>(rendered.deliveredLength)});
        TraceStep("delivery recorded");
    }
    return copied;
}

const TRenderedReply& TEngine::Render(const std::string& source)
{
    if (const TRenderedReply* kept = rendered_.Find(source))
        return *kept;
    LoadIntoRenderer(source);
    // The text as delivered, placeholders and values filled in.
    std::string text = PlainTextOfRtf(p_.renderer.SaveRtf());
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    TRenderedReply fresh{p_.renderer.ClipboardFormats(), text.size()};
    if (!TRenderedReplies::Fits(source, fresh)) {
        unkeptRendering_ = std::move(fresh);
        return unkeptRendering_;
    }
    return rendered_.Keep(source, std::move(fresh));
}

void TEngine::LoadIntoRenderer(const std::string& source)
{
    if (rendererHolds_ && *rendererHolds_ == source)
        return;
    p_.renderer.LoadRtf(source);
    p_.renderer.SetModified(false);
    rendererHolds_ = source;
}

std::u16string TEngine::UserClipboardText() const
{
    // While a reply of ours is out, the clipboard holds it, not the user's text.
    if (keeper_.Waiting())
        return keeper_.KeptText().value_or(std::u16string());
    return p_.desktop.ClipboardText();
}

bool TEngine::ClipboardTick()
{
    // Not while a delivery saves or offers: the tick comes again.
    if (delivering_)
        return true;
    keeper_.Tick();
    return keeper_.Waiting();
}

} // namespace corvane
