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
#include "page/social_tags.h"

namespace {

struct MetaRow {
    std::string name; // UTF-8, or the bytes with --raw
    std::string content;
    CHeadMeta::Kind kind = CHeadMeta::Kind::NAME;
    int action = -1; // templates only
};

struct LinkRow {
    LinkKind kind = LinkKind::CANONICAL;
    std::string hreflang;
    std::string href;
    int action = -1; // templates only
};

struct PageSummary {
    QString file;
    std::string encoding;
    std::string title;
    std::vector<MetaRow> meta;
    std::vector<LinkRow> links;
    bool hasLang = false;
    std::string lang;
    int langAction = -1;
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
            row.action = meta.kind == CHeadMeta::Kind::PROPERTY
                             ? page.GetTagAction(FindProperty(page, meta.name))
                             : page.GetMetaAction(meta.name);
        summary.meta.push_back(std::move(row));
    }
    for (const CHeadLink& link : ListHeadLinks(page)) {
        LinkRow row;
        row.kind = link.kind;
        row.hreflang = show(link.hreflang, RefPlace::ATTRIBUTE);
        row.href = show(link.href, RefPlace::ATTRIBUTE);
        if (IsTemplateFileName(file))
            row.action = page.GetTagAction(link.pos);
        summary.links.push_back(std::move(row));
    }
    std::string lang;
    summary.hasLang = GetHtmlLang(page, lang);
    summary.lang = show(lang, RefPlace::ATTRIBUTE);
    if (IsTemplateFileName(file))
        summary.langAction = page.GetTagAction(FindHtmlTag(page));
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
        out += ", \"lang\": " + (page.hasLang ? JsonString(page.lang) : std::string("null"));
        if (page.isTemplate && page.hasLang)
            out += ", \"lang_action\": " + std::to_string(page.langAction);
        out += ", \"properties\": [";
        bool first = true;
        for (const MetaRow& row : page.meta) {
            if (row.kind != CHeadMeta::Kind::PROPERTY)
                continue;
            out += first ? "" : ", ";
            first = false;
            out += "{\"property\": " + JsonString(row.name);
            out += ", \"content\": " + JsonString(row.content);
            if (page.isTemplate)
                out += ", \"action\": " + std::to_string(row.action);
            out += "}";
        }
        out += "], \"links\": [";
        first = true;
        for (const LinkRow& row : page.links) {
            out += first ? "" : ", ";
            first = false;
            if (row.kind == LinkKind::CANONICAL)
                out += "{\"rel\": \"canonical\"";
            else
                out += "{\"rel\": \"alternate\", \"hreflang\": " + JsonString(row.hreflang);
            out += ", \"href\": " + JsonString(row.href);
            if (page.isTemplate)
                out += ", \"action\": " + std::to_string(row.action);
            out += "}";
        }
        out += "], \"meta\": [";
        first = true;
        for (const MetaRow& row : page.meta) {
            if (row.kind == CHeadMeta::Kind::CHARSET || row.kind == CHeadMeta::Kind::PROPERTY)
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
    case CHeadMeta::Kind::PROPERTY:
        return row.name + " (property)";
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
        std::vector<std::pair<std::string, const LinkRow*>> links;
        for (const LinkRow& row : page.links)
            links.emplace_back(
                row.kind == LinkKind::CANONICAL ? "canonical" : "alternate " + row.hreflang, &row);
        size_t width = 5; // "title"
        for (const MetaRow& row : page.meta)
            width = std::max(width, Label(row).size());
        for (const auto& link : links)
            width = std::max(width, link.first.size());
        // A template's values are followed by what they do to a page.
        const auto line = [&](const std::string& label, const std::string& value, int action) {
            out += "  " + label + std::string(width - label.size() + 2, ' ') + value;
            if (page.isTemplate) {
                const std::string_view text = TemplateActionText(action);
                out += "  [" + (text.empty() ? "no action" : std::string(text)) + "]";
            }
            out += "\n";
        };
        if (page.hasLang)
            line("lang", page.lang, page.langAction);
        line("title", page.title, page.titleAction);
        for (const MetaRow& row : page.meta)
            line(Label(row), row.content, row.action);
        for (const auto& [label, row] : links)
            line(label, row->href, row->action);
        if (!page.metaPosition)
            out += "  (no place for meta tags: changes cannot be saved)\n";
    }
    WriteStdout(out);
}

} // namespace

int RunShow(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Shows the language (of the <html> tag), the title, every meta tag (Open Graph "
        "property tags marked '(property)'), and the canonical and hreflang alternate links "
        "of each FILE.");
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
