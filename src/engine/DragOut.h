#pragma once
// A reply dragged from the tree out of the main window: which cursor the
// drag shows and when the pointer is set back onto the window's border.
namespace corvane {

// The main window's bounds in screen coordinates.
struct TFormBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// True strictly inside the window's border line.
[[nodiscard]] bool PointInsideForm(const TFormBounds& form, int x, int y);

// One mouse move of the drag, in screen coordinates: where the move was
// reported and where the pointer stands now.
struct TDragMouse {
    int x = 0;
    int y = 0;
    int pointerX = 0;
    int pointerY = 0;
    TFormBounds form;
};

// What the window does for one move.
struct TDragStep {
    bool replyDropCursor = false; // the program's drop cursor instead of the drag's own
    bool snap = false; // the pointer is moved to (snapX, snapY)
    int snapX = 0;
    int snapY = 0;
};

class TDragOut {
public:
    // `reply`: the dragged node is a reply; a folder never shows the drop cursor.
    void Start(bool reply);
    [[nodiscard]] TDragStep Move(const TDragMouse& move);
    // The drag's cursor is the window's again, and the next exit snaps again.
    void End();

    [[nodiscard]] bool Dragging() const { return dragging_; }
    [[nodiscard]] bool PointerInsideForm() const { return pointerInsideForm_; }

private:
    bool dragging_ = false;
    bool reply_ = false;
    bool pointerInsideForm_ = false;
    bool outsideCursorShown_ = false;
    bool borderSnapPending_ = true;
};

} // namespace corvane
