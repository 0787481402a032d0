#pragma once
// Replacing a file safely: the new contents go to a temporary file in the
// same folder, which is then renamed over the old one. A write that fails
// leaves the old file as it was.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace files {

struct AtomicWriteResult {
    bool ok = false;
    bool created = false;  // the temporary file could be created
    // Bytes that reached the temporary file before a failure (all on success).
    std::size_t bytesWritten = 0;
    std::string error;  // what went wrong, for the caller's message
};

AtomicWriteResult writeFileAtomically(const std::string& path, std::span<const std::uint8_t> data);
AtomicWriteResult writeFileAtomically(const std::string& path, std::string_view text);

// A file that another writer (a hardcopy driver) fills under a temporary name
// in the target's folder, with the target's extension; it replaces the target
// only when it is complete.
struct StagedFile {
    std::string target;
    std::string temp;   // empty when it could not be created
    std::string error;  // why not, for the caller's message
};

StagedFile stageFile(const std::string& target);
// Renames a non-empty temporary file over the target; an empty or missing one
// is removed and the target left as it was. False (with `error` set) when the
// target was not replaced.
bool commitStagedFile(StagedFile& file);
void discardStagedFile(const StagedFile& file);

}  // namespace files
