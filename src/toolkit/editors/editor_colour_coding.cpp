#include "toolkit/editors/editor_colour_coding.h"

#include <algorithm>

#include "platform/controls/controls_api.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/gdi/gdi.h"
#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/editors/editor_menus.h"
#include "toolkit/editors/editor_text.h"

namespace tk {
namespace {

win::LRESULT send(win::HWND control, win::UINT msg, win::WPARAM wp = 0, win::LPARAM lp = 0) {
    return win::SendMessageA(control, msg, wp, lp);
}

win::WNDPROC previousProc(win::HWND control) {
    return reinterpret_cast<win::WNDPROC>(win::GetWindowLongPtrA(control, win::GWLP_USERDATA));
}

void fill(win::HDC dc, const win::RECT& rc, win::COLORREF colour) {
    win::HBRUSH b = win::CreateSolidBrush(colour);
    win::FillRect(dc, &rc, b);
    win::DeleteObject(b);
}

// One line of the text with the selection's part in it.
struct Line {
    long start = 0;
    std::string text;
    int lineHeight = 0;
};

void drawPiece(const EditorWindowRecord& r, win::HDC dc, const Line& line, int from, int to,
               bool highlighted, win::COLORREF colour) {
    if (to <= from) return;
    win::SetTextColor(dc, colour);
    win::SetBkColor(dc, win::GetSysColor(highlighted ? win::COLOR_HIGHLIGHT : win::COLOR_WINDOW));
    EditorDrawTextRun(r, dc, line.text.substr(static_cast<std::size_t>(from),
                                              static_cast<std::size_t>(to - from)),
                      line.start + from, to - from, highlighted);
}

void drawLine(const EditorWindowRecord& r, win::HDC dc, const Line& line, long selA, long selB,
              bool allSelected) {
    const int length = static_cast<int>(line.text.size());
    const win::COLORREF text = win::GetSysColor(win::COLOR_WINDOWTEXT);
    if (allSelected) {
        drawPiece(r, dc, line, 0, length, true, win::GetSysColor(win::COLOR_HIGHLIGHTTEXT));
    } else {
        const long end = line.start + length;
        const bool touches = selA < selB && selA <= end && selB >= line.start;
        const int s1 = touches ? static_cast<int>(std::max(selA, line.start) - line.start) + 1 : -1;
        const int s2 = touches ? static_cast<int>(std::min(selB, end) - line.start) : -1;
        std::vector<EditorColourRun> runs;
        if (editorColourRuns())
            runs = editorColourRuns()(r.window, s1, s2, kEditorColourRunCapacity, line.text);
        if (runs.size() > static_cast<std::size_t>(kEditorColourRunCapacity))
            runs.resize(kEditorColourRunCapacity);
        int at = 0;
        for (const EditorColourRun& run : runs) {
            const int a = std::clamp(run.start - 1, at, length), b = std::clamp(run.end, a, length);
            drawPiece(r, dc, line, at, a, false, text);
            const bool light = run.colour == -1;
            drawPiece(r, dc, line, a, b, light,
                      light ? win::GetSysColor(win::COLOR_HIGHLIGHTTEXT)
                            : static_cast<win::COLORREF>(run.colour));
            at = b;
        }
        drawPiece(r, dc, line, at, length, false, text);
    }
    // A selected line break shows as a highlighted blank.
    const long breakAt = line.start + length;
    if (selA <= breakAt && selB > breakAt) {
        win::POINT p{};
        EditorCharPosition(r.editControl, breakAt, p);
        win::SIZE blank{};
        win::GetTextExtentPoint32A(dc, " ", 1, &blank);
        fill(dc, {p.x, p.y, p.x + blank.cx, p.y + line.lineHeight},
             win::GetSysColor(win::COLOR_HIGHLIGHT));
    }
}

void paint(win::HWND control, const EditorWindowRecord& r) {
    win::PAINTSTRUCT ps;
    win::HDC dc = win::BeginPaint(control, &ps);
    win::RECT client{};
    win::GetClientRect(control, &client);
    const win::COLORREF window = win::GetSysColor(win::COLOR_WINDOW);
    fill(dc, {client.left, client.top, client.left + 1, client.bottom}, window);
    fill(dc, {client.right - 1, client.top, client.right, client.bottom}, window);
    win::IntersectClipRect(dc, client.left + 1, client.top, client.right - 1, client.bottom);
    win::HGDIOBJ oldFont = r.font ? win::SelectObject(dc, r.font) : nullptr;
    win::SetBkMode(dc, win::OPAQUE);
    win::CHARRANGE sel{};
    send(control, win::EM_EXGETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    const long total = editorControlEnd(r);
    const bool allSelected = sel.cpMin == 0 && sel.cpMax >= total && total > 0;
    const int lineHeight = r.lineHeight > 0 ? r.lineHeight : 16;
    const int lines = static_cast<int>(send(control, win::EM_GETLINECOUNT));
    int bottom = client.top;
    for (int n = static_cast<int>(send(control, win::EM_GETFIRSTVISIBLELINE)); n < lines; ++n) {
        Line line;
        line.start = static_cast<long>(send(control, win::EM_LINEINDEX, static_cast<win::WPARAM>(n)));
        win::POINT p{};
        EditorCharPosition(control, line.start, p);
        if (p.y >= client.bottom) break;
        const auto length = send(control, win::EM_LINELENGTH, static_cast<win::WPARAM>(line.start));
        line.text = editorControlRange(r, line.start, line.start + static_cast<long>(length));
        line.lineHeight = lineHeight;
        fill(dc, {client.left + 1, p.y, client.right - 1, p.y + lineHeight}, window);
        drawLine(r, dc, line, sel.cpMin, sel.cpMax, allSelected);
        bottom = p.y + lineHeight;
    }
    if (bottom < client.bottom) fill(dc, {client.left + 1, bottom, client.right - 1, client.bottom}, window);
    if (oldFont) win::SelectObject(dc, oldFont);
    win::EndPaint(control, &ps);
}

// Ctrl with the wheel zooms: the control lays its text out again while
// the selection and the first line shown stay.
win::LRESULT zoom(win::HWND control, const EditorWindowRecord& r, win::WNDPROC previous,
                  win::WPARAM wp, win::LPARAM lp) {
    win::CHARRANGE sel{};
    send(control, win::EM_EXGETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    const auto first = send(control, win::EM_GETFIRSTVISIBLELINE);
    const win::LRESULT result = win::CallWindowProcA(previous, control, win::WM_MOUSEWHEEL, wp, lp);
    if (!r.displayFrozen) win::ShowWindow(control, win::SW_HIDE);
    send(control, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    send(control, win::EM_LINESCROLL, 0,
         static_cast<win::LPARAM>(first - send(control, win::EM_GETFIRSTVISIBLELINE)));
    win::RECT rc{};
    win::GetWindowRect(control, &rc);
    win::POINT corner{rc.left, rc.top};
    win::ScreenToClient(win::GetParent(control), &corner);
    win::MoveWindow(control, corner.x, corner.y, 1, 1, win::FALSE);
    win::MoveWindow(control, corner.x, corner.y, rc.right - rc.left, rc.bottom - rc.top, win::TRUE);
    if (!r.displayFrozen) win::ShowWindow(control, win::SW_SHOW);
    return result;
}

}  // namespace

EditorColourRunsProc& editorColourRuns() {
    static EditorColourRunsProc runs;
    return runs;
}

void EditorCharPosition(win::HWND control, long position, win::POINT& point) {
    if (editorRichEditVersion() >= 2) {
        const auto packed = static_cast<win::DWORD>(
            send(control, win::EM_POSFROMCHAR, static_cast<win::WPARAM>(position)));
        point = {static_cast<short>(win::LOWORD(packed)), static_cast<short>(win::HIWORD(packed))};
        return;
    }
    win::POINTL p{};
    send(control, win::EM_POSFROMCHAR, reinterpret_cast<win::WPARAM>(&p), position);
    point = {p.x, p.y};
}

void EditorDrawTextRun(const EditorWindowRecord& r, win::HDC dc, const std::string& text,
                       long position, int length, bool highlighted) {
    const int lineHeight = r.lineHeight > 0 ? r.lineHeight : 16;
    int i = 0;
    while (i < length) {
        win::POINT p{};
        EditorCharPosition(r.editControl, position + i, p);
        if (text[static_cast<std::size_t>(i)] == '\t') {
            if (highlighted) {
                win::POINT next{};
                EditorCharPosition(r.editControl, position + i + 1, next);
                fill(dc, {p.x, p.y, std::max(next.x, p.x + 1), p.y + lineHeight},
                     win::GetSysColor(win::COLOR_HIGHLIGHT));
            }
            ++i;
            continue;
        }
        int j = i;
        while (j < length && text[static_cast<std::size_t>(j)] != '\t')
            ++j;
        win::TextOutA(dc, p.x, p.y, text.data() + i, j - i);
        i = j;
    }
}

win::LRESULT EditorColourPaintProc(win::HWND control, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    const win::WNDPROC previous = previousProc(control);
    const EditorWindowRecord* r = editorRecordOf(win::GetParent(control));
    if (r && r->colourCoding && previous) {
        if (msg == win::WM_PAINT) {
            paint(control, *r);
            return 0;
        }
        if (msg == win::WM_ERASEBKGND) return 1;
        if (msg == win::WM_MOUSEWHEEL && (win::LOWORD(wp) & win::MK_CONTROL))
            return zoom(control, *r, previous, wp, lp);
    }
    return previous ? win::CallWindowProcA(previous, control, msg, wp, lp)
                    : win::DefWindowProcA(control, msg, wp, lp);
}

void EditorEnableColourCoding() {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r || !r->editControl || r->colourCoding) return;
    const auto old = win::SetWindowLongPtrA(r->editControl, win::GWLP_WNDPROC,
                                            reinterpret_cast<win::LONG_PTR>(&EditorColourPaintProc));
    win::SetWindowLongPtrA(r->editControl, win::GWLP_USERDATA, old);
    r->colourCoding = true;
    win::InvalidateRect(r->editControl, nullptr, win::TRUE);
    win::UpdateWindow(r->editControl);
}

}  // namespace tk
