#include "platform/x11/x11_keys.h"

#include <X11/keysym.h>

#include "platform/window/input_queue.h"
#include "platform/window/user_constants.h"

namespace win::x11 {

int virtualKeyOfKeysym(unsigned long ks) {
    if (ks >= XK_a && ks <= XK_z) return static_cast<int>(ks - XK_a) + 'A';
    if (ks >= XK_A && ks <= XK_Z) return static_cast<int>(ks - XK_A) + 'A';
    if (ks >= XK_0 && ks <= XK_9) return static_cast<int>(ks - XK_0) + '0';
    if (ks >= XK_F1 && ks <= XK_F24) return VK_F1 + static_cast<int>(ks - XK_F1);
    if (ks >= XK_KP_0 && ks <= XK_KP_9) return VK_NUMPAD0 + static_cast<int>(ks - XK_KP_0);
    switch (ks) {
        case XK_BackSpace:
            return VK_BACK;
        case XK_Tab:
        case XK_ISO_Left_Tab:
            return VK_TAB;
        case XK_Return:
        case XK_KP_Enter:
            return VK_RETURN;
        case XK_Escape:
            return VK_ESCAPE;
        case XK_space:
            return VK_SPACE;
        case XK_Shift_L:
        case XK_Shift_R:
            return VK_SHIFT;
        case XK_Control_L:
        case XK_Control_R:
            return VK_CONTROL;
        case XK_Alt_L:
        case XK_Alt_R:
        case XK_Meta_L:
        case XK_Meta_R:
            return VK_MENU;
        case XK_Pause:
            return VK_PAUSE;
        case XK_Caps_Lock:
            return VK_CAPITAL;
        case XK_Num_Lock:
            return VK_NUMLOCK;
        case XK_Scroll_Lock:
            return VK_SCROLL;
        case XK_Prior:
        case XK_KP_Prior:
            return VK_PRIOR;
        case XK_Next:
        case XK_KP_Next:
            return VK_NEXT;
        case XK_End:
        case XK_KP_End:
            return VK_END;
        case XK_Home:
        case XK_KP_Home:
            return VK_HOME;
        case XK_Left:
        case XK_KP_Left:
            return VK_LEFT;
        case XK_Up:
        case XK_KP_Up:
            return VK_UP;
        case XK_Right:
        case XK_KP_Right:
            return VK_RIGHT;
        case XK_Down:
        case XK_KP_Down:
            return VK_DOWN;
        case XK_Insert:
        case XK_KP_Insert:
            return VK_INSERT;
        case XK_Delete:
        case XK_KP_Delete:
            return VK_DELETE;
        case XK_Print:
            return VK_SNAPSHOT;
        case XK_KP_Begin:
            return VK_CLEAR;
        case XK_KP_Multiply:
            return VK_MULTIPLY;
        case XK_KP_Add:
            return VK_ADD;
        case XK_KP_Separator:
            return VK_SEPARATOR;
        case XK_KP_Subtract:
            return VK_SUBTRACT;
        case XK_KP_Decimal:
            return VK_DECIMAL;
        case XK_KP_Divide:
            return VK_DIVIDE;
        default:
            break;
    }
    // Punctuation: the key that types the character on the US layout.
    if (ks >= 0x20 && ks < 0x7F) {
        int vk = 0;
        bool shift = false;
        if (virtualKeyOfChar(static_cast<unsigned char>(ks), vk, shift)) return vk;
    }
    return 0;
}

}  // namespace win::x11
