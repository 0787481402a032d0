#pragma once
// The data graph while the model is dragged: its fill and the observed values
// are the same at every move, so a copy of that part of the picture is kept
// (readied at the press) and the moves put the copy back instead of drawing
// thousands of markers again; the markers at the border of the copy, which
// reach the window's pixels around it, are laid on those pixels from stamps
// kept with the copy. Only the synthetics and what lies over them are drawn
// at each move; the picture is the same to the pixel as drawing it all.

#include <functional>
#include <span>

#include "model/polygon_model.h"
#include "model/profile_line.h"
#include "util/axis_record.h"

namespace views {

// A drag begins (the next drawing is in full and keeps the copies) or ends
// (the copies are let go).
void beginDragPicture();
void endDragPicture();
// The press readies the copies, so that the first move costs no more than
// the others: `drawMove` draws the current output window's graphs as a move
// would, keeping the copies as it goes, and the window then shows again
// what it showed before: the press changes nothing on the screen. When the
// window cannot be kept nothing is drawn (the first move keeps the copies).
void readyDragPicture(const std::function<void()>& drawMove);
// The copy is let go but the drag goes on: the next move draws in full.
void forgetDragPicture();
// A copy is kept for the moves to come.
bool dragPictureKept();
// The markers that reach beyond the copy are put back from stamps of what
// they draw around it.
bool dragPictureStamped();

// The observed values of one panel, after its fill: drawn, or put back from
// the copy when nothing they depend on has changed. `masked` flags the
// stations whose datum is masked.
void drawObservedValues(const model::ProfileLine& profile, std::span<const float> stations,
                        std::span<const float> data, std::span<const bool> masked,
                        util::AxisRecord& axis, float fillX1, float fillY1, float fillX2,
                        float fillY2);

// The model section while a body is dragged: its fill, the topography and
// the bodies drawn before the dragged one stay as they were, so a copy of
// them is kept (readied at the press) and the moves put the copy back and
// draw only the dragged body and what lies over it, as long as the dragged
// body stays inside the copy (around it the fill, drawn at every move, takes
// the lines of earlier moves away).
//
// Whether a copy is kept for the section as `axis` (the graph's record as
// the drawing begins), the model and the dragged body `selected` make it.
bool sectionUnderKept(const util::AxisRecord& axis, const model::PolygonModel& model,
                      int selected);
// Puts the copy back when the dragged body, drawn on `drawing` (the graph's
// record with the drag's clip limits, the plotter's origin at its origin),
// stays inside it; false when the section is to be drawn in full.
bool putBackSectionUnder(const model::PolygonModel& model, int selected,
                         const util::AxisRecord& drawing);
// The fill (x1, y1 to x2, y2 plot units), the topography and the bodies
// before `selected` are drawn on `drawing`: keeps them for the moves to come.
void keepSectionUnder(const util::AxisRecord& axis, const model::PolygonModel& model,
                      int selected, const util::AxisRecord& drawing, float fillX1, float fillY1,
                      float fillX2, float fillY2);
// The section was drawn in full: the copy is let go.
void forgetDragSection();
// A copy of the section below the dragged body is kept.
bool dragSectionKept();

}  // namespace views
