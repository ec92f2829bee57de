#pragma once
// An editor that keeps a format per character and per paragraph, a caret or
// selection, the insertion point's pending format, an undo history and a
// clipboard of plain text: enough to see what a formatting command did to
// which characters.
#include "platform/FormattingEditor.h"

#include <optional>
#include <string>
#include <vector>

namespace corvane::fakes {

class FakeFormattingEditor : public IFormattingEditor {
public:
    struct Paragraph {
        Alignment alignment = Alignment::Left;
        int indentPoints = 0;
    };

    static CharFormat DefaultFormat();

    // New content in one format; paragraphs are ended by "\r".
    void SetContent(const std::string& text, const CharFormat& format = DefaultFormat());
    void Select(int start, int end);
    // Replaces the selection with text in the insertion point's format.
    void Type(const std::string& text);

    CharFormat FormatAt(int position) const { return formats_.at(static_cast<size_t>(position)); }
    Paragraph& ParagraphAt(int position);
    int ParagraphCount() const { return static_cast<int>(paragraphs_.size()); }
    Paragraph& ParagraphNumber(int index) { return paragraphs_.at(static_cast<size_t>(index)); }

    TextRange Selection() const override { return selection_; }
    std::string Text() const override { return text_; }
    CharFormat ReadCharFormat(TextRange range) const override;
    void WriteCharFormat(TextRange range, const CharFormat& format, unsigned parts) override;
    Alignment ParagraphAlignment() const override;
    int StartIndentPoints() const override;
    void SetParagraphAlignment(Alignment alignment) override;
    void SetStartIndentPoints(int points) override;
    void Cut() override;
    void Copy() override;
    void Paste() override;
    void Undo() override;
    void Redo() override;
    void SelectAll() override { Select(0, static_cast<int>(text_.size())); }

    std::string clipboard;

private:
    struct State {
        std::string text;
        std::vector<CharFormat> formats;
        std::vector<Paragraph> paragraphs;
        TextRange selection;
    };
    State Snapshot() const { return {text_, formats_, paragraphs_, selection_}; }
    void Restore(const State& state);
    void RememberForUndo();
    int ParagraphIndex(int position) const;
    template <typename Change> void ForSelectedParagraphs(Change change);

    std::string text_;
    std::vector<CharFormat> formats_;
    std::vector<Paragraph> paragraphs_{Paragraph{}};
    TextRange selection_;
    std::optional<CharFormat> insertion_;
    std::vector<State> undo_;
    std::vector<State> redo_;
};

} // namespace corvane::fakes
