#include "files/database_image.h"

#include <algorithm>
#include <utility>

#include "files/database_sections.h"
#include "files/messages.h"
#include "files/profile_block.h"
#include "files/text_fields.h"
#include "model/profile_header_layout.h"
#include "util/text_clean.h"
#include "util/text_span.h"

namespace files {

namespace {

// Non-printable characters of a profile name become blanks; a blank name
// becomes "PROFILE" and the profile's number.
void tidyProfileName(model::ProfileLine& p, int index) {
    util::CHR_CHK(util::chars(p.PNAME), 20);
    if (p.PNAME.blank()) p.PNAME.assign("PROFILE " + formatInteger(index, 5));
}

// Reads the payload of a section that must be of the known version into
// `bytes`; false when the section was skipped (newer version) or failed.
enum class Payload { Read, Skipped, Failed };
Payload knownVersionPayload(SectionReader& in, const SectionHeader& h, std::size_t capacity,
                            std::span<const std::uint8_t>& bytes) {
    if (h.version != kSectionVersion) {
        showInformation(newVersionMessage(h.keyword));
        return in.skip(h) ? Payload::Skipped : Payload::Failed;
    }
    return in.payload(h, capacity, bytes) ? Payload::Read : Payload::Failed;
}

class ImageReader {
  public:
    ImageReader(std::span<const std::uint8_t> file, std::string_view fileName, DatabaseImage& image)
        : in_(file), fileName_(fileName), image_(image) {}
    bool run();

  private:
    enum class Step { Next, Done, Failed };
    Step section(const SectionHeader& h);
    Step databaseHead(const SectionHeader& h);
    Step mapAxis(const SectionHeader& h);
    Step profiles(const SectionHeader& h);
    Step failed() {
        showInformation(readErrorMessage(in_.position(), in_.keyword()));
        return Step::Failed;
    }
    Step skipped(const SectionHeader& h) { return in_.skip(h) ? Step::Next : failed(); }
    Step handled(const SectionHeader& h) {
        lastSection_ = h.keyword;
        return Step::Next;
    }

    SectionReader in_;
    std::string_view fileName_;
    DatabaseImage& image_;
    Keyword lastSection_{"NOTHING "};
    int announced_ = 0;  // profiles the database head announced
    ProfileReadState profileState_;
};

bool ImageReader::run() {
    std::string magic;
    if (!in_.readMagic(magic)) {
        showInformation(readErrorMessage(0, in_.keyword()));
        return false;
    }
    if (magic != kDatabaseMagic) {
        showInformation("File is not Pelk-GM Profile Data file:\r\n" + fileNameField(fileName_));
        return false;
    }
    for (;;) {
        SectionHeader h;
        Step step = in_.next(h) ? section(h) : failed();
        if (step == Step::Failed) return false;
        if (step == Step::Done) return true;
    }
}

ImageReader::Step ImageReader::section(const SectionHeader& h) {
    const std::string_view k = h.keyword.view();
    if (k == "DATAHEAD") return databaseHead(h);
    if (k == "MAPAXIS ") return mapAxis(h);
    if (k == "PROFILE ") return profiles(h);
    if (k == "ENDFILE ") {
        // A file that ends before the profiles its head announced is not
        // whole, however tidily it ends.
        if (!in_.skip(h) || image_.database.NPROF < announced_) return failed();
        lastSection_ = h.keyword;
        image_.database.LDBSAV = true;
        return Step::Done;
    }
    showWarning(unknownSectionMessage(h.keyword, lastSection_));
    return skipped(h);
}

// The head empties the database; it announces how many profile blocks follow.
ImageReader::Step ImageReader::databaseHead(const SectionHeader& h) {
    image_.database = model::ProfileDatabase{};
    image_.currentProfile = 0;
    announced_ = 0;
    std::span<const std::uint8_t> bytes;
    switch (knownVersionPayload(in_, h, model::kDatabaseHeaderSize, bytes)) {
        case Payload::Failed:
            return failed();
        case Payload::Skipped:
            return Step::Next;
        case Payload::Read:
            break;
    }
    model::readDatabaseHeader(bytes, image_.database);
    // Reserved words are not kept: nothing of a file's unused bytes travels
    // on into the next file written.
    image_.database.reserved24 = {};
    image_.database.reserved36 = {};
    image_.database.reserved44 = {};
    announced_ = image_.database.NPROF;
    image_.database.NPROF = 0;  // counts the blocks actually read
    if (announced_ < 0 || announced_ > model::kProfileLimit) return failed();
    return handled(h);
}

ImageReader::Step ImageReader::mapAxis(const SectionHeader& h) {
    std::span<const std::uint8_t> bytes;
    switch (knownVersionPayload(in_, h, util::kAxisRecordSize, bytes)) {
        case Payload::Failed:
            return failed();
        case Payload::Skipped:
            return Step::Next;
        case Payload::Read:
            break;
    }
    // A short record replaces only the front of the one held.
    base::ByteWriter held;
    util::writeAxisRecord(held, image_.mapAxis);
    std::vector<std::uint8_t> merged = held.take();
    std::copy(bytes.begin(), bytes.end(), merged.begin());
    base::ByteReader r(merged);
    image_.mapAxis = util::readAxisRecord(r);
    return handled(h);
}

// The selected profile, then the announced profile blocks.
ImageReader::Step ImageReader::profiles(const SectionHeader& h) {
    std::span<const std::uint8_t> bytes;
    // A payload too short to hold the number is skipped whole.
    Payload got = knownVersionPayload(in_, h, h.length >= 4 ? 4 : 0, bytes);
    if (got == Payload::Failed) return failed();
    if (got == Payload::Skipped) return Step::Next;
    if (bytes.size() == 4) {
        base::ByteReader r(bytes);
        image_.currentProfile = r.i32();
    }
    lastSection_ = h.keyword;

    model::ProfileDatabase& db = image_.database;
    db.PROFS.clear();
    db.LNAMES.clear();
    db.NPROF = 0;
    for (int i = 1; i <= announced_; ++i) {
        // Every block starts from the default record, so nothing of another
        // profile or database can leak into it.
        db.PROFS.push_back(model::profileTemplate());
        db.LNAMES.emplace_back();
        int status = 0;
        READPFLINE(in_, db.PROFS.back(), profileState_, status);
        if (status == 1) {  // the file ends its profiles early
            db.PROFS.pop_back();
            db.LNAMES.pop_back();
            break;
        }
        if (status != 0) {
            showInformation(readErrorMessage(in_.position(), Keyword("PROFILE ")));
            return Step::Failed;
        }
        tidyProfileName(db.PROFS.back(), i);
        db.LNAMES.back() = model::listName(db.PROFS.back().PNAME);
        db.NPROF = i;
    }
    return Step::Next;
}

}  // namespace

bool readDatabaseImage(std::span<const std::uint8_t> file, std::string_view fileName,
                       DatabaseImage& image) {
    return ImageReader(file, fileName, image).run();
}

std::vector<std::uint8_t> databaseFileBytes(const model::ProfileDatabase& database,
                                            const util::AxisRecord& mapAxis, int currentProfile,
                                            const base::FixedString<24>& databaseName) {
    base::ByteWriter out;
    out.text(kDatabaseMagic, kDatabaseMagic.size());
    model::DatabaseHeader head = database;
    head.DBNAME = databaseName;
    // The head's reserved words are written as zeros, whatever a file read
    // before put there.
    head.reserved24 = {};
    head.reserved36 = {};
    head.reserved44 = {};
    head.NPROF = std::clamp(
        database.NPROF, 0,
        static_cast<int>(std::min<std::size_t>(database.PROFS.size(), model::kProfileLimit)));
    writeSectionHeader(out, "DATAHEAD", 0, model::kDatabaseHeaderSize);
    model::writeDatabaseHeader(out, head);
    writeSectionHeader(out, "MAPAXIS ", 0, util::kAxisRecordSize);
    util::writeAxisRecord(out, mapAxis);
    if (head.NPROF >= 1) {
        writeSectionHeader(out, "PROFILE ", 0, 4);
        out.i32(currentProfile);
        for (int i = 1; i <= head.NPROF; ++i)
            WRITEPFLINE(out, database.profile(i));
    }
    writeSectionHeader(out, "ENDFILE ", 0, 0);
    return out.take();
}

}  // namespace files
