#pragma once
// Formatted text of the rich-edit control and its RTF form: the few control
// words a text editor's documents use (fonts, sizes, colours, bold, italic,
// underline, strike-out, paragraphs, tabs, escaped characters).

#include <string>
#include <vector>

#include "platform/controls/rich_edit_api.h"

namespace win::controls {

struct RichFormat {
    DWORD effects = 0;  // CFE_BOLD ...
    LONG height = 200;  // twips (10 points)
    COLORREF colour = 0;
    bool autoColour = true;
    std::string face = "Arial";

    bool operator==(const RichFormat&) const = default;
    // Takes the parts of a CHARFORMATA its mask names.
    void apply(const CHARFORMATA& cf);
    void fill(CHARFORMATA& cf, DWORD mask) const;
    // The CFM_ bits of the parts both formats share.
    DWORD sameAs(const RichFormat& other) const;
};

// A paragraph's layout: its alignment (PFA_LEFT ...) and whether it has a
// bullet, kept with each of its characters.
constexpr BYTE kAlignMask = 0x3, kBullet = 0x4;
inline BYTE paragraphOf(WORD alignment, bool bullet) {
    return static_cast<BYTE>((alignment & kAlignMask) | (bullet ? kBullet : 0));
}

struct RichText {
    std::string text;  // paragraphs end with '\r'
    std::vector<int> fmt;
    std::vector<BYTE> para;
    std::vector<RichFormat> formats;
};

RichText readRtf(const std::string& rtf, const RichFormat& base);
std::string writeRtf(const RichText& text);

}  // namespace win::controls
