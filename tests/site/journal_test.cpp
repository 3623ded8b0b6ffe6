// Undo journals: what is written reads back, what a crash cuts short is passed
// over, many threads share the syncs, and a page is restored only from the
// text the run wrote.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <set>
#include <sys/stat.h>
#include <thread>

#include "site/site_page.h"
#include "site/undo_journal.h"

namespace {

class Journal : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString Path(const char* name) const { return m_dir.filePath(name); }
    QByteArray Bytes(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir m_dir;
};

TEST_F(Journal, EntriesReadBackByteForByte) {
    // Names and old bytes with everything the line format must escape.
    const std::string page = "<html><head>\r\n<title>100% new, \"x\"</title></head><body>";
    const std::string edited = "<html><head>\r\n<title>Caf\xE9</title>\n\t<meta name=a "
                               "content=\"b,c\"></head><body>";
    const CJournalEntry entries[] = {
        CJournalEntry::For("site/my page%1,2.html", page, edited),
        CJournalEntry::For("/abs/caf\xE9\n.html", edited, page),
        CJournalEntry::For("same.html", page, page),
    };
    CUndoJournal journal;
    QString error;
    ASSERT_TRUE(journal.Create(Path("j"), "apply", {"t.mtpl", "dir with space", "-r"}, error))
        << error.toStdString();
    for (const CJournalEntry& entry : entries)
        ASSERT_TRUE(journal.Add(entry, error)) << error.toStdString();
    ASSERT_TRUE(journal.Finish(true, error));
    EXPECT_FALSE(journal.Create(Path("j"), "apply", {}, error)) << "an existing journal is kept";

    CJournal read;
    ASSERT_TRUE(CUndoJournal::Read(Path("j"), read, error)) << error.toStdString();
    EXPECT_EQ(read.command, "apply");
    EXPECT_EQ(read.args, (QStringList{"t.mtpl", "dir with space", "-r"}));
    EXPECT_EQ(read.folder, QDir::currentPath().toStdString());
    EXPECT_TRUE(read.complete);
    EXPECT_TRUE(read.damagedLines.empty());
    EXPECT_EQ(read.Damage(), "");
    EXPECT_LT(qAbs(read.created.secsTo(QDateTime::currentDateTime())), 60);
    ASSERT_EQ(read.entries.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(read.entries[i].path, entries[i].path);
        EXPECT_EQ(read.entries[i].oldFingerprint, entries[i].oldFingerprint);
        EXPECT_EQ(read.entries[i].newFingerprint, entries[i].newFingerprint);
        EXPECT_EQ(read.entries[i].ranges, entries[i].ranges);
    }
    std::string old;
    EXPECT_EQ(read.entries[0].Restore(edited, old), CJournalEntry::Undo::RESTORE);
    EXPECT_EQ(old, page);
    EXPECT_EQ(read.Resolve("p.html"), read.folder + "/p.html");
    EXPECT_EQ(read.Resolve("/abs/p.html"), "/abs/p.html");
    // The line format keeps every line printable ASCII.
    for (char c : Bytes(Path("j")))
        EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << int(c);
}

TEST_F(Journal, WhatACrashCutShortIsPassedOverAndDamageIsNamedByLine) {
    const std::string page = "<title>a</title>", edited = "<title>b</title>";
    CUndoJournal journal;
    QString error;
    ASSERT_TRUE(journal.Create(Path("j"), "import", {}, error));
    ASSERT_TRUE(journal.Add(CJournalEntry::For("p.html", page, edited), error));
    // Killed while writing the next line: no "end", a line without its break.
    QFile file(Path("j"));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("page q.html 0123");
    file.close();
    CJournal read;
    ASSERT_TRUE(CUndoJournal::Read(Path("j"), read, error));
    EXPECT_EQ(read.entries.size(), 1u);
    EXPECT_TRUE(read.cutShort);
    EXPECT_EQ(read.Damage(), "");
    EXPECT_FALSE(read.finished);
    // Marking it undone drops the cut line: the journal stays whole.
    ASSERT_TRUE(CUndoJournal::MarkUndone(Path("j"), error)) << error.toStdString();
    ASSERT_TRUE(CUndoJournal::Read(Path("j"), read, error));
    EXPECT_TRUE(read.undone);
    EXPECT_FALSE(read.cutShort);
    EXPECT_EQ(read.Damage(), "");

    // A line not understood in the middle, and an end line that counts
    // other pages: damage, by line.
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("page r.html nothex nothex\nend interrupted 3\n");
    file.close();
    ASSERT_TRUE(CUndoJournal::Read(Path("j"), read, error));
    EXPECT_EQ(read.damagedLines, (std::vector<int>{8}));
    EXPECT_TRUE(read.finished);
    EXPECT_FALSE(read.complete);
    EXPECT_EQ(read.Damage(),
              "line 8 is damaged; the end line counts 3 pages, but 1 are in the journal");
    QFile other(Path("other"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("page p.html\n");
    other.close();
    EXPECT_FALSE(CUndoJournal::Read(Path("other"), read, error));
    EXPECT_TRUE(error.contains("not a tsle-cli journal"));
}

TEST_F(Journal, ThreadsAddingAtOnceLoseNoEntry) {
    CUndoJournal journal;
    QString error;
    ASSERT_TRUE(journal.Create(Path("j"), "apply", {}, error));
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            QString why;
            for (int i = 0; i < 50; ++i) {
                const std::string name = "p" + std::to_string(t) + "-" + std::to_string(i);
                EXPECT_TRUE(journal.Add(CJournalEntry::For(name, name, name + "!"), why));
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(journal.Entries(), 400u);
    ASSERT_TRUE(journal.Finish(true, error));
    CJournal read;
    ASSERT_TRUE(CUndoJournal::Read(Path("j"), read, error));
    EXPECT_EQ(read.entries.size(), 400u);
    std::set<std::string> paths;
    for (const CJournalEntry& entry : read.entries) {
        std::string old;
        EXPECT_EQ(entry.Restore(entry.path + "!", old), CJournalEntry::Undo::RESTORE);
        EXPECT_EQ(old, entry.path);
        paths.insert(entry.path);
    }
    EXPECT_EQ(paths.size(), 400u);
}

TEST_F(Journal, APageIsRestoredOnlyFromTheTextTheRunWrote) {
    const std::string before = "<title>old</title><body>x", after = "<title>new</title><body>x";
    CJournalEntry entry = CJournalEntry::For("p.html", before, after);
    std::string old;
    EXPECT_EQ(entry.Restore(after, old), CJournalEntry::Undo::RESTORE);
    EXPECT_EQ(old, before);
    EXPECT_EQ(entry.Restore(before, old), CJournalEntry::Undo::ALREADY);
    EXPECT_EQ(entry.Restore(after + " ", old), CJournalEntry::Undo::CHANGED_SINCE);
    // Ranges that do not give the old text back are never written.
    entry.ranges.front().oldBytes += "?";
    EXPECT_EQ(entry.Restore(after, old), CJournalEntry::Undo::DAMAGED);
}

TEST_F(Journal, JournalsGoToTheStateFolderAndEmptyOnesAreRemoved) {
    qputenv("XDG_STATE_HOME", Path("state").toUtf8());
    EXPECT_EQ(CUndoJournal::Folder(), Path("state") + "/tsle/journals");
    QString error;
    {
        CUndoJournal empty;
        ASSERT_TRUE(empty.CreateInFolder("apply", {}, error)) << error.toStdString();
        EXPECT_TRUE(QFile::exists(empty.Path()));
        ASSERT_TRUE(empty.Finish(true, error));
        EXPECT_FALSE(QFile::exists(empty.Path()));
    }
    CUndoJournal first, second;
    ASSERT_TRUE(first.CreateInFolder("apply", {}, error));
    ASSERT_TRUE(second.CreateInFolder("import", {}, error));
    EXPECT_NE(first.Path(), second.Path());
    ASSERT_TRUE(first.Add(CJournalEntry::For("p", "a", "b"), error));
    ASSERT_TRUE(second.Add(CJournalEntry::For("p", "b", "c"), error));
    ASSERT_TRUE(first.Finish(true, error));
    ASSERT_TRUE(CUndoJournal::MarkUndone(first.Path(), error));
    const std::vector<CJournal> listed = CUndoJournal::List(); // second: still open
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].command, "apply");
    EXPECT_TRUE(listed[0].undone);
    EXPECT_EQ(listed[1].command, "import");
    EXPECT_FALSE(listed[1].finished);
    struct stat info;
    ASSERT_EQ(::stat(QFile::encodeName(Path("state") + "/tsle/journals").constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 077, 0u) << "journals hold pieces of pages: private to the user";
    qunsetenv("XDG_STATE_HOME");
}

} // namespace
