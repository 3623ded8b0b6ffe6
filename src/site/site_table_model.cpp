#include "site/site_table_model.h"

#include <algorithm>

#include "document/template_merge.h"
#include "document/template_values.h"
#include "document/template_variables.h"
#include "document/text_file.h"

namespace {

// A value on one line, as a cell shows it (the editor gets it as it is).
QString OneLine(QString text) {
    return text.replace(QLatin1String("\r\n"), QLatin1String(" "))
        .replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

CSiteTableModel::CSiteTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void CSiteTableModel::SetRoot(const std::string& root) {
    if (root == m_root)
        return;
    m_root = root;
    Clear();
}

std::string CSiteTableModel::FullPath(size_t row) const {
    const std::string& path = m_sheet.Path(row);
    return m_root.ends_with('/') ? m_root + path : m_root + "/" + path;
}

void CSiteTableModel::Clear() {
    const size_t before = m_sheet.EditedRows();
    beginResetModel();
    m_sheet.Clear();
    m_order.clear();
    m_viewRowValid = false;
    endResetModel();
    if (before)
        emit changedPagesChanged(0);
}

// --- Rows from the disk -------------------------------------------------------------

void CSiteTableModel::AddColumnsFor(const std::vector<CSiteRow>& rows) {
    const std::vector<CSiteColumn> missing = m_sheet.MissingColumns(rows);
    const int count = m_sheet.CountNewColumns(missing);
    if (count == 0)
        return;
    const int first = columnCount();
    beginInsertColumns({}, first, first + count - 1);
    m_sheet.AddValueColumns(missing);
    endInsertColumns();
}

void CSiteTableModel::AddRows(std::vector<CSiteRow>&& rows) {
    if (rows.empty())
        return;
    AddColumnsFor(rows);
    const size_t editedBefore = m_sheet.EditedRows();
    const CSiteSheet::CAdded added = m_sheet.Add(std::move(rows));
    for (size_t row : added.replaced)
        RowChanged(row);
    std::vector<uint32_t> shown;
    for (size_t row : added.added) {
        if (m_filter.Matches(m_sheet, row))
            shown.push_back(static_cast<uint32_t>(row));
    }
    if (!shown.empty()) {
        // Appended as they come: the order is made when the scan ends.
        const int first = rowCount();
        beginInsertRows({}, first, first + static_cast<int>(shown.size()) - 1);
        m_order.insert(m_order.end(), shown.begin(), shown.end());
        m_viewRowValid = false;
        endInsertRows();
    }
    if (m_sheet.EditedRows() != editedBefore)
        emit changedPagesChanged(m_sheet.EditedRows());
}

void CSiteTableModel::RemovePages(const std::vector<std::string>& paths) {
    std::vector<size_t> drop;
    for (const std::string& path : paths) {
        const std::optional<size_t> row = m_sheet.Find(path);
        if (!row)
            continue;
        if (m_sheet.MarkGone(*row))
            drop.push_back(*row);
        else
            RowChanged(*row);
    }
    if (drop.empty())
        return;
    // The view loses the rows first, from the bottom up, then the sheet.
    std::vector<int> viewRows;
    for (size_t row : drop) {
        const int at = ViewRowOf(row);
        if (at >= 0)
            viewRows.push_back(at);
    }
    std::sort(viewRows.rbegin(), viewRows.rend());
    for (int at : viewRows) {
        beginRemoveRows({}, at, at);
        m_order.erase(m_order.begin() + at);
        m_viewRowValid = false;
        endRemoveRows();
    }
    const std::vector<size_t> kept = m_sheet.Remove(drop);
    std::vector<int> newIndex(kept.empty() ? 0 : kept.back() + 1, -1);
    for (size_t i = 0; i < kept.size(); ++i)
        newIndex[kept[i]] = static_cast<int>(i);
    for (uint32_t& row : m_order)
        row = static_cast<uint32_t>(newIndex[row]);
    m_viewRowValid = false;
}

void CSiteTableModel::EndOfScan() {
    m_findingsDue = false;
    m_sheet.UpdateFindings();
    Reorder(FilteredSorted());
    MeasuresChanged();
}

void CSiteTableModel::Written(std::vector<std::pair<size_t, CSiteRow>>&& written,
                              const std::vector<size_t>& unchanged,
                              const std::vector<size_t>& conflicts) {
    const size_t before = m_sheet.EditedRows();
    std::vector<CSiteRow> rows;
    for (auto& [row, read] : written) {
        m_sheet.DiscardEdits(row);
        rows.push_back(std::move(read));
    }
    for (size_t row : unchanged)
        m_sheet.DiscardEdits(row);
    for (size_t row : conflicts)
        m_sheet.MarkChangedOnDisk(row);
    std::vector<size_t> changed = unchanged;
    changed.insert(changed.end(), conflicts.begin(), conflicts.end());
    for (const auto& entry : written)
        changed.push_back(entry.first);
    AddColumnsFor(rows);
    m_sheet.Add(std::move(rows));
    AfterEdits(before, changed);
}

// --- Order -----------------------------------------------------------------------------

std::vector<uint32_t> CSiteTableModel::FilteredSorted() const {
    std::vector<uint32_t> order;
    order.reserve(m_sheet.RowCount());
    for (size_t row = 0; row < m_sheet.RowCount(); ++row) {
        if (m_filter.Matches(m_sheet, row))
            order.push_back(static_cast<uint32_t>(row));
    }
    if (m_sortColumn >= 0 && m_sortColumn < columnCount())
        m_sheet.Sort(order, m_sortColumn, m_sortOrder == Qt::DescendingOrder);
    return order;
}

void CSiteTableModel::SetFilter(const CSiteFilter& filter) {
    if (filter == m_filter)
        return;
    m_filter = filter;
    Reorder(FilteredSorted());
}

void CSiteTableModel::sort(int column, Qt::SortOrder order) {
    m_sortColumn = column;
    m_sortOrder = order;
    std::vector<uint32_t> rows = m_order;
    if (column >= 0 && column < columnCount())
        m_sheet.Sort(rows, column, order == Qt::DescendingOrder);
    Reorder(std::move(rows));
}

void CSiteTableModel::Reorder(std::vector<uint32_t> order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList from = persistentIndexList();
    std::vector<uint32_t> pages;
    pages.reserve(static_cast<size_t>(from.size()));
    for (const QModelIndex& index : from)
        pages.push_back(m_order[static_cast<size_t>(index.row())]);
    m_order = std::move(order);
    m_viewRowValid = false;
    QModelIndexList to;
    to.reserve(from.size());
    for (qsizetype i = 0; i < from.size(); ++i) {
        const int at = ViewRowOf(pages[static_cast<size_t>(i)]);
        to.append(at < 0 ? QModelIndex() : index(at, from[i].column()));
    }
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int CSiteTableModel::ViewRowOf(size_t row) const {
    if (!m_viewRowValid) {
        m_viewRow.assign(m_sheet.RowCount(), -1);
        for (size_t i = 0; i < m_order.size(); ++i)
            m_viewRow[m_order[i]] = static_cast<int>(i);
        m_viewRowValid = true;
    }
    return row < m_viewRow.size() ? m_viewRow[row] : -1;
}

std::vector<size_t> CSiteTableModel::RowsOf(const QModelIndexList& indexes) const {
    std::vector<int> viewRows;
    for (const QModelIndex& index : indexes) {
        if (index.isValid() && index.model() == this)
            viewRows.push_back(index.row());
    }
    std::sort(viewRows.begin(), viewRows.end());
    viewRows.erase(std::unique(viewRows.begin(), viewRows.end()), viewRows.end());
    std::vector<size_t> rows;
    for (int at : viewRows)
        rows.push_back(RowAt(at));
    return rows;
}

void CSiteTableModel::RowChanged(size_t row) {
    const int at = ViewRowOf(row);
    if (at >= 0 && columnCount() > 0)
        emit dataChanged(index(at, 0), index(at, columnCount() - 1));
}

// --- Edits -------------------------------------------------------------------------------

QString CSiteTableModel::ChangedText(size_t pages) {
    if (pages == 0)
        return {};
    return pages == 1 ? QStringLiteral("1 page changed, not saved")
                      : QStringLiteral("%1 pages changed, not saved").arg(pages);
}

void CSiteTableModel::MeasuresChanged() {
    // Only the numbers and findings: a value cell being typed into keeps what
    // the user typed (a view puts a changed cell's data into its open editor).
    if (rowCount() == 0)
        return;
    for (int c = 0; c < columnCount(); ++c) {
        if (!m_sheet.Columns()[static_cast<size_t>(c)].IsEditable())
            emit dataChanged(index(0, c), index(rowCount() - 1, c));
    }
}

void CSiteTableModel::AfterEdits(size_t before, const std::vector<size_t>& rows) {
    // Lengths and duplicates may change on any page: compared once the edits
    // of this moment are in, not once per cell.
    if (!m_findingsDue) {
        m_findingsDue = true;
        QMetaObject::invokeMethod(this, &CSiteTableModel::UpdateFindings, Qt::QueuedConnection);
    }
    for (size_t row : rows)
        RowChanged(row);
    if (m_sheet.EditedRows() != before)
        emit changedPagesChanged(m_sheet.EditedRows());
}

void CSiteTableModel::UpdateFindings() {
    if (!m_findingsDue)
        return;
    m_findingsDue = false;
    m_sheet.UpdateFindings();
    MeasuresChanged();
}

bool CSiteTableModel::SetCell(size_t row, int column, const QString& text, QString& error) {
    const size_t before = m_sheet.EditedRows();
    if (!m_sheet.SetText(row, column, text, error))
        return false;
    AfterEdits(before, {row});
    return true;
}

size_t CSiteTableModel::SetCells(const std::vector<size_t>& rows, int column, const QString& text,
                                 QStringList& failures) {
    const size_t before = m_sheet.EditedRows();
    size_t set = 0;
    for (size_t row : rows) {
        QString error;
        if (m_sheet.SetText(row, column, text, error))
            ++set;
        else
            failures << FileNameFromBytes(m_sheet.Path(row)) + QStringLiteral(": ") + error;
    }
    AfterEdits(before, rows);
    return set;
}

size_t CSiteTableModel::ApplyTemplate(const std::vector<size_t>& rows,
                                      const CTemplateValues& values, QStringList& failures) {
    // The template's tags as columns, added first where the site has none.
    struct Tag {
        CSiteColumn column;
        QString value;
        int action;
    };
    // Variables are filled in per page by applying the template to the
    // pages; here they would be written as they stand.
    for (const TemplateVariable variable :
         {TemplateVariable::TITLE, TemplateVariable::DESCRIPTION, TemplateVariable::FILENAME,
          TemplateVariable::PATH, TemplateVariable::SITE}) {
        if (values.UsesVariable(variable)) {
            failures << QStringLiteral("The template uses variables ({title}, {path}, ...), which "
                                       "the site view cannot fill in: apply it to the folder "
                                       "instead. Nothing was changed.");
            return 0;
        }
    }
    std::vector<Tag> tags;
    if (values.m_bHasTitle) {
        CSiteColumn title;
        title.kind = CSiteColumn::TITLE;
        tags.push_back({title, values.m_codec.DecodeValue(values.m_strTitle, RefPlace::TEXT),
                        values.m_nTitleAction});
    }
    std::vector<CSiteColumn> metas;
    for (const CTemplateTag& tag : values.m_metas) {
        CSiteColumn column;
        column.name = values.m_codec.Decode(tag.name);
        column.httpEquiv = tag.httpEquiv;
        tags.push_back(
            {column, values.m_codec.DecodeValue(tag.value, RefPlace::ATTRIBUTE), tag.action});
        metas.push_back(column);
    }
    for (const CTemplateTag& tag : values.m_tags) {
        CSiteColumn column;
        switch (tag.kind) {
        case CTemplateTag::Kind::PROPERTY:
            column.kind = CSiteColumn::PROPERTY;
            break;
        case CTemplateTag::Kind::LINK:
            column.kind =
                tag.link == LinkKind::CANONICAL ? CSiteColumn::CANONICAL : CSiteColumn::ALTERNATE;
            break;
        case CTemplateTag::Kind::LANG:
            column.kind = CSiteColumn::LANG;
            break;
        case CTemplateTag::Kind::META:
            break;
        }
        if (column.kind == CSiteColumn::PROPERTY || column.kind == CSiteColumn::ALTERNATE)
            column.name = values.m_codec.Decode(tag.name);
        tags.push_back(
            {column, values.m_codec.DecodeValue(tag.value, RefPlace::ATTRIBUTE), tag.action});
        metas.push_back(column);
    }
    if (const int count = m_sheet.CountNewColumns(metas)) {
        beginInsertColumns({}, columnCount(), columnCount() + count - 1);
        m_sheet.AddValueColumns(metas);
        endInsertColumns();
    }
    const size_t before = m_sheet.EditedRows();
    size_t applied = 0;
    for (size_t row : rows) {
        const QString path = FileNameFromBytes(m_sheet.Path(row));
        if (!m_sheet.Audit(row).error.empty()) {
            failures << path + QStringLiteral(": the page could not be read");
            continue;
        }
        // Every value is merged and checked before any is set: a page takes
        // the whole template or none of it, as applying it to the page does.
        std::vector<std::pair<int, QString>> merged;
        std::vector<std::pair<int, QString>> current;
        QString error;
        for (const Tag& tag : tags) {
            const int column = m_sheet.ValueColumnOf(tag.column);
            auto shown = std::find_if(current.begin(), current.end(),
                                      [&](const auto& c) { return c.first == column; });
            const QString now = shown != current.end() ? shown->second : m_sheet.Text(row, column);
            QString out;
            switch (MergeTemplateValue(tag.action, now, tag.value, out)) {
            case TemplateMerge::KEEP:
                continue;
            case TemplateMerge::REMOVE:
                out.clear();
                break;
            case TemplateMerge::SET:
                break;
            }
            std::string bytes;
            if (!ControlCharacterIn(out).isEmpty() ||
                !ValueBytes(m_sheet.Values(row).codec, out, PlaceOf(tag.column), bytes, error)) {
                if (error.isEmpty())
                    error = QStringLiteral("a value holds a control character");
                error = tag.column.Header() + QStringLiteral(": ") + error;
                break;
            }
            merged.push_back({column, out});
            if (shown != current.end())
                shown->second = out;
            else
                current.push_back({column, out});
        }
        if (!error.isEmpty()) {
            failures << path + QStringLiteral(": ") + error;
            continue;
        }
        for (const auto& [column, text] : merged) {
            QString ignored;
            m_sheet.SetText(row, column, text, ignored);
        }
        ++applied;
    }
    AfterEdits(before, rows);
    return applied;
}

void CSiteTableModel::DiscardEdits(std::vector<size_t> rows) {
    const size_t before = m_sheet.EditedRows();
    if (rows.empty()) {
        for (size_t row = 0; row < m_sheet.RowCount(); ++row) {
            if (m_sheet.HasEdits(row) || m_sheet.State(row) != SiteRowState::CURRENT)
                rows.push_back(row);
        }
    }
    for (size_t row : rows)
        m_sheet.DiscardEdits(row);
    AfterEdits(before, rows);
}

// --- QAbstractItemModel -------------------------------------------------------------------

int CSiteTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_order.size());
}

int CSiteTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_sheet.ColumnCount();
}

QVariant CSiteTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const size_t row = RowAt(index.row());
    const int column = index.column();
    const CSiteViewColumn& col = m_sheet.Columns()[static_cast<size_t>(column)];
    switch (role) {
    case Qt::DisplayRole:
        if (col.IsNumber()) {
            const int number = m_sheet.Number(row, column);
            return number < 0 ? QVariant() : QVariant(number);
        }
        return OneLine(m_sheet.Text(row, column));
    case Qt::EditRole:
        return m_sheet.Text(row, column);
    case Qt::ToolTipRole:
        if (col.kind == CSiteViewColumn::PATH || col.IsNumber())
            return {};
        return m_sheet.Text(row, column);
    case Qt::TextAlignmentRole:
        if (col.IsNumber())
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    case Qt::AccessibleDescriptionRole:
        if (m_sheet.IsEdited(row, column))
            return QStringLiteral("changed, not saved");
        return {};
    case EditedRole:
        return m_sheet.IsEdited(row, column);
    case RowStateRole:
        return static_cast<int>(m_sheet.State(row));
    case RowEditedRole:
        return m_sheet.HasEdits(row);
    default:
        return {};
    }
}

QVariant CSiteTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const CSiteViewColumn& column = m_sheet.Columns()[static_cast<size_t>(section)];
    if (role == Qt::DisplayRole)
        return column.Label();
    if (role == Qt::ToolTipRole && column.kind == CSiteViewColumn::VALUE)
        return column.Key();
    return {};
}

Qt::ItemFlags CSiteTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return flags;
    const size_t row = RowAt(index.row());
    if (m_editable && m_sheet.Columns()[static_cast<size_t>(index.column())].IsEditable() &&
        m_sheet.Audit(row).error.empty())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool CSiteTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount())
        return false;
    const size_t row = RowAt(index.row());
    QString error;
    if (!SetCell(row, index.column(), value.toString(), error)) {
        emit editRefused(FileNameFromBytes(m_sheet.Path(row)) + QStringLiteral(": ") + error);
        return false;
    }
    return true;
}
