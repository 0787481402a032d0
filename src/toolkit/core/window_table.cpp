#include "toolkit/core/window_table.h"

#include "toolkit/core/window_hooks.h"

namespace tk {

WindowSystem& windowSystem() {
    static WindowSystem w;
    return w;
}

void resetWindowSystem() {
    windowSystem() = WindowSystem{};
}

WindowDialogHooks& windowDialogHooks() {
    static WindowDialogHooks h;
    return h;
}

WindowEditorHooks& windowEditorHooks() {
    static WindowEditorHooks h;
    return h;
}

WindowGraphicsHooks& windowGraphicsHooks() {
    static WindowGraphicsHooks h;
    return h;
}

WindowBarHooks& windowBarHooks() {
    static WindowBarHooks h;
    return h;
}

FrameUserRecord* frameRecord(win::HWND frame) {
    if (!frame || !win::IsWindow(frame)) return nullptr;
    return reinterpret_cast<FrameUserRecord*>(win::GetWindowLongPtrA(frame, win::GWLP_USERDATA));
}

void setFrameRecord(int window, std::unique_ptr<FrameUserRecord> record) {
    WindowSlot& slot = windowSystem().slots[window];
    if (slot.frame)
        win::SetWindowLongPtrA(slot.frame, win::GWLP_USERDATA,
                               reinterpret_cast<win::LONG_PTR>(record.get()));
    slot.record = std::move(record);
}

bool hasChildStyle(win::HWND h) {
    return (win::GetWindowLongA(h, win::GWL_STYLE) & win::WS_CHILD) != 0;
}

void clientSizeOf(win::HWND h, int& width, int& height) {
    win::RECT r{};
    win::GetClientRect(h, &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
}

bool windowIsOpen(int window) {
    return window >= 0 && window < kWindowSlots && windowSystem().slots[window].frame;
}

void WindowIsOpen(int window, int& open) {
    open = windowIsOpen(window) ? 1 : 0;
}

int WindowSlotOfHandle(win::HWND handle) {
    if (!handle) return -1;
    const WindowSystem& w = windowSystem();
    for (int n = 0; n < kWindowSlots; ++n)
        if (w.slots[n].frame == handle || w.slots[n].client == handle) return n;
    for (int n = 1; n < kWindowSlots; ++n) {
        const FrameUserRecord* r = frameRecord(w.slots[n].frame);
        if (r && r->kind() == KindBitmapViewer && r->handle(5) == handle) return n;
    }
    return -1;
}

int FreeChildSlot() {
    for (int n = 1; n < kWindowSlots; ++n)
        if (!windowSystem().slots[n].frame) return n;
    return -1;
}

void ParentWindowSlot(int& parent) {
    parent = -1;
    const WindowSystem& w = windowSystem();
    win::HWND frame = w.slots[w.CurrentSlot].frame;
    if (!frame || !hasChildStyle(frame)) return;
    // The parent is the containing window's client, which lies in its frame.
    parent = WindowSlotOfHandle(win::GetParent(win::GetParent(frame)));
}

namespace {

bool liesIn(win::HWND inner, win::HWND outer) {
    return inner == outer || win::IsChild(outer, inner);
}

}  // namespace

void FocusWindowActivate(win::HWND handle) {
    if (handle && WindowSlotOfHandle(handle) != -1) win::SetFocus(handle);
    const WindowSystem& w = windowSystem();
    for (int n = 1; n < kWindowSlots; ++n) {
        win::HWND frame = w.slots[n].frame;
        if (!frame) continue;
        bool active = handle && liesIn(handle, frame);
        win::SendMessageA(frame, win::WM_NCACTIVATE, active ? 1 : 0, 0);
    }
    if (windowDialogHooks().loadedDialogs)
        for (win::HWND d : windowDialogHooks().loadedDialogs())
            win::SendMessageA(d, win::WM_NCACTIVATE, d == handle ? 1 : 0, 0);
}

}  // namespace tk
