#include "cli/cli_util.h"

#include "page/page_file.h"
#include "page/utf8.h"

#include <QFile>
#include <cstdio>

bool ParseCommandLine(QCommandLineParser& parser, const QStringList& args, int& exitCode) {
    const QCommandLineOption help = parser.addHelpOption();
    if (!parser.parse(args)) {
        exitCode = UsageError(parser.errorText());
        return false;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        exitCode = EXIT_OK;
        return false;
    }
    return true;
}

int UsageError(const QString& message) {
    std::fprintf(stderr, "tsle-cli: %s\n", qPrintable(message));
    return EXIT_BAD_USAGE;
}

void FileError(const QString& file, const QString& reason) {
    std::fprintf(stderr, "tsle-cli: %s: %s\n", qPrintable(file), qPrintable(reason));
}

bool ReadPageArgument(const QString& file, std::string& text) {
    std::string error;
    if (ReadPageFile(LocalPath(file), text, error))
        return true;
    FileError(file, QString::fromLocal8Bit(error.c_str()));
    return false;
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

void WriteStdout(std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

std::string JsonString(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + 2);
    out += '"';
    char buf[8];
    for (size_t i = 0; i < bytes.size();) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        const size_t len = Utf8SequenceLength(bytes, i);
        if (len > 1) {
            out.append(bytes.substr(i, len));
            i += len;
            continue;
        }
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || len == 0) {
                std::snprintf(buf, sizeof buf, "\\u%04X", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
        ++i;
    }
    out += '"';
    return out;
}

void CliPrompt::Info(const std::string& text) {
    if (m_file.isEmpty())
        std::fprintf(stderr, "tsle-cli: %s\n", text.c_str());
    else
        std::fprintf(stderr, "tsle-cli: %s: %s\n", qPrintable(m_file), text.c_str());
}

IUserPrompt::Answer CliPrompt::Ask(const std::string& text, Buttons buttons) {
    Info(text);
    return buttons == YES_NO_CANCEL ? ANSWER_CANCEL : ANSWER_NO;
}
