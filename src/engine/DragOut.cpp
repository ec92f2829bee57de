#include "engine/DragOut.h"

namespace corvane {

bool PointInsideForm(const TFormBounds& form, int x, int y)
{
    return form.left + 1 < x && x < form.left + form.width - 1 && form.top + 1 < y && y < form.top + form.height - 1;
}

void TDragOut::Start(bool reply)
{
    dragging_ = true;
    reply_ = reply;
}

void TDragOut::End()
{
    dragging_ = false;
    outsideCursorShown_ = false;
    borderSnapPending_ = true;
}

TDragStep TDragOut::Move(const TDragMouse& move)
{
    const TFormBounds& f = move.form;
    pointerInsideForm_ = PointInsideForm(f, move.x, move.y);
    if (dragging_ && !pointerInsideForm_) {
        outsideCursorShown_ = true;
    } else if (outsideCursorShown_) {
        outsideCursorShown_ = false;
        borderSnapPending_ = true;
    }
    TDragStep step;
    step.replyDropCursor = outsideCursorShown_ && reply_;
    if (!outsideCursorShown_ || !borderSnapPending_)
        return step;
    // Once per exit from the window the pointer is set back onto its border line.
    step.snapX = move.pointerX;
    step.snapY = move.pointerY;
    step.snap = true;
    if (move.x < f.left + 2)
        step.snapX = f.left + 1;
    else if (move.x > f.left + f.width - 2)
        step.snapX = f.left + f.width - 1;
    else if (move.y < f.top + 2)
        step.snapY = f.top + 1;
    else if (move.y > f.top + f.height - 2)
        step.snapY = f.top + f.height - 1;
    else
        step.snap = false;
    borderSnapPending_ = false;
    return step;
}

} // namespace corvane
