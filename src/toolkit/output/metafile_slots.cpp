#include "toolkit/output/metafile_slots.h"

#include <algorithm>
#include <string>

#include "platform/gdi/metafile.h"
#include "platform/kernel/errors.h"
#include "platform/kernel/files.h"
#include "platform/kernel/handles.h"
#include "platform/window/user_api.h"
#include "toolkit/core/error_report.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_driver.h"
#include "toolkit/graphics/screen_primitives.h"
#include "toolkit/output/cgm_driver.h"
#include "toolkit/output/cgm_memory_driver.h"
#include "toolkit/output/reference_context.h"
#include "toolkit/output/wmf_driver.h"

namespace tk {
namespace {

using namespace win;

// The Windows side of an enhanced-metafile slot: the recording DC (or, for
// a loaded picture, only the mark that the slot is occupied) and the closed
// metafile.
struct EnhancedSlot {
    HDC recording = nullptr;
    bool loaded = false;
    HENHMETAFILE handle = nullptr;
};

std::array<MetafileSlot, 20>& slots() {
    static std::array<MetafileSlot, 20> s;
    return s;
}

std::array<EnhancedSlot, 20>& enhanced() {
    static std::array<EnhancedSlot, 20> e;
    return e;
}

int& referenceResolution() {
    static int r = 96;
    return r;
}

bool validIndex(int index) {
    return index >= 0 && index < 20;
}

EnhancedSlot& slotAt(int index) {
    return enhanced()[static_cast<std::size_t>(index)];
}

// Once closed, a recording can be played or saved but not drawn into.
void closeRecording(EnhancedSlot& e) {
    if (!e.handle && e.recording) {
        e.handle = CloseEnhMetaFile(e.recording);
        if (drawingSurface().dc == e.recording) drawingSurface() = DrawingSurface{};
    }
}

}  // namespace

MetafileSlot& metafileSlot(int n) {
    return slots()[static_cast<std::size_t>(std::clamp(n, 1, 20) - 1)];
}

bool validMetafileSlot(int n) {
    return n >= 1 && n <= 20;
}

void YYGCGM1(const std::uint8_t* bytes, int count) {
    const int n = graphicsState().targetId;
    if (!validMetafileSlot(n) || count <= 0) return;
    MetafileSlot& s = metafileSlot(n);
    if (s.BufferUsed + count > s.BufferCapacity ||
        static_cast<std::size_t>(s.BufferUsed + count) > s.SlotBuffer.size()) {
        ReportLibraryError(1062, "YYGCGM1");
        return;
    }
    std::copy_n(bytes, count, s.SlotBuffer.begin() + s.BufferUsed);
    s.BufferUsed += count;
}

void MetafileSlotCreate(int index, int pageWidth, int pageHeight, int& horzRes, int& vertRes,
                        int& horzSize, int& vertSize) {
    if (!validIndex(index)) return;
    const ReferenceContext reference;
    HDC ref = reference.get();
    horzRes = GetDeviceCaps(ref, HORZRES);
    vertRes = GetDeviceCaps(ref, VERTRES);
    horzSize = GetDeviceCaps(ref, HORZSIZE);
    vertSize = GetDeviceCaps(ref, VERTSIZE);
    const RECT frame{0, 0, pageWidth * 2540 / 72, pageHeight * 2540 / 72};
    EnhancedSlot& e = slotAt(index);
    MetafileSlotDelete(index);
    e.recording = CreateEnhMetaFileA(ref, nullptr, &frame, nullptr);
    e.handle = nullptr;
    referenceResolution() = GetDeviceCaps(ref, LOGPIXELSX);
}

void MetafileSlotUseDC(int index, int width, int height, int& status) {
    status = 1;
    if (!validIndex(index)) return;
    EnhancedSlot& e = slotAt(index);
    if (!e.recording || e.handle) return;
    DrawingSurface& surface = drawingSurface();
    surface = DrawingSurface{};
    surface.dc = e.recording;
    surface.metafile = true;
    surface.referenceResolution = referenceResolution();
    SetWindowExtEx(e.recording, width, height, nullptr);
    ScreenSurfaceChanged();
    status = 0;
}

void MetafileSlotPlay(int index, int left, int top, int right, int bottom) {
    if (!validIndex(index)) return;
    EnhancedSlot& e = slotAt(index);
    closeRecording(e);
    HDC dc = drawingSurface().dc;
    if (!e.handle || !dc) return;
    HRGN clip = screen::primitives().clip;
    if (clip) SelectClipRgn(dc, clip);
    const RECT r{left, top, right, bottom};
    PlayEnhMetaFile(dc, e.handle, &r);
    if (clip) SelectClipRgn(dc, nullptr);
}

void MetafileSlotSave(int index, int& status, int& error, std::string_view fileName) {
    status = 1;
    error = 0;
    if (!validIndex(index)) return;
    EnhancedSlot& e = slotAt(index);
    closeRecording(e);
    SetLastError(0);
    HENHMETAFILE copy =
        e.handle ? CopyEnhMetaFileA(e.handle, std::string(fileName).c_str()) : nullptr;
    if (!copy) {
        error = static_cast<int>(GetLastError());
        return;
    }
    DeleteEnhMetaFile(copy);
    status = 0;
}

void MetafileSlotLoad(int index, int size, int& status, int& error, std::string_view fileName) {
    status = 1;
    error = 0;
    if (!validIndex(index)) return;
    EnhancedSlot& e = slotAt(index);
    MetafileSlotDelete(index);
    SetLastError(0);
    HANDLE f = CreateFileA(std::string(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        error = static_cast<int>(GetLastError());
        return;
    }
    std::vector<BYTE> bytes(static_cast<std::size_t>(std::max(size, 0)), 0);
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(f);
    if (read < bytes.size() || bytes.empty()) {
        status = 2;
        error = static_cast<int>(GetLastError());
        return;
    }
    e.handle = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
    if (!e.handle) {
        status = 2;
        return;
    }
    e.loaded = true;
    status = 0;
}

void MetafileSlotDelete(int index) {
    if (!validIndex(index)) return;
    EnhancedSlot& e = slotAt(index);
    closeRecording(e);
    if (e.handle) DeleteEnhMetaFile(e.handle);
    e = EnhancedSlot{};
}

int MetafileSlotReferenceResolution() {
    return referenceResolution();
}

bool MetafileSlotOccupied(int index) {
    return validIndex(index) && (slotAt(index).recording || slotAt(index).loaded);
}

void FreeMetafileSlot(int n) {
    if (!validMetafileSlot(n)) return;
    MetafileSlot& s = metafileSlot(n);
    if (s.SlotKind == kEnhancedMetafileSlot) MetafileSlotDelete(n - 1);
    s = MetafileSlot{};
}

void FreeAllMetafileSlots() {
    for (int n = 1; n <= 20; ++n)
        if (metafileSlot(n).SlotKind != 0) FreeMetafileSlot(n);
}

void MetafileSlotsBind() {
    GraphicsServices& s = graphicsServices();
    s.metafileSlotKind = [](int n) {
        if (!validMetafileSlot(n) || metafileSlot(n).SlotInUse == 0) return 0;
        return metafileSlot(n).SlotKind;
    };
    s.metafileSlotSize = [](int n) {
        TargetSize t;
        if (!validMetafileSlot(n)) return t;
        t.status = 0;
        t.width = metafileSlot(n).DrawableWidth;
        t.height = metafileSlot(n).DrawableHeight;
        return t;
    };
    // The page of the slot in whole millimetres, for line widths given in
    // tenths of a millimetre.
    s.metafileSlotMillimetres = [](int n) {
        TargetSize t;
        if (!validMetafileSlot(n)) return t;
        t.status = 0;
        t.width = metafileSlot(n).SlotPageWidth * 254 / 720;
        t.height = metafileSlot(n).SlotPageHeight * 254 / 720;
        return t;
    };
    s.metafileSlotUseDC = [](int n) {
        int status = 1;
        MetafileSlotUseDC(n - 1, metafileSlot(n).DrawableWidth, metafileSlot(n).DrawableHeight,
                          status);
        return status;
    };
    s.metafileSlotFree = FreeMetafileSlot;
    s.memoryCgmDriver = MemoryCgmDriver;
}

void RegisterMetafileDrivers() {
    RegisterHardcopyDriver(9, CgmDriver);
    RegisterHardcopyDriver(11, XXWMF);
    if (!cgmDriverHooks().open) BindCgmDriverStandalone();
    MetafileSlotsBind();
}

}  // namespace tk
