#pragma once
// The reply editor's content on a RichEdit control: RTF in and out, the
// modified flag, and the whole content put on the clipboard as rich text and
// plain text.
#include <windows.h>

#include <string>

#include "platform/ReplyEditor.h"

namespace corvane::win32 {

class RichEditContent final : public IReplyEditor {
public:
    explicit RichEditContent(HWND editor) : editor_(editor) { }

    void LoadRtf(const std::string& rtf) override;
    std::string SaveRtf() const override;
    void Clear() override;
    bool Modified() const override;
    void SetModified(bool modified) override;
    bool CopyAllToClipboard() override;
    void ReplaceSelection(const std::string& text) override;

private:
    std::string StreamOut(UINT format) const;
    HWND editor_;
};

// Puts each (format, bytes) pair on the clipboard in one opening; false when
// another program holds the clipboard or memory runs out.
struct ClipboardItem {
    UINT format;
    const std::string* bytes; // a terminating zero is added
};
[[nodiscard]] bool PutOnClipboard(HWND owner, const ClipboardItem* items, int count);

} // namespace corvane::win32
