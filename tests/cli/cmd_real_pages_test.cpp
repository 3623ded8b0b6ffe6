// tsle-cli on real pages that nobody here wrote (Debian's documentation, which
// scripts/install-deps.sh installs): a change shows in the diff only as the
// lines that hold the changed tags, and a page whose lines end in LF gets no CR.
#include <gtest/gtest.h>

#include <QDirIterator>

#include "cli_runner.h"

namespace {

// A page written by DocBook (XHTML, the whole head on one line) and by Sphinx
// (HTML5, a tag a line, indented), in folders of their own.
const char* const kRealPageFolders[] = {"/usr/share/doc/debian/FAQ",
                                        "/usr/share/doc/python-jinja2-doc/html"};

class RealPages : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        int folder = 0;
        for (const char* source : kRealPageFolders) {
            QDirIterator it(source, {"*.html"}, QDir::Files);
            while (it.hasNext()) {
                QFile file(it.next());
                ASSERT_TRUE(file.open(QIODevice::ReadOnly));
                const QString name = QString("site/%1/%2").arg(folder).arg(it.fileName());
                m_pages[name] = file.readAll();
                Write(name, m_pages[name]);
            }
            ++folder;
        }
        if (m_pages.size() < 20)
            GTEST_SKIP() << "needs the pages of debian-faq and python-jinja2-doc "
                            "(scripts/install-deps.sh installs them)";
    }

    // The lines a unified diff takes away and adds, each with its file.
    struct Changes {
        QList<QByteArray> removed, added;
    };
    static QMap<QByteArray, Changes> ChangedLines(const QByteArray& diff) {
        QMap<QByteArray, Changes> out;
        QByteArray file;
        for (const QByteArray& line : diff.split('\n')) {
            if (line.startsWith("+++ b/")) {
                file = line.mid(6);
            } else if (line.startsWith("--- ") || line.startsWith("@@")) {
                continue;
            } else if (line.startsWith('-')) {
                out[file].removed << line;
            } else if (line.startsWith('+')) {
                out[file].added << line;
            }
        }
        return out;
    }

    // Every changed line holds one of the changed tags, and each tag changed
    // at most one line; no CR came into a page that had none.
    void CheckOnlyTheTagsChanged(const QByteArray& diff, const QList<QByteArray>& tags,
                                 qsizetype changedPages) {
        const auto changes = ChangedLines(diff);
        EXPECT_EQ(changes.size(), changedPages);
        for (auto it = changes.begin(); it != changes.end(); ++it) {
            const QString name = QString::fromUtf8(it.key());
            for (const QList<QByteArray>* lines : {&it->removed, &it->added}) {
                EXPECT_LE(lines->size(), tags.size()) << name.toStdString();
                for (const QByteArray& line : *lines) {
                    const bool holdsTag = std::any_of(
                        tags.begin(), tags.end(), [&](auto& tag) { return line.contains(tag); });
                    EXPECT_TRUE(holdsTag) << name.toStdString() << ": " << line.constData();
                }
            }
            if (!m_pages[name].contains('\r')) {
                EXPECT_FALSE(Read(name).contains('\r')) << name.toStdString();
            }
        }
    }

    QMap<QString, QByteArray> m_pages;
};

TEST_F(RealPages, SetChangesOnlyTheLinesOfItsTags) {
    int changed = 0;
    QByteArray diffs;
    for (auto it = m_pages.begin(); it != m_pages.end(); ++it) {
        // One field changed or added, one removed where the page has it.
        const CliResult run = RunShell("exec \"$CLI\" set --diff " + it.key() +
                                           " --meta 'description=What this page says'"
                                           " --remove generator",
                                       m_dir.path());
        ASSERT_EQ(run.exitCode, 0) << it.key().toStdString() << run.err.constData();
        diffs += run.out;
        changed += !run.out.isEmpty();
    }
    EXPECT_EQ(changed, m_pages.size());
    CheckOnlyTheTagsChanged(diffs, {"name=\"description\"", "name=\"generator\""}, changed);
    // Written as these pages write their meta and link tags, with " />".
    for (auto it = m_pages.begin(); it != m_pages.end(); ++it) {
        EXPECT_TRUE(Read(it.key()).contains("<meta name=\"description\" content=\"What this "
                                            "page says\" />"))
            << it.key().toStdString();
    }
}

TEST_F(RealPages, ApplyChangesOnlyTheLinesOfItsTags) {
    Write("t.mtpl", "<html><head>"
                    "<meta name=\"description\" content=\"A page of the manual\" action=\"3\"/>"
                    "<meta name=\"keywords\" content=\"manual\" action=\"6\"/>"
                    "<meta name=\"generator\" content=\"\" action=\"5\"/>"
                    "<meta name=\"viewport\" content=\"width=device-width\" action=\"4\"/>"
                    "</head><body></body></html>");
    const CliResult run =
        RunShell("exec \"$CLI\" apply --diff --no-journal t.mtpl site -r", m_dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    CheckOnlyTheTagsChanged(
        run.out,
        {"name=\"description\"", "name=\"keywords\"", "name=\"generator\"", "name=\"viewport\""},
        m_pages.size());
    // The run's diff is the change: undone, every page is as it was.
    Write("apply.diff", run.out);
    ASSERT_EQ(RunShell("patch -s -R -p1 < apply.diff", m_dir.path()).exitCode, 0);
    for (auto it = m_pages.begin(); it != m_pages.end(); ++it)
        EXPECT_EQ(Read(it.key()), it.value()) << it.key().toStdString();
}

} // namespace
