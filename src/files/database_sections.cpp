#include "files/database_sections.h"

#include <algorithm>

#include "files/text_fields.h"

namespace files {

void writeSectionHeader(base::ByteWriter& out, std::string_view keyword, std::int32_t index,
                        std::size_t length) {
    out.text(keyword, 8);
    out.i32(kSectionVersion);
    out.i32(index);
    out.i32(static_cast<std::int32_t>(length));
}

void writeSection(base::ByteWriter& out, std::string_view keyword, std::int32_t index,
                  std::span<const std::uint8_t> payload) {
    writeSectionHeader(out, keyword, index, payload.size());
    out.bytes(payload);
}

std::string fileNameField(std::string_view name) {
    std::string s(name);
    if (s.size() < 256) s.resize(256, ' ');
    return s;
}

std::string readErrorMessage(std::size_t position, const Keyword& keyword) {
    return "READ ERROR OR END OF FILE AT BYTE " +
           formatInteger(static_cast<long long>(position), 8) + "\r\nWHILE READING " +
           std::string(keyword.view());
}

std::string allocationErrorMessage(std::size_t position, const Keyword& keyword) {
    return "UNABLE TO ALLOCATE ARRAYS AT BYTE " +
           formatInteger(static_cast<long long>(position), 8) + "\r\nWHILE READING " +
           std::string(keyword.view());
}

std::string newVersionMessage(const Keyword& keyword) {
    return "SKIPPING NEW VERSION: " + std::string(keyword.view());
}

std::string unknownSectionMessage(const Keyword& keyword, const Keyword& lastSection) {
    return "DON'T KNOW HOW TO READ " + std::string(cleanedKeyword(keyword).view()) +
           " LAST SUCCESSFUL READ WAS " + std::string(lastSection.view());
}

std::string writeErrorMessage(std::size_t position) {
    return "WRITE ERROR AT BYTE " + formatInteger(static_cast<long long>(position), 8) + ": " +
           formatInteger(0, 8);
}

Keyword cleanedKeyword(const Keyword& keyword) {
    Keyword k = keyword;
    for (std::size_t i = 0; i < Keyword::size(); ++i) {
        auto c = static_cast<unsigned char>(k[i]);
        bool printable = (c >= 32 && c <= 126) || (c >= 128 && c <= 168) || (c >= 224 && c <= 252);
        if (!printable) k[i] = ' ';
    }
    return k;
}

bool SectionReader::take(std::size_t n, std::span<const std::uint8_t>& bytes) {
    if (remaining() < n) {
        bytes = file_.subspan(position_);
        position_ = file_.size();
        return false;
    }
    bytes = file_.subspan(position_, n);
    position_ += n;
    return true;
}

bool SectionReader::readMagic(std::string& magic) {
    std::span<const std::uint8_t> bytes;
    bool ok = take(kDatabaseMagic.size(), bytes);
    magic.assign(bytes.begin(), bytes.end());
    return ok;
}

bool SectionReader::next(SectionHeader& header) {
    headerStart_ = position_;
    std::span<const std::uint8_t> bytes;
    bool ok = take(kSectionHeaderSize, bytes);
    std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), 8), keyword_.data());
    if (!ok) return false;
    base::ByteReader in(bytes);
    header.keyword = in.fixed<8>();
    header.version = in.i32();
    header.index = in.i32();
    header.length = in.i32();
    return true;
}

bool SectionReader::payload(const SectionHeader& header, std::size_t capacity,
                            std::span<const std::uint8_t>& bytes) {
    if (header.length < 0) return false;
    auto length = static_cast<std::size_t>(header.length);
    if (!take(std::min(length, capacity), bytes)) return false;
    std::span<const std::uint8_t> rest;
    return take(length - bytes.size(), rest);
}

bool SectionReader::skip(const SectionHeader& header) {
    std::span<const std::uint8_t> bytes;
    return payload(header, 0, bytes);
}

}  // namespace files
