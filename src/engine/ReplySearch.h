#pragma once
// Finding a reply by typing a few letters: every typed word must occur in
// the reply's name, macro, folder path or plain text; the best matches come
// first, and recently delivered replies first among equals.
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class TRep;
class TRepList;

// What the picker shows of one reply and searches in.
struct TSearchEntry {
    const TRep* reply = nullptr;
    std::string key; // the reply's file relative to the library root, "3\\12.rep"
    std::string name;
    std::string macro;
    std::string folder; // "Support / Orders", empty at the top level
    std::string text; // the reply's plain text, paragraphs on lines of their own
};

// A reply's file relative to the library root: what the recent deliveries remember.
std::string ReplyKeyOf(const TRep& reply, const std::string& root);

// Every reply of the library, in tree order.
std::vector<TSearchEntry> SearchEntriesOf(const TRepList& library);

// The first line of a reply's text, for a one-line list.
std::string_view FirstLine(std::string_view text);

// Replies delivered lately, most recent first, by their keys; kept to a
// fixed length and stored as one ";"-separated string.
class TRecentDeliveries {
public:
    static constexpr size_t kKept = 50;

    explicit TRecentDeliveries(std::string_view stored = {});
    void Record(const std::string& key);
    // 0 for the latest delivery, -1 for a reply not delivered lately.
    [[nodiscard]] int RankOf(std::string_view key) const;
    [[nodiscard]] std::string Stored() const;
    [[nodiscard]] const std::vector<std::string>& Keys() const { return keys_; }

private:
    std::vector<std::string> keys_;
};

// The entries prepared once, searched on every keystroke.
class TReplySearch {
public:
    explicit TReplySearch(std::vector<TSearchEntry> entries);

    [[nodiscard]] const std::vector<TSearchEntry>& Entries() const { return entries_; }
    // Positions in Entries() of the replies that match every word of the
    // query, best first. An empty query lists every reply, recent ones first.
    // With `within`, only those positions are looked at.
    [[nodiscard]] std::vector<int> Find(
        std::string_view query, const TRecentDeliveries& recent, const std::vector<int>* within = nullptr) const;

private:
    struct TFolded {
        std::string fields[4]; // name, macro, folder, text, lower-cased
    };
    [[nodiscard]] int Score(const TFolded& folded, const std::vector<std::string>& words) const;

    std::vector<TSearchEntry> entries_;
    std::vector<TFolded> folded_;
};

} // namespace corvane
