#include "engine/KeyGate.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "library/ExcludedPrograms.h"
#include "library/UnitCorvaneTypes.h"
#include "platform/Desktop.h"

namespace corvane {

namespace {

// A key that types into its program: held back while a macro is delivered,
// so that it lands after the reply. Keys with Ctrl or Alt, Backspace and the
// modifiers themselves go on: the delivery's own keys are among them.
bool TypesIntoProgram(const THtKeyStroke& key)
{
    constexpr int VkNumpad0 = 0x60, VkDivide = 0x6F, VkOem102 = 0xE2;
    if (key.controlHeld || key.altHeld)
        return false;
    const int vk = key.VirtualKeyCode;
    return KeyCharacter(vk, false) != '\0' || vk == VkSpace || vk == VkTab || vk == VkReturn
        || (vk >= VkNumpad0 && vk <= VkDivide) || vk == VkOem102;
}

} // namespace

void TInputStatePublisher::PublishState(std::uint32_t flags, std::string excludedPrograms, bool hooksRunning)
{
    const std::lock_guard lock(mutex_);
    flags_ = flags;
    excluded_ = std::move(excludedPrograms);
    writable_ = hooksRunning;
    WriteLocked();
}

void TInputStatePublisher::PublishPasswordFocus(bool password)
{
    const std::lock_guard lock(mutex_);
    password_ = password;
    WriteLocked();
}

void TInputStatePublisher::WriteLocked() const
{
    if (writable_)
        write_(flags_ | (password_ ? htStatePasswordFocus : 0u), excluded_);
}

void TKeyGate::Publish(TGateState state)
{
    const std::lock_guard lock(mutex_);
    state_ = std::move(state);
}

bool TKeyGate::StaysOut() const
{
    return state_.paused
        || (!state_.excludedPrograms.empty()
            && IsExcludedProgram(desktop_.ProgramFileOf(desktop_.ForegroundWindow()), state_.excludedPrograms));
}

std::string MacroStemKey(std::string_view macro)
{
    std::string stem(MacroStem(macro));
    std::transform(stem.begin(), stem.end(), stem.begin(), [](unsigned char c) { return std::tolower(c); });
    return stem;
}

bool TKeyGate::MayCompleteMacro() const
{
    return !typed_.empty() && state_.macroStems.count(MacroStemKey(typed_)) != 0;
}

TGateVerdict TKeyGate::Decide(const THtKeyStroke& key)
{
    const std::lock_guard lock(mutex_);
    if (holdId_ != 0 && key.VirtualKeyCode == HoldFenceKey) {
        TGateVerdict fence{true, false};
        if (fenceChecks_ >= 0)
            fence.sendOn = EndHold();
        return fence;
    }
    // Keys for this program itself (a dialog the delivery opened) are not held.
    if (holdId_ != 0 && state_.armed)
        return Hold(key);
    if (!state_.armed) {
        typed_.clear();
        return {};
    }
    const TChordFound chord = ChordToTake(
        key.VirtualKeyCode, key.keyIsBeingPressed, {key.controlHeld, key.altHeld, key.shiftHeld}, state_.hotKeyCodes,
        [this] { return state_.pickerEnabled; }, [this] { return StaysOut(); });
    TGateVerdict verdict{chord.chord != TChord::None, true};
    if (verdict.take)
        return verdict;
    if (TakesBackspace(key)) {
        verdict.take = true;
        typed_.clear();
    } else if (passwordFocus_) {
        typed_.clear();
    } else if (EndsMacro(key)) {
        verdict.take = true;
        typed_.clear();
        BeginHold(verdict);
    } else {
        FollowTyping(key, verdict);
    }
    return verdict;
}

bool TKeyGate::TakesBackspace(const THtKeyStroke& key)
{
    if (key.VirtualKeyCode != VkBack || key.controlHeld || key.altHeld)
        return false;
    // The engine's own come while the user's key may still be down: counted
    // off, they neither end the user's nor are taken.
    if (!key.keyIsBeingPressed) {
        if (ownBackspaceUps_ > 0)
            --ownBackspaceUps_;
        else
            backspaceTaken_ = false;
        return false;
    }
    if (ownBackspaceDowns_ > 0) {
        --ownBackspaceDowns_;
        return false;
    }
    if (backspaceTaken_)
        return true; // its repeats would go on into what was put back
    const bool ownKeysOff
        = !undoAfterOwnKey_ || (ownKeyRing_ != nullptr && OwnKeyIsTaken(*ownKeyRing_, *undoAfterOwnKey_));
    if (!undoChance_ || !ownKeysOff || desktop_.ForegroundWindow() != undoForeground_
        || desktop_.FocusWindow() != undoFocus_ || StaysOut())
        return false;
    undoChance_ = false;
    backspaceTaken_ = true;
    return true;
}

bool TKeyGate::EndsMacro(const THtKeyStroke& key) const
{
    return state_.endKeysTabEnter && key.keyIsBeingPressed && !key.controlHeld && !key.altHeld
        && (key.VirtualKeyCode == VkTab || key.VirtualKeyCode == VkReturn) && MayCompleteMacro() && !StaysOut();
}

void TKeyGate::SetUndoChance(bool open, WindowId foreground, WindowId focus, std::optional<std::uint32_t> afterOwnKey)
{
    const std::lock_guard lock(mutex_);
    undoChance_ = open;
    undoForeground_ = foreground;
    undoFocus_ = focus;
    undoAfterOwnKey_ = afterOwnKey;
}

void TKeyGate::UseOwnKeyRing(THtOwnKeyRing* ring)
{
    const std::lock_guard lock(mutex_);
    ownKeyRing_ = ring;
}

void TKeyGate::ExpectOwnBackspaces(int count)
{
    const std::lock_guard lock(mutex_);
    ownBackspaceDowns_ += count;
    ownBackspaceUps_ += count;
}

void TKeyGate::SetPasswordFocus(bool password)
{
    const std::lock_guard lock(mutex_);
    passwordFocus_ = password;
    if (password)
        typed_.clear();
}

void TKeyGate::FollowTyping(const THtKeyStroke& key, TGateVerdict& verdict)
{
    const char character = key.controlHeld || key.altHeld ? '\0' : KeyCharacter(key.VirtualKeyCode, key.shiftHeld);
    if (FeedKey(typed_, key.VirtualKeyCode, key.keyIsBeingPressed, character) != TKeyOutcome::Expand)
        return;
    const bool mayComplete = MayCompleteMacro();
    typed_.clear();
    if (mayComplete && !StaysOut())
        BeginHold(verdict);
}

void TKeyGate::BeginHold(TGateVerdict& verdict)
{
    lastHoldId_ = static_cast<std::uint8_t>(lastHoldId_ == 255 ? 1 : lastHoldId_ + 1);
    holdId_ = lastHoldId_;
    claimed_ = false;
    fenceChecks_ = -1;
    verdict.holdId = holdId_;
}

TGateVerdict TKeyGate::Hold(const THtKeyStroke& key)
{
    const int vk = key.VirtualKeyCode;
    if (key.keyIsBeingPressed ? !TypesIntoProgram(key) : heldDown_.count(vk) == 0)
        return {};
    if (key.keyIsBeingPressed)
        heldDown_.insert(vk);
    else
        heldDown_.erase(vk);
    held_.push_back(key);
    return {true, false};
}

bool TKeyGate::ClaimHold(std::uint8_t id)
{
    const std::lock_guard lock(mutex_);
    if (id == 0 || id != holdId_ || fenceChecks_ >= 0)
        return false;
    claimed_ = true;
    return true;
}

bool TKeyGate::EndHoldAtFence(std::uint8_t id)
{
    const std::lock_guard lock(mutex_);
    if (id == 0 || id != holdId_ || fenceChecks_ >= 0)
        return false;
    fenceChecks_ = 0;
    return true;
}

THoldCheck TKeyGate::CheckHold(std::uint8_t id)
{
    const std::lock_guard lock(mutex_);
    if (id == 0 || id != holdId_)
        return {};
    if (fenceChecks_ >= 0) {
        // A fence that did not come through (its program closed or hung).
        if (++fenceChecks_ < 2)
            return {false};
        return {true, false, EndHold()};
    }
    if (claimed_)
        return {false}; // the engine is at it, a dialog may be open
    fenceChecks_ = 0;
    return {false, true};
}

std::vector<THtKeyStroke> TKeyGate::EndHold()
{
    holdId_ = 0;
    claimed_ = false;
    fenceChecks_ = -1;
    heldDown_.clear();
    return std::exchange(held_, {});
}

} // namespace corvane
