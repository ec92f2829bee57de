#pragma once
// The reply editor with its formatting toolbar: the RichEdit, the toolbar's
// buttons and font boxes, the colour and placeholder menus, and the one
// adapter through which the library editing, the delivery routes and the
// formatting commands all reach the editor.
#include <windows.h>

#include <functional>
#include <memory>

#include "shell/MainLayout.h"
#include "shell/UnitIdleUpdate.h"
#include "win32/Handles.h"
#include "win32/RichEditControl.h"

namespace corvane {
class TEditorFormatting;
struct LayoutRect;
} // namespace corvane

namespace corvane::win32 {

class ChildFactory;
class FormattingToolbarControls;

class EditorPanel {
public:
    struct Events {
        // A format change is an edit of the reply like typing, which the
        // editor itself does not report.
        std::function<void()> formatChanged;
        // A font box took the focus: the pending edits of the reply are due.
        std::function<void()> boxEntered;
    };

    explicit EditorPanel(Events events);
    ~EditorPanel();
    EditorPanel(const EditorPanel&) = delete;
    EditorPanel& operator=(const EditorPanel&) = delete;

    void Create(const ChildFactory& children);
    void FillFontList();
    void Layout(const LayoutRect& toolbar, const LayoutRect& editor);
    // The toolbar is hidden while the window lays itself out anew, and then
    // sized to its buttons.
    void HideToolbar();
    void AutosizeToolbar();
    // The toolbar's pictures and box slots for a display of `dpi`.
    void ApplyDpi(int dpi);
    // The toolbar shows the format at the caret.
    void Refresh();

    void OnCommand(int controlId, int code);
    LRESULT OnNotify(const NMHDR& header);
    // True when `id` was one of the editor's commands (clipboard, undo,
    // select all, the placeholders), which has then run.
    bool RunCommand(int id);
    bool MeasureMenuItem(MEASUREITEMSTRUCT& item);
    bool DrawMenuItem(const DRAWITEMSTRUCT& item);

    void CollectIdleInput(HWND focus, TIdleInput& in) const;
    void ApplyCommandStates(const TCommandStates& states);

    RichEditControl& Control() { return *control_; }
    HWND Handle() const { return editor_; }

private:
    void CreateToolbar();
    void CreateFontBoxes(const ChildFactory& children);
    void BuildPlaceholderMenu();
    void SetSpaceBefore();
    void PlaceFontBoxes();
    void ShowColorMenu(int buttonId);
    void ShowPlaceholderMenu(int buttonId);
    POINT BelowToolButton(int buttonId) const;
    void InsertPlaceholder(int index);

    Events events_;
    HWND window_ = nullptr;
    LayoutMetrics metrics_ = MetricsAt(kBaseDpi); // the toolbar's boxes and pictures
    HWND toolbar_ = nullptr;
    HWND editor_ = nullptr;
    HWND fontName_ = nullptr, fontSize_ = nullptr, fontSizeArrows_ = nullptr;
    UniqueModule richEditLibrary_;
    UniqueImageList glyphs_;
    UniqueMenu colorMenu_;
    UniqueMenu placeholderMenu_; // PopupMenuPreDefParams
    std::unique_ptr<RichEditControl> control_;
    std::unique_ptr<FormattingToolbarControls> formattingToolbar_;
    std::unique_ptr<TEditorFormatting> formatting_;
};

} // namespace corvane::win32
