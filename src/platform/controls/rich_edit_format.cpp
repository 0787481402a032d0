// Character and paragraph formats of the rich-edit control: setting them on
// the selection, everything or the default, and reading what the selection
// shares.

#include <algorithm>
#include <map>

#include "platform/controls/rich_edit_internal.h"

namespace win::controls::rich {

// The paragraphs the selection touches take the masked parts of a layout.
LRESULT setParaFormat(HWND h, Rich& r, const PARAFORMAT* pf) {
    if (!pf) return FALSE;
    auto change = [&](BYTE p) {
        if (pf->dwMask & PFM_ALIGNMENT)
            p = static_cast<BYTE>((p & ~kAlignMask) | (pf->wAlignment & kAlignMask));
        if (pf->dwMask & PFM_NUMBERING)
            p = static_cast<BYTE>((p & ~kBullet) | (pf->wNumbering == PFN_BULLET ? kBullet : 0));
        return p;
    };
    std::size_t i = paragraphStart(r, selMin(r));
    const std::size_t end = selMax(r);
    std::size_t last = end;
    while (last < r.text.size() && r.text[last] != '\r')
        ++last;
    last = std::min(last + 1, r.text.size());
    const std::size_t first = i;
    const Piece before = pieceOf(r, first, last);
    do {
        std::size_t e = i;
        while (e < r.text.size() && r.text[e] != '\r')
            ++e;
        const BYTE p = change(paraAt(r, i));
        for (std::size_t k = i; k <= e && k < r.para.size(); ++k)
            r.para[k] = p;
        if (e >= r.text.size()) r.insertPara = p;
        i = e + 1;
    } while (i <= end && i <= r.text.size());
    recordFormatChange(r, first, before);
    InvalidateRect(h, nullptr, TRUE);
    changed(h, r);
    return TRUE;
}

LRESULT getParaFormat(const Rich& r, PARAFORMAT* pf) {
    if (!pf) return 0;
    const BYTE p = paraAt(r, selMin(r));
    pf->dwMask = PFM_ALIGNMENT | PFM_NUMBERING;
    pf->wAlignment = static_cast<WORD>(p & kAlignMask);
    pf->wNumbering = (p & kBullet) ? PFN_BULLET : 0;
    return static_cast<LRESULT>(pf->dwMask);
}

// Applies the masked parts of a format to a range of characters.
void applyFormat(Rich& r, std::size_t a, std::size_t b, const CHARFORMATA& cf) {
    std::map<int, int> mapped;
    for (std::size_t i = a; i < b; ++i) {
        auto it = mapped.find(r.fmt[i]);
        if (it == mapped.end()) {
            RichFormat f = r.formats[static_cast<std::size_t>(r.fmt[i])];
            f.apply(cf);
            it = mapped.emplace(r.fmt[i], formatIndex(r, f)).first;
        }
        r.fmt[i] = it->second;
    }
}

LRESULT setCharFormat(HWND h, Rich& r, WPARAM which, const CHARFORMATA* cf) {
    if (!cf) return FALSE;
    // Changing protected characters needs consent, unless only their
    // protection changes.
    if ((which & SCF_SELECTION) && !(which & SCF_ALL) && cf->dwMask != CFM_PROTECTED &&
        selMin(r) != selMax(r) && !mayChange(h, r, selMin(r), selMax(r)))
        return FALSE;
    if (which & SCF_ALL) {
        applyFormat(r, 0, r.text.size(), *cf);
        RichFormat f = r.formats[static_cast<std::size_t>(r.insertFormat)];
        f.apply(*cf);
        r.insertFormat = formatIndex(r, f);
    } else if (which & SCF_SELECTION) {
        if (selMin(r) == selMax(r)) {
            RichFormat f = r.formats[static_cast<std::size_t>(r.insertFormat)];
            f.apply(*cf);
            r.insertFormat = formatIndex(r, f);
        } else {
            const Piece before = pieceOf(r, selMin(r), selMax(r));
            applyFormat(r, selMin(r), selMax(r), *cf);
            recordFormatChange(r, selMin(r), before);
        }
    } else {
        // The default format: what unformatted text and new text get.
        RichFormat& base = r.formats[0];
        base.apply(*cf);
    }
    InvalidateRect(h, nullptr, TRUE);
    if (which & (SCF_ALL | SCF_SELECTION)) changed(h, r);
    return TRUE;
}

LRESULT getCharFormat(const Rich& r, WPARAM which, CHARFORMATA* cf) {
    if (!cf) return 0;
    if (which == SCF_DEFAULT) {
        r.formats[0].fill(*cf, CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE |
                                   CFM_COLOR | CFM_FACE);
        return static_cast<LRESULT>(cf->dwMask);
    }
    // The selection's format: the parts all its characters share.
    DWORD mask =
        CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE | CFM_COLOR | CFM_FACE;
    const std::size_t a = selMin(r), b = selMax(r);
    const RichFormat& first =
        r.formats[static_cast<std::size_t>(a < b ? r.fmt[a] : r.insertFormat)];
    for (std::size_t i = a; i < b; ++i)
        mask &= first.sameAs(r.formats[static_cast<std::size_t>(r.fmt[i])]);
    first.fill(*cf, mask);
    return static_cast<LRESULT>(mask);
}

}  // namespace win::controls::rich
