#include <string>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/gdi/gdi.h"
#include "platform/window/menu_api.h"
#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/frame_procs.h"
#include "toolkit/core/seams.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/editors/editor_command_run.h"
#include "toolkit/editors/editor_search.h"
#include "toolkit/editors/editor_command_table.h"
#include "toolkit/editors/editor_commands.h"
#include "toolkit/editors/editor_create.h"
#include "toolkit/editors/editor_files.h"
#include "toolkit/editors/editor_layout.h"
#include "toolkit/editors/editor_window_proc.h"
#include "toolkit/editors/editor_record.h"
#include "toolkit/editors/editor_text.h"
#include "toolkit/editors/editor_title.h"

namespace tk {
namespace {

win::LRESULT passOn(const EditorWindowRecord* r, win::HWND h, win::UINT msg, win::WPARAM wp,
                    win::LPARAM lp) {
    if (r && r->previousProc) return win::CallWindowProcA(r->previousProc, h, msg, wp, lp);
    return FrameWindowProcedure(h, msg, wp, lp);
}

void statusPart(const EditorWindowRecord& r, int part, const char* text) {
    if (r.statusBar)
        win::SendMessageA(r.statusBar, win::SB_SETTEXTA, static_cast<win::WPARAM>(part),
                          reinterpret_cast<win::LPARAM>(text));
}

void selectionChanged(const EditorWindowRecord& r, const win::SELCHANGE& change) {
    if (!win::IsWindowVisible(r.editControl)) return;
    const bool some = change.chrg.cpMax > change.chrg.cpMin;
    const bool guarded = some && editorSelectionProtected(r);
    for (win::HWND bar : {r.editorToolbar, r.windowToolbars[0]}) {
        if (!bar) continue;
        win::SendMessageA(bar, win::TB_ENABLEBUTTON, kCmdCut, some && !guarded);
        win::SendMessageA(bar, win::TB_ENABLEBUTTON, kCmdCopy, some);
    }
    editorSyncFormatButtons(r);
    const auto end = change.chrg.cpMax;
    const auto line = win::SendMessageA(r.editControl, win::EM_EXLINEFROMCHAR, 0, end);
    const auto start =
        win::SendMessageA(r.editControl, win::EM_LINEINDEX, static_cast<win::WPARAM>(line), 0);
    const std::string text =
        "Line:" + std::to_string(line + 1) + "   Col:" + std::to_string(end - start + 1);
    statusPart(r, 0, text.c_str());
}

// Key events of the edit control; non-zero swallows the key.
win::LRESULT keyEvent(EditorWindowRecord& r, win::HWND frame, const win::MSGFILTER& f) {
    if (f.msg != win::WM_KEYDOWN) return 0;
    const bool shift = win::GetKeyState(win::VK_SHIFT) < 0;
    const bool ctrl = win::GetKeyState(win::VK_CONTROL) < 0;
    const bool alt = win::GetKeyState(win::VK_MENU) < 0;
    switch (static_cast<int>(f.wParam)) {
        case win::VK_CAPITAL:
            statusPart(r, 1, (win::GetKeyState(win::VK_CAPITAL) & 1) ? "\tCAPS" : "");
            return 0;
        case win::VK_NUMLOCK:
            statusPart(r, 2, (win::GetKeyState(win::VK_NUMLOCK) & 1) ? "\tNUM" : "");
            return 0;
        case win::VK_INSERT:
            if (shift && !ctrl && !alt) {
                editorRunCommand(frame, r, kCmdPaste);
                return 1;
            }
            if (!shift && !ctrl) {
                r.insertMode = 1 - r.insertMode;
                statusPart(r, 3, r.insertMode ? "\tINS" : "\tOVR");
            }
            return 0;
        case 'V':
            if (ctrl && !shift && !alt) {
                editorRunCommand(frame, r, kCmdPaste);
                return 1;
            }
            return 0;
        case win::VK_OEM_COMMA:
        case win::VK_OEM_PERIOD:
            return (!r.richText && ctrl && shift) ? 1 : 0;
        default:
            return 0;
    }
}

win::LRESULT notify(EditorWindowRecord& r, win::HWND frame, win::NMHDR& n, win::LPARAM lp) {
    if (n.code == win::TTN_NEEDTEXTA) {
        auto& tip = *reinterpret_cast<win::NMTTDISPINFOA*>(lp);
        const EditorCommandEntry* e = editorCommand(static_cast<int>(n.idFrom));
        if (e && e->tip) tip.lpszText = const_cast<char*>(e->tip);
        return 0;
    }
    if (n.hwndFrom != r.editControl) return passOn(&r, frame, win::WM_NOTIFY, n.idFrom, lp);
    switch (n.code) {
        case win::EN_MSGFILTER:
            return keyEvent(r, frame, *reinterpret_cast<win::MSGFILTER*>(lp));
        case win::EN_SELCHANGE:
            selectionChanged(r, *reinterpret_cast<win::SELCHANGE*>(lp));
            return 0;
        case win::EN_PROTECTED: {
            const auto& p = *reinterpret_cast<win::ENPROTECTED*>(lp);
            return (p.msg == win::WM_COPY || r.editGuard == 0) ? 0 : 1;
        }
        default:
            return passOn(&r, frame, win::WM_NOTIFY, n.idFrom, lp);
    }
}

win::LRESULT command(EditorWindowRecord& r, win::HWND frame, win::WPARAM wp, win::LPARAM lp) {
    const int id = win::LOWORD(wp);
    const int code = win::HIWORD(wp);
    const auto from = reinterpret_cast<win::HWND>(lp);
    if (from && from == r.editControl) {
        if (code == win::EN_SETFOCUS) r.focusControl = r.editControl;
        if (code == win::EN_CHANGE) editorTextChanged(frame, r);
        if (code == win::EN_VSCROLL && editorControlVersion(r) >= 2)
            win::InvalidateRect(r.editControl, nullptr, win::FALSE);
        return 0;
    }
    if (from && from == r.commandEdit) {
        if (code == win::EN_SETFOCUS) r.focusControl = r.commandEdit;
        return 0;
    }
    editorRunCommand(frame, r, id);
    return 0;
}

void simpleStatus(const EditorWindowRecord& r, bool on, const std::string& text) {
    win::SendMessageA(r.statusBar, win::SB_SIMPLE, on, 0);
    if (on)
        win::SendMessageA(r.statusBar, win::SB_SETTEXTA, win::SB_SIMPLEID,
                          reinterpret_cast<win::LPARAM>(text.c_str()));
}

// The identifier whose help the highlighted item shows: a popup's own
// identifier, else the command's.
int highlighted(const EditorWindowRecord& r, int item, int flags, win::HMENU menu) {
    if (!(flags & static_cast<int>(win::MF_POPUP))) return item;
    const win::HMENU popup = win::GetSubMenu(menu, item);
    if (popup == r.filePopup) return kPopupFile;
    if (popup == r.editPopup) return kPopupEdit;
    if (popup == r.searchPopup) return kPopupSearch;
    if (popup && popup == r.formatPopup) return kPopupFormat;
    if (popup && popup == r.viewPopup) return kPopupView;
    return 0;
}

// Menu help in the status bar's simple part; false leaves the message to
// the frame.
bool menuSelect(const EditorWindowRecord& r, win::WPARAM wp, win::LPARAM lp) {
    if (!r.statusBar || !lp) return false;
    const int id =
        highlighted(r, win::LOWORD(wp), win::HIWORD(wp), reinterpret_cast<win::HMENU>(lp));
    const std::string help = editorHelpText(r, id);
    if (help.empty()) return false;
    simpleStatus(r, true, help);
    return true;
}

}  // namespace

bool editorMenuHelp(EditorWindowRecord& r, win::HWND statusBar, win::WPARAM wp, win::LPARAM lp) {
    const win::HWND own = r.statusBar;
    r.statusBar = statusBar;
    const bool shown = menuSelect(r, wp, lp);
    r.statusBar = own;
    return shown;
}

namespace {

void destroyed(win::HWND frame, EditorWindowRecord& r) {
    if (r.mode == 3) {
        dialogTable().semiModelessCount -= 1;
        if (seams().modalFrame) seams().modalFrame->end(frame);
        win::HWND owner = win::GetWindow(frame, win::GW_OWNER);
        if (!owner) owner = windowSystem().slots[0].frame;
        if (owner) {
            FocusWindowActivate(owner);
            win::SetFocus(owner);
        }
    }
    if (r.editorAccelerators) win::DestroyAcceleratorTable(r.editorAccelerators);
    if (r.paneAccelerators) win::DestroyAcceleratorTable(r.paneAccelerators);
    r.editorAccelerators = r.paneAccelerators = nullptr;
    if (r.font && r.font != win::GetStockObject(win::SYSTEM_FONT) &&
        r.font != win::GetStockObject(win::SYSTEM_FIXED_FONT))
        win::DeleteObject(r.font);
    r.font = nullptr;
    if (r.findDialog && win::IsWindow(r.findDialog)) win::DestroyWindow(r.findDialog);
    r.findDialog = nullptr;
    editorCloseAllFileHandles(r);
}

// The Edit popup at the mouse, or from the keyboard one line below the caret.
void contextMenu(const EditorWindowRecord& r, win::HWND frame, win::LPARAM lp) {
    if (!r.editPopup) return;
    win::POINT at{static_cast<short>(win::LOWORD(lp)), static_cast<short>(win::HIWORD(lp))};
    if (lp == -1) {
        win::CHARRANGE sel;
        win::SendMessageA(r.editControl, win::EM_EXGETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
        const auto packed = win::SendMessageA(r.editControl, win::EM_POSFROMCHAR,
                                              static_cast<win::WPARAM>(sel.cpMax), 0);
        at = {static_cast<short>(win::LOWORD(packed)),
              static_cast<short>(win::HIWORD(packed) + r.lineHeight)};
        win::ClientToScreen(r.editControl, &at);
    }
    editorInitPopup(r, r.editPopup);
    win::TrackPopupMenu(r.editPopup, 0, at.x, at.y, 0, frame, nullptr);
}

// An inside-parent editor comes to the top and takes the focus when clicked.
void activateInsideParent(const EditorWindowRecord& r, win::HWND frame) {
    if (!hasChildStyle(frame)) return;
    win::BringWindowToTop(frame);
    const win::HWND focus = win::GetFocus();
    bool inside = false;
    for (win::HWND h = focus; h; h = win::GetParent(h))
        if (h == frame) inside = true;
    if (!inside && r.focusControl) win::SetFocus(r.focusControl);
    FocusWindowActivate(frame);
}

}  // namespace

win::LRESULT EditorWindowProc(win::HWND frame, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    EditorWindowRecord* r = editorRecordOf(frame);
    if (!r) return FrameWindowProcedure(frame, msg, wp, lp);
    switch (msg) {
        case win::WM_SIZE: {
            const win::LRESULT result = passOn(r, frame, msg, wp, lp);
            editorLayout(frame, *r);
            return result;
        }
        case win::WM_SETFOCUS:
            windowSystem().FocusWindow = frame;
            if (r->focusControl) win::SetFocus(r->focusControl);
            return 0;
        case win::WM_ERASEBKGND:
            return 1;
        case win::WM_CLOSE:
            editorCloseRequest(frame, *r);
            return 0;
        case win::WM_DESTROY: {
            destroyed(frame, *r);
            const win::WNDPROC previous = r->previousProc;
            // A modal editor's loop still reads the record; it frees it.
            if (r->mode == 1)
                setFrameRecord(r->window, nullptr);
            else
                editorDetach(r->window);
            return previous ? win::CallWindowProcA(previous, frame, msg, wp, lp)
                            : FrameWindowProcedure(frame, msg, wp, lp);
        }
        case win::WM_NOTIFY:
            return notify(*r, frame, *reinterpret_cast<win::NMHDR*>(lp), lp);
        case win::WM_COMMAND:
            return command(*r, frame, wp, lp);
        case win::WM_MENUSELECT:
            if (menuSelect(*r, wp, lp)) return 0;
            return passOn(r, frame, msg, wp, lp);
        case win::WM_ENTERMENULOOP:
        case win::WM_EXITMENULOOP:
            if (r->statusBar) simpleStatus(*r, msg == win::WM_ENTERMENULOOP, "");
            return 0;
        case win::WM_INITMENUPOPUP:
            editorInitPopup(*r, reinterpret_cast<win::HMENU>(wp));
            return 0;
        case win::WM_CONTEXTMENU:
            contextMenu(*r, frame, lp);
            return 0;
        case win::WM_MOUSEACTIVATE:
            activateInsideParent(*r, frame);
            return win::MA_ACTIVATE;
        case win::WM_PARENTNOTIFY: {
            const auto event = win::LOWORD(wp);
            if (event == win::WM_LBUTTONDOWN || event == win::WM_RBUTTONDOWN ||
                event == win::WM_MBUTTONDOWN)
                activateInsideParent(*r, frame);
            return 0;
        }
        default:
            if (msg == editorFindMessage() && lp) {
                editorFindNotification(frame, *r, *reinterpret_cast<win::FINDREPLACEA*>(lp));
                return 0;
            }
            return passOn(r, frame, msg, wp, lp);
    }
}

}  // namespace tk
