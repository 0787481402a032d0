#pragma once
// The grid editor's commands on its grid (field 0 of its window): go to,
// find, sort, insert and delete rows, print. Rows and columns count from 0
// on entry; every status is 1 done, 0 not done.

#include <string>

namespace tk {

// Dialog templates of the commands.
inline constexpr int kGridFindDialog = 32106, kGridGotoCellDialog = 32107,
                     kGridGotoLineDialog = 32108, kGridSortDialog = 32109,
                     kGridPrintDialog = 32112, kGridHtmlDialog = 32114;

// mode 1 cell, 2 row, 3 column.
void GridEditorGoto(int window, int mode);
// mode 1 with the dialog, 2 repeat the last search.
void GridEditorFind(int window, int mode, int& matchCase, int& numeric, std::string& findText);
void GridEditorSort(int window, int rowLabelsMove, int& status);
// after 0: before the current row, 1 after it.
void GridEditorInsertRow(int window, int rowLabelsMove, int rowsFollow, int after);
void GridEditorDeleteRow(int window, int rowLabelsMove, int rowsFollow);
void GridEditorPrint(int window, int firstRow, int lastRow, int firstColumn, int lastColumn,
                     int& status);

// The settings the sort and HTML dialogs remember for the whole run.
struct GridEditorRemembered {
    int sortDescending = 0, sortMatchCase = 0;
    int htmlTableOnly = 0, htmlYesNo = 0, htmlCentred = 0, htmlColours = 1;
    std::string htmlTitle;
    int htmlBorder = 1;
};
GridEditorRemembered& gridEditorRemembered();

}  // namespace tk
