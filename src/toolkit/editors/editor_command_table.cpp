#include "toolkit/editors/editor_command_table.h"

#include <array>

namespace tk {
namespace {

constexpr std::array<EditorCommandEntry, 27> kCommands{{
    {kCmdNew, "&New\tCtrl+N", "&New", "New", "Creates a new document"},
    {kCmdOpen, "&Open\tCtrl+O", "&Open", "Open", "Opens an existing document"},
    {kCmdSave, "&Save\tCtrl+S", "&Save", "Save", "Saves the active document"},
    {kCmdSaveAs, "Save &As\tF12", "Save &As", nullptr, "Saves the active document with a new name"},
    {kCmdPrint, "&Print\tCtrl+P", "&Print", "Print", "Prints the active document"},
    {kCmdPrintSelection, "Prin&t Selection\tCtrl+Shift+P", "Prin&t Selection",
     "Print selected text", "Prints the selected text"},
    {kCmdClose, "&Close", "&Close", nullptr,
     "Closes the current document; prompts you to save changes"},
    {kCmdExit, "E&xit", "E&xit", nullptr, "Closes the editor; prompts you to save changes"},
    {kCmdUndo, "&Undo\tCtrl+Z", "&Undo\tCtrl+Z", "Undo", "Reverses the last action"},
    {kCmdRedo, "&Redo\tCtrl+Y", "&Redo\tCtrl+Y", "Redo", "Redoes the last action that was undone"},
    {kCmdCut, "Cu&t\tCtrl+X", "Cu&t\tCtrl+X", "Cut",
     "Cuts the selected text and places it on the clipboard"},
    {kCmdCopy, "&Copy\tCtrl+C", "&Copy\tCtrl+C", "Copy",
     "Copies the selected text and places it on the clipboard"},
    {kCmdPaste, "&Paste\tCtrl+V", "&Paste\tCtrl+V", "Paste", "Inserts clipboard contents"},
    {kCmdDelete, "&Delete\tDel", "&Delete\tDel", nullptr, "Deletes the selected text"},
    {kCmdSelectAll, "Select &All\tCtrl+A", "Select &All\tCtrl+A", nullptr,
     "Selects the entire document"},
    {kCmdFind, "&Find\tCtrl+F", "&Find", "Find", "Finds the specified text"},
    {kCmdFindNext, "Find &Next\tF3", "Find &Next", nullptr, "Repeats the last find"},
    {kCmdReplace, "&Replace\tCtrl+H", "&Replace", nullptr,
     "Replaces specific text with different text"},
    {kCmdSetBookmark, "&Set Bookmark\tShift+F2", "&Set Bookmark", nullptr,
     "Bookmarks the current cursor position"},
    {kCmdGotoBookmark, "Goto &Bookmark\tF2", "Goto &Bookmark", nullptr,
     "Moves to a previously bookmarked position"},
    {kCmdFont, "&Font", "&Font", nullptr, "Selects the font for the selected or new text"},
    {kCmdBullet, "&Bullet Style", "&Bullet Style", "Bullets", "Inserts a bullet on this line"},
    {kCmdAlignLeft, "Align &Left\tCtrl+L", "Align &Left\tCtrl+L", "Align Left", nullptr},
    {kCmdAlignCentre, "Align &Centre\tCtrl+E", "Align &Centre\tCtrl+E", "Centre", nullptr},
    {kCmdAlignRight, "Align &Right\tCtrl+R", "Align &Right\tCtrl+R", "Align Right", nullptr},
    {kCmdBold, nullptr, nullptr, "Bold", nullptr},
    {kCmdItalic, nullptr, nullptr, "Italic", nullptr},
}};

constexpr std::array<EditorCommandEntry, 3> kMoreCommands{{
    {kCmdUnderline, nullptr, nullptr, "Underline", nullptr},
    {kCmdInsertPicture, nullptr, nullptr, "Insert Picture", nullptr},
    {kCmdInsertLink, nullptr, nullptr, "Insert Link", nullptr},
}};

}  // namespace

const EditorCommandEntry* editorCommand(int id) {
    for (const EditorCommandEntry& e : kCommands)
        if (e.id == id) return &e;
    for (const EditorCommandEntry& e : kMoreCommands)
        if (e.id == id) return &e;
    return nullptr;
}

std::string editorMenuText(const EditorWindowRecord& r, int id, bool withKeys) {
    if (r.underlineReserved) {
        if (id == kCmdAlignLeft) return "Align &Left\tCtrl+Shift+L";
        if (id == kCmdAlignCentre) return "Align &Centre\tCtrl+Shift+E";
        if (id == kCmdAlignRight) return "Align &Right\tCtrl+Shift+R";
    }
    const EditorCommandEntry* e = editorCommand(id);
    if (!e || !e->menuText) return {};
    return withKeys ? e->menuText : e->plainText;
}

std::string editorHelpText(const EditorWindowRecord& r, int id) {
    switch (id) {
        case kPopupFile:
            return "Commands to Load, Save and Print files";
        case kPopupEdit:
            return "Commands for editing text";
        case kPopupSearch:
            return "Commands to locate and replace text";
        case kPopupFormat:
            return "Commands to change the formatting of text";
        case kPopupView:
            return "Commands to switch between files";
        case kCmdClose:
            if (r.readOnly || (!r.allowSave && !r.allowSaveAs))
                return "Closes the current document";
            break;
        case kCmdExit:
            if (r.readOnly) return "Closes the browser";
            if (!r.allowSave && !r.allowSaveAs) return "Closes the editor";
            break;
        default:
            break;
    }
    const EditorCommandEntry* e = editorCommand(id);
    return e && e->help ? e->help : std::string();
}

}  // namespace tk
