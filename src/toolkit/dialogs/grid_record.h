#pragma once
// The grid control's records: a fixed set of typed columns over a fixed
// number of allocated rows, of which the first ones are in use. Cell values
// live in per-column arrays owned by the grid, never in windows. Rows and
// columns are counted from 0 inside the grid; the public routines count
// from 1.
//
// A grid is found by its field identifier through one lookup (field id in the
// current dialog, 0 = the grid that fills the current toolkit window). The
// dialog manager and the window table bind that lookup; until they do, grids
// are found through the registrations made with gridLookupRegister.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"
#include "toolkit/dialogs/dialog_table.h"

namespace tk {

// Style bits of the grid window (low word).
inline constexpr int GRS_COLOURLOCKED = 0x10;
inline constexpr int GRS_SELECTEVENTS = 0x20;
inline constexpr int GRS_CHANGEEVENTS = 0x40;
inline constexpr int GRS_NOROWLABELTEXT = 0x80;
inline constexpr int GRS_KEEPHEIGHT = 0x100;
inline constexpr int GRS_HEADER = 0x200;
inline constexpr int GRS_ROWLABELS = 0x400;
inline constexpr int GRS_READONLY = 0x800;
inline constexpr int GRS_ENTERDOWN = 0x1000;
inline constexpr int GRS_RESIZECOLUMNS = 0x2000;
inline constexpr int GRS_TABCELLS = 0x4000;
inline constexpr int GRS_WRAP = 0x8000;

enum ColumnKind : int {
    KindText = 0,
    KindInteger = 1,
    KindReal = 2,
    KindDouble = 3,
    KindCheckBox = 4,
    KindMenu = 5
};

// The public type codes of a column.
enum CellTypeCode : int {
    CellText = 4,
    CellInteger = 5,
    CellReal = 6,
    CellDouble = 7,
    CellCheckBox = 9,
    CellMenu = 11
};
int cellTypeOfKind(int kind);

// Per-cell flag bits.
inline constexpr std::uint8_t CellLocked = 1;
inline constexpr std::uint8_t CellHasValue = 2;
inline constexpr std::uint8_t CellEntered = 4;

// Packed cell reference: (column << 18) | row, both counted from 1.
inline constexpr int GridCellRef(int column1, int row1) {
    return (column1 << 18) | row1;
}

// Results written into the field argument by the internal operations.
inline constexpr int kNotAGrid = -1;
inline constexpr int kBadIndex = -2;
inline constexpr int kNoValue = -3;

// What the column's template control carries: range, steps, length, format,
// colours and, for menus, the options. A range is set when minimum <= maximum.
struct GridColumnSettings {
    std::string className;  // EDIT, INTEGEREDIT, REALSPIN, BUTTON, COMBOBOX ...
    double minimum = 1000.0;
    double maximum = -1000.0;
    double smallStep = 0.0;
    double largeStep = 0.0;
    int spinBase = 0;
    int maxLength = 0;
    std::string format;   // empty: none
    int textColour = -1;  // packed RGB, -1 default
    int backgroundColour = -1;
    int alignment = 0;      // 0 left, 1 centred, 2 right (edit styles)
    bool readOnly = false;  // the template control is read-only
    bool hasSpinBuddy = false;
    std::string label;                 // the template's text: the column's heading
    std::vector<std::string> options;  // menu columns
    int selectedOption = -1;           // the template combo's selection
};

// Optional colours of one cell.
struct GridCellColour {
    std::uint8_t set = 0;  // bit 0 foreground, bit 1 background
    std::uint8_t fg[3] = {0, 0, 0};
    std::uint8_t bg[3] = {0, 0, 0};
};

struct GridColumnRecord {
    int width = 0;
    int kind = KindText;
    int textLength = 0;
    std::vector<std::string> texts;      // text columns
    std::vector<std::int32_t> integers;  // integer, check-box and menu columns
    std::vector<float> reals;
    std::vector<double> doubles;
    std::vector<std::uint8_t> flags;
    std::vector<GridCellColour> colours;  // empty until a cell colour is set
    GridColumnSettings settings;
    win::HWND control = nullptr;  // the hidden column control, when windows exist
};

// The in-place editor over the current cell, as the storage sees it: the
// window side implements it over the real control.
class GridCellEditor {
  public:
    virtual ~GridCellEditor() = default;
    virtual std::string text() const = 0;
    virtual void setText(std::string_view text) = 0;
    virtual bool modified() const = 0;
    virtual void setModified(bool modified) = 0;
    virtual double value() const = 0;
    virtual void setValue(double value) = 0;
    virtual int valueSet() const = 0;
    virtual void setValueSet(int valueSet) = 0;
    virtual int checkState() const = 0;
    virtual void setCheckState(int state) = 0;
    virtual int selection() const = 0;  // -1 none
    virtual void setSelection(int index) = 0;
    virtual void clearOptions() = 0;
    virtual void addOption(std::string_view text) = 0;
    // -2 leaves a colour unchanged, -1 is the default colour.
    virtual void setColours(int textColour, int backgroundColour) = 0;
    virtual void setReadOnly(bool readOnly, bool repaintNow) = 0;
    // The editor's window, when it is one.
    virtual win::HWND window() const { return nullptr; }
    // The editor's window is destroyed with the grid: it must not be
    // destroyed on its own.
    virtual void windowGoesWithGrid() {}
    // Range or steps of the column changed.
    virtual void settingsChanged(const GridColumnSettings&) {}
    // True while setText fills the editor: the change is the grid's own,
    // not the user's typing.
    virtual bool filling() const { return false; }
};

struct GridRecord {
    int columnsDefined = 0;
    int columnCount = 0;
    int lastFirstColumn = 0;
    int rowCapacity = 0;
    int definedColumnCount = 0;
    int rowCount = 0;
    int visibleRows = 0;
    int rowLabelCount = 0;
    int drawnRows = 0;
    int rowHeight = 0;
    int currentColumn = 0;
    int currentRow = 0;
    int firstColumn = 0;
    int lastColumn = 0;
    int firstRow = 0;
    int rowLabelWidth = 0;
    int headerHeight = 0;
    int templateDialogId = 0;
    int selFirstRow = -1, selLastRow = -1, selFirstColumn = -1, selLastColumn = -1;
    int anchorColumn = -1, anchorRow = -1;
    int scrollScale = 1;
    int pendingThumbRow = 0;
    int wheelDelta = 0;
    int createClientHeight = 0;
    int frameHeight = 0;
    std::vector<GridColumnRecord> columns;
    int changedFlagA = 0;
    int changedFlagB = 0;
    int displayOnly = 0;

    int style = 0;     // the grid window's style (GRS_* in the low word)
    int fieldId = 0;   // control id of the grid
    int dialogId = 0;  // identifier of the dialog holding the grid (0 none)
    bool enabled = true;
    // Texts of the header items (0 = the corner above the row labels) and of
    // the rows, kept while the grid has a header or row labels.
    std::vector<std::string> headerLabels;
    std::vector<std::string> rowLabels;
    // The grid's own colours (its dialog field record), -1 default.
    int textColour = -1;
    int backgroundColour = -1;

    std::unique_ptr<GridCellEditor> editor;
    // Windows, when the grid is a window; null for a grid without windows.
    win::HWND window = nullptr;
    win::HWND cellArea = nullptr;
    win::HWND header = nullptr;
    std::vector<win::HWND> rowLabelControls;
    win::HWND menuTarget = nullptr;
    win::HWND droppedCombo = nullptr;
    win::HFONT font = nullptr;
    int lastCellRef = 0x40001;  // the grid window's own last-cell reference

    bool hasHeader() const { return (style & GRS_HEADER) != 0; }
    bool hasRowLabels() const { return (style & GRS_ROWLABELS) != 0; }
    bool readOnly() const { return (style & GRS_READONLY) != 0; }
    bool hasSelection() const { return selFirstRow >= 0; }
    bool isCurrent(int column, int row) const {
        return column == currentColumn && row == currentRow;
    }
    GridCellEditor* editorAt(int column, int row) const {
        return editor && isCurrent(column, row) ? editor.get() : nullptr;
    }
};

// One column as a template describes it; GridDefineColumns builds the column
// records from these.
struct GridColumnSpec {
    int kind = KindText;
    int width = 60;
    GridColumnSettings settings;
};

// Allocates the columns (zero-filled storage for rowCapacity rows), the
// header labels (from the settings' labels) and the row labels. Read-only
// template controls lock every cell of their column.
void GridDefineColumns(GridRecord& grid, const std::vector<GridColumnSpec>& specs, int rowCapacity);

// The field lookup: the grid of a field id, or null when there is none.
using GridLookup = std::function<GridRecord*(int field)>;
void setGridLookup(GridLookup lookup);
GridRecord* gridOfField(int field);
// Without a bound lookup: grids registered per (current dialog, field id).
void gridLookupRegister(int dialogId, int field, GridRecord* grid);
void gridLookupUnregister(GridRecord* grid);
void gridLookupReset();

// The grid of the field, or null with field := -1.
GridRecord* gridFind(int& field);

// Information items (1-13, 101, 102); other items leave value unchanged.
void GridInfoQuery(int& field, int item, int& value);
// One information item of a field known to be a grid.
int gridInfoItem(int field, int item);
// The checks of the public grid routines: error 1005 for a field given
// without a dialog, 1006 for a field that is no grid; named by the routine.
bool gridFieldChecked(int field, std::string_view routine);
void GridColumnType(int& field, int column, int& type);
void GridTextColumnWidth(int& field, int column, int& length);

// The two change flags of the toolkit's stand-alone grid editor window.
struct GridEditorWindowFlags {
    int changedA = 0;
    int changedB = 0;
    // What the last modal grid editor left: find text, replace text, file.
    std::string findText;
    std::string replaceText;
    std::string fileName;
};
GridEditorWindowFlags& gridEditorWindowFlags();
// The texts a grid editor window keeps (item 1 find text, 2 replace text,
// 3 file name); bound by the editors. False when the slot holds none.
using GridEditorTextSource = std::function<bool(int slot, int item, std::string& text)>;
GridEditorTextSource& gridEditorTextSource();
// Slot -1: the texts the last modal grid editor left; else the texts of the
// grid editor in that window slot. The text is cut to the maximum.
void GridEditorText(int slot, int item, std::string& text, int maximum);

}  // namespace tk
