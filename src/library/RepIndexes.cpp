// The hot-key and macro indexes, and the library's operations on them.
#include "library/TextUtils.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitCorvaneTypes.h"
#include "platform/ListBox.h"

#include <algorithm>

namespace corvane {

namespace {

bool KeyLess(std::string_view a, std::string_view b) { return CompareTextIgnoringCase(a, b) < 0; }

std::string LowerCasedKey(std::string_view key)
{
    std::string folded(key);
    for (char& c : folded)
        c = ToLowerAnsi(c);
    return folded;
}

std::string MacroDisplayText(std::string_view key) { return std::string(key); }
std::string HotKeyDisplayText(std::string_view key) { return HotKeyText(key); }

} // namespace

std::string_view MacroStem(std::string_view macro)
{
    const size_t open = macro.find('(');
    return open == std::string_view::npos ? macro : macro.substr(0, open + 1);
}

// ---------------------------------------------------------------- TRepIndex

TRepIndex::TRepIndex(IListBox& listBox, DisplayTextFn displayText, bool keepsSelection)
    : listBox_(&listBox), displayText_(displayText), keepsSelection_(keepsSelection)
{ }

TRepHotKeyList::TRepHotKeyList(IListBox& listBox) : TRepIndex(listBox, &HotKeyDisplayText, false) { }
TRepMacroList::TRepMacroList(IListBox& listBox) : TRepIndex(listBox, &MacroDisplayText, true) { }

void TRepIndex::EnsureSorted() const
{
    if (sorted_)
        return;
    std::stable_sort(
        entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) { return KeyLess(a.key, b.key); });
    const auto duplicates = std::unique(entries_.begin(), entries_.end(),
        [](const Entry& a, const Entry& b) { return CompareTextIgnoringCase(a.key, b.key) == 0; });
    entries_.erase(duplicates, entries_.end());
    sorted_ = true;
    appended_.clear();
}

void TRepIndex::AddEntry(const std::string& key, TRep* rep)
{
    if (key.empty())
        return;
    if (bulk_) {
        // Appended unsorted; a key already held is dropped now, as sorting
        // would drop it later, so that Holder can answer without sorting.
        if (sorted_)
            for (const Entry& entry : entries_)
                appended_.emplace(LowerCasedKey(entry.key), entry.rep);
        if (!appended_.emplace(LowerCasedKey(key), rep).second)
            return;
        entries_.push_back({key, rep});
        sorted_ = false;
        return;
    }
    EnsureSorted();
    const int at = InsertionPoint(key);
    if (at < Count() && CompareTextIgnoringCase(entries_[static_cast<size_t>(at)].key, key) == 0)
        return;
    entries_.insert(entries_.begin() + at, Entry{key, rep});
    Refill();
}

void TRepIndex::DeleteEntry(int position)
{
    EnsureSorted();
    entries_.erase(entries_.begin() + position);
    if (!bulk_)
        Refill();
}

void TRepIndex::ReplaceKey(int position, const std::string& key)
{
    EnsureSorted();
    entries_[static_cast<size_t>(position)].key = key;
    sorted_ = false;
    EnsureSorted();
}

const std::string& TRepIndex::KeyAt(int position) const
{
    EnsureSorted();
    return entries_[static_cast<size_t>(position)].key;
}

TRep* TRepIndex::RepAt(int position) const
{
    EnsureSorted();
    return entries_[static_cast<size_t>(position)].rep;
}

int TRepIndex::Count() const
{
    EnsureSorted();
    return static_cast<int>(entries_.size());
}

int TRepIndex::IndexOfRep(const TRep* rep) const
{
    EnsureSorted();
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].rep == rep)
            return static_cast<int>(i);
    return -1;
}

int TRepIndex::InsertionPoint(std::string_view key) const
{
    EnsureSorted();
    const auto it = std::lower_bound(
        entries_.begin(), entries_.end(), key, [](const Entry& e, std::string_view k) { return KeyLess(e.key, k); });
    return static_cast<int>(it - entries_.begin());
}

TRep* TRepIndex::Holder(std::string_view key) const
{
    if (!sorted_) {
        const auto held = appended_.find(LowerCasedKey(key));
        return held == appended_.end() ? nullptr : held->second;
    }
    const int at = Find(key);
    return at < 0 ? nullptr : entries_[static_cast<size_t>(at)].rep;
}

int TRepIndex::Find(std::string_view key) const
{
    const int at = InsertionPoint(key);
    if (at < static_cast<int>(entries_.size())
        && CompareTextIgnoringCase(entries_[static_cast<size_t>(at)].key, key) == 0)
        return at;
    return -1;
}

void TRepIndex::Refill()
{
    EnsureSorted();
    std::string selectedText;
    bool hadSelection = false;
    if (keepsSelection_) {
        const int selected = listBox_->SelectedIndex();
        if (selected >= 0 && selected < listBox_->Count()) {
            selectedText = listBox_->Text(selected);
            hadSelection = true;
        }
    }
    listBox_->BeginUpdate();
    listBox_->Clear();
    for (const Entry& entry : entries_)
        listBox_->Add(displayText_(entry.key), entry.rep);
    if (hadSelection) {
        const int count = listBox_->Count();
        for (int i = 0; i < count; ++i) {
            if (SameTextIgnoringCase(listBox_->Text(i), selectedText)) {
                listBox_->Select(i);
                break;
            }
        }
    }
    listBox_->EndUpdate();
}

void TRepIndex::Clear()
{
    entries_.clear();
    sorted_ = true;
    appended_.clear();
    if (!bulk_)
        listBox_->Clear();
}

// ---------------------------------------------------------------- TRepList, index operations

int TRepList::FindHotKey(std::string_view code) const { return hotKeys_.Find(code); }
int TRepList::HotKeyIndexOf(const TRep* reply) const { return hotKeys_.IndexOfRep(reply); }
int TRepList::MacroIndexOf(const TRep* reply) const { return macros_.IndexOfRep(reply); }
int TRepList::HotKeyCount() const { return hotKeys_.Count(); }
std::string TRepList::HotKeyCodeAt(int position) const { return hotKeys_.KeyAt(position); }
TRep* TRepList::HotKeyReplyAt(int position) const { return hotKeys_.RepAt(position); }
int TRepList::MacroCount() const { return macros_.Count(); }
std::string TRepList::MacroAt(int position) const { return macros_.KeyAt(position); }
TRep* TRepList::MacroReplyAt(int position) const { return macros_.RepAt(position); }

std::string_view ParameterList(std::string_view text)
{
    const size_t open = text.find('(');
    const size_t close = text.find(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close <= open + 1)
        return {};
    return text.substr(open + 1, close - open - 1);
}

int TRepList::MatchMacro(std::string_view text, std::string& names, std::string& values) const
{
    names.clear();
    values.clear();
    const std::string_view key = MacroStem(text);
    int position = macros_.Find(key);
    if (position < 0) {
        position = macros_.InsertionPoint(key);
        if (position >= macros_.Count() || !SameTextIgnoringCase(MacroStem(macros_.KeyAt(position)), key))
            return -1;
    }
    values = std::string(ParameterList(text));
    std::replace(values.begin(), values.end(), ',', '\x01');
    names = std::string(ParameterList(macros_.KeyAt(position)));
    return position;
}

int TRepList::MatchMacro(std::string_view text) const
{
    std::string names;
    std::string values;
    return MatchMacro(text, names, values);
}

bool TRepList::SetMacro(TRep* reply, const std::string& macro)
{
    if (macro.empty()) {
        const int current = macros_.IndexOfRep(reply);
        if (current >= 0) {
            macros_.DeleteEntry(current);
            macros_.ListBox().Select(-1);
        }
        return true;
    }
    // Line 1 of the reply file holds the macro; a line break would shift the
    // hot key and the body on the next load.
    if (macro.find_first_of("\r\n") != std::string::npos)
        return false;
    int current = macros_.IndexOfRep(reply);
    const int match = MatchMacro(macro);
    if (match >= 0 && match != current)
        return false;
    if (current < 0) {
        macros_.AddEntry(macro, reply);
        current = MatchMacro(macro);
    }
    macros_.ReplaceKey(current, macro);
    macros_.Refill();
    IListBox& box = macros_.ListBox();
    const int count = box.Count();
    for (int i = 0; i < count; ++i) {
        if (box.Text(i) == macro) {
            box.Select(i);
            break;
        }
    }
    return true;
}

bool TRepList::SetHotKey(TRep* reply, const std::string& code)
{
    if (code.empty()) {
        const int current = hotKeys_.IndexOfRep(reply);
        if (current >= 0) {
            hotKeys_.DeleteEntry(current);
            hotKeys_.ListBox().Select(-1);
        }
        return true;
    }
    if (!IsValidHotKeyCode(code))
        return false;
    const std::string normalized = MakeHotKeyCode(code[0] == '1', code[1]);
    int current = hotKeys_.IndexOfRep(reply);
    const int found = hotKeys_.Find(normalized);
    if (found >= 0 && found == current)
        return true;
    if (found >= 0)
        return false;
    if (current < 0) {
        hotKeys_.AddEntry(normalized, reply);
        current = hotKeys_.Find(normalized);
    }
    hotKeys_.ReplaceKey(current, normalized);
    hotKeys_.Refill();
    IListBox& box = hotKeys_.ListBox();
    const std::string text = HotKeyText(normalized);
    const int count = box.Count();
    for (int i = 0; i < count; ++i) {
        if (box.Text(i) == text) {
            box.Select(i);
            break;
        }
    }
    return true;
}

} // namespace corvane
