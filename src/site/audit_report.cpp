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
    // Columns: the path, the report's columns that have a heading, findings.
    const std::vector<CAuditColumn>& all = AuditColumns();
    std::vector<size_t> shown;
    for (size_t c = 0; c < all.size(); ++c) {
        if (!all[c].heading.empty())
            shown.push_back(c);
    }
    const size_t count = shown.size() + 2;
    std::vector<std::vector<std::u32string>> rows;
    std::vector<bool> numbers(count, false);
    rows.emplace_back(count);
    rows[0][0] = U"PATH";
    for (size_t k = 0; k < shown.size(); ++k) {
        rows[0][k + 1] = CellText(all[shown[k]].heading);
        numbers[k + 1] = all[shown[k]].number;
    }
    rows[0][count - 1] = U"FINDINGS";
    std::string cell;
    for (const CAuditPage& page : pages) {
        std::vector<std::u32string> row(count);
        row[0] = CellText(page.path);
        for (size_t k = 0; k < shown.size(); ++k) {
            row[k + 1] = AuditCell(page, shown[k], cell)
                             ? CellText(all[shown[k]].number
                                            ? cell
                                            : Utf8(CollapseSpaces(QString::fromStdString(cell))))
                             : U"-";
        }
        row[count - 1] = CellText(FindingNames(page));
        rows.push_back(std::move(row));
    }
    std::vector<int> widths(count, 0);
    for (const auto& row : rows) {
        for (size_t c = 0; c < count; ++c)
            widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
    if (width > 0) {
        // Narrow the widest of the text columns until the row fits.
        const int gaps = 2 * static_cast<int>(count - 1);
        for (;;) {
            int total = gaps;
            for (int w : widths)
                total += w;
            if (total <= width)
                break;
            int* widest = nullptr;
            for (size_t c = 0; c < count; ++c) {
                if (!numbers[c] && widths[c] > MIN_COLUMN && (!widest || widths[c] > *widest))
                    widest = &widths[c];
            }
            if (!widest)
                break;
            --*widest;
        }
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (size_t c = 0; c < count; ++c) {
            const bool last = c + 1 == count;
            line += FitCell(row[c], widths[c], !last, numbers[c]);
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
    std::vector<std::string> header{"path"};
    for (const CAuditColumn& column : AuditColumns())
        header.emplace_back(column.key);
    header.emplace_back("findings");
    header.emplace_back("messages");
    AppendCsvRow(out, header);
    std::string cell;
    for (const CAuditPage& page : pages) {
        std::string messages;
        for (const CAuditFinding& finding : page.findings) {
            if (!messages.empty())
                messages += "; ";
            messages += audit.Message(pages, page, finding);
        }
        std::vector<std::string> row{page.path};
        for (size_t c = 0; c < AuditColumns().size(); ++c)
            row.push_back(AuditCell(page, c, cell) ? cell : std::string());
        row.push_back(FindingNames(page));
        row.push_back(messages);
        AppendCsvRow(out, row);
    }
    return out;
}

std::string AuditJson(const CSiteAudit& audit, const std::vector<CAuditPage>& pages) {
    std::string out = "{\"pages\": [";
    std::string cell;
    for (size_t p = 0; p < pages.size(); ++p) {
        const CAuditPage& page = pages[p];
        out += p ? ",\n  " : "\n  ";
        out += "{\"path\": " + JsonString(page.path);
        if (!page.error.empty()) {
            out += ", \"error\": " + JsonString(page.error);
        } else {
            for (size_t c = 0; c < AuditColumns().size(); ++c) {
                const CAuditColumn& column = AuditColumns()[c];
                out += ", " + JsonString(column.key) + ": ";
                if (!AuditCell(page, c, cell))
                    out += "null";
                else
                    out += column.number ? cell : JsonString(cell);
            }
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
           ", \"description_max\": " + std::to_string(t.descriptionMax) + ", \"title_px_max\": " +
           std::to_string(SnippetLimitPx(t.widths, SnippetPart::TITLE, t.device)) +
           ", \"title_font_px\": " + std::to_string(SnippetFontPx(t.widths, SnippetPart::TITLE)) +
           ", \"description_px_max\": " +
           std::to_string(SnippetLimitPx(t.widths, SnippetPart::DESCRIPTION, t.device)) +
           ", \"description_font_px\": " +
           std::to_string(SnippetFontPx(t.widths, SnippetPart::DESCRIPTION)) +
           ", \"device\": " + (t.device == SnippetDevice::MOBILE ? "\"mobile\"" : "\"desktop\"") +
           "}}\n";
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
