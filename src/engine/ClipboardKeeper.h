#pragma once
// Keeps the user's clipboard across the paste routes: what it held is saved
// before a reply is offered there and given back once the target has read the
// reply and a quiet time has passed, unless something new was copied meanwhile.
#include <cstdint>
#include <optional>
#include <string>

#include "library/Texts.h"
#include "platform/Clipboard.h"

namespace corvane {

class IClock;

inline constexpr int ClipboardQuietMs = 150; // after the last read, before giving back
inline constexpr int ClipboardCeilingMs = 3000; // for targets that never read
inline constexpr TClipboardLimits ClipboardSaveLimits{std::size_t{64} << 20, 250};

class TClipboardKeeper {
public:
    TClipboardKeeper(IClipboard& clipboard, IClock& clock) : clipboard_(clipboard), clock_(clock) { }

    // What the clipboard holds saved (unless a reply of ours is still out,
    // which keeps the save made before it) and the reply offered; false when
    // the clipboard could not be taken.
    [[nodiscard]] bool OfferReply(const TClipboardFormats& reply);
    // A program read one of the reply's formats.
    void ReplyRead();
    // The saved clipboard given back when its time has come.
    void Tick();
    // The reply was not pasted: it stays on the clipboard for Ctrl+V by hand.
    void LeaveReply() { out_.reset(); }
    // At exit: a reply still out makes way for what the user had.
    void Finish();
    // Ticks are wanted: a reply is out, or a notice waits.
    [[nodiscard]] bool Waiting() const { return out_.has_value() || noticePending_; }
    // While a reply of ours is out: the plain text of what the user had
    // copied before it (nothing when that held no text); otherwise nothing.
    [[nodiscard]] std::optional<std::u16string> SavedText() const;
    // True once, the first time the clipboard was too much to keep.
    [[nodiscard]] bool TakeNotice();

private:
    struct TReplyOut {
        TClipboardFormats saved;
        std::uint32_t sequence = 0;
        std::uint64_t offeredAt = 0;
        std::optional<std::uint64_t> lastReadAt;
    };

    // The reply is still what the clipboard holds, as this program left it.
    [[nodiscard]] bool StillOurs() const;
    [[nodiscard]] bool TimeToGiveBack() const;
    void NoteOverBound();

    IClipboard& clipboard_;
    IClock& clock_;
    std::optional<TReplyOut> out_;
    bool told_ = false;
    bool noticePending_ = false;
};

} // namespace corvane
