// Playing a metafile file or the clipboard's enhanced metafile into a
// rectangle of the screen side's surface or of the open metafile.

#include <vector>

#include "platform/gdi/metafile.h"
#include "platform/kernel/files.h"
#include "platform/kernel/handles.h"
#include "platform/window/clipboard_api.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/screen_primitives.h"
#include "toolkit/output/wmf_driver.h"
#include "toolkit/output/wmf_primitives.h"

namespace tk {
namespace {

using namespace win;

bool readWholeFile(const std::string& name, int skip, std::vector<BYTE>& bytes) {
    HANDLE f = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    const DWORD size = GetFileSize(f, nullptr);
    const DWORD body = size > static_cast<DWORD>(skip) ? size - static_cast<DWORD>(skip) : 0;
    bytes.assign(body, 0);
    SetFilePointer(f, skip, nullptr, 0);
    DWORD read = 0;
    if (body > 0) ReadFile(f, bytes.data(), body, &read, nullptr);
    bytes.resize(read);
    CloseHandle(f);
    return true;
}

void rotate(HDC dc, int rotation, int offsetX, int offsetY) {
    XFORM x;
    switch (rotation) {
        case 90:
            x.eM11 = 0, x.eM12 = -1, x.eM21 = 1, x.eM22 = 0;
            break;
        case 180:
            x.eM11 = -1, x.eM12 = 0, x.eM21 = 0, x.eM22 = -1;
            break;
        case 270:
            x.eM11 = 0, x.eM12 = 1, x.eM21 = -1, x.eM22 = 0;
            break;
        default:
            break;
    }
    x.eDx = static_cast<FLOAT>(offsetX);
    x.eDy = static_cast<FLOAT>(offsetY);
    SetGraphicsMode(dc, GM_ADVANCED);
    SetWorldTransform(dc, &x);
}

int playOldMetafile(HDC dc, const std::vector<BYTE>& bytes, int left, int top, int right,
                    int bottom, bool intoOwnWmf) {
    HMETAFILE mf = SetMetaFileBitsEx(static_cast<UINT>(bytes.size()), bytes.data());
    if (!mf) return 2;
    const int oldMode = SetMapMode(dc, MM_ANISOTROPIC);
    const int saved = SaveDC(dc);
    if (!intoOwnWmf) {
        SetViewportOrgEx(dc, left, top, nullptr);
        SetViewportExtEx(dc, right - left + 1, bottom - top + 1, nullptr);
    } else {
        SIZE ext;
        GetWindowExtEx(dc, &ext);
        const int w = ext.cx, h = ext.cy;  // the picture's W + 1, H + 1
        const int dx = right - left != 0 ? right - left : 1,
                  dy = bottom - top != 0 ? bottom - top : 1;
        SetWindowOrgEx(dc, -(left * w / dx), -(top * h / dy), nullptr);
        ScaleViewportExtEx(dc, right - left + 1, w, bottom - top + 1, h, nullptr);
    }
    PlayMetaFile(dc, mf);
    DeleteMetaFile(mf);
    RestoreDC(dc, saved);
    SetMapMode(dc, oldMode);
    return 0;
}

}  // namespace

void MetafilePlay(int kind, int left, int top, int right, int bottom, int target, int rotation,
                  int offsetX, int offsetY, int& status, std::string_view fileName) {
    status = 0;
    HDC dc = target == 11 ? WmfDC() : drawingSurface().dc;
    if (!dc) {
        status = 2;
        return;
    }
    HRGN clip = target == 0 ? screen::primitives().clip : nullptr;
    if (clip) SelectClipRgn(dc, clip);
    const bool extended = toolkitState().NtFamily;
    if (extended) rotate(dc, rotation, offsetX, offsetY);
    const RECT rect{left, top, right, bottom};
    if (fileName.size() == 1) {
        if (!IsClipboardFormatAvailable(CF_ENHMETAFILE)) {
            status = 1095;
        } else if (!OpenClipboard(nullptr)) {
            status = 1094;
        } else {
            PlayEnhMetaFile(dc, static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE)), &rect);
            CloseClipboard();
        }
    } else {
        std::vector<BYTE> bytes;
        if (!readWholeFile(std::string(fileName), kind == 1 ? 22 : 0, bytes)) {
            status = 1;
        } else if (kind == 2) {
            HENHMETAFILE emf = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
            if (!emf) {
                status = 2;
            } else {
                PlayEnhMetaFile(dc, emf, &rect);
                DeleteEnhMetaFile(emf);
            }
        } else {
            const bool ownWmf = target == 11 && !WmfIsEnhanced();
            status = playOldMetafile(dc, bytes, left, top, right, bottom, ownWmf);
        }
    }
    if (clip) SelectClipRgn(dc, nullptr);
    if (extended) {
        XFORM identity;
        SetWorldTransform(dc, &identity);
        SetGraphicsMode(dc, GM_COMPATIBLE);
    }
}

}  // namespace tk
