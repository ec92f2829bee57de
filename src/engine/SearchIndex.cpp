#include "engine/SearchIndex.h"

#include <unordered_map>

namespace corvane {

TSearchIndex::~TSearchIndex()
{
    if (thread_.joinable())
        thread_.join();
}

void TSearchIndex::Start(std::vector<TSearchSource> sources)
{
    if (thread_.joinable())
        thread_.join();
    ready_ = false;
    search_.reset();
    sources_ = std::move(sources);
    thread_ = std::thread([this] { Build(); });
}

void TSearchIndex::Build()
{
    try {
        std::vector<TSearchEntry> entries;
        entries.reserve(sources_.size());
        for (const TSearchSource& source : sources_)
            entries.push_back(SearchEntryOf(source));
        search_.emplace(std::move(entries));
    } catch (...) {
        // Out of memory: SearchFor builds it on the caller's thread.
        search_.reset();
    }
    ready_ = true;
}

std::optional<TReplySearch> TSearchIndex::SearchFor(std::vector<TSearchSource> now)
{
    if (!ready_)
        return std::nullopt;
    if (thread_.joinable())
        thread_.join();
    if (search_ && now == sources_)
        return search_;
    // Only a reply whose text changed (or a new one) is made plain again.
    std::unordered_map<const TRep*, size_t> built;
    if (search_)
        for (size_t i = 0; i < sources_.size(); ++i)
            built.emplace(sources_[i].reply, i);
    std::vector<TSearchEntry> entries;
    entries.reserve(now.size());
    for (const TSearchSource& source : now) {
        const auto before = built.find(source.reply);
        if (before != built.end() && sources_[before->second].rtf == source.rtf)
            entries.push_back({source.reply, source.key, source.name, source.macro, source.folder,
                search_->Entries()[before->second].text});
        else
            entries.push_back(SearchEntryOf(source));
    }
    search_.emplace(std::move(entries));
    sources_ = std::move(now);
    return search_;
}

} // namespace corvane
