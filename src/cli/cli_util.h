// Shared pieces of the tsle-cli commands: argument parsing, messages, JSON.
//
// Arguments are QStrings that hold any bytes (see FileNameBytes): file names
// and values that are not UTF-8 reach the files as the bytes they were given.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

#include "page/user_prompt.h"
#include "site/json_string.h" // JsonString for the commands that print JSON

// Exit codes of every command.
constexpr int EXIT_OK = 0;
constexpr int EXIT_FILE_FAILED = 1;
constexpr int EXIT_BAD_USAGE = 2;

// One sub-command: "tsle-cli NAME ARGS...". args[0] is "tsle-cli NAME".
struct CliCommand {
    const char* name;
    const char* summary;
    int (*run)(const QStringList& args);
};

// Parses args with parser (which gets -h, --help and --help-all added).
// Returns true when the command should go on; otherwise exitCode is set (0
// after a help option, 2 on a usage error, with the message on stderr).
bool ParseCommandLine(QCommandLineParser& parser, const QStringList& args, int& exitCode);
// Prints "tsle-cli: message" on stderr and returns EXIT_BAD_USAGE.
int UsageError(const QString& message);
// Prints "tsle-cli: FILE: reason" on stderr, on one line.
void FileError(const QString& file, std::string_view reason);
void FileError(const QString& file, const QString& reason);
inline void FileError(const QString& file, const char* reason) {
    FileError(file, std::string_view(reason));
}

// Reads the page file named on the command line by the one reading rule;
// when it cannot be read, says why on stderr and returns false.
bool ReadPageArgument(const QString& file, std::string& text);

// An argument (a path or a value) as the bytes it was given.
std::string ArgBytes(const QString& arg);

// Writes bytes to stdout exactly as they are; with flush, at once. A failure
// is remembered for StdoutError.
void WriteStdout(std::string_view bytes, bool flush = false);
// Flushes stdout; when anything written to it failed (a full disk, a closed
// pipe), says so on stderr and returns true.
bool StdoutFailed();

// Messages on stderr; questions are answered with the cautious choice (No, or
// Cancel where offered) since nobody is there to answer them.
class CliPrompt : public IUserPrompt {
public:
    explicit CliPrompt(QString file = {}) : m_file(std::move(file)) {}
    void Info(const std::string& text) override;
    Answer Ask(const std::string& text, Buttons buttons) override;

private:
    QString m_file;
};
