#pragma once
// The reply editor's content over a RichEdit (version 2 or later) control:
// RTF in and out, the modified flag, the clipboard copy of everything and
// the replacement of the selection. The formatting tools live elsewhere.
#include "platform/ReplyEditor.h"

#include <windows.h>

namespace corvane::win32 {

class RichEditReplyContent : public IReplyEditor {
public:
    explicit RichEditReplyContent(HWND richEdit) : hwnd_(richEdit) { }

    void LoadRtf(const std::string& rtf) override;
    std::string SaveRtf() const override;
    void Clear() override;
    bool Modified() const override;
    void SetModified(bool modified) override;
    bool CopyAllToClipboard() override;
    void ReplaceSelection(const std::string& text) override;

private:
    HWND hwnd_;
};

} // namespace corvane::win32
