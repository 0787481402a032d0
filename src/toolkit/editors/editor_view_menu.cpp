#include "toolkit/editors/editor_view_menu.h"

#include "platform/window/menu_api.h"
#include "toolkit/editors/editor_commands.h"

namespace tk {

std::string editorViewItemText(int file, const std::string& name) {
    const char digit =
        file <= 9 ? static_cast<char>('0' + file) : static_cast<char>('A' + file - 10);
    return std::string("&") + digit + "\t" + (name.empty() ? std::string("Untitled") : name);
}

void editorViewItemSet(const EditorWindowRecord& r, int file, const std::string& name) {
    if (!r.viewPopup) return;
    const std::string text = editorViewItemText(file, name);
    const auto id = static_cast<win::UINT>(kCmdViewBase + file);
    const win::UINT checked =
        win::GetMenuState(r.viewPopup, id, win::MF_BYCOMMAND) & win::MF_CHECKED;
    win::ModifyMenuA(r.viewPopup, id, win::MF_BYCOMMAND | win::MF_STRING | checked, id,
                     text.c_str());
}

void editorViewItemAppend(const EditorWindowRecord& r, int file, const std::string& name) {
    if (!r.viewPopup) return;
    const std::string text = editorViewItemText(file, name);
    const auto id = static_cast<win::UINT_PTR>(kCmdViewBase + file);
    win::AppendMenuA(r.viewPopup, win::MF_STRING | win::MF_CHECKED, id, text.c_str());
}

void editorViewItemCheck(const EditorWindowRecord& r, int file, bool checked) {
    if (!r.viewPopup) return;
    win::CheckMenuItem(r.viewPopup, static_cast<win::UINT>(kCmdViewBase + file),
                       win::MF_BYCOMMAND | (checked ? win::MF_CHECKED : win::MF_UNCHECKED));
}

}  // namespace tk
