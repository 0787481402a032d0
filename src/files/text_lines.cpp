#include "files/text_lines.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "base/fortran_format.h"
#include "files/atomic_write.h"
#include "files/toolkit_services.h"
#include "util/file_name_text.h"

namespace files {

bool readWholeFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    if (in.bad()) return false;
    bytes = std::move(all).str();
    return true;
}

std::vector<std::string> splitTextLines(std::string_view bytes, std::size_t limit) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) end = bytes.size();
        std::size_t stop = end;
        if (stop > start && bytes[stop - 1] == '\r') --stop;
        lines.emplace_back(bytes.substr(start, std::min(stop - start, limit)));
        start = last ? end : end + 1;
    }
    return lines;
}

TextFile readTextLines(const std::string& path, std::size_t limit) {
    TextFile file;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return file;
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        std::ifstream probe(path, std::ios::binary);
        file.status = probe ? TextFile::Status::ReadError : TextFile::Status::CannotOpen;
        return file;
    }
    file.status = TextFile::Status::Read;
    file.lines = splitTextLines(bytes, limit);
    return file;
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

long long fileSize(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return -1;
    return static_cast<long long>(size);
}

TextWrite writeTextLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += kCrLf;
    }
    const AtomicWriteResult r = writeFileAtomically(path, std::string_view(text));
    TextWrite w;
    w.opened = r.created;
    w.ok = r.ok;
    if (!r.ok && w.opened) {
        // The line in which the write stopped: lines wholly written come first.
        std::size_t reached = 0;
        int line = 1;
        for (const auto& l : lines) {
            reached += l.size() + kCrLf.size();
            if (reached > r.bytesWritten) break;
            ++line;
        }
        w.failedLine = line;
    }
    return w;
}

ChosenFile chosenFile(const std::string& path) {
    ChosenFile f;
    f.path = path;
    f.name = base::FixedString<256>(path);
    util::FILENAMEEXTONLY(std::span<char>(f.name.data(), f.name.size()));
    return f;
}

namespace {
std::optional<std::string> select(std::string_view filter, std::string_view title, int flags,
                                  std::string_view proposed) {
    FileSelection sel;
    sel.filter = std::string(filter);
    sel.flags = flags;
    sel.title = std::string(title);
    sel.proposedName = std::string(proposed);
    auto& selector = toolkitServices().selectFile;
    return selector ? selector(sel) : std::nullopt;
}
}  // namespace

std::optional<std::string> selectFileToWrite(std::string_view filter, std::string_view title,
                                             std::string_view proposed) {
    return select(filter, title, kSelectSaveFlags, proposed);
}

std::optional<ChosenFile> selectFileToRead(std::string_view filter, std::string_view title) {
    const auto chosen = select(filter, title, kSelectOpenFlags, {});
    if (!chosen) return std::nullopt;
    ChosenFile file = chosenFile(*chosen);
    if (file.name.blank()) return std::nullopt;
    return file;
}

base::FixedString<20> profileNameOf(const base::FixedString<256>& name) {
    std::string_view n = name.trimmed();
    const auto dot = n.find('.');
    if (dot != std::string_view::npos && dot > 0) n = n.substr(0, dot);
    return base::FixedString<20>(n);
}

std::string rightAligned(long long value, int width) {
    auto text = base::formatInteger(value, "I" + std::to_string(width));
    return text ? *text : std::string(static_cast<std::size_t>(width), '*');
}

}  // namespace files
