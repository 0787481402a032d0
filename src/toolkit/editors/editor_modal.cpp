#include "toolkit/editors/editor_modal.h"

#include "platform/dialogs/dialog_api.h"
#include "platform/window/user_api.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_table.h"
#include "toolkit/editors/editor_record.h"

namespace tk {
namespace {

constexpr win::UINT kSystemTimer = 0x0118;

bool closed(int window) {
    const EditorWindowRecord* r = editorRecordOfWindow(window);
    return !r || r->closed;
}

void dispatchOne(int window, win::MSG& m) {
    const EditorWindowRecord* r = editorRecordOfWindow(window);
    if (r) {
        win::HWND frame = windowSystem().slots[static_cast<std::size_t>(window)].frame;
        if (r->editorAccelerators && frame &&
            win::TranslateAcceleratorA(frame, r->editorAccelerators, &m))
            return;
        if (r->findDialog && win::IsWindow(r->findDialog) && win::IsDialogMessageA(r->findDialog, &m))
            return;
    }
    win::TranslateMessage(&m);
    if (m.message == kSystemTimer && win::LOWORD(m.wParam) == 0xFFF6) return;
    win::DispatchMessageA(&m);
}

}  // namespace

void editorModalWindowGone(int window) {
    WindowSystem& w = windowSystem();
    WindowSlot& slot = w.slots[static_cast<std::size_t>(window)];
    if (slot.frame && win::IsWindow(slot.frame)) return;
    slot = WindowSlot{};
    if (seams().modalFrame) seams().modalFrame->end(nullptr);
    if (w.CurrentWindow == window || w.CurrentSlot == window) OutputWindowSelect(0);
    win::HWND root = w.slots[0].frame;
    if (root) {
        FocusWindowActivate(root);
        win::SetFocus(root);
    }
}

void editorModalLoop(int window) {
    if (EditorWindowRecord* r = editorRecordOfWindow(window)) r->closed = 0;
    win::MSG m;
    while (!closed(window) && win::GetMessageA(&m, nullptr, 0, 0) > 0)
        dispatchOne(window, m);
    editorDetach(window);
    editorModalWindowGone(window);
}

}  // namespace tk
