// CSiteSheet: the pages of a site as the site view shows them, one row per
// page, with the edits not yet written and the audit's findings.
//
// Columns: the page's path; the value columns of the site tables (the title,
// then one per meta name, as CSiteColumn names them: the description,
// keywords and robots always, every other name once a page has it; the
// canonical link, og:title, og:description, og:image and the language always,
// every other property and hreflang alternate once a page has it), each
// followed by the numbers measured of it (SiteFacts: lengths and widths in
// pixels); and the findings. Columns are only ever added, so a column's index stays.
//
// Value columns are edited in place. An edit is kept as text beside the value
// as read and checked as import checks a cell: no control character, and no
// character the page's encoding cannot hold. An edit back to the value as read
// is no edit. The measures and findings follow the edits (UpdateFindings), so
// a title edited to a good length loses its finding.
//
// Rows are kept in the order they came; the table model orders and filters
// them. No Qt model here: the rules alone, for the model and the tests.
#pragma once

#include <QHash>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "site/site_audit.h"
#include "site/site_columns.h"
#include "site/site_row.h"

// A number measured of a page's value, shown as a column after the value's.
struct CSiteFact {
    const char* key;   // for the remembered layout: "title-length"
    const char* label; // the column's heading
    const char* of;    // the header of the value column measured: "title"
    // The number, or -1 when the page has no such value.
    int (*measure)(const CAuditPage& page);
};
// The facts the view shows, in the order their columns come.
std::span<const CSiteFact> SiteFacts();

struct CSiteViewColumn {
    enum Kind { PATH, VALUE, FACT, FINDINGS };
    Kind kind = PATH;
    CSiteColumn value; // VALUE: the title or a meta tag
    int fact = -1;     // FACT: its index in SiteFacts()

    // What the column is known by in the remembered layout: "path",
    // "findings", a fact's key, or a value column's table header ("title",
    // "description", "http-equiv:Refresh").
    QString Key() const;
    // The column's heading.
    QString Label() const;
    bool IsEditable() const { return kind == VALUE; }
    bool IsNumber() const { return kind == FACT; }
};

// Where a value column's text goes in a page: a title's text, or an
// attribute's value (which escape characters differently).
RefPlace PlaceOf(const CSiteColumn& column);

// Why a row's edits cannot be written as they stand.
enum class SiteRowState : uint8_t {
    CURRENT,         // the page is as it was read
    CHANGED_ON_DISK, // it changed on disk since (its edits kept, not written)
    GONE,            // it is gone from the disk (its edits kept, not written)
};

// One page's edits, ready for the writer.
struct CSitePageChange {
    size_t row = 0;
    std::string path;        // the page's path under the site's folder
    std::string fingerprint; // of the page as read: another one there is a conflict
    std::vector<std::pair<CSiteColumn, QString>> cells; // the edited values
};

class CSiteSheet {
public:
    CSiteSheet();

    // --- Rows ---------------------------------------------------------------
    size_t RowCount() const { return m_audit.size(); }
    const CAuditPage& Audit(size_t row) const { return m_audit[row]; }
    const CPageValues& Values(size_t row) const { return m_rows[row].values; }
    const PageStamp& Stamp(size_t row) const { return m_rows[row].stamp; }
    const std::string& Path(size_t row) const { return m_audit[row].path; }
    SiteRowState State(size_t row) const { return m_rows[row].state; }
    std::optional<size_t> Find(const std::string& path) const;

    // What adding rows did: the rows new at the end, the rows whose page was
    // read again in place, and the columns the new values added at the end.
    struct CAdded {
        std::vector<size_t> added;
        std::vector<size_t> replaced;
        int columnsAdded = 0;
    };
    // Adds the pages read. A page already shown takes the new reading in
    // place, unless it has edits: those are kept and the row is marked
    // CHANGED_ON_DISK (when the page's text differs). Each new row gets its
    // own findings; UpdateFindings compares the pages.
    CAdded Add(std::vector<CSiteRow>&& rows);
    // A write found the page changed on disk since it was read.
    void MarkChangedOnDisk(size_t row) { m_rows[row].state = SiteRowState::CHANGED_ON_DISK; }
    // The page of row is gone from the disk. Returns true when the row may
    // be taken away (no edits); else it is marked GONE and kept.
    bool MarkGone(size_t row);
    // Takes rows away (in any order); the rows after them move up. Returns
    // the old index of each row left, by its new index.
    std::vector<size_t> Remove(std::vector<size_t> rows);
    void Clear();

    // --- Columns --------------------------------------------------------------
    const std::vector<CSiteViewColumn>& Columns() const { return m_columns; }
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    // The column a layout key names, or -1.
    int ColumnOf(const QString& key) const;
    // The meta names of the value columns, to look up in every page read.
    std::vector<QString> MetaNames() const;
    // The value column of a title or meta tag, or -1.
    int ValueColumnOf(const CSiteColumn& value) const;
    // The value columns the meta tags of rows need that are not there yet.
    std::vector<CSiteColumn> MissingColumns(const std::vector<CSiteRow>& rows) const;
    // How many columns adding values makes (each value's facts come with it),
    // and adding them, at the end. Returns the number added.
    int CountNewColumns(const std::vector<CSiteColumn>& values) const;
    int AddValueColumns(const std::vector<CSiteColumn>& values);

    // --- Cells ----------------------------------------------------------------
    // The text shown: the edit, else the value as read; a fact as a number.
    QString Text(size_t row, int column) const;
    // A fact's number (-1: none); for other columns 0.
    int Number(size_t row, int column) const;
    bool IsEdited(size_t row, int column) const;
    // Whether the path or a value shown in row holds text, without regard to
    // case.
    bool Holds(size_t row, const QString& text) const;
    // Sets the value of a value column. Returns false, with error set, when
    // the text cannot be written into the page (a control character, a
    // character its encoding cannot hold, the page was not read) or the
    // column takes no edits. Findings are not updated (UpdateFindings).
    bool SetText(size_t row, int column, const QString& text, QString& error);
    // Orders rows by a column, as the view sorts: numbers as numbers, texts
    // without regard to case, the findings by their number and kind; rows
    // alike by path. Descending is the exact reverse.
    void Sort(std::vector<uint32_t>& rows, int column, bool descending) const;

    // --- Edits ----------------------------------------------------------------
    size_t EditedRows() const { return m_edits.size(); }
    bool HasEdits(size_t row) const { return m_edits.count(static_cast<uint32_t>(row)) != 0; }
    void DiscardEdits(size_t row);
    // The edits of rows (every edited row when rows is empty), by row.
    std::vector<CSitePageChange> Changes(const std::vector<size_t>& rows = {}) const;

    // --- Findings ---------------------------------------------------------------
    // The findings of every page again, the comparisons between them included.
    void UpdateFindings();
    // The findings in words, "; "-separated, after the row's state.
    QString FindingsText(size_t row) const;
    bool HasFinding(size_t row, AuditCode code) const;
    const CSiteAudit& Audit() const { return m_rules; }
    // The rules the findings follow: thresholds, what measures widths, where
    // the site is published (its base: the site's folder). Set before rows
    // are added.
    void SetRules(const CSiteAudit& rules) { m_rules = rules; }

private:
    struct CCellEdit {
        int column;
        QString text;
    };
    struct CRowData {
        CPageValues values;
        PageStamp stamp;
        SiteRowState state = SiteRowState::CURRENT;
        uint8_t canonicalLinks = 0; // as read (up to 255), for the findings after edits
        // The column of each of values.metas: a value is found without
        // comparing names.
        std::vector<int32_t> metaColumns;
    };
    CRowData MakeRowData(CPageValues&& values, const PageStamp& stamp) const;

    int AddValueColumn(const CSiteColumn& value);
    // The value column of a meta name as a page writes it, or -1.
    int MetaColumn(const QString& name) const;
    // The value as read of a value column, and whether the page has it.
    QString ReadValue(size_t row, int column, bool* present = nullptr) const;
    const CCellEdit* EditOf(size_t row, int column) const;
    // The audit's title and description of row from its edits and values.
    void Measure(size_t row);
    void OwnFindings(size_t row);
    void Reindex();

    CSiteAudit m_rules;
    std::vector<CSiteViewColumn> m_columns;
    std::vector<std::string> m_valueKeys;              // CSiteColumn::Key() of each value column
    std::unordered_map<std::string, int> m_keyColumns; // by CSiteColumn::Key()
    int m_titleColumn = -1;
    int m_descriptionColumn = -1;
    // The column of each meta name as pages write it ("Description",
    // "description"): found once per spelling.
    mutable QHash<QString, int> m_metaColumns;
    std::vector<CAuditPage> m_audit; // by row: what the findings are made of
    std::vector<CRowData> m_rows;    // by row
    std::unordered_map<std::string, size_t> m_byPath;
    std::unordered_map<uint32_t, std::vector<CCellEdit>> m_edits;
};
