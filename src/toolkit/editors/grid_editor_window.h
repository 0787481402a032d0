#pragma once
// The stand-alone grid editor window: making it from a dialog's grid field,
// its window procedure, the modal loop, the title and the save question.

#include <string>

#include "toolkit/editors/grid_editor_record.h"

namespace tk {

// Statuses of GridEditorCreate.
inline constexpr int kGridEditorCreateRoot = 1, kGridEditorCreateModalMenu = 2,
                     kGridEditorCreateMenuFailed = 3, kGridEditorCreateChildMenu = 4,
                     kGridEditorCreateMadeModeless = 5, kGridEditorCreateNoMemory = 6,
                     kGridEditorCreateOtherKind = 8, kGridEditorCreateNoGrid = 11,
                     kGridEditorCreateHasChildren = 12;

struct GridEditorCreateArgs {
    int templateField = 0;
    int menuId = 0;
    int options = 0;
    int filterIndex = -1;
    int splitWindow = -1;
    std::string initialFile;
    std::string filter;  // '|'-separated pairs
};

// Makes the current window (a child window) a grid editor; status is preset
// by the caller; showType 1 modal, 2 modeless, 3 semi-modeless (in/out).
void GridEditorCreate(int& status, int& showType, const GridEditorCreateArgs& args);
// Runs the modal editor of the current window until it is closed.
void GridEditorModalLoop();
void GridEditorTitle(win::HWND frame);
// The grid's in-place editor when it is of an edit class, else null.
win::HWND GridEditorControlCheck(const struct GridRecord& grid);
// 1 go on (saved or not wanted), 0 cancelled.
void GridEditorSavePrompt(int window, int changed, int& status, int& filterIndex, int backup,
                          int labelsInFiles, std::string& fileName, const std::string& filter);
win::LRESULT GridEditorWindowProc(win::HWND frame, win::UINT msg, win::WPARAM wp, win::LPARAM lp);
// The save question of a grid editor pane when its split window closes.
bool gridEditorPaneCloseCheck(GridEditorRecord& record);

}  // namespace tk
