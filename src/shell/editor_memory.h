#pragma once
// What the edit dialogs remember for the run: where each was left, the
// numbers of their column arithmetic and the data editor's station geometry
// file. Nothing of it goes into the settings file.

#include "base/fixed_string.h"
#include "shell/dialog_support.h"
#include "shell/grid_editing.h"

namespace shell {

struct EditorMemory {
    DialogPosition dataEditor, bodyEditor, modelEditor, regional, background, geometry, colours;
    ColumnMathMemory dataMath, bodyMath, modelMath, regionalMath;
    base::FixedString<256> geometryFile;
};

EditorMemory& editorMemory();

}  // namespace shell
