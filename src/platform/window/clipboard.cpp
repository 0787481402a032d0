#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "base/cp1252.h"
#include "platform/window/clipboard_api.h"
#include "platform/window/presenter.h"
#include "platform/window/user_api.h"

namespace win {
namespace {

// A global block: this header, then the caller's bytes (the handle points at them).
struct BlockHeader {
    std::size_t size;
    std::uint32_t magic;
    int locks;
};
constexpr std::uint32_t kMagic = 0x474C4F42;  // "GLOB"
constexpr std::size_t kHeader = (sizeof(BlockHeader) + 15) / 16 * 16;

BlockHeader* header(HGLOBAL block) {
    if (!block) return nullptr;
    auto* h = reinterpret_cast<BlockHeader*>(static_cast<char*>(block) - kHeader);
    return h->magic == kMagic ? h : nullptr;
}

struct Clipboard {
    bool open = false;
    HWND opener = nullptr;
    HWND owner = nullptr;
    bool ownedHere = false;  // we put data on it since the last time someone else did
    std::map<UINT, HANDLE> data;
    bool textChanged = false;
};
Clipboard board;

bool isGlobalFormat(UINT format) {
    return format == CF_TEXT || format == CF_OEMTEXT || format == CF_DIB ||
           format == CF_METAFILEPICT || format >= 0xC000;
}

void freeData() {
    for (auto& [format, handle] : board.data)
        if (isGlobalFormat(format) && header(handle)) GlobalFree(handle);
    board.data.clear();
}

HGLOBAL textBlock(const std::string& text) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    return block;
}

// Text another program holds, as CP1252 with CR LF.
bool foreignText(std::string& out) {
    Presenter* p = currentPresenter();
    if (!p || board.ownedHere) return false;
    const auto text = p->foreignClipboardText();
    if (!text) return false;
    const std::string bytes = base::utf8ToCp1252(*text);
    out.clear();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) out.push_back('\r');
        out.push_back(bytes[i]);
    }
    return true;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes) {
    char* raw = static_cast<char*>(std::malloc(kHeader + bytes + 1));
    if (!raw) return nullptr;
    auto* h = reinterpret_cast<BlockHeader*>(raw);
    h->size = bytes;
    h->magic = kMagic;
    h->locks = 0;
    if (flags & GMEM_ZEROINIT) std::memset(raw + kHeader, 0, bytes + 1);
    return raw + kHeader;
}

HGLOBAL GlobalReAlloc(HGLOBAL block, std::size_t bytes, UINT flags) {
    BlockHeader* h = header(block);
    if (!h) return nullptr;
    const std::size_t old = h->size;
    char* raw = static_cast<char*>(std::realloc(h, kHeader + bytes + 1));
    if (!raw) return nullptr;
    reinterpret_cast<BlockHeader*>(raw)->size = bytes;
    if ((flags & GMEM_ZEROINIT) && bytes > old) std::memset(raw + kHeader + old, 0, bytes - old);
    return raw + kHeader;
}

void* GlobalLock(HGLOBAL block) {
    BlockHeader* h = header(block);
    if (!h) return nullptr;
    ++h->locks;
    return block;
}

BOOL GlobalUnlock(HGLOBAL block) {
    BlockHeader* h = header(block);
    if (!h || h->locks == 0) return FALSE;
    return --h->locks > 0 ? TRUE : FALSE;
}

std::size_t GlobalSize(HGLOBAL block) {
    BlockHeader* h = header(block);
    return h ? h->size : 0;
}

HGLOBAL GlobalFree(HGLOBAL block) {
    BlockHeader* h = header(block);
    if (!h) return block;
    h->magic = 0;
    std::free(h);
    return nullptr;
}

BOOL OpenClipboard(HWND owner) {
    if (board.open) return FALSE;
    board.open = true;
    board.opener = owner;
    return TRUE;
}

BOOL CloseClipboard() {
    if (!board.open) return FALSE;
    board.open = false;
    if (board.textChanged) {
        board.textChanged = false;
        if (Presenter* p = currentPresenter()) p->clipboardTextChanged();
    }
    return TRUE;
}

BOOL EmptyClipboard() {
    if (!board.open) return FALSE;
    freeData();
    board.owner = board.opener;
    board.ownedHere = true;
    board.textChanged = true;
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
    if (!board.open) return nullptr;
    auto it = board.data.find(format);
    if (it != board.data.end() && it->second != data && isGlobalFormat(format) &&
        header(it->second))
        GlobalFree(it->second);
    board.data[format] = data;
    board.ownedHere = true;
    if (format == CF_TEXT) board.textChanged = true;
    return data;
}

HANDLE GetClipboardData(UINT format) {
    if (!board.open) return nullptr;
    if (format == CF_TEXT && !board.data.count(CF_TEXT)) {
        std::string text;
        if (foreignText(text)) board.data[CF_TEXT] = textBlock(text);
    }
    const auto it = board.data.find(format);
    return it == board.data.end() ? nullptr : it->second;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    if (board.data.count(format)) return TRUE;
    if (format == CF_TEXT) {
        std::string text;
        return foreignText(text) ? TRUE : FALSE;
    }
    return FALSE;
}

int CountClipboardFormats() {
    return static_cast<int>(board.data.size());
}

UINT EnumClipboardFormats(UINT format) {
    auto it = format == 0 ? board.data.begin() : board.data.upper_bound(format);
    return it == board.data.end() ? 0 : it->first;
}

UINT RegisterClipboardFormatA(LPCSTR name) {
    return RegisterWindowMessageA(name);
}

HWND GetClipboardOwner() {
    return board.owner;
}

bool clipboardText(std::string& text) {
    const auto it = board.data.find(CF_TEXT);
    if (it == board.data.end() || !header(it->second)) return false;
    const char* p = static_cast<const char*>(it->second);
    text.assign(p, strnlen(p, GlobalSize(it->second)));
    return true;
}

namespace detail {
void resetClipboard() {
    freeData();
    board = Clipboard{};
}
}  // namespace detail

// Another program took the desktop's clipboard: our text is no longer what it holds.
void clipboardTakenByOtherProgram() {
    board.ownedHere = false;
    if (!board.open) {
        freeData();
        board.owner = nullptr;
    }
}

}  // namespace win
