// Loading the current cell into its editor and storing the editor back.

#include "toolkit/dialogs/grid_editor.h"

#include <cmath>

#include "toolkit/core/text_args.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/value_text.h"

namespace tk {

void GridLoadEditorValue(GridRecord& g) {
    GridCellEditor* e = g.editor.get();
    if (!e) return;
    GridColumnRecord& c = gridColumn(g, g.currentColumn);
    const std::size_t r = rowIndex(g.currentRow);
    if (!c.colours.empty()) {
        const GridCellColour& k = c.colours[r];
        int fg = (k.set & 1) ? k.fg[0] + 256 * k.fg[1] + 65536 * k.fg[2] : -1;
        int bg = (k.set & 2) ? k.bg[0] + 256 * k.bg[1] + 65536 * k.bg[2] : -1;
        e->setColours(fg, bg);
    }
    const bool has = (c.flags[r] & CellHasValue) != 0;
    switch (c.kind) {
        case KindText:
            e->setText(c.texts[r]);
            break;
        case KindInteger:
        case KindReal:
        case KindDouble: {
            double v = c.kind == KindInteger ? c.integers[r]
                       : c.kind == KindReal  ? c.reals[r]
                                             : c.doubles[r];
            e->setText(has ? gridFormatNumber(c, v) : std::string());
            e->setValue(has ? v : 0.0);
            break;
        }
        case KindCheckBox:
            e->setText(std::string(31, ' '));
            e->setCheckState(c.integers[r]);
            break;
        default:
            e->clearOptions();
            for (const std::string& o : c.settings.options)
                e->addOption(o);
            e->setSelection(c.integers[r]);
            break;
    }
    if (c.kind <= KindDouble) e->setModified(false);
    e->setValueSet((c.flags[r] & CellEntered) ? 1 : 0);
    e->setReadOnly((c.flags[r] & CellLocked) != 0 || g.readOnly(), false);
}

void GridStoreEditorValue(GridRecord& g) {
    GridCellEditor* e = g.editor.get();
    if (!e) return;
    GridColumnRecord& c = gridColumn(g, g.currentColumn);
    const std::size_t r = rowIndex(g.currentRow);
    switch (c.kind) {
        case KindText:
            c.texts[r] = e->text().substr(0, static_cast<std::size_t>(c.textLength));
            return;
        case KindCheckBox:
            c.integers[r] = e->checkState();
            return;
        case KindMenu:
            c.integers[r] = e->selection();
            return;
        default:
            break;
    }
    std::string t = e->text().substr(0, 50);
    if (c.kind == KindInteger) {
        int v = 0;
        if (e->modified())
            TextToIntegerQuiet(v, t);
        else
            v = TruncateToInteger(e->value());
        c.integers[r] = v;
    } else if (c.kind == KindReal) {
        float v = 0.0f;
        if (e->modified())
            TextToRealQuiet(v, t);
        else
            v = static_cast<float>(e->value());
        c.reals[r] = v;
    } else {
        double v = 0.0;
        if (e->modified())
            TextToDoubleQuiet(v, t);
        else
            v = e->value();
        c.doubles[r] = v;
    }
    if (!isBlankText(t))
        c.flags[r] |= CellHasValue | CellEntered;
    else
        c.flags[r] = static_cast<std::uint8_t>(c.flags[r] & ~CellHasValue);
}

void GridCloseCellEditor(GridRecord& g, bool store) {
    if (!g.editor) return;
    if (store) GridStoreEditorValue(g);
    g.editor.reset();
}

}  // namespace tk
