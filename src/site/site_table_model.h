// CSiteTableModel: the site view's table, one row per page of the site folder,
// for a QTableView.
//
// It shows a CSiteSheet in an order of its own: the rows the filter lets
// through, sorted by a column. Cells are formatted when the view asks for
// them (never ahead), so a site of any size costs only its visible rows. Rows
// come in from a scan (AddRows), appended as they come; EndOfScan compares the
// pages (findings) and sorts them. Editing a cell, setting one value for many
// rows and applying a template check each value as import does and count the
// pages changed.
//
// The model holds the rules only; colours and fonts are the view's, which
// reads EditedRole and RowStateRole.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <string>
#include <vector>

#include "site/site_filter.h"
#include "site/site_sheet.h"

class CTemplateValues;

class CSiteTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Role {
        EditedRole = Qt::UserRole + 1, // bool: the cell has an edit not written
        RowStateRole,                  // int: the row's SiteRowState
        RowEditedRole,                 // bool: the row has edits
    };

    explicit CSiteTableModel(QObject* parent = nullptr);

    // The site's folder (bytes, absolute, no trailing "/"); setting another
    // empties the table.
    void SetRoot(const std::string& root);
    const std::string& Root() const { return m_root; }
    // The file path of a row's page.
    std::string FullPath(size_t row) const;
    void Clear();

    const CSiteSheet& Sheet() const { return m_sheet; }
    // The rules of the findings (see CSiteSheet::SetRules), before rows come.
    void SetRules(const CSiteAudit& rules) { m_sheet.SetRules(rules); }

    // --- Rows from the disk ------------------------------------------------------
    // Pages read: new ones are appended to the view (when the filter lets them
    // through), pages shown already take the new reading (see CSiteSheet::Add).
    void AddRows(std::vector<CSiteRow>&& rows);
    // Pages gone from the disk (paths under the root): rows without edits go.
    void RemovePages(const std::vector<std::string>& paths);
    // After a scan or refresh: the findings that compare pages, and the order.
    void EndOfScan();
    // The findings after edits are made once the edits of a moment are in
    // (when control returns to the event loop); this makes them at once.
    void UpdateFindings();
    // After a write: the rows written, as read again, lose their edits and
    // show the pages as they now are; unchanged ones (their edits held what
    // the page has) lose their edits; conflicts keep theirs, marked.
    void Written(std::vector<std::pair<size_t, CSiteRow>>&& written,
                 const std::vector<size_t>& unchanged, const std::vector<size_t>& conflicts);
    // Cells take edits (not while a write runs).
    void SetEditable(bool editable) { m_editable = editable; }
    bool IsEditable() const { return m_editable; }

    // --- Order -------------------------------------------------------------------
    void SetFilter(const CSiteFilter& filter);
    const CSiteFilter& Filter() const { return m_filter; }
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int SortColumn() const { return m_sortColumn; }
    Qt::SortOrder SortOrder() const { return m_sortOrder; }
    // The sheet's row shown at a view row, and back (-1: not shown).
    size_t RowAt(int viewRow) const { return m_order[static_cast<size_t>(viewRow)]; }
    int ViewRowOf(size_t row) const;
    // The sheet rows of indexes, each once, in view order.
    std::vector<size_t> RowsOf(const QModelIndexList& indexes) const;

    // --- Edits ---------------------------------------------------------------------
    // Sets the text of a cell; false, with error set, when it is refused.
    bool SetCell(size_t row, int column, const QString& text, QString& error);
    // One text for a column of many rows. Returns the number of rows that took
    // it; failures: "PATH: why" for each that did not.
    size_t SetCells(const std::vector<size_t>& rows, int column, const QString& text,
                    QStringList& failures);
    // Merges a template into rows as applying it to each page would, as edits.
    // A page that cannot hold one of its values takes none of them (failures).
    size_t ApplyTemplate(const std::vector<size_t>& rows, const CTemplateValues& values,
                         QStringList& failures);
    // Drops the edits of rows (of every row when empty).
    void DiscardEdits(std::vector<size_t> rows = {});
    size_t ChangedPages() const { return m_sheet.EditedRows(); }
    // "7 pages changed, not saved", "" when none.
    static QString ChangedText(size_t pages);
    // The edits to write (of rows, or of every edited row).
    std::vector<CSitePageChange> Changes(const std::vector<size_t>& rows = {}) const {
        return m_sheet.Changes(rows);
    }

    // --- QAbstractItemModel ----------------------------------------------------------
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // The number of pages with edits not written changed.
    void changedPagesChanged(qulonglong pages);
    // An edit typed into a cell was refused, and why.
    void editRefused(const QString& message);

private:
    // Shows rows in the order given, keeping the view's selection and current
    // cell on the same pages.
    void Reorder(std::vector<uint32_t> order);
    std::vector<uint32_t> FilteredSorted() const;
    void AddColumnsFor(const std::vector<CSiteRow>& rows);
    // After edits of rows: measures and findings again, and the rows shown told.
    void AfterEdits(size_t before, const std::vector<size_t>& rows);
    // The views told that the numbers and findings of every row changed.
    void MeasuresChanged();
    void RowChanged(size_t row);

    std::string m_root;
    CSiteSheet m_sheet;
    CSiteFilter m_filter;
    int m_sortColumn = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    std::vector<uint32_t> m_order;      // the sheet rows shown, in view order
    mutable std::vector<int> m_viewRow; // by sheet row: its view row, -1
    mutable bool m_viewRowValid = false;
    bool m_editable = true;
    bool m_findingsDue = false;
};
