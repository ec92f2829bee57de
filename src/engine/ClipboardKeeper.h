#pragma once
// Keeps the user's clipboard across the paste routes: what it held is saved
// before a reply is offered there and given back once the target's own
// program has read the reply and a quiet time has passed, unless something
// new was copied meanwhile. Reads by other programs (clipboard managers,
// remote-desktop and VM clipboard sync) neither start nor shorten that wait.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Clipboard.h"

namespace corvane {

class IClock;

inline constexpr int ClipboardQuietMs = 150; // after the target's last read, before giving back
inline constexpr int ClipboardCeilingMs = 3000; // for targets that never read
inline constexpr TClipboardLimits ClipboardSaveLimits{std::size_t{64} << 20, 250, 200};

// What became of an offer.
enum class TOffer {
    Kept, // the reply is out; what the clipboard held is saved and comes back
    NotKeptBusy, // the reply is out; another program held the clipboard through the save
    NotKeptTooLarge, // the reply is out; the clipboard held too much to keep
    Failed, // the clipboard could not be taken: the reply is not out
};

class TClipboardKeeper {
public:
    TClipboardKeeper(IClipboard& clipboard, IClock& clock) : clipboard_(clipboard), clock_(clock) { }

    // What the clipboard holds saved (unless a reply of ours is still out,
    // which keeps the save made before it) and the reply offered.
    [[nodiscard]] TOffer OfferReply(const TClipboardFormats& reply);
    // The reply is about to be pasted into a window of program `process`.
    void PastingInto(std::uint32_t process);
    // A program (`readerProcess`, 0 when unknown) had one of the reply's formats rendered.
    void ReplyRead(std::uint32_t readerProcess);
    // The reply was used up here (typed out): the target needs no read.
    void ReplyUsed();
    // The saved clipboard given back when its time has come.
    void Tick();
    // The reply was not pasted: it stays on the clipboard for Ctrl+V by hand.
    void LeaveReply() { out_.reset(); }
    // At exit: a reply still out makes way for what the user had.
    void Finish();
    // Ticks are wanted: a reply is out.
    [[nodiscard]] bool Waiting() const { return out_.has_value(); }
    // The plain text of the user's clipboard, kept while a reply of ours
    // stands in its place; nothing when no reply is out (the clipboard
    // holds the user's own) or what was kept has no text.
    [[nodiscard]] std::optional<std::u16string> KeptText() const;

private:
    struct TReplyOut {
        TSavedClipboard saved;
        std::uint32_t sequence = 0;
        std::uint64_t offeredAt = 0;
        std::uint32_t targetProcess = 0;
        std::optional<std::uint64_t> lastReadAt;
    };

    // The reply is still what the clipboard holds, as this program left it.
    [[nodiscard]] bool StillOurs() const;
    [[nodiscard]] bool TimeToGiveBack() const;

    IClipboard& clipboard_;
    IClock& clock_;
    std::optional<TReplyOut> out_;
};

} // namespace corvane
