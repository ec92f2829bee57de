#pragma once
// The clipboard as the fakes see it: rich text, plain text and whatever else
// a program copied, a sequence number that moves with every change, the owner,
// and a reply offered for rendering that counts each read.
#include "platform/Clipboard.h"

#include <functional>
#include <string>

namespace corvane::fakes {

inline constexpr std::uint32_t FakeTextFormat = 1;
inline constexpr std::uint32_t FakeRtfFormat = 0xC001;

struct FakeClipboard : IClipboard {
    std::string rtf;
    std::string text;
    TClipboardFormats others; // formats besides rich and plain text
    bool heldByAnotherProgram = false; // copies fail while set
    int copies = 0;
    std::uint32_t sequence = 1;
    bool ownedHere = false;
    bool outOfHistory = false; // marked for history, cloud clipboard and monitors to skip
    bool renderPending = false; // an offered reply nobody has read yet
    int reads = 0;
    int restores = 0;
    std::function<void()> onRead; // the owner's notice of a render
    TSavedClipboard::Outcome saveOutcome = TSavedClipboard::Outcome::Saved;

    // Another program (or the user) copies.
    void Copy(const std::string& newText, TClipboardFormats newOthers = {})
    {
        rtf.clear();
        text = newText;
        others = std::move(newOthers);
        ChangedBy(false, false);
    }
    // A program reads the plain text; a reply offered is rendered for it.
    const std::string& ReadText()
    {
        ++reads;
        if (renderPending && ownedHere) {
            renderPending = false;
            ++sequence;
            if (onRead)
                onRead();
        }
        return text;
    }

    TSavedClipboard Save(const TClipboardLimits&) override
    {
        TSavedClipboard saved;
        saved.outcome = heldByAnotherProgram ? TSavedClipboard::Outcome::Busy : saveOutcome;
        if (saved.outcome != TSavedClipboard::Outcome::Saved)
            return saved;
        if (!rtf.empty())
            saved.formats.push_back({FakeRtfFormat, rtf});
        if (!text.empty())
            saved.formats.push_back({FakeTextFormat, text});
        saved.formats.insert(saved.formats.end(), others.begin(), others.end());
        return saved;
    }
    bool Offer(const TClipboardFormats& reply) override
    {
        if (!Put(reply))
            return false;
        ++copies;
        renderPending = true;
        return true;
    }
    bool Restore(const TClipboardFormats& saved) override
    {
        if (!Put(saved))
            return false;
        ++restores;
        return true;
    }
    std::uint32_t SequenceNumber() const override { return sequence; }
    bool OwnedHere() const override { return ownedHere; }

private:
    bool Put(const TClipboardFormats& formats)
    {
        if (heldByAnotherProgram)
            return false;
        rtf.clear();
        text.clear();
        others.clear();
        for (const TClipboardFormat& f : formats) {
            if (f.format == FakeRtfFormat)
                rtf = f.bytes;
            else if (f.format == FakeTextFormat)
                text = f.bytes;
            else
                others.push_back(f);
        }
        ChangedBy(true, true);
        return true;
    }
    void ChangedBy(bool here, bool marked)
    {
        ++sequence;
        ownedHere = here;
        outOfHistory = marked;
        renderPending = false;
    }
};

} // namespace corvane::fakes
