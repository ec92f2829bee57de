#include "shell/UnitTipDialog.h"

#include "shell/UnitSettings.h"

#include <chrono>
#include <utility>

namespace corvane {

const std::vector<std::string>& TipsOfTheDay()
{
    static const std::vector<std::string> tips = {
        "To force a newline in a paragraph with the same spacing as if the text had wrapped at the end of "
        "the line, press Shift+Enter.",
        "You can Drag text from any other window and Drop directly in the reply editor.",
        "If you just started Corvane, please read tutorial guide. It's available under the help menu.",
        "You can check our phrases collection by selecting Phrases Collections command under the Help menu.",
        "Corvane can automaticaly start on windows startup. Use Options menu to configure this option.",
        "Corvane can work in 'hidden' mode. Just close Corvane window to hide it. To return its visible "
        "status just click its icon in the system tray.",
        "You can check any Corvane updates by selecting Corvane home page under the Help menu.",
        "You can Drag a reply from the navigation window and Drop it into any place of any window.",
        "You can paste the reply into the previously active window. Use button at the left-bottom corner "
        "to do it.",
        "Assign parametric macro to a reply to customize it. This allows you to make reply insertions "
        "(Name, URL, etc..) on the fly.",
        "Did a macro expand that you did not want? Press Backspace right away: the reply goes and what you "
        "typed comes back.",
        "Type a macro with a capital first letter (Sig) and the reply starts with a capital; type it in "
        "capitals (SIG) and the reply comes in capitals.",
        "Put %Cursor in a reply (the % button of the editor) and the cursor stands there once the reply is "
        "in, ready for the next words.",
        "Tab and Enter can end a macro as the space does (Options): the reply goes in first, then the Tab "
        "or Enter, so a chat does not send the bare macro.",
        "Put %Clipboard in a reply and it brings in the text you had copied, in the reply's own formatting.",
    };
    return tips;
}

void TClockRandomSource::SeedFromClock()
{
    state_ ^= static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    state_ ^= static_cast<unsigned long long>(std::chrono::system_clock::now().time_since_epoch().count());
}

int TClockRandomSource::Below(int count)
{
    if (count <= 0)
        return 0;
    // splitmix64; the slight bias of the modulo is irrelevant for ten tips
    unsigned long long z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<int>(z % static_cast<unsigned long long>(count));
}

TTipDialogModel::TTipDialogModel(IRegistry& reg, ITipView& view, IRandomSource& random, std::vector<std::string> tips)
    : reg_(reg), view_(view), random_(random), tips_(std::move(tips))
{ }

void TTipDialogModel::Shown()
{
    open_ = true;
    view_.SetShowNextTime(ReadProgramFlag(reg_, kShowTips));
    random_.SeedFromClock();
    view_.SetNextEnabled(tips_.size() > 1);
    ShowRandomTip();
}

void TTipDialogModel::Next() { ShowRandomTip(); }

bool TTipDialogModel::Closed()
{
    open_ = false;
    if (WriteProgramFlag(reg_, kShowTips, view_.ShowNextTime()))
        return true;
    view_.ShowError(kMsgSettingsNotSaved);
    return false;
}

bool TTipDialogModel::PrepareStartupTip()
{
    if (open_)
        return true;
    const bool show = ReadProgramFlag(reg_, kShowTips);
    view_.SetShowNextTime(show);
    return show;
}

void TTipDialogModel::ShowRandomTip()
{
    if (tips_.empty()) {
        view_.SetTipText(kEmptyTipsText);
        return;
    }
    const int count = static_cast<int>(tips_.size());
    view_.SetTipText(tips_[static_cast<std::size_t>(random_.Below(count))]);
}

} // namespace corvane
