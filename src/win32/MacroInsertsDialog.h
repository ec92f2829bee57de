#pragma once
// TFormMacroInserts: one edit box per macro parameter, pre-filled with its
// name; Accept or Enter accepts, Escape or the close box cancels.
#include <windows.h>

#include <string>
#include <vector>

#include "engine/MacroInsertions.h"
#include "win32/ModalDialog.h"

namespace corvane {
class IRegistry;
}

namespace corvane::win32 {

class TFormMacroInserts final : public ModalDialog {
public:
    explicit TFormMacroInserts(IRegistry& registry) : registry_(registry) { }

    // Builds the rows of `parameterList`, shows the dialog modally at the
    // place the route asks for; true when accepted.
    [[nodiscard]] bool Ask(HWND owner, const std::string& parameterList, const TDialogPlace& place);
    // The rows' texts joined by the character 1, after Accept.
    const std::string& Values() const { return values_; }
    bool Visible() const { return Dialog() != nullptr; }
    // Closes a running dialog as cancelled (its target went away).
    void Cancel();

private:
    TRect StartRect(const IMonitors& monitors, const TFrameStyle& style) const override;
    // Where the route's place is on the desktop: a place in the middle of the
    // screen is the middle of the monitor the user types on.
    TPlacement Placement() const;
    void OnStart() override;
    void OnCommand(int id, int notification) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void Relayout();
    void ScrollRowsTo(int position);
    void ScrollRowsBy(int delta) { ScrollRowsTo(scroll_ + delta); }
    void SaveSize();
    static LRESULT CALLBACK RowEditProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
    static LRESULT CALLBACK ScrollBoxProc(
        HWND box, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);

    IRegistry& registry_;
    std::vector<std::string> names_;
    HWND scrollBox_ = nullptr; // holds the rows; scrolls when they do not fit
    std::vector<HWND> rows_;
    int scroll_ = 0; // the rows' pixel row at the scroll box's top
    HWND accept_ = nullptr;
    HWND checkShow_ = nullptr;
    TDialogPlace place_;
    std::string values_;
    TSelectOnFirstClick selectRule_;
    bool started_ = false;
};

} // namespace corvane::win32
