// tsle-cli show: the title and meta tags of pages, as a table or as JSON.
#include <cstdio>
#include <vector>

#include "cli/cli_util.h"
#include "document/template_file_name.h"
#include "fields/template_action.h"
#include "page/html_page.h"

namespace {

struct MetaRow {
    std::string name;
    std::string content;
    int httpEquiv = 0;
    int action = -1; // templates only
};

struct PageSummary {
    QString file;
    std::string title;
    std::vector<MetaRow> meta;
    bool metaPosition = false;
    bool isTemplate = false;
    int titleAction = 0;
};

PageSummary Summarize(const QString& file, CHtmlPage& page) {
    PageSummary summary;
    summary.file = file;
    summary.title = page.GetTitle();
    MetaRow row;
    for (int i = 0; page.GetMetaAt(i, row.name, row.content, row.httpEquiv); ++i)
        summary.meta.push_back(row);
    summary.metaPosition = page.HasMetaPosition();
    summary.isTemplate = IsTemplateFileName(file);
    if (summary.isTemplate) {
        std::string title;
        page.GetTitleWithAction(title, summary.titleAction);
        for (MetaRow& r : summary.meta)
            r.action = page.GetMetaAction(r.name);
    }
    return summary;
}

void PrintJson(const std::vector<PageSummary>& pages) {
    std::string out = "[";
    for (size_t p = 0; p < pages.size(); ++p) {
        const PageSummary& page = pages[p];
        out += p ? ",\n " : "";
        out += "{\"file\": " + JsonString(ArgBytes(page.file));
        out += ", \"title\": " + JsonString(page.title);
        if (page.isTemplate)
            out += ", \"title_action\": " + std::to_string(page.titleAction);
        out += ", \"meta\": [";
        for (size_t i = 0; i < page.meta.size(); ++i) {
            const MetaRow& row = page.meta[i];
            out += i ? ", " : "";
            out += "{\"name\": " + JsonString(row.name);
            out += ", \"http_equiv\": ";
            out += row.httpEquiv ? "true" : "false";
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

void PrintTable(const std::vector<PageSummary>& pages) {
    std::string out;
    for (const PageSummary& page : pages) {
        if (!out.empty())
            out += "\n";
        out += ArgBytes(page.file) + "\n";
        size_t width = 5; // "title"
        for (const MetaRow& row : page.meta)
            width = std::max(width, row.name.size() + (row.httpEquiv ? 13 : 0));
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
            line(row.name.empty() ? std::string("(no name)")
                 : row.httpEquiv  ? row.name + " (http-equiv)"
                                  : row.name,
                 row.content, row.action);
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
        page.SetText(std::move(text), IsTemplateFileName(file)
                                          ? BodyMode::REBUILD
                                          : BodyMode::PRESERVE); // templates: whole file
        pages.push_back(Summarize(file, page));
    }
    if (parser.isSet(json))
        PrintJson(pages);
    else
        PrintTable(pages);
    return exitCode;
}
