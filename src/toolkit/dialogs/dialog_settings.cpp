#include "toolkit/dialogs/dialog_settings.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/gdi/gdi.h"
#include "platform/resources/resource_api.h"
#include "platform/window/user_api.h"
#include "toolkit/dialogs/control_atoms.h"
#include "toolkit/dialogs/dialog_hooks.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_procedure.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_lists.h"
#include "toolkit/dialogs/field_record.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/dialogs/value_text.h"

namespace tk {
namespace {

enum class Section {
    None,
    Ranges,
    Menus,
    Checks,
    Tabs,
    Grids,
    Colours,
    Trackbars,
    Lengths,
    Dialog,
    Formats,
    Treeviews,
    Fonts,
    Flags
};

struct Header {
    std::string_view text;
    Section section;
};

constexpr Header kHeaders[] = {
    {"[Ranges]", Section::Ranges},       {"[Menus]", Section::Menus},
    {"[Checks]", Section::Checks},       {"[Tabs]", Section::Tabs},
    {"[Grids]", Section::Grids},         {"[Colours]", Section::Colours},
    {"[Trackbars]", Section::Trackbars}, {"[Lengths]", Section::Lengths},
    {"[Dialog]", Section::Dialog},       {"[Formats]", Section::Formats},
    {"[Treeviews]", Section::Treeviews}, {"[Fonts]", Section::Fonts},
    {"[Flags]", Section::Flags},
};

constexpr std::size_t kItemLimit = 1024;

// A reader over the settings text: positions move within the current line
// and on to the next.
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}
    bool atEnd() const { return pos_ >= text_.size() || text_[pos_] == '\0'; }
    void skipBlanks() {
        while (!atEnd() && text_[pos_] == ' ')
            ++pos_;
    }
    std::string_view restOfLine() const {
        std::size_t end = pos_;
        while (end < text_.size() && text_[end] != '\n' && text_[end] != '\0')
            ++end;
        return text_.substr(pos_, end - pos_);
    }
    void nextLine() {
        while (!atEnd() && text_[pos_] != '\n')
            ++pos_;
        if (!atEnd()) ++pos_;
    }
    // The next blank-separated word of the line.
    std::string_view word() {
        skipBlanks();
        std::size_t start = pos_;
        while (!atEnd() && text_[pos_] != ' ' && text_[pos_] != '\n')
            ++pos_;
        return text_.substr(start, pos_ - start);
    }
    int integer() { return parseInteger(word()); }
    double real() {
        double v = 0.0;
        TextToDoubleQuiet(v, word());
        return v;
    }
    // The text from the position to its end, for readers that take a block of lines.
    std::string_view rest() const { return text_.substr(pos_); }
    void advance(std::size_t n) { pos_ = std::min(pos_ + n, text_.size()); }
    static int parseInteger(std::string_view w) {
        std::size_t i = 0;
        bool negative = false;
        if (i < w.size() && w[i] == '-') negative = true, ++i;
        long long v = 0;
        while (i < w.size() && w[i] >= '0' && w[i] <= '9' && v < 100000000000LL)
            v = v * 10 + (w[i++] - '0');
        v = negative ? -v : v;
        return static_cast<int>(std::clamp<long long>(v, -2147483647LL - 1, 2147483647LL));
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

std::string settingsTrimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r'))
        s.remove_suffix(1);
    return std::string(s);
}

int captionInteger(win::HWND h) {
    std::string t = windowText(h, 17);
    std::size_t i = t.find_first_not_of(' ');
    return i == std::string::npos ? 0 : Reader::parseInteger(std::string_view(t).substr(i));
}

void applyRanges(win::HWND c, Reader& r) {
    const double lo = r.real(), hi = r.real();
    const ControlClass cls = controlClassOf(c);
    if (cls == ControlClass::Progress) {
        win::SendMessageA(c, win::PBM_SETRANGE, 0,
                          win::MAKELONG(static_cast<int>(lo), static_cast<int>(hi)));
        win::SendMessageA(c, win::PBM_SETPOS, static_cast<win::WPARAM>(captionInteger(c)), 0);
    } else if (cls == ControlClass::Trackbar) {
        win::SendMessageA(c, win::TBM_SETRANGEMIN, win::FALSE, static_cast<int>(lo));
        win::SendMessageA(c, win::TBM_SETRANGEMAX, win::FALSE, static_cast<int>(hi));
        win::SendMessageA(c, win::TBM_SETPOS, win::TRUE, captionInteger(c));
    } else if (c) {
        FieldRangeSet(c, lo, hi);
    }
}

void applyMenus(win::HWND c, Reader& r, int slot) {
    const int count = r.integer();
    const int selected = r.integer();
    const int index = slot == -1 ? 0 : selected - 1;
    const bool list = controlClassIs(c, ControlClass::ListBox);
    if (c) win::SendMessageA(c, list ? win::LB_RESETCONTENT : win::CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count && !r.atEnd(); ++i) {
        r.nextLine();
        if (r.atEnd()) break;
        std::string item(r.restOfLine().substr(0, kItemLimit));
        item = settingsTrimRight(item);
        if (c)
            win::SendMessageA(c, list ? win::LB_ADDSTRING : win::CB_ADDSTRING, 0,
                              reinterpret_cast<win::LPARAM>(item.c_str()));
    }
    if (c && index != -1)
        win::SendMessageA(c, list ? win::LB_SETCURSEL : win::CB_SETCURSEL,
                          static_cast<win::WPARAM>(index), 0);
}

void applyTabs(win::HWND dialog, win::HWND c, Reader& r) {
    const int count = r.integer();
    const int selectedId = r.integer();
    DialogTable& t = dialogTable();
    const int savedSlot = t.currentSlot;
    int selectPos = 0;
    std::vector<int> pages;
    for (int i = 0; i < count && !r.atEnd(); ++i) {
        r.nextLine();
        if (r.atEnd()) break;
        const int pageId = r.integer();
        r.skipBlanks();
        std::string caption(r.restOfLine().substr(0, kItemLimit));
        if (!caption.empty() && caption.back() == '\r') caption.pop_back();
        if (!caption.empty()) caption.pop_back();  // the blank before the line feed
        if (c) {
            struct {
                win::TCITEMHEADERA head;
                TabItemExtra extra;
            } item;
            item.head.mask = win::TCIF_TEXT | win::TCIF_PARAM;
            item.head.pszText = caption.data();
            item.head.iImage = -1;
            item.extra.pageId = pageId;
            win::SendMessageA(c, win::TCM_INSERTITEMA, static_cast<win::WPARAM>(i),
                              reinterpret_cast<win::LPARAM>(&item));
        }
        if (pageId == selectedId) selectPos = i;
        int resource = pageId;
        DialogCreateFromResource(resource, pageId, 0, false);
        pages.push_back(pageId);
    }
    if (c) {
        const win::RECT area = tabDisplayRect(c);
        for (int id : pages)
            if (win::HWND page = dialogWindowOf(id); page && page != dialog)
                win::SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left,
                                  area.bottom - area.top, win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    }
    t.currentSlot = savedSlot;
    if (c) win::SendMessageA(c, win::TCM_SETCURSEL, static_cast<win::WPARAM>(selectPos), 0);
}

void applyTrackbars(win::HWND c, Reader& r) {
    const int tick = r.integer(), line = r.integer(), page = r.integer();
    const int start = r.integer(), end = r.integer();
    if (!controlClassIs(c, ControlClass::Trackbar)) return;
    win::SendMessageA(c, win::TBM_SETTICFREQ, static_cast<win::WPARAM>(tick), 0);
    win::SendMessageA(c, win::TBM_SETLINESIZE, 0, line);
    win::SendMessageA(c, win::TBM_SETPAGESIZE, 0, page);
    if (!(win::GetWindowLongPtrA(c, win::GWL_STYLE) & win::TBS_ENABLESELRANGE)) return;
    if (start == end)
        win::SendMessageA(c, win::TBM_CLEARSEL, win::TRUE, 0);
    else
        win::SendMessageA(c, win::TBM_SETSEL, win::TRUE, win::MAKELONG(start, end));
}

void applyLengths(win::HWND c, Reader& r) {
    const int length = r.integer();
    if (isEditLike(c)) win::SendMessageA(c, win::EM_LIMITTEXT, static_cast<win::WPARAM>(length), 0);
    if (controlClassIs(c, ControlClass::ComboBox))
        win::SendMessageA(c, win::CB_LIMITTEXT, static_cast<win::WPARAM>(length), 0);
    if (FieldRecord* f = fieldRecordOf(c)) f->maximumLength = length;
}

void applyDialog(win::HWND dialog, int resizable, Reader& r) {
    DialogRecord* rec = dialogRecordOf(dialog);
    if (rec) rec->resizable() = resizable != 0 ? 1 : 0;
    if (r.restOfLine().find_first_not_of(" \r") == std::string_view::npos) return;
    const int stretchId = r.integer();
    const int others = r.integer();
    win::HWND stretch = stretchId != 0 ? win::GetDlgItem(dialog, stretchId) : nullptr;
    if (!stretch || !rec) return;
    rec->stretchField = stretch;
    DialogStretchRules(dialog, stretch, others != 0);
    DialogAddSizeGrip(dialog);
}

void applyFonts(win::HWND c, Reader& r) {
    const int points = r.integer();
    r.skipBlanks();
    std::string_view rest = r.restOfLine();
    const std::size_t comma = rest.find(',');
    std::string face(rest.substr(0, comma == std::string_view::npos ? rest.size() : comma));
    face = settingsTrimRight(face);
    if (comma == std::string_view::npos) return;
    r.advance(comma + 1);
    const int weight = r.integer();
    const int italic = r.integer();
    if (!c) return;
    win::HDC dc = win::GetDC(nullptr);
    const int dpi = win::GetDeviceCaps(dc, win::LOGPIXELSY);
    win::ReleaseDC(nullptr, dc);
    const int height = -static_cast<int>((static_cast<long long>(points) * dpi + 36) / 72);
    win::HFONT font = win::CreateFontA(height, 0, 0, 0, weight, italic == 1, 0, 0,
                                       win::DEFAULT_CHARSET, win::OUT_TT_PRECIS, 0, 0,
                                       win::FF_MODERN | win::VARIABLE_PITCH, face.c_str());
    if (font)
        win::SendMessageA(c, win::WM_SETFONT, reinterpret_cast<win::WPARAM>(font), win::FALSE);
}

void applyLine(win::HWND dialog, Section section, Reader& r, int slot) {
    const int id = r.integer();
    win::HWND c = section == Section::Dialog ? nullptr : win::GetDlgItem(dialog, id);
    FieldRecord* f = fieldRecordOf(c);
    switch (section) {
        case Section::Ranges:
            applyRanges(c, r);
            break;
        case Section::Menus:
            applyMenus(c, r, slot);
            break;
        case Section::Checks:
            if (c) win::CheckDlgButton(dialog, id, static_cast<win::UINT>(r.integer()));
            break;
        case Section::Tabs:
            applyTabs(dialog, controlClassIs(c, ControlClass::Tab) ? c : nullptr, r);
            break;
        case Section::Grids:
            if (c && dialogPartHooks().gridDefineFromTemplate) {
                r.skipBlanks();
                // The grid reads its line and the block of row labels after
                // it; the reading goes on with the line after that block.
                const std::string_view rest = r.rest();
                const auto used = static_cast<std::size_t>(
                    std::max(dialogPartHooks().gridDefineFromTemplate(c, rest), 0));
                const bool block = rest.substr(0, used).find('\n') != std::string_view::npos;
                r.advance(block ? used - 1 : used);
            }
            break;
        case Section::Colours: {
            std::array<int, 6> v{};
            for (int& x : v)
                x = r.integer();
            FieldColourStore(c, 0, v[0], v[1], v[2]);
            FieldColourStore(c, 1, v[3], v[4], v[5]);
            break;
        }
        case Section::Trackbars:
            applyTrackbars(c, r);
            break;
        case Section::Lengths:
            applyLengths(c, r);
            break;
        case Section::Dialog:
            applyDialog(dialog, id, r);
            break;
        case Section::Formats: {
            r.skipBlanks();
            std::string format = settingsTrimRight(r.restOfLine());
            if (f && !format.empty()) f->formatText = format;
            break;
        }
        case Section::Treeviews: {
            const int menuId = r.integer();
            const int selectedId = r.integer();
            if (controlClassIs(c, ControlClass::TreeView)) TreeFillFromMenu(c, menuId, selectedId);
            break;
        }
        case Section::Fonts:
            applyFonts(c, r);
            break;
        case Section::Flags: {
            const int value = r.integer();
            if (f) f->flags = value;
            break;
        }
        case Section::None:
            break;
    }
}

bool contains(const win::RECT& outer, const win::RECT& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

bool takesPart(win::HWND c) {
    const ControlClass cls = controlClassOf(c);
    return cls != ControlClass::UpDown && cls != ControlClass::Dialog &&
           cls != ControlClass::ScrollBar && fieldRecordOf(c) != nullptr;
}

win::RECT fieldRect(win::HWND dialog, win::HWND c) {
    win::RECT r{};
    win::GetWindowRect(c, &r);
    win::MapWindowPoints(nullptr, dialog, reinterpret_cast<win::POINT*>(&r), 2);
    FieldRecord* f = fieldRecordOf(c);
    if (f && f->buddy && win::IsWindow(f->buddy)) {
        win::RECT b{};
        win::GetWindowRect(f->buddy, &b);
        win::MapWindowPoints(nullptr, dialog, reinterpret_cast<win::POINT*>(&b), 2);
        r.right = b.right;
    }
    return r;
}

}  // namespace

int SettingsHeaderMatch(std::string_view header, std::string_view line) {
    const std::size_t n = std::min(header.size(), line.size());
    for (std::size_t i = 0; i < n; ++i)
        if (header[i] != line[i])
            return static_cast<unsigned char>(header[i]) - static_cast<unsigned char>(line[i]);
    return 0;
}

void DialogStretchRules(win::HWND dialog, win::HWND stretch, bool others) {
    win::RECT client{};
    win::GetClientRect(dialog, &client);
    const win::RECT s = fieldRect(dialog, stretch);
    std::vector<win::HWND> fields;
    for (win::HWND c = win::GetWindow(dialog, win::GW_CHILD); c;
         c = win::GetWindow(c, win::GW_HWNDNEXT))
        if (takesPart(c)) fields.push_back(c);
    for (win::HWND c : fields) {
        FieldRecord& f = *fieldRecordOf(c);
        const win::RECT r0 = fieldRect(dialog, c);
        f.stretchRight = client.right - r0.right;
        f.stretchBottom = client.bottom - r0.bottom;
        f.stretchFlags = 0;
    }
    for (win::HWND c : fields) {
        FieldRecord& f = *fieldRecordOf(c);
        const win::RECT r0 = fieldRect(dialog, c);
        win::RECT r = r0;
        if (c == stretch) {
            f.stretchFlags |= kStretchRight | kStretchBottom;
            continue;
        }
        for (win::HWND a : fields) {
            if (a == c) continue;
            const win::RECT ra = fieldRect(dialog, a);
            if (!contains(ra, r)) continue;
            if (a == stretch) continue;
            if (!contains(ra, s)) r = ra;
        }
        int flags = 0;
        const bool leftCond = r.left != s.left || r0.left == s.left;
        if (others && r.right == s.right) {
            if (leftCond) {
                flags |= kStretchRight;
                if (r0.left != s.left) flags |= kStretchLeft;
            }
        } else if (r.left >= s.right) {
            flags |= kStretchLeft | kStretchRight;
        }
        const bool topCond = r.top != s.top || r0.top == s.top;
        if (others && r.bottom == s.bottom) {
            if (topCond) {
                flags |= kStretchBottom;
                if (r0.top != s.top) flags |= kStretchTop;
            }
        } else if (r.top >= s.bottom) {
            flags |= kStretchTop | kStretchBottom;
        }
        const win::DWORD type =
            static_cast<win::DWORD>(win::GetWindowLongPtrA(c, win::GWL_STYLE)) & win::SS_TYPEMASK;
        if (controlClassIs(c, ControlClass::Static)) {
            if (type == win::SS_ETCHEDHORZ && !(flags & kStretchTop)) flags &= ~kStretchBottom;
            if (type == win::SS_ETCHEDVERT && !(flags & kStretchLeft)) flags &= ~kStretchRight;
        }
        f.stretchFlags |= flags;
    }
    // Whatever encloses the stretch field grows with it.
    for (win::HWND a : fields)
        if (a != stretch && contains(fieldRect(dialog, a), s))
            fieldRecordOf(a)->stretchFlags |= kStretchRight | kStretchBottom;
}

void DialogApplySettings(win::HWND dialog, int resourceId, int slot) {
    win::HRSRC found =
        win::FindResourceA(nullptr, win::MAKEINTRESOURCEA(static_cast<win::WORD>(resourceId)),
                           win::MAKEINTRESOURCEA(win::RT_RCDATA_ID));
    if (!found) return;
    const auto* data =
        static_cast<const char*>(win::LockResource(win::LoadResource(nullptr, found)));
    if (!data) return;
    std::string_view text(data, win::SizeofResource(nullptr, found));
    Reader r(text);
    Section section = Section::None;
    while (!r.atEnd()) {
        r.skipBlanks();
        std::string_view line = r.restOfLine();
        bool header = false;
        for (const Header& h : kHeaders)
            if (line.size() >= h.text.size() && SettingsHeaderMatch(h.text, line) == 0) {
                section = h.section;
                header = true;
                break;
            }
        if (!header && section != Section::None && !line.empty() &&
            line.find_first_not_of(" \r") != std::string_view::npos)
            applyLine(dialog, section, r, slot);
        r.nextLine();
    }
}

}  // namespace tk
