#pragma once
// The clipboard as the delivery routes keep it: what the user had copied is
// saved before a reply goes there and given back afterwards.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corvane {

struct TClipboardFormat {
    std::uint32_t format = 0;
    std::string bytes;
};
using TClipboardFormats = std::vector<TClipboardFormat>;

// How much a save may cost before it is given up, and how long it waits
// for a clipboard another program holds.
struct TClipboardLimits {
    std::size_t maxBytes = 0;
    int maxMilliseconds = 0;
    int busyWaitMs = 0;
};

struct TSavedClipboard {
    enum class Outcome {
        Saved,
        OverBound, // too large or too slow to read: nothing kept
        Busy, // another program held the clipboard all the while
    };
    Outcome outcome = Outcome::Saved;
    // In the order the clipboard listed them. Beside a data object only what
    // a paste of text would have read: given back should the object's program end.
    TClipboardFormats formats;
    // The data object a program put on the clipboard, held to be put back
    // itself; empty for a plain clipboard owner.
    std::shared_ptr<void> dataObject;
    int leftOut = 0; // formats that cannot be copied (owner-display, private handles)
};

class IClipboard {
public:
    virtual ~IClipboard() = default;
    [[nodiscard]] virtual TSavedClipboard Save(const TClipboardLimits& limits) = 0;
    // The reply offered to be rendered when a program reads it, marked out of
    // clipboard history, cloud clipboard and clipboard monitors; false when
    // the clipboard could not be taken.
    [[nodiscard]] virtual bool Offer(const TClipboardFormats& reply) = 0;
    // Saved content put back (its data object when it has one and that
    // object's program still runs), marked out of history; false when the
    // clipboard could not be taken.
    [[nodiscard]] virtual bool Restore(const TSavedClipboard& saved) = 0;
    // Changes with every change of the clipboard's content.
    [[nodiscard]] virtual std::uint32_t SequenceNumber() const = 0;
    // This program put what the clipboard holds.
    [[nodiscard]] virtual bool OwnedHere() const = 0;
};

} // namespace corvane
