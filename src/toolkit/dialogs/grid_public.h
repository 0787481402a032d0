#pragma once
// The public grid routines: rows in use, labels, the current cell, single
// cells and whole columns of every type, information. Columns and rows count
// from 1. Field 0 is the grid that fills the current toolkit window; any other
// field is a control of the current dialog. Failures are reported by number
// under the routine's own name; no routine returns a status.

#include <optional>
#include <span>
#include <string_view>

#include "toolkit/core/text_args.h"

namespace tk {

void GrdRows(int field, int rows);
void GrdLabelColumn(int field, int column, std::string_view label);
void GrdSetCell(int field, int column, int row, std::optional<int> caretPosition = std::nullopt);
void GrdClearCell(int field, int column, int row);

void GrdPutCellInteger(int field, int column, int row, int value);
void GrdPutCellReal(int field, int column, int row, float value, std::string_view format = {});
void GrdPutCellDouble(int field, int column, int row, double value, std::string_view format = {});
void GrdPutCellCheckBox(int field, int column, int row, int state);
void GrdPutCellOption(int field, int column, int row, int option);

void GrdGetCellString(int field, int column, int row, TextOut text);
void GrdGetCellInteger(int field, int column, int row, int& value);
void GrdGetCellReal(int field, int column, int row, float& value);
void GrdGetCellDouble(int field, int column, int row, double& value);
void GrdGetCellCheckBox(int field, int column, int row, int& state);
void GrdGetCellMenu(int field, int column, int row, int& option);

// Values v(1..n) into rows 1..n; the rest of the column is emptied. n is cut
// to the values given.
void GrdPutInteger(int field, int column, std::span<const int> values, int n);
void GrdPutReal(int field, int column, std::span<const float> values, int n,
                std::string_view format = {});
void GrdPutCheckBox(int field, int column, std::span<const int> states, int n);
void GrdPutOption(int field, int column, std::span<const int> options, int n);
void GrdPutMenu(int field, int column, std::span<const std::string_view> texts, int count,
                std::span<const int> options, int n);

// n is cut to the rows in use (and to the room given) and written back.
void GridColumnGetReal(int field, int column, std::span<float> values, int& n);
void GridColumnGetCheckBox(int field, int column, std::span<int> states, int& n);
void GridColumnGetMenu(int field, int column, std::span<int> options, int& n);

int GridInfo(int field, int item);
int InfoGridCell(int field, int column, int row, int item);
void GridCellRefSplit(int reference, int& column, int& row);

}  // namespace tk
