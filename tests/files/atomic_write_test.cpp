#include "files/atomic_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "test_support.h"

namespace {

using files_test::readText;
using files_test::TempFolder;
using files_test::writeText;

TEST(AtomicWrite, ReplacesTheFileAndKeepsItsPermissions) {
    TempFolder temp;
    std::string path = temp.file("data.txt");
    writeText(path, "old contents");
    ::chmod(path.c_str(), 0640);
    auto r = files::writeFileAtomically(path, std::string_view("new"));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.bytesWritten, 3u);
    EXPECT_EQ(readText(path), "new");
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(temp.path()))
        ++entries;
    EXPECT_EQ(entries, 1u);
}

TEST(AtomicWrite, ALinkKeepsPointingAtTheReplacedFile) {
    TempFolder temp;
    std::filesystem::create_directories(temp.file("real"));
    std::string target = temp.file("real/data.txt");
    std::string link = temp.file("link.txt");
    writeText(target, "old");
    std::filesystem::create_symlink(target, link);
    ASSERT_TRUE(files::writeFileAtomically(link, std::string_view("new")).ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readText(target), "new");
}

TEST(AtomicWrite, AFolderThatIsNotThereIsReportedAsNotCreated) {
    TempFolder temp;
    auto r = files::writeFileAtomically(temp.file("none/data.txt"), std::string_view("x"));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.created);
    EXPECT_FALSE(r.error.empty());
}

}  // namespace

namespace {

std::size_t entriesIn(const std::string& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

TEST(StagedFile, ReplacesTheTargetOnlyWhenTheWriterFilledIt) {
    TempFolder temp;
    const std::string path = temp.file("plot.DXF");
    writeText(path, "old");
    files::StagedFile staged = files::stageFile(path);
    ASSERT_FALSE(staged.temp.empty());
    EXPECT_EQ(std::filesystem::path(staged.temp).extension(), ".DXF");
    EXPECT_EQ(std::filesystem::path(staged.temp).parent_path(), temp.path());
    // Nothing written: the old file stays and the temporary file goes.
    EXPECT_FALSE(files::commitStagedFile(staged));
    EXPECT_EQ(readText(path), "old");
    EXPECT_EQ(entriesIn(temp.path()), 1u);

    staged = files::stageFile(path);
    writeText(staged.temp, "new drawing");
    EXPECT_TRUE(files::commitStagedFile(staged));
    EXPECT_EQ(readText(path), "new drawing");
    EXPECT_EQ(entriesIn(temp.path()), 1u);
}

TEST(StagedFile, AFolderThatCannotBeWrittenIsReportedBeforeAnythingIsDrawn) {
    TempFolder temp;
    // Permissions do not stop the root user; a plain file as the folder does.
    writeText(temp.file("notes"), "x");
    const files::StagedFile staged = files::stageFile(temp.file("notes") + "/plot.CGM");
    EXPECT_TRUE(staged.temp.empty());
    EXPECT_NE(staged.error.find("cannot write in the folder"), std::string::npos);
    EXPECT_EQ(entriesIn(temp.path()), 1u);
}

}  // namespace
