#pragma once
// The child dialog that holds an Explorer-style file dialog's hook and the
// caller's own controls.

#include <vector>

#include "platform/common_dialogs/dialog_hooks.h"

namespace win::commdlg {

// The caller's template (OFN_ENABLETEMPLATE or ..._TEMPLATEHANDLE) made a
// DS_CONTROL child without caption or frame, or an empty one; empty bytes
// (with the extended error set) when the caller's is missing.
std::vector<BYTE> explorerChildTemplate(const OPENFILENAMEA& ofn);

// Places the child and grows the dialog around it: below the dialog's
// controls, or, when the child has an stc32 control, with the dialog's
// controls moved into its place and the child's controls right of or below
// it moved out of the way.
void fitExplorerChild(HWND dialog, HWND child);

}  // namespace win::commdlg
