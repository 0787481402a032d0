#pragma once
// The grid editor's file commands: comma-separated text (save, save of a
// block, load) and HTML. Rows and columns count from 0; -1 = all cells.

#include <string>

namespace tk {

void GridEditorSaveCsv(int window, int saveAs, int& status, int& filterIndex, int backup,
                       int labelsInFiles, int firstRow, int lastRow, int firstColumn,
                       int lastColumn, std::string& fileName, const std::string& filter);
void GridEditorLoadCsv(int window, int ask, int rowsFollow, int& status, int& filterIndex,
                       int labelsInFiles, std::string& fileName, const std::string& filter);
// firstRow -1: no block is selected.
void GridEditorSaveHtml(int window, int firstRow, int lastRow, int firstColumn, int lastColumn,
                        int& status, int backup, const std::string& fileName);

}  // namespace tk
