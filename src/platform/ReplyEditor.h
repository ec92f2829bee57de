#pragma once
// What the library editing and the delivery routes need of the rich-text
// editor: its whole content as RTF source, the modified flag, the copy of the
// whole content to the clipboard and the insertion of text at the caret.
// Formatting commands extend the same control through an interface of their own.
#include <string>

#include "platform/Clipboard.h"

namespace corvane {

class IReplyEditor {
public:
    virtual ~IReplyEditor() = default;
    // Replaces the whole content by RTF source (a reply's lines joined by CR LF).
    virtual void LoadRtf(const std::string& rtf) = 0;
    // The whole content as RTF source.
    [[nodiscard]] virtual std::string SaveRtf() const = 0;
    virtual void Clear() = 0;
    [[nodiscard]] virtual bool Modified() const = 0;
    virtual void SetModified(bool modified) = 0;
    // Puts the whole content on the clipboard as rich text and as plain text.
    // False when the clipboard could not be taken (another program holds it).
    [[nodiscard]] virtual bool CopyAllToClipboard() = 0;
    // The formats that copy would put, for a clipboard that offers them itself.
    [[nodiscard]] virtual TClipboardFormats ClipboardFormats() const = 0;
    // Replaces the selection (or inserts at the caret) with plain text.
    virtual void ReplaceSelection(const std::string& text) = 0;
};

} // namespace corvane
