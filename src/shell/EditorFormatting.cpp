#include "shell/EditorFormatting.h"

#include "library/TextUtils.h"
#include "shell/MainLayout.h"

#include <algorithm>
#include <charconv>

namespace corvane {

const std::array<ColorMenuItem, kColorMenuItemCount> kColorMenuItems = {{
    {"Black", MakeRgb(0, 0, 0), false},
    {"Maroon", MakeRgb(128, 0, 0), false},
    {"Green", MakeRgb(0, 128, 0), false},
    {"Olive", MakeRgb(128, 128, 0), false},
    {"Navy", MakeRgb(0, 0, 128), false},
    {"Purple", MakeRgb(128, 0, 128), false},
    {"Teal", MakeRgb(0, 128, 128), false},
    {"Gray", MakeRgb(128, 128, 128), false},
    {"Silver", MakeRgb(192, 192, 192), false},
    {"Red", MakeRgb(255, 0, 0), false},
    {"Lime", MakeRgb(0, 255, 0), false},
    {"Yellow", MakeRgb(255, 255, 0), false},
    {"Blue", MakeRgb(0, 0, 255), false},
    {"Fuchsia", MakeRgb(255, 0, 255), false},
    {"Aqua", MakeRgb(0, 255, 255), false},
    {"White", MakeRgb(255, 255, 255), false},
    {"Automatic", 0, true},
}};

namespace {

constexpr int kSwatchGap = 6;
constexpr int kSwatchWidth = 20;
constexpr int kSwatchInset = 3;
constexpr size_t kMaxFaceLength = 31;

bool IsWordChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    if ((u >= '0' && u <= '9') || u == '_' || u >= 0xC0)
        return true;
    return ToLowerAnsi(c) != ToUpperAnsi(c);
}

class RefreshGuard {
public:
    explicit RefreshGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~RefreshGuard() { flag_ = false; }
    RefreshGuard(const RefreshGuard&) = delete;
    RefreshGuard& operator=(const RefreshGuard&) = delete;

private:
    bool& flag_;
};

} // namespace

SwatchRect ColorSwatchRect(int itemLeft, int itemTop, int itemBottom, int checkMarkWidth, int dpi)
{
    const int left = itemLeft + checkMarkWidth + ScaleToDpi(kSwatchGap, dpi);
    const int inset = ScaleToDpi(kSwatchInset, dpi);
    return {left, itemTop + inset, left + ScaleToDpi(kSwatchWidth, dpi), itemBottom - inset};
}

TextRange WordAt(std::string_view text, int caret)
{
    const int size = static_cast<int>(text.size());
    if (caret <= 0 || caret >= size || !IsWordChar(text[caret - 1]) || !IsWordChar(text[caret]))
        return {caret, caret};
    int start = caret;
    while (start > 0 && IsWordChar(text[start - 1]))
        --start;
    int end = caret;
    while (end < size && IsWordChar(text[end]))
        ++end;
    return {start, end};
}

std::vector<std::string> SortedFontNames(std::vector<std::string> faces)
{
    for (std::string& face : faces)
        face.resize(std::min(face.size(), kMaxFaceLength));
    std::erase_if(faces, [](const std::string& face) { return face.empty(); });
    const auto less = [](const std::string& a, const std::string& b) { return CompareTextIgnoringCase(a, b) < 0; };
    std::stable_sort(faces.begin(), faces.end(), less);
    faces.erase(std::unique(faces.begin(), faces.end(),
                    [](const std::string& a, const std::string& b) { return SameTextIgnoringCase(a, b); }),
        faces.end());
    return faces;
}

std::optional<int> FontSizeFromText(std::string_view text)
{
    int value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || value <= 0)
        return std::nullopt;
    return value;
}

TEditorFormatting::TEditorFormatting(
    IFormattingEditor& editor, IFormattingToolbar& toolbar, std::function<void()> formatted)
    : editor_(editor), toolbar_(toolbar), formatted_(std::move(formatted))
{ }

void TEditorFormatting::FillFontList(std::vector<std::string> faces)
{
    fontNames_ = SortedFontNames(std::move(faces));
    toolbar_.SetFontNames(fontNames_);
}

void TEditorFormatting::Refresh()
{
    RefreshGuard guard(refreshing_);
    const CharFormat format = editor_.ReadCharFormat(editor_.Selection());
    toolbar_.SetStyleDown(StyleButton::Bold, format.bold);
    toolbar_.SetStyleDown(StyleButton::Italic, format.italic);
    toolbar_.SetStyleDown(StyleButton::Underline, format.underline);
    // A selection in several sizes or faces shows none of them.
    toolbar_.SetFontSizeText((format.mixed & kFormatSize) ? std::string() : std::to_string(format.sizePoints));
    toolbar_.SetFontNameText((format.mixed & kFormatFace) ? std::string() : format.face);
    const Alignment alignment = editor_.ParagraphAlignment();
    if (alignment != Alignment::Other)
        toolbar_.SetAlignmentDown(alignment);
}

TextRange TEditorFormatting::CurrentTextRange() const
{
    const TextRange selection = editor_.Selection();
    if (!selection.Empty())
        return selection;
    return WordAt(editor_.Text(), selection.start);
}

void TEditorFormatting::WriteCurrent(const CharFormat& format, unsigned parts)
{
    editor_.WriteCharFormat(CurrentTextRange(), format, parts);
    if (formatted_)
        formatted_();
}

void TEditorFormatting::FontNameChanged(const std::string& text)
{
    if (refreshing_)
        return;
    // Typing a name goes through names that are no font; only a listed face is applied.
    const auto listed = std::find_if(fontNames_.begin(), fontNames_.end(),
        [&](const std::string& name) { return SameTextIgnoringCase(name, text); });
    if (listed == fontNames_.end())
        return;
    CharFormat format;
    format.face = *listed;
    WriteCurrent(format, kFormatFace);
}

void TEditorFormatting::FontSizeChanged(const std::string& text)
{
    if (refreshing_)
        return;
    // An emptied box or a half-typed entry is left alone until it is a size.
    const std::optional<int> size = FontSizeFromText(text);
    if (!size)
        return;
    CharFormat format;
    format.sizePoints = *size;
    WriteCurrent(format, kFormatSize);
}

void TEditorFormatting::StyleClicked(StyleButton button, bool down)
{
    if (refreshing_)
        return;
    CharFormat format = editor_.ReadCharFormat(CurrentTextRange());
    switch (button) {
    case StyleButton::Bold:
        format.bold = down;
        break;
    case StyleButton::Italic:
        format.italic = down;
        break;
    case StyleButton::Underline:
        format.underline = down;
        break;
    }
    WriteCurrent(format, kFormatStyles);
}

void TEditorFormatting::AlignmentClicked(Alignment alignment)
{
    if (refreshing_ || alignment == Alignment::Other)
        return;
    editor_.SetParagraphAlignment(alignment);
    if (formatted_)
        formatted_();
}

void TEditorFormatting::SetIndent(int points)
{
    editor_.SetStartIndentPoints(points);
    if (formatted_)
        formatted_();
}

void TEditorFormatting::IncreaseIndent()
{
    if (!refreshing_)
        SetIndent(editor_.StartIndentPoints() + kIndentStepPoints);
}

void TEditorFormatting::DecreaseIndent()
{
    // Never below the margin: an indent under 10 goes to 0, not below it.
    if (!refreshing_)
        SetIndent(std::max(0, editor_.StartIndentPoints() - kIndentStepPoints));
}

int TEditorFormatting::ColorItemToCheck() const
{
    const CharFormat format = editor_.ReadCharFormat(CurrentTextRange());
    if (format.mixed & kFormatColor)
        return -1;
    for (int i = 0; i < kColorMenuItemCount; ++i) {
        const ColorMenuItem& item = kColorMenuItems[static_cast<size_t>(i)];
        if (format.autoColor ? item.automatic : (!item.automatic && item.color == format.color))
            return i;
    }
    return -1;
}

void TEditorFormatting::ColorChosen(int item)
{
    if (item < 0 || item >= kColorMenuItemCount)
        return;
    const ColorMenuItem& chosen = kColorMenuItems[static_cast<size_t>(item)];
    CharFormat format;
    format.autoColor = chosen.automatic;
    format.color = chosen.color;
    WriteCurrent(format, kFormatColor);
}

} // namespace corvane
