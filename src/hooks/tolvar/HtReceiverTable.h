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
};

static_assert(sizeof(THtReceiver) == 8);
static_assert(offsetof(THtReceiver, Window) == 4);
static_assert(sizeof(THtReceiverList) == 1028);
static_assert(offsetof(THtSharedHookBlock, Receivers) == 4);
static_assert(sizeof(THtSharedHookBlock) == 1032);

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

// "HT_SYS_HOOK_" + the library's file name without folder and extension + "_".
// The file name follows the last "\" or ":"; the extension starts at the last
// "." after it.
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
    out.Length = 0;
    out.Text[0] = '\0';
    return AppendToName(out, "HT_SYS_HOOK_") && AppendToName(out, modulePath + start, end - start)
        && AppendToName(out, "_");
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

// ---- One notification pass. `deliver(receiver)` returns whether the receiver
// was reached and writes a filtering receiver's reply. Unreached receivers are
// dropped and the slot is examined again. Returns the first non-zero reply.
struct Delivery {
    bool Delivered;
    std::int32_t Reply;
};

template <typename Deliver> std::int32_t BroadcastTo(THtReceiverList& list, Deliver deliver)
{
    std::int32_t result = 0;
    std::int32_t i = 0;
    while (i < ValidCount(list)) {
        const Delivery d = deliver(list.Items[i]);
        if (!d.Delivered) {
            Delete(list, i);
            continue;
        }
        if (result == 0)
            result = d.Reply;
        ++i;
    }
    return result;
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
