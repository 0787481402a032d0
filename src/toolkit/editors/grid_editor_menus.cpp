#include "toolkit/editors/grid_editor_menus.h"

#include <vector>

#include "platform/window/menu_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/editors/toolbar_builder.h"

namespace tk {
namespace {

struct HelpEntry {
    int id;
    const char* text;
};

constexpr HelpEntry kHelp[] = {
    {kGridPopupFile, "Commands to Load and Save files"},
    {kGridPopupEdit, "Commands for Editing and Sorting cells"},
    {kGridPopupSearch, "Commands for Searching and Navigation"},
    {kGridCmdNew, "Clears the grid"},
    {kGridCmdOpen, "Loads an existing grid"},
    {kGridCmdSave, "Saves the grid"},
    {kGridCmdSaveAs, "Saves the grid with a new name"},
    {kGridCmdPrint, "Prints the grid"},
    {kGridCmdPrintSelection, "Prints the selected cells"},
    {kGridCmdExit, "Closes the grid; prompts you to save changes"},
    {kGridCmdSaveHtml, "Saves the grid as an HTML document"},
    {kGridCmdSaveSelection, "Saves the selected cells"},
    {kGridCmdCut, "Cuts the selected cells and places them on the clipboard"},
    {kGridCmdCopy, "Copies the selected cells and places them on the clipboard"},
    {kGridCmdPaste, "Inserts clipboard contents"},
    {kGridCmdDelete, "Clears the selected cells"},
    {kGridCmdSelectAll, "Selects the entire grid"},
    {kGridCmdSort, "Sorts the rows of the grid"},
    {kGridCmdInsertBefore, "Inserts a row into the grid, before the current row"},
    {kGridCmdInsertAfter, "Inserts a row into the grid, after the current row"},
    {kGridCmdDeleteRow, "Deletes a row from the grid"},
    {kGridCmdFind, "Finds the specified string value"},
    {kGridCmdFindNext, "Repeats the last find"},
    {kGridCmdGotoCell, "Moves to the specified cell"},
    {kGridCmdGotoRow, "Moves to the specified row"},
    {kGridCmdGotoColumn, "Moves to the specified column"},
};

void key(std::vector<win::ACCEL>& keys, win::BYTE flags, int vk, int id) {
    win::ACCEL a;
    a.fVirt = static_cast<win::BYTE>(flags | win::FVIRTKEY);
    a.key = static_cast<win::WORD>(vk);
    a.cmd = static_cast<win::WORD>(id);
    keys.push_back(a);
}

void item(win::HMENU m, int id, const char* text) {
    win::AppendMenuA(m, win::MF_STRING, static_cast<win::UINT_PTR>(id), text);
}

void separator(win::HMENU m) {
    win::AppendMenuA(m, win::MF_SEPARATOR, 0, nullptr);
}

}  // namespace

win::HACCEL gridEditorBuildAccelerators(const GridEditorRecord& r) {
    using win::FCONTROL;
    using win::FSHIFT;
    std::vector<win::ACCEL> keys;
    if (r.allowNew) key(keys, FCONTROL, 'N', kGridCmdNew);
    if (r.allowOpen) key(keys, FCONTROL, 'O', kGridCmdOpen);
    if (r.allowSave) key(keys, FCONTROL, 'S', kGridCmdSave);
    if (r.allowSaveAs) key(keys, 0, win::VK_F12, kGridCmdSaveAs);
    if (r.allowPrint) key(keys, FCONTROL, 'P', kGridCmdPrint);
    if (r.allowFind) {
        key(keys, FCONTROL, 'F', kGridCmdFind);
        key(keys, 0, win::VK_F1 + 2, kGridCmdFindNext);
    }
    if (r.allowRows) {
        key(keys, FCONTROL, 'I', kGridCmdInsertBefore);
        key(keys, FCONTROL | FSHIFT, 'I', kGridCmdInsertAfter);
        key(keys, FCONTROL, 'E', kGridCmdDeleteRow);
    }
    if (keys.empty()) return nullptr;
    return win::CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
}

void gridEditorBuildPopups(GridEditorRecord& r) {
    const bool keys = r.editorAccelerators != nullptr;
    const auto text = [keys](const char* withKey, const char* plain) {
        return keys ? withKey : plain;
    };
    win::HMENU f = win::CreatePopupMenu();
    if (r.allowNew) item(f, kGridCmdNew, text("&New\tCtrl+N", "&New"));
    if (r.allowOpen) item(f, kGridCmdOpen, text("&Open\tCtrl+O", "&Open"));
    if (r.allowSave) item(f, kGridCmdSave, text("&Save\tCtrl+S", "&Save"));
    if (r.allowSaveAs) {
        item(f, kGridCmdSaveAs, text("Save &As\tF12", "Save &As"));
        item(f, kGridCmdSaveSelection, "Save S&election");
    }
    if (r.allowHtml) item(f, kGridCmdSaveHtml, "Save As &HTML");
    if (r.allowNew || r.allowOpen || r.allowSave || r.allowSaveAs || r.allowHtml) separator(f);
    if (r.allowPrint) {
        item(f, kGridCmdPrint, text("&Print\tCtrl+P", "&Print"));
        item(f, kGridCmdPrintSelection, "Prin&t Selection");
        separator(f);
    }
    item(f, kGridCmdExit, "E&xit");
    win::HMENU e = win::CreatePopupMenu();
    if (!r.readOnly) item(e, kGridCmdCut, "Cu&t\tCtrl+X");
    item(e, kGridCmdCopy, "&Copy\tCtrl+C");
    if (!r.readOnly) {
        item(e, kGridCmdPaste, "&Paste\tCtrl+V");
        item(e, kGridCmdDelete, "&Delete\tDel");
    }
    separator(e);
    item(e, kGridCmdSelectAll, "Select &All");
    if (!r.readOnly) {
        separator(e);
        item(e, kGridCmdSort, "&Sort");
    }
    if (r.allowRows) {
        item(e, kGridCmdInsertBefore, "&Insert Row Before Current\tCtrl+I");
        item(e, kGridCmdInsertAfter, "&Insert Row After Current\tCtrl+Shift+I");
        item(e, kGridCmdDeleteRow, "D&elete Row\tCtrl+E");
    }
    win::HMENU s = win::CreatePopupMenu();
    if (r.allowFind) {
        item(s, kGridCmdFind, text("&Find\tCtrl+F", "&Find"));
        item(s, kGridCmdFindNext, text("Find &Next\tF3", "Find &Next"));
        separator(s);
    }
    item(s, kGridCmdGotoCell, "&Goto Cell");
    item(s, kGridCmdGotoRow, "Goto Ro&w");
    item(s, kGridCmdGotoColumn, "Goto &Column");
    r.filePopup = f;
    r.editPopup = e;
    r.searchPopup = s;
}

win::HWND gridEditorBuildToolbar(GridEditorRecord& r, win::HWND frame) {
    int base = 0;
    win::HWND bar = toolbarCreate(frame, kGridEditorToolbarId, base);
    if (!bar) return nullptr;
    ToolbarButtons b;
    if (r.allowNew) b.add(base + win::STD_FILENEW, kGridCmdNew);
    if (r.allowOpen) b.add(base + win::STD_FILEOPEN, kGridCmdOpen);
    if (r.allowSave) b.add(base + win::STD_FILESAVE, kGridCmdSave);
    b.endGroup();
    if (r.allowPrint) b.add(base + win::STD_PRINT, kGridCmdPrint);
    b.endGroup();
    if (r.allowFind) b.add(base + win::STD_FIND, kGridCmdFind);
    b.endGroup();
    if (!r.readOnly) b.add(base + win::STD_CUT, kGridCmdCut);
    b.add(base + win::STD_COPY, kGridCmdCopy);
    if (!r.readOnly) b.add(base + win::STD_PASTE, kGridCmdPaste);
    toolbarFinish(bar, b);
    r.editorToolbar = bar;
    r.toolbarTips = reinterpret_cast<win::HWND>(win::SendMessageA(bar, win::TB_GETTOOLTIPS, 0, 0));
    return bar;
}

std::string gridEditorHelpText(int id) {
    for (const HelpEntry& e : kHelp)
        if (e.id == id) return e.text;
    return {};
}

std::string gridEditorTipText(int id) {
    switch (id) {
        case kGridCmdNew: return "New";
        case kGridCmdOpen: return "Open";
        case kGridCmdSave: return "Save";
        case kGridCmdPrint: return "Print";
        case kGridCmdCut: return "Cut";
        case kGridCmdCopy: return "Copy";
        case kGridCmdPaste: return "Paste";
        case kGridCmdFind: return "Find";
        default: return {};
    }
}

}  // namespace tk
