#pragma once
// The expansion engine: typed macros, polled chords and every route by which
// a reply leaves the program. Events go in; the engine fills the reply in
// through its own hidden editor, puts it on the clipboard and synthesises the paste.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "engine/ClipboardKeeper.h"
#include "engine/DeliveryRoute.h"
#include "engine/DragOut.h"
#include "engine/KeyGate.h"
#include "engine/MacroInsertions.h"
#include "engine/OwnKeys.h"
#include "engine/Recogniser.h"
#include "engine/RenderedReplies.h"
#include "engine/ReplyShaping.h"
#include "library/Texts.h"
#include "platform/Desktop.h"
#include "platform/TreeControl.h"

namespace corvane {

class IClock;
class IMessageBoxes;
class IReplyEditor;
class TRep;
class TRepList;

inline constexpr int DeliveryPauseMs = 50;
inline constexpr int ForegroundWaitMs = 500;
inline constexpr int ForegroundPollMs = 10;
// Consoles and terminals that ignore or misread Ctrl+V: they get the reply typed.
inline constexpr std::string_view BuiltInConsoleClasses[]
    = {"ConsoleWindowClass", "CASCADIA_HOSTING_WINDOW_CLASS", "mintty", "PuTTY"};
inline constexpr std::size_t TypingChunk = 64;

// How the picker closed: with a reply chosen, or not, and then either
// dismissed (Escape) or left for another window.
struct TPicked {
    const TRep* reply = nullptr;
    bool leftForAnotherWindow = false;
};

// What the engine asks of the main window.
class IEngineWindow {
public:
    virtual ~IEngineWindow() = default;
    [[nodiscard]] virtual TreeNode SelectedNode() const = 0;
    // Writes the pending edits of the selected entry, so that what is
    // delivered is what the user last saw.
    virtual void CommitEdits() = 0;
    [[nodiscard]] virtual WindowId MainWindow() const = 0;
    // Restores and shows the main window and takes the foreground from `from`.
    virtual void ShowFromHotKey(WindowId from) = 0;
    // Brings the main window forward before a dialog at a drop point.
    virtual void TakeForeground() = 0;
    // The setting that enables the parameters dialog, read afresh.
    [[nodiscard]] virtual bool ParametersDialogEnabled() const = 0;
    // Window classes the user added to the consoles, separated by commas; read afresh.
    [[nodiscard]] virtual std::string ConsoleClasses() const = 0;
    // The setting that gives the user's clipboard back after a paste; read afresh.
    [[nodiscard]] virtual bool KeepClipboard() const = 0;
    // Shows the parameters dialog modally; true when accepted, with the
    // values joined by the character 1.
    [[nodiscard]] virtual bool AskParameters(
        const std::string& parameterList, const TDialogPlace& place, std::string& values)
        = 0;
    [[nodiscard]] virtual bool ParametersDialogVisible() const = 0;
    virtual void CancelParametersDialog() = 0;
    // The setting that enables Ctrl+Alt+Space, read afresh.
    [[nodiscard]] virtual bool PickerEnabled() const = 0;
    // The programs the user keeps the engine out of, as stored; read afresh.
    [[nodiscard]] virtual std::string ExcludedPrograms() const = 0;
    // Shows the picker over `target` until the user chooses a reply or closes it.
    [[nodiscard]] virtual TPicked PickReply(WindowId target) = 0;
    // A reply went onto the clipboard to be delivered.
    virtual void ReplyDelivered(const TRep& reply, const TDelivery& delivery) = 0;
    // Tells the user something without interrupting what they do (the tray icon's balloon).
    virtual void ShowNotice(const char* text) = 0;
    // The typing settings as last saved: a capital macro gives a capital
    // reply; Backspace right after an expansion takes it back; Tab and Enter
    // end a macro as the space does.
    [[nodiscard]] virtual bool FollowMacroCase() const = 0;
    [[nodiscard]] virtual bool UndoWithBackspace() const = 0;
    [[nodiscard]] virtual bool EndKeysTabEnter() const = 0;
};

// What is looked up of a window (its program, whether it runs with more
// rights) costs opening its process: a window's process never changes, so
// the answer is kept until another window is asked about.
template <typename T> class TWindowMemo {
public:
    template <typename LookUp> const T& Of(WindowId window, LookUp lookUp)
    {
        if (window != window_ || window == 0) {
            window_ = window;
            value_ = lookUp(window);
        }
        return value_;
    }

private:
    WindowId window_ = 0;
    T value_{};
};

// A window's class and its program, which stay as they are while it lives.
struct TWindowKind {
    std::string className;
    std::uint32_t process = 0;
};

struct TEngineParts {
    TRepList& library;
    // The engine's own editor, never shown: each delivery fills a reply in
    // there and copies it, whatever the user has open in the window.
    IReplyEditor& renderer;
    IEngineWindow& window;
    IDesktop& desktop;
    IClock& clock;
    IMessageBoxes& boxes;
    IClipboard& clipboard;
};

class TEngine {
public:
    // Every key the engine sends goes through a desktop that knows it again
    // when its notice comes back.
    explicit TEngine(const TEngineParts& parts)
        : ownKeys_(parts.desktop, parts.clock),
          p_{parts.library, parts.renderer, parts.window, ownKeys_, parts.clock, parts.boxes, parts.clipboard},
          keeper_(parts.clipboard, parts.clock)
    { }

    // The hook library's ring of the keys the engine sends (null: none).
    void UseOwnKeyRing(THtOwnKeyRing* ring) { ownKeys_.UseRing(ring); }
    // Armed while another application is active.
    void SetAppInactive(bool inactive) { appInactive_ = inactive; }
    [[nodiscard]] bool AppInactive() const { return appInactive_; }
    // While paused nothing typed is recognised and no chord is acted on.
    void SetPaused(bool paused) { paused_ = paused; }
    [[nodiscard]] bool Paused() const { return paused_; }

    // --- hook events ---
    // Asked while the program the key was typed into waits: true when the
    // key is the press that completes a chord this program acts on, which
    // is then taken away from that program and carried out here. `modifiers`
    // as that program's key state had them.
    [[nodiscard]] bool TakesChordKey(int virtualKey, bool keyIsBeingPressed, const TModifiers& modifiers);
    // The same question for every key: besides a chord's, the Tab or Enter
    // that ends a macro (when they are ending keys) and the Backspace that
    // takes back the expansion just made, with its automatic repeats. Keys
    // this program sent (told apart by their order) and characters it typed
    // (`synthesised`) are never taken. The answer is remembered for the
    // KeyAction of the same key.
    // A chord is taken only as the receiver thread took it.
    [[nodiscard]] bool TakesKey(int virtualKey, bool keyIsBeingPressed, const TModifiers& modifiers,
        bool synthesised = false, bool takenByReceiver = true);
    // The receiver thread answered first: a key it took that the engine
    // does not want goes back to its program; one it let pass is no longer
    // the engine's to take.
    void AgreeOnTaken(int virtualKey, bool keyIsBeingPressed, bool takenByReceiver);
    // Whether a plain Backspace now takes the last expansion back, for the
    // receiver thread to answer from.
    void PublishUndoChance() const;
    // `scanCode` tells the right Shift key from the left. A key of this
    // program's own only ends what was being typed. `holdId`: the keys typed
    // after this one are held back until the engine is done with it.
    void KeyAction(
        int virtualKey, bool keyIsBeingPressed, int scanCode = 0, bool synthesised = false, std::uint8_t holdId = 0);
    void SetHeldKeys(IHeldKeys* keys) { heldKeys_ = keys; }
    void MouseClick();
    // A shell activation: from the first one on, the window in front at a
    // tick no longer counts as activated.
    void WindowActivated(WindowId window);
    void WindowDestroyed(WindowId window, bool terminating);

    // One tick of the 50 ms timer: detect a chord, or carry out the one
    // detected on an earlier tick.
    void TimerTick();

    // --- routes started in the program ---
    void InsertSelectedReply();
    void PasteIntoLastActive(const TDialogPlace& dialogPlace);
    void CopyEntireReply(const TDialogPlace& dialogPlace);
    // A drag of the selected node out of the tree, move by move.
    void StartDrag() { drag_.Start(SelectedReply() != nullptr); }
    [[nodiscard]] TDragStep DragMove(const TDragMouse& move) { return drag_.Move(move); }
    void EndDrag() { drag_.End(); }
    // A reply dragged from the tree and released at (x, y) over `target`
    // (the top-level window there); nothing when the drag's last move lay
    // inside the main window.
    void DropSelectedReply(int x, int y, WindowId target);

    // --- the clipboard a paste route borrowed ---
    // A program (`readerProcess`, 0 when unknown) read a format of the reply offered there.
    void ClipboardRead(std::uint32_t readerProcess) { keeper_.ReplyRead(readerProcess); }
    // Gives the user's clipboard back when its time has come; true while
    // further ticks are wanted.
    bool ClipboardTick();
    // At exit: what the user had goes back in place of a reply still out.
    void FinishClipboard() { keeper_.Finish(); }
    // The plain text of the user's clipboard while a reply stands in its
    // place; nothing when no reply is out and the clipboard is the user's own.
    [[nodiscard]] std::optional<std::u16string> KeptClipboardText() const { return keeper_.KeptText(); }

    // What the receiver thread decides keys by, as things stand now.
    [[nodiscard]] TGateState GateState() const;

    // --- state, for the window and the tests ---
    [[nodiscard]] const std::string& TypedBuffer() const { return typedBuffer_; }
    [[nodiscard]] WindowId LastActiveWindow() const { return lastActiveWindow_; }
    [[nodiscard]] WindowId ForegroundAtTick() const { return foregroundAtTick_; }
    [[nodiscard]] int PendingHotKey() const { return pendingHotKey_; }
    [[nodiscard]] bool PendingInsert() const { return pendingInsert_; }
    [[nodiscard]] bool PendingShow() const { return pendingShow_; }
    [[nodiscard]] bool PendingPicker() const { return pendingPicker_; }
    // An expansion Backspace would take back now.
    [[nodiscard]] bool CanUndoExpansion() const { return undo_.has_value(); }

private:
    // What a key that was taken from the target is taken for.
    enum class TTaken { None, Chord, EndKey, Undo, HeldBackspace };
    // A typed expansion as the target holds it: the caret stands `before`
    // stops after its start and `after` stops before its end.
    struct TUndo {
        std::string typed;
        int endKey = VkSpace;
        std::size_t before = 0;
        std::size_t after = 0;
        WindowId foreground = 0;
        WindowId focus = 0;
    };

    enum class TCopy { Copied, CopiedAfterDialog, Cancelled, Failed };
    // Whether the route pastes the reply (and may give the clipboard back) or only copies it.
    enum class TUse { Paste, CopyOnly };

    // `endKey`: the space, or the Tab or Enter taken from the target.
    void ExpandTypedMacro(int endKey, const std::shared_ptr<void>& hold = nullptr, std::uint8_t holdId = 0);
    // Releases hold `id` when the last copy goes; null for no hold.
    [[nodiscard]] std::shared_ptr<void> HoldRelease(std::uint8_t id) const;
    [[nodiscard]] bool EndsMacro(int virtualKey, const TModifiers& modifiers) const;
    // The expansion as it was typed: in the same window, with the same focus.
    [[nodiscard]] bool UndoStillApplies() const;
    // The reply erased and what the user typed put back, not to be expanded again.
    void UndoExpansion();
    // Types back a macro and the key that ended it, as the user typed them:
    // as characters, which the recogniser does not take for a macro again.
    void TypeBack(const std::string& typed, int endKey);
    // The text the user had copied: the one kept while a reply of ours is out.
    [[nodiscard]] std::u16string UserClipboardText() const;
    void SendKeyStroke(int virtualKey);
    // The strokes in one go, no key of the user's between them.
    void SendKeyStrokes(int virtualKey, size_t count);
    // Runs `delivery` now, or after the one under way when called from inside
    // it (a macro typed while a program renders the user's clipboard for the
    // save, or while a dialog is open): one delivery at a time, in order.
    void Deliver(std::function<void()> delivery);
    // How a macro was typed: its text, the key that ended it and its case.
    struct TTypedMacro {
        std::string typed;
        int endKey = VkSpace;
        TMacroCase macroCase = TMacroCase::AsStored;
    };
    void PasteTypedReply(
        const TRep& reply, const std::string& names, const std::string& values, const TTypedMacro& macro);
    // Paused, or the program in front is one the user keeps the engine out of.
    [[nodiscard]] bool StaysOut() const;
    // The program file of the window in front.
    [[nodiscard]] const std::string& ForegroundProgram() const;
    // The picker over the program in front; the chosen reply pasted into it.
    void PickAndDeliver();
    void TrackModifier(int virtualKey, bool keyIsBeingPressed, int scanCode);
    [[nodiscard]] TModifiers HeldModifiers() const;
    // Remembers the program window that `window` belongs to as the target of
    // the paste routes; the shell's own windows, tool windows and this
    // program's windows are never one.
    void NoteActiveWindow(WindowId window);
    [[nodiscard]] bool IsPasteTarget(WindowId rootWindow) const;
    void PollHotKeys();
    void RecordChord(const TChordFound& found);
    // The chord's key and every modifier are up: keys synthesised now reach
    // the target as they are sent, not as Ctrl+Alt+V or Ctrl+Shift+V.
    [[nodiscard]] bool ChordReleased(int virtualKey) const;
    void DeliverHotKeyReply();
    void PasteSelectedIntoLastActive(const TDialogPlace& dialogPlace);
    void DropReply(int x, int y, WindowId target);
    // The reply filled in (after the dialog when it needs one) and put on the clipboard.
    // `target`: the window the reply goes to (0: the one in front when it is
    // pasted), or `dialogTarget` after the dialog.
    TCopy CopyReply(const TRep& reply, const TDialogPlace& dialogPlace, TUse use = TUse::Paste, WindowId target = 0,
        WindowId dialogTarget = 0);
    // The reply loaded into the renderer, names and values and then
    // the placeholders filled in, and copied; false when the clipboard could
    // not be taken. A reply of one line for a console is kept to be typed
    // instead: the clipboard is not touched.
    bool FillInAndCopy(const TRep& reply, const std::string& names, const std::string& values, TUse use,
        WindowId target = 0, TMacroCase macroCase = TMacroCase::AsStored);
    // The parameter list the dialog asks for, or empty when none is needed.
    std::string DialogParameters(const TRep& reply) const;
    // The reply selected in the tree; nullptr for a folder or no selection.
    const TRep* SelectedReply() const;
    void PasteInto(WindowId window);
    // The paste of the hot key, insert and drop routes: into the focus a
    // moment after the copy, or into `dialogTarget` after the dialog.
    void PasteStep(TCopy copy, WindowId dialogTarget);
    // The clipboard's reply into the focus: pasted (true), or typed into a
    // console; then the caret put where the reply wants it and the ending key sent.
    bool SimulatePaste();
    // What a window is for all its life: asked of the system once a window.
    [[nodiscard]] const TWindowKind& KindOf(WindowId window) const;
    [[nodiscard]] bool IsConsole(WindowId window) const;
    // True, after telling the user once per program, when the system would
    // drop the keys meant for `window`.
    [[nodiscard]] bool RefusesInput(WindowId window);
    // The clipboard formats of a reply's filled-in source, rendered once.
    [[nodiscard]] const TRenderedReply& Render(const std::string& source);
    void LoadIntoRenderer(const std::string& source);
    // What goes into a console: the reply's one line as it is typed, with no
    // character that would run or complete anything; several lines are left
    // on the clipboard, and the user is told once.
    // True when the line was typed whole.
    bool DeliverToConsole();
    // False, with the reply left on the clipboard, when the system refused the keys.
    bool TypeIntoConsole(std::u16string_view line);

    TOwnKeysDesktop ownKeys_;
    TEngineParts p_;
    bool ownKeyNow_ = false; // the key being handled is one this program sent
    std::string typedBuffer_;
    bool appInactive_ = false;
    bool leftShiftDown_ = false;
    bool rightShiftDown_ = false;
    bool controlDown_ = false;
    bool altDown_ = false;
    bool altGrCharacterTyped_ = false; // the last key, with Ctrl+Alt, gave a character
    bool pendingShow_ = false;
    bool pendingInsert_ = false;
    bool pendingPicker_ = false;
    bool paused_ = false;
    int pendingHotKey_ = -1;
    std::string pendingHotKeyCode_; // the entry's code when it was detected
    const void* pendingHotKeyReply_ = nullptr;
    WindowId foregroundAtTick_ = 0;
    WindowId lastActiveWindow_ = 0;
    bool shellActivationSeen_ = false;
    std::set<std::string> elevatedProgramsTold_;
    mutable TWindowMemo<std::string> foregroundProgram_;
    TWindowMemo<std::string> elevatedProgram_;
    mutable TWindowMemo<TWindowKind> windowKind_;
    TRenderedReplies rendered_;
    TRenderedReply unkeptRendering_; // one too large to keep, while it is delivered
    std::optional<std::string> rendererHolds_; // the source the hidden editor was loaded with
    // The one line of a reply for a console, typed in place of a paste.
    std::optional<std::u16string> consoleLine_;
    TClipboardFormats consoleFormats_;
    bool consoleLinesTold_ = false;
    TDragOut drag_;
    TClipboardKeeper keeper_;
    // The route of the delivery under way, for the usage figures.
    TRoute route_ = TRoute::Insert;
    long long routeTyped_ = 0;
    bool delivering_ = false;
    size_t keysToErase_ = 0; // typed macros and their spaces not yet erased from the target
    std::deque<std::function<void()>> waitingDeliveries_;
    IHeldKeys* heldKeys_ = nullptr;
    TTaken taken_ = TTaken::None; // the answer for the key being handled
    std::optional<TUndo> undo_;
    bool holdingBackspace_ = false; // the Backspace that took an expansion back is still down
    TCaretStops lastStops_; // of the reply copied last
    std::size_t caretBack_ = 0; // for the next paste
    int endKeyToSend_ = 0; // after the next paste; 0 for none
};

} // namespace corvane
