#include "engine/Delivery.h"

#include "library/ExcludedPrograms.h"
#include "engine/PredefinedInsertions.h"
#include "engine/Recogniser.h"
#include "engine/ReplaceInReply.h"
#include "library/IndexFormat.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitCorvaneTypes.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/ReplyEditor.h"

namespace corvane {

namespace {

// The editor lent to one delivery: it gets back what it showed, with its
// modified flag, and the window ignores its notifications meanwhile, so
// neither the library nor the selection ever sees the expansion.
class TBorrowedEditor {
public:
    TBorrowedEditor(IReplyEditor& editor, IEngineWindow& window)
        : editor_(editor), window_(window), shown_(editor.SaveRtf()), modified_(editor.Modified())
    {
        window_.SetDelivering(true);
    }
    ~TBorrowedEditor()
    {
        if (shown_.empty())
            editor_.Clear();
        else
            editor_.LoadRtf(shown_);
        editor_.SetModified(modified_);
        window_.SetDelivering(false);
    }
    TBorrowedEditor(const TBorrowedEditor&) = delete;
    TBorrowedEditor& operator=(const TBorrowedEditor&) = delete;

private:
    IReplyEditor& editor_;
    IEngineWindow& window_;
    const std::string shown_;
    const bool modified_;
};

} // namespace

void TEngine::KeyAction(int virtualKey, bool keyIsBeingPressed)
{
    // Shift as the notifications report it, in the order the keys were
    // struck: read from the key state when the notification is handled, a
    // quickly released Shift would already be up.
    if (virtualKey == VkShift || virtualKey == VkLShift || virtualKey == VkRShift)
        shiftDown_ = keyIsBeingPressed;
    if (!appInactive_)
        return;
    if (StaysOut()) {
        typedBuffer_.clear();
        return;
    }
    if (FeedKey(typedBuffer_, virtualKey, keyIsBeingPressed, shiftDown_) == TKeyOutcome::Expand)
        ExpandTypedMacro();
}

bool TEngine::StaysOut() const
{
    if (paused_)
        return true;
    const std::string excluded = p_.window.ExcludedPrograms();
    return !excluded.empty() && IsExcludedProgram(p_.desktop.ProgramFileOf(p_.desktop.ForegroundWindow()), excluded);
}

void TEngine::ExpandTypedMacro()
{
    std::string names;
    std::string values;
    const int position = p_.library.MatchMacro(typedBuffer_, names, values);
    const auto typedLength = typedBuffer_.size();
    typedBuffer_.clear();
    if (position < 0)
        return;
    bool copied = false;
    {
        // The editor is given back once the keys are on their way.
        TBorrowedEditor borrowed(p_.editor, p_.window);
        copied = FillInAndCopy(*p_.library.MacroReplyAt(position), names, values);
        // Without the copy the typed macro stays: pasting would paste what the clipboard held.
        if (copied) {
            for (size_t i = 0; i < typedLength + 1; ++i) {
                p_.desktop.SendKey(VkBack, false);
                p_.desktop.SendKey(VkBack, true);
            }
            SimulatePaste();
        }
    }
    if (!copied)
        p_.boxes.Warning(ClipboardBusyText);
}

void TEngine::SimulatePaste()
{
    p_.desktop.SendKey(VkControl, false);
    p_.desktop.SendKey(VkV, false);
    p_.desktop.SendKey(VkV, true);
    p_.desktop.SendKey(VkControl, true);
}

void TEngine::PasteInto(WindowId window)
{
    if (!p_.desktop.IsWindow(window)) {
        p_.boxes.Warning(TargetGoneText);
        return;
    }
    p_.desktop.SetForeground(window);
    // Activation of another program's window may take effect later (under
    // Wine it waits for the X server); keys sent before would reach the old one.
    for (int waited = 0; p_.desktop.ForegroundWindow() != window && waited < ForegroundWaitMs;
         waited += ForegroundPollMs)
        p_.desktop.Pause(ForegroundPollMs);
    SimulatePaste();
}

void TEngine::PasteStep(TCopy copy, WindowId dialogTarget)
{
    // After a dialog the focus is the program's: the target is brought back.
    if (copy == TCopy::CopiedAfterDialog) {
        PasteInto(dialogTarget);
    } else if (copy == TCopy::Copied) {
        p_.desktop.Pause(DeliveryPauseMs);
        SimulatePaste();
    }
}

void TEngine::WindowActivated(WindowId window)
{
    if (window != 0 && !p_.window.ParametersDialogVisible() && window != p_.window.MainWindow())
        lastActiveWindow_ = window;
}

void TEngine::WindowDestroyed(WindowId window, bool terminating)
{
    if (terminating || window != lastActiveWindow_)
        return;
    lastActiveWindow_ = 0;
    if (p_.window.ParametersDialogVisible())
        p_.window.CancelParametersDialog();
}

void TEngine::TimerTick()
{
    foregroundAtTick_ = p_.desktop.ForegroundWindow();
    if (!appInactive_)
        return;
    // Some systems (Wine among them) send no shell activations; the window
    // in front while another application is active was activated too.
    WindowActivated(foregroundAtTick_);
    if (StaysOut()) {
        // A chord seen before the user went into the program is dropped, not carried out there.
        pendingInsert_ = pendingShow_ = pendingPicker_ = false;
        pendingHotKey_ = -1;
        return;
    }
    if (pendingInsert_) {
        InsertSelectedReply();
    } else if (pendingShow_) {
        pendingShow_ = false;
        p_.window.ShowFromHotKey(foregroundAtTick_);
    } else if (pendingPicker_) {
        PickAndDeliver();
    } else if (pendingHotKey_ != -1) {
        DeliverHotKeyReply();
    } else {
        PollHotKeys();
    }
}

void TEngine::PollHotKeys()
{
    const TChordFound found = FindChord(p_.desktop, p_.library, p_.window.PickerEnabled());
    switch (found.chord) {
    case TChord::Picker:
        pendingPicker_ = true;
        break;
    case TChord::ShowWindow:
        pendingShow_ = true;
        break;
    case TChord::InsertSelected:
        pendingInsert_ = true;
        break;
    case TChord::ReplyHotKey:
        pendingHotKey_ = found.hotKeyPosition;
        pendingHotKeyCode_ = p_.library.HotKeyCodeAt(found.hotKeyPosition);
        pendingHotKeyReply_ = p_.library.HotKeyReplyAt(found.hotKeyPosition);
        break;
    case TChord::None:
        break;
    }
}

void TEngine::DeliverHotKeyReply()
{
    // The library may have changed while the program was active in between:
    // a position that names another entry now delivers nothing.
    const int position = pendingHotKey_;
    if (position >= p_.library.HotKeyCount() || p_.library.HotKeyCodeAt(position) != pendingHotKeyCode_
        || p_.library.HotKeyReplyAt(position) != pendingHotKeyReply_) {
        pendingHotKey_ = -1;
        return;
    }
    const HotKeyParts parts = SplitHotKeyCode(pendingHotKeyCode_);
    if (p_.desktop.KeyDown(static_cast<unsigned char>(parts.key)))
        return;
    pendingHotKey_ = -1;
    PasteStep(CopyReply(*p_.library.HotKeyReplyAt(position), {TDialogPlace::ScreenCentre}), lastActiveWindow_);
}

void TEngine::PickAndDeliver()
{
    pendingPicker_ = false;
    const WindowId target = foregroundAtTick_;
    if (target == 0 || target == p_.window.MainWindow())
        return;
    const TPicked picked = p_.window.PickReply(target);
    // The picker had the foreground: the target gets it back, before the
    // paste or when the picker was dismissed, but not from a window the
    // user went to.
    if (!picked.reply) {
        if (!picked.leftForAnotherWindow && p_.desktop.IsWindow(target))
            p_.desktop.SetForeground(target);
        return;
    }
    const TCopy copy = CopyReply(*picked.reply, {TDialogPlace::ScreenCentre});
    if (copy == TCopy::Copied || copy == TCopy::CopiedAfterDialog)
        PasteInto(target);
    else if (p_.desktop.IsWindow(target))
        p_.desktop.SetForeground(target);
}

void TEngine::InsertSelectedReply()
{
    pendingInsert_ = false;
    // A folder has nothing to deliver; its empty copy would clear the target's clipboard for nothing.
    if (const TRep* reply = SelectedReply())
        PasteStep(CopyReply(*reply, {TDialogPlace::ScreenCentre}), lastActiveWindow_);
}

void TEngine::PasteIntoLastActive(const TDialogPlace& dialogPlace)
{
    p_.window.CommitEdits();
    const TRep* reply = SelectedReply();
    if (!reply)
        return;
    const TCopy copy = CopyReply(*reply, dialogPlace);
    if (copy == TCopy::Copied)
        p_.desktop.Pause(DeliveryPauseMs);
    if (copy == TCopy::Copied || copy == TCopy::CopiedAfterDialog)
        PasteInto(lastActiveWindow_);
}

void TEngine::CopyEntireReply(const TDialogPlace& dialogPlace)
{
    p_.window.CommitEdits();
    if (const TRep* reply = SelectedReply())
        (void)CopyReply(*reply, dialogPlace);
}

void TEngine::DropSelectedReply(int x, int y, WindowId target)
{
    const TRep* reply = SelectedReply();
    if (!reply || drag_.PointerInsideForm() || target == 0 || target == p_.window.MainWindow())
        return;
    // The click places the caret at the drop point and gives the target the focus.
    p_.desktop.ClickAtPointer();
    const bool asks = !DialogParameters(*reply).empty();
    if (asks) {
        p_.window.TakeForeground();
        p_.desktop.Pause(DeliveryPauseMs);
    }
    PasteStep(CopyReply(*reply, {TDialogPlace::AroundPoint, x, y}), target);
}

const TRep* TEngine::SelectedReply() const
{
    const TreeNode node = p_.window.SelectedNode();
    const TRep* rep = node ? p_.library.RepOf(node) : nullptr;
    return rep && !rep->IsFolder() ? rep : nullptr;
}

std::string TEngine::DialogParameters(const TRep& reply) const
{
    if (!p_.window.ParametersDialogEnabled())
        return {};
    const int position = p_.library.MacroIndexOf(&reply);
    if (position < 0)
        return {};
    return std::string(ParameterList(p_.library.MacroAt(position)));
}

TEngine::TCopy TEngine::CopyReply(const TRep& reply, const TDialogPlace& dialogPlace)
{
    const std::string parameters = DialogParameters(reply);
    std::string values;
    if (!parameters.empty() && !p_.window.AskParameters(parameters, dialogPlace, values))
        return TCopy::Cancelled;
    bool copied = false;
    {
        TBorrowedEditor borrowed(p_.editor, p_.window);
        copied = FillInAndCopy(reply, parameters, values);
    }
    if (!copied) {
        p_.boxes.Warning(ClipboardBusyText);
        return TCopy::Failed;
    }
    return parameters.empty() ? TCopy::Copied : TCopy::CopiedAfterDialog;
}

bool TEngine::FillInAndCopy(const TRep& reply, const std::string& names, const std::string& values)
{
    const std::string placeholderValues = PredefinedValues(p_.clock.Now());
    LoadReplaced(p_.editor, JoinTextLines(reply.Lines), {{names, values}, {PredefinedNames(), placeholderValues}});
    if (!p_.editor.CopyAllToClipboard())
        return false;
    p_.window.ReplyDelivered(reply);
    return true;
}

} // namespace corvane
