#pragma once
// IReplyEditor over a RichEdit window (version 2 or later, "RichEdit20A").
#include "platform/ReplyEditor.h"

#include <windows.h>

#include <string>

namespace corvane::win32 {

class RichEditControl : public IReplyEditor {
public:
    explicit RichEditControl(HWND richEdit);

    void LoadRtf(const std::string& rtf) override;
    // The source last loaded, unchanged, while the user has changed nothing:
    // the control writes its own dialect of RTF, and a reply that was only
    // looked at must be stored byte for byte as it was.
    [[nodiscard]] std::string SaveRtf() const override;
    void Clear() override;
    [[nodiscard]] bool Modified() const override;
    void SetModified(bool modified) override;
    [[nodiscard]] bool CopyAllToClipboard() override;
    void ReplaceSelection(const std::string& text) override;

    // The content as the control writes it (SF_RTF or SF_TEXT), whatever was loaded.
    [[nodiscard]] std::string StreamOut(UINT format) const;
    HWND Handle() const { return hwnd_; }

private:
    void StreamIn(const std::string& source, UINT format);

    HWND hwnd_;
    std::string loaded_;
};

} // namespace corvane::win32
