// Loading and safely saving page files.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "doc_test_util.h"
#include "document/text_file.h"

namespace {

class TextFile : public testing::TestWithParam<FileSync> {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_P(TextFile, ReplacesTheContentAndKeepsThePermissions) {
    for (const mode_t mode : {0640, 0751, 0604}) {
        const QString path = Path("page.html");
        WriteFile(path, "a much longer old text than the new one");
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
        QString error;
        ASSERT_EQ(SaveTextFile(path, "new", error, GetParam()), 1) << error.toStdString();
        EXPECT_EQ(ReadFile(path), "new");
        struct stat st;
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
        EXPECT_TRUE(error.isEmpty());
    }
    // Nothing is left beside the page.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"page.html"});
}

TEST_P(TextFile, SavesThroughASymbolicLink) {
    WriteFile(Path("target.html"), "old");
    ASSERT_TRUE(QFile::link(Path("target.html"), Path("link.html")));
    QString error;
    ASSERT_EQ(SaveTextFile(Path("link.html"), "new", error, GetParam()), 1);
    EXPECT_TRUE(QFileInfo(Path("link.html")).isSymLink());
    EXPECT_EQ(ReadFile(Path("target.html")), "new");
}

TEST_P(TextFile, AFailedSaveLeavesTheOriginalAndSaysWhy) {
    const QString path = Path("page.html");
    WriteFile(path, "original");
    UnwritableDir locked(m_dir.path());
    if (!locked.ok())
        GTEST_SKIP() << "cannot make a read-only folder here";
    QString error;
    EXPECT_EQ(SaveTextFile(path, "new", error, GetParam()), 0);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadFile(path), "original");
}

INSTANTIATE_TEST_SUITE_P(BothWays, TextFile, testing::Values(FileSync::TO_DISK, FileSync::LATER));

TEST(LoadTextFile, KeepsZeroBytesAfterTheStart) {
    QTemporaryDir dir;
    QByteArray bytes = "<html><head></head><body>" + QByteArray(9000, 'x') + QByteArray(1, '\0');
    WriteFile(dir.filePath("late-zero.html"), bytes);
    std::string text;
    QString error;
    ASSERT_EQ(LoadTextFile(dir.filePath("late-zero.html"), text, error), 1) << error.toStdString();
    EXPECT_EQ(text, bytes.toStdString());
}

TEST(LoadTextFile, GivesTheReasonAFileCannotBeRead) {
    QTemporaryDir dir;
    WriteFile(dir.filePath("binary.html"), QByteArray("<html>\0</html>", 14));
    const struct {
        QString path;
        const char* reason;
    } cases[] = {
        {dir.filePath("missing.html"), "No such file or directory"},
        {dir.path(), "Is a directory"},
        {dir.filePath("binary.html"), "Not a text file (it contains zero bytes)"},
    };
    for (const auto& c : cases) {
        std::string text = "stale";
        QString error;
        EXPECT_EQ(LoadTextFile(c.path, text, error), 0) << c.reason;
        EXPECT_EQ(error.toStdString(), c.reason);
        EXPECT_EQ(text, "");
    }
}

} // namespace
