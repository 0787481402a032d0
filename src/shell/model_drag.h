#pragma once
// Dragging in the model section: a vertex or an edge with the left button, a
// whole body (or its rotation about the pivot) with the right button, a
// pivot, and a label or one of its handles. Every step is checked; a drag
// that ends with the model illegal is taken back to the last legal state,
// which an undo copy follows step by step.

namespace shell {

// At the press. `button` 1 left, 3 right.
void startVertexDrag(int button);
void startEdgeDrag();
void startPivotDrag(int body);
// After the left button has been held on a label.
void startLabelDrag();
// After the right button has been held on a vertex: the body move or the
// rotation begins.
void startHeldBodyDrag();

// One mouse move at (x, y) window units. Each answers whether it handled it.
bool stepVertexOrEdgeDrag(int x, int y);
bool stepPivotOrLabelDrag(int x, int y);
void stepBodyDrag(int x, int y);

// The release at (x, y) at `time` ms ends the drag that is on.
void endDrag(int x, int y, int time);

// Takes the drag under way back to where it began (Escape, or a press of
// the other button while one is held); answers whether one was under way.
bool cancelDrag();

// A pivot or label drag stops where it is (a dialog field changed under it).
void abandonItemDrag();

// Some drag of the model section or of a label is under way.
bool dragging();

// Where the time of the drag steps went since the last reset: the forward
// calculation and the drawing of the graphs (seconds).
struct DragStepTimes {
    double calculation = 0.0;
    double drawing = 0.0;
};
DragStepTimes& dragStepTimes();

// A label's text asked for again (a click or a short drag on it).
void editLabelText(int label);

}  // namespace shell
