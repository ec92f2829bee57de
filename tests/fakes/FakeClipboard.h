#pragma once
// The clipboard as the system keeps it, for the fakes: what a program
// copied (rich text, plain text, any other format, or a data object that
// renders lazily), the formats the system makes from others and lists beside
// them, a sequence number that moves with every change, the owner, a reply
// offered for rendering whose formats are each rendered once, at their first
// read by whichever program reads first, and another program that may hold
// the clipboard for a while.
#include "engine/ClipboardFormats.h"
#include "platform/Clipboard.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace corvane::fakes {

inline constexpr std::uint32_t FakeTextFormat = cf::Text;
inline constexpr std::uint32_t FakeRtfFormat = 0xC001;
inline constexpr std::uint32_t FakeOwnProcess = 1; // this program's reads

struct FakeClipboard : IClipboard {
    // What a data object holds: it renders a format when a program reads it.
    struct Content {
        std::string rtf;
        std::string text;
        TClipboardFormats others;
    };

    std::string rtf;
    std::string text;
    TClipboardFormats others; // formats besides rich and plain text
    bool dataObject = false; // what is there came as a data object
    bool dataObjectSourceRuns = true; // the program of that object still runs
    std::vector<std::uint32_t> storageOnly; // formats the object offers only as a storage or stream
    std::map<std::uint32_t, int> renders; // formats the copying program was asked for (a lazy one renders then)
    bool heldByAnotherProgram = false; // held for good: saves and copies fail
    int heldForMs = 0; // held for a while yet
    int waitedMs = 0; // how long saves waited for it
    int copies = 0;
    std::uint32_t sequence = 1;
    bool ownedHere = false;
    bool outOfHistory = false; // marked for history, cloud clipboard and monitors to skip
    std::set<std::uint32_t> unrendered; // formats of an offered reply nobody has read yet
    int restores = 0;
    std::function<void(std::uint32_t)> onRead; // the owner's notice of a render, with the reader's process
    std::function<void()> whileSaving; // what happens while a save waits for the copying program
    int saves = 0;

    // Another program (or the user) copies, as plain formats or as a data object.
    void Copy(const std::string& newText, TClipboardFormats newOthers = {}, bool asDataObject = false,
        std::vector<std::uint32_t> onlyAsStorage = {})
    {
        storageOnly = std::move(onlyAsStorage);
        rtf.clear();
        text = newText;
        others = std::move(newOthers);
        ChangedBy(false, false);
        dataObject = asDataObject;
        renders.clear();
    }
    // A program reads a format; a reply's format is rendered for the first reader only.
    std::string Read(std::uint32_t format, std::uint32_t readerProcess)
    {
        if (ownedHere && unrendered.erase(format)) {
            ++sequence;
            if (onRead)
                onRead(readerProcess);
        } else if (!ownedHere) {
            ++renders[format];
        }
        return Bytes(format);
    }
    std::string ReadText(std::uint32_t readerProcess) { return Read(FakeTextFormat, readerProcess); }

    // As the system lists them: the formats put there, then those it makes from them.
    std::vector<std::uint32_t> Listed() const
    {
        std::vector<std::uint32_t> listed;
        if (!rtf.empty())
            listed.push_back(FakeRtfFormat);
        if (!text.empty())
            listed.insert(listed.end(), {cf::Text, cf::UnicodeText, cf::Locale, cf::OemText});
        for (const TClipboardFormat& f : others) {
            listed.push_back(f.format);
            if (f.format == cf::Dib)
                listed.insert(listed.end(), {cf::Bitmap, cf::DibV5});
            else if (f.format == cf::DibV5)
                listed.insert(listed.end(), {cf::Bitmap, cf::Dib});
            else if (f.format == cf::EnhMetafile)
                listed.push_back(cf::MetafilePict);
        }
        return listed;
    }

    TSavedClipboard Save(const TClipboardLimits& limits) override
    {
        TSavedClipboard saved;
        if (!WaitUntilFree(limits.busyWaitMs)) {
            saved.outcome = TSavedClipboard::Outcome::Busy;
            return saved;
        }
        ++saves;
        if (whileSaving)
            std::exchange(whileSaving, nullptr)();
        const std::vector<std::uint32_t> listed = Listed();
        std::size_t total = 0;
        for (std::uint32_t format : FormatsToCopy(listed, dataObject ? storageOnly : std::vector<std::uint32_t>{})) {
            saved.formats.push_back({format, Read(format, FakeOwnProcess)});
            total += saved.formats.back().bytes.size();
        }
        if (total > limits.maxBytes)
            return {TSavedClipboard::Outcome::OverBound, {}, nullptr, 0};
        if (dataObject)
            saved.dataObject = std::make_shared<Content>(Content{rtf, text, others});
        return saved;
    }
    bool Offer(const TClipboardFormats& reply) override
    {
        if (!Put(reply))
            return false;
        ++copies;
        for (const TClipboardFormat& f : reply)
            unrendered.insert(f.format);
        return true;
    }
    bool Restore(const TSavedClipboard& saved) override
    {
        if (saved.dataObject && dataObjectSourceRuns) {
            if (!WaitUntilFree(PutPatienceMs))
                return false;
            const auto& content = *static_cast<const Content*>(saved.dataObject.get());
            rtf = content.rtf;
            text = content.text;
            others = content.others;
            ChangedBy(true, false);
            dataObject = true;
        } else if (!Put(saved.formats)) {
            return false;
        }
        ++restores;
        return true;
    }
    std::uint32_t SequenceNumber() const override { return sequence; }
    bool OwnedHere() const override { return ownedHere; }

private:
    static constexpr int PutPatienceMs = 200; // as a copy waits for a held clipboard

    static bool IsPicture(std::uint32_t format)
    {
        return format == cf::Dib || format == cf::DibV5 || format == cf::Bitmap;
    }
    bool WaitUntilFree(int patienceMs)
    {
        if (heldByAnotherProgram || heldForMs > patienceMs) {
            waitedMs += patienceMs;
            heldForMs = heldByAnotherProgram ? heldForMs : heldForMs - patienceMs;
            return false;
        }
        waitedMs += heldForMs;
        heldForMs = 0;
        return true;
    }
    std::string Bytes(std::uint32_t format) const
    {
        switch (format) {
        case FakeRtfFormat:
            return rtf;
        case cf::Text:
        case cf::OemText:
            return text;
        case cf::UnicodeText: {
            std::string wide;
            for (char c : text + '\0')
                wide += {c, '\0'};
            return wide;
        }
        case cf::Locale:
            return std::string("\x09\x04\0\0", 4);
        default:
            for (const TClipboardFormat& f : others)
                if (f.format == format)
                    return f.bytes;
            // The other forms of a picture, made from the one there (same bits, as far as the fake goes).
            for (const TClipboardFormat& f : others)
                if (IsPicture(format) && IsPicture(f.format))
                    return f.bytes;
            return {};
        }
    }
    bool Put(const TClipboardFormats& formats)
    {
        if (!WaitUntilFree(PutPatienceMs))
            return false;
        rtf.clear();
        text.clear();
        others.clear();
        for (const TClipboardFormat& f : formats) {
            if (f.format == FakeRtfFormat) {
                rtf = f.bytes;
            } else if (f.format == FakeTextFormat) {
                text = f.bytes;
            } else if (f.format == cf::UnicodeText) {
                for (std::size_t i = 0; i + 1 < f.bytes.size() && f.bytes[i] != '\0'; i += 2)
                    text += f.bytes[i];
            } else if (f.format != cf::Locale) {
                others.push_back(f);
            }
        }
        ChangedBy(true, true);
        return true;
    }
    void ChangedBy(bool here, bool marked)
    {
        ++sequence;
        ownedHere = here;
        outOfHistory = marked;
        dataObject = false;
        unrendered.clear();
    }
};

} // namespace corvane::fakes
