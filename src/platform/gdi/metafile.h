#pragma once
// Metafiles: pictures recorded from a device context and played back onto
// any other. Enhanced metafiles use the standard EMF record layout and
// old-style ones the WMF layout, so files written here open elsewhere.

#include "platform/gdi/gdi.h"

namespace win {

HDC CreateEnhMetaFileA(HDC reference, LPCSTR fileName, const RECT* frame, LPCSTR description);
HENHMETAFILE CloseEnhMetaFile(HDC dc);
BOOL DeleteEnhMetaFile(HENHMETAFILE metafile);
BOOL PlayEnhMetaFile(HDC dc, HENHMETAFILE metafile, const RECT* rect);
UINT GetEnhMetaFileBits(HENHMETAFILE metafile, UINT size, BYTE* buffer);
HENHMETAFILE SetEnhMetaFileBits(UINT size, const BYTE* data);
HENHMETAFILE CopyEnhMetaFileA(HENHMETAFILE metafile, LPCSTR fileName);
HENHMETAFILE GetEnhMetaFileA(LPCSTR fileName);

struct ENHMETAHEADER {
    DWORD iType = 1;
    DWORD nSize = 0;
    RECT rclBounds;
    RECT rclFrame;
    DWORD dSignature = 0x464D4520;
    DWORD nVersion = 0x10000;
    DWORD nBytes = 0;
    DWORD nRecords = 0;
    WORD nHandles = 0;
    WORD sReserved = 0;
    DWORD nDescription = 0;
    DWORD offDescription = 0;
    DWORD nPalEntries = 0;
    SIZE szlDevice;
    SIZE szlMillimeters;
};
UINT GetEnhMetaFileHeader(HENHMETAFILE metafile, UINT size, ENHMETAHEADER* header);

HDC CreateMetaFileA(LPCSTR fileName);
HMETAFILE CloseMetaFile(HDC dc);
BOOL DeleteMetaFile(HMETAFILE metafile);
BOOL PlayMetaFile(HDC dc, HMETAFILE metafile);
UINT GetMetaFileBitsEx(HMETAFILE metafile, UINT size, void* buffer);
HMETAFILE SetMetaFileBitsEx(UINT size, const BYTE* data);
HMETAFILE CopyMetaFileA(HMETAFILE metafile, LPCSTR fileName);

// The clipboard's description of an old-style metafile.
struct METAFILEPICT {
    LONG mm = 0;
    LONG xExt = 0;
    LONG yExt = 0;
    HMETAFILE hMF = nullptr;
};

}  // namespace win
