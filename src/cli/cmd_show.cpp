// tsle-cli show: the title and meta tags of pages, as a table or as JSON.
//
// Values are shown as a reader sees them: decoded from the page's encoding,
// character references resolved; --raw shows the bytes as the page holds them.
#include <cstdio>
#include <vector>

#include "cli/cli_util.h"
#include "document/head_metas.h"
#include "document/page_codec.h"
#include "document/template_file_name.h"
#include "fields/template_action.h"
#include "page/html_page.h"

namespace {

struct MetaRow {
    std::string name; // UTF-8, or the bytes with --raw
    std::string content;
    CHeadMeta::Kind kind = CHeadMeta::Kind::NAME;
    int action = -1; // templates only
};

struct PageSummary {
    QString file;
    std::string encoding;
    std::string title;
    std::vector<MetaRow> meta;
    bool metaPosition = false;
    bool isTemplate = false;
    int titleAction = 0;
};

PageSummary Summarize(const QString& file, const std::string& text, CHtmlPage& page, bool raw) {
    PageSummary summary;
    summary.file = file;
    const CPageCodec codec = CPageCodec::ForPage(text, page);
    summary.encoding = codec.Name().toStdString();
    const auto show = [&](const std::string& bytes, RefPlace place) {
        return raw ? bytes : codec.DecodeValue(bytes, place).toStdString();
    };
    summary.title = show(page.GetTitle(), RefPlace::TEXT);
    for (const CHeadMeta& meta : ListHeadMetas(page)) {
        MetaRow row;
        row.kind = meta.kind;
        row.name = raw ? meta.name : codec.Decode(meta.name).toStdString();
        row.content = show(meta.content, RefPlace::ATTRIBUTE);
        if (IsTemplateFileName(file))
            row.action = page.GetMetaAction(meta.name);
        summary.meta.push_back(std::move(row));
    }
    summary.metaPosition = page.HasMetaPosition();
    summary.isTemplate = IsTemplateFileName(file);
    if (summary.isTemplate) {
        std::string title;
        page.GetTitleWithAction(title, summary.titleAction);
    }
    return summary;
}

void PrintJson(const std::vector<PageSummary>& pages) {
    std::string out = "[";
    for (size_t p = 0; p < pages.size(); ++p) {
        const PageSummary& page = pages[p];
        out += p ? ",\n " : "";
        out += "{\"file\": " + JsonString(ArgBytes(page.file));
        out += ", \"encoding\": " + JsonString(page.encoding);
        // The page's <meta charset>, not one of its named tags.
        std::string charset = "null";
        for (const MetaRow& row : page.meta) {
            if (row.kind == CHeadMeta::Kind::CHARSET) {
                charset = JsonString(row.content);
                break;
            }
        }
        out += ", \"charset\": " + charset;
        out += ", \"title\": " + JsonString(page.title);
        if (page.isTemplate)
            out += ", \"title_action\": " + std::to_string(page.titleAction);
        out += ", \"meta\": [";
        bool first = true;
        for (const MetaRow& row : page.meta) {
            if (row.kind == CHeadMeta::Kind::CHARSET)
                continue;
            out += first ? "" : ", ";
            first = false;
            out += "{\"name\": " + JsonString(row.name);
            out += ", \"http_equiv\": ";
            out += row.kind == CHeadMeta::Kind::HTTP_EQUIV ? "true" : "false";
            out += ", \"content\": " + JsonString(row.content);
            if (page.isTemplate)
                out += ", \"action\": " + std::to_string(row.action);
            out += "}";
        }
        out += "], \"meta_position\": ";
        out += page.metaPosition ? "true" : "false";
        out += "}";
    }
    out += "]\n";
    WriteStdout(out);
}

// What a row of the table is called.
std::string Label(const MetaRow& row) {
    switch (row.kind) {
    case CHeadMeta::Kind::CHARSET:
        return "charset";
    case CHeadMeta::Kind::NAMELESS:
        return "(no name)";
    case CHeadMeta::Kind::HTTP_EQUIV:
        return row.name + " (http-equiv)";
    case CHeadMeta::Kind::NAME:
        break;
    }
    return row.name.empty() ? std::string("(no name)") : row.name;
}

void PrintTable(const std::vector<PageSummary>& pages) {
    std::string out;
    for (const PageSummary& page : pages) {
        if (!out.empty())
            out += "\n";
        out += ArgBytes(page.file) + "\n";
        size_t width = 5; // "title"
        for (const MetaRow& row : page.meta)
            width = std::max(width, Label(row).size());
        // A template's values are followed by what they do to a page.
        const auto line = [&](const std::string& label, const std::string& value, int action) {
            out += "  " + label + std::string(width - label.size() + 2, ' ') + value;
            if (page.isTemplate) {
                const std::string_view text = TemplateActionText(action);
                out += "  [" + (text.empty() ? "no action" : std::string(text)) + "]";
            }
            out += "\n";
        };
        line("title", page.title, page.titleAction);
        for (const MetaRow& row : page.meta)
            line(Label(row), row.content, row.action);
        if (!page.metaPosition)
            out += "  (no place for meta tags: changes cannot be saved)\n";
    }
    WriteStdout(out);
}

} // namespace

int RunShow(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Shows the title and every meta tag of each FILE.");
    const QCommandLineOption json("json", "Print one JSON array with one object per file.");
    parser.addOption(json);
    const QCommandLineOption raw(
        "raw", "Print titles and values as the bytes the page holds, character references and "
               "all, instead of as a reader sees them.");
    parser.addOption(raw);
    parser.addPositionalArgument("FILE", "Pages to read.", "FILE...");
    int exitCode = EXIT_OK;
    if (!ParseCommandLine(parser, args, exitCode))
        return exitCode;
    if (parser.positionalArguments().isEmpty())
        return UsageError("show needs at least one FILE");
    std::vector<PageSummary> pages;
    for (const QString& file : parser.positionalArguments()) {
        std::string text;
        if (!ReadPageArgument(file, text)) {
            exitCode = EXIT_FILE_FAILED;
            continue;
        }
        CHtmlPage page;
        page.SetText(text, IsTemplateFileName(file) ? BodyMode::REBUILD
                                                    : BodyMode::PRESERVE); // templates: whole file
        pages.push_back(Summarize(file, text, page, parser.isSet(raw)));
    }
    if (parser.isSet(json))
        PrintJson(pages);
    else
        PrintTable(pages);
    return exitCode;
}
