#pragma once
// The clipboard as the delivery routes keep it: what the user had copied is
// saved before a reply goes there and given back afterwards.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

struct TClipboardFormat {
    std::uint32_t format = 0;
    std::string bytes;
};
using TClipboardFormats = std::vector<TClipboardFormat>;

// How much a save may cost before it is given up.
struct TClipboardLimits {
    std::size_t maxBytes = 0;
    int maxMilliseconds = 0;
};

struct TSavedClipboard {
    enum class Outcome {
        Saved,
        OverBound, // too large or too slow to read: nothing kept
        Busy, // another program holds the clipboard
    };
    Outcome outcome = Outcome::Saved;
    TClipboardFormats formats; // in the order the clipboard listed them
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
    // Saved content put back, marked out of history; false when the
    // clipboard could not be taken.
    [[nodiscard]] virtual bool Restore(const TClipboardFormats& saved) = 0;
    // Changes with every change of the clipboard's content.
    [[nodiscard]] virtual std::uint32_t SequenceNumber() const = 0;
    // This program put what the clipboard holds.
    [[nodiscard]] virtual bool OwnedHere() const = 0;
};

} // namespace corvane
