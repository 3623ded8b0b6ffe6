// The reading rule every reader of pages follows.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "page/page_file.h"

namespace fs = std::filesystem;

namespace {

class PageFile : public testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/tsle-page-file-XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        m_dir = dir;
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string Write(const std::string& name, const std::string& bytes) {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    fs::path m_dir;
};

TEST_F(PageFile, ReadsRegularFilesAsTheyAre) {
    const std::string late = "<p>\xff\r\n" + std::string(8000, 'x') + std::string(1, '\0') + "</p>";
    const std::string path = Write("late-zero.html", late);
    fs::create_symlink(path, m_dir / "link.html");
    for (const std::string& file : {path, (m_dir / "link.html").string()}) {
        std::string text, error;
        PageFileId id;
        ASSERT_EQ(ReadPageFile(file, text, error, &id), 1) << error;
        EXPECT_EQ(text, late);
        struct stat info;
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(id, (PageFileId{info.st_dev, info.st_ino}));
    }
}

// Everything else is refused at once, with one set of reasons: nothing blocks
// (a FIFO without a writer) and nothing is read whole first (/dev/zero).
TEST_F(PageFile, RefusesWhatIsNotARegularTextFile) {
    ASSERT_EQ(::mkfifo((m_dir / "fifo.html").c_str(), 0644), 0);
    fs::create_symlink(m_dir / "fifo.html", m_dir / "fifo-link.html");
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {(m_dir / "missing.html").string(), "No such file or directory"},
        {m_dir.string(), "Is a directory"},
        {(m_dir / "fifo.html").string(), kNotRegularFile},
        {(m_dir / "fifo-link.html").string(), kNotRegularFile},
        {"/dev/zero", kNotRegularFile},
        {Write("binary.html", std::string("<html>\0</html>", 14)), kNotTextFile},
        {Write("utf16.html", std::string("<\0h\0", 4)), kNotTextFile},
    };
    for (const auto& c : cases) {
        std::string text = "stale", error;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(ReadPageFile(c.path, text, error), 0) << c.path;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << c.path;
        EXPECT_EQ(error, c.reason) << c.path;
        EXPECT_EQ(text, "");
    }
}

} // namespace
