// Message boxes: a dialog made for each box (text, icon and the buttons of
// its set), modal to its owner or, with MB_TASKMODAL and no owner, to every
// window of the program. Answers that a test prepared are given by clicking
// the button, as a user would.

#include "platform/message_box.h"

#include <algorithm>
#include <deque>
#include <vector>

#include "platform/controls/controls_api.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/dialogs/dialog_internal.h"
#include "platform/dialogs/dialog_template.h"
#include "platform/gdi/gdi.h"
#include "platform/robot/robot.h"
#include "platform/window/image_api.h"
#include "platform/window/input_queue.h"
#include "platform/window/presenter.h"

namespace win {
namespace {

struct MessageBoxLog {
    std::deque<int> answers;
    std::vector<testing::MessageBoxRecord> boxes;
    int beeps = 0;
};

MessageBoxLog& log() {
    static MessageBoxLog state;
    return state;
}

constexpr int kIconId = 20;
constexpr int kTextId = 0xFFFF;
constexpr UINT kGiveAnswer = WM_APP + 0x3A5;

// The buttons of each set, left to right.
std::vector<int> buttonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {IDOK, IDCANCEL};
        case MB_ABORTRETRYIGNORE:
            return {IDABORT, IDRETRY, IDIGNORE};
        case MB_YESNOCANCEL:
            return {IDYES, IDNO, IDCANCEL};
        case MB_YESNO:
            return {IDYES, IDNO};
        case MB_RETRYCANCEL:
            return {IDRETRY, IDCANCEL};
        default:
            return {IDOK};
    }
}

const char* buttonText(int id) {
    switch (id) {
        case IDOK:
            return "OK";
        case IDCANCEL:
            return "Cancel";
        case IDABORT:
            return "&Abort";
        case IDRETRY:
            return "&Retry";
        case IDIGNORE:
            return "&Ignore";
        case IDYES:
            return "&Yes";
        case IDNO:
            return "&No";
        default:
            return "";
    }
}

int defaultPosition(UINT type, std::size_t count) {
    int position = 0;
    if ((type & MB_DEFMASK) == MB_DEFBUTTON2) position = 1;
    if ((type & MB_DEFMASK) == MB_DEFBUTTON3) position = 2;
    return std::min(position, static_cast<int>(count) - 1);
}

LPCSTR iconOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            return IDI_HAND;
        case MB_ICONQUESTION:
            return IDI_QUESTION;
        case MB_ICONEXCLAMATION:
            return IDI_EXCLAMATION;
        case MB_ICONASTERISK:
            return IDI_ASTERISK;
        default:
            return nullptr;
    }
}

struct BoxRequest {
    HWND owner = nullptr;
    UINT type = 0;
    std::vector<int> buttons;
    std::optional<int> answer;  // pressed for the user once the box is up
};

// The box's size and places, in dialog units of the box's font.
dialogs::DialogTemplate layout(const char* text, const char* caption, const BoxRequest& r) {
    dialogs::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    t.hasFont = true;
    t.caption = caption;
    HFONT font = CreateFontA(-11, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, t.face.c_str());
    const SIZE base = dialogs::baseUnitsOf(font);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT tr{0, 0, 420, 0};
    DrawTextA(dc, text, -1, &tr, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    const int textW = (tr.right - tr.left) * 4 / base.cx + 2;
    const int textH = std::max(8, static_cast<int>((tr.bottom - tr.top) * 8 / base.cy) + 1);
    const bool icon = iconOf(r.type) != nullptr;
    const int iconSize = 32 * 4 / base.cx + 1, iconH = 32 * 8 / base.cy + 1;
    const int textX = icon ? 10 + iconSize + 8 : 10;
    const int contentH = std::max(textH, icon ? iconH : 0);
    const int buttonW = 50, buttonH = 14, gap = 4;
    const int buttonsW = static_cast<int>(r.buttons.size()) * (buttonW + gap) - gap;
    t.cx = std::max(textX + textW + 10, buttonsW + 20);
    const int buttonY = 10 + contentH + 10;
    t.cy = buttonY + buttonH + 7;
    if (icon) {
        dialogs::TemplateItem it;
        it.className = "Static";
        it.style = WS_CHILD | WS_VISIBLE | SS_ICON;
        it.id = kIconId;
        it.x = 10;
        it.y = 10;
        it.cx = iconSize;
        it.cy = iconH;
        t.items.push_back(it);
    }
    dialogs::TemplateItem label;
    label.className = "Static";
    label.style = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | WS_GROUP;
    label.id = kTextId;
    label.text = text;
    label.x = textX;
    label.y = 10 + (contentH - textH) / 2;
    label.cx = textW;
    label.cy = textH;
    t.items.push_back(label);
    const int def = defaultPosition(r.type, r.buttons.size());
    int x = (t.cx - buttonsW) / 2;
    for (std::size_t i = 0; i < r.buttons.size(); ++i) {
        dialogs::TemplateItem b;
        b.className = "Button";
        b.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                  (static_cast<int>(i) == def ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                  (i == 0 ? WS_GROUP : 0);
        b.id = r.buttons[i];
        b.text = buttonText(r.buttons[i]);
        b.x = x;
        b.y = buttonY;
        b.cx = buttonW;
        b.cy = buttonH;
        t.items.push_back(b);
        x += buttonW + gap;
    }
    return t;
}

void centreOn(HWND box, HWND owner) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &area);
    RECT r;
    GetWindowRect(box, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    int x = area.left + (area.right - area.left - w) / 2;
    int y = area.top + (area.bottom - area.top - h) / 2;
    x = std::clamp(x, 0, std::max(0, GetSystemMetrics(SM_CXSCREEN) - w));
    y = std::clamp(y, 0, std::max(0, GetSystemMetrics(SM_CYSCREEN) - h));
    SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Clicks a button of the box through the input queue, once it is shown.
void pressLater(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    if (!button) {
        // An answer the box has no button for (a test's choice) is given as it is.
        PostMessageA(box, kGiveAnswer, static_cast<WPARAM>(id), 0);
        return;
    }
    RECT r;
    GetWindowRect(button, &r);
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    injectMouseMove(x, y);
    injectMouseButton(x, y, 0, true);
    injectMouseButton(x, y, 0, false);
}

INT_PTR boxProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG: {
            const auto* r = reinterpret_cast<const BoxRequest*>(lp);
            SetWindowLongPtrA(h, DWLP_USER, lp);
            if (LPCSTR icon = iconOf(r->type))
                SendDlgItemMessageA(h, kIconId, STM_SETICON,
                                    reinterpret_cast<WPARAM>(LoadIconA(nullptr, icon)), 0);
            // Without a Cancel button the close box only closes an OK box.
            const bool closes =
                std::find(r->buttons.begin(), r->buttons.end(), IDCANCEL) != r->buttons.end() ||
                r->buttons.size() == 1;
            if (!closes)
                SetWindowLongA(h, GWL_STYLE,
                               GetWindowLongA(h, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_SYSMENU));
            centreOn(h, r->owner);
            const int def =
                r->buttons[static_cast<std::size_t>(defaultPosition(r->type, r->buttons.size()))];
            SendMessageA(h, DM_SETDEFID, static_cast<WPARAM>(def), 0);
            dialogs::focusControl(h, GetDlgItem(h, def));
            if (r->answer) pressLater(h, *r->answer);
            return FALSE;
        }
        case kGiveAnswer:
            EndDialog(h, static_cast<INT_PTR>(wp));
            return TRUE;
        case WM_COMMAND: {
            const auto* r = reinterpret_cast<const BoxRequest*>(GetWindowLongPtrA(h, DWLP_USER));
            int id = LOWORD(wp);
            if (!r || HIWORD(wp) != BN_CLICKED) return FALSE;
            const bool has =
                std::find(r->buttons.begin(), r->buttons.end(), id) != r->buttons.end();
            // Escape (and the close box) answer OK in a box with OK alone.
            if (id == IDCANCEL && !has) {
                if (r->buttons.size() != 1) return TRUE;
                id = r->buttons.front();
            }
            if (id < IDOK || id > IDNO) return FALSE;
            EndDialog(h, id);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

// The windows a task-modal box disables: every enabled visible top-level window.
std::vector<HWND> disableTask() {
    std::vector<HWND> off;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
        if (IsWindowVisible(w) && IsWindowEnabled(w)) off.push_back(w);
    for (HWND w : off)
        EnableWindow(w, FALSE);
    return off;
}

}  // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    MessageBoxLog& s = log();
    BoxRequest r;
    r.owner = (owner && IsWindow(owner)) ? GetAncestor(owner, GA_ROOT) : nullptr;
    r.type = type;
    r.buttons = buttonsOf(type);
    if (!s.answers.empty()) {
        r.answer = s.answers.front();
        s.answers.pop_front();
    } else if (!currentPresenter() && !robot::playing()) {
        // Nobody can answer a box on a screen nobody sees: its default button is pressed.
        r.answer = r.buttons[static_cast<std::size_t>(defaultPosition(type, r.buttons.size()))];
    }
    testing::MessageBoxRecord record{owner, text ? text : "", caption ? caption : "Error", type, 0};
    if (r.answer && *r.answer == 0) {
        s.boxes.push_back(record);  // a box that cannot be shown fails
        return 0;
    }
    const auto bytes =
        dialogs::buildTemplate(layout(record.text.c_str(), record.caption.c_str(), r));
    std::vector<HWND> disabled;
    if ((type & MB_TASKMODAL) && !r.owner) disabled = disableTask();
    const INT_PTR result = DialogBoxIndirectParamA(nullptr, bytes.data(), r.owner, boxProc,
                                                   reinterpret_cast<LPARAM>(&r));
    for (HWND w : disabled)
        if (IsWindow(w)) EnableWindow(w, TRUE);
    record.answer = result > 0 ? static_cast<int>(result) : 0;
    s.boxes.push_back(record);
    return record.answer;
}

BOOL MessageBeep(UINT) {
    ++log().beeps;
    if (Presenter* p = currentPresenter()) p->beep();
    return TRUE;
}

namespace testing {

void queueMessageBoxAnswer(int answer) {
    log().answers.push_back(answer);
}
const std::vector<MessageBoxRecord>& messageBoxes() {
    return log().boxes;
}
std::optional<MessageBoxRecord> lastMessageBox() {
    if (log().boxes.empty()) return std::nullopt;
    return log().boxes.back();
}
int beepCount() {
    return log().beeps;
}
void resetMessageBoxes() {
    log() = MessageBoxLog{};
}

}  // namespace testing
}  // namespace win
