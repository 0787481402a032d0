// SysTreeView32: items in a tree, expanded and collapsed with buttons, the
// mouse and the keyboard; the parent hears of selections and expansions.
// Items may carry pictures of an image list, drawn before the labels, and
// with TVS_EDITLABELS their labels are edited in place.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/control_classes.h"
#include "platform/controls/control_support.h"
#include "platform/controls/controls_api.h"

namespace win::controls {
namespace {

struct Node {
    std::string text;
    LPARAM param = 0;
    UINT state = 0;
    int image = 0, selectedImage = 0;
    int childrenFlag = -1;  // from TVIF_CHILDREN; -1: count the children
    Node* parent = nullptr;
    std::vector<Node*> children;
};

struct Tree {
    std::map<std::uintptr_t, std::unique_ptr<Node>> nodes;
    Node root;
    Node* selected = nullptr;
    int top = 0;  // first visible row
    int indent = 19;
    HFONT font = nullptr;
    bool focus = false;
    HIMAGELIST images = nullptr, stateImages = nullptr;
    // Editing a label: the edit control (kept hidden between edits), the item
    // and whether the edit is being ended (its loss of focus must not end it twice).
    HWND edit = nullptr;
    WNDPROC editProc = nullptr;
    Node* editing = nullptr;
    bool ending = false;
    Node* editPending = nullptr;  // a click on the selected label waits to start an edit
};

constexpr UINT_PTR kEditTimer = 41;
constexpr UINT kEditDelay = 500;  // the double-click time: a second click cancels
constexpr int kEditId = 1;

Records<Tree>& records() {
    static Records<Tree> r;
    return r;
}

HTREEITEM handleOf(const Node* n) {
    return reinterpret_cast<HTREEITEM>(const_cast<Node*>(n));
}

Node* nodeOf(Tree& t, HTREEITEM h) {
    if (h == TVI_ROOT || !h) return nullptr;
    auto it = t.nodes.find(reinterpret_cast<std::uintptr_t>(h));
    return it == t.nodes.end() ? nullptr : it->second.get();
}

bool expanded(const Node* n) {
    return (n->state & TVIS_EXPANDED) != 0;
}
bool hasChildren(const Node* n) {
    return n->childrenFlag >= 0 ? n->childrenFlag != 0 : !n->children.empty();
}

void visible(const Node& parent, int depth, std::vector<std::pair<Node*, int>>& out) {
    for (Node* c : parent.children) {
        out.emplace_back(c, depth);
        if (expanded(c)) visible(*c, depth + 1, out);
    }
}

std::vector<std::pair<Node*, int>> rows(const Tree& t) {
    std::vector<std::pair<Node*, int>> out;
    visible(t.root, 0, out);
    return out;
}

SIZE imageSize(const Tree& t) {
    int cx = 0, cy = 0;
    if (t.images) ImageList_GetIconSize(t.images, &cx, &cy);
    return {cx, cy};
}

// The room a picture takes before the label.
int imageRoom(const Tree& t) {
    return t.images ? imageSize(t).cx + 3 : 0;
}

int rowHeight(const Tree& t) {
    return std::max({16, lineHeight(t.font) + 3, static_cast<int>(imageSize(t).cy) + 1});
}

int rowOf(const Tree& t, const Node* n) {
    const auto r = rows(t);
    for (std::size_t i = 0; i < r.size(); ++i)
        if (r[i].first == n) return static_cast<int>(i);
    return -1;
}

int levelOffset(HWND h, const Tree& t, int depth) {
    const bool atRoot = (styleOf(h) & TVS_LINESATROOT) != 0;
    return (depth + (atRoot ? 1 : 0)) * t.indent;
}

void fillTvItem(const Node& n, TVITEMA* it) {
    it->hItem = handleOf(&n);
    if ((it->mask & TVIF_TEXT) && it->pszText && it->cchTextMax > 0) {
        const std::size_t k =
            std::min<std::size_t>(static_cast<std::size_t>(it->cchTextMax) - 1, n.text.size());
        std::memcpy(it->pszText, n.text.data(), k);
        it->pszText[k] = 0;
    }
    if (it->mask & TVIF_PARAM) it->lParam = n.param;
    if (it->mask & TVIF_STATE) it->state = n.state & (it->stateMask ? it->stateMask : 0xFFFF);
    if (it->mask & TVIF_IMAGE) it->iImage = n.image;
    if (it->mask & TVIF_SELECTEDIMAGE) it->iSelectedImage = n.selectedImage;
    if (it->mask & TVIF_CHILDREN) it->cChildren = hasChildren(&n) ? 1 : 0;
}

void takeTvItem(Node& n, const TVITEMA* it) {
    if ((it->mask & TVIF_TEXT) && it->pszText) n.text = it->pszText;
    if (it->mask & TVIF_PARAM) n.param = it->lParam;
    if (it->mask & TVIF_STATE) n.state = (n.state & ~it->stateMask) | (it->state & it->stateMask);
    if (it->mask & TVIF_IMAGE) n.image = it->iImage;
    if (it->mask & TVIF_SELECTEDIMAGE) n.selectedImage = it->iSelectedImage;
    if (it->mask & TVIF_CHILDREN) n.childrenFlag = it->cChildren ? 1 : 0;
}

LRESULT notifyTree(HWND h, UINT code, UINT action, const Node* oldNode, const Node* newNode) {
    NMTREEVIEWA nm;
    nm.action = action;
    if (oldNode) {
        nm.itemOld.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
        fillTvItem(*oldNode, &nm.itemOld);
    }
    if (newNode) {
        nm.itemNew.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
        fillTvItem(*newNode, &nm.itemNew);
    }
    return notifyParent(h, code, &nm);
}

void ensureVisible(HWND h, Tree& t, Node* n) {
    for (Node* p = n ? n->parent : nullptr; p && p != &t.root; p = p->parent)
        p->state |= TVIS_EXPANDED;
    const int r = rowOf(t, n);
    RECT rc;
    GetClientRect(h, &rc);
    const int shown = std::max(1, static_cast<int>(rc.bottom / rowHeight(t)));
    if (r >= 0 && r < t.top) t.top = r;
    if (r >= t.top + shown) t.top = r - shown + 1;
}

bool select(HWND h, Tree& t, Node* n, UINT action) {
    if (n == t.selected) return true;
    if (notifyTree(h, TVN_SELCHANGINGA, action, t.selected, n)) return false;
    Node* old = t.selected;
    if (old) old->state &= ~TVIS_SELECTED;
    t.selected = n;
    if (n) {
        n->state |= TVIS_SELECTED;
        ensureVisible(h, t, n);
    }
    InvalidateRect(h, nullptr, TRUE);
    notifyTree(h, TVN_SELCHANGEDA, action, old, n);
    return true;
}

bool expand(HWND h, Tree& t, Node* n, UINT how) {
    if (!n) return false;
    const bool open = expanded(n);
    const bool want = how == TVE_TOGGLE ? !open : how == TVE_EXPAND;
    if (want == open) return false;
    if (want && !hasChildren(n)) return false;
    const UINT action = want ? TVE_EXPAND : TVE_COLLAPSE;
    if (notifyTree(h, TVN_ITEMEXPANDINGA, action, nullptr, n)) return false;
    if (want)
        n->state |= TVIS_EXPANDED;
    else
        n->state &= ~TVIS_EXPANDED;
    // A selection hidden in the collapsed branch moves up to it.
    if (!want)
        for (Node* p = t.selected ? t.selected->parent : nullptr; p; p = p->parent)
            if (p == n) {
                select(h, t, n, TVC_UNKNOWN);
                break;
            }
    InvalidateRect(h, nullptr, TRUE);
    notifyTree(h, TVN_ITEMEXPANDEDA, action, nullptr, n);
    return true;
}

void endEdit(HWND h, Tree& t, bool cancel, bool refocus = true);

void removeNode(HWND h, Tree& t, Node* n) {
    for (Node* c : std::vector<Node*>(n->children))
        removeNode(h, t, c);
    if (t.editing == n) endEdit(h, t, true);
    if (t.editPending == n) t.editPending = nullptr;
    if (t.selected == n) t.selected = nullptr;
    notifyTree(h, TVN_DELETEITEMA, 0, n, nullptr);
    auto& siblings = n->parent->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), n));
    t.nodes.erase(reinterpret_cast<std::uintptr_t>(n));
}

HTREEITEM insert(HWND h, Tree& t, const TVINSERTSTRUCTA* ins) {
    Node* parent = ins->hParent && ins->hParent != TVI_ROOT ? nodeOf(t, ins->hParent) : &t.root;
    if (!parent) return nullptr;
    auto node = std::make_unique<Node>();
    takeTvItem(*node, &ins->item);
    node->state &= ~TVIS_SELECTED;
    node->parent = parent;
    Node* n = node.get();
    auto& kids = parent->children;
    if (ins->hInsertAfter == TVI_FIRST) {
        kids.insert(kids.begin(), n);
    } else if (ins->hInsertAfter == TVI_SORT) {
        auto at = std::find_if(kids.begin(), kids.end(),
                               [&](const Node* k) { return k->text > n->text; });
        kids.insert(at, n);
    } else if (Node* after = nodeOf(t, ins->hInsertAfter); after && after->parent == parent) {
        kids.insert(std::find(kids.begin(), kids.end(), after) + 1, n);
    } else {
        kids.push_back(n);
    }
    t.nodes.emplace(reinterpret_cast<std::uintptr_t>(n), std::move(node));
    InvalidateRect(h, nullptr, TRUE);
    return handleOf(n);
}

Node* sibling(Node* n, int step) {
    auto& kids = n->parent->children;
    const auto it = std::find(kids.begin(), kids.end(), n);
    const long i = (it - kids.begin()) + step;
    return (i < 0 || i >= static_cast<long>(kids.size())) ? nullptr
                                                          : kids[static_cast<std::size_t>(i)];
}

Node* nextItem(HWND h, Tree& t, UINT code, Node* n) {
    (void)h;
    const auto r = rows(t);
    switch (code) {
        case TVGN_ROOT:
            return t.root.children.empty() ? nullptr : t.root.children.front();
        case TVGN_CARET:
            return t.selected;
        case TVGN_FIRSTVISIBLE:
            return t.top < static_cast<int>(r.size()) ? r[static_cast<std::size_t>(t.top)].first
                                                      : nullptr;
        default:
            break;
    }
    if (!n) return nullptr;
    switch (code) {
        case TVGN_NEXT:
            return sibling(n, 1);
        case TVGN_PREVIOUS:
            return sibling(n, -1);
        case TVGN_PARENT:
            return n->parent == &t.root ? nullptr : n->parent;
        case TVGN_CHILD:
            return n->children.empty() ? nullptr : n->children.front();
        case TVGN_NEXTVISIBLE:
        case TVGN_PREVIOUSVISIBLE: {
            const int i = rowOf(t, n) + (code == TVGN_NEXTVISIBLE ? 1 : -1);
            return (i < 0 || i >= static_cast<int>(r.size()) || rowOf(t, n) < 0)
                       ? nullptr
                       : r[static_cast<std::size_t>(i)].first;
        }
        default:
            return nullptr;
    }
}

RECT buttonRect(HWND h, const Tree& t, int row, int depth) {
    const int x = levelOffset(h, t, depth) - t.indent / 2 + 2;
    const int y = (row - t.top) * rowHeight(t) + rowHeight(t) / 2;
    return {x - 4, y - 4, x + 5, y + 5};
}

// The picture of an item, asked of the parent for I_IMAGECALLBACK.
int imageOf(HWND h, const Node& n, bool selected) {
    const int i = selected ? n.selectedImage : n.image;
    if (i != I_IMAGECALLBACK) return i;
    NMTVDISPINFOA info;
    info.item.mask = selected ? TVIF_SELECTEDIMAGE : TVIF_IMAGE;
    info.item.hItem = handleOf(&n);
    info.item.state = n.state;
    info.item.lParam = n.param;
    notifyParent(h, TVN_GETDISPINFOA, &info);
    return selected ? info.item.iSelectedImage : info.item.iImage;
}

RECT labelRect(HWND h, const Tree& t, const Node& n, int row, int depth) {
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, fontOrDefault(t.font));
    const int w = textWidth(dc, n.text) + 4;
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    const int x = levelOffset(h, t, depth) + imageRoom(t) + 2;
    const int y = (row - t.top) * rowHeight(t);
    return {x, y, x + w, y + rowHeight(t)};
}

TVHITTESTINFO hitTest(HWND h, Tree& t, POINT p) {
    TVHITTESTINFO info;
    info.pt = p;
    info.flags = TVHT_NOWHERE;
    const auto r = rows(t);
    const int row = t.top + p.y / rowHeight(t);
    if (p.y < 0 || row >= static_cast<int>(r.size())) return info;
    Node* n = r[static_cast<std::size_t>(row)].first;
    const int depth = r[static_cast<std::size_t>(row)].second;
    info.hItem = handleOf(n);
    const RECT b = buttonRect(h, t, row, depth);
    const bool buttons =
        (styleOf(h) & TVS_HASBUTTONS) && (depth > 0 || (styleOf(h) & TVS_LINESATROOT));
    if (buttons && hasChildren(n) && p.x >= b.left - 2 && p.x < b.right + 2)
        info.flags = TVHT_ONITEMBUTTON;
    else if (p.x >= levelOffset(h, t, depth) + imageRoom(t))
        info.flags = TVHT_ONITEMLABEL;
    else if (p.x >= levelOffset(h, t, depth))
        info.flags = TVHT_ONITEMICON;
    else
        info.flags = TVHT_ONITEMINDENT;
    return info;
}

void paint(HWND h, Tree& t) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    HBRUSH bg = controlColour(h, dc, WM_CTLCOLOREDIT);
    FillRect(dc, &rc, bg);
    SelectObject(dc, fontOrDefault(t.font));
    SetBkMode(dc, TRANSPARENT);
    const DWORD style = styleOf(h);
    const COLORREF line = GetSysColor(COLOR_BTNSHADOW);
    const auto r = rows(t);
    const int rh = rowHeight(t);
    for (int i = t.top; i < static_cast<int>(r.size()); ++i) {
        const int y = (i - t.top) * rh;
        if (y > rc.bottom) break;
        Node* n = r[static_cast<std::size_t>(i)].first;
        const int depth = r[static_cast<std::size_t>(i)].second;
        const int x = levelOffset(h, t, depth);
        const bool lines = (style & TVS_HASLINES) && (depth > 0 || (style & TVS_LINESATROOT));
        const RECT b = buttonRect(h, t, i, depth);
        const int cx = (b.left + b.right) / 2, cy = y + rh / 2;
        if (lines) {
            for (int k = cx; k < x; k += 2)
                SetPixelV(dc, k, cy, line);
            const int bottom = sibling(n, 1) ? y + rh : cy;
            for (int k = y; k < bottom; k += 2)
                SetPixelV(dc, cx, k, line);
            for (Node* p = n->parent; p && p->parent && p != &t.root; p = p->parent) {
                if (!sibling(p, 1)) continue;
                int depthOf = 0;
                for (Node* q = p->parent; q && q != &t.root; q = q->parent)
                    ++depthOf;
                const int px =
                    (buttonRect(h, t, i, depthOf).left + buttonRect(h, t, i, depthOf).right) / 2;
                for (int k = y; k < y + rh; k += 2)
                    SetPixelV(dc, px, k, line);
            }
        }
        if ((style & TVS_HASBUTTONS) && hasChildren(n) &&
            (depth > 0 || (style & TVS_LINESATROOT))) {
            fillSolid(dc, b, GetSysColor(COLOR_WINDOW));
            FrameRect(dc, &b, sysBrush(COLOR_BTNSHADOW));
            drawLine(dc, b.left + 2, cy, b.right - 2, cy, GetSysColor(COLOR_WINDOWTEXT));
            if (!expanded(n))
                drawLine(dc, cx, b.top + 2, cx, b.bottom - 2, GetSysColor(COLOR_WINDOWTEXT));
        }
        if (t.images) {
            const SIZE is = imageSize(t);
            ImageList_Draw(t.images, imageOf(h, *n, n == t.selected), dc, x, y + (rh - is.cy) / 2,
                           ILD_TRANSPARENT);
        }
        const int w = textWidth(dc, n->text) + 4;
        const int lx = x + imageRoom(t);
        const RECT label{lx + 2, y, lx + 2 + w, y + rh};
        const bool sel = n == t.selected && (t.focus || (style & TVS_SHOWSELALWAYS));
        if (sel)
            fillSolid(dc, label,
                      t.focus ? GetSysColor(COLOR_HIGHLIGHT) : GetSysColor(COLOR_BTNFACE));
        SetTextColor(
            dc, sel && t.focus ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_WINDOWTEXT));
        TextOutA(dc, label.left + 2, y + 1, n->text.data(), static_cast<int>(n->text.size()));
        if (n == t.selected && t.focus) drawFocus(dc, label);
    }
    EndPaint(h, &ps);
}

LRESULT labelEditProc(HWND e, UINT msg, WPARAM wp, LPARAM lp);
WNDPROC editClassProc = nullptr;  // the EDIT class's own procedure

// Ends an edit: the parent hears TVN_ENDLABELEDITA with the new text (none
// when cancelled) and a non-zero answer keeps it. The tree takes the focus
// back unless the focus is already going elsewhere.
void endEdit(HWND h, Tree& t, bool cancel, bool refocus) {
    if (!t.editing || t.ending) return;
    t.ending = true;
    Node* n = t.editing;
    const int length = GetWindowTextLengthA(t.edit);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(t.edit, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    NMTVDISPINFOA info;
    info.item.mask = TVIF_TEXT | TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
    info.item.hItem = handleOf(n);
    info.item.state = n->state;
    info.item.lParam = n->param;
    info.item.pszText = cancel ? nullptr : text.data();
    info.item.cchTextMax = cancel ? 0 : length + 1;
    const LRESULT keep = notifyParent(h, TVN_ENDLABELEDITA, &info);
    if (!cancel && keep && t.nodes.count(reinterpret_cast<std::uintptr_t>(n))) n->text = text;
    t.editing = nullptr;
    if (refocus && GetFocus() == t.edit) SetFocus(h);
    ShowWindow(t.edit, SW_HIDE);
    t.ending = false;
    InvalidateRect(h, nullptr, TRUE);
}

// Starts editing a label: the parent may refuse through TVN_BEGINLABELEDITA;
// otherwise an edit control over the label takes the focus with its text
// selected.
HWND beginEdit(HWND h, Tree& t, Node* n) {
    if (!n) return nullptr;
    if (t.editing) endEdit(h, t, false);
    KillTimer(h, kEditTimer);
    t.editPending = nullptr;
    select(h, t, n, TVC_UNKNOWN);
    ensureVisible(h, t, n);
    if (!t.edit) {
        t.edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, 0, 0, 10, 10,
                                 h, reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(kEditId)),
                                 nullptr, nullptr);
        if (!t.edit) return nullptr;
        t.editProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(t.edit, GWLP_WNDPROC));
        editClassProc = t.editProc;
        SetWindowLongPtrA(t.edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(labelEditProc));
    }
    SendMessageA(t.edit, WM_SETFONT, reinterpret_cast<WPARAM>(fontOrDefault(t.font)), FALSE);
    SendMessageA(t.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(n->text.c_str()));
    t.editing = n;
    NMTVDISPINFOA info;
    info.item.mask = TVIF_TEXT | TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
    info.item.hItem = handleOf(n);
    info.item.state = n->state;
    info.item.lParam = n->param;
    info.item.pszText = n->text.data();
    info.item.cchTextMax = static_cast<int>(n->text.size()) + 1;
    if (notifyParent(h, TVN_BEGINLABELEDITA, &info) || t.editing != n) {
        t.editing = nullptr;
        return nullptr;
    }
    int depth = 0;
    for (Node* q = n->parent; q && q != &t.root; q = q->parent)
        ++depth;
    const RECT r = labelRect(h, t, *n, rowOf(t, n), depth);
    RECT rc;
    GetClientRect(h, &rc);
    const int w = std::max(static_cast<int>(r.right - r.left) + 24, 60);
    MoveWindow(t.edit, r.left - 1, r.top, std::min(w, static_cast<int>(rc.right - r.left) + 1),
               r.bottom - r.top, TRUE);
    ShowWindow(t.edit, SW_SHOW);
    SetFocus(t.edit);
    SendMessageA(t.edit, EM_SETSEL, 0, -1);
    return t.edit;
}

// The edit control of a label: Enter keeps the text, Escape drops it, and
// the focus leaving keeps it.
LRESULT labelEditProc(HWND e, UINT msg, WPARAM wp, LPARAM lp) {
    HWND h = GetParent(e);
    Tree* t = records().get(h);
    if (!t || !t->editProc) return CallWindowProcA(editClassProc, e, msg, wp, lp);
    switch (msg) {
        case WM_GETDLGCODE:
            return CallWindowProcA(t->editProc, e, msg, wp, lp) | DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
            if (wp == VK_RETURN || wp == VK_ESCAPE) {
                endEdit(h, *t, wp == VK_ESCAPE);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wp == '\r' || wp == 27 || wp == '\n') return 0;
            break;
        case WM_KILLFOCUS: {
            const WNDPROC proc = t->editProc;
            const LRESULT r = CallWindowProcA(proc, e, msg, wp, lp);
            endEdit(h, *t, false, false);
            return r;
        }
        default:
            break;
    }
    return CallWindowProcA(t->editProc, e, msg, wp, lp);
}

void key(HWND h, Tree& t, WPARAM vk) {
    Node* n = t.selected;
    const auto r = rows(t);
    if (r.empty()) return;
    if (!n) {
        select(h, t, r.front().first, TVC_BYKEYBOARD);
        return;
    }
    switch (vk) {
        case VK_UP:
            if (Node* p = nextItem(h, t, TVGN_PREVIOUSVISIBLE, n)) select(h, t, p, TVC_BYKEYBOARD);
            break;
        case VK_DOWN:
            if (Node* p = nextItem(h, t, TVGN_NEXTVISIBLE, n)) select(h, t, p, TVC_BYKEYBOARD);
            break;
        case VK_HOME:
            select(h, t, r.front().first, TVC_BYKEYBOARD);
            break;
        case VK_END:
            select(h, t, r.back().first, TVC_BYKEYBOARD);
            break;
        case VK_RIGHT:
            if (!expanded(n))
                expand(h, t, n, TVE_EXPAND);
            else if (!n->children.empty())
                select(h, t, n->children.front(), TVC_BYKEYBOARD);
            break;
        case VK_LEFT:
            if (expanded(n))
                expand(h, t, n, TVE_COLLAPSE);
            else if (n->parent != &t.root)
                select(h, t, n->parent, TVC_BYKEYBOARD);
            break;
        case VK_ADD:
            expand(h, t, n, TVE_EXPAND);
            break;
        case VK_SUBTRACT:
            expand(h, t, n, TVE_COLLAPSE);
            break;
        default:
            break;
    }
}

LRESULT treeProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Tree* tp = records().forMessage(h, msg);
    if (!tp) return DefWindowProcA(h, msg, wp, lp);
    Tree& t = *tp;
    if (LRESULT r = 0; fontOrEraseMessage(h, msg, wp, lp, t.font, r)) return r;
    switch (msg) {
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_PAINT:
            paint(h, t);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            commonFocusChange(h, msg, t.focus);
            return 0;
        case WM_LBUTTONDOWN: {
            if (t.editing) endEdit(h, t, false);
            const bool hadFocus = GetFocus() == h;
            if (!hadFocus) SetFocus(h);
            KillTimer(h, kEditTimer);
            t.editPending = nullptr;
            const TVHITTESTINFO info = hitTest(h, t, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            Node* n = nodeOf(t, info.hItem);
            if (!n) return 0;
            if (info.flags == TVHT_ONITEMBUTTON) {
                expand(h, t, n, TVE_TOGGLE);
            } else if (n == t.selected && hadFocus && info.flags == TVHT_ONITEMLABEL &&
                       (styleOf(h) & TVS_EDITLABELS)) {
                // A click on the selected label edits it unless a second click follows.
                t.editPending = n;
                SetTimer(h, kEditTimer, kEditDelay, nullptr);
            } else {
                select(h, t, n, TVC_BYMOUSE);
            }
            notifyParent(h, NM_CLICK);
            return 0;
        }
        case WM_TIMER:
            if (wp == kEditTimer) {
                KillTimer(h, kEditTimer);
                Node* n = t.editPending;
                t.editPending = nullptr;
                if (n && n == t.selected && GetFocus() == h) beginEdit(h, t, n);
            }
            return 0;
        case WM_LBUTTONDBLCLK: {
            KillTimer(h, kEditTimer);
            t.editPending = nullptr;
            const TVHITTESTINFO info = hitTest(h, t, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            Node* n = nodeOf(t, info.hItem);
            if (!n) return 0;
            if (info.flags == TVHT_ONITEMBUTTON) {
                expand(h, t, n, TVE_TOGGLE);
                return 0;
            }
            // The parent may take the double click; otherwise it opens or closes the item.
            if (!notifyParent(h, NM_DBLCLK)) expand(h, t, n, TVE_TOGGLE);
            return 0;
        }
        case WM_KEYDOWN:
            key(h, t, wp);
            return 0;
        case WM_MOUSEWHEEL: {
            if (t.editing) endEdit(h, t, false);
            const int dir = static_cast<SHORT>(HIWORD(wp)) > 0 ? -3 : 3;
            t.top = std::clamp(t.top + dir, 0, std::max(0, static_cast<int>(rows(t).size()) - 1));
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        }
        case TVM_INSERTITEMA:
            return lp ? reinterpret_cast<LRESULT>(
                            insert(h, t, reinterpret_cast<const TVINSERTSTRUCTA*>(lp)))
                      : 0;
        case TVM_DELETEITEM: {
            const auto item = reinterpret_cast<HTREEITEM>(lp);
            if (item == TVI_ROOT || !item) {
                for (Node* c : std::vector<Node*>(t.root.children))
                    removeNode(h, t, c);
            } else if (Node* n = nodeOf(t, item)) {
                removeNode(h, t, n);
            } else {
                return FALSE;
            }
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        }
        case TVM_EXPAND:
            return expand(h, t, nodeOf(t, reinterpret_cast<HTREEITEM>(lp)),
                          static_cast<UINT>(wp) & 3)
                       ? TRUE
                       : FALSE;
        case TVM_GETCOUNT:
            return static_cast<LRESULT>(t.nodes.size());
        case TVM_GETINDENT:
            return t.indent;
        case TVM_SETINDENT:
            t.indent = std::max(8, static_cast<int>(wp));
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case TVM_GETNEXTITEM:
            return reinterpret_cast<LRESULT>(handleOf(
                nextItem(h, t, static_cast<UINT>(wp), nodeOf(t, reinterpret_cast<HTREEITEM>(lp)))));
        case TVM_SELECTITEM: {
            Node* n = nodeOf(t, reinterpret_cast<HTREEITEM>(lp));
            if ((wp & 0xF) == TVGN_CARET) return select(h, t, n, TVC_UNKNOWN) ? TRUE : FALSE;
            if ((wp & 0xF) == TVGN_FIRSTVISIBLE && n) {
                ensureVisible(h, t, n);
                t.top = std::max(0, rowOf(t, n));
                InvalidateRect(h, nullptr, TRUE);
                return TRUE;
            }
            return TRUE;
        }
        case TVM_ENSUREVISIBLE:
            ensureVisible(h, t, nodeOf(t, reinterpret_cast<HTREEITEM>(lp)));
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        case TVM_GETITEMA: {
            auto* it = reinterpret_cast<TVITEMA*>(lp);
            Node* n = it ? nodeOf(t, it->hItem) : nullptr;
            if (!n) return FALSE;
            fillTvItem(*n, it);
            return TRUE;
        }
        case TVM_SETITEMA: {
            const auto* it = reinterpret_cast<const TVITEMA*>(lp);
            Node* n = it ? nodeOf(t, it->hItem) : nullptr;
            if (!n) return FALSE;
            takeTvItem(*n, it);
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        }
        case TVM_SETIMAGELIST: {
            HIMAGELIST& slot = wp == TVSIL_STATE ? t.stateImages : t.images;
            HIMAGELIST before = slot;
            slot = reinterpret_cast<HIMAGELIST>(lp);
            InvalidateRect(h, nullptr, TRUE);
            return reinterpret_cast<LRESULT>(before);
        }
        case TVM_GETIMAGELIST:
            return reinterpret_cast<LRESULT>(wp == TVSIL_STATE ? t.stateImages : t.images);
        case TVM_EDITLABELA:
            return reinterpret_cast<LRESULT>(
                beginEdit(h, t, nodeOf(t, reinterpret_cast<HTREEITEM>(lp))));
        case TVM_GETEDITCONTROL:
            return reinterpret_cast<LRESULT>(t.editing ? t.edit : nullptr);
        case TVM_ENDEDITLABELNOW:
            if (!t.editing) return FALSE;
            endEdit(h, t, wp != 0);
            return TRUE;
        case TVM_GETITEMRECT: {
            auto* r = reinterpret_cast<RECT*>(lp);
            if (!r) return FALSE;
            Node* n = nodeOf(t, *reinterpret_cast<HTREEITEM*>(lp));
            const int row = rowOf(t, n);
            if (row < 0) return FALSE;
            RECT rc;
            GetClientRect(h, &rc);
            const int y = (row - t.top) * rowHeight(t);
            int depth = 0;
            for (Node* q = n->parent; q && q != &t.root; q = q->parent)
                ++depth;
            HDC dc = GetDC(h);
            HGDIOBJ old = SelectObject(dc, fontOrDefault(t.font));
            const int w = textWidth(dc, n->text) + 4;
            SelectObject(dc, old);
            ReleaseDC(h, dc);
            const int x = levelOffset(h, t, depth) + imageRoom(t) + 2;
            *r = wp ? RECT{x, y, x + w, y + rowHeight(t)} : RECT{0, y, rc.right, y + rowHeight(t)};
            return TRUE;
        }
        case TVM_HITTEST: {
            auto* info = reinterpret_cast<TVHITTESTINFO*>(lp);
            if (!info) return 0;
            *info = hitTest(h, t, info->pt);
            return reinterpret_cast<LRESULT>(info->hItem);
        }
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

void registerTreeViewClass() {
    registerClass(WC_TREEVIEWA, treeProc, CS_DBLCLKS, nullptr, -1);
}

}  // namespace win::controls
