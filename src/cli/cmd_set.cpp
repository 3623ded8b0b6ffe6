// tsle-cli set: change the title and meta tags of one page and save it in place.
#include <QFile>
#include <vector>

#include "cli/cli_util.h"
#include "document/tessel_doc.h"

namespace {

struct Edit {
    enum Kind { TITLE, META, HTTP_EQUIV, REMOVE } kind;
    std::string name;
    std::string value;
};

std::string Bytes(const QString& s) {
    return s.toLocal8Bit().toStdString();
}

// The options that edit the page, in command-line order. QCommandLineParser
// keeps the values of each option but not how they interleave, so the
// arguments (already validated by the parser) are walked again.
bool CollectEdits(const QStringList& args, std::vector<Edit>& edits, QString& error) {
    static const struct {
        const char* name;
        Edit::Kind kind;
    } kinds[] = {{"title", Edit::TITLE},
                 {"meta", Edit::META},
                 {"http-equiv", Edit::HTTP_EQUIV},
                 {"remove", Edit::REMOVE}};
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--"))
            break;
        if (!arg.startsWith(QLatin1String("--")))
            continue;
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const QString option = arg.mid(2, eq < 0 ? -1 : eq - 2);
        for (const auto& k : kinds) {
            if (option != QLatin1String(k.name))
                continue;
            QString value =
                eq < 0 ? (i + 1 < args.size() ? args[++i] : QString()) : arg.mid(eq + 1);
            Edit edit{k.kind, {}, {}};
            if (k.kind == Edit::TITLE) {
                edit.value = Bytes(value);
            } else if (k.kind == Edit::REMOVE) {
                edit.name = Bytes(value);
            } else {
                const qsizetype sep = value.indexOf(QLatin1Char('='));
                if (sep <= 0) {
                    error = "--" + option + " expects NAME=VALUE, got '" + value + "'";
                    return false;
                }
                edit.name = Bytes(value.left(sep));
                edit.value = Bytes(value.mid(sep + 1));
            }
            edits.push_back(std::move(edit));
        }
    }
    return true;
}

} // namespace

int RunSet(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Sets the title and meta tags of a page and saves it in place. The options are "
        "applied in the order given.");
    parser.addPositionalArgument("FILE", "The web page to change.");
    const QCommandLineOption dryRun("dry-run", "Write the changed page to stdout; change no file.");
    parser.addOptions({
        {"title", "Set the title.", "TEXT"},
        {"meta", "Set the meta tag NAME (name attribute); an empty VALUE removes it.",
         "NAME=VALUE"},
        {"http-equiv", "Set the meta tag NAME (http-equiv attribute); an empty VALUE removes it.",
         "NAME=VALUE"},
        {"remove", "Remove the meta tag NAME.", "NAME"},
        dryRun,
    });
    int exitCode = EXIT_OK;
    if (!ParseCommandLine(parser, args, exitCode))
        return exitCode;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return UsageError("set expects exactly one FILE");
    std::vector<Edit> edits;
    QString error;
    if (!CollectEdits(args, edits, error))
        return UsageError(error);

    const QString& file = files.front();
    CliPrompt prompt(file);
    CTesselDoc doc;
    doc.SetPrompt(&prompt);
    if (!doc.OnOpenDocument(file) || doc.HasNoMetaPosition())
        return EXIT_FILE_FAILED; // the document has said why
    for (const Edit& edit : edits) {
        switch (edit.kind) {
        case Edit::TITLE:
            if (!doc.SetPageTitle(edit.value)) {
                FileError(file, "no place for a title (no title tag and no </head>); "
                                "nothing was written");
                return EXIT_FILE_FAILED;
            }
            break;
        case Edit::META:
            doc.SetMetaValue(edit.name, edit.value, 0);
            break;
        case Edit::HTTP_EQUIV:
            doc.SetMetaValue(edit.name, edit.value, 1);
            break;
        case Edit::REMOVE:
            doc.RemoveMeta(edit.name);
            break;
        }
    }
    if (parser.isSet(dryRun)) {
        WriteStdout(doc.GetPageText());
        return EXIT_OK;
    }
    return doc.FileSave() ? EXIT_OK : EXIT_FILE_FAILED;
}
