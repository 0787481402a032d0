#include "toolkit/editors/editor_menus.h"

#include <string>
#include <vector>

#include "platform/controls/rich_edit_api.h"
#include "platform/window/menu_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/core/window_table.h"
#include "toolkit/editors/editor_command_table.h"
#include "toolkit/editors/editor_frame.h"
#include "toolkit/editors/editor_view_menu.h"

namespace tk {
namespace {

constexpr int kVkF2 = win::VK_F1 + 1, kVkF3 = win::VK_F1 + 2;

void item(const EditorWindowRecord& r, win::HMENU menu, int id, win::UINT extra = 0) {
    const std::string text = editorMenuText(r, id, r.editorAccelerators != nullptr);
    win::AppendMenuA(menu, win::MF_STRING | extra, static_cast<win::UINT_PTR>(id), text.c_str());
}

void separator(win::HMENU menu) {
    win::AppendMenuA(menu, win::MF_SEPARATOR, 0, nullptr);
}

win::HMENU fileMenu(const EditorWindowRecord& r) {
    win::HMENU m = win::CreatePopupMenu();
    if (r.allowNew) item(r, m, kCmdNew);
    if (r.allowOpen) item(r, m, kCmdOpen);
    if (r.closeItem) {
        item(r, m, kCmdClose);
        if (r.allowSave || r.allowSaveAs) separator(m);
    }
    if (r.allowSave) item(r, m, kCmdSave);
    if (r.allowSaveAs) item(r, m, kCmdSaveAs);
    if (r.allowNew || r.allowOpen || r.allowSave || r.allowSaveAs) separator(m);
    if (r.allowPrint) {
        item(r, m, kCmdPrint);
        item(r, m, kCmdPrintSelection);
        separator(m);
    }
    item(r, m, kCmdExit);
    return m;
}

win::HMENU editMenu(const EditorWindowRecord& r) {
    win::HMENU m = win::CreatePopupMenu();
    if (!r.readOnly) {
        item(r, m, kCmdUndo);
        if (editorRichEditVersion() >= 2) item(r, m, kCmdRedo);
        separator(m);
        item(r, m, kCmdCut);
    }
    item(r, m, kCmdCopy);
    if (!r.readOnly) {
        item(r, m, kCmdPaste);
        item(r, m, kCmdDelete);
    }
    separator(m);
    item(r, m, kCmdSelectAll);
    return m;
}

win::HMENU searchMenu(const EditorWindowRecord& r) {
    win::HMENU m = win::CreatePopupMenu();
    item(r, m, kCmdFind);
    item(r, m, kCmdFindNext);
    if (!r.readOnly) item(r, m, kCmdReplace);
    separator(m);
    item(r, m, kCmdSetBookmark);
    item(r, m, kCmdGotoBookmark, win::MF_GRAYED);
    return m;
}

win::HMENU formatMenu(const EditorWindowRecord& r) {
    win::HMENU m = win::CreatePopupMenu();
    item(r, m, kCmdFont);
    item(r, m, kCmdBullet);
    separator(m);
    item(r, m, kCmdAlignLeft);
    item(r, m, kCmdAlignCentre);
    item(r, m, kCmdAlignRight);
    return m;
}

void key(std::vector<win::ACCEL>& keys, win::BYTE mods, int vk, int cmd) {
    keys.push_back({static_cast<win::BYTE>(win::FVIRTKEY | mods), static_cast<win::WORD>(vk),
                    static_cast<win::WORD>(cmd)});
}

}  // namespace

int editorRichEditVersion() {
    const int level = windowSystem().RichEditLevel;
    return level > 0 ? level : win::richEditNewestVersion();
}

void editorBuildPopups(EditorWindowRecord& r) {
    r.filePopup = fileMenu(r);
    r.editPopup = editMenu(r);
    r.searchPopup = searchMenu(r);
    if (r.formatting) r.formatPopup = formatMenu(r);
    if (r.severalFiles) {
        r.viewPopup = win::CreatePopupMenu();
        editorViewItemAppend(r, 1, r.fileName);
    }
}

void editorInsertPopups(const EditorWindowRecord& r, win::HMENU bar) {
    int at = 0;
    editorInsertPopup(bar, at++, r.filePopup, "&File", kPopupFile);
    editorInsertPopup(bar, at++, r.editPopup, "&Edit", kPopupEdit);
    editorInsertPopup(bar, at++, r.searchPopup, "&Search", kPopupSearch);
    if (r.formatPopup) editorInsertPopup(bar, at++, r.formatPopup, "F&ormat", kPopupFormat);
    if (r.viewPopup) editorInsertPopup(bar, at, r.viewPopup, "&View", kPopupView);
}

win::HACCEL editorBuildAccelerators(const EditorWindowRecord& r) {
    using win::FCONTROL;
    using win::FSHIFT;
    std::vector<win::ACCEL> keys;
    if (r.allowNew) key(keys, FCONTROL, 'N', kCmdNew);
    if (r.allowOpen) key(keys, FCONTROL, 'O', kCmdOpen);
    if (r.allowSave) key(keys, FCONTROL, 'S', kCmdSave);
    if (r.allowSaveAs) key(keys, 0, win::VK_F12, kCmdSaveAs);
    if (r.allowPrint) {
        key(keys, FCONTROL, 'P', kCmdPrint);
        key(keys, FCONTROL | FSHIFT, 'P', kCmdPrintSelection);
    }
    key(keys, FCONTROL, 'F', kCmdFind);
    key(keys, 0, kVkF3, kCmdFindNext);
    key(keys, FSHIFT, kVkF2, kCmdSetBookmark);
    key(keys, 0, kVkF2, kCmdGotoBookmark);
    if (!r.readOnly) key(keys, FCONTROL, 'H', kCmdReplace);
    if (r.formatting) {
        const win::BYTE align = r.underlineReserved ? FCONTROL | FSHIFT : FCONTROL;
        key(keys, FCONTROL, 'B', kCmdBold);
        key(keys, FCONTROL, 'I', kCmdItalic);
        if (!r.underlineReserved) key(keys, FCONTROL, 'U', kCmdUnderline);
        key(keys, align, 'L', kCmdAlignLeft);
        key(keys, align, 'E', kCmdAlignCentre);
        key(keys, align, 'R', kCmdAlignRight);
    }
    return win::CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
}

win::HACCEL editorBuildPaneAccelerators(const EditorWindowRecord& r) {
    using win::FCONTROL;
    using win::FSHIFT;
    std::vector<win::ACCEL> keys;
    if (!r.readOnly) {
        key(keys, FCONTROL, 'Z', kCmdUndo);
        if (editorRichEditVersion() >= 2) key(keys, FCONTROL, 'Y', kCmdRedo);
        key(keys, FCONTROL, 'X', kCmdCut);
        key(keys, FSHIFT, win::VK_DELETE, kCmdCut);
        key(keys, FCONTROL, 'V', kCmdPaste);
        key(keys, FSHIFT, win::VK_INSERT, kCmdPaste);
        key(keys, 0, win::VK_DELETE, kCmdDelete);
    }
    key(keys, FCONTROL, 'C', kCmdCopy);
    key(keys, FCONTROL, 'A', kCmdSelectAll);
    return win::CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
}

}  // namespace tk
