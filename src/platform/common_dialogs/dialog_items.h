#pragma once
// Templates of the common dialogs, written item by item.

#include "platform/controls/controls_api.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/dialogs/dialog_template.h"

namespace win::commdlg {

inline dialogs::TemplateItem item(const char* cls, const char* text, int id, DWORD style, int x,
                                  int y, int cx, int cy) {
    dialogs::TemplateItem it;
    it.className = cls;
    it.text = text;
    it.id = id;
    it.style = WS_CHILD | WS_VISIBLE | style;
    it.x = x;
    it.y = y;
    it.cx = cx;
    it.cy = cy;
    return it;
}

// A dialog with a caption, a frame and the dialogs' font.
inline dialogs::DialogTemplate frame(const char* caption, int cx, int cy) {
    dialogs::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    t.hasFont = true;
    t.caption = caption;
    t.cx = cx;
    t.cy = cy;
    return t;
}

}  // namespace win::commdlg
