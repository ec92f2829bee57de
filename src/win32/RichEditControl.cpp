#include "win32/RichEditControl.h"

#include "engine/ReplaceInReply.h"
#include "win32/Clipboard.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

namespace corvane::win32 {

namespace {

struct ReadCursor {
    const std::string* source;
    size_t offset;
};

DWORD CALLBACK ReadFromString(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    auto* cursor = reinterpret_cast<ReadCursor*>(cookie);
    const size_t left = cursor->source->size() - cursor->offset;
    const size_t n = std::min(left, static_cast<size_t>(wanted));
    std::memcpy(buffer, cursor->source->data() + cursor->offset, n);
    cursor->offset += n;
    *given = static_cast<LONG>(n);
    return 0;
}

DWORD CALLBACK AppendToString(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* taken)
{
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(size));
    *taken = size;
    return 0;
}

constexpr int kTwipsPerPoint = 20;

CHARFORMAT2A EmptyCharFormat()
{
    CHARFORMAT2A format{};
    format.cbSize = sizeof(format);
    return format;
}

CharFormat FromNative(const CHARFORMAT2A& native)
{
    CharFormat format;
    format.face = native.szFaceName;
    format.sizePoints = (native.yHeight + kTwipsPerPoint / 2) / kTwipsPerPoint;
    auto has = [&](DWORD mask, DWORD effect) { return (native.dwMask & mask) && (native.dwEffects & effect); };
    format.bold = has(CFM_BOLD, CFE_BOLD);
    format.italic = has(CFM_ITALIC, CFE_ITALIC);
    format.underline = has(CFM_UNDERLINE, CFE_UNDERLINE);
    format.strikeOut = has(CFM_STRIKEOUT, CFE_STRIKEOUT);
    format.autoColor = (native.dwEffects & CFE_AUTOCOLOR) != 0;
    format.color = native.crTextColor;
    if (!(native.dwMask & CFM_FACE))
        format.mixed |= kFormatFace;
    if (!(native.dwMask & CFM_SIZE))
        format.mixed |= kFormatSize;
    if (!(native.dwMask & CFM_COLOR))
        format.mixed |= kFormatColor;
    return format;
}

CHARFORMAT2A ToNative(const CharFormat& format, unsigned parts)
{
    CHARFORMAT2A native = EmptyCharFormat();
    if (parts & kFormatFace) {
        native.dwMask |= CFM_FACE;
        lstrcpynA(native.szFaceName, format.face.c_str(), LF_FACESIZE);
    }
    if (parts & kFormatSize) {
        native.dwMask |= CFM_SIZE;
        native.yHeight = format.sizePoints * kTwipsPerPoint;
    }
    if (parts & kFormatStyles) {
        native.dwMask |= CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
        native.dwEffects |= (format.bold ? CFE_BOLD : 0) | (format.italic ? CFE_ITALIC : 0)
            | (format.underline ? CFE_UNDERLINE : 0) | (format.strikeOut ? CFE_STRIKEOUT : 0);
    }
    if (parts & kFormatColor) {
        native.dwMask |= CFM_COLOR;
        native.dwEffects |= format.autoColor ? CFE_AUTOCOLOR : 0;
        native.crTextColor = format.color;
    }
    return native;
}

Alignment FromNativeAlignment(const PARAFORMAT2& format)
{
    if (!(format.dwMask & PFM_ALIGNMENT))
        return Alignment::Other;
    switch (format.wAlignment) {
    case PFA_LEFT:
        return Alignment::Left;
    case PFA_RIGHT:
        return Alignment::Right;
    case PFA_CENTER:
        return Alignment::Center;
    default:
        return Alignment::Other;
    }
}

WORD ToNativeAlignment(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Right:
        return PFA_RIGHT;
    case Alignment::Center:
        return PFA_CENTER;
    default:
        return PFA_LEFT;
    }
}

} // namespace

// Selects a range for one scope, without the selection-change notifications
// and the visible flicker of doing so, and puts the user's selection back.
class RichEditControl::RangeSelected {
public:
    RangeSelected(const RichEditControl& editor, TextRange range)
        : editor_(editor), saved_(editor.Selection()), moved_(range != saved_)
    {
        if (!moved_)
            return;
        editor_.BeginQuiet();
        ::SendMessageA(editor_.hwnd_, EM_HIDESELECTION, TRUE, 0);
        editor_.Select(range);
    }
    ~RangeSelected()
    {
        if (!moved_)
            return;
        editor_.Select(saved_);
        ::SendMessageA(editor_.hwnd_, EM_HIDESELECTION, FALSE, 0);
        editor_.EndQuiet();
    }
    RangeSelected(const RangeSelected&) = delete;
    RangeSelected& operator=(const RangeSelected&) = delete;

private:
    const RichEditControl& editor_;
    TextRange saved_;
    bool moved_;
};

RichEditControl::RichEditControl(HWND richEdit) : hwnd_(richEdit)
{
    // The whole reply, however long; the control's default is 32K characters.
    ::SendMessageA(hwnd_, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    notifications_ = ::SendMessageA(hwnd_, EM_GETEVENTMASK, 0, 0);
}

void RichEditControl::SetNotifications(LPARAM mask)
{
    notifications_ = mask;
    if (quietDepth_ == 0)
        ::SendMessageA(hwnd_, EM_SETEVENTMASK, 0, notifications_);
}

void RichEditControl::BeginQuiet() const
{
    if (quietDepth_++ == 0)
        ::SendMessageA(hwnd_, EM_SETEVENTMASK, 0, 0);
}

void RichEditControl::EndQuiet() const
{
    if (--quietDepth_ == 0)
        ::SendMessageA(hwnd_, EM_SETEVENTMASK, 0, notifications_);
}

// In place of everything, as the selection: a whole-document stream-in of
// Wine's RichEdit keeps a few hundred bytes for good whenever the RTF ends in
// a paragraph mark (a stored reply always does) and gives the next document
// the character format the last one ended in. The load itself is no edit and
// no selection move of the user's: the control reports neither.
void RichEditControl::StreamIn(const std::string& source, UINT format)
{
    const Quiet quiet(*this);
    // The stream starts from the control's default format, as a
    // whole-document load does, not from where the previous reply ended.
    CHARFORMAT2A standard = EmptyCharFormat();
    ::SendMessageA(hwnd_, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&standard));
    Select({0, -1});
    ::SendMessageA(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
    ::SendMessageA(hwnd_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&standard));
    ReadCursor cursor{&source, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&cursor);
    stream.pfnCallback = &ReadFromString;
    ::SendMessageA(hwnd_, EM_STREAMIN, format | SFF_SELECTION, reinterpret_cast<LPARAM>(&stream));
    if (format == SF_RTF)
        DropClosingParagraphMark();
    Select({0, 0});
    // Undo must not bring back the previous reply's text.
    ::SendMessageA(hwnd_, EM_EMPTYUNDOBUFFER, 0, 0);
    ::SendMessageA(hwnd_, EM_SETMODIFY, FALSE, 0);
}

// The stream's closing paragraph mark stands before the document's own, which
// takes its place (and the format of the last character) in a whole-document load.
void RichEditControl::DropClosingParagraphMark()
{
    GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
    const auto chars
        = static_cast<LONG>(::SendMessageA(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
    if (chars <= 0)
        return;
    char last[2] = {};
    TEXTRANGEA range{{chars - 1, chars}, last};
    ::SendMessageA(hwnd_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    if (last[0] != '\r')
        return;
    Select({chars - 1, chars});
    ::SendMessageA(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
    if (chars < 2)
        return;
    CHARFORMAT2A lastChar = EmptyCharFormat();
    Select({chars - 2, chars - 1});
    ::SendMessageA(hwnd_, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&lastChar));
    Select({chars - 1, -1});
    ::SendMessageA(hwnd_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&lastChar));
}

std::string RichEditControl::StreamOut(UINT format) const
{
    std::string out;
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&out);
    stream.pfnCallback = &AppendToString;
    ::SendMessageA(hwnd_, EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
    // Some versions end the stream with a terminating zero.
    while (!out.empty() && out.back() == '\0')
        out.pop_back();
    // UTF-16 text whose last character's high byte was zero got that byte trimmed too.
    if ((format & SF_UNICODE) != 0 && out.size() % 2 != 0)
        out.push_back('\0');
    return out;
}

void RichEditControl::LoadRtf(const std::string& rtf)
{
    // Lines without an RTF header are plain text: shown as they are, not dropped.
    StreamIn(rtf, rtf.starts_with("{\\rtf") ? SF_RTF : SF_TEXT);
    loaded_ = rtf;
    ReportSelectionChange();
}

void RichEditControl::ReportSelectionChange() const
{
    if (quietDepth_ > 0 || !(notifications_ & ENM_SELCHANGE))
        return;
    const TextRange range = Selection();
    SELCHANGE change{};
    change.nmhdr.hwndFrom = hwnd_;
    change.nmhdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(hwnd_));
    change.nmhdr.code = EN_SELCHANGE;
    change.chrg = {range.start, range.end};
    change.seltyp = range.Empty() ? SEL_EMPTY : SEL_TEXT;
    ::SendMessageA(::GetParent(hwnd_), WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
}

std::string RichEditControl::SaveRtf() const { return Modified() ? StreamOut(SF_RTF) : loaded_; }

void RichEditControl::Clear() { LoadRtf(std::string()); }

bool RichEditControl::Modified() const { return ::SendMessageA(hwnd_, EM_GETMODIFY, 0, 0) != 0; }

void RichEditControl::SetModified(bool modified) { ::SendMessageA(hwnd_, EM_SETMODIFY, modified ? TRUE : FALSE, 0); }

bool RichEditControl::CopyAllToClipboard() { return ReplaceClipboard(hwnd_, ClipboardFormats()); }

TClipboardFormats RichEditControl::ClipboardFormats() const
{
    static const UINT richTextFormat = ::RegisterClipboardFormatA(CF_RTF);
    // Plain-text programs read the UTF-16 form: every script and symbol of
    // the reply arrives as written, not as "?" outside the ANSI code page.
    return {{richTextFormat, WithoutFinalParagraphMark(StreamOut(SF_RTF))},
        {CF_UNICODETEXT, StreamOut(SF_TEXT | SF_UNICODE)}, {CF_TEXT, StreamOut(SF_TEXT)}};
}

void RichEditControl::ReplaceSelection(const std::string& text)
{
    ::SendMessageA(hwnd_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

TextRange RichEditControl::Selection() const
{
    CHARRANGE range{};
    ::SendMessageA(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return {static_cast<int>(range.cpMin), static_cast<int>(range.cpMax)};
}

void RichEditControl::Select(TextRange range) const
{
    CHARRANGE native{range.start, range.end};
    ::SendMessageA(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&native));
}

std::string RichEditControl::Text() const
{
    GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
    const LRESULT chars = ::SendMessageA(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    if (chars <= 0)
        return {};
    std::string text(static_cast<size_t>(chars) + 1, '\0');
    TEXTRANGEA range{{0, static_cast<LONG>(chars)}, text.data()};
    const LRESULT copied = ::SendMessageA(hwnd_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    text.resize(static_cast<size_t>(std::max<LRESULT>(copied, 0)));
    return text;
}

CharFormat RichEditControl::ReadCharFormat(TextRange range) const
{
    RangeSelected selected(*this, range);
    CHARFORMAT2A native = EmptyCharFormat();
    ::SendMessageA(hwnd_, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&native));
    return FromNative(native);
}

void RichEditControl::WriteCharFormat(TextRange range, const CharFormat& format, unsigned parts)
{
    {
        RangeSelected selected(*this, range);
        CHARFORMAT2A native = ToNative(format, parts);
        ::SendMessageA(hwnd_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&native));
    }
    // The control does not count a format change as a modification; the
    // stored source must not be handed back in its place.
    if (!range.Empty())
        SetModified(true);
}

PARAFORMAT2 RichEditControl::ParagraphFormat() const
{
    PARAFORMAT2 format{};
    format.cbSize = sizeof(format);
    ::SendMessageA(hwnd_, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    return format;
}

void RichEditControl::SetParagraphFormat(const PARAFORMAT2& format)
{
    ::SendMessageA(hwnd_, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    SetModified(true);
}

Alignment RichEditControl::ParagraphAlignment() const { return FromNativeAlignment(ParagraphFormat()); }

int RichEditControl::StartIndentPoints() const { return ParagraphFormat().dxStartIndent / kTwipsPerPoint; }

void RichEditControl::SetParagraphAlignment(Alignment alignment)
{
    PARAFORMAT2 format{};
    format.cbSize = sizeof(format);
    format.dwMask = PFM_ALIGNMENT;
    format.wAlignment = ToNativeAlignment(alignment);
    SetParagraphFormat(format);
}

void RichEditControl::SetStartIndentPoints(int points)
{
    PARAFORMAT2 format{};
    format.cbSize = sizeof(format);
    format.dwMask = PFM_STARTINDENT;
    format.dxStartIndent = points * kTwipsPerPoint;
    SetParagraphFormat(format);
}

void RichEditControl::Cut() { ::SendMessageA(hwnd_, WM_CUT, 0, 0); }
void RichEditControl::Copy() { ::SendMessageA(hwnd_, WM_COPY, 0, 0); }
void RichEditControl::Paste() { ::SendMessageA(hwnd_, WM_PASTE, 0, 0); }
void RichEditControl::Undo() { ::SendMessageA(hwnd_, EM_UNDO, 0, 0); }
void RichEditControl::Redo() { ::SendMessageA(hwnd_, EM_REDO, 0, 0); }
void RichEditControl::SelectAll() { Select({0, -1}); }

} // namespace corvane::win32
