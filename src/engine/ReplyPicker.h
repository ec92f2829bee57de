#pragma once
// The picker: a search box over a list of replies, the list refiltered on
// every keystroke, a selection moved by the arrow and page keys, and the
// place where the window opens.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/MacroInsertions.h"
#include "engine/ReplySearch.h"

namespace corvane {

inline constexpr char PickerCaption[] = "Corvane - Find a Reply";
// What the list says while the search is still being prepared.
inline constexpr char PickerStillReading[] = "Still reading the library...";

struct TScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Top-left corner for a picker of w x h: just below the caret when it is
// known, else centred on the work area; kept inside the work area.
TScreenPoint PlacePicker(const std::optional<TScreenRect>& caret, const TScreenRect& workArea, int w, int h);

enum class TPickerMove { Up, Down, PageUp, PageDown };

enum TPickerColumn { PickerColumnName, PickerColumnMacro, PickerColumnFolder, PickerColumnText, PickerColumnCount };

class TReplyPicker {
public:
    TReplyPicker(TReplySearch search, TRecentDeliveries recent);
    // A picker whose search is still being prepared: it lists nothing, and
    // keeps what is typed, until SetSearch.
    explicit TReplyPicker(TRecentDeliveries recent);
    [[nodiscard]] bool Waiting() const { return !search_; }
    // The search is ready: the list follows what was typed so far.
    void SetSearch(TReplySearch search);

    // Refilters for the search box's new text; the best match is selected.
    void SetQuery(std::string_view query);
    [[nodiscard]] int RowCount() const { return static_cast<int>(rows_.size()); }
    [[nodiscard]] const TSearchEntry& EntryAt(int row) const;
    // What the list shows in a cell: the name, the macro, the folder or the
    // first line of the text.
    [[nodiscard]] std::string CellText(int row, TPickerColumn column) const;

    // -1 when the list is empty.
    [[nodiscard]] int Selected() const { return selected_; }
    void Select(int row);
    // `pageRows` is how many rows the list shows at once.
    void Move(TPickerMove move, int pageRows);
    // The selected entry, or nullptr when the list is empty.
    [[nodiscard]] const TSearchEntry* SelectedEntry() const;

private:
    std::optional<TReplySearch> search_;
    TRecentDeliveries recent_;
    std::string query_;
    std::vector<int> rows_;
    int selected_ = -1;
};

} // namespace corvane
