// Loading and safely saving page files, with faults injected: full disks,
// file-size limits, odd files, other users and other programs.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <future>
#include <sys/resource.h>

#include "doc_test_util.h"
#include "document/text_file.h"
#include "fault_injection.h"

namespace {

std::string Bytes(const QString& path) {
    return FileNameBytes(path);
}

class TextFile : public testing::TestWithParam<FileSync> {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    // The save failed with reason, and left the original (when given: a FIFO
    // is not opened) and nothing else.
    void ExpectRefused(const QString& path, const char* original, const char* reason) {
        QString error;
        EXPECT_EQ(SaveTextFile(path, "new text", error, GetParam()), 0) << path.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String(reason))) << error.toStdString();
        if (original) {
            EXPECT_EQ(ReadFile(path), original);
        }
        EXPECT_EQ(LeftoverTemps(m_dir.path().toStdString()), std::vector<std::string>{});
    }
    QTemporaryDir m_dir;
};

TEST_P(TextFile, ReplacesTheContentAndKeepsThePermissions) {
    for (const mode_t mode : {0640, 0751, 0604, 06755}) {
        const QString path = Path("page.html");
        WriteFile(path, "a much longer old text than the new one");
        ASSERT_EQ(::chmod(Bytes(path).c_str(), mode), 0);
        QString error;
        ASSERT_EQ(SaveTextFile(path, "new", error, GetParam()), 1) << error.toStdString();
        EXPECT_EQ(ReadFile(path), "new");
        struct stat st;
        ASSERT_EQ(::stat(Bytes(path).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
        EXPECT_TRUE(error.isEmpty());
    }
    // Nothing is left beside the page.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"page.html"});
}

TEST_P(TextFile, KeepsOwnerAndGroup) {
    if (::geteuid() != 0)
        SKIP_FAULT_TEST("only root can give a file to another user");
    const QString path = Path("page.html");
    WriteFile(path, "old");
    ASSERT_EQ(::chown(Bytes(path).c_str(), NOBODY, NOGROUP), 0);
    ASSERT_EQ(::chmod(Bytes(path).c_str(), 0444), 0);
    QString error;
    ASSERT_EQ(SaveTextFile(path, "new", error, GetParam()), 1) << error.toStdString();
    struct stat st;
    ASSERT_EQ(::stat(Bytes(path).c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, NOBODY);
    EXPECT_EQ(st.st_gid, NOGROUP);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(ReadFile(path), "new");
}

TEST_P(TextFile, SavesThroughASymbolicLinkAndUnderAnyName) {
    WriteFile(Path("target.html"), "old");
    ASSERT_TRUE(QFile::link(Path("target.html"), Path("link.html")));
    QString error;
    ASSERT_EQ(SaveTextFile(Path("link.html"), "new", error, GetParam()), 1);
    EXPECT_TRUE(QFileInfo(Path("link.html")).isSymLink());
    EXPECT_EQ(ReadFile(Path("target.html")), "new");

    // The longest name a folder takes, and a name that is not UTF-8.
    const QString names[] = {QString(255, QLatin1Char('n')),
                             FileNameFromBytes("caf\xe9-\xff.html")};
    for (const QString& name : names) {
        ASSERT_EQ(FileNameBytes(FileNameFromBytes(Bytes(name))), Bytes(name));
        const std::string path = Bytes(m_dir.path()) + "/" + Bytes(name);
        ASSERT_EQ(SaveTextFile(FileNameFromBytes(path), "created", error, GetParam()), 1)
            << error.toStdString();
        ASSERT_EQ(SaveTextFile(FileNameFromBytes(path), "replaced", error, GetParam()), 1)
            << error.toStdString();
        std::string text, reason;
        ASSERT_EQ(ReadPageFile(path, text, reason), 1) << reason;
        EXPECT_EQ(text, "replaced");
    }
}

// A full disk fails the save before anything is replaced: the original stays,
// no temporary file is left, and the reason is given. Small texts too, which a
// buffered writer would only try to write when it is closed.
TEST_P(TextFile, AFullDiskLeavesTheOriginal) {
    const QByteArray original =
        "<html><head><title>Old</title></head><body>" + QByteArray(20000, 'x') + "</body></html>";
    const QString dir = Path("small");
    ASSERT_TRUE(QDir().mkdir(dir));
    SmallTmpfs tmpfs(Bytes(dir), 64 * 1024);
    if (!tmpfs.ok())
        SKIP_FAULT_TEST("full disk: " + tmpfs.why());
    WriteFile(dir + "/p.html", original);
    FillUp(Bytes(dir));
    for (const QByteArray& text : {original + "more", QByteArray("tiny")}) {
        QString error;
        EXPECT_EQ(SaveTextFile(dir + "/p.html", text.toStdString(), error, GetParam()), 0);
        EXPECT_EQ(error, "No space left on device");
        EXPECT_EQ(ReadFile(dir + "/p.html"), original);
        EXPECT_EQ(LeftoverTemps(Bytes(dir)), std::vector<std::string>{});
    }
}

// So does a file-size limit (1 KiB); without SIGXFSZ ignored, the save would
// be killed.
TEST_P(TextFile, AFileSizeLimitLeavesTheOriginal) {
    const QByteArray original =
        "<html><head><title>Old</title></head><body>" + QByteArray(20000, 'x') + "</body></html>";
    const QString path = Path("p.html");
    WriteFile(path, original);
    struct rlimit old;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit limit = old;
    limit.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    QString error;
    const int saved = SaveTextFile(path, original.toStdString() + "more", error, GetParam());
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(error, "File too large");
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_EQ(LeftoverTemps(m_dir.path().toStdString()), std::vector<std::string>{});
}

// Only a regular file the user may write, with one name, is replaced.
TEST_P(TextFile, RefusesFilesItMustNotReplace) {
    ASSERT_EQ(::mkfifo(Bytes(Path("fifo.html")).c_str(), 0644), 0);
    ExpectRefused(Path("fifo.html"), nullptr, "not a regular file");
    struct stat st;
    ASSERT_EQ(::lstat(Bytes(Path("fifo.html")).c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ExpectRefused(m_dir.path(), nullptr, "Is a directory");

    WriteFile(Path("linked.html"), "one text, two names");
    ASSERT_EQ(::link(Bytes(Path("linked.html")).c_str(), Bytes(Path("other.html")).c_str()), 0);
    ExpectRefused(Path("linked.html"), "one text, two names", "2 hard links");
    EXPECT_EQ(ReadFile(Path("other.html")), "one text, two names");

    ASSERT_TRUE(QFile::link(Path("missing.html"), Path("broken.html")));
    ExpectRefused(Path("broken.html"), "<unreadable>", "broken symbolic link");
    EXPECT_FALSE(QFileInfo::exists(Path("missing.html")));
}

// Another user: a read-only file is refused even where the folder would let a
// rename replace it, and a folder that takes no new file stops the save.
TEST_P(TextFile, RefusesWhatTheUserMayNotWrite) {
    if (::geteuid() != 0)
        SKIP_FAULT_TEST("needs root to act as another user");
    ASSERT_EQ(::chmod(Bytes(m_dir.path()).c_str(), 0777), 0);
    WriteFile(Path("readonly.html"), "read-only");
    ASSERT_TRUE(QDir().mkpath(Path("locked")));
    WriteFile(Path("locked/writable.html"), "writable");
    for (const char* file : {"readonly.html", "locked/writable.html", "locked"})
        ASSERT_EQ(::chown(Bytes(Path(file)).c_str(), NOBODY, NOGROUP), 0);
    ASSERT_EQ(::chmod(Bytes(Path("readonly.html")).c_str(), 0444), 0);
    ASSERT_EQ(::chmod(Bytes(Path("locked/writable.html")).c_str(), 0644), 0);
    ASSERT_EQ(::chmod(Bytes(Path("locked")).c_str(), 0555), 0);
    ASSERT_EQ(::setegid(NOGROUP), 0);
    ASSERT_EQ(::seteuid(NOBODY), 0);
    ExpectRefused(Path("readonly.html"), "read-only", "Permission denied");
    ExpectRefused(Path("locked/writable.html"), "writable",
                  "cannot create a temporary file in the folder: Permission denied");
    ASSERT_EQ(::seteuid(0), 0);
    ASSERT_EQ(::setegid(0), 0);
}

INSTANTIATE_TEST_SUITE_P(BothWays, TextFile, testing::Values(FileSync::TO_DISK, FileSync::LATER));

// Two read-modify-writes of one file never lose each other's change: the
// second waits for the first's lock, and then reads what the first saved.
TEST(LockedTextFile, ReadModifyWritesTakeTurns) {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.html");
    WriteFile(path, "0");
    auto first = std::make_unique<CLockedTextFile>();
    std::string text;
    QString error;
    ASSERT_EQ(first->Open(path, text, error), 1) << error.toStdString();
    EXPECT_EQ(text, "0");

    CLockedTextFile impatient;
    std::string none;
    EXPECT_EQ(impatient.Open(path, none, error, 50), 0);
    EXPECT_EQ(error, "the file is locked by another program");

    auto second = std::async(std::launch::async, [&] {
        CLockedTextFile file;
        std::string read;
        QString why;
        if (!file.Open(path, read, why))
            return "open: " + why.toStdString();
        if (!file.Save(read + "2", why, FileSync::LATER))
            return "save: " + why.toStdString();
        return read;
    });
    EXPECT_EQ(second.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    ASSERT_EQ(first->Save(text + "1", error, FileSync::LATER), 1) << error.toStdString();
    first.reset(); // releases the lock
    EXPECT_EQ(second.get(), "01");
    EXPECT_EQ(ReadFile(path), "012");

    // A program that replaces the file without locking it is not overwritten.
    CLockedTextFile third;
    ASSERT_EQ(third.Open(path, text, error), 1);
    WriteFile(dir.filePath("other.html"), "theirs");
    ASSERT_EQ(::rename(Bytes(dir.filePath("other.html")).c_str(), Bytes(path).c_str()), 0);
    EXPECT_EQ(third.Save("mine", error, FileSync::TO_DISK), 0);
    EXPECT_TRUE(error.contains("replaced or removed by another program")) << error.toStdString();
    EXPECT_EQ(ReadFile(path), "theirs");
}

} // namespace
