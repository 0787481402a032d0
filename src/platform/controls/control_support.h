#pragma once
// What every control of the layer shares: its own record kept beside the
// window, the notifications it sends its parent, its font and the few
// drawing steps (3-D edges, text) the controls are drawn with.

#include <memory>
#include <string>
#include <unordered_map>

#include "platform/gdi/gdi.h"
#include "platform/window/user_api.h"

namespace win::controls {

// The records of one control class by window. A record is made afresh when
// the window is created (handles are reused after a reset of the window
// system) and dropped when it is destroyed.
template <class T>
class Records {
  public:
    T* get(HWND h) {
        auto it = map_.find(h);
        return it == map_.end() ? nullptr : it->second.get();
    }
    T* create(HWND h) {
        auto& slot = map_[h];
        slot = std::make_unique<T>();
        return slot.get();
    }
    void drop(HWND h) { map_.erase(h); }
    // The record a message is for: made at WM_NCCREATE, dropped at
    // WM_NCDESTROY (null then, as for a window without one).
    T* forMessage(HWND h, UINT msg) {
        if (msg == WM_NCCREATE) return create(h);
        if (msg == WM_NCDESTROY) {
            drop(h);
            return nullptr;
        }
        return get(h);
    }

  private:
    std::unordered_map<HWND, std::unique_ptr<T>> map_;
};

// WM_COMMAND to the parent with the control's identifier and a code.
void notifyCommand(HWND control, WORD code);
// WM_NOTIFY to the parent; `header` starts the structure sent.
LRESULT notifyParent(HWND control, UINT code, void* header);
LRESULT notifyParent(HWND control, UINT code);
// The brush and colours from WM_CTLCOLOR* (the parent may set the DC).
HBRUSH controlColour(HWND control, HDC dc, UINT ctlColorMessage);

// What every drawn control answers alike: no background erase (it paints
// all of itself), and the font it is given. True when `msg` was one of them;
// the answer is then in `result`.
bool fontOrEraseMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp, HFONT& font, LRESULT& result);
// Focus arriving or leaving a common control: its look changes and the
// parent hears NM_SETFOCUS or NM_KILLFOCUS.
void commonFocusChange(HWND h, UINT msg, bool& focus);

HFONT defaultFont();
HFONT fontOrDefault(HFONT font);
DWORD styleOf(HWND h);
int controlId(HWND h);

// Drawing.
HBRUSH sysBrush(int colourIndex);
void fillSolid(HDC dc, const RECT& r, COLORREF colour);
void drawLine(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour);
// Raised (buttons) or sunken (fields) edges, two pixels deep.
void drawEdge(HDC dc, const RECT& r, bool raised);
void drawThinEdge(HDC dc, const RECT& r, bool raised);
void drawEtchedFrame(HDC dc, const RECT& r);
void drawFocus(HDC dc, const RECT& r);
// Text with "&" mnemonics underlined (unless noPrefix), in `format` (DT_*).
void drawLabel(HDC dc, const std::string& text, RECT r, UINT format, COLORREF colour,
               bool noPrefix = false);
int textWidth(HDC dc, const std::string& text);
int lineHeight(HFONT font);
void drawArrow(HDC dc, const RECT& r, int direction,
               COLORREF colour);  // 0 up, 1 down, 2 left, 3 right

// Registers the classes of all controls (called by the window system on
// every reset).
void registerClass(const char* name, WNDPROC proc, UINT style, HCURSOR cursor, int background);

}  // namespace win::controls
