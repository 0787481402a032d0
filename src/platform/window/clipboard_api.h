#pragma once
// The clipboard and the global memory blocks that carry its data. The
// clipboard lives in the process; when the X11 presenter runs, text on it is
// offered to other programs and their text is read when we hold none.

#include <cstddef>
#include <string>

#include "platform/win_types.h"
#include "platform/window/user_constants.h"

namespace win {

HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);
HGLOBAL GlobalReAlloc(HGLOBAL block, std::size_t bytes, UINT flags);
void* GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
std::size_t GlobalSize(HGLOBAL block);
HGLOBAL GlobalFree(HGLOBAL block);

BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
// The clipboard owns the data from now on; global blocks are freed when the
// clipboard is emptied.
HANDLE SetClipboardData(UINT format, HANDLE data);
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
int CountClipboardFormats();
UINT EnumClipboardFormats(UINT format);
UINT RegisterClipboardFormatA(LPCSTR name);
HWND GetClipboardOwner();

// The text on the clipboard as CP1252 with CR LF line ends (the presenter
// offers it to other programs), or false when there is none.
bool clipboardText(std::string& text);

}  // namespace win
