#pragma once
// The receiver table as it lies in the shared block of each hook type and in
// each process's own list. Compiled into the hook library and into the native
// tests; no Windows headers, and nothing that needs the C++ runtime library
// (the hook library links none): no allocation, no exceptions.
//
// Another process may have written anything into a shared block, so every
// reader clamps Count to the table before indexing.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "hooks/HtSysHookCommon.h"
#include "hooks/OwnKeyRing.h"
#include "library/ProgramList.h"

namespace corvane::tolvar {

constexpr std::int32_t ReceiverSlots = 128;
constexpr std::int32_t MaxReceivers = 127;

struct THtReceiver {
    std::uint8_t Filter;
    std::uint8_t Fill[3];
    std::uint32_t Window; // the low 32 bits of the window handle
};

struct THtReceiverList {
    std::int32_t Count;
    THtReceiver Items[ReceiverSlots];
};

struct THtSharedHookBlock {
    std::uint32_t HookHandle; // the low 32 bits of the hook handle; 0 = none
    THtReceiverList Receivers;
    // Odd while the table is changed (under the mutex), and changed by every
    // change: each key copies the table without taking the mutex.
    std::uint32_t Sequence;
};

static_assert(sizeof(THtReceiver) == 8);
static_assert(offsetof(THtReceiver, Window) == 4);
static_assert(sizeof(THtReceiverList) == 1028);
static_assert(offsetof(THtSharedHookBlock, Receivers) == 4);
static_assert(offsetof(THtSharedHookBlock, Sequence) == 1032);
static_assert(sizeof(THtSharedHookBlock) == 1036);

// Count as a safe bound for indexing: a value outside 0..127 is taken as the
// nearest bound.
inline std::int32_t ValidCount(const THtReceiverList& list)
{
    const std::int32_t n = list.Count;
    if (n < 0)
        return 0;
    if (n > MaxReceivers)
        return MaxReceivers;
    return n;
}

inline std::int32_t IndexOf(const THtReceiverList& list, std::uint32_t window)
{
    const std::int32_t n = ValidCount(list);
    for (std::int32_t i = 0; i < n; ++i)
        if (list.Items[i].Window == window)
            return i;
    return -1;
}

// Index of the new entry, or -1 when the table is full.
inline std::int32_t Add(THtReceiverList& list, std::uint32_t window, bool filter)
{
    const std::int32_t n = ValidCount(list);
    if (n >= MaxReceivers)
        return -1;
    list.Items[n].Filter = filter ? 1 : 0;
    list.Items[n].Window = window;
    list.Count = n + 1;
    return n;
}

// Order has no meaning: the last entry moves into the freed slot.
inline void Delete(THtReceiverList& list, std::int32_t index)
{
    const std::int32_t n = ValidCount(list);
    if (index < 0 || index >= n)
        return;
    if (index != n - 1) {
        // Field by field: the fill bytes are never written after creation.
        list.Items[index].Filter = list.Items[n - 1].Filter;
        list.Items[index].Window = list.Items[n - 1].Window;
    }
    list.Count = n - 1;
}

// Removes every entry for which `isGone(window)` holds; returns how many.
template <typename Pred> std::int32_t DeleteIf(THtReceiverList& list, Pred isGone)
{
    std::int32_t removed = 0;
    std::int32_t i = 0;
    while (i < ValidCount(list)) {
        if (isGone(list.Items[i].Window)) {
            Delete(list, i);
            ++removed;
        } else {
            ++i;
        }
    }
    return removed;
}

// The name of a shared object, built in place: the hook library has no heap.
// Room for the prefix, a file name as long as a path can be, the longest hook
// part and suffix, and the terminator.
constexpr std::size_t HookObjectNameSize = 300;

struct THookObjectName {
    char Text[HookObjectNameSize];
    std::size_t Length;
};

// Appends `count` characters; false, leaving the name as it was, when they do
// not fit.
inline bool AppendToName(THookObjectName& name, const char* text, std::size_t count)
{
    if (count >= HookObjectNameSize - name.Length)
        return false;
    for (std::size_t i = 0; i < count; ++i)
        name.Text[name.Length + i] = text[i];
    name.Length += count;
    name.Text[name.Length] = '\0';
    return true;
}

inline bool AppendToName(THookObjectName& name, const char* text)
{
    std::size_t count = 0;
    while (text[count] != '\0')
        ++count;
    return AppendToName(name, text, count);
}

// The library for 32-bit programs is the 64-bit one's twin beside it, its
// file name ending in this; both name their objects alike.
constexpr char TwinFileSuffix[] = "32";

// "HT_SYS_HOOK_" + the library's file name without folder, extension and
// twin suffix + "_". The file name follows the last "\" or ":"; the extension
// starts at the last "." after it.
inline bool HookObjectPrefix(const char* modulePath, std::size_t length, THookObjectName& out)
{
    std::size_t start = length;
    while (start > 0 && modulePath[start - 1] != '\\' && modulePath[start - 1] != ':')
        --start;
    std::size_t end = length;
    while (end > start && modulePath[end - 1] != '.')
        --end;
    if (end == start)
        end = length; // no extension
    else
        --end; // before the dot
    constexpr std::size_t suffixLength = sizeof TwinFileSuffix - 1;
    if (end - start > suffixLength && modulePath[end - 2] == TwinFileSuffix[0]
        && modulePath[end - 1] == TwinFileSuffix[1])
        end -= suffixLength;
    out.Length = 0;
    out.Text[0] = '\0';
    return AppendToName(out, "HT_SYS_HOOK_") && AppendToName(out, modulePath + start, end - start)
        && AppendToName(out, "_");
}

// The part of each hook type's object names, by THtHookType; the tables of
// the library for 32-bit programs add HookPartSuffix32 ("KEYBOARD32Shared").
constexpr const char* HookPartNames[HookTypeCount] = {"SHELL", "KEYBOARD", "MOUSE", "CBT"};
constexpr char HookPartSuffix32[] = "32";

// Windows runs a global hook for a program of the other bitness in the
// process that set the hook, on the thread that set it. There the event is
// the twin library's to tell, which runs inside that program, as long as the
// twin's hook of this type is set: told here too, every key would arrive
// twice. `subjectProcess` is the process of the window the event is about
// (0: none known).
inline bool HeardForTheTwin(
    bool receiversAttachedHere, bool twinHooked, std::uint32_t subjectProcess, std::uint32_t thisProcess)
{
    return receiversAttachedHere && twinHooked && subjectProcess != 0 && subjectProcess != thisProcess;
}

// Which window an event is about: the one in wParam, the one in the
// structure lParam points to, or (keys, and events about no window) the
// foreground window, whose thread takes the keyboard input.
enum class TEventSubject { Foreground, WParamWindow, StructWindow };

inline TEventSubject SubjectOf(THtHookType type, int nCode)
{
    constexpr int HshellHighBit = 0x8000;
    switch (type) {
    case hkMouse:
        return TEventSubject::StructWindow;
    case hkShell:
        switch (nCode & ~HshellHighBit) {
        case 1: // created
        case 2: // destroyed
        case 4: // activated
        case 6: // redraw (flashing with the high bit)
        case 8: // language
        case 13: // replaced
            return TEventSubject::WParamWindow;
        default:
            return TEventSubject::Foreground;
        }
    case hkCBT:
        switch (nCode) {
        case 0: // move or size
        case 1: // minimise or maximise
        case 3: // create
        case 4: // destroy
        case 5: // activate
        case 9: // set focus
            return TEventSubject::WParamWindow;
        case 6: // click skipped
            return TEventSubject::StructWindow;
        default:
            return TEventSubject::Foreground;
        }
    default:
        return TEventSubject::Foreground;
    }
}

// Brings `mirrored` (the receivers attached to this library) to `wanted`
// (its twin's table): detaches what is no longer wanted or wanted with
// another filter setting, then attaches what is missing. `attach(window,
// filter)` and `detach(window)` return the library's result code; the list
// follows only what succeeded (a failed attach is tried again next time; a
// receiver registered already is let go, so that once the table is empty
// the next attach sets a fresh hook).
template <typename Attach, typename Detach>
void MirrorReceivers(const THtReceiverList& wanted, THtReceiverList& mirrored, Attach attach, Detach detach)
{
    auto sameIn = [](const THtReceiverList& list, const THtReceiver& r) {
        const std::int32_t i = IndexOf(list, r.Window);
        return i >= 0 && (list.Items[i].Filter != 0) == (r.Filter != 0);
    };
    std::int32_t i = 0;
    while (i < ValidCount(mirrored)) {
        const THtReceiver r = mirrored.Items[i];
        if (sameIn(wanted, r)) {
            ++i;
            continue;
        }
        detach(r.Window);
        Delete(mirrored, i); // gone either way: the library no longer serves it
    }
    const std::int32_t n = ValidCount(wanted);
    for (std::int32_t k = 0; k < n; ++k) {
        const THtReceiver& r = wanted.Items[k];
        if (IndexOf(mirrored, r.Window) >= 0)
            continue;
        const std::int32_t result = attach(r.Window, r.Filter != 0);
        if (result == htOk)
            Add(mirrored, r.Window, r.Filter != 0);
        else if (result == htAlreadyRegistered)
            detach(r.Window); // left by an earlier host that was ended: its hook went with it
    }
}

// ---- Operations of one hook type's wrapper, over its shared block and the
// process's own list. `Sys` supplies the few system calls:
//   bool WindowExists(uint32_t window)
//   uint32_t SetHook()                 0 on failure
//   bool Unhook(uint32_t hook)
//   int32_t LastErrorCode()

template <typename Sys> std::int32_t InstallHook(THtSharedHookBlock& block, Sys& sys)
{
    if (block.HookHandle != 0)
        return -5;
    const std::uint32_t hook = sys.SetHook();
    if (hook == 0)
        return sys.LastErrorCode();
    block.HookHandle = hook;
    return 0;
}

template <typename Sys> std::int32_t UninstallHook(THtSharedHookBlock& block, Sys& sys)
{
    std::int32_t result = 0;
    if (block.HookHandle != 0) {
        if (!sys.Unhook(block.HookHandle))
            result = sys.LastErrorCode();
        block.HookHandle = 0;
    }
    block.Receivers.Count = 0;
    return result;
}

// A process that ended without detaching (killed, crashed) leaves its windows
// in the table and its hook handle in the block, while Windows has already
// removed the hook with the thread that set it. Before registering, drop the
// receivers whose windows are gone; if none is left, nobody is served by the
// recorded hook, so it is released (a failure only means it is gone already)
// and the attach that follows installs a fresh one.
template <typename Sys> void DropLeftovers(THtSharedHookBlock& block, Sys& sys)
{
    DeleteIf(block.Receivers, [&](std::uint32_t w) { return !sys.WindowExists(w); });
    if (ValidCount(block.Receivers) == 0 && block.HookHandle != 0) {
        sys.Unhook(block.HookHandle);
        block.HookHandle = 0;
    }
    block.Receivers.Count = ValidCount(block.Receivers);
}

template <typename Sys>
std::int32_t AttachTo(THtSharedHookBlock& block, THtReceiverList& local, std::uint32_t window, bool filter, Sys& sys)
{
    DropLeftovers(block, sys);
    if (IndexOf(block.Receivers, window) >= 0)
        return -2;
    if (Add(block.Receivers, window, filter) < 0)
        return -4;
    Add(local, window, filter);
    return block.Receivers.Count == 1 ? InstallHook(block, sys) : 0;
}

template <typename Sys>
std::int32_t DetachFrom(THtSharedHookBlock& block, THtReceiverList& local, std::uint32_t window, Sys& sys)
{
    Delete(local, IndexOf(local, window));
    const std::int32_t i = IndexOf(block.Receivers, window);
    if (i < 0) {
        // Already dropped by a notification pass; if that emptied the table,
        // the hook still serves nobody and goes now.
        if (ValidCount(block.Receivers) == 0 && block.HookHandle != 0)
            UninstallHook(block, sys);
        return -3;
    }
    Delete(block.Receivers, i);
    return ValidCount(block.Receivers) == 0 ? UninstallHook(block, sys) : 0;
}

// ---- One notification pass, in two steps so that no lock is held while
// the hooked thread waits on a receiver: the receivers are copied under the
// lock, notified without it, and those whose windows were gone are then
// removed under the lock again. A receiver whose window still exists stays,
// however slow its answer: only its process's end removes it.
struct Delivery {
    bool Delivered;
    std::int32_t Reply;
};

struct TGoneWindows {
    std::int32_t Count;
    std::uint32_t Items[MaxReceivers];
};

inline void CopyReceivers(const THtReceiverList& from, THtReceiverList& to)
{
    const std::int32_t n = ValidCount(from);
    for (std::int32_t i = 0; i < n; ++i) {
        to.Items[i].Filter = from.Items[i].Filter;
        to.Items[i].Window = from.Items[i].Window;
    }
    to.Count = n;
}

// `deliver(receiver)` tells whether the receiver was reached (false only
// when its window is gone) and gives a filtering receiver's reply. Returns
// the first non-zero reply; the unreached windows are added to `gone`.
template <typename Deliver>
std::int32_t NotifyReceivers(const THtReceiverList& receivers, Deliver deliver, TGoneWindows& gone)
{
    std::int32_t result = 0;
    gone.Count = 0;
    const std::int32_t n = ValidCount(receivers);
    for (std::int32_t i = 0; i < n; ++i) {
        const Delivery d = deliver(receivers.Items[i]);
        if (!d.Delivered) {
            gone.Items[gone.Count++] = receivers.Items[i].Window;
            continue;
        }
        if (result == 0)
            result = d.Reply;
    }
    return result;
}

// Runs `read()` until it ran with `sequence` even and unchanged around it;
// false when that never happened in a few tries. `load(field)` reads shared
// memory as it is now; `fence()` orders the reads.
template <typename Load, typename Fence, typename Read>
bool ReadSteadily(const std::uint32_t& sequence, Load load, Fence fence, Read read)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::uint32_t before = load(sequence);
        if ((before & 1u) != 0)
            continue;
        fence();
        read();
        fence();
        if (load(sequence) == before)
            return true;
    }
    return false;
}

// A writer, under the writers' mutex, keeps the sequence odd from a change's
// start to its end; `add(field)` adds 1 as one indivisible step. A writer
// that died half-way left it odd: the next change starts from there and ends
// it even, where counting two steps per change would keep it odd for good
// and every reader on its slow path.
template <typename Add> void BeginChange(std::uint32_t& sequence, Add add)
{
    if ((sequence & 1u) == 0)
        add(sequence);
}

template <typename Add> void EndChange(std::uint32_t& sequence, Add add) { add(sequence); }

// A copy of the receivers as they stood between two changes; false when the
// table kept changing (the caller then copies under the mutex).
template <typename Load, typename Fence>
bool CopyReceiversSteadily(const THtSharedHookBlock& block, THtReceiverList& to, Load load, Fence fence)
{
    return ReadSteadily(block.Sequence, load, fence, [&] { CopyReceivers(block.Receivers, to); });
}

inline void DropGone(THtReceiverList& list, const TGoneWindows& gone)
{
    DeleteIf(list, [&](std::uint32_t w) {
        for (std::int32_t i = 0; i < gone.Count; ++i)
            if (gone.Items[i] == w)
                return true;
        return false;
    });
}

// ---- The input state the program publishes to every hooked process, in a
// block of its own. Written under its own mutex; read without any lock: the
// sequence is odd while a write is under way and changes with every write, so
// a reader that saw it change reads again.
struct THtInputState {
    std::uint32_t Sequence;
    std::uint32_t Flags;
    char ExcludedPrograms[htExcludedProgramsSize]; // the setting as stored, NUL-terminated
    THtOwnKeyRing OwnKeys; // outside the sequence: it keeps its own order
};

// The 64-bit and the 32-bit library map the same blocks: fixed-width fields
// only, no pointer or handle-sized member, laid out alike in both.
static_assert(sizeof(THtInputState) == 8 + htExcludedProgramsSize + sizeof(THtOwnKeyRing));
static_assert(offsetof(THtInputState, OwnKeys) == 8 + htExcludedProgramsSize);
static_assert(offsetof(THtInputState, Flags) == 4);
static_assert(offsetof(THtInputState, ExcludedPrograms) == 8);
static_assert(alignof(THtSharedHookBlock) == 4 && alignof(THtInputState) == 4);

inline std::string_view BoundedText(const char* text, std::size_t size)
{
    std::size_t n = 0;
    while (n < size && text[n] != '\0')
        ++n;
    return {text, n};
}

inline char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether the keys of `program` (its file path) are told to the receivers:
// not while the program is paused, nor in a program the user keeps it out
// of. `load(field)` reads shared memory as it is now; `fence()` orders the
// reads. Keys are told when the state cannot be read steadily.
template <typename Load, typename Fence>
bool KeysAreTold(const THtInputState& state, std::string_view program, Load load, Fence fence)
{
    bool told = true;
    const bool steady = ReadSteadily(state.Sequence, load, fence, [&] {
        told = (state.Flags & htStatePaused) == 0
            && !ProgramListHolds(BoundedText(state.ExcludedPrograms, htExcludedProgramsSize), program, FoldAscii);
    });
    return !steady || told;
}

// Writes the state as one step for the readers above; `add(field)` adds 1
// to the sequence as one indivisible step. Text beyond the block is cut.
template <typename Add>
void WriteInputState(THtInputState& state, std::uint32_t flags, std::string_view excluded, Add add)
{
    BeginChange(state.Sequence, add);
    state.Flags = flags;
    const std::size_t n = excluded.size() < htExcludedProgramsSize ? excluded.size() : htExcludedProgramsSize - 1;
    for (std::size_t i = 0; i < n; ++i)
        state.ExcludedPrograms[i] = excluded[i];
    state.ExcludedPrograms[n] = '\0';
    EndChange(state.Sequence, add);
}

// ---- Which hook events are notified, and with what.
struct Notice {
    std::uint32_t Code;
    std::uint64_t WParam;
    std::int64_t LParam;
};

constexpr int HcAction = 0;
constexpr int HcbtActivate = 5;
constexpr int HcbtClickSkipped = 6;

inline std::optional<Notice> ShellNotice(int nCode, std::uint64_t wParam, std::int64_t lParam)
{
    if (nCode < 0)
        return std::nullopt;
    return Notice{static_cast<std::uint32_t>(nCode), wParam, lParam};
}

// What the hooked thread knows of a key as it takes it from its queue: the
// modifiers as its own key state has them (another process's view of the
// keyboard may lag behind), whether its focus is a password field, whether
// the key (with Ctrl and Alt, that is AltGr) gives a character there, and
// whether this program synthesised it.
struct TKeyContext {
    bool Control;
    bool Shift;
    bool Alt;
    bool PasswordField;
    bool AltGrCharacter = false;
    bool OwnInput = false;
};

// The modifiers travel in the notice's wParam above the virtual-key code.
constexpr std::uint64_t NoticeControlBit = 1u << 16;
constexpr std::uint64_t NoticeShiftBit = 1u << 17;
constexpr std::uint64_t NoticeAltBit = 1u << 18;

inline bool KeyIsModifier(std::uint64_t virtualKey)
{
    return (virtualKey >= 0x10 && virtualKey <= 0x12) || (virtualKey >= 0xA0 && virtualKey <= 0xA5)
        || virtualKey == 0x5B || virtualKey == 0x5C;
}

// In a password field only what cannot be typed text is told: the modifiers
// themselves (so their state stays known) and Ctrl chords that give no
// character. Alt alone types characters there too (Alt+numpad codes).
inline bool ToldFromPasswordField(std::uint64_t virtualKey, const TKeyContext& context)
{
    return KeyIsModifier(virtualKey) || (context.Control && !context.AltGrCharacter);
}

// The context of a key typed now: the focus is a password field when the
// published state says so (UI Automation's answer, asked by the program
// when the focus changed) or when the focused control itself says so, which
// is then not asked. Whether the key gives an AltGr character is asked only
// of a password field's Ctrl+Alt keys.
template <typename AskFocus, typename AskAltGr>
TKeyContext KeyContextOf(
    bool control, bool shift, bool alt, std::uint32_t publishedFlags, AskFocus focusIsPassword, AskAltGr altGrCharacter)
{
    TKeyContext context{control, shift, alt, (publishedFlags & htStatePasswordFocus) != 0 || focusIsPassword()};
    if (context.PasswordField && control && alt)
        context.AltGrCharacter = altGrCharacter();
    return context;
}

inline std::optional<Notice> KeyboardNotice(
    int nCode, std::uint64_t wParam, std::int64_t lParam, const TKeyContext& context)
{
    if (nCode != HcAction || context.OwnInput)
        return std::nullopt;
    if (context.PasswordField && !ToldFromPasswordField(wParam & 0xFFFFu, context))
        return std::nullopt;
    const std::uint64_t keyAndModifiers = (wParam & 0xFFFFu) | (context.Control ? NoticeControlBit : 0)
        | (context.Shift ? NoticeShiftBit : 0) | (context.Alt ? NoticeAltBit : 0);
    return Notice{0, keyAndModifiers, lParam};
}

// An edit control, plain or rich, that shows its text as bullets; controls
// of other classes count when they answer that they hide their text.
inline bool IsPasswordField(const char* className, std::uint32_t style)
{
    constexpr std::uint32_t EsPassword = 0x20;
    if ((style & EsPassword) == 0)
        return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    auto startsWith = [&](const char* prefix) {
        std::size_t i = 0;
        for (; prefix[i] != '\0'; ++i)
            if (lower(className[i]) != prefix[i])
                return false;
        return true;
    };
    const bool edit = startsWith("edit") && className[4] == '\0';
    return edit || startsWith("richedit");
}

// Screen coordinates are packed as their low 16 bits each.
inline std::uint64_t PackPoint(std::int32_t x, std::int32_t y)
{
    return (static_cast<std::uint32_t>(x) & 0xFFFFu) | ((static_cast<std::uint32_t>(y) & 0xFFFFu) << 16);
}

inline std::optional<Notice> MouseNotice(
    int nCode, std::uint64_t mouseMessage, std::int32_t x, std::int32_t y, std::int64_t targetWindow)
{
    if (nCode != HcAction)
        return std::nullopt;
    return Notice{static_cast<std::uint32_t>(mouseMessage), PackPoint(x, y), targetWindow};
}

// For activation and skipped clicks the lParam is taken from the structure
// the hook's lParam points to; `structWindow` is that field's value.
inline bool CbtReadsStruct(int nCode) { return nCode == HcbtActivate || nCode == HcbtClickSkipped; }

inline std::optional<Notice> CbtNotice(int nCode, std::uint64_t wParam, std::int64_t lParam, std::int64_t structWindow)
{
    if (nCode < 0)
        return std::nullopt;
    return Notice{static_cast<std::uint32_t>(nCode), wParam, CbtReadsStruct(nCode) ? structWindow : lParam};
}

} // namespace corvane::tolvar
