#pragma once
// The tip of the day: the tips, the random choice, and the setting written on
// every close.
#include "library/Texts.h"
#include "platform/Registry.h"

#include <string>
#include <vector>

namespace corvane {

// The ten tips in their order.
const std::vector<std::string>& TipsOfTheDay();

class IRandomSource {
public:
    virtual ~IRandomSource() = default;
    virtual void SeedFromClock() = 0;
    virtual int Below(int count) = 0; // uniform over 0 .. count - 1
};

// A random source seeded from the system clock.
class TClockRandomSource final : public IRandomSource {
public:
    void SeedFromClock() override;
    int Below(int count) override;

private:
    unsigned long long state_ = 0x9E3779B97F4A7C15ull;
};

class ITipView {
public:
    virtual ~ITipView() = default;
    virtual void SetShowNextTime(bool checked) = 0;
    virtual bool ShowNextTime() const = 0;
    virtual void SetNextEnabled(bool enabled) = 0;
    virtual void SetTipText(const std::string& text) = 0;
    virtual void ShowError(const std::string& text) = 0;
};

class TTipDialogModel {
public:
    TTipDialogModel(
        IRegistry& reg, ITipView& view, IRandomSource& random, std::vector<std::string> tips = TipsOfTheDay());

    void Shown();
    void Next();
    // Any way of closing ends up here. False, after telling the user through
    // the view, when the choice could not be stored.
    bool Closed();
    // The start-up timer's tick: true when the dialog is to be shown. An open
    // dialog keeps its box as the user left it.
    bool PrepareStartupTip();
    // Between Shown and Closed. A request to show an open dialog only brings
    // it forward: one dialog object runs one modal loop at a time.
    bool IsOpen() const { return open_; }

private:
    void ShowRandomTip();

    IRegistry& reg_;
    ITipView& view_;
    IRandomSource& random_;
    std::vector<std::string> tips_;
    bool open_ = false;
};

} // namespace corvane
