#include "toolkit/editors/editor_positions.h"

#include <algorithm>
#include <string>

#include "platform/controls/controls_api.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/window/user_api.h"
#include "toolkit/editors/editor_text.h"

namespace tk {
namespace {

win::LRESULT send(win::HWND h, win::UINT msg, win::WPARAM wp = 0, win::LPARAM lp = 0) {
    return win::SendMessageA(h, msg, wp, lp);
}

// Keeps the control's view while it is read: hidden, then shown again with
// the same first line.
class ViewKeeper {
  public:
    ViewKeeper(win::HWND control, bool frozen) : control_(control), frozen_(frozen) {
        if (frozen_) return;
        first_ = send(control_, win::EM_GETFIRSTVISIBLELINE);
        visible_ = win::IsWindowVisible(control_) != 0;
        focused_ = win::GetFocus() == control_;
        if (visible_) win::ShowWindow(control_, win::SW_HIDE);
    }
    ~ViewKeeper() {
        if (frozen_) return;
        const auto now = send(control_, win::EM_GETFIRSTVISIBLELINE);
        if (now != first_) send(control_, win::EM_LINESCROLL, 0, first_ - now);
        if (visible_) win::ShowWindow(control_, win::SW_SHOW);
        if (focused_ && win::GetFocus() != control_) win::SetFocus(control_);
    }
    ViewKeeper(const ViewKeeper&) = delete;
    ViewKeeper& operator=(const ViewKeeper&) = delete;

  private:
    win::HWND control_;
    bool frozen_;
    win::LRESULT first_ = 0;
    bool visible_ = false;
    bool focused_ = false;
};

}  // namespace

bool editorConverts(const EditorWindowRecord& r) {
    return editorControlVersion(r) >= 2 && !r.nativePositions;
}

void editorToControlPositions(EditorWindowRecord& r, int a, int b, int& ac, int& bc) {
    if (!editorConverts(r)) {
        ac = a, bc = b;
        return;
    }
    ViewKeeper keep(r.editControl, r.displayFrozen);
    if (r.cacheControl < 0 || r.cacheProgram < 0 || a < r.cacheProgram || b < r.cacheProgram)
        r.cacheControl = r.cacheProgram = 0;
    const int last = std::max(a, b) + 1;
    const std::string text = editorControlRange(r, r.cacheControl, last);
    int control = r.cacheControl, program = r.cacheProgram;
    bool foundA = false, foundB = false;
    const auto check = [&] {
        if (!foundA && program == a) ac = control, foundA = true;
        if (!foundB && program == b) bc = control, foundB = true;
    };
    std::size_t i = 0;
    for (; i < text.size() && !(foundA && foundB) && control <= last; ++i) {
        check();
        if (text[i] == '\r') {
            ++program;
            check();
        }
        ++control, ++program;
    }
    check();
    if (!foundA) ac = control;
    if (!foundB) bc = control;
    r.cacheControl = control;
    r.cacheProgram = program;
}

void EditorToControlPositions(int a, int b, int& ac, int& bc) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r) {
        ac = a, bc = b;
        return;
    }
    editorToControlPositions(*r, a, b, ac, bc);
}

int EditorTextLength(win::HWND control, bool frozen) {
    if (!control) return 0;
    win::CHARRANGE sel;
    if (!frozen) send(control, win::EM_EXGETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    int length = 0;
    {
        ViewKeeper keep(control, frozen);
        length = static_cast<int>(send(control, win::WM_GETTEXTLENGTH));
    }
    if (!frozen) send(control, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    return length;
}

int EditorCountBreaks(win::HWND control, int position) {
    if (!control || position <= 0) return 0;
    std::string text(static_cast<std::size_t>(position) * 2 + 1, '\0');
    win::TEXTRANGEA range;
    range.chrg = {0, position};
    range.lpstrText = text.data();
    const auto n = send(control, win::EM_GETTEXTRANGE, 0, reinterpret_cast<win::LPARAM>(&range));
    text.resize(static_cast<std::size_t>(std::max<win::LRESULT>(0, n)));
    return static_cast<int>(std::count(text.begin(), text.end(), '\r'));
}

int editorProgramPosition(const EditorWindowRecord& r, int position) {
    return editorConverts(r) ? position + EditorCountBreaks(r.editControl, position) : position;
}

}  // namespace tk
