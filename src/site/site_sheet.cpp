#include "site/site_sheet.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

#include "document/text_file.h"

namespace {

const CSiteFact kFacts[] = {
    {"title-length", "Title length", "title",
     [](const CAuditPage& page) {
         return page.error.empty() && page.hasTitle ? page.titleLength : -1;
     }},
    {"title-px", "Title width", "title",
     [](const CAuditPage& page) {
         return page.error.empty() && page.hasTitle && page.titlePx >= 0
                    ? static_cast<int>(std::lround(page.titlePx))
                    : -1;
     }},
    {"description-length", "Description length", "description",
     [](const CAuditPage& page) {
         return page.error.empty() && page.hasDescription ? page.descriptionLength : -1;
     }},
    {"description-px", "Description width", "description",
     [](const CAuditPage& page) {
         return page.error.empty() && page.hasDescription && page.descriptionPx >= 0
                    ? static_cast<int>(std::lround(page.descriptionPx))
                    : -1;
     }},
};

// The meta columns every site view has, whether or not a page has the tag.
const char* const kStandardMetas[] = {"description", "keywords", "robots"};
// And the columns of the search and social tags every view has, after them.
const char* const kStandardTags[] = {"link:canonical", "property:og:title",
                                     "property:og:description", "property:og:image", "html:lang"};

// The columns of a page's property tags and alternate links.
template <class Add>
void ForEachTagColumn(const CPageValues& values, const Add& add) {
    CSiteColumn column;
    column.kind = CSiteColumn::PROPERTY;
    for (const CPageMetaValue& property : values.properties) {
        column.name = property.name;
        add(column);
    }
    column.kind = CSiteColumn::ALTERNATE;
    for (const CPageMetaValue& alternate : values.alternates) {
        column.name = alternate.name;
        add(column);
    }
}

bool IsHtmlSpace(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\v') || c == QLatin1Char('\f') || c == QLatin1Char('\r');
}

// As a meta value is written: without ASCII white space around it.
QString TrimAscii(const QString& text) {
    qsizetype from = 0, to = text.size();
    while (from < to && IsHtmlSpace(text.at(from)))
        ++from;
    while (to > from && IsHtmlSpace(text.at(to - 1)))
        --to;
    return text.mid(from, to - from);
}

// A cell as a tag's value reads back once written: line breaks and tabs as
// spaces (as import compares a cell with the page).
QString AsRead(QString text) {
    return text.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '))
        .replace(QLatin1Char('\t'), QLatin1Char(' '));
}

} // namespace

RefPlace PlaceOf(const CSiteColumn& column) {
    return column.kind == CSiteColumn::TITLE ? RefPlace::TEXT : RefPlace::ATTRIBUTE;
}

namespace {

CSiteColumn Header(const char* header) {
    CSiteColumn column;
    QString ignored;
    CSiteColumn::FromHeader(QString::fromLatin1(header), column, ignored);
    return column;
}

} // namespace

std::span<const CSiteFact> SiteFacts() {
    return kFacts;
}

QString CSiteViewColumn::Key() const {
    switch (kind) {
    case PATH:
        return QStringLiteral("path");
    case FINDINGS:
        return QStringLiteral("findings");
    case FACT:
        return QString::fromLatin1(SiteFacts()[static_cast<size_t>(fact)].key);
    case VALUE:
        break;
    }
    return value.Header();
}

QString CSiteViewColumn::Label() const {
    switch (kind) {
    case PATH:
        return QStringLiteral("Path");
    case FINDINGS:
        return QStringLiteral("Findings");
    case FACT:
        return QString::fromLatin1(SiteFacts()[static_cast<size_t>(fact)].label);
    case VALUE:
        break;
    }
    switch (value.kind) {
    case CSiteColumn::TITLE:
        return QStringLiteral("Title");
    case CSiteColumn::CANONICAL:
        return QStringLiteral("Canonical");
    case CSiteColumn::LANG:
        return QStringLiteral("Language");
    case CSiteColumn::PROPERTY:
        return value.name;
    case CSiteColumn::ALTERNATE:
        return QStringLiteral("hreflang ") + value.name;
    default:
        break;
    }
    // The standard names as words; any other as the pages write it.
    for (const char* name : kStandardMetas) {
        if (!value.httpEquiv && value.name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
            QString label = QString::fromLatin1(name);
            label[0] = label[0].toUpper();
            return label;
        }
    }
    return value.Header();
}

CSiteSheet::CSiteSheet() {
    Clear();
}

void CSiteSheet::Clear() {
    m_columns.clear();
    m_valueKeys.clear();
    m_keyColumns.clear();
    m_metaColumns.clear();
    m_audit.clear();
    m_rows.clear();
    m_byPath.clear();
    m_edits.clear();
    m_columns.push_back({CSiteViewColumn::PATH, {}, -1});
    m_titleColumn = ColumnCount();
    AddValueColumn(Header("title"));
    for (const char* name : kStandardMetas) {
        if (QLatin1String(name) == QLatin1String("description"))
            m_descriptionColumn = ColumnCount();
        AddValueColumn(Header(name));
    }
    for (const char* header : kStandardTags)
        AddValueColumn(Header(header));
    m_columns.push_back({CSiteViewColumn::FINDINGS, {}, -1});
}

int CSiteSheet::AddValueColumn(const CSiteColumn& value) {
    const std::string key = value.Key();
    if (m_keyColumns.count(key))
        return 0;
    m_valueKeys.push_back(key);
    m_keyColumns.emplace(key, ColumnCount());
    m_columns.push_back({CSiteViewColumn::VALUE, value, -1});
    int added = 1;
    for (size_t f = 0; f < std::size(kFacts); ++f) {
        if (Header(kFacts[f].of).Key() == key) {
            m_columns.push_back({CSiteViewColumn::FACT, {}, static_cast<int>(f)});
            ++added;
        }
    }
    return added;
}

int CSiteSheet::MetaColumn(const QString& name) const {
    const auto cached = m_metaColumns.constFind(name);
    if (cached != m_metaColumns.constEnd())
        return *cached;
    CSiteColumn probe;
    probe.name = name;
    const std::string key = probe.Key();
    int column = -1;
    for (int c = 0; c < ColumnCount(); ++c) {
        const CSiteViewColumn& col = m_columns[static_cast<size_t>(c)];
        if (col.kind == CSiteViewColumn::VALUE && col.value.kind == CSiteColumn::META &&
            col.value.Key() == key) {
            column = c;
            break;
        }
    }
    if (column >= 0)
        m_metaColumns.insert(name, column);
    return column;
}

int CSiteSheet::ValueColumnOf(const CSiteColumn& value) const {
    if (value.kind == CSiteColumn::META)
        return MetaColumn(value.name);
    if (value.kind == CSiteColumn::TITLE)
        return m_titleColumn;
    const auto it = m_keyColumns.find(value.Key());
    return it == m_keyColumns.end() ? -1 : it->second;
}

std::vector<CSiteColumn> CSiteSheet::MissingColumns(const std::vector<CSiteRow>& rows) const {
    std::vector<CSiteColumn> missing;
    std::vector<std::string> keys;
    for (const CSiteRow& row : rows) {
        for (const CPageMetaValue& meta : row.values.metas) {
            if (MetaColumn(meta.name) >= 0)
                continue;
            CSiteColumn column;
            column.name = meta.name;
            column.httpEquiv = meta.httpEquiv;
            if (std::find(keys.begin(), keys.end(), column.Key()) != keys.end())
                continue;
            keys.push_back(column.Key());
            missing.push_back(column);
        }
        ForEachTagColumn(row.values, [&](const CSiteColumn& column) {
            const std::string key = column.Key();
            if (m_keyColumns.count(key) || std::find(keys.begin(), keys.end(), key) != keys.end())
                return;
            keys.push_back(key);
            missing.push_back(column);
        });
    }
    return missing;
}

int CSiteSheet::CountNewColumns(const std::vector<CSiteColumn>& values) const {
    int count = 0;
    std::vector<std::string> keys;
    for (const CSiteColumn& value : values) {
        const std::string key = value.Key();
        if (m_keyColumns.count(key) || std::find(keys.begin(), keys.end(), key) != keys.end())
            continue;
        keys.push_back(key);
        ++count;
        for (const CSiteFact& fact : kFacts)
            count += Header(fact.of).Key() == key;
    }
    return count;
}

int CSiteSheet::AddValueColumns(const std::vector<CSiteColumn>& values) {
    int added = 0;
    for (const CSiteColumn& value : values)
        added += AddValueColumn(value);
    return added;
}

std::optional<size_t> CSiteSheet::Find(const std::string& path) const {
    const auto it = m_byPath.find(path);
    if (it == m_byPath.end())
        return std::nullopt;
    return it->second;
}

CSiteSheet::CAdded CSiteSheet::Add(std::vector<CSiteRow>&& rows) {
    CAdded result;
    for (CSiteRow& row : rows) {
        for (const CPageMetaValue& meta : row.values.metas) {
            CSiteColumn column;
            column.name = meta.name;
            column.httpEquiv = meta.httpEquiv;
            result.columnsAdded += AddValueColumn(column);
        }
        ForEachTagColumn(row.values, [&](const CSiteColumn& column) {
            result.columnsAdded += AddValueColumn(column);
        });
        if (const std::optional<size_t> at = Find(row.audit.path)) {
            const size_t i = *at;
            result.replaced.push_back(i);
            if (HasEdits(i)) {
                // The edits were made against the text as read: they are not
                // written over another one.
                const bool same =
                    row.IsRead() && row.values.fingerprint == m_rows[i].values.fingerprint;
                m_rows[i].state = same ? SiteRowState::CURRENT : SiteRowState::CHANGED_ON_DISK;
                m_rows[i].stamp = row.stamp;
                continue;
            }
            m_audit[i] = std::move(row.audit);
            m_rows[i] = MakeRowData(std::move(row.values), row.stamp);
            m_rows[i].canonicalLinks =
                static_cast<uint8_t>(std::min(255, m_audit[i].canonicalLinks));
            OwnFindings(i);
            continue;
        }
        const size_t i = m_audit.size();
        m_byPath.emplace(row.audit.path, i);
        m_audit.push_back(std::move(row.audit));
        m_rows.push_back(MakeRowData(std::move(row.values), row.stamp));
        m_rows.back().canonicalLinks =
            static_cast<uint8_t>(std::min(255, m_audit[i].canonicalLinks));
        OwnFindings(i);
        result.added.push_back(i);
    }
    return result;
}

CSiteSheet::CRowData CSiteSheet::MakeRowData(CPageValues&& values, const PageStamp& stamp) const {
    CRowData data{std::move(values), stamp, SiteRowState::CURRENT, 0, {}};
    data.metaColumns.reserve(data.values.metas.size());
    for (const CPageMetaValue& meta : data.values.metas)
        data.metaColumns.push_back(static_cast<int32_t>(MetaColumn(meta.name)));
    return data;
}

bool CSiteSheet::MarkGone(size_t row) {
    if (!HasEdits(row))
        return true;
    m_rows[row].state = SiteRowState::GONE;
    return false;
}

std::vector<size_t> CSiteSheet::Remove(std::vector<size_t> rows) {
    std::vector<bool> drop(m_audit.size(), false);
    for (size_t row : rows)
        drop[row] = true;
    std::vector<size_t> kept;
    std::vector<CAuditPage> audit;
    std::vector<CRowData> data;
    std::unordered_map<uint32_t, std::vector<CCellEdit>> edits;
    for (size_t i = 0; i < m_audit.size(); ++i) {
        if (drop[i])
            continue;
        const auto edited = m_edits.find(static_cast<uint32_t>(i));
        if (edited != m_edits.end())
            edits.emplace(static_cast<uint32_t>(kept.size()), std::move(edited->second));
        kept.push_back(i);
        audit.push_back(std::move(m_audit[i]));
        data.push_back(std::move(m_rows[i]));
    }
    m_audit = std::move(audit);
    m_rows = std::move(data);
    m_edits = std::move(edits);
    Reindex();
    return kept;
}

void CSiteSheet::Reindex() {
    m_byPath.clear();
    for (size_t i = 0; i < m_audit.size(); ++i)
        m_byPath.emplace(m_audit[i].path, i);
}

int CSiteSheet::ColumnOf(const QString& key) const {
    for (int c = 0; c < ColumnCount(); ++c) {
        const CSiteViewColumn& column = m_columns[static_cast<size_t>(c)];
        if (column.kind != CSiteViewColumn::VALUE) {
            if (column.Key() == key)
                return c;
            continue;
        }
        // Value columns by what they compare by: "Description" is "description".
        CSiteColumn named;
        QString ignored;
        if (CSiteColumn::FromHeader(key, named, ignored) && named.kind != CSiteColumn::PATH &&
            named.kind != CSiteColumn::FINGERPRINT && named.Key() == column.value.Key())
            return c;
    }
    return -1;
}

std::vector<QString> CSiteSheet::MetaNames() const {
    std::vector<QString> names;
    for (const CSiteViewColumn& column : m_columns) {
        if (column.kind == CSiteViewColumn::VALUE && column.value.kind == CSiteColumn::META)
            names.push_back(column.value.name);
    }
    return names;
}

QString CSiteSheet::ReadValue(size_t row, int column, bool* present) const {
    const CPageValues& values = m_rows[row].values;
    const CSiteColumn& value = m_columns[static_cast<size_t>(column)].value;
    const auto found = [&](const CPageMetaValue* tag) {
        if (present)
            *present = tag != nullptr;
        return tag ? tag->content : QString();
    };
    switch (value.kind) {
    case CSiteColumn::TITLE:
        if (present)
            *present = values.hasTitle != 0;
        return values.title;
    case CSiteColumn::PROPERTY:
        return found(values.FindProperty(value.name));
    case CSiteColumn::ALTERNATE:
        return found(values.FindAlternate(value.name));
    case CSiteColumn::CANONICAL:
        if (present)
            *present = values.hasCanonical != 0;
        return values.canonical;
    case CSiteColumn::LANG:
        if (present)
            *present = values.hasLang != 0;
        return values.lang;
    default:
        break;
    }
    const std::vector<int32_t>& columns = m_rows[row].metaColumns;
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i] == column) {
            if (present)
                *present = true;
            return values.metas[i].content;
        }
    }
    if (present)
        *present = false;
    return {};
}

const CSiteSheet::CCellEdit* CSiteSheet::EditOf(size_t row, int column) const {
    const auto it = m_edits.find(static_cast<uint32_t>(row));
    if (it == m_edits.end())
        return nullptr;
    for (const CCellEdit& edit : it->second) {
        if (edit.column == column)
            return &edit;
    }
    return nullptr;
}

QString CSiteSheet::Text(size_t row, int column) const {
    const CSiteViewColumn& col = m_columns[static_cast<size_t>(column)];
    switch (col.kind) {
    case CSiteViewColumn::PATH:
        return FileNameFromBytes(m_audit[row].path);
    case CSiteViewColumn::FINDINGS:
        return FindingsText(row);
    case CSiteViewColumn::FACT: {
        const int number = Number(row, column);
        return number < 0 ? QString() : QString::number(number);
    }
    case CSiteViewColumn::VALUE:
        break;
    }
    if (const CCellEdit* edit = EditOf(row, column))
        return edit->text;
    return ReadValue(row, column);
}

int CSiteSheet::Number(size_t row, int column) const {
    const CSiteViewColumn& col = m_columns[static_cast<size_t>(column)];
    if (col.kind != CSiteViewColumn::FACT)
        return 0;
    return SiteFacts()[static_cast<size_t>(col.fact)].measure(m_audit[row]);
}

bool CSiteSheet::IsEdited(size_t row, int column) const {
    return EditOf(row, column) != nullptr;
}

bool CSiteSheet::Holds(size_t row, const QString& text) const {
    const auto in = [&](const QString& value) { return value.contains(text, Qt::CaseInsensitive); };
    if (in(FileNameFromBytes(m_audit[row].path)))
        return true;
    const auto edits = m_edits.find(static_cast<uint32_t>(row));
    const auto edited = [&](int column) {
        if (edits == m_edits.end())
            return false;
        for (const CCellEdit& edit : edits->second) {
            if (edit.column == column)
                return true;
        }
        return false;
    };
    if (edits != m_edits.end()) {
        for (const CCellEdit& edit : edits->second) {
            if (in(edit.text))
                return true;
        }
    }
    const CRowData& data = m_rows[row];
    if (!edited(m_titleColumn) && in(data.values.title))
        return true;
    for (size_t i = 0; i < data.values.metas.size(); ++i) {
        if (in(data.values.metas[i].content) && !edited(data.metaColumns[i]))
            return true;
    }
    // The search and social tags: their columns looked up only for a row
    // with edits, whose edited cells hold the text shown.
    const auto tagIn = [&](const QString& value, const CSiteColumn& column) {
        return in(value) && (edits == m_edits.end() || !edited(ValueColumnOf(column)));
    };
    bool hit = false;
    CSiteColumn tag;
    tag.kind = CSiteColumn::PROPERTY;
    for (const CPageMetaValue& property : data.values.properties) {
        tag.name = property.name;
        hit = hit || tagIn(property.content, tag);
    }
    tag.kind = CSiteColumn::ALTERNATE;
    for (const CPageMetaValue& alternate : data.values.alternates) {
        tag.name = alternate.name;
        hit = hit || tagIn(alternate.content, tag);
    }
    tag.name.clear();
    tag.kind = CSiteColumn::CANONICAL;
    hit = hit || (data.values.hasCanonical && tagIn(data.values.canonical, tag));
    tag.kind = CSiteColumn::LANG;
    hit = hit || (data.values.hasLang && tagIn(data.values.lang, tag));
    return hit;
}

bool CSiteSheet::SetText(size_t row, int column, const QString& text, QString& error) {
    if (column < 0 || column >= ColumnCount() ||
        !m_columns[static_cast<size_t>(column)].IsEditable()) {
        error = QStringLiteral("this column cannot be edited");
        return false;
    }
    const CSiteColumn& value = m_columns[static_cast<size_t>(column)].value;
    if (!m_audit[row].error.empty()) {
        error = QStringLiteral("the page could not be read: ") +
                QString::fromStdString(m_audit[row].error);
        return false;
    }
    const QString control = ControlCharacterIn(text);
    if (!control.isEmpty()) {
        error = QStringLiteral("the text holds the control character ") + control;
        return false;
    }
    std::string bytes;
    if (!ValueBytes(m_rows[row].values.codec, text, PlaceOf(value), bytes, error))
        return false;
    if (value.kind == CSiteColumn::LANG && !m_rows[row].values.hasHtmlTag &&
        !TrimAscii(text).isEmpty()) {
        error = QStringLiteral("the page has no <html> tag to carry its language");
        return false;
    }
    bool present = false;
    const QString asRead = ReadValue(row, column, &present);
    // What the page holds already is no edit: the title as it stands, a tag's
    // value as it reads back, and no text for a tag the page does not have.
    const bool same = value.kind == CSiteColumn::TITLE
                          ? text == asRead && (present || text.isEmpty())
                          : (present ? AsRead(text) == asRead : TrimAscii(text).isEmpty());
    auto& edits = m_edits[static_cast<uint32_t>(row)];
    const auto it = std::find_if(edits.begin(), edits.end(),
                                 [&](const CCellEdit& edit) { return edit.column == column; });
    if (same) {
        if (it != edits.end())
            edits.erase(it);
    } else if (it != edits.end()) {
        it->text = text;
    } else {
        edits.push_back({column, text});
    }
    if (edits.empty()) {
        m_edits.erase(static_cast<uint32_t>(row));
        // Back as read: a page changed meanwhile takes its new text at the
        // next reading.
    }
    Measure(row);
    return true;
}

void CSiteSheet::DiscardEdits(size_t row) {
    m_edits.erase(static_cast<uint32_t>(row));
    if (m_rows[row].state != SiteRowState::CURRENT) {
        // Read as it is now at the next reading.
        m_rows[row].state = SiteRowState::CURRENT;
        m_rows[row].stamp = PageStamp();
    }
    Measure(row);
}

void CSiteSheet::Measure(size_t row) {
    CAuditPage& audit = m_audit[row];
    const CPageValues& values = m_rows[row].values;
    if (!audit.error.empty())
        return;
    const QString titleBefore = audit.title, descriptionBefore = audit.description;
    if (const CCellEdit* edit = EditOf(row, m_titleColumn)) {
        audit.hasTitle = 1;
        audit.title = edit->text;
    } else {
        audit.hasTitle = values.hasTitle;
        audit.title = values.title;
    }
    audit.titleLength = ShownLength(audit.title);
    if (const CCellEdit* edit = EditOf(row, m_descriptionColumn)) {
        audit.description = TrimAscii(edit->text);
        audit.hasDescription = !audit.description.isEmpty();
    } else {
        bool present = false;
        audit.description = ReadValue(row, m_descriptionColumn, &present);
        audit.hasDescription = present;
    }
    audit.descriptionLength = ShownLength(audit.description);
    // Widths anew only for a text that changed: measuring costs.
    if (audit.title != titleBefore)
        audit.titlePx = -1;
    if (audit.description != descriptionBefore)
        audit.descriptionPx = -1;
    m_rules.Measure(audit);
    // The canonical link and Open Graph tags the findings look at.
    const auto tagText = [&](const char* header, bool* present) {
        const int column = ValueColumnOf(Header(header));
        if (const CCellEdit* edit = EditOf(row, column)) {
            const QString text = TrimAscii(AsRead(edit->text));
            *present = !text.isEmpty();
            return text;
        }
        return ReadValue(row, column, present);
    };
    bool present = false;
    audit.canonical = tagText("link:canonical", &present);
    audit.canonicalLinks = present ? std::max<int>(1, m_rows[row].canonicalLinks) : 0;
    audit.ogTitle = tagText("property:og:title", &present);
    audit.ogDescription = tagText("property:og:description", &present);
    audit.ogImage = tagText("property:og:image", &present);
}

std::vector<CSitePageChange> CSiteSheet::Changes(const std::vector<size_t>& rows) const {
    std::vector<size_t> wanted = rows;
    if (wanted.empty()) {
        for (const auto& [row, edits] : m_edits)
            wanted.push_back(row);
    }
    std::sort(wanted.begin(), wanted.end(),
              [&](size_t a, size_t b) { return m_audit[a].path < m_audit[b].path; });
    std::vector<CSitePageChange> changes;
    for (size_t row : wanted) {
        const auto it = m_edits.find(static_cast<uint32_t>(row));
        if (it == m_edits.end())
            continue;
        CSitePageChange change;
        change.row = row;
        change.path = m_audit[row].path;
        change.fingerprint = m_rows[row].values.fingerprint;
        for (const CCellEdit& edit : it->second)
            change.cells.push_back({m_columns[static_cast<size_t>(edit.column)].value, edit.text});
        changes.push_back(std::move(change));
    }
    return changes;
}

void CSiteSheet::Sort(std::vector<uint32_t>& rows, int column, bool descending) const {
    // Rows are sorted as small items: a key's first bytes, packed so that
    // comparing the numbers compares the texts, and the row. Most comparisons
    // end there, without reaching for the texts; ties compare them whole,
    // then the paths (which differ on every row, so the order is complete).
    struct Item {
        uint64_t key[4];
        uint32_t row;
    };
    const auto packBytes = [](const std::string& bytes, uint64_t* key, int words) {
        for (int w = 0; w < words; ++w) {
            uint64_t word = 0;
            for (int b = 0; b < 8; ++b) {
                const size_t at = static_cast<size_t>(w * 8 + b);
                word = word << 8 | (at < bytes.size() ? static_cast<unsigned char>(bytes[at]) : 0);
            }
            key[w] = word;
        }
    };
    const auto packText = [](const QString& text, uint64_t* key) {
        for (int w = 0; w < 4; ++w) {
            uint64_t word = 0;
            for (int u = 0; u < 4; ++u) {
                const qsizetype at = w * 4 + u;
                word = word << 16 | (at < text.size() ? text.at(at).unicode() : 0);
            }
            key[w] = word;
        }
    };
    const CSiteViewColumn& col = m_columns[static_cast<size_t>(column)];
    std::vector<QString> texts; // the folded texts of a value column, by row
    std::vector<Item> items(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        Item& item = items[i];
        const uint32_t row = item.row = rows[i];
        const std::string& path = m_audit[row].path;
        switch (col.kind) {
        case CSiteViewColumn::PATH:
            packBytes(path, item.key, 4);
            break;
        case CSiteViewColumn::FACT:
        case CSiteViewColumn::FINDINGS: {
            int64_t number = 0;
            if (col.kind == CSiteViewColumn::FACT) {
                number = Number(row, column);
            } else {
                const auto& findings = m_audit[row].findings;
                number = static_cast<int64_t>(findings.size()) * 64 +
                         (findings.empty() ? 0 : static_cast<int>(findings.front().code));
            }
            item.key[0] = static_cast<uint64_t>(number) ^ (uint64_t(1) << 63);
            packBytes(path, item.key + 1, 3);
            break;
        }
        case CSiteViewColumn::VALUE:
            if (texts.empty())
                texts.resize(m_audit.size());
            // Folded once, compared as they stand: without regard to case.
            texts[row] = Text(row, column).toCaseFolded();
            packText(texts[row], item.key);
            break;
        }
    }
    std::sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        for (int w = 0; w < 4; ++w) {
            if (a.key[w] != b.key[w])
                return a.key[w] < b.key[w];
        }
        if (!texts.empty()) {
            const int order = texts[a.row].compare(texts[b.row]);
            if (order != 0)
                return order < 0;
        }
        return m_audit[a.row].path < m_audit[b.row].path;
    });
    for (size_t i = 0; i < items.size(); ++i)
        rows[i] = items[i].row;
    if (descending)
        std::reverse(rows.begin(), rows.end());
}

void CSiteSheet::OwnFindings(size_t row) {
    m_rules.PageFindings(m_audit[row]);
}

void CSiteSheet::UpdateFindings() {
    m_rules.Finish(m_audit);
}

QString CSiteSheet::FindingsText(size_t row) const {
    QStringList parts;
    switch (m_rows[row].state) {
    case SiteRowState::CHANGED_ON_DISK:
        parts << QStringLiteral("changed on disk since it was read: its edits are not written");
        break;
    case SiteRowState::GONE:
        parts << QStringLiteral("gone from the disk");
        break;
    case SiteRowState::CURRENT:
        break;
    }
    const CAuditPage& page = m_audit[row];
    for (const CAuditFinding& finding : page.findings)
        parts << QString::fromStdString(m_rules.Message(m_audit, page, finding));
    return parts.join(QStringLiteral("; "));
}

bool CSiteSheet::HasFinding(size_t row, AuditCode code) const {
    const auto& findings = m_audit[row].findings;
    return std::any_of(findings.begin(), findings.end(),
                       [code](const CAuditFinding& f) { return f.code == code; });
}
