// Runs the built tsle-cli as a user would, for the end-to-end tests.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

struct CliResult {
    int exitCode; // -1 when the program did not start, hung or crashed
    QByteArray out;
    QByteArray err;
};

// How long one run may take before it counts as hung.
inline constexpr int CLI_TIMEOUT_MS = 60000;

// Waits for a started run and collects what it wrote. A run that does not
// start, does not end in time (it is then killed) or ends by a signal fails
// the test, whatever the test goes on to check.
inline CliResult FinishRun(QProcess& process, const QString& what, int timeoutMs) {
    const std::string name = what.toStdString();
    if (!process.waitForStarted(timeoutMs)) {
        ADD_FAILURE() << name << ": did not start: " << process.errorString().toStdString();
        return {-1, {}, {}};
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(timeoutMs);
        ADD_FAILURE() << name << ": still running after " << timeoutMs << " ms; killed";
        return {-1, process.readAllStandardOutput(), process.readAllStandardError()};
    }
    if (process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << name << ": crashed (" << process.errorString().toStdString() << ")";
        return {-1, process.readAllStandardOutput(), process.readAllStandardError()};
    }
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

inline CliResult RunCli(const QStringList& args, int timeoutMs = CLI_TIMEOUT_MS) {
    QProcess process;
    process.start(QStringLiteral(TSLE_CLI_PATH), args);
    return FinishRun(process, QStringLiteral("tsle-cli ") + args.join(QLatin1Char(' ')), timeoutMs);
}

// Runs a shell script in dir with $CLI naming tsle-cli: for limits (ulimit),
// redirections, other users, and arguments that are not UTF-8.
inline CliResult RunShell(const QString& script, const QString& dir,
                          int timeoutMs = CLI_TIMEOUT_MS) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CLI"), QStringLiteral(TSLE_CLI_PATH));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
    return FinishRun(process, script, timeoutMs);
}

// A temporary folder to put pages in for a command to work on.
class CliTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(m_state.isValid());
        // Journals of its own: tests run at once must never see (and undo)
        // each other's runs.
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_state.path()));
    }
    // Writes a file (making its folders) and returns its path.
    QString Write(const QString& name, const QByteArray& bytes) {
        QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QByteArray Read(const QString& name) {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : "<missing>";
    }
    QTemporaryDir m_dir;
    QTemporaryDir m_state;
};

// Pages under a folder, as a list of "name: text" (sorted by name).
inline QStringList Contents(const QString& dir) {
    QStringList out;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        QFile file(dir + "/" + name);
        out << name + ": " + (file.open(QIODevice::ReadOnly) ? file.readAll() : "<unreadable>");
    }
    return out;
}
