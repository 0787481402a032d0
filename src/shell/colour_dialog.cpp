#include "shell/colour_dialog.h"

#include <array>
#include <string>
#include <vector>

#include "files/view_settings.h"
#include "shell/editor_memory.h"
#include "shell/resources/resource_ids.h"
#include "toolkit/dialogs/field_lists.h"
#include "toolkit/dialogs/grid_public.h"

namespace shell {

namespace {

constexpr int kBodyColours = 10;

struct ColourList {
    int field;
    int files::PlotColours::*setting;
};

constexpr std::array<ColourList, 12> kLists = {{
    {IDC_COLOURAXES, &files::PlotColours::K_GRID},
    {IDC_COLOURDATA, &files::PlotColours::K_DATA},
    {IDC_COLOURSYNTHETIC, &files::PlotColours::K_SYNT},
    {IDC_COLOURLOCKS, &files::PlotColours::K_LOCK},
    {IDC_COLOURPROFILES, &files::PlotColours::K_PLIN},
    {IDC_COLOURPOINTS, &files::PlotColours::K_PNTS},
    {IDC_COLOURTOPOGRAPHY, &files::PlotColours::K_ELEV},
    {IDC_COLOURLABELS, &files::PlotColours::K_LABL},
    {IDC_COLOURBADBODIES, &files::PlotColours::K_BADB},
    {IDC_COLOURFREE, &files::PlotColours::K_FREE},
    {IDC_COLOURSELECTED, &files::PlotColours::K_SELP},
    {IDC_COLOURREGIONAL, &files::PlotColours::K_REG},
}};

// The entry of a colour number: colour c is entry c + 1.
int entryOf(int colour) {
    return colour >= 0 && colour < static_cast<int>(files::ColourNames.size()) ? colour + 1 : 1;
}

void fill(const files::PlotColours& c) {
    const std::vector<std::string> names(files::ColourNames.begin(), files::ColourNames.end());
    const int count = static_cast<int>(names.size());
    for (const ColourList& l : kLists)
        tk::DlgPutMenu(l.field, names, count, entryOf(c.*l.setting));
    std::vector<int> selected;
    for (int colour : c.K_BODY)
        selected.push_back(entryOf(colour));
    tk::GrdPutMenu(IDC_COLOURBODIES, 1, files::ColourNames, count, selected, kBodyColours);
}

void store(files::PlotColours& c) {
    for (const ColourList& l : kLists) {
        int entry = 1;
        tk::DlgGetMenu(l.field, entry);
        c.*l.setting = entry - 1;
    }
    std::vector<int> entries(kBodyColours, 1);
    int n = kBodyColours;
    tk::GridColumnGetMenu(IDC_COLOURBODIES, 1, entries, n);
    for (int i = 0; i < n; ++i)
        c.K_BODY[static_cast<std::size_t>(i)] = entries[static_cast<std::size_t>(i)] - 1;
}

}  // namespace

void COLORDLG(int& status) {
    files::PlotColours& colours = files::viewSettings();
    loadDialog(IDD_PLOTCOLORS);
    fill(colours);
    if (showModal(editorMemory().colours) != kOkButton) {
        status = -1;
        return;
    }
    store(colours);
    status = 0;
}

}  // namespace shell
