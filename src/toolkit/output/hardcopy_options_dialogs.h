#pragma once
// The user's view of the hardcopy options of the driver selected last: the
// printer's page set-up for the printer driver, the device and file option
// dialogs (loaded from templates 32098 and 32000 + driver number) for the
// others.

#include <optional>

#include "toolkit/core/text_args.h"

namespace tk {

// units: 0 points, 1 inches, 2 centimetres, 3 millimetres; missing or
// above 3 in absolute value: the locale's; negative sets the sign flag.
// fileName (blank-padded, in/out) replaces DefaultFileName when given.
void HardcopyOptionsShow(std::optional<int> units = std::nullopt,
                         std::optional<TextOut> fileName = std::nullopt);
// 1 when the user confirmed the last options dialog, 0 when cancelled.
int& hardcopyDialogResult();

// The two toolkit dialogs; they end at once when their template is missing.
void HardcopyOptionsDialog(int units, TextOut fileName, int driver, int mode, bool sign);
void HardcopyFileOptionsDialog(int units, TextOut fileName, int dialogId, int mode, bool sign);

}  // namespace tk
