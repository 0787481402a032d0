#pragma once
// Fields holding more than one value: list and combo boxes filled with
// options ("menus"), tab fields whose pages are dialogs, trackbars, tree
// views, progress bars and pictures; plus the geometry and type queries on
// fields. All act on the current dialog.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"

namespace tk {

// Public routines.
void DlgPutMenu(int field, std::span<const std::string> options, int count, int selected,
                std::optional<std::string_view> text = {});
// `text` receives the selected option's text (blank-padded) when given.
void DlgGetMenu(int field, int& selected, std::span<char> text = {});
void DlgPutOption(int field, int option);
void DlgPutProgressBar(int field, int value, std::optional<int> mode = {});

// Internal operations (a missing field answers -1 in `field`, -2 when the
// item is not found, -3 as noted).
int DialogFieldInfo(int field, int item);
void FieldRectangle(int& field, int& x, int& y, int& width, int& height, bool clientMode);
// 1 single list, 4 multi-selection list, 2 drop-down list, 3 combo with edit; -1 otherwise.
int ListFieldKind(win::HWND control);
void ListAddItem(int kind, win::HWND control, std::string_view text);
bool ListSelectItem(int kind, win::HWND control, int index);
void ComboTextPut(win::HWND control, std::string_view text);
// Index + 1 of the selection and its text; -1 when none.
int ListSelectionGet(win::HWND control, std::string& text);
// Index + 1, 0 for a typed text that is no option, -1 when empty and none.
int ComboSelectionGet(win::HWND control, std::string& text);

void TabSelectPage(int& field, int& pageId);
void TabPageEnable(int& field, int pageId, int state);
void TabSelectedPage(int& field, int& pageId);

void TrackbarPut(int& field, int position, int selectionStart, int selectionEnd, int mode);
void TrackbarGetValues(int& field, int& position, int& selectionStart, int& selectionEnd);
void TrackbarRangeSet(int& field, int minimum, int maximum, int tickFrequency);
void TrackbarPageLine(int& field, int lineSize, int pageSize);
void TrackbarNoSelection(int value);
void TrackbarRangeGet(win::HWND control, int& minimum, int& maximum);

void ProgressRangeSet(int& field, int low, int high);

void TreeFillFromMenu(win::HWND tree, int menuId, int selectedId);
void TreeCopyItems(win::HWND toTree, void* parent, win::HWND fromTree, void* firstItem);
void TreeSelectItem(int& field, int id);
void TreeSelectedItem(int& field, int& id, bool wantText, std::string& text);
void TreeDeleteItem(int& field, int id);
void TreeInsertItem(int& field, int referenceId, int position, int newId, std::string_view text);
void TreeBranchState(int& field, int id, int& state);
void TreeExpand(int& field, int id, int mode);
void TreeItemSetText(int& field, int id, std::string_view text);
void TreeUniqueIds(bool on);

int ListBoxCount(int& field);
void ListBoxSelectedGet(int& field, int index, int& state);
void ListBoxSelectedPut(int& field, int index, int state);
void ListBoxRangeSelect(int& field, int first, int last, int state);

void FieldSetTabStops(int& field, std::span<const int> stops);
// kind 1 bitmap resource, 2 icon resource (0 = "ICON1"), 5 metafile resource.
void FieldPutImage(int& field, int image, int kind);
void SpinStepSet(int& field, double small, double large, int base);
void DialogUnitSize(int& width, int& height);
void DialogResizeClient(int width, int height, int& result);

// The image a static or button field shows and how to free it
// (1 bitmap, 2 icon, 3 enhanced metafile, 0 none).
win::HANDLE FieldImageOf(win::HWND control);
int FieldImageKind(win::HWND control);
void FieldImageDestroy(win::HANDLE image, int kind);
void FieldPutMetafileResource(win::HWND control, int id);

}  // namespace tk
