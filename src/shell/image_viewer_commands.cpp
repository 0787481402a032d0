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
#include "toolkit/output/image_loading.h"
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

// The toolkit's words for its last error.
std::string lastErrorText() {
    std::array<char, 256> text{};
    tk::ErrorTextLookup(tk::toolkitState().LastErrorNumber, text);
    std::string words(text.data(), text.size());
    words.erase(words.find_last_not_of(std::string(" \0", 2)) + 1);
    return words;
}

void reportNotShown(const std::string& name, const std::string& why) {
    util::WINMSG("THE IMAGE " + name + " CANNOT BE SHOWN:\r\n" + why);
}

// The image as a stored bitmap: its index, or -1 (reported).
int storeImage(const tk::ImagePixelArray& image, const std::string& name) {
    int number = 0;
    tk::BitmapCreate(number, image.width, image.height, 0xFFFFFF);
    int status = number > 0 ? 0 : 1020;
    if (status == 0) {
        // The packed colours as they are: a signed view of the unsigned words.
        const auto* pixels = reinterpret_cast<const std::int32_t*>(image.pixels.data());
        tk::BitmapPutPixels(number - 1, pixels, 0, 0, image.width - 1, image.height - 1, status);
        if (status != 0) tk::BitmapDelete(number - 1, status);
    }
    if (number <= 0 || status != 0) {
        reportNotShown(name, "no memory for its bitmap");
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
    tk::ImagePixelArray image;
    tk::ErrorNumberStore(0);
    tk::GrLoadImageData(name, image);
    if (image.width <= 0 || image.height <= 0) {
        reportNotShown(name, lastErrorText());
        return 0;
    }
    freeClosedViewersBitmaps();
    const int index = storeImage(image, name);
    if (index < 0) return 0;
    // The viewer fits its frame to the bitmap when it is smaller than this.
    int window = 0;
    tk::WindowOpenChildArgs a;
    a.width = std::min(image.width + 40, kLargestWindow[0]);
    a.height = std::min(image.height + 80, kLargestWindow[1]);
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
