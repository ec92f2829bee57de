#pragma once
// An editor that keeps its RTF source as a string. Plain text is what is left
// of the source once groups with a destination, control words and braces are
// dropped: enough to read back what a reply says.
#include "fakes/FakeClipboard.h"
#include "platform/ReplyEditor.h"

#include <string>

namespace corvane::fakes {

class FakeReplyEditor : public IReplyEditor {
public:
    explicit FakeReplyEditor(FakeClipboard* clipboard = nullptr) : clipboard_(clipboard) { }

    void LoadRtf(const std::string& rtf) override
    {
        rtf_ = rtf;
        modified_ = false;
        ++loads;
    }
    std::string SaveRtf() const override { return rtf_; }
    void Clear() override
    {
        rtf_.clear();
        modified_ = false;
    }
    bool Modified() const override { return modified_; }
    void SetModified(bool modified) override { modified_ = modified; }
    bool CopyAllToClipboard() override;
    TClipboardFormats ClipboardFormats() const override;
    void ReplaceSelection(const std::string& text) override;

    // The text a user would read in the editor.
    std::string PlainText() const { return PlainTextOfRtf(rtf_); }
    static std::string PlainTextOfRtf(const std::string& rtf);

    int loads = 0;

private:
    std::string rtf_;
    bool modified_ = false;
    FakeClipboard* clipboard_;
};

} // namespace corvane::fakes
