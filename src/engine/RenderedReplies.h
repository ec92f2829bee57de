#pragma once
// The clipboard formats of the replies delivered last, by their source once
// filled in: a reply delivered again is not rendered again, which costs more
// than the rest of the delivery. The source is all the hidden editor renders
// from, so a kept rendering is never stale.
#include <cstddef>
#include <list>
#include <string>

#include "platform/Clipboard.h"

namespace corvane {

struct TRenderedReply {
    TClipboardFormats formats;
    std::size_t deliveredLength = 0; // of the text as delivered
};

class TRenderedReplies {
public:
    static constexpr std::size_t MaxReplies = 16;
    static constexpr std::size_t MaxBytes = std::size_t{4} << 20;

    // The rendering kept for `source`, now the latest; nullptr when none is.
    [[nodiscard]] const TRenderedReply* Find(const std::string& source);
    // Whether a rendering can be kept at all.
    [[nodiscard]] static bool Fits(const std::string& source, const TRenderedReply& rendered);
    // Keeps a rendering that fits as the latest; the oldest go while over the limits.
    const TRenderedReply& Keep(std::string source, TRenderedReply rendered);

private:
    struct TEntry {
        std::string source;
        TRenderedReply rendered;
        std::size_t bytes = 0;
    };
    std::list<TEntry> entries_; // the latest first
    std::size_t bytes_ = 0;
};

} // namespace corvane
