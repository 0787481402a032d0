#include "toolkit/editors/editor_toolbar.h"

#include <vector>

#include "platform/controls/common_controls_api.h"
#include "platform/resources/resource_api.h"
#include "platform/window/image_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/editors/editor_commands.h"
#include "toolkit/editors/editor_menus.h"

namespace tk {
namespace {

struct Buttons {
    std::vector<win::TBBUTTON> list;
    bool groupOpen = false;

    void add(int image, int command, win::BYTE state = win::TBSTATE_ENABLED,
             win::BYTE style = win::TBSTYLE_BUTTON) {
        win::TBBUTTON b;
        b.iBitmap = image;
        b.idCommand = command;
        b.fsState = state;
        b.fsStyle = style;
        list.push_back(b);
        groupOpen = true;
    }
    // A separator before the next group, when a group came before it.
    void endGroup() {
        if (!groupOpen) return;
        win::TBBUTTON b;
        b.fsStyle = win::TBSTYLE_SEP;
        list.push_back(b);
        groupOpen = false;
    }
};

// The program's picture strip, or null when its resources lack it.
win::HBITMAP programBitmap(int id) {
    const win::LPCSTR name = win::MAKEINTRESOURCEA(static_cast<win::WORD>(id));
    if (!win::FindResourceA(nullptr, name, win::RT_BITMAP)) return nullptr;
    return static_cast<win::HBITMAP>(win::LoadImageA(nullptr, name, win::IMAGE_BITMAP, 0, 0, 0));
}

int addStrip(win::HWND bar, win::HINSTANCE instance, win::UINT_PTR id, int count) {
    win::TBADDBITMAP add;
    add.hInst = instance;
    add.nID = id;
    return static_cast<int>(win::SendMessageA(bar, win::TB_ADDBITMAP,
                                              static_cast<win::WPARAM>(count),
                                              reinterpret_cast<win::LPARAM>(&add)));
}

void standardButtons(const EditorWindowRecord& r, Buttons& b, int base) {
    const win::BYTE off = 0;
    if (r.allowNew) b.add(base + win::STD_FILENEW, kCmdNew);
    if (r.allowOpen) b.add(base + win::STD_FILEOPEN, kCmdOpen);
    if (r.allowSave) b.add(base + win::STD_FILESAVE, kCmdSave);
    b.endGroup();
    if (r.allowPrint) b.add(base + win::STD_PRINT, kCmdPrint);
    b.endGroup();
    b.add(base + win::STD_FIND, kCmdFind);
    b.endGroup();
    if (!r.readOnly) b.add(base + win::STD_CUT, kCmdCut, off);
    b.add(base + win::STD_COPY, kCmdCopy, off);
    if (!r.readOnly) {
        b.add(base + win::STD_PASTE, kCmdPaste);
        b.add(base + win::STD_UNDO, kCmdUndo, off);
        if (editorRichEditVersion() >= 2) b.add(base + win::STD_REDOW, kCmdRedo, off);
    }
}

void formatButtons(const EditorWindowRecord& r, win::HWND bar, Buttons& b) {
    win::HBITMAP strip = programBitmap(kEditorFormatBitmapId);
    if (!strip) return;
    const int base = addStrip(bar, nullptr, reinterpret_cast<win::UINT_PTR>(strip), 7);
    b.endGroup();
    b.add(base + 0, kCmdBold, win::TBSTATE_ENABLED, win::TBSTYLE_CHECK);
    b.add(base + 1, kCmdItalic, win::TBSTATE_ENABLED, win::TBSTYLE_CHECK);
    if (!r.underlineReserved)
        b.add(base + 2, kCmdUnderline, win::TBSTATE_ENABLED, win::TBSTYLE_CHECK);
    b.endGroup();
    b.add(base + 3, kCmdAlignLeft, win::TBSTATE_ENABLED | win::TBSTATE_CHECKED,
          win::TBSTYLE_CHECKGROUP);
    b.add(base + 4, kCmdAlignCentre, win::TBSTATE_ENABLED, win::TBSTYLE_CHECKGROUP);
    b.add(base + 5, kCmdAlignRight, win::TBSTATE_ENABLED, win::TBSTYLE_CHECKGROUP);
    b.endGroup();
    b.add(base + 6, kCmdBullet, win::TBSTATE_ENABLED, win::TBSTYLE_CHECK);
}

void linkButtons(win::HWND bar, Buttons& b) {
    win::HBITMAP strip = programBitmap(kEditorLinkBitmapId);
    if (!strip) return;
    const int base = addStrip(bar, nullptr, reinterpret_cast<win::UINT_PTR>(strip), 2);
    b.endGroup();
    b.add(base + 0, kCmdInsertPicture);
    b.add(base + 1, kCmdInsertLink);
}

}  // namespace

win::HWND editorBuildToolbar(EditorWindowRecord& r, win::HWND frame) {
    win::HWND bar = win::CreateWindowExA(
        0, win::TOOLBARCLASSNAMEA, "",
        win::WS_CHILD | win::WS_VISIBLE | win::WS_CLIPSIBLINGS | win::TBSTYLE_TOOLTIPS, 0, 0, 0, 0,
        frame, reinterpret_cast<win::HMENU>(static_cast<win::INT_PTR>(kEditorToolbarId)), nullptr,
        nullptr);
    if (!bar) return nullptr;
    win::SendMessageA(bar, win::TB_BUTTONSTRUCTSIZE, sizeof(win::TBBUTTON), 0);
    win::SendMessageA(bar, win::TB_SETBITMAPSIZE, 0, win::MAKELONG(16, 15));
    win::SendMessageA(bar, win::TB_SETBUTTONSIZE, 0, win::MAKELONG(22, 21));
    const int base = addStrip(bar, win::HINST_COMMCTRL, win::IDB_STD_SMALL_COLOR, 15);
    Buttons b;
    standardButtons(r, b, base);
    if (r.formatting) formatButtons(r, bar, b);
    if (r.underlineReserved) linkButtons(bar, b);
    win::SendMessageA(bar, win::TB_ADDBUTTONSA, b.list.size(),
                      reinterpret_cast<win::LPARAM>(b.list.data()));
    win::SendMessageA(bar, win::TB_AUTOSIZE, 0, 0);
    r.editorToolbar = bar;
    r.toolbarTips = reinterpret_cast<win::HWND>(win::SendMessageA(bar, win::TB_GETTOOLTIPS, 0, 0));
    return bar;
}

}  // namespace tk
