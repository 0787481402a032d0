#include "toolkit/graphics/drawing_targets.h"

#include "platform/gdi/gdi.h"
#include "platform/window/user_api.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_table.h"
#include "toolkit/core/window_text.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_driver.h"

namespace tk {

namespace {

void releaseSurface() {
    if (auto& release = graphicsServices().releaseDrawingDC) release();
}

void fallBackToGraphicsWindow() {
    GraphicsState& g = graphicsState();
    g.targetId = g.graphicsWindow;
    g.targetDialog = 0;
    g.targetType = WindowTarget;
    GraphicsTargetResized(WindowTarget, g.graphicsWindow, g.graphicsWindowWidth,
                          g.graphicsWindowHeight);
    ReportLibraryError(1019, "GrSelect");
}

// Selects the target of the given type; false asks for the fallback.
bool selectTarget(int type, std::optional<int> id) {
    GraphicsState& g = graphicsState();
    GraphicsServices& s = graphicsServices();
    switch (type) {
        case MetafileTarget: {
            releaseSurface();
            g.targetId = id.value_or(1);
            g.targetDialog = 0;
            int status = 1, width = 0, height = 0;
            SelectMetafileSlot(g.targetId, status, width, height);
            if (status > 0) return false;
            GraphicsTargetResized(MetafileTarget, g.targetId, width, height);
            return true;
        }
        case DialogFieldTarget: {
            const int dialog = s.currentDialog ? s.currentDialog() : 0;
            if (dialog == 0) return false;
            releaseSurface();
            g.targetId = id.value_or(0);
            g.targetDialog = dialog;
            int width = 0, height = 0;
            DialogFieldDrawTarget(g.targetId, width, height);
            if (g.targetId == -1) return false;
            GraphicsTargetResized(DialogFieldTarget, g.targetId, width, height);
            return true;
        }
        case BitmapTarget: {
            releaseSurface();
            g.targetId = id.value_or(1);
            g.targetDialog = 0;
            const TargetSize size =
                s.bitmapSelectTarget ? s.bitmapSelectTarget(g.targetId - 1) : TargetSize{};
            if (size.status > 0) return false;
            GraphicsTargetResized(BitmapTarget, g.targetId, size.width, size.height);
            return true;
        }
        default: {
            releaseSurface();
            ToolkitState& t = toolkitState();
            const int savedError = t.LastErrorNumber;
            t.LastErrorNumber = 0;
            g.targetId = id.value_or(g.graphicsWindow);
            g.targetDialog = 0;
            const bool open = s.outputWindowSelect && s.outputWindowSelect(g.targetId);
            if (!open) ReportLibraryError(1003, "YYWINSEL");
            if (t.LastErrorNumber == 1003) return false;
            t.LastErrorNumber = savedError;
            return true;
        }
    }
}

}  // namespace

void GrSelect(int type, std::optional<int> id) {
    GraphicsState& g = graphicsState();
    const bool wasMemoryPicture = g.memoryCgmTarget != 0;
    g.memoryCgmTarget = 0;
    if (type >= 1 && type <= 4) {
        g.targetType = type;
        if (!selectTarget(type, id)) {
            fallBackToGraphicsWindow();
            return;
        }
    }
    SendScreenRequest(1);
    if (wasMemoryPicture || g.memoryCgmTarget) {
        for (int code : {18, 30, 29, 35, 24})
            SendScreenRequest(code);
        if (g.temporaryWindowSwitch) SendScreenRequest(21);
    }
}

void DialogFieldDrawTarget(int& field, int& width, int& height) {
    GraphicsServices& s = graphicsServices();
    win::HWND window = s.dialogFieldWindow ? s.dialogFieldWindow(field) : nullptr;
    if (!window) {
        field = -1;
        return;
    }
    DrawingSurface& surface = drawingSurface();
    win::HDC dc = win::GetDC(window);
    if (!dc) {
        field = -1;
        surface = DrawingSurface{};
        return;
    }
    surface.dc = dc;
    surface.window = window;
    surface.metafile = false;
    win::RECT client{};
    win::GetClientRect(window, &client);
    width = client.right - client.left;
    height = client.bottom - client.top;
    ScreenSurfaceChanged();
    if (s.markDrawingField) s.markDrawingField(graphicsState().targetDialog, field);
}

void SelectMetafileSlot(int slot, int& status, int& width, int& height) {
    GraphicsServices& s = graphicsServices();
    status = 1;
    if (slot < 1 || slot > 20 || !s.metafileSlotKind) return;
    const int kind = s.metafileSlotKind(slot);
    if (kind != 3 && kind != 6) return;
    const TargetSize size = s.metafileSlotSize ? s.metafileSlotSize(slot) : TargetSize{};
    width = size.width;
    height = size.height;
    if (kind == 3) {
        graphicsState().memoryCgmTarget = 0;
        status = s.metafileSlotUseDC ? s.metafileSlotUseDC(slot) : 1;
    } else {
        graphicsState().memoryCgmTarget = 1;
        status = 0;
    }
}

void MetafileDestroy(int slot) {
    GraphicsServices& s = graphicsServices();
    if (slot < 1 || slot > 20) {
        ReportLibraryError(1060, "MetafileDestroy");
        return;
    }
    const int kind = s.metafileSlotKind ? s.metafileSlotKind(slot) : 0;
    if (kind == 0) ReportLibraryError(1060, "MetafileDestroy");
    // Freeing closes or releases what the slot holds and clears its words.
    if (s.metafileSlotFree) s.metafileSlotFree(slot);
}

void WindowTargetResized(int window, int width, int height) {
    GraphicsState& g = graphicsState();
    if (window != g.graphicsWindow) return;
    g.graphicsWindowWidth = width;
    g.graphicsWindowHeight = height;
    if (auto& update = graphicsServices().windowTextSizeUpdate) update();
    GraphicsTargetResized(WindowTarget, window, width, height);
}

void DialogFieldTargetResized(int dialog, int field, int width, int height) {
    const GraphicsState& g = graphicsState();
    if (g.targetType != DialogFieldTarget || g.targetId != field || g.targetDialog != dialog)
        return;
    if (auto& update = graphicsServices().windowTextSizeUpdate) update();
    GraphicsTargetResized(DialogFieldTarget, field, width, height);
}

void SetTextWindowState(const std::array<int, 8>& record) {
    if (record[0] < 0 || record[0] > 6) return;
    WindowTextState& s = windowTextState();
    // The settings belong to the open root window: take its defaults first
    // so that the first size update does not replace what is stored here.
    const win::HWND root = windowSystem().slots[0].frame;
    if (root && s.rootFrame != root) WindowTextReset();
    s.fontNumber = record[0];
    s.charWidthUnits = record[1];
    s.charHeightUnits = record[2];
    s.bold = record[3];
    s.italic = record[4];
    WindowTextSizeUpdate();
    WindowTextColours(record[6], record[7]);
    WindowTextUnderline(record[5]);
}

}  // namespace tk
