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
    int exitCode; // -1 when the program crashed or did not finish
    QByteArray out;
    QByteArray err;
};

inline CliResult RunCli(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(TSLE_CLI_PATH), args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// Runs a shell script in dir with $CLI naming tsle-cli: for limits (ulimit),
// redirections, other users, and arguments that are not UTF-8.
inline CliResult RunShell(const QString& script, const QString& dir) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CLI"), QStringLiteral(TSLE_CLI_PATH));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
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
        const QString path = m_dir.filePath(name);
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
