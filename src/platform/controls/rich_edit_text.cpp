// The rich-edit control's text: characters with formats and paragraph
// layouts, replacing the selection, positions as each version counts them,
// protected characters, and the steps of undo and redo.

#include <algorithm>

#include "platform/controls/rich_edit_internal.h"

namespace win::controls::rich {

int formatIndex(Rich& r, const RichFormat& f) {
    for (std::size_t i = 0; i < r.formats.size(); ++i)
        if (r.formats[i] == f) return static_cast<int>(i);
    r.formats.push_back(f);
    return static_cast<int>(r.formats.size()) - 1;
}

int formatAt(const Rich& r, std::size_t i) {
    if (i < r.fmt.size()) return r.fmt[i];
    return r.insertFormat;
}

std::size_t paragraphStart(const Rich& r, std::size_t i) {
    while (i > 0 && r.text[i - 1] != '\r')
        --i;
    return i;
}

BYTE paraAt(const Rich& r, std::size_t i) {
    const std::size_t start = paragraphStart(r, std::min(i, r.text.size()));
    return start < r.para.size() ? r.para[start] : r.insertPara;
}

LONG toCp(const Rich& r, std::size_t pos) {
    pos = std::min(pos, r.text.size());
    if (r.version >= 2) return static_cast<LONG>(pos);
    const auto marks = std::count(r.text.begin(), r.text.begin() + static_cast<long>(pos), '\r');
    return static_cast<LONG>(pos + static_cast<std::size_t>(marks));
}

std::size_t fromCp(const Rich& r, LONG cp) {
    if (cp <= 0) return 0;
    if (r.version >= 2) return std::min(static_cast<std::size_t>(cp), r.text.size());
    // A position between CR and LF falls on the paragraph mark.
    LONG at = 0;
    for (std::size_t i = 0; i < r.text.size(); ++i) {
        at += r.text[i] == '\r' ? 2 : 1;
        if (at > cp) return i;
        if (at == cp) return i + 1;
    }
    return r.text.size();
}

std::string shownText(const Rich& r, const std::string& inner) {
    return r.version >= 2 ? inner : toOutside(inner);
}

// Line ends of other text become paragraph marks.
std::string fromOutside(const std::string& s) {
    std::string t;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
        t += s[i] == '\n' ? '\r' : s[i];
    }
    return t;
}

std::string toOutside(const std::string& s) {
    std::string t;
    for (char c : s) {
        if (c == '\r')
            t += "\r\n";
        else
            t += c;
    }
    return t;
}

// New text takes the format of the first character it replaces, else the
// format at the caret.
int typingFormat(const Rich& r) {
    const std::size_t a = selMin(r);
    return (a != selMax(r) && a < r.fmt.size()) ? r.fmt[a] : r.insertFormat;
}

void changed(HWND h, Rich& r) {
    r.modified = true;
    if (r.eventMask & ENM_UPDATE) notifyCommand(h, EN_UPDATE);
    if (r.eventMask & ENM_CHANGE) notifyCommand(h, EN_CHANGE);
}

namespace {

// Messages through which a user (or a program acting for one) edits or
// copies the text; only they are held back by protection.
bool guardedMessage(UINT msg) {
    switch (msg) {
        case WM_CHAR:
        case WM_KEYDOWN:
        case WM_CUT:
        case WM_COPY:
        case WM_PASTE:
        case WM_CLEAR:
        case EM_REPLACESEL:
        case EM_SETCHARFORMAT:
            return true;
        default:
            return false;
    }
}

bool isProtected(const Rich& r, std::size_t i) {
    return (r.formats[static_cast<std::size_t>(r.fmt[i])].effects & CFE_PROTECTED) != 0;
}

Piece makePiece(const Rich& r, const std::string& text, int format, BYTE para) {
    (void)r;
    return Piece{text, std::vector<int>(text.size(), format), std::vector<BYTE>(text.size(), para)};
}

// Puts a piece in place of `count` characters at `at`.
void put(Rich& r, std::size_t at, std::size_t count, const Piece& p) {
    const auto a = static_cast<long>(at), b = static_cast<long>(at + count);
    r.text.replace(at, count, p.text);
    r.fmt.erase(r.fmt.begin() + a, r.fmt.begin() + b);
    r.fmt.insert(r.fmt.begin() + a, p.fmt.begin(), p.fmt.end());
    r.para.erase(r.para.begin() + a, r.para.begin() + b);
    r.para.insert(r.para.begin() + a, p.para.begin(), p.para.end());
}

void record(Rich& r, UndoStep step) {
    r.redo.clear();
    if (r.undoLimit == 0) return;
    // Typing that goes on where the last typing stopped joins its step.
    if (step.typing && r.grouping && !r.undo.empty()) {
        UndoStep& last = r.undo.back();
        if (last.typing && last.at + last.after.text.size() == step.at) {
            // What the new typing replaced (overwriting) lay just after what
            // the step replaced.
            last.before.text += step.before.text;
            last.before.fmt.insert(last.before.fmt.end(), step.before.fmt.begin(),
                                   step.before.fmt.end());
            last.before.para.insert(last.before.para.end(), step.before.para.begin(),
                                    step.before.para.end());
            last.after.text += step.after.text;
            last.after.fmt.insert(last.after.fmt.end(), step.after.fmt.begin(),
                                  step.after.fmt.end());
            last.after.para.insert(last.after.para.end(), step.after.para.begin(),
                                   step.after.para.end());
            return;
        }
    }
    r.undo.push_back(std::move(step));
    if (r.undo.size() > r.undoLimit)
        r.undo.erase(r.undo.begin(), r.undo.end() - static_cast<long>(r.undoLimit));
}

}  // namespace

Piece pieceOf(const Rich& r, std::size_t a, std::size_t b) {
    const auto x = static_cast<long>(a), y = static_cast<long>(b);
    return Piece{r.text.substr(a, b - a), std::vector<int>(r.fmt.begin() + x, r.fmt.begin() + y),
                 std::vector<BYTE>(r.para.begin() + x, r.para.begin() + y)};
}

bool mayChange(HWND h, Rich& r, std::size_t a, std::size_t b) {
    if (!(r.eventMask & ENM_PROTECTED) || !guardedMessage(r.msg)) return true;
    bool touched = false;
    for (std::size_t i = a; i < b && !touched; ++i)
        touched = isProtected(r, i);
    if (a == b && a > 0 && a < r.text.size()) touched = isProtected(r, a - 1) && isProtected(r, a);
    if (!touched) return true;
    ENPROTECTED ep;
    ep.msg = r.msg;
    ep.wParam = r.wParam;
    ep.lParam = r.lParam;
    ep.chrg = {toCp(r, a), toCp(r, b)};
    return notifyParent(h, EN_PROTECTED, &ep) == 0;
}

bool replace(HWND h, Rich& r, const std::string& insert, int format, bool undoable, bool typing) {
    const std::size_t a = selMin(r), b = selMax(r);
    std::string add = insert;
    const std::size_t room = r.limit - std::min(r.limit, r.text.size() - (b - a));
    if (add.size() > room) add.resize(room);
    if (add.empty() && a == b) return false;
    if (!mayChange(h, r, a, b)) return false;
    UndoStep step;
    step.at = a;
    step.before = pieceOf(r, a, b);
    step.after = makePiece(r, add, format, paraAt(r, a));
    step.anchor = r.anchor;
    step.caret = r.caret;
    step.typing = typing;
    put(r, a, b - a, step.after);
    if (undoable)
        record(r, std::move(step));
    else
        forgetUndo(r);  // the steps kept would no longer fit the text
    r.anchor = r.caret = a;
    setSelection(h, r, a + add.size(), a + add.size());
    r.grouping = typing;
    changed(h, r);
    return true;
}

void recordFormatChange(Rich& r, std::size_t a, const Piece& before) {
    UndoStep step;
    step.at = a;
    step.before = before;
    step.after = pieceOf(r, a, a + before.text.size());
    step.anchor = r.anchor;
    step.caret = r.caret;
    if (step.before.fmt != step.after.fmt || step.before.para != step.after.para)
        record(r, std::move(step));
    r.grouping = false;
}

void forgetUndo(Rich& r) {
    r.undo.clear();
    r.redo.clear();
    r.grouping = false;
}

bool undo(HWND h, Rich& r) {
    if (r.undo.empty()) return false;
    UndoStep step = std::move(r.undo.back());
    r.undo.pop_back();
    put(r, step.at, step.after.text.size(), step.before);
    const std::size_t anchor = step.anchor, caret = step.caret;
    r.redo.push_back(std::move(step));
    setSelection(h, r, anchor, caret);
    r.grouping = false;
    changed(h, r);
    return true;
}

bool redo(HWND h, Rich& r) {
    if (r.redo.empty()) return false;
    UndoStep step = std::move(r.redo.back());
    r.redo.pop_back();
    put(r, step.at, step.before.text.size(), step.after);
    const std::size_t end = step.at + step.after.text.size();
    // A change of formats keeps its characters selected.
    const bool sameText = step.before.text == step.after.text;
    const std::size_t start = sameText ? step.at : end;
    r.undo.push_back(std::move(step));
    setSelection(h, r, start, end);
    r.grouping = false;
    changed(h, r);
    return true;
}

void setUndoLimit(Rich& r, std::size_t limit) {
    r.undoLimit = limit;
    if (r.undo.size() > limit)
        r.undo.erase(r.undo.begin(), r.undo.end() - static_cast<long>(limit));
    if (limit == 0) r.redo.clear();
}

}  // namespace win::controls::rich
