#pragma once
// The container of the database file: the magic, then tagged sections, each a
// 20-byte header (8-character keyword, version, index, payload length, all
// little-endian) and its payload. The reader works on the whole file in
// memory and applies the rules that every level of the file shares: a
// payload fills at most its destination and the rest is skipped, a short
// read is a read error, a newer version or an unknown keyword is skipped
// with a message.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/fixed_string.h"
#include "base/little_endian.h"

namespace files {

inline constexpr std::string_view kDatabaseMagic = "PelkFile";
inline constexpr std::size_t kSectionHeaderSize = 20;
inline constexpr std::int32_t kSectionVersion = 1;

using Keyword = base::FixedString<8>;

struct SectionHeader {
    Keyword keyword;
    std::int32_t version = kSectionVersion;
    std::int32_t index = 0;
    std::int32_t length = 0;
};

// Appends a section header (always version 1) and, when given, its payload.
void writeSectionHeader(base::ByteWriter& out, std::string_view keyword, std::int32_t index,
                        std::size_t length);
void writeSection(base::ByteWriter& out, std::string_view keyword, std::int32_t index,
                  std::span<const std::uint8_t> payload);

// A file name as the messages show it: the whole 256-character name field.
std::string fileNameField(std::string_view name);

// Message texts of the database file.
std::string readErrorMessage(std::size_t position, const Keyword& keyword);
std::string allocationErrorMessage(std::size_t position, const Keyword& keyword);
std::string newVersionMessage(const Keyword& keyword);
std::string unknownSectionMessage(const Keyword& keyword, const Keyword& lastSection);
std::string writeErrorMessage(std::size_t position);

class SectionReader {
  public:
    explicit SectionReader(std::span<const std::uint8_t> file) : file_(file) {}

    // Reads the 8-byte magic; false when the file is too short to hold it.
    bool readMagic(std::string& magic);

    // Reads the next section header; false on a short read (the keyword
    // field then holds what could be read over its previous value).
    bool next(SectionHeader& header);

    // The first min(length, capacity) payload bytes of the current section,
    // with the rest of the payload skipped. False on a short read.
    bool payload(const SectionHeader& header, std::size_t capacity,
                 std::span<const std::uint8_t>& bytes);
    // Skips the whole payload of the current section.
    bool skip(const SectionHeader& header);

    // Steps back over the header just read, so that it is read again.
    void unread() { position_ = headerStart_; }

    std::size_t position() const { return position_; }
    std::size_t remaining() const { return file_.size() - position_; }
    // The keyword field as last read ("NOTHING " before the first header).
    const Keyword& keyword() const { return keyword_; }

  private:
    bool take(std::size_t n, std::span<const std::uint8_t>& bytes);

    std::span<const std::uint8_t> file_;
    std::size_t position_ = 0;
    std::size_t headerStart_ = 0;
    Keyword keyword_{"NOTHING "};
};

// The keyword with every byte outside the printable ranges made a blank.
Keyword cleanedKeyword(const Keyword& keyword);

}  // namespace files
