#include "engine/KeyGate.h"

#include "library/ExcludedPrograms.h"
#include "platform/Desktop.h"

namespace corvane {

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

TGateVerdict TKeyGate::Decide(const THtKeyStroke& key)
{
    const std::lock_guard lock(mutex_);
    if (!state_.armed)
        return {};
    const TChordFound chord = ChordToTake(
        key.VirtualKeyCode, key.keyIsBeingPressed, {key.controlHeld, key.altHeld, key.shiftHeld}, state_.hotKeyCodes,
        [this] { return state_.pickerEnabled; }, [this] { return StaysOut(); });
    return {chord.chord != TChord::None, true};
}

} // namespace corvane
