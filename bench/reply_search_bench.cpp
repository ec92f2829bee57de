// The picker's search on a generated library of 10,000 replies in 500
// folders, each reply about 80 words of text: opening the picker (the
// entries taken from the library), then filtering and ranking for every
// keystroke of a typed query, beside a plain substring scan of the same
// texts for the same keystrokes, in the same run.
#include "engine/ReplyPicker.h"
#include "engine/ReplySearch.h"
#include "fakes/FakeListBox.h"
#include "fakes/FakeTreeControl.h"
#include "fakes/NativeFileSystem.h"
#include "library/UnitCorvaneTypes.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
#include <vector>

namespace corvane {
namespace {

constexpr int kFolders = 500;
constexpr int kRepliesPerFolder = 20;
constexpr int kWordsPerReply = 80;

const char* const kCommonWords[] = {"thank", "you", "for", "your", "order", "we", "are", "sorry", "about", "the",
    "delay", "parcel", "shipped", "today", "invoice", "attached", "please", "find", "refund", "account", "password",
    "reset", "link", "below", "kind", "regards", "support", "team", "meeting", "tomorrow", "agenda", "project",
    "update", "price", "quote", "customer", "delivery", "address", "confirm", "payment"};

// Pseudo-words from syllables, so that inner and word-start matches occur
// as in real prose.
std::string RareWord(unsigned n)
{
    static const char* const syllables[]
        = {"ka", "lo", "mi", "ten", "ro", "sha", "vel", "dun", "pri", "or", "es", "ul", "ban", "qui", "ter", "na"};
    std::string word;
    for (int i = 0; i < 3; ++i, n /= 16)
        word += syllables[n % 16];
    return word;
}

struct Generated {
    fakes::NativeFileSystem fs;
    fakes::FakeTreeControl tree;
    fakes::FakeListBox hotKeys, macros;
    TRepList library{tree, hotKeys, macros, fs, "C:\\Replies"};

    Generated()
    {
        unsigned seed = 12345;
        auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFFFFu; };
        library.BeginBulkLoad();
        int reply = 0;
        for (int f = 0; f < kFolders; ++f) {
            TRep* folder = library.Items(library.AddNodeLast("Folder " + std::to_string(f), nullptr));
            folder->FolderName = std::to_string(f + 1);
            for (int r = 0; r < kRepliesPerFolder; ++r, ++reply) {
                std::string text;
                for (int w = 0; w < kWordsPerReply; ++w) {
                    const unsigned n = next();
                    text += (w ? " " : "") + (n % 3 == 0 ? RareWord(n) : std::string(kCommonWords[n % 40]));
                    if (w == kWordsPerReply / 2)
                        text += "\\par ";
                }
                TRep* rep = library.Items(library.AddNodeLast(
                    std::string(kCommonWords[reply % 40]) + " reply " + std::to_string(reply), folder->Node));
                rep->FileName = std::to_string(r + 1) + ".rep";
                library.SetBodyText(rep,
                    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n\\pard\\f0\\fs20 " + text + " \\b unique"
                        + std::to_string(reply) + "word\\b0\\par\r\n}\r\n");
                (void)library.SetMacro(rep, "m" + std::to_string(reply));
            }
        }
        library.EndBulkLoad();
    }
};

Generated& Library()
{
    static Generated generated;
    return generated;
}

// Each prefix of the typed queries is one keystroke's search box.
std::vector<std::string> Keystrokes()
{
    std::vector<std::string> boxes;
    for (const std::string typed : {"refund delay", "unique4711word", "kalomi order", "thank you team", "zzz"})
        for (size_t n = 1; n <= typed.size(); ++n)
            if (typed[n - 1] != ' ')
                boxes.push_back(typed.substr(0, n));
    return boxes;
}

void BM_PickerOpen(benchmark::State& state)
{
    Library();
    size_t entries = 0;
    for (auto _ : state) {
        TReplySearch search(SearchEntriesOf(Library().library));
        entries = search.Entries().size();
        benchmark::DoNotOptimize(entries);
    }
    state.counters["replies"] = static_cast<double>(entries);
}
BENCHMARK(BM_PickerOpen)->Unit(benchmark::kMillisecond);

// The processor time of this thread, so that another program's build on the
// same machine does not count as the search's time.
double ThreadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// A whole search of the library for one keystroke's box (what the first
// letter typed costs); the slowest keystroke is a counter.
void BM_FilterAndRankPerKeystroke(benchmark::State& state)
{
    const TReplySearch search(SearchEntriesOf(Library().library));
    TRecentDeliveries recent;
    for (int i = 0; i < 50; ++i)
        recent.Record(search.Entries()[static_cast<size_t>(i * 97)].key);
    const std::vector<std::string> boxes = Keystrokes();
    size_t next = 0;
    double slowestMs = 0;
    size_t found = 0;
    for (auto _ : state) {
        const double start = ThreadMs();
        const std::vector<int> rows = search.Find(boxes[next], recent);
        slowestMs = std::max(slowestMs, ThreadMs() - start);
        found += rows.size();
        benchmark::DoNotOptimize(rows.data());
        next = (next + 1) % boxes.size();
    }
    state.counters["keystrokes"] = static_cast<double>(boxes.size());
    state.counters["slowest ms"] = slowestMs;
    state.counters["rows per keystroke"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FilterAndRankPerKeystroke)->Unit(benchmark::kMillisecond);

// The picker as the user types: each letter narrows the rows of the one before.
void BM_PickerTypingPerKeystroke(benchmark::State& state)
{
    TReplyPicker picker(TReplySearch(SearchEntriesOf(Library().library)), TRecentDeliveries());
    const std::vector<std::string> boxes = Keystrokes();
    size_t next = 0;
    double slowestMs = 0;
    for (auto _ : state) {
        const double start = ThreadMs();
        picker.SetQuery(boxes[next]);
        slowestMs = std::max(slowestMs, ThreadMs() - start);
        benchmark::DoNotOptimize(picker.RowCount());
        next = (next + 1) % boxes.size();
    }
    state.counters["slowest ms"] = slowestMs;
}
BENCHMARK(BM_PickerTypingPerKeystroke)->Unit(benchmark::kMillisecond);

// The baseline: std::string::find of the whole box in each reply's text, case
// as typed, no words, no ranking.
void BM_PlainSubstringScanPerKeystroke(benchmark::State& state)
{
    const TReplySearch search(SearchEntriesOf(Library().library));
    const std::vector<std::string> boxes = Keystrokes();
    size_t next = 0;
    size_t found = 0;
    for (auto _ : state) {
        std::vector<int> rows;
        for (size_t i = 0; i < search.Entries().size(); ++i)
            if (search.Entries()[i].text.find(boxes[next]) != std::string::npos)
                rows.push_back(static_cast<int>(i));
        found += rows.size();
        benchmark::DoNotOptimize(rows.data());
        next = (next + 1) % boxes.size();
    }
    state.counters["keystrokes"] = static_cast<double>(boxes.size());
    state.counters["rows per keystroke"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PlainSubstringScanPerKeystroke)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace corvane

BENCHMARK_MAIN();
