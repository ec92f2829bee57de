#pragma once
// The picker's search prepared away from the window's thread. What it needs
// of the library is copied on the window's thread (SearchSourcesOf, cheap);
// the costly part, each reply's plain text and the folded fields, is built
// on a thread of its own. Later asks reuse the plain text of every reply
// whose formatted text did not change since.
#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/ReplySearch.h"

namespace corvane {

// One reply as the search needs it, before its text is made plain.
struct TSearchSource {
    const TRep* reply = nullptr;
    std::string key, name, macro, folder;
    std::string rtf; // the reply's stored text
    bool operator==(const TSearchSource&) const = default;
};

// Every reply of the library, in tree order.
std::vector<TSearchSource> SearchSourcesOf(const TRepList& library);
TSearchEntry SearchEntryOf(const TSearchSource& source);

class TSearchIndex {
public:
    TSearchIndex() = default;
    ~TSearchIndex();
    TSearchIndex(const TSearchIndex&) = delete;
    TSearchIndex& operator=(const TSearchIndex&) = delete;

    // Starts building the search for `sources` on a thread of its own.
    void Start(std::vector<TSearchSource> sources);
    [[nodiscard]] bool Ready() const { return ready_; }
    // The search for the library as `now` describes it; nothing while the
    // first build is still running.
    [[nodiscard]] std::optional<TReplySearch> SearchFor(std::vector<TSearchSource> now);

private:
    void Build();

    std::thread thread_;
    std::atomic<bool> ready_ = false;
    std::vector<TSearchSource> sources_; // what search_ was built from
    std::optional<TReplySearch> search_;
};

} // namespace corvane
