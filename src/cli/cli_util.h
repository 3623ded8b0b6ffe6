// Shared pieces of the tsle-cli commands: argument parsing, messages, JSON.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

#include "page/user_prompt.h"

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

// Parses args with parser (which gets --help added). Returns true when the
// command should go on; otherwise exitCode is set (0 after --help, 2 on a usage
// error, with the message on stderr).
bool ParseCommandLine(QCommandLineParser& parser, const QStringList& args, int& exitCode);
// Prints "tsle-cli: message" on stderr and returns EXIT_BAD_USAGE.
int UsageError(const QString& message);
// Prints "tsle-cli: FILE: reason" on stderr.
void FileError(const QString& file, const QString& reason);

// Reads the page file named on the command line; when it cannot be read, says
// why on stderr ("tsle-cli: FILE: reason") and returns false.
bool ReadPageArgument(const QString& file, std::string& text);

// A path given on the command line as the bytes the model works with.
std::string LocalPath(const QString& path);

// Writes bytes to stdout exactly as they are.
void WriteStdout(std::string_view bytes);

// A JSON string literal for bytes: valid UTF-8 as it stands, every other byte
// as \u00XX with the byte's value.
std::string JsonString(std::string_view bytes);

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
