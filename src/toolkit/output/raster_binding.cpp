#include "toolkit/output/raster_binding.h"

#include "platform/window/user_api.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_record.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/screen_driver.h"
#include "toolkit/output/bitmap_file_driver.h"
#include "toolkit/output/bitmap_store.h"
#include "toolkit/output/bitmap_viewer.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/image_transfer.h"
#include "toolkit/output/raster_printer_driver.h"

namespace tk {

namespace {

// The graphics window's client context is the surface again after a
// bitmap or a dialog field gave theirs back, so that a failed selection
// falls back to drawing on the window.
void restoreWindowSurface() {
    const WindowSystem& w = windowSystem();
    DrawingSurface& surface = drawingSurface();
    surface = DrawingSurface{};
    surface.dc = w.ClientDC;
    surface.window = w.ClientDC ? w.slots[static_cast<std::size_t>(w.CurrentSlot)].client : nullptr;
    surface.palette = w.Palette;
    if (surface.dc) ScreenSurfaceChanged();
}

void releaseDrawingDC() {
    DrawingSurface& surface = drawingSurface();
    if (BitmapReleaseTarget()) {
        restoreWindowSurface();
    } else if (surface.dc && !surface.metafile && surface.dc != windowSystem().ClientDC) {
        // A dialog field's context, taken when the field became the target.
        win::ReleaseDC(surface.window, surface.dc);
        restoreWindowSurface();
    }
}

win::HWND dialogFieldWindow(int field) {
    return field == 0 ? currentDialog() : currentField(field);
}

void markDrawingField(int, int field) {
    if (field == 0) {
        if (DialogRecord* d = currentDialogRecord()) d->isDrawingTarget() = 1;
        return;
    }
    win::HWND control = currentField(field);
    if (!control) return;
    FieldRecord* f = fieldRecordOf(control);
    if (!f) f = FieldRecordCreate(control);
    if (f) f->isDrawingTarget = 1;
}

void imageOnScreen(const ImageRequest& r) {
    ImageTransfer t;
    t.kind = r.pixX1;
    t.x1 = r.left, t.y1 = r.top, t.x2 = r.right, t.y2 = r.bottom;
    t.rotation = r.rotation;
    t.offsetX = r.offsetX, t.offsetY = r.offsetY;
    DeviceParameterBlock& b = deviceBlock();
    ImageFileToDC(t, 0, b.value, b.count, r.file);
}

}  // namespace

void BindRasterOutput() {
    RegisterHardcopyDriver(hc::RasterDriverNumber, XXRAST);
    RegisterHardcopyDriver(hc::BitImageDriverNumber, XXIMAG);
    GraphicsServices& s = graphicsServices();
    s.releaseDrawingDC = releaseDrawingDC;
    s.currentDialog = [] { return currentDialog() ? toolkitState().CurrentDialogNumber : 0; };
    s.dialogFieldWindow = dialogFieldWindow;
    s.markDrawingField = markDrawingField;
    s.bitmapSelectTarget = [](int index) {
        TargetSize size;
        BitmapSelectTarget(index, size.status, size.width, size.height);
        return size;
    };
    s.bitmapViewerInfo = [](int code, int window) { return BitmapViewerInfo(window, code); };
    s.imageFileToDC = imageOnScreen;
}

}  // namespace tk
