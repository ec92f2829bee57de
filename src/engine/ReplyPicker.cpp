#include "engine/ReplyPicker.h"

#include <algorithm>

namespace corvane {

namespace {

int KeptInside(int start, int size, int low, int high) { return std::max(low, std::min(start, high - size)); }

} // namespace

TScreenPoint PlacePicker(const std::optional<TScreenRect>& caret, const TScreenRect& workArea, int w, int h)
{
    TScreenPoint at;
    if (caret) {
        at = {caret->left, caret->bottom + 2};
        // No room below the caret's line: above it instead.
        if (at.y + h > workArea.bottom && caret->top - h - 2 >= workArea.top)
            at.y = caret->top - h - 2;
    } else {
        at = {workArea.left + (workArea.right - workArea.left - w) / 2,
            workArea.top + (workArea.bottom - workArea.top - h) / 2};
    }
    return {KeptInside(at.x, w, workArea.left, workArea.right), KeptInside(at.y, h, workArea.top, workArea.bottom)};
}

TReplyPicker::TReplyPicker(TReplySearch search, TRecentDeliveries recent)
    : search_(std::move(search)), recent_(std::move(recent)), rows_(search_->Find({}, recent_))
{
    selected_ = rows_.empty() ? -1 : 0;
}

TReplyPicker::TReplyPicker(TRecentDeliveries recent) : recent_(std::move(recent)) { }

void TReplyPicker::SetSearch(TReplySearch search)
{
    search_ = std::move(search);
    rows_ = search_->Find(query_, recent_);
    selected_ = rows_.empty() ? -1 : 0;
}

void TReplyPicker::SetQuery(std::string_view query)
{
    // Typing on can only narrow the list: every reply that holds the longer
    // words also holds the shorter ones.
    const bool narrows = !query_.empty() && query.starts_with(query_);
    if (search_)
        rows_ = search_->Find(query, recent_, narrows ? &rows_ : nullptr);
    query_ = query;
    selected_ = rows_.empty() ? -1 : 0;
}

const TSearchEntry& TReplyPicker::EntryAt(int row) const
{
    return search_->Entries()[static_cast<size_t>(rows_.at(static_cast<size_t>(row)))];
}

std::string TReplyPicker::CellText(int row, TPickerColumn column) const
{
    if (row < 0 || row >= RowCount())
        return {};
    const TSearchEntry& e = EntryAt(row);
    switch (column) {
    case PickerColumnName:
        return e.name;
    case PickerColumnMacro:
        return e.macro;
    case PickerColumnFolder:
        return e.folder;
    case PickerColumnText:
        return std::string(FirstLine(e.text));
    default:
        return {};
    }
}

void TReplyPicker::Select(int row)
{
    if (row >= 0 && row < RowCount())
        selected_ = row;
}

void TReplyPicker::Move(TPickerMove move, int pageRows)
{
    if (rows_.empty())
        return;
    const int page = std::max(1, pageRows - 1);
    const int step = move == TPickerMove::Up ? -1
        : move == TPickerMove::Down          ? 1
        : move == TPickerMove::PageUp        ? -page
                                             : page;
    selected_ = std::clamp(selected_ + step, 0, RowCount() - 1);
}

const TSearchEntry* TReplyPicker::SelectedEntry() const { return selected_ < 0 ? nullptr : &EntryAt(selected_); }

} // namespace corvane
