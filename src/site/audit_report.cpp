#include "site/audit_report.h"

#include <QChar>
#include <QList>
#include <QString>
#include <algorithm>
#include <cstdio>

#include "page/utf8.h"
#include "site/csv_table.h"
#include "site/json_string.h"
#include "site/site_page.h"

namespace {

// How many other pages a JSON finding lists (with their total beside).
constexpr size_t LISTED_OTHERS = 20;
// The narrowest a cut column gets.
constexpr int MIN_COLUMN = 6;

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

// Text for a table cell: on one line, its characters as code points.
std::u32string CellText(std::string_view bytes) {
    std::u32string out;
    const QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    for (char32_t c : text.toUcs4())
        out += c < 0x20 || c == 0x7F ? U' ' : c;
    return out;
}

std::string ToUtf8(std::u32string_view text) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()))
        .toUtf8()
        .toStdString();
}

int CharWidth(char32_t c) {
    const QChar::Category category = QChar::category(c);
    if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing ||
        category == QChar::Other_Format || c < 0x20)
        return 0;
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
                      (c >= 0x3041 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
                      (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
                      (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) ||
                      (c >= 0x1F300 && c <= 0x1F64F) || (c >= 0x1F900 && c <= 0x1F9FF) ||
                      (c >= 0x20000 && c <= 0x3FFFD);
    return wide ? 2 : 1;
}

// The cell cut to width columns (ending in "…" when cut) and padded to it.
std::string FitCell(std::u32string_view text, int width, bool pad, bool right = false) {
    std::u32string out;
    int used = 0;
    if (DisplayWidth(text) <= width) {
        out = text;
        used = DisplayWidth(text);
    } else {
        for (char32_t c : text) {
            const int w = CharWidth(c);
            if (used + w > width - 1)
                break;
            out += c;
            used += w;
        }
        out += U'…';
        ++used;
    }
    if (!pad)
        return ToUtf8(out);
    const std::u32string fill(static_cast<size_t>(std::max(0, width - used)), U' ');
    return ToUtf8(right ? fill + out : out + fill);
}

std::string FindingNames(const CAuditPage& page) {
    std::string names;
    for (const CAuditFinding& finding : page.findings) {
        if (!names.empty())
            names += ' ';
        names += AuditCodeName(finding.code);
    }
    return names;
}

} // namespace

int DisplayWidth(std::u32string_view text) {
    int width = 0;
    for (char32_t c : text)
        width += CharWidth(c);
    return width;
}

std::string AuditTable(const CSiteAudit& audit, const std::vector<CAuditPage>& pages, int width) {
    // Columns: path, title, its length, description, its length, findings.
    struct Row {
        std::u32string cells[6];
    };
    std::vector<Row> rows;
    rows.push_back({{U"PATH", U"TITLE", U"CHARS", U"DESCRIPTION", U"CHARS", U"FINDINGS"}});
    for (const CAuditPage& page : pages) {
        Row row;
        row.cells[0] = CellText(page.path);
        if (page.error.empty()) {
            row.cells[1] = page.hasTitle ? CellText(Utf8(CollapseSpaces(page.title))) : U"-";
            row.cells[2] = page.hasTitle ? CellText(std::to_string(page.titleLength)) : U"-";
            row.cells[3] =
                page.hasDescription ? CellText(Utf8(CollapseSpaces(page.description))) : U"-";
            row.cells[4] =
                page.hasDescription ? CellText(std::to_string(page.descriptionLength)) : U"-";
        } else {
            for (int c = 1; c <= 4; ++c)
                row.cells[c] = U"-";
        }
        row.cells[5] = CellText(FindingNames(page));
        rows.push_back(std::move(row));
    }
    int widths[6] = {};
    for (const Row& row : rows) {
        for (int c = 0; c < 6; ++c)
            widths[c] = std::max(widths[c], DisplayWidth(row.cells[c]));
    }
    if (width > 0) {
        // Narrow the widest of the text columns until the row fits.
        const int gaps = 2 * 5;
        const int cut[] = {0, 1, 3, 5};
        for (;;) {
            int total = gaps;
            for (int w : widths)
                total += w;
            if (total <= width)
                break;
            int* widest = nullptr;
            for (int c : cut) {
                if (widths[c] > MIN_COLUMN && (!widest || widths[c] > *widest))
                    widest = &widths[c];
            }
            if (!widest)
                break;
            --*widest;
        }
    }
    std::string out;
    for (const Row& row : rows) {
        std::string line;
        for (int c = 0; c < 6; ++c) {
            const bool last = c == 5;
            line += FitCell(row.cells[c], widths[c], !last, c == 2 || c == 4);
            if (!last)
                line += "  ";
        }
        while (line.ends_with(' '))
            line.pop_back();
        out += line + "\n";
    }
    std::string details;
    for (const CAuditPage& page : pages) {
        for (const CAuditFinding& finding : page.findings)
            details += page.path + ": " + audit.Message(pages, page, finding) + "\n";
    }
    if (!details.empty())
        out += "\n" + details;
    return out + "\n" + AuditSummaryText(CSiteAudit::Summarize(pages));
}

std::string AuditCsv(const CSiteAudit& audit, const std::vector<CAuditPage>& pages) {
    std::string out;
    AppendCsvRow(out, {"path", "title", "title_length", "description", "description_length",
                       "findings", "messages"});
    for (const CAuditPage& page : pages) {
        std::string messages;
        for (const CAuditFinding& finding : page.findings) {
            if (!messages.empty())
                messages += "; ";
            messages += audit.Message(pages, page, finding);
        }
        const bool read = page.error.empty();
        AppendCsvRow(out,
                     {page.path, read ? Utf8(page.title) : "",
                      read && page.hasTitle ? std::to_string(page.titleLength) : "",
                      read ? Utf8(page.description) : "",
                      read && page.hasDescription ? std::to_string(page.descriptionLength) : "",
                      FindingNames(page), messages});
    }
    return out;
}

std::string AuditJson(const CSiteAudit& audit, const std::vector<CAuditPage>& pages) {
    const auto optional = [](int present, const std::string& value) {
        return present ? value : std::string("null");
    };
    std::string out = "{\"pages\": [";
    for (size_t p = 0; p < pages.size(); ++p) {
        const CAuditPage& page = pages[p];
        out += p ? ",\n  " : "\n  ";
        out += "{\"path\": " + JsonString(page.path);
        if (!page.error.empty()) {
            out += ", \"error\": " + JsonString(page.error);
        } else {
            out += ", \"title\": " + optional(page.hasTitle, JsonString(Utf8(page.title)));
            out +=
                ", \"title_length\": " + optional(page.hasTitle, std::to_string(page.titleLength));
            out += ", \"description\": " +
                   optional(page.hasDescription, JsonString(Utf8(page.description)));
            out += ", \"description_length\": " +
                   optional(page.hasDescription, std::to_string(page.descriptionLength));
        }
        out += ", \"findings\": [";
        for (size_t f = 0; f < page.findings.size(); ++f) {
            const CAuditFinding& finding = page.findings[f];
            out += f ? ", " : "";
            out += "{\"code\": " + JsonString(AuditCodeName(finding.code));
            out += ", \"message\": " + JsonString(audit.Message(pages, page, finding));
            if (!finding.others.empty()) {
                out += ", \"others\": [";
                const size_t listed = std::min(LISTED_OTHERS, finding.others.size());
                for (size_t i = 0; i < listed; ++i)
                    out += (i ? ", " : "") + JsonString(pages[finding.others[i]].path);
                out += "], \"others_total\": " +
                       std::to_string(std::max(finding.othersTotal, finding.others.size()));
            }
            out += "}";
        }
        out += "]}";
    }
    const CAuditSummary summary = CSiteAudit::Summarize(pages);
    out += pages.empty() ? "],\n" : "\n],\n";
    out += " \"summary\": {\"pages\": " + std::to_string(summary.pages) +
           ", \"pages_with_findings\": " + std::to_string(summary.pagesWithFindings) +
           ", \"findings\": {";
    bool first = true;
    for (size_t c = 0; c < AUDIT_CODE_COUNT; ++c) {
        if (!summary.counts[c])
            continue;
        out += first ? "" : ", ";
        first = false;
        out += JsonString(AuditCodeName(static_cast<AuditCode>(c))) + ": " +
               std::to_string(summary.counts[c]);
    }
    const CAuditThresholds& t = audit.Thresholds();
    out += "}},\n \"thresholds\": {\"title_min\": " + std::to_string(t.titleMin) +
           ", \"title_max\": " + std::to_string(t.titleMax) +
           ", \"description_min\": " + std::to_string(t.descriptionMin) +
           ", \"description_max\": " + std::to_string(t.descriptionMax) + "}}\n";
    return out;
}

std::string AuditSummaryText(const CAuditSummary& summary) {
    std::string out = std::to_string(summary.pages) +
                      (summary.pages == 1 ? " page, " : " pages, ") +
                      std::to_string(summary.pagesWithFindings) + " with findings\n";
    for (size_t c = 0; c < AUDIT_CODE_COUNT; ++c) {
        if (summary.counts[c])
            out += "  " + std::to_string(summary.counts[c]) + " " +
                   std::string(AuditCodeName(static_cast<AuditCode>(c))) + "\n";
    }
    return out;
}
