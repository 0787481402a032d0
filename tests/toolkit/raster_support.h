#pragma once
// Shared by the raster output tests: a private folder, running the
// independent readers, and reading the portable pixmaps they print.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tk::test {

namespace fs = std::filesystem;

inline fs::path privateFolder(const std::string& name) {
    static int serial = 0;
    const fs::path p = fs::temp_directory_path() /
                       ("pelk-" + name + "-" + std::to_string(::getpid()) + "-" +
                        std::to_string(++serial));
    fs::create_directories(p);
    return p;
}

// Standard output of a shell command, and its exit status.
struct CommandResult {
    std::string out;
    int status = -1;
};
inline CommandResult runCommand(const std::string& command) {
    CommandResult r;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
            r.out.append(buf, n);
        r.status = pclose(p);
    }
    return r;
}

inline std::vector<std::uint8_t> fileBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
inline void writeBytes(const fs::path& p, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A binary PPM (P6, maxval 255) as 0xRRGGBB words, top row first.
struct Pixmap {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};
inline Pixmap parsePpm(const std::string& data) {
    Pixmap p;
    std::istringstream in(data);
    std::string magic;
    int maxval = 0;
    in >> magic >> p.width >> p.height >> maxval;
    in.get();
    if (magic != "P6" || maxval != 255) return Pixmap{};
    for (int k = 0; k < p.width * p.height; ++k) {
        const int r = in.get(), g = in.get(), b = in.get();
        if (!in) return Pixmap{};
        p.pixels.push_back(static_cast<std::uint32_t>(r << 16 | g << 8 | b));
    }
    return p;
}

// The file read by an independent reader into a pixmap: pngtopnm, bmptopnm
// or pcxtoppm by the extension.
inline Pixmap readWithNetpbm(const fs::path& file) {
    const std::string ext = file.extension().string();
    const std::string reader = ext == ".png" ? "pngtopnm" : ext == ".bmp" ? "bmptopnm" : "pcxtoppm";
    return parsePpm(runCommand(reader + " '" + file.string() + "' 2>/dev/null | ppmtoppm 2>/dev/null").out);
}

}  // namespace tk::test
