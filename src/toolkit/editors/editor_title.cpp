#include "toolkit/editors/editor_title.h"

#include <string>

#include "platform/controls/common_controls_api.h"
#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/editors/editor_record.h"
#include "toolkit/editors/editor_frame.h"
#include "toolkit/editors/editor_text.h"

namespace tk {

void EditorUpdateTitle(win::HWND frame) {
    const EditorWindowRecord* r = editorRecordOf(frame);
    if (!r) return;
    const bool named = !r->fileName.empty() && !r->hideFileName;
    std::string shown = named ? r->fileName : std::string();
    if (named && r->modifiedMark && editorIsModified(*r)) shown += " *";
    if (frameHasCaption(frame)) {
        std::string title = r->title;
        if (named) title += r->title.empty() ? " - " + shown : " - [" + shown + "]";
        win::SetWindowTextA(frame, title.c_str());
    } else if (r->statusBar) {
        win::SendMessageA(r->statusBar, win::SB_SETTEXTA, 4,
                          reinterpret_cast<win::LPARAM>(shown.c_str()));
    }
}

}  // namespace tk
