#include "engine/ReplySearch.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <unordered_map>

#include "engine/ReplaceInReply.h"
#include "engine/SearchIndex.h"
#include "library/IndexFormat.h"
#include "library/TextUtils.h"
#include "library/UnitCorvaneTypes.h"

namespace corvane {

namespace {

std::string FolderTrail(const ITreeControl& tree, TreeNode node)
{
    std::string trail;
    for (TreeNode parent = tree.Parent(node); parent != nullptr; parent = tree.Parent(parent))
        trail = trail.empty() ? tree.Label(parent) : tree.Label(parent) + " / " + trail;
    return trail;
}

std::string LowerCased(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded)
        c = ToLowerAnsi(c);
    return folded;
}

std::vector<std::string> FoldedWords(std::string_view query)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < query.size()) {
        while (i < query.size() && std::isspace(static_cast<unsigned char>(query[i])))
            ++i;
        const size_t start = i;
        while (i < query.size() && !std::isspace(static_cast<unsigned char>(query[i])))
            ++i;
        if (i > start)
            words.push_back(LowerCased(query.substr(start, i - start)));
    }
    return words;
}

bool IsWordChar(char c) { return std::isdigit(static_cast<unsigned char>(c)) || ToLowerAnsi(c) != ToUpperAnsi(c); }

enum TMatchKind { NoMatch = 0, InnerMatch = 1, WordStartMatch = 2, WholeWordMatch = 3 };

TMatchKind BestMatch(const std::string& field, const std::string& word)
{
    TMatchKind best = NoMatch;
    for (size_t at = field.find(word); at != std::string::npos; at = field.find(word, at + 1)) {
        const bool starts = at == 0 || !IsWordChar(field[at - 1]) || !IsWordChar(word.front());
        const size_t end = at + word.size();
        const bool ends = end == field.size() || !IsWordChar(field[end]) || !IsWordChar(word.back());
        const TMatchKind kind = starts ? (ends ? WholeWordMatch : WordStartMatch) : InnerMatch;
        best = std::max(best, kind);
        if (best == WholeWordMatch)
            break;
    }
    return best;
}

// A match at the start of a word outweighs the field it lies in, and the
// field outweighs whether the whole word was typed: "ord" finds the name
// "Orders" before a text that says "reorder", and "order" finds the name
// "Orders" before a text that says "order".
constexpr int kFieldWeight[4] = {3, 2, 1, 0}; // name, macro, folder, text

int WordScore(TMatchKind kind, int field)
{
    const int startsWord = kind >= WordStartMatch ? 1 : 0;
    const int wholeWord = kind == WholeWordMatch ? 1 : 0;
    return startsWord * 100 + kFieldWeight[field] * 10 + wholeWord;
}

} // namespace

std::string ReplyKeyOf(const TRep& reply, const std::string& root)
{
    const std::string path = reply.OwnPath();
    return path.size() > root.size() + 1 && path.compare(0, root.size(), root) == 0 ? path.substr(root.size() + 1)
                                                                                    : path;
}

std::vector<TSearchSource> SearchSourcesOf(const TRepList& library)
{
    std::unordered_map<const TRep*, std::string> macros;
    macros.reserve(static_cast<size_t>(library.MacroCount()));
    for (int i = 0; i < library.MacroCount(); ++i)
        macros.emplace(library.MacroReplyAt(i), library.MacroAt(i));
    std::vector<TSearchSource> sources;
    sources.reserve(static_cast<size_t>(library.Count()));
    const ITreeControl& tree = library.Tree();
    for (int i = 0; i < library.Count(); ++i) {
        const TRep* rep = library.Items(i);
        if (rep->IsFolder() || rep->Node == nullptr)
            continue;
        TSearchSource source;
        source.reply = rep;
        source.key = ReplyKeyOf(*rep, library.Root());
        source.name = tree.Label(rep->Node);
        if (const auto macro = macros.find(rep); macro != macros.end())
            source.macro = macro->second;
        source.folder = FolderTrail(tree, rep->Node);
        source.rtf = JoinTextLines(rep->Lines);
        sources.push_back(std::move(source));
    }
    return sources;
}

TSearchEntry SearchEntryOf(const TSearchSource& source)
{
    return {source.reply, source.key, source.name, source.macro, source.folder, PlainTextOfRtf(source.rtf)};
}

std::vector<TSearchEntry> SearchEntriesOf(const TRepList& library)
{
    std::vector<TSearchEntry> entries;
    for (const TSearchSource& source : SearchSourcesOf(library))
        entries.push_back(SearchEntryOf(source));
    return entries;
}

std::string_view FirstLine(std::string_view text)
{
    const size_t start = text.find_first_not_of("\r\n \t");
    if (start == std::string_view::npos)
        return {};
    text.remove_prefix(start);
    return text.substr(0, text.find_first_of("\r\n"));
}

TRecentDeliveries::TRecentDeliveries(std::string_view stored)
{
    size_t start = 0;
    while (start <= stored.size() && keys_.size() < kKept) {
        const size_t end = std::min(stored.find(';', start), stored.size());
        std::string key(stored.substr(start, end - start));
        if (!key.empty() && RankOf(key) < 0)
            keys_.push_back(std::move(key));
        start = end + 1;
    }
}

void TRecentDeliveries::Record(const std::string& key)
{
    if (key.empty() || key.find(';') != std::string::npos)
        return;
    std::erase(keys_, key);
    keys_.insert(keys_.begin(), key);
    if (keys_.size() > kKept)
        keys_.resize(kKept);
}

int TRecentDeliveries::RankOf(std::string_view key) const
{
    const auto it = std::find(keys_.begin(), keys_.end(), key);
    return it == keys_.end() ? -1 : static_cast<int>(it - keys_.begin());
}

std::string TRecentDeliveries::Stored() const
{
    std::string stored;
    for (const std::string& key : keys_)
        stored += (stored.empty() ? "" : ";") + key;
    return stored;
}

TReplySearch::TReplySearch(std::vector<TSearchEntry> entries) : entries_(std::move(entries))
{
    folded_.reserve(entries_.size());
    for (const TSearchEntry& e : entries_)
        folded_.push_back({{LowerCased(e.name), LowerCased(e.macro), LowerCased(e.folder), LowerCased(e.text)}});
}

int TReplySearch::Score(const TFolded& folded, const std::vector<std::string>& words) const
{
    int total = 0;
    for (const std::string& word : words) {
        int best = -1;
        for (int f = 0; f < 4; ++f) {
            const TMatchKind kind = BestMatch(folded.fields[f], word);
            if (kind != NoMatch)
                best = std::max(best, WordScore(kind, f));
            // The fields after this one weigh less: no match there can beat a word start here.
            if (kind >= WordStartMatch)
                break;
        }
        if (best < 0)
            return -1;
        total += best;
    }
    return total;
}

std::vector<int> TReplySearch::Find(
    std::string_view query, const TRecentDeliveries& recent, const std::vector<int>* within) const
{
    const std::vector<std::string> words = FoldedWords(query);
    struct Hit {
        int position, score, recency;
    };
    std::unordered_map<std::string_view, int> recency;
    for (size_t r = 0; r < recent.Keys().size(); ++r)
        recency.emplace(recent.Keys()[r], static_cast<int>(r));
    std::vector<Hit> hits;
    auto consider = [&](int i) {
        const int score = Score(folded_[static_cast<size_t>(i)], words);
        if (score < 0)
            return;
        const auto rank = recency.find(entries_[static_cast<size_t>(i)].key);
        hits.push_back({i, score, rank == recency.end() ? static_cast<int>(recency.size()) : rank->second});
    };
    if (within) {
        for (int i : *within)
            consider(i);
    } else {
        for (size_t i = 0; i < entries_.size(); ++i)
            consider(static_cast<int>(i));
    }
    // Ties keep the library's order, also when `within` came ranked.
    std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
        return a.score != b.score    ? a.score > b.score
            : a.recency != b.recency ? a.recency < b.recency
                                     : a.position < b.position;
    });
    std::vector<int> positions(hits.size());
    std::transform(hits.begin(), hits.end(), positions.begin(), [](const Hit& h) { return h.position; });
    return positions;
}

} // namespace corvane
