#include "toolkit/editors/editor_toolbar.h"

#include "platform/controls/common_controls_api.h"
#include "platform/resources/resource_api.h"
#include "platform/window/image_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/editors/editor_commands.h"
#include "toolkit/editors/editor_menus.h"
#include "toolkit/editors/toolbar_builder.h"

namespace tk {
namespace {

// The program's picture strip, or null when its resources lack it.
win::HBITMAP programBitmap(int id) {
    const win::LPCSTR name = win::MAKEINTRESOURCEA(static_cast<win::WORD>(id));
    if (!win::FindResourceA(nullptr, name, win::RT_BITMAP)) return nullptr;
    return static_cast<win::HBITMAP>(win::LoadImageA(nullptr, name, win::IMAGE_BITMAP, 0, 0, 0));
}

void standardButtons(const EditorWindowRecord& r, ToolbarButtons& b, int base) {
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

void formatButtons(const EditorWindowRecord& r, win::HWND bar, ToolbarButtons& b) {
    win::HBITMAP strip = programBitmap(kEditorFormatBitmapId);
    if (!strip) return;
    const int base = toolbarAddStrip(bar, nullptr, reinterpret_cast<win::UINT_PTR>(strip), 7);
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

void linkButtons(win::HWND bar, ToolbarButtons& b) {
    win::HBITMAP strip = programBitmap(kEditorLinkBitmapId);
    if (!strip) return;
    const int base = toolbarAddStrip(bar, nullptr, reinterpret_cast<win::UINT_PTR>(strip), 2);
    b.endGroup();
    b.add(base + 0, kCmdInsertPicture);
    b.add(base + 1, kCmdInsertLink);
}

}  // namespace

win::HWND editorBuildToolbar(EditorWindowRecord& r, win::HWND frame) {
    int base = 0;
    win::HWND bar = toolbarCreate(frame, kEditorToolbarId, base);
    if (!bar) return nullptr;
    ToolbarButtons b;
    standardButtons(r, b, base);
    if (r.formatting) formatButtons(r, bar, b);
    if (r.underlineReserved) linkButtons(bar, b);
    toolbarFinish(bar, b);
    r.editorToolbar = bar;
    r.toolbarTips = reinterpret_cast<win::HWND>(win::SendMessageA(bar, win::TB_GETTOOLTIPS, 0, 0));
    return bar;
}

}  // namespace tk
