#pragma once
// IReplyEditor and IFormattingEditor over a RichEdit window (version 2 or
// later, "RichEdit20A").
#include "platform/FormattingEditor.h"
#include "platform/ReplyEditor.h"

#include <windows.h>
#include <richedit.h>

#include <string>

namespace corvane::win32 {

class RichEditControl : public IReplyEditor, public IFormattingEditor {
public:
    explicit RichEditControl(HWND richEdit);

    // The notifications (ENM_...) the control sends its parent while no
    // quiet scope is open.
    void SetNotifications(LPARAM mask);
    // No notifications for a scope: for loads and selections the user did
    // not make. Scopes nest; the last one to end gives the mask back.
    class Quiet {
    public:
        explicit Quiet(const RichEditControl& editor) : editor_(editor) { editor_.BeginQuiet(); }
        ~Quiet() { editor_.EndQuiet(); }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

    private:
        const RichEditControl& editor_;
    };

    // Also reports a selection change (when the notifications ask for them
    // and no quiet scope is open): the caret stays at 0 and the control
    // reports nothing, while the text under it is another.
    void LoadRtf(const std::string& rtf) override;
    // The source last loaded, unchanged, while the user has changed nothing:
    // the control writes its own dialect of RTF, and a reply that was only
    // looked at must be stored byte for byte as it was.
    [[nodiscard]] std::string SaveRtf() const override;
    void Clear() override;
    [[nodiscard]] bool Modified() const override;
    void SetModified(bool modified) override;
    [[nodiscard]] bool CopyAllToClipboard() override;
    [[nodiscard]] TClipboardFormats ClipboardFormats() const override;
    void ReplaceSelection(const std::string& text) override;

    [[nodiscard]] TextRange Selection() const override;
    [[nodiscard]] std::string Text() const override;
    [[nodiscard]] CharFormat ReadCharFormat(TextRange range) const override;
    void WriteCharFormat(TextRange range, const CharFormat& format, unsigned parts) override;
    [[nodiscard]] Alignment ParagraphAlignment() const override;
    [[nodiscard]] int StartIndentPoints() const override;
    void SetParagraphAlignment(Alignment alignment) override;
    void SetStartIndentPoints(int points) override;
    void Cut() override;
    void Copy() override;
    void Paste() override;
    void Undo() override;
    void Redo() override;
    void SelectAll() override;

    // The content as the control writes it (SF_RTF or SF_TEXT), whatever was loaded.
    [[nodiscard]] std::string StreamOut(UINT format) const;
    HWND Handle() const { return hwnd_; }

private:
    void StreamIn(const std::string& source, UINT format);
    void DropClosingParagraphMark();
    void ReportSelectionChange() const;
    void Select(TextRange range) const;
    void SetParagraphFormat(const PARAFORMAT2& format);
    [[nodiscard]] PARAFORMAT2 ParagraphFormat() const;
    void BeginQuiet() const;
    void EndQuiet() const;
    class RangeSelected;

    HWND hwnd_;
    std::string loaded_;
    LPARAM notifications_ = 0;
    mutable int quietDepth_ = 0;
};

} // namespace corvane::win32
