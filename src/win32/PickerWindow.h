#pragma once
// TFormReplyPicker: a search box, the list of matching replies below it and
// a read-only preview of the selected one. Typing refilters, the arrow and
// page keys move, Enter or a double click chooses; Escape or leaving the
// window closes it with nothing chosen.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>

#include "engine/Delivery.h"
#include "engine/ReplyPicker.h"
#include "win32/ModalDialog.h"
#include "win32/RichEditControl.h"

namespace corvane::win32 {

class TFormReplyPicker final : public ModalDialog {
public:
    // Asked while the picker waits for its search; nothing until it is ready.
    using SearchWhenReady = std::function<std::optional<TReplySearch>()>;

    // Shows the picker near the caret of `target` (centred on its monitor
    // when the caret is unknown) until it is closed. A picker still waiting
    // for its search says so in its list and gets it from `whenReady`.
    [[nodiscard]] TPicked Pick(HWND owner, HWND target, TReplyPicker& picker, SearchWhenReady whenReady = {});
    bool Visible() const { return Dialog() != nullptr; }

private:
    void OnStart() override;
    void OnCommand(int id, int notification) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    TRect StartRect(const IMonitors& monitors, const TFrameStyle& style) const override;
    void CreateColumns();
    // The list and the preview shown again from the picker's rows and selection.
    void ShowRows();
    void ShowSelection();
    void TakeSearchWhenReady();
    void Choose();
    LRESULT ListDrawing(NMLVCUSTOMDRAW& draw) const;
    static LRESULT CALLBACK SearchBoxProc(
        HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);

    TReplyPicker* picker_ = nullptr;
    SearchWhenReady whenReady_;
    HWND target_ = nullptr;
    HWND searchBox_ = nullptr;
    HWND list_ = nullptr;
    std::optional<RichEditControl> preview_;
    const TSearchEntry* chosen_ = nullptr;
    std::string cellText_; // the text a list cell asked for, alive until the next request
    bool started_ = false;
    bool ended_ = false; // the end is asked for once: ending deactivates the window
    bool left_ = false; // closed because another window was activated
};

} // namespace corvane::win32
