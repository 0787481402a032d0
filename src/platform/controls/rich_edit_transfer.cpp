// What goes in and out of the rich-edit control: the clipboard, finding
// text, and streaming as plain text or RTF.

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/controls/rich_edit_internal.h"
#include "platform/window/clipboard_api.h"

namespace win::controls::rich {

void copy(HWND h, Rich& r) {
    if (selMin(r) == selMax(r) || !mayChange(h, r, selMin(r), selMax(r)) || !OpenClipboard(h))
        return;
    const std::string s = toOutside(r.text.substr(selMin(r), selMax(r) - selMin(r)));
    EmptyClipboard();
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, s.size() + 1);
    std::memcpy(GlobalLock(g), s.c_str(), s.size() + 1);
    GlobalUnlock(g);
    SetClipboardData(CF_TEXT, g);
    CloseClipboard();
}

void paste(HWND h, Rich& r) {
    if (readOnly(h) || !OpenClipboard(h)) return;
    std::string s;
    if (HANDLE g = GetClipboardData(CF_TEXT)) {
        if (const auto* p = static_cast<const char*>(GlobalLock(g))) s = p;
        GlobalUnlock(g);
    }
    CloseClipboard();
    replace(h, r, fromOutside(s), typingFormat(r), true);
}

LRESULT find(const Rich& r, WPARAM flags, LONG from, LONG to, const char* what, CHARRANGE* found) {
    if (!what || !*what) return -1;
    const std::string needle = what;
    const auto n = static_cast<LONG>(r.text.size());
    if (to < 0 || to > n) to = n;
    const bool down = (flags & 0x1) != 0;  // FR_DOWN
    const bool matchCase = (flags & 0x4) != 0, wholeWord = (flags & 0x2) != 0;
    auto same = [&](char a, char b) {
        return matchCase ? a == b
                         : std::tolower(static_cast<unsigned char>(a)) ==
                               std::tolower(static_cast<unsigned char>(b));
    };
    auto wordChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    auto matchAt = [&](LONG i) {
        if (i < 0 || i + static_cast<LONG>(needle.size()) > n) return false;
        for (std::size_t k = 0; k < needle.size(); ++k)
            if (!same(r.text[static_cast<std::size_t>(i) + k], needle[k])) return false;
        if (wholeWord) {
            if (i > 0 && wordChar(r.text[static_cast<std::size_t>(i) - 1])) return false;
            const std::size_t e = static_cast<std::size_t>(i) + needle.size();
            if (e < r.text.size() && wordChar(r.text[e])) return false;
        }
        return true;
    };
    const LONG lo = std::min(from, to), hi = std::max(from, to);
    if (down) {
        for (LONG i = std::max<LONG>(0, lo); i + static_cast<LONG>(needle.size()) <= hi; ++i)
            if (matchAt(i)) {
                if (found) *found = {i, i + static_cast<LONG>(needle.size())};
                return i;
            }
    } else {
        for (LONG i = hi - static_cast<LONG>(needle.size()); i >= lo; --i)
            if (matchAt(i)) {
                if (found) *found = {i, i + static_cast<LONG>(needle.size())};
                return i;
            }
    }
    return -1;
}

LRESULT streamIn(HWND h, Rich& r, WPARAM format, EDITSTREAM* es) {
    if (!es || !es->pfnCallback) return 0;
    std::string data;
    BYTE buf[4096];
    for (;;) {
        LONG got = 0;
        es->dwError = es->pfnCallback(es->dwCookie, buf, sizeof buf, &got);
        if (es->dwError || got <= 0) break;
        data.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(got));
    }
    if (!(format & SFF_SELECTION)) {
        r.anchor = 0;
        r.caret = r.text.size();
    }
    std::size_t start = selMin(r);
    if (format & SF_RTF) {
        const RichText parsed = readRtf(data, r.formats[0]);
        replace(h, r, parsed.text, 0, false);
        for (std::size_t i = 0; i < parsed.text.size() && start + i < r.fmt.size(); ++i) {
            r.fmt[start + i] =
                formatIndex(r, parsed.formats[static_cast<std::size_t>(parsed.fmt[i])]);
            r.para[start + i] = parsed.para[i];
        }
        InvalidateRect(h, nullptr, TRUE);
        return static_cast<LRESULT>(parsed.text.size());
    }
    const std::string t = fromOutside(data);
    replace(h, r, t, r.insertFormat, false);
    if (!(format & SFF_SELECTION)) {
        r.modified = false;
        setSelection(h, r, 0, 0);
    }
    return static_cast<LRESULT>(t.size());
}

LRESULT streamOut(const Rich& r, WPARAM format, EDITSTREAM* es) {
    if (!es || !es->pfnCallback) return 0;
    std::size_t a = 0, b = r.text.size();
    if (format & SFF_SELECTION) {
        a = selMin(r);
        b = selMax(r);
    }
    std::string out;
    if (format & SF_RTF) {
        RichText part;
        part.text = r.text.substr(a, b - a);
        part.formats = r.formats;
        part.fmt.assign(r.fmt.begin() + static_cast<long>(a), r.fmt.begin() + static_cast<long>(b));
        part.para.assign(r.para.begin() + static_cast<long>(a),
                         r.para.begin() + static_cast<long>(b));
        out = writeRtf(part);
    } else {
        out = toOutside(r.text.substr(a, b - a));
    }
    std::size_t sent = 0;
    while (sent < out.size()) {
        LONG done = 0;
        const auto chunk = static_cast<LONG>(std::min<std::size_t>(4096, out.size() - sent));
        es->dwError =
            es->pfnCallback(es->dwCookie, reinterpret_cast<BYTE*>(&out[sent]), chunk, &done);
        if (es->dwError || done <= 0) break;
        sent += static_cast<std::size_t>(done);
    }
    return static_cast<LRESULT>(sent);
}

}  // namespace win::controls::rich
