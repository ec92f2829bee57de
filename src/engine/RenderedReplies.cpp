#include "engine/RenderedReplies.h"

namespace corvane {

const TRenderedReply* TRenderedReplies::Find(const std::string& source)
{
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->source != source)
            continue;
        entries_.splice(entries_.begin(), entries_, it);
        return &entries_.front().rendered;
    }
    return nullptr;
}

namespace {

std::size_t BytesOf(const std::string& source, const TRenderedReply& rendered)
{
    std::size_t bytes = source.size();
    for (const TClipboardFormat& format : rendered.formats)
        bytes += format.bytes.size();
    return bytes;
}

} // namespace

bool TRenderedReplies::Fits(const std::string& source, const TRenderedReply& rendered)
{
    return BytesOf(source, rendered) <= MaxBytes;
}

const TRenderedReply& TRenderedReplies::Keep(std::string source, TRenderedReply rendered)
{
    const std::size_t bytes = BytesOf(source, rendered);
    entries_.push_front({std::move(source), std::move(rendered), bytes});
    bytes_ += bytes;
    while (entries_.size() > MaxReplies || bytes_ > MaxBytes) {
        bytes_ -= entries_.back().bytes;
        entries_.pop_back();
    }
    return entries_.front().rendered;
}

} // namespace corvane
