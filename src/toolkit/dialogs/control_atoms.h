#pragma once
// The class atoms of the controls the toolkit deals with, learnt once from
// probe windows, and the field procedures it puts on every dialog control.

#include "platform/win_types.h"
#include "platform/window/user_api.h"

namespace tk {

enum class ControlClass : int {
    Button,
    Static,
    Trackbar,
    TreeView,
    Tab,
    Dialog,
    ListBox,
    ComboBox,
    Progress,
    UpDown,
    Header,
    ScrollBar,
    Edit,
    NumericEdit,  // any of the six numeric edit classes
    Grid,
    Other,
};

struct ControlClassAtoms {
    win::ATOM button = 0, staticText = 0, trackbar = 0, treeView = 0, tab = 0;
    win::ATOM dialog = 0, listBox = 0, comboBox = 0, progress = 0, upDown = 0, header = 0,
              scrollBar = 0, edit = 0;
    win::WNDPROC buttonProcedure = nullptr, staticProcedure = nullptr, trackbarProcedure = nullptr,
                 treeViewProcedure = nullptr, tabProcedure = nullptr, editProcedure = nullptr;
    bool learnt = false;
    bool learntMore = false;
};

ControlClassAtoms& controlClassAtoms();
void ControlAtomsLearn();
void ControlAtomsLearnMore();
// Learns both sets when not yet done (the root window may not exist in
// every program that loads a dialog).
void ControlAtomsEnsure();

ControlClass controlClassOf(win::HWND h);
bool controlClassIs(win::HWND h, ControlClass c);
// Edit and the numeric edit classes.
bool isEditLike(win::HWND h);
// A SPIN-class numeric field (INTEGERSPIN, REALSPIN, DOUBLESPIN).
bool isSpinField(win::HWND h);
// The up-down control that is the partner of a spin field.
bool isUpDownPartner(win::HWND h);
// The numeric kind of a numeric edit class: 5 integer, 6 real, 7 double; 0 otherwise.
int numericFieldType(win::HWND h);

// Values shared by the field procedures.
struct FieldProcedureState {
    int trackbarAnchor = 0;
    int buttonRefocusEnabled = 1;
};
FieldProcedureState& fieldProcedureState();

// 3 right, 2 middle, 1 left, 0 move: the button of a mouse message.
int mouseButtonOf(win::UINT message);
// When set, a double-click on a dialog drawing field is event 116, else 104.
bool& doubleClickEventsEnabled();

win::LRESULT ButtonSubclassProcedure(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
win::LRESULT StaticSubclassProcedure(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
win::LRESULT EditSubclassProcedure(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
win::LRESULT TrackbarSubclassProcedure(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
win::LRESULT TabSubclassProcedure(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
win::LRESULT TreeViewSubclassProcedure(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
win::LRESULT FieldSubclassProcedure(win::HWND, win::UINT, win::WPARAM, win::LPARAM);

}  // namespace tk
