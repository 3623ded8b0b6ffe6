// Runs the built tsle-cli as a user would, for the end-to-end tests.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

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
