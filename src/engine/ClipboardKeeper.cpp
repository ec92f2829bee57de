#include "engine/ClipboardKeeper.h"

#include "platform/Clock.h"

namespace corvane {

bool TClipboardKeeper::OfferReply(const TClipboardFormats& reply)
{
    std::optional<TReplyOut> earlier;
    if (out_ && StillOurs())
        earlier = std::move(out_); // the clipboard holds our last reply, not the user's
    out_.reset();
    std::optional<TClipboardFormats> saved;
    if (earlier) {
        saved = earlier->saved;
    } else {
        TSavedClipboard save = clipboard_.Save(ClipboardSaveLimits);
        if (save.outcome == TSavedClipboard::Outcome::Saved)
            saved = std::move(save.formats);
        else if (save.outcome == TSavedClipboard::Outcome::OverBound)
            NoteOverBound();
    }
    if (!clipboard_.Offer(reply)) {
        out_ = std::move(earlier); // still out, still to be given back
        return false;
    }
    // A clipboard that could not be saved is not given back: the reply stays.
    if (saved)
        out_ = TReplyOut{std::move(*saved), clipboard_.SequenceNumber(), clock_.Milliseconds(), std::nullopt};
    return true;
}

void TClipboardKeeper::ReplyRead()
{
    if (!out_ || !clipboard_.OwnedHere())
        return;
    out_->lastReadAt = clock_.Milliseconds();
    // Rendering a format is a change of its own.
    out_->sequence = clipboard_.SequenceNumber();
}

void TClipboardKeeper::Tick()
{
    if (!out_)
        return;
    if (!StillOurs()) {
        out_.reset(); // something new was copied: it stays
        return;
    }
    // A clipboard held by another program is tried again at the next tick.
    if (TimeToGiveBack() && clipboard_.Restore(out_->saved))
        out_.reset();
}

void TClipboardKeeper::Finish()
{
    if (out_ && StillOurs())
        (void)clipboard_.Restore(out_->saved);
    out_.reset();
}

std::optional<std::u16string> TClipboardKeeper::SavedText() const
{
    if (!out_ || !StillOurs())
        return std::nullopt;
    constexpr std::uint32_t UnicodeText = 13; // CF_UNICODETEXT: UTF-16, little-endian
    constexpr std::uint32_t AnsiText = 1; // CF_TEXT
    std::u16string text;
    for (const TClipboardFormat& f : out_->saved)
        if (f.format == UnicodeText) {
            for (size_t i = 0; i + 1 < f.bytes.size(); i += 2)
                text += static_cast<char16_t>(
                    static_cast<unsigned char>(f.bytes[i]) | static_cast<unsigned char>(f.bytes[i + 1]) << 8);
            return text.substr(0, text.find(u'\0'));
        }
    for (const TClipboardFormat& f : out_->saved)
        if (f.format == AnsiText) {
            for (char c : f.bytes)
                text += static_cast<char16_t>(static_cast<unsigned char>(c));
            return text.substr(0, text.find(u'\0'));
        }
    return text;
}

bool TClipboardKeeper::TakeNotice()
{
    const bool pending = noticePending_;
    noticePending_ = false;
    return pending;
}

bool TClipboardKeeper::StillOurs() const
{
    return clipboard_.OwnedHere() && clipboard_.SequenceNumber() == out_->sequence;
}

bool TClipboardKeeper::TimeToGiveBack() const
{
    const std::uint64_t now = clock_.Milliseconds();
    if (out_->lastReadAt)
        return now - *out_->lastReadAt >= ClipboardQuietMs;
    return now - out_->offeredAt >= ClipboardCeilingMs;
}

void TClipboardKeeper::NoteOverBound()
{
    if (told_)
        return;
    told_ = true;
    noticePending_ = true;
}

} // namespace corvane
