#pragma once
// What the mouse handlers remember between events (beside the anchor, box
// corner, rubber end and pop-up body of ShellSession): the cursor and the
// press of the gesture under way, what the hover tests found under the cursor, the
// targets of the pop-up menus, the drag in progress with its undo copy, and
// the options and operands of the click modes (digitising, splitting,
// locking). One of each for the whole run, all zero at start-up.

#include <array>

#include "model/polygon_model.h"
#include "util/axis_record.h"
#include "views/hit_data_graph.h"
#include "views/hit_label.h"
#include "views/hit_model_section.h"
#include "views/rubber_band.h"

namespace shell {

inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 3;
// A press held this long (ms) turns into a drag with feedback; a release
// sooner than kClickTime after the press is a click.
inline constexpr int kHoldTime = 200;
inline constexpr int kClickTime = 300;
// Both sides of a zoom or selection box must be longer than this (window units).
inline constexpr int kMinimumBox = 50;

struct PointerState {
    // Cursor and press.
    int CursorX = 0, CursorY = 0;
    // The working profile's graph under the cursor (one of its axis records),
    // null when the cursor is in no graph.
    util::AxisRecord* CursorAxis = nullptr;
    int PressTime = 0;
    int PressButton = 0;  // 0 none, 1 left, 3 right
    int PressWindow = 0;
    int PressBody = 0;
    bool PressOnVertex = false;
    bool PressVertexLocal = false;
    int PressEdgeBody = 0, PressEdgeVertex = 0;
    int PressLabel = 0;
    bool PressLabelArrow = false;
    int PressLabelPart = 0;
    bool SingleVertex = false;
    // The gesture was taken back while a button was held: the releases that
    // follow, up to the next press, do nothing.
    bool GestureCancelled = false;

    // Hit results of the hover tests.
    views::ModelHits model;
    views::LabelHits label;
    int HighlightedLabel = 0;
    util::AxisRecord HighlightedLabelAxis{};
    int HitDataPoint = 0;
    views::DataGraphHoverState dataHover;

    // Targets of the pop-up menus.
    // The body of a pop-up is the session's PopupBody.
    int PopupVertex = 0, PopupEdgeVertex = 0;
    float PopupX = 0, PopupZ = 0;
    float InsertX = 0, InsertZ = 0;
    std::array<float, 4> SelectionBox{};  // xmin, xmax, zmin, zmax
    int PopupLabel = 0, PopupPoint = 0;
    // Where the pop-up opened, the property there and which menu it was.
    int PopupCursorX = 0, PopupCursorY = 0;
    float PopupProperty = 0.0f;
    int PopupMenu = 0;

    // The drag in progress (the vertex, edge, body and pivot flags are the
    // views' words, which the section drawing reads).
    bool DragLabel = false, RotateBody = false;
    int DragVertexIndex = 0, DragBodyIndex = 0, DragEdgeStart = 0, DragEdgeEnd = 0;
    bool DragHasLocks = false;
    bool LabelMovesWithArrow = false;
    model::PolygonModel DragUndoModel;
};

// Digitising, splitting and locking.
struct EditState {
    bool DigitisingLayer = false;
    bool SnapToNearest = false, LockToNearest = false;
    bool NewVertexFreeX = false, NewVertexFreeZ = false;
    float NewBodyProperty = 0.0f;
    int SnapLockChoice = 1;
    bool InsertionDialogShown = false;
    bool FollowersDialogShown = false;
    int SplitBody = 0, SplitFirstVertex = 0;
    // Lock modes.
    int LockLeader = 0;
    int LockFollower = 0;  // the vertex waiting for its leader
    float LockFollowerX = 0, LockFollowerZ = 0;
    int PairFollower = 0;
    bool PairExpectFollower = true;
    bool PairRubberLine = false;
    // Which of the modeless dialogs (leader, followers, pairs, insertion,
    // split) are loaded.
    std::array<bool, 5> LoadedDialogs{};
    // The polyline traced on the map.
    views::NewLineBuffer NewLine;
};

PointerState& pointerState();
// The vertex the hover test found is one of `model` (a command since may
// have taken vertices or bodies away under a cursor that has not moved).
bool hitVertexInModel(const model::PolygonModel& model);
EditState& editState();
void resetPointerState();

}  // namespace shell
