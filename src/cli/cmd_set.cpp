// tsle-cli set: change the title and meta tags of one page and save it in place.
#include <QHash>
#include <vector>

#include "cli/batch_run.h"
#include "cli/cli_util.h"
#include "document/page_codec.h"
#include "document/text_file.h"
#include "page/ascii_text.h"
#include "page/html_page.h"
#include "site/page_edit.h"

namespace {

const char kNoMetaPosition[] =
    "Unable to find correct position for meta-data, no changes will be written to this file.";

struct Edit {
    enum Kind { TITLE, META, HTTP_EQUIV, REMOVE, PROPERTY, LINK, LANG } kind;
    std::string name;
    std::string value;
    LinkKind link = LinkKind::CANONICAL; // LINK: which; name: the hreflang
};

// "canonical" or "alternate:LANG" (ASCII case ignored): false when it names no link.
bool ParseLinkName(const QString& text, Edit& edit) {
    const QString name = text.trimmed();
    if (name.compare(QLatin1String("canonical"), Qt::CaseInsensitive) == 0) {
        edit.link = LinkKind::CANONICAL;
        edit.name.clear();
        return true;
    }
    const QLatin1String alternate("alternate:");
    if (name.startsWith(alternate, Qt::CaseInsensitive) &&
        !name.mid(alternate.size()).trimmed().isEmpty()) {
        edit.link = LinkKind::ALTERNATE;
        edit.name = ArgBytes(name.mid(alternate.size()).trimmed());
        return true;
    }
    return false;
}

// What --remove names: a meta tag, or in a table's header form
// "property:og:title", "link:canonical", "link:alternate:fr" or "html:lang".
bool ParseRemoval(const QString& value, Edit& edit, QString& error) {
    const QLatin1String property("property:"), link("link:");
    if (value.startsWith(property, Qt::CaseInsensitive)) {
        edit.kind = Edit::PROPERTY;
        edit.name = ArgBytes(value.mid(property.size()).trimmed());
    } else if (value.startsWith(link, Qt::CaseInsensitive)) {
        edit.kind = Edit::LINK;
        if (!ParseLinkName(value.mid(link.size()), edit)) {
            error = "--remove: '" + value + "' names no link (link:canonical, link:alternate:LANG)";
            return false;
        }
    } else if (value.compare(QLatin1String("html:lang"), Qt::CaseInsensitive) == 0) {
        edit.kind = Edit::LANG;
    } else {
        edit.name = ArgBytes(value);
        return true;
    }
    edit.value.clear(); // an empty value removes
    return true;
}

// The options that edit the page, in the order they were typed.
bool CollectEdits(const QCommandLineParser& parser, std::vector<Edit>& edits, QString& error) {
    static const struct {
        const char* name;
        Edit::Kind kind;
    } kinds[] = {
        {"title", Edit::TITLE},   {"meta", Edit::META},         {"http-equiv", Edit::HTTP_EQUIV},
        {"remove", Edit::REMOVE}, {"property", Edit::PROPERTY}, {"link", Edit::LINK},
        {"lang", Edit::LANG}};
    QHash<QString, qsizetype> used; // values of each option taken so far
    for (const QString& option : parser.optionNames()) {
        for (const auto& k : kinds) {
            if (option != QLatin1String(k.name))
                continue;
            const QString value = parser.values(option).value(used[option]++);
            Edit edit{k.kind, {}, {}};
            if (k.kind == Edit::TITLE || k.kind == Edit::LANG) {
                edit.value = ArgBytes(value);
            } else if (k.kind == Edit::REMOVE) {
                if (!ParseRemoval(value, edit, error))
                    return false;
            } else {
                const qsizetype sep = value.indexOf(QLatin1Char('='));
                if (sep <= 0) {
                    error = "--" + option + " expects NAME=VALUE, got '" + value + "'";
                    return false;
                }
                edit.name = ArgBytes(value.left(sep));
                edit.value = ArgBytes(value.mid(sep + 1));
                if (k.kind == Edit::LINK && !ParseLinkName(value.left(sep), edit)) {
                    error =
                        "--link expects canonical=URL or alternate:LANG=URL, got '" + value + "'";
                    return false;
                }
            }
            edits.push_back(std::move(edit));
        }
    }
    return true;
}

// Values (and names) given as UTF-8 text are written in the page's encoding,
// values as text a reader sees ("&" escaped where it would start a
// reference); bytes that are not UTF-8 are written as they are. Returns false
// (the user has been told why) when a character cannot be written in the
// page's encoding.
bool EncodeEdits(const QString& file, const CPageCodec& codec, std::vector<Edit>& edits) {
    const auto encode = [&](std::string& bytes, const RefPlace* place) {
        const QByteArray utf8 = QByteArray::fromStdString(bytes);
        if (!utf8.isValidUtf8())
            return true;
        QString error;
        const QString text = QString::fromUtf8(utf8);
        if (place ? codec.EncodeValue(text, *place, bytes, error)
                  : codec.Encode(text, bytes, error))
            return true;
        FileError(file, error + " Nothing was written.");
        return false;
    };
    for (Edit& edit : edits) {
        const RefPlace place = edit.kind == Edit::TITLE ? RefPlace::TEXT : RefPlace::ATTRIBUTE;
        if (!encode(edit.name, nullptr) ||
            !encode(edit.value, edit.kind == Edit::REMOVE ? nullptr : &place))
            return false;
    }
    return true;
}

// Applies the edits as the editor's form would. Returns false (the user has
// been told why) when the page cannot take them.
bool ApplyEdits(const QString& file, CHtmlPage& page, const std::vector<Edit>& edits) {
    for (const Edit& edit : edits) {
        switch (edit.kind) {
        case Edit::TITLE:
            if (!page.SetTitle(edit.value)) {
                FileError(file, "no place for a title (no title tag and no </head>); "
                                "nothing was written");
                return false;
            }
            break;
        case Edit::META:
        case Edit::HTTP_EQUIV: {
            // A value of white space only removes the tag, as in the editor.
            const std::string_view value = TrimAscii(edit.value);
            if (value.empty())
                page.RemoveMeta(edit.name);
            else
                page.SetMeta(edit.name, value, edit.kind == Edit::HTTP_EQUIV);
            break;
        }
        case Edit::REMOVE:
            page.RemoveMeta(edit.name);
            break;
        case Edit::PROPERTY: {
            const std::string_view value = TrimAscii(edit.value);
            if (value.empty())
                page.RemoveProperty(edit.name);
            else
                page.SetProperty(edit.name, value);
            break;
        }
        case Edit::LINK: {
            const std::string_view value = TrimAscii(edit.value);
            if (value.empty())
                page.RemoveLink(edit.link, edit.name);
            else
                page.SetLink(edit.link, edit.name, value);
            break;
        }
        case Edit::LANG:
            if (!page.SetHtmlLang(TrimAscii(edit.value))) {
                FileError(file, "no <html> tag to carry the language (a language is never "
                                "written by adding one); nothing was written");
                return false;
            }
            break;
        }
    }
    return true;
}

} // namespace

int RunSet(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Sets the title, meta tags, Open Graph property tags, canonical and alternate links "
        "and the language of a page and saves it in place, atomically and under "
        "the page's lock. The options are applied in the order given. A page whose values "
        "do not change is not written. Values given as UTF-8 are written in the page's "
        "encoding (a character it cannot hold is refused); other bytes are written as they "
        "are.");
    parser.addPositionalArgument("FILE", "The web page to change.");
    const QCommandLineOption dryRun("dry-run", "Write the changed page to stdout; change no file.");
    const QCommandLineOption diffOption(
        "diff", "Print a unified diff of the change (the path relative to the current folder, "
                "with a/ and b/ in front, for 'git apply' or 'patch -p1'); with --dry-run the "
                "diff instead of the page.");
    const QCommandLineOption normalizeHead = NormalizeHeadOption();
    parser.addOptions({
        {"title", "Set the title.", "TEXT"},
        {"meta", "Set the meta tag NAME (name attribute); an empty VALUE removes it.",
         "NAME=VALUE"},
        {"http-equiv", "Set the meta tag NAME (http-equiv attribute); an empty VALUE removes it.",
         "NAME=VALUE"},
        {"remove",
         "Remove the meta tag NAME; or, named as an export column names it, the property tag "
         "(property:og:title), the link (link:canonical, link:alternate:fr) or the language "
         "(html:lang).",
         "NAME"},
        {"property",
         "Set the property tag NAME (<meta property>, e.g. og:title); an empty VALUE removes it.",
         "NAME=VALUE"},
        {"link",
         "Set the canonical link (canonical=URL) or the alternate link of a language "
         "(alternate:fr=URL); an empty URL removes it.",
         "LINK=URL"},
        {"lang", "Set the page's language (the lang of its <html> tag); an empty LANG removes it.",
         "LANG"},
        dryRun,
        diffOption,
        normalizeHead,
    });
    int exitCode = EXIT_OK;
    if (!ParseCommandLine(parser, args, exitCode))
        return exitCode;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return UsageError("set expects exactly one FILE");
    std::vector<Edit> edits;
    QString error;
    if (!CollectEdits(parser, edits, error))
        return UsageError(error);

    InstallInterruptHandling();
    const QString& file = files.front();
    // The page stays locked from reading to saving, so that another tsle-cli
    // (or the editor) changing it at the same time loses nothing.
    CLockedTextFile locked;
    std::string text;
    if (!locked.Open(file, text, error)) {
        FileError(file, error);
        return EXIT_FILE_FAILED;
    }
    CliPrompt prompt(file);
    CHtmlPage page;
    page.SetPrompt(&prompt);
    page.SetHeadStyle(HeadStyleOf(parser, normalizeHead));
    page.SetText(text, BodyMode::PRESERVE);
    if (!page.HasMetaPosition()) {
        FileError(file, kNoMetaPosition);
        return EXIT_FILE_FAILED;
    }
    if (!EncodeEdits(file, CPageCodec::ForPage(text, page), edits) ||
        !ApplyEdits(file, page, edits))
        return EXIT_FILE_FAILED;
    if (parser.isSet(diffOption)) {
        WriteStdout(PageDiff(text, page.GetText(), ArgBytes(file)));
    } else if (parser.isSet(dryRun)) {
        WriteStdout(page.GetText());
    }
    if (parser.isSet(dryRun))
        return EXIT_OK;
    if (page.GetChangeCount() == 0 || page.GetText() == text)
        return EXIT_OK; // nothing changed: the file stays as it is
    if (InterruptSignal())
        ExitForInterrupt(); // asked to stop before anything was written
    if (!locked.Save(page.GetText(), error, FileSync::TO_DISK)) {
        FileError(file, error);
        return EXIT_FILE_FAILED;
    }
    if (InterruptSignal())
        ExitForInterrupt();
    return EXIT_OK;
}
