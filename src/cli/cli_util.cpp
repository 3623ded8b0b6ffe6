#include "cli/cli_util.h"

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

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

void WriteStdout(std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

namespace {

// Length of the valid UTF-8 sequence starting at s[i], or 0 when it is not one.
size_t Utf8SequenceLength(std::string_view s, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = byte(i);
    size_t len;
    unsigned min;
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    unsigned cp = c & (0xFF >> (len + 1));
    for (size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

} // namespace

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
