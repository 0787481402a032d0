#include "shell/image_viewer_commands.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/export_commands.h"
#include "shell/resources/resource_ids.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_table.h"
#include "toolkit/output/bitmap_store.h"
#include "toolkit/output/bitmap_viewer.h"
#include "toolkit/graphics/drawing_targets.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/image_loading.h"
#include "toolkit/output/image_transfer.h"
#include "util/message_boxes.h"

namespace shell {

namespace {

constexpr int kOpenFlags = 42;
constexpr int kLargestWindow[2] = {800, 600};

// The bitmaps of viewers opened here; one whose viewer was closed is freed
// before the next is made. The handle tells a bitmap of ours from one made
// in its slot since (after a restart of the toolkit, say).
struct ShownBitmap {
    int index;
    win::HBITMAP handle;
};

std::vector<ShownBitmap>& shownBitmaps() {
    static std::vector<ShownBitmap> shown;
    return shown;
}

void freeClosedViewersBitmaps() {
    std::erase_if(shownBitmaps(), [](const ShownBitmap& b) {
        const tk::BitmapEntry* e = tk::bitmapSlot(b.index);
        if (!e || e->handle != b.handle) return true;
        if (tk::BitmapViewerFind(b.index) != 0) return false;
        int status = 0;
        tk::BitmapDelete(b.index, status);
        return true;
    });
}

// The toolkit's words for an error number.
std::string errorText(int error) {
    std::array<char, 256> text{};
    tk::ErrorTextLookup(error, text);
    std::string words(text.data(), text.size());
    words.erase(words.find_last_not_of(std::string(" \0", 2)) + 1);
    return words;
}

void reportNotShown(const std::string& name, const std::string& why) {
    util::WINMSG("THE IMAGE " + name + " CANNOT BE SHOWN:\r\n" + why);
}

// The file's kind and size; 0, or the error number that tells why it
// cannot be shown.
int readImage(const std::string& name, int& kind, int& width, int& height) {
    std::vector<std::uint8_t> bytes;
    tk::ErrorNumberStore(0);
    if (!tk::ReadWholeFile(name, bytes)) return std::max(1, tk::toolkitState().LastErrorNumber);
    kind = tk::ImageKindOf(bytes.data(), bytes.size());
    if (kind < 0) return 27;
    tk::ImagePixelArray image;
    const int error = tk::DecodeImage(bytes.data(), bytes.size(), image);
    if (error != 0) return error;
    width = image.width;
    height = image.height;
    return width > 0 && height > 0 ? 0 : 27;
}

// The file drawn into a new stored bitmap, which the graphics take as their
// drawing target meanwhile: its index, or -1 (reported).
int storeImage(const std::string& name, int kind, int width, int height, int window) {
    int number = 0;
    tk::BitmapCreate(number, width, height, 0xFFFFFF);
    if (number <= 0) {
        reportNotShown(name, errorText(1020));
        return -1;
    }
    int error = 1066, os = 0;
    tk::GrSelect(tk::BitmapTarget, number);
    if (tk::graphicsState().targetType == tk::BitmapTarget) {
        tk::ImageTransfer t;
        t.kind = kind;
        t.x2 = width - 1;
        t.y2 = height - 1;
        tk::ImageFileToDC(t, 0, error, os, name);
    }
    tk::GrSelect(tk::WindowTarget, window);
    if (error != 0) {
        int deleted = 0;
        tk::BitmapDelete(number - 1, deleted);
        reportNotShown(name, errorText(error));
        return -1;
    }
    return number - 1;
}

}  // namespace

int showImageFile() {
    const int caller = tk::windowSystem().CurrentSlot;
    const std::string name = chooseFileName("Image files (BMP, PNG, PCX)|*.BMP;*.PNG;*.PCX|",
                                            kOpenFlags, "Show image file");
    if (name.empty()) return 0;
    int kind = 0, width = 0, height = 0;
    if (const int error = readImage(name, kind, width, height); error != 0) {
        reportNotShown(name, errorText(error));
        return 0;
    }
    freeClosedViewersBitmaps();
    const int index = storeImage(name, kind, width, height, caller);
    if (index < 0) return 0;
    // The viewer fits its frame to the bitmap when it is smaller than this.
    int window = 0;
    tk::WindowOpenChildArgs a;
    a.width = std::min(width + 40, kLargestWindow[0]);
    a.height = std::min(height + 80, kLargestWindow[1]);
    a.title = std::filesystem::path(name).filename().string();
    tk::WindowOpenChild(window, a);
    int mode = 2, status = -1;
    tk::BitmapViewerOpen(index, 0, 0, mode, 3, status);
    if (window <= 0 || (status != 0 && status != 5)) {
        if (window > 0) tk::WindowCloseChild(window);
        int deleted = 0;
        tk::BitmapDelete(index, deleted);
        reportNotShown(name, "no viewer window could be opened");
        window = 0;
    } else {
        shownBitmaps().push_back({index, tk::bitmapSlot(index)->handle});
    }
    tk::OutputWindowSelect(caller);
    return window;
}

void addImageViewerCommands(CommandTable& t) {
    t.set(CMD_VIEWIMAGE, [](int) { showImageFile(); });
}

}  // namespace shell
