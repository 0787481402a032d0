// Cursors: the shapes the program asks for by identifier, the current cursor
// and the default WM_SETCURSOR handling.

#include "platform/window/image_api.h"
#include "platform/window/presenter.h"
#include "platform/window/window_internal.h"

namespace win {
namespace {

// Predefined cursors are handles that carry their identifier.
constexpr std::uintptr_t kCursorBase = 0x7F0000;

bool isStockCursorId(WORD id) {
    switch (id) {
        case IDC_ARROW_ID:
        case IDC_IBEAM_ID:
        case IDC_WAIT_ID:
        case IDC_CROSS_ID:
        case IDC_UPARROW_ID:
        case IDC_SIZENWSE_ID:
        case IDC_SIZENESW_ID:
        case IDC_SIZEWE_ID:
        case IDC_SIZENS_ID:
        case IDC_SIZEALL_ID:
        case IDC_NO_ID:
        case IDC_HAND_ID:
        case IDC_APPSTARTING_ID:
            return true;
        default:
            return false;
    }
}

}  // namespace

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (instance || !IS_INTRESOURCE(name))
        return static_cast<HCURSOR>(LoadImageA(instance, name, IMAGE_CURSOR, 0, 0, LR_SHARED));
    const auto id = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name));
    if (!isStockCursorId(id)) return nullptr;
    return reinterpret_cast<HCURSOR>(kCursorBase + id);
}

// The identifier of a predefined cursor handle, or 0.
int cursorShapeOf(HCURSOR cursor) {
    const auto v = reinterpret_cast<std::uintptr_t>(cursor);
    if (v <= kCursorBase || v > kCursorBase + 0xFFFF) return 0;
    const auto id = static_cast<WORD>(v - kCursorBase);
    return isStockCursorId(id) ? id : 0;
}

HCURSOR SetCursor(HCURSOR cursor) {
    auto& s = detail::state();
    const HCURSOR old = s.cursor;
    s.cursor = cursor;
    if (old != cursor)
        if (Presenter* p = currentPresenter()) p->setCursorShape(cursorShapeOf(cursor));
    return old;
}

HCURSOR GetCursor() {
    return detail::state().cursor;
}

int ShowCursor(BOOL show) {
    auto& s = detail::state();
    s.cursorShowCount += show ? 1 : -1;
    return s.cursorShowCount;
}

namespace detail {

LRESULT setCursorDefault(Window* w, LRESULT hit, UINT) {
    LPCSTR shape = IDC_ARROW;
    switch (hit) {
        case HTCLIENT:
            if (w->cls->cursor) {
                SetCursor(w->cls->cursor);
                return TRUE;
            }
            return FALSE;
        case HTLEFT:
        case HTRIGHT:
            shape = IDC_SIZEWE;
            break;
        case HTTOP:
        case HTBOTTOM:
            shape = IDC_SIZENS;
            break;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT:
            shape = IDC_SIZENWSE;
            break;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT:
            shape = IDC_SIZENESW;
            break;
        default:
            break;
    }
    SetCursor(LoadCursorA(nullptr, shape));
    return TRUE;
}

}  // namespace detail
}  // namespace win
