// tsle-cli set and apply with faults injected, as a user meets them: full
// disks, file-size and memory limits, odd files, other users, hard links,
// trees with links and unreadable folders, two runs at once, and signals.
// Whatever happens, no page is lost, cut or half written, and every failure is
// reported.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli_runner.h"
#include "document/fault_injection.h"

namespace {

const QByteArray kPage = "<html><head><title>Old</title></head><body>Body</body></html>";
const QByteArray kPrepend =
    "<html><head><title action=\"7\">Riverside -</title></head><body></body></html>";

std::string Local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

bool HaveSetpriv() {
    return ::geteuid() == 0 && ::access("/usr/bin/setpriv", X_OK) == 0;
}

// A command line that runs the rest as nobody, who keeps run journals in a
// state folder of their own.
const char kAsNobody[] = "setpriv --reuid=65534 --regid=65534 --clear-groups "
                         "env XDG_STATE_HOME=/tmp/tsle-test-nobody-state ";

using CliFaults = CliTest;

TEST_F(CliFaults, AFullDiskOrFileSizeLimitNeverCutsAPage) {
    // A page big enough that a file-size limit of a few KiB cuts it.
    const QByteArray page =
        "<html><head><title>Old</title></head><body>" + QByteArray(8192, 'x') + "</body></html>";
    Write("t.mtpl", kPrepend);
    std::string fullDisk; // why a full disk could not be made
    {
        const QString dir = m_dir.filePath("full");
        ASSERT_TRUE(QDir().mkdir(dir));
        SmallTmpfs tmpfs(Local(dir), 64 * 1024);
        if (!tmpfs.ok()) {
            fullDisk = tmpfs.why();
        } else {
            Write("full/p.html", page);
            FillUp(Local(dir));
            const QStringList runs[] = {{"set", "full/p.html", "--title", "X"},
                                        {"apply", "t.mtpl", "full/p.html", "--sync"},
                                        {"apply", "t.mtpl", "full/p.html"}};
            for (const QStringList& args : runs) {
                const CliResult run = RunShell("exec \"$CLI\" " + args.join(' '), m_dir.path());
                EXPECT_EQ(run.exitCode, 1) << args.join(' ').toStdString();
                EXPECT_TRUE(run.err.endsWith("full/p.html: No space left on device\n"))
                    << run.err.constData();
                EXPECT_EQ(Read("full/p.html"), page);
                EXPECT_EQ(LeftoverTemps(Local(dir)), std::vector<std::string>{});
            }
        }
    }
    // Without SIGXFSZ ignored, the limit would kill the run half way.
    Write("p.html", page);
    for (const char* run : {"set p.html --title X", "apply --sync t.mtpl p.html"}) {
        const CliResult limited =
            RunShell(QString("ulimit -f 4; exec \"$CLI\" ") + run, m_dir.path());
        EXPECT_EQ(limited.exitCode, 1) << run;
        EXPECT_TRUE(limited.err.contains("p.html: File too large")) << limited.err.constData();
        EXPECT_EQ(Read("p.html"), page);
        EXPECT_EQ(LeftoverTemps(Local(m_dir.path())), std::vector<std::string>{});
    }
    if (!fullDisk.empty())
        SKIP_FAULT_TEST("full disk: " + fullDisk);
}

// Odd files fail at once with one set of reasons, in every command, and stay
// as they are: a FIFO is never opened for writing nor waited on.
TEST_F(CliFaults, OnlyRegularTextFilesAreReadOrWritten) {
    ASSERT_EQ(::mkfifo(Local(m_dir.filePath("fifo.html")).c_str(), 0644), 0);
    Write("bin.html", QByteArray("<html>\0\x01\x02</html>", 16));
    Write("t.mtpl", kPrepend);
    const struct {
        QString file;
        const char* reason;
    } files[] = {{"fifo.html", "not a regular file"},
                 {"/dev/zero", "not a regular file"},
                 {"bin.html", "Not a text file (it contains zero bytes)"}};
    for (const auto& f : files) {
        const QStringList runs[] = {{"show", f.file},
                                    {"rebuild", f.file},
                                    {"set", f.file, "--title", "X"},
                                    {"apply", "t.mtpl", f.file}};
        for (const QStringList& args : runs) {
            QElapsedTimer timer;
            timer.start();
            const CliResult run = RunShell("exec \"$CLI\" " + args.join(' '), m_dir.path());
            EXPECT_LT(timer.elapsed(), 5000) << args.join(' ').toStdString();
            EXPECT_EQ(run.exitCode, 1) << args.join(' ').toStdString();
            EXPECT_TRUE(run.err.endsWith(f.file.toUtf8() + ": " + f.reason + "\n"))
                << args.join(' ').toStdString() << ": " << run.err.constData();
        }
    }
    struct stat info;
    ASSERT_EQ(::lstat(Local(m_dir.filePath("fifo.html")).c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(Read("bin.html"), QByteArray("<html>\0\x01\x02</html>", 16));
}

// Owner, group and mode survive every save; what the user may not write is
// refused by every command alike; hard links are never separated.
TEST_F(CliFaults, SavesKeepOwnersModesAndLinks) {
    Write("t.mtpl", kPrepend);
    const QStringList saves[] = {
        {"set", "p.html", "--title", "New"},
        {"apply", "--sync", "t.mtpl", "p.html"},
        {"apply", "t.mtpl", "p.html"},
    };
    for (const QStringList& args : saves) {
        const QString page = Write("p.html", kPage);
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(Local(page).c_str(), NOBODY, NOGROUP), 0);
        }
        ASSERT_EQ(::chmod(Local(page).c_str(), 0444), 0);
        struct stat before, after;
        ASSERT_EQ(::stat(Local(page).c_str(), &before), 0);
        const CliResult run = RunShell("exec \"$CLI\" " + args.join(' '), m_dir.path());
        ASSERT_EQ(::stat(Local(page).c_str(), &after), 0);
        if (::geteuid() == 0) {
            // Root may write the read-only page; it stays nobody's and read-only.
            EXPECT_EQ(run.exitCode, 0) << run.err.constData();
            EXPECT_NE(Read("p.html"), kPage);
        } else {
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_TRUE(run.err.endsWith("p.html: Permission denied\n")) << run.err.constData();
        }
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        EXPECT_EQ(after.st_mode, before.st_mode);
        ::chmod(Local(page).c_str(), 0644);

        // As another user, in a folder where a rename would go through.
        if (HaveSetpriv()) {
            ASSERT_EQ(::chmod(Local(m_dir.path()).c_str(), 0777), 0);
            Write("p.html", kPage);
            ASSERT_EQ(::chmod(Local(page).c_str(), 0444), 0);
            const CliResult other =
                RunShell(kAsNobody + QString("\"$CLI\" ") + args.join(' '), m_dir.path());
            EXPECT_EQ(other.exitCode, 1);
            EXPECT_TRUE(other.err.endsWith("p.html: Permission denied\n")) << other.err.constData();
            EXPECT_EQ(Read("p.html"), kPage);
            ::chmod(Local(page).c_str(), 0644);
        }

        Write("p.html", kPage);
        ASSERT_EQ(::link(Local(page).c_str(), Local(m_dir.filePath("q.html")).c_str()), 0);
        const CliResult linked = RunShell("exec \"$CLI\" " + args.join(' '), m_dir.path());
        EXPECT_EQ(linked.exitCode, 1);
        EXPECT_TRUE(linked.err.contains("p.html: the file has 2 hard links"))
            << linked.err.constData();
        EXPECT_EQ(Read("p.html"), kPage);
        ASSERT_EQ(::unlink(Local(m_dir.filePath("q.html")).c_str()), 0);
    }
    if (!HaveSetpriv())
        SKIP_FAULT_TEST("other user: needs root and setpriv");
}

// What a recursive run takes: pages by their extension, each once, never its
// own template, never through a link met in a folder; and every path it cannot
// reach is reported.
TEST_F(CliFaults, ApplyTakesEachPageOnceAndReportsWhatItCannotReach) {
    Write("site/tpl.html", kPrepend); // a template inside the tree
    Write("site/p.html", kPage);
    Write("site/sub/q.htm", kPage);
    const QByteArray script = "#!/bin/sh\ncat <<eof\n<html>\neof\n";
    Write("site/bin/gen", script);
    Write("site/LICENSE", "MIT");
    Write("site/Makefile", "all:\n");
    Write("outside.html", kPage);
    ASSERT_TRUE(QFile::link(m_dir.filePath("outside.html"), m_dir.filePath("site/out.html")));
    ASSERT_TRUE(QFile::link(m_dir.filePath("site/p.html"), m_dir.filePath("site/again.html")));
    ASSERT_TRUE(QFile::link(m_dir.filePath("site/sub"), m_dir.filePath("site/loop")));
    // A name that is not UTF-8, a tree too deep and a path too long to open.
    const std::string cafe = Local(m_dir.filePath("site")) + "/caf\xe9.html";
    {
        const int fd = ::open(cafe.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, kPage.data(), kPage.size()), kPage.size());
        ::close(fd);
    }
    QString deep = "site/deep";
    for (int i = 0; i < 258; ++i)
        deep += "/d";
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(deep));
    std::string longPath = Local(m_dir.filePath("site/long"));
    ASSERT_EQ(::mkdir(longPath.c_str(), 0755), 0);
    {
        int fd = ::open(longPath.c_str(), O_RDONLY | O_DIRECTORY);
        for (int i = 0; i < 18; ++i) {
            const std::string name(250, static_cast<char>('a' + i));
            ASSERT_EQ(::mkdirat(fd, name.c_str(), 0755), 0);
            const int inner = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
            ::close(fd);
            fd = inner;
            longPath += "/" + name;
        }
        ::close(fd);
    }
    // The same page named twice, once through a folder, once through "./".
    const CliResult run = RunShell("exec \"$CLI\" apply site/tpl.html site/p.html ./site/p.html "
                                   "site -r",
                                   m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "changed site/p.html\n"
                       "changed site/caf\xe9.html\n"
                       "failed site/deep" +
                           QByteArray("/d").repeated(256) +
                           ": folders nested more than 256 deep; not searched\n"
                           "failed " +
                           QByteArray::fromStdString(
                               longPath.substr(longPath.find("site/long"),
                                               longPath.rfind('/') - longPath.find("site/long"))) +
                           ": File name too long\n"
                           "changed site/sub/q.htm\n")
        << run.out.constData();
    EXPECT_EQ(run.err.count("tsle-cli: "), 2);
    EXPECT_EQ(Read("site/p.html"), "<html><head><title>Riverside - Old</title></head>"
                                   "<body>Body</body></html>");
    EXPECT_EQ(Read("site/tpl.html"), kPrepend);
    EXPECT_EQ(Read("outside.html"), kPage);
    EXPECT_EQ(Read("site/bin/gen"), script);
    EXPECT_EQ(Read("site/LICENSE"), "MIT");

    // An unreadable folder, as a user who cannot read it.
    if (HaveSetpriv()) {
        Write("other/a.html", kPage);
        Write("other/closed/b.html", kPage);
        for (const char* path : {"other", "other/a.html", "other/closed"})
            ASSERT_EQ(::chown(Local(m_dir.filePath(path)).c_str(), NOBODY, NOGROUP), 0);
        ASSERT_EQ(::chmod(Local(m_dir.path()).c_str(), 0755), 0);
        ASSERT_EQ(::chmod(Local(m_dir.filePath("other/closed")).c_str(), 0), 0);
        const CliResult closed =
            RunShell(kAsNobody + QString("\"$CLI\" apply site/tpl.html other -r"), m_dir.path());
        EXPECT_EQ(closed.exitCode, 1);
        EXPECT_EQ(closed.out, "changed other/a.html\nfailed other/closed: Permission denied\n");
        EXPECT_EQ(closed.err, "tsle-cli: other/closed: Permission denied\n");
        ::chmod(Local(m_dir.filePath("other/closed")).c_str(), 0755);
    }
}

// Arguments and names are bytes: a title that is not UTF-8 is written as its
// bytes, and the longest names a folder takes save like any other.
TEST_F(CliFaults, NamesAndValuesAreBytes) {
    Write("p.html", kPage);
    const QString longName = QString(251, QLatin1Char('n')) + ".htm";
    Write(longName, kPage);
    const CliResult run = RunShell(
        "cp p.html \"$(printf 'caf\\351.html')\" && "
        "\"$CLI\" set \"$(printf 'caf\\351.html')\" --title \"$(printf 'Caf\\351')\" && "
        "\"$CLI\" set " +
            longName +
            " --normalize-head --meta 'description=Long' && \"$CLI\" show --json \"$(printf "
            "'caf\\351.html')\" && \"$CLI\" set missing.html --title x",
        m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    // Shown as the page reads: its bytes are windows-1252.
    EXPECT_TRUE(run.out.contains("\"title\": \"Caf\xc3\xa9\"")) << run.out.constData();
    EXPECT_EQ(run.err, "tsle-cli: missing.html: No such file or directory\n");
    const int fd = ::open((Local(m_dir.path()) + "/caf\xe9.html").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    char buffer[256] = {};
    ASSERT_GT(::read(fd, buffer, sizeof buffer - 1), 0);
    ::close(fd);
    EXPECT_STREQ(buffer, "<html><head><title>Caf\xe9</title></head><body>Body</body></html>");
    EXPECT_TRUE(Read(longName).contains("<meta name=\"description\" content=\"Long\"/>"));
}

// A run that changes no value writes nothing, however the page is written.
TEST_F(CliFaults, RunsThatChangeNoValueWriteNothing) {
    const QByteArray page = "<HTML><HEAD><TITLE>T</TITLE><META NAME=Keywords CONTENT=\"k\">"
                            "</HEAD><BODY>b</BODY></HTML>";
    const QString path = Write("p.html", page);
    Write("empty.mtpl", "<html><head></head><body></body></html>");
    Write("same.mtpl", "<html><head><meta name=\"keywords\" content=\"k\" action=\"1\"/>"
                       "<title action=\"1\">T</title></head><body></body></html>");
    struct stat before;
    ASSERT_EQ(::stat(Local(path).c_str(), &before), 0);
    const QStringList runs[] = {
        {"set", "p.html"},
        {"set", "p.html", "--title", "T", "--meta", "keywords=k"},
        {"set", "p.html", "--remove", "absent"},
    };
    for (const QStringList& args : runs) {
        const CliResult run = RunShell("exec \"$CLI\" " + args.join(' '), m_dir.path());
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    }
    for (const char* templ : {"empty.mtpl", "same.mtpl"}) {
        const CliResult run = RunCli({"apply", m_dir.filePath(templ), path});
        EXPECT_EQ(run.out, "unchanged " + path.toUtf8() + "\n");
    }
    struct stat after;
    ASSERT_EQ(::stat(Local(path).c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(Read("p.html"), page);
}

// Two runs at once over one folder: each page gets both runs' changes.
TEST_F(CliFaults, ConcurrentAppliesLoseNoUpdate) {
    constexpr int kPages = 300;
    for (int i = 0; i < kPages; ++i)
        Write(QString("site/p%1.html").arg(i), kPage);
    Write("t.mtpl", kPrepend);
    const CliResult run = RunShell("\"$CLI\" apply t.mtpl site -r > one & "
                                   "\"$CLI\" apply t.mtpl site -r > two & wait",
                                   m_dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Read("one").count("changed"), kPages)
        << Read("one").constData() << run.err.constData();
    EXPECT_EQ(Read("two").count("changed"), kPages)
        << Read("two").constData() << run.err.constData();
    for (const QString& entry : Contents(m_dir.filePath("site")))
        EXPECT_TRUE(entry.contains("<title>Riverside - Riverside - Old</title>"))
            << entry.toStdString();
    EXPECT_EQ(LeftoverTemps(Local(m_dir.path())), std::vector<std::string>{});
}

// SIGTERM in the middle of a run: the pages in hand are finished, nothing is
// left half written or lying about, and every page changed was reported.
TEST_F(CliFaults, ATerminatedRunReportsEveryChangeAndLeavesNoTemporaryFile) {
    constexpr int kPages = 3000;
    for (int i = 0; i < kPages; ++i)
        Write(QString("site/p%1.html").arg(i, 4, 10, QChar('0')), kPage);
    Write("t.mtpl", kPrepend);
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.start(QStringLiteral(TSLE_CLI_PATH), {"apply", "--sync", "t.mtpl", "site", "-r"});
    ASSERT_TRUE(process.waitForReadyRead(20000));
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(20000));
    const QByteArray out = process.readAllStandardOutput();
    EXPECT_EQ(process.exitStatus(), QProcess::CrashExit); // ended by the signal
    QStringList reported;
    for (const QByteArray& line : out.split('\n')) {
        if (!line.isEmpty()) {
            ASSERT_TRUE(line.startsWith("changed site/")) << line.constData();
            reported << QString::fromUtf8(line.mid(13));
        }
    }
    QStringList changed;
    for (const QString& entry : Contents(m_dir.filePath("site"))) {
        const QString name = entry.section(':', 0, 0);
        if (entry.endsWith(": " + QString::fromUtf8(kPage)))
            continue;
        ASSERT_TRUE(entry.endsWith("<title>Riverside - Old</title></head><body>Body</body></html>"))
            << entry.toStdString();
        changed << name;
    }
    EXPECT_EQ(reported, changed);
    EXPECT_LT(changed.size(), kPages) << "the run ended before the signal; nothing was tested";
    EXPECT_TRUE(process.readAllStandardError().contains("interrupted"));
    EXPECT_EQ(LeftoverTemps(Local(m_dir.path())), std::vector<std::string>{});
}

// Running out of memory on one page fails that page, not the run.
TEST_F(CliFaults, OutOfMemoryFailsOnePageOnly) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "a memory limit and AddressSanitizer's shadow memory do not mix";
#endif
    Write("site/a.html", kPage);
    Write("t.mtpl", kPrepend);
    // A sparse file just under the size limit: reading it needs 2 GB.
    ASSERT_EQ(::truncate(Local(Write("site/big.html", "")).c_str(), 2000LL << 20), 0);
    const CliResult run =
        RunShell("ulimit -v 500000; exec \"$CLI\" apply t.mtpl site -r", m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "changed site/a.html\nfailed site/big.html: Cannot allocate memory\n");
}

// Output that cannot be written is a failure, in every command.
TEST_F(CliFaults, OutputToAFullDiskFails) {
    Write("p.html", kPage);
    Write("t.mtpl", kPrepend);
    const char* const runs[] = {
        "show p.html", "rebuild p.html", "body-text p.html",   "--version",
        "help",        "set --help",     "http-date format 0", "apply --dry-run t.mtpl p.html"};
    for (const char* args : runs) {
        const CliResult run =
            RunShell(QString("exec \"$CLI\" ") + args + " > /dev/full", m_dir.path());
        EXPECT_EQ(run.exitCode, 1) << args;
        EXPECT_TRUE(run.err.contains("error writing standard output: No space left on device"))
            << args << ": " << run.err.constData();
    }
}

// Help for every command in every form, and "--" ends the options: no help
// option runs the command, and a file may be named like an option.
TEST_F(CliFaults, HelpAndTheEndOfOptions) {
    Write("-p.html", kPage);
    Write("q.html", kPage);
    const QStringList forms[] = {{"help", "set"},
                                 {"--help", "set"},
                                 {"set", "--help"},
                                 {"set", "--help-all", "q.html", "--title", "X"}};
    for (const QStringList& args : forms) {
        const CliResult run = RunShell("exec \"$CLI\" " + args.join(' '), m_dir.path());
        EXPECT_EQ(run.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_TRUE(run.out.startsWith("Usage: tsle-cli set [options] FILE\n"))
            << run.out.constData();
        EXPECT_TRUE(run.out.contains("--http-equiv <NAME=VALUE>"));
    }
    EXPECT_EQ(Read("q.html"), kPage);
    const CliResult set = RunShell("exec \"$CLI\" set --title X -- -p.html", m_dir.path());
    EXPECT_EQ(set.exitCode, 0) << set.err.constData();
    EXPECT_TRUE(Read("-p.html").contains("<title>X</title>"));
    const CliResult show = RunShell("exec \"$CLI\" show -- -p.html", m_dir.path());
    EXPECT_TRUE(show.out.contains("title  X")) << show.out.constData();
}

} // namespace
