#pragma once
// The control identifiers the system's common dialogs give their controls.
// Hook procedures and custom templates address controls by these numbers, so
// our dialogs use them too.

namespace win {

// Push buttons.
constexpr int psh1 = 0x400, psh2 = 0x401, psh3 = 0x402, psh4 = 0x403, psh15 = 0x40e,
              pshHelp = psh15;
// Check boxes.
constexpr int chx1 = 0x410, chx2 = 0x411, chx3 = 0x412;
// Radio buttons.
constexpr int rad1 = 0x420, rad2 = 0x421, rad3 = 0x422, rad4 = 0x423;
// Group boxes and frames.
constexpr int grp1 = 0x430, grp2 = 0x431, grp3 = 0x432, grp4 = 0x433;
// Rectangles: the page set-up's sample page.
constexpr int rct1 = 0x438, rct2 = 0x439, rct3 = 0x43a;
// Static texts; stc32 marks where a custom file-dialog template wants the
// standard controls.
constexpr int stc1 = 0x440, stc2 = 0x441, stc3 = 0x442, stc4 = 0x443, stc5 = 0x444, stc6 = 0x445,
              stc15 = 0x44e, stc16 = 0x44f, stc17 = 0x450, stc18 = 0x451, stc32 = 0x45f;
// List boxes.
constexpr int lst1 = 0x460, lst2 = 0x461;
// Combo boxes.
constexpr int cmb1 = 0x470, cmb2 = 0x471, cmb3 = 0x472, cmb4 = 0x473, cmb13 = 0x47c;
// Edit fields.
constexpr int edt1 = 0x480, edt2 = 0x481, edt3 = 0x482, edt4 = 0x483, edt5 = 0x484, edt6 = 0x485,
              edt7 = 0x486;

// The colour dialog's own numbers.
constexpr int COLOR_RED = 0x2c2, COLOR_GREEN = 0x2c3, COLOR_BLUE = 0x2c4, COLOR_CURRENT = 0x2c5,
              COLOR_ADD = 0x2c8, COLOR_BOX1 = 0x2d0, COLOR_CUSTOM1 = 0x2d1;

// The folder browser's.
constexpr int IDD_TREEVIEW = 0x3741, IDD_TITLE = 0x3742, IDD_STATUS = 0x3743, IDD_FOLDER = 0x3744,
              IDD_FOLDERLABEL = 0x3745;

}  // namespace win
