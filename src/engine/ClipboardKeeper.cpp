#include "engine/ClipboardKeeper.h"

#include "engine/ClipboardFormats.h"
#include "platform/Clock.h"
#include "platform/Trace.h"

namespace corvane {

TOffer TClipboardKeeper::OfferReply(const TClipboardFormats& reply)
{
    std::optional<TReplyOut> earlier;
    if (out_ && StillOurs())
        earlier = std::move(out_); // the clipboard holds our last reply, not the user's
    out_.reset();
    TSavedClipboard saved;
    if (earlier)
        saved = earlier->saved;
    else
        saved = clipboard_.Save(ClipboardSaveLimits);
    TraceStep("user's clipboard saved");
    const bool offered = clipboard_.Offer(reply);
    TraceStep("reply offered on the clipboard");
    if (!offered) {
        out_ = std::move(earlier); // still out, still to be given back
        return TOffer::Failed;
    }
    // A clipboard that could not be saved is not given back: the reply stays.
    switch (saved.outcome) {
    case TSavedClipboard::Outcome::Busy:
        return TOffer::NotKeptBusy;
    case TSavedClipboard::Outcome::OverBound:
        return TOffer::NotKeptTooLarge;
    case TSavedClipboard::Outcome::Saved:
        break;
    }
    out_ = TReplyOut{std::move(saved), clipboard_.SequenceNumber(), clock_.Milliseconds(), 0, std::nullopt};
    return TOffer::Kept;
}

void TClipboardKeeper::PastingInto(std::uint32_t process)
{
    if (out_)
        out_->targetProcess = process;
}

void TClipboardKeeper::ReplyRead(std::uint32_t readerProcess)
{
    if (!out_ || !clipboard_.OwnedHere())
        return;
    // Rendering a format is a change of its own, whoever asked for it.
    out_->sequence = clipboard_.SequenceNumber();
    if (readerProcess != 0 && readerProcess == out_->targetProcess)
        out_->lastReadAt = clock_.Milliseconds();
}

void TClipboardKeeper::ReplyUsed()
{
    if (out_)
        out_->lastReadAt = clock_.Milliseconds();
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

std::optional<std::u16string> TClipboardKeeper::KeptText() const
{
    if (!out_)
        return std::nullopt;
    for (const TClipboardFormat& f : out_->saved.formats) {
        if (f.format != cf::UnicodeText)
            continue;
        std::u16string text(f.bytes.size() / 2, u'\0');
        for (std::size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char16_t>(
                static_cast<unsigned char>(f.bytes[2 * i]) | (static_cast<unsigned char>(f.bytes[2 * i + 1]) << 8));
        // The clipboard's text ends at its terminating zero; what follows is allocation slack.
        text.resize(text.find(u'\0') == std::u16string::npos ? text.size() : text.find(u'\0'));
        return text;
    }
    return std::nullopt;
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

} // namespace corvane
