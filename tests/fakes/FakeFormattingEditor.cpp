#include "fakes/FakeFormattingEditor.h"

#include <algorithm>

namespace corvane::fakes {

namespace {

void Merge(CharFormat& into, const CharFormat& from, unsigned parts)
{
    if (parts & kFormatFace)
        into.face = from.face;
    if (parts & kFormatSize)
        into.sizePoints = from.sizePoints;
    if (parts & kFormatStyles) {
        into.bold = from.bold;
        into.italic = from.italic;
        into.underline = from.underline;
        into.strikeOut = from.strikeOut;
    }
    if (parts & kFormatColor) {
        into.autoColor = from.autoColor;
        into.color = from.color;
    }
    into.mixed = 0;
}

} // namespace

CharFormat FakeFormattingEditor::DefaultFormat()
{
    CharFormat format;
    format.face = "Arial";
    format.sizePoints = 10;
    return format;
}

void FakeFormattingEditor::SetContent(const std::string& text, const CharFormat& format)
{
    text_ = text;
    formats_.assign(text.size(), format);
    paragraphs_.assign(static_cast<size_t>(std::count(text.begin(), text.end(), '\r')) + 1, Paragraph{});
    selection_ = {};
    insertion_.reset();
    undo_.clear();
    redo_.clear();
}

void FakeFormattingEditor::Select(int start, int end)
{
    const int size = static_cast<int>(text_.size());
    selection_ = {std::clamp(std::min(start, end), 0, size), std::clamp(std::max(start, end), 0, size)};
    insertion_.reset(); // a caret that moves forgets a pending format, as the real control does
}

void FakeFormattingEditor::Type(const std::string& text)
{
    RememberForUndo();
    const CharFormat format = ReadCharFormat({selection_.start, selection_.start});
    const auto from = static_cast<size_t>(selection_.start);
    const auto count = static_cast<size_t>(selection_.end - selection_.start);
    const int first = ParagraphIndex(selection_.start);
    const auto removedBreaks = std::count(text_.begin() + selection_.start, text_.begin() + selection_.end, '\r');
    paragraphs_.erase(paragraphs_.begin() + first + 1, paragraphs_.begin() + first + 1 + removedBreaks);
    text_.erase(from, count);
    formats_.erase(formats_.begin() + selection_.start, formats_.begin() + selection_.end);
    text_.insert(from, text);
    formats_.insert(formats_.begin() + selection_.start, text.size(), format);
    const auto addedBreaks = std::count(text.begin(), text.end(), '\r');
    paragraphs_.insert(paragraphs_.begin() + first + 1, addedBreaks, paragraphs_[static_cast<size_t>(first)]);
    const int caret = selection_.start + static_cast<int>(text.size());
    selection_ = {caret, caret};
    insertion_.reset();
}

FakeFormattingEditor::Paragraph& FakeFormattingEditor::ParagraphAt(int position)
{
    return paragraphs_.at(static_cast<size_t>(ParagraphIndex(position)));
}

int FakeFormattingEditor::ParagraphIndex(int position) const
{
    return static_cast<int>(std::count(text_.begin(), text_.begin() + position, '\r'));
}

CharFormat FakeFormattingEditor::ReadCharFormat(TextRange range) const
{
    if (range.Empty()) {
        if (insertion_ && range == selection_)
            return *insertion_;
        if (formats_.empty())
            return DefaultFormat();
        return formats_[static_cast<size_t>(std::max(range.start - 1, 0))];
    }
    CharFormat format = formats_[static_cast<size_t>(range.start)];
    for (int i = range.start + 1; i < range.end; ++i) {
        const CharFormat& other = formats_[static_cast<size_t>(i)];
        format.bold = format.bold && other.bold;
        format.italic = format.italic && other.italic;
        format.underline = format.underline && other.underline;
        format.strikeOut = format.strikeOut && other.strikeOut;
        if (other.face != format.face)
            format.mixed |= kFormatFace;
        if (other.sizePoints != format.sizePoints)
            format.mixed |= kFormatSize;
        if (other.autoColor != format.autoColor || (!other.autoColor && other.color != format.color))
            format.mixed |= kFormatColor;
    }
    return format;
}

void FakeFormattingEditor::WriteCharFormat(TextRange range, const CharFormat& format, unsigned parts)
{
    if (range.Empty()) {
        // Only the caret's own position holds a pending format.
        if (range == selection_) {
            CharFormat pending = ReadCharFormat(range);
            Merge(pending, format, parts);
            insertion_ = pending;
        }
        return;
    }
    RememberForUndo();
    for (int i = range.start; i < range.end; ++i)
        Merge(formats_[static_cast<size_t>(i)], format, parts);
}

Alignment FakeFormattingEditor::ParagraphAlignment() const
{
    return paragraphs_[static_cast<size_t>(ParagraphIndex(selection_.start))].alignment;
}

int FakeFormattingEditor::StartIndentPoints() const
{
    return paragraphs_[static_cast<size_t>(ParagraphIndex(selection_.start))].indentPoints;
}

template <typename Change> void FakeFormattingEditor::ForSelectedParagraphs(Change change)
{
    RememberForUndo();
    const int last = ParagraphIndex(selection_.end);
    for (int i = ParagraphIndex(selection_.start); i <= last; ++i)
        change(paragraphs_[static_cast<size_t>(i)]);
}

void FakeFormattingEditor::SetParagraphAlignment(Alignment alignment)
{
    ForSelectedParagraphs([&](Paragraph& p) { p.alignment = alignment; });
}

void FakeFormattingEditor::SetStartIndentPoints(int points)
{
    ForSelectedParagraphs([&](Paragraph& p) { p.indentPoints = points; });
}

void FakeFormattingEditor::Cut()
{
    Copy();
    if (!selection_.Empty())
        Type("");
}

void FakeFormattingEditor::Copy()
{
    if (!selection_.Empty())
        clipboard = text_.substr(
            static_cast<size_t>(selection_.start), static_cast<size_t>(selection_.end - selection_.start));
}

void FakeFormattingEditor::Paste() { Type(clipboard); }

void FakeFormattingEditor::RememberForUndo()
{
    undo_.push_back(Snapshot());
    redo_.clear();
}

void FakeFormattingEditor::Restore(const State& state)
{
    text_ = state.text;
    formats_ = state.formats;
    paragraphs_ = state.paragraphs;
    selection_ = state.selection;
    insertion_.reset();
}

void FakeFormattingEditor::Undo()
{
    if (undo_.empty())
        return;
    redo_.push_back(Snapshot());
    Restore(undo_.back());
    undo_.pop_back();
}

void FakeFormattingEditor::Redo()
{
    if (redo_.empty())
        return;
    undo_.push_back(Snapshot());
    Restore(redo_.back());
    redo_.pop_back();
}

} // namespace corvane::fakes
