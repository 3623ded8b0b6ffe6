#include "site/site_columns.h"

#include <algorithm>
#include <optional>

#include "page/ascii_text.h"
#include "page/html_page.h"
#include "page/social_tags.h"
#include "snippet/snippet_meter.h"

namespace {

const QLatin1String kPath("path");
const QLatin1String kFingerprint("fingerprint");
const QLatin1String kTitle("title");
const QLatin1String kHttpEquiv("http-equiv:");
const QLatin1String kName("name:");
const QLatin1String kTitlePx("title_px");
const QLatin1String kDescriptionPx("description_px");
const QLatin1String kProperty("property:");
const QLatin1String kLink("link:");
const QLatin1String kCanonical("link:canonical");
const QLatin1String kAlternate("link:alternate:");
const QLatin1String kLang("html:lang");

bool Is(const QString& text, QLatin1String name) {
    return text.compare(name, Qt::CaseInsensitive) == 0;
}

bool IsReserved(const QString& name) {
    return Is(name, kPath) || Is(name, kFingerprint) || Is(name, kTitle) || Is(name, kTitlePx) ||
           Is(name, kDescriptionPx) || Is(name, kLang) ||
           name.startsWith(kHttpEquiv, Qt::CaseInsensitive) ||
           name.startsWith(kName, Qt::CaseInsensitive) ||
           name.startsWith(kProperty, Qt::CaseInsensitive) ||
           name.startsWith(kLink, Qt::CaseInsensitive);
}

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace

bool CSiteColumn::IsWritten() const {
    return kind != PATH && kind != FINGERPRINT && kind != TITLE_PX && kind != DESCRIPTION_PX;
}

QString CSiteColumn::Header() const {
    switch (kind) {
    case PATH:
        return kPath;
    case FINGERPRINT:
        return kFingerprint;
    case TITLE:
        return kTitle;
    case TITLE_PX:
        return kTitlePx;
    case DESCRIPTION_PX:
        return kDescriptionPx;
    case PROPERTY:
        return kProperty + name;
    case CANONICAL:
        return kCanonical;
    case ALTERNATE:
        return kAlternate + name;
    case LANG:
        return kLang;
    case META:
        break;
    }
    if (httpEquiv)
        return kHttpEquiv + name;
    return IsReserved(name) ? kName + name : name;
}

int CSiteColumn::FromHeader(const QString& cell, CSiteColumn& column, QString& error) {
    column = CSiteColumn();
    const QString text = cell.trimmed();
    if (text.compare(kPath, Qt::CaseInsensitive) == 0)
        column.kind = PATH;
    else if (text.compare(kFingerprint, Qt::CaseInsensitive) == 0)
        column.kind = FINGERPRINT;
    else if (Is(text, kTitle))
        column.kind = TITLE;
    else if (Is(text, kTitlePx))
        column.kind = TITLE_PX;
    else if (Is(text, kDescriptionPx))
        column.kind = DESCRIPTION_PX;
    else if (Is(text, kCanonical))
        column.kind = CANONICAL;
    else if (Is(text, kLang))
        column.kind = LANG;
    else if (text.startsWith(kAlternate, Qt::CaseInsensitive)) {
        column.kind = ALTERNATE;
        column.name = text.mid(kAlternate.size()).trimmed();
    } else if (text.startsWith(kLink, Qt::CaseInsensitive)) {
        error = QStringLiteral("the column '%1' names no link: 'link:canonical' and "
                               "'link:alternate:LANG' are")
                    .arg(text);
        return 0;
    } else if (text.startsWith(kProperty, Qt::CaseInsensitive)) {
        column.kind = PROPERTY;
        column.name = text.mid(kProperty.size()).trimmed();
    } else if (text.startsWith(kHttpEquiv, Qt::CaseInsensitive)) {
        column.name = text.mid(kHttpEquiv.size()).trimmed();
        column.httpEquiv = 1;
    } else if (text.startsWith(kName, Qt::CaseInsensitive)) {
        column.name = text.mid(kName.size()).trimmed();
    } else {
        column.name = text;
    }
    if ((column.kind == META || column.kind == PROPERTY || column.kind == ALTERNATE) &&
        column.name.isEmpty()) {
        error = text.isEmpty() ? QStringLiteral("a column without a name")
                               : QStringLiteral("the column '%1' names no tag").arg(text);
        return 0;
    }
    return 1;
}

std::string CSiteColumn::Key() const {
    switch (kind) {
    case META:
        return "meta:" + MetaTextKey(name);
    case PROPERTY:
        return "property:" + MetaTextKey(name);
    case ALTERNATE:
        return "alternate:" + name.trimmed().toLower().toStdString();
    default:
        return std::to_string(kind);
    }
}

int CSiteColumns::Add(const CSiteColumn& column, QString& error) {
    const std::string key = column.Key();
    if (std::find(m_keys.begin(), m_keys.end(), key) != m_keys.end()) {
        error = QStringLiteral("the column '%1' is named twice").arg(column.Header());
        return 0;
    }
    if (column.kind == CSiteColumn::PATH)
        m_path = static_cast<int>(m_columns.size());
    if (column.kind == CSiteColumn::FINGERPRINT)
        m_fingerprint = static_cast<int>(m_columns.size());
    m_columns.push_back(column);
    m_keys.push_back(key);
    m_nameKeys.push_back(MetaTextKey(column.name));
    return 1;
}

int CSiteColumns::SetFields(const QStringList& fields, QString& error) {
    *this = CSiteColumns();
    CSiteColumn column;
    column.kind = CSiteColumn::PATH;
    Add(column, error);
    column.kind = CSiteColumn::FINGERPRINT;
    Add(column, error);
    if (fields.isEmpty()) {
        for (const auto kind :
             {CSiteColumn::TITLE, CSiteColumn::TITLE_PX, CSiteColumn::DESCRIPTION_PX}) {
            column.kind = kind;
            Add(column, error);
        }
        m_addMetas = true;
        return 1;
    }
    for (const QString& field : fields) {
        if (!CSiteColumn::FromHeader(field, column, error))
            return 0;
        if (column.kind == CSiteColumn::PATH || column.kind == CSiteColumn::FINGERPRINT) {
            error = QStringLiteral("'%1' is not a field: 'path' and 'fingerprint' always come "
                                   "first")
                        .arg(column.Header());
            return 0;
        }
        if (!Add(column, error))
            return 0;
    }
    return 1;
}

void CSiteColumns::AddMetas(const CPageValues& page) {
    if (!m_addMetas)
        return;
    QString ignored;
    // key: the column's key, when the page has it made already.
    const auto add = [&](CSiteColumn::Kind kind, const QString& name, int httpEquiv,
                         std::string key = {}) {
        CSiteColumn column;
        column.kind = kind;
        column.name = name;
        column.httpEquiv = httpEquiv;
        if (key.empty())
            key = column.Key();
        if (std::find(m_keys.begin(), m_keys.end(), key) == m_keys.end())
            Add(column, ignored);
    };
    for (const CPageMetaValue& meta : page.metas)
        add(CSiteColumn::META, meta.name, meta.httpEquiv,
            meta.key.empty() ? std::string() : "meta:" + meta.key);
    for (const CPageMetaValue& property : page.properties)
        add(CSiteColumn::PROPERTY, property.name, 0,
            property.key.empty() ? std::string() : "property:" + property.key);
    if (page.hasCanonical)
        add(CSiteColumn::CANONICAL, {}, 0);
    for (const CPageMetaValue& alternate : page.alternates) {
        if (!alternate.name.trimmed().isEmpty())
            add(CSiteColumn::ALTERNATE, alternate.name.trimmed(), 0);
    }
    if (page.hasLang)
        add(CSiteColumn::LANG, {}, 0);
}

std::vector<QString> CSiteColumns::MetaNames() const {
    std::vector<QString> names;
    for (const CSiteColumn& column : m_columns) {
        if (column.kind == CSiteColumn::META)
            names.push_back(column.name);
    }
    return names;
}

int CSiteColumns::ReadHeader(const std::vector<std::string>& cells, QString& error) {
    *this = CSiteColumns();
    for (const std::string& cell : cells) {
        CSiteColumn column;
        if (!CSiteColumn::FromHeader(QString::fromUtf8(cell), column, error) || !Add(column, error))
            return 0;
    }
    if (m_path < 0) {
        error = QStringLiteral("no 'path' column in the header row");
        return 0;
    }
    return 1;
}

std::vector<std::string> CSiteColumns::HeaderCells() const {
    std::vector<std::string> cells;
    for (const CSiteColumn& column : m_columns)
        cells.push_back(Utf8(column.Header()));
    return cells;
}

bool CSiteColumns::Has(CSiteColumn::Kind kind) const {
    return std::any_of(m_columns.begin(), m_columns.end(),
                       [kind](const CSiteColumn& column) { return column.kind == kind; });
}

bool CSiteColumns::HasWidths() const {
    return Has(CSiteColumn::TITLE_PX) || Has(CSiteColumn::DESCRIPTION_PX);
}

CSiteColumns::CWidthCells CSiteColumns::MeasureWidths(const CPageValues& page,
                                                      const ITextMeasurer& measurer) const {
    CWidthCells cells;
    const auto measure = [&](SnippetPart part, const QString& text) {
        return std::to_string(
            MeasureSnippet(measurer, m_limits, part, SnippetDevice::DESKTOP, text).RoundedPx());
    };
    if (page.hasTitle && Has(CSiteColumn::TITLE_PX))
        cells.title = measure(SnippetPart::TITLE, page.title);
    const CPageMetaValue* description = page.FindMeta(QStringLiteral("description"));
    if (description && Has(CSiteColumn::DESCRIPTION_PX))
        cells.description = measure(SnippetPart::DESCRIPTION, description->content);
    return cells;
}

std::vector<std::string> CSiteColumns::RowCells(const std::string& path, const CPageValues& page,
                                                const CWidthCells* widths) const {
    std::vector<std::string> cells;
    std::optional<CWidthCells> measured;
    const auto contentOf = [](const CPageMetaValue* tag) {
        return tag ? Utf8(tag->content) : std::string();
    };
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const CSiteColumn& column = m_columns[i];
        switch (column.kind) {
        case CSiteColumn::PATH:
            cells.push_back(path);
            break;
        case CSiteColumn::FINGERPRINT:
            cells.push_back(page.fingerprint);
            break;
        case CSiteColumn::TITLE:
            cells.push_back(Utf8(page.title));
            break;
        case CSiteColumn::META:
            cells.push_back(contentOf(page.FindMetaByKey(m_nameKeys[i])));
            break;
        case CSiteColumn::TITLE_PX:
        case CSiteColumn::DESCRIPTION_PX: {
            if (!widths && m_measurer)
                widths = &measured.emplace(MeasureWidths(page, *m_measurer));
            const bool title = column.kind == CSiteColumn::TITLE_PX;
            cells.push_back(!widths ? std::string() : title ? widths->title : widths->description);
            break;
        }
        case CSiteColumn::PROPERTY:
            cells.push_back(contentOf(page.FindPropertyByKey(m_nameKeys[i])));
            break;
        case CSiteColumn::CANONICAL:
            cells.push_back(Utf8(page.canonical));
            break;
        case CSiteColumn::ALTERNATE:
            cells.push_back(contentOf(page.FindAlternate(column.name)));
            break;
        case CSiteColumn::LANG:
            cells.push_back(Utf8(page.lang));
            break;
        }
    }
    return cells;
}

QString ControlCharacterIn(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != '\t' && u != '\r' && u != '\n') || u == 0x7F)
            return QStringLiteral("U+%1").arg(unsigned(u), 4, 16, QLatin1Char('0')).toUpper();
    }
    return {};
}

namespace {

// Writes a property, link or language cell into page when its text differs
// from the page's value: 1 when it was written or matched, -1 with error set
// when it cannot be written.
template <class Encode, class EncodeName>
int ImportTagCell(CHtmlPage& page, const CPageValues& values, const CSiteColumn& column,
                  const QString& cell, const Encode& encode, const EncodeName& encodeName,
                  QStringList& changed, QString& error) {
    const CPageMetaValue* present = nullptr;
    QString current;
    bool has = false;
    switch (column.kind) {
    case CSiteColumn::PROPERTY:
        present = values.FindProperty(column.name);
        break;
    case CSiteColumn::ALTERNATE:
        present = values.FindAlternate(column.name);
        break;
    case CSiteColumn::CANONICAL:
        has = values.hasCanonical;
        current = values.canonical;
        break;
    default:
        has = values.hasLang;
        current = values.lang;
        break;
    }
    if (present) {
        has = true;
        current = present->content;
    }
    QString asRead = cell;
    asRead.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '))
        .replace(QLatin1Char('\t'), QLatin1Char(' '));
    if (asRead == current && (has || cell.trimmed().isEmpty()))
        return 1;
    std::string name, value;
    if (!column.name.isEmpty() && !encodeName(column.name, name, column))
        return -1;
    if (!encode(cell, value, column))
        return -1;
    const std::string_view trimmed = TrimAscii(value);
    const unsigned before = page.GetChangeCount();
    int done = 1;
    switch (column.kind) {
    case CSiteColumn::PROPERTY:
        done = trimmed.empty() ? page.RemoveProperty(name) : page.SetProperty(name, trimmed);
        break;
    case CSiteColumn::CANONICAL:
        done = trimmed.empty() ? page.RemoveLink(LinkKind::CANONICAL)
                               : page.SetLink(LinkKind::CANONICAL, {}, trimmed);
        break;
    case CSiteColumn::ALTERNATE:
        done = trimmed.empty() ? page.RemoveLink(LinkKind::ALTERNATE, name)
                               : page.SetLink(LinkKind::ALTERNATE, name, trimmed);
        break;
    default:
        done = page.SetHtmlLang(trimmed);
        break;
    }
    if (!done) {
        error = column.Header() + ": " +
                (column.kind == CSiteColumn::LANG
                     ? QStringLiteral("the page has no <html> tag to carry its language")
                     : QStringLiteral("no place for the tag (no head and no meta tag)"));
        return -1;
    }
    if (page.GetChangeCount() != before)
        changed << column.Header();
    return 1;
}

} // namespace

int ImportRow(CHtmlPage& page, const CPageValues& values, const CSiteColumns& columns,
              const std::vector<std::string>& cells, QStringList& changed, QString& error) {
    changed.clear();
    // A value written into the page: never a control character, which would
    // make the page unreadable as text to every tool.
    const auto encode = [&](const QString& text, std::string& bytes, const CSiteColumn& column) {
        const RefPlace place =
            column.kind == CSiteColumn::TITLE ? RefPlace::TEXT : RefPlace::ATTRIBUTE;
        const QString control = ControlCharacterIn(text);
        if (!control.isEmpty()) {
            error = column.Header() + ": the cell holds the control character " + control;
            return false;
        }
        if (ValueBytes(values.codec, text, place, bytes, error))
            return true;
        error = column.Header() + ": " + error;
        return false;
    };
    const auto encodeName = [&](const QString& text, std::string& bytes,
                                const CSiteColumn& column) {
        if (values.codec.Encode(text, bytes, error))
            return true;
        error = column.Header() + ": " + error;
        return false;
    };
    for (size_t i = 0; i < columns.Columns().size() && i < cells.size(); ++i) {
        const CSiteColumn& column = columns.Columns()[i];
        const QString cell = QString::fromUtf8(cells[i]);
        if (column.kind == CSiteColumn::TITLE) {
            if (cell == values.title)
                continue;
            std::string bytes;
            if (!encode(cell, bytes, column))
                return 0;
            const unsigned before = page.GetChangeCount();
            if (!page.SetTitle(bytes)) {
                error = QStringLiteral("no place for a title (no title tag and no </head>)");
                return 0;
            }
            if (page.GetChangeCount() != before)
                changed << column.Header();
            continue;
        }
        if (column.kind == CSiteColumn::PROPERTY || column.kind == CSiteColumn::CANONICAL ||
            column.kind == CSiteColumn::ALTERNATE || column.kind == CSiteColumn::LANG) {
            const int written =
                ImportTagCell(page, values, column, cell, encode, encodeName, changed, error);
            if (written < 0)
                return 0;
            continue;
        }
        if (column.kind != CSiteColumn::META)
            continue;
        // A tag's value reads with its line breaks and tabs as spaces: a cell
        // that differs only there is what the page holds.
        const CPageMetaValue* meta = values.FindMeta(column.name);
        QString asRead = cell;
        asRead.replace(QLatin1Char('\r'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '))
            .replace(QLatin1Char('\t'), QLatin1Char(' '));
        if (asRead == (meta ? meta->content : QString()))
            continue;
        std::string name, value;
        if (!encodeName(column.name, name, column) || !encode(cell, value, column))
            return 0;
        // As "tsle-cli set": no white space around a value, and a value of
        // white space only removes the tag.
        const std::string_view trimmed = TrimAscii(value);
        const unsigned before = page.GetChangeCount();
        if (trimmed.empty()) {
            page.RemoveMeta(name);
        } else if (!page.SetMeta(name, trimmed, column.httpEquiv)) {
            error = QStringLiteral("no place for meta tags (no head and no meta tag)");
            return 0;
        }
        if (page.GetChangeCount() != before)
            changed << column.Header();
    }
    return 1;
}
