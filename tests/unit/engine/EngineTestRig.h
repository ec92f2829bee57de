#pragma once
// A library, an editor, a clipboard and a desktop with another program's
// window, wired to one engine as the main window wires them.
#include "engine/Delivery.h"
#include "engine/Recogniser.h"
#include "fakes/FakeDesktop.h"
#include "fakes/FakeListBox.h"
#include "fakes/FakeReplyEditor.h"
#include "fakes/FakeTreeControl.h"
#include "fakes/NativeFileSystem.h"
#include "fakes/RecordingMessageBoxes.h"
#include "library/IndexFormat.h"
#include "library/UnitCorvaneTypes.h"

#include <string>
#include <vector>

namespace corvane::testing {

inline constexpr WindowId MailWindow = 0x1001;
inline constexpr WindowId OwnWindow = 0x2002;

class EngineRig : public IEngineWindow {
public:
    EngineRig()
    {
        desktop.OpenWindow(MailWindow);
        engine.SetAppInactive(true);
    }

    // --- the main window, as the engine sees it ---
    TreeNode SelectedNode() const override { return tree.Selected(); }
    void SetDelivering(bool delivering) override { deliveringDepth += delivering ? 1 : -1; }
    void CommitEdits() override { ++commits; }
    // The user selects a node: its reply shows in the editor.
    void SelectNode(TreeNode node)
    {
        tree.Select(node);
        const TRep* rep = node ? library.RepOf(node) : nullptr;
        if (rep && !rep->IsFolder())
            editor.LoadRtf(JoinTextLines(rep->Lines));
        else
            editor.Clear();
    }
    WindowId MainWindow() const override { return OwnWindow; }
    void ShowFromHotKey(WindowId from) override { shownFrom.push_back(from); }
    void TakeForeground() override { desktop.foreground = OwnWindow; }
    bool ParametersDialogEnabled() const override { return dialogEnabled; }
    bool AskParameters(const std::string& list, const TDialogPlace& place, std::string& values) override
    {
        askedLists.push_back(list);
        askedPlaces.push_back(place);
        values = dialogValues;
        return dialogAccepts;
    }
    bool ParametersDialogVisible() const override { return dialogVisible; }
    void CancelParametersDialog() override { ++dialogCancels; }
    bool PickerEnabled() const override { return pickerEnabled; }
    std::string ExcludedPrograms() const override { return excludedPrograms; }
    // The user picks `pickerChoice` (nothing when null) in a picker that took the foreground.
    TPicked PickReply(WindowId target) override
    {
        pickedOver.push_back(target);
        desktop.foreground = OwnWindow;
        if (pickerLeftFor != 0)
            desktop.foreground = pickerLeftFor;
        return {pickerChoice, pickerLeftFor != 0};
    }
    void ReplyDelivered(const TRep& reply) override { delivered.push_back(&reply); }

    TRep* AddReply(
        const std::string& name, const std::string& rtf, const std::string& macro = {}, const std::string& hotKey = {})
    {
        TRep* rep = library.Items(library.AddNodeLast(name, nullptr));
        rep->FileName = std::to_string(library.Count()) + ".rep";
        library.SetBodyText(rep, rtf);
        if (!macro.empty())
            (void)library.SetMacro(rep, macro);
        if (!hotKey.empty())
            (void)library.SetHotKey(rep, hotKey);
        return rep;
    }

    // Types text into the foreground window as a user would: the target
    // gets each character, the hook reports each press and release (Shift
    // included). The physical key state is not touched: by the time the
    // notifications are handled, the keys are up again.
    void Type(const std::string& text)
    {
        for (char c : text) {
            int vk = c == ' ' ? VkSpace : 0;
            bool shift = false;
            for (int k = 1; k < 256 && !vk; ++k) {
                if (KeyCharacter(k, false) == c)
                    vk = k;
                else if (KeyCharacter(k, true) == c)
                    vk = k, shift = true;
            }
            if (shift)
                engine.KeyAction(VkShift, true);
            if (desktop.IsWindow(desktop.foreground))
                desktop.TextOf(desktop.foreground) += c;
            engine.KeyAction(vk, true);
            engine.KeyAction(vk, false);
            if (shift)
                engine.KeyAction(VkShift, false);
        }
    }
    void Press(int vk)
    {
        engine.KeyAction(vk, true);
        engine.KeyAction(vk, false);
    }
    // The notifications of the keys the engine synthesised reach it later.
    void HandleEchoes()
    {
        auto echoed = std::move(desktop.echoed);
        desktop.echoed.clear();
        for (const auto& [vk, pressed] : echoed)
            engine.KeyAction(vk, pressed);
    }
    std::string MailText() { return desktop.TextOf(MailWindow); }

    fakes::FakeTreeControl tree;
    fakes::FakeListBox hotKeyBox, macroBox;
    fakes::NativeFileSystem fs;
    TRepList library{tree, hotKeyBox, macroBox, fs, "C:\\Replies"}; // nothing is read or written
    fakes::FakeClipboard clipboard;
    fakes::FakeReplyEditor editor{&clipboard};
    fakes::FakeDesktop desktop{clipboard};
    fakes::FakeClock clock;
    fakes::RecordingMessageBoxes boxes;
    TEngine engine{{library, editor, *this, desktop, clock, boxes}};

    bool dialogEnabled = true;
    bool dialogAccepts = true;
    bool dialogVisible = false;
    std::string dialogValues;
    std::vector<std::string> askedLists;
    std::vector<TDialogPlace> askedPlaces;
    std::vector<WindowId> shownFrom;
    int dialogCancels = 0;
    bool pickerEnabled = true;
    std::string excludedPrograms;
    const TRep* pickerChoice = nullptr;
    WindowId pickerLeftFor = 0; // the window the user went to from the picker
    std::vector<WindowId> pickedOver;
    std::vector<const TRep*> delivered;
    int deliveringDepth = 0;
    int commits = 0;
};

// A reply as RichEdit writes it.
inline std::string RichEditRtf(const std::string& body)
{
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
           "{\\colortbl ;\\red31\\green73\\blue125;}\r\n"
           "\\viewkind4\\uc1\\pard\\sb240\\f0\\fs20 "
        + body + "\\par\r\n}\r\n";
}

} // namespace corvane::testing
