#include "toolkit/editors/grid_editor_command_frame.h"

#include "toolkit/core/message_box.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_lifecycle.h"

namespace tk {

GridCommandFrame::GridCommandFrame(int window) {
    WindowSystem& w = windowSystem();
    ToolkitState& s = toolkitState();
    previousWindow_ = w.CurrentWindow;
    previousDialog_ = s.CurrentDialogNumber;
    savedError_ = s.LastErrorNumber;
    if (window != w.CurrentWindow && windowIsOpen(window)) {
        YYWINSEL(window, 1);
        switched_ = true;
    }
}

GridCommandFrame::~GridCommandFrame() {
    unloadDialog();
    ToolkitState& s = toolkitState();
    if (restoreError_) s.LastErrorNumber = savedError_;
    if (previousDialog_ != 0 && s.CurrentDialogNumber != previousDialog_) {
        const int saved = s.LastErrorNumber;
        DlgSelect(previousDialog_);
        s.LastErrorNumber = saved;
    }
    if (switched_ && windowIsOpen(previousWindow_)) YYWINSEL(previousWindow_, 1);
}

void GridCommandFrame::clearError() {
    toolkitState().LastErrorNumber = 0;
}

int GridCommandFrame::lastError() const {
    return toolkitState().LastErrorNumber;
}

bool GridCommandFrame::loadDialog(int templateId) {
    clearError();
    DlgLoad(templateId, templateId, -1);
    if (lastError() != 0) {
        gridCommandBox(0, 1, "Unable to load required dialog", "Error");
        return false;
    }
    dialogLoaded_ = true;
    dialogId_ = templateId;
    return true;
}

void GridCommandFrame::unloadDialog() {
    if (!dialogLoaded_) return;
    dialogLoaded_ = false;
    DlgSelect(dialogId_);
    DlgUnload();
}

void gridCommandBox(int buttons, int icon, std::string_view text, std::string_view caption,
                    int defaultButton) {
    MsgBox(buttons, icon, defaultButton, text, caption);
}

}  // namespace tk
