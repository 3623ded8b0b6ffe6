#include "cli/cli_util.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "document/text_file.h"
#include "page/utf8.h"

namespace {

// The first error met writing stdout (an errno value), or 0.
int g_stdoutError = 0;

void WriteStderr(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

} // namespace

bool ParseCommandLine(QCommandLineParser& parser, const QStringList& args, int& exitCode) {
    const QCommandLineOption help = parser.addHelpOption();
    if (!parser.parse(args)) {
        exitCode = UsageError(parser.errorText());
        return false;
    }
    // --help-all shows the same: the commands have no hidden options.
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        // The usage line names the program as it was started; name the command.
        QString text = parser.helpText();
        // (Without an application object, Qt names it "<executable_name>".)
        const QString started = QCoreApplication::instance()
                                    ? QCoreApplication::arguments().value(0)
                                    : QStringLiteral("<executable_name>");
        if (!started.isEmpty() && text.startsWith("Usage: " + started))
            text.replace(7, started.size(), args.first());
        WriteStdout(ArgBytes(text));
        exitCode = EXIT_OK;
        return false;
    }
    return true;
}

int UsageError(const QString& message) {
    WriteStderr("tsle-cli: " + ArgBytes(message) + "\n");
    return EXIT_BAD_USAGE;
}

void FileError(const QString& file, std::string_view reason) {
    WriteStderr("tsle-cli: " + ArgBytes(file) + ": " + std::string(reason) + "\n");
}

void FileError(const QString& file, const QString& reason) {
    FileError(file, ArgBytes(reason));
}

bool ReadPageArgument(const QString& file, std::string& text) {
    QString error;
    if (LoadTextFile(file, text, error))
        return true;
    FileError(file, error);
    return false;
}

std::string ArgBytes(const QString& arg) {
    return FileNameBytes(arg);
}

void WriteStdout(std::string_view bytes, bool flush) {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() &&
        !g_stdoutError)
        g_stdoutError = errno ? errno : EIO;
    if (flush && std::fflush(stdout) != 0 && !g_stdoutError)
        g_stdoutError = errno ? errno : EIO;
}

bool StdoutFailed() {
    errno = 0;
    if (std::fflush(stdout) != 0 && !g_stdoutError)
        g_stdoutError = errno ? errno : EIO;
    if (std::ferror(stdout) && !g_stdoutError)
        g_stdoutError = EIO;
    if (!g_stdoutError)
        return false;
    WriteStderr(std::string("tsle-cli: error writing standard output: ") +
                std::strerror(g_stdoutError) + "\n");
    return true;
}

void CliPrompt::Info(const std::string& text) {
    // One line per message, as every error of tsle-cli.
    std::string line = text;
    for (size_t at; (at = line.find_first_of("\r\n")) != std::string::npos;)
        line.replace(at, line.compare(at, 2, "\r\n") == 0 ? 2 : 1, " ");
    if (m_file.isEmpty())
        WriteStderr("tsle-cli: " + line + "\n");
    else
        FileError(m_file, line);
}

IUserPrompt::Answer CliPrompt::Ask(const std::string& text, Buttons buttons) {
    Info(text);
    return buttons == YES_NO_CANCEL ? ANSWER_CANCEL : ANSWER_NO;
}
