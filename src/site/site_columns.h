// The columns of a site table (tsle-cli export and import).
//
// A table has the columns "path" (as the page was named), "fingerprint" (of
// the page as read, see PageFingerprint), "title", "title_px" and
// "description_px" (the widths of the title and the description in pixels in
// the search results' font, see CSearchFont; read only), and one column per
// tag:
//   - a meta tag, headed by its name; a tag written with http-equiv is headed
//     "http-equiv:NAME", so that an import writes it the same way;
//   - a property tag (Open Graph): "property:og:title";
//   - the canonical link: "link:canonical"; an alternate link of an hreflang:
//     "link:alternate:fr";
//   - the language of the <html> tag: "html:lang".
// A meta name that would read as another column ("title", "path",
// "fingerprint", "title_px", "description_px", "html:lang", or one that
// starts with "http-equiv:", "name:", "property:" or "link:") is headed
// "name:NAME". Column names are compared without regard to ASCII case, as
// meta names are.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "settings/search_limits.h"
#include "site/site_page.h"
#include "snippet/text_measurer.h"

class CHtmlPage;

struct CSiteColumn {
    enum Kind {
        PATH,
        FINGERPRINT,
        TITLE,
        META,
        TITLE_PX,
        DESCRIPTION_PX,
        PROPERTY,
        CANONICAL,
        ALTERNATE,
        LANG
    };
    Kind kind = META;
    QString name; // META: the tag's name; PROPERTY: the property; ALTERNATE: the hreflang
    int httpEquiv = 0;

    // Whether an import writes the column into pages (the widths, path and
    // fingerprint it only reads).
    bool IsWritten() const;

    // The column's header cell.
    QString Header() const;
    // The column a header cell names. Returns 1, or 0 with error set (an
    // empty name).
    static int FromHeader(const QString& cell, CSiteColumn& column, QString& error);
    // What the column compares by: its kind, and its name's key.
    std::string Key() const;
};

class CSiteColumns {
public:
    // The columns of an export: path, fingerprint, then the fields given in
    // header form ("title", "description", "http-equiv:Refresh",
    // "property:og:title", "link:canonical"), or when none are given the
    // title and the widths (and the tag columns added later with AddMetas).
    // Returns 1, or 0 with error set (a field named twice, "path" or
    // "fingerprint" among the fields, an empty name).
    int SetFields(const QStringList& fields, QString& error);
    // Adds a column for each meta name, property, link and the language of
    // the page that has none yet (the first page met with a name decides its
    // header).
    void AddMetas(const CPageValues& page);
    // What RowCells measures the widths with (null: the width cells stay
    // empty), at the limits' font sizes.
    void SetMeasurer(const ITextMeasurer* measurer, const CSearchLimits& limits) {
        m_measurer = measurer;
        m_limits = limits;
    }
    const ITextMeasurer* Measurer() const { return m_measurer; }
    // Whether the columns hold a width (title_px, description_px).
    bool HasWidths() const;
    // The width cells of a page measured with measurer at the limits' sizes,
    // "" where the page has no such text. Safe on any thread while the
    // columns are not changed, so that pages can be measured as they are read.
    struct CWidthCells {
        std::string title, description;
    };
    CWidthCells MeasureWidths(const CPageValues& page, const ITextMeasurer& measurer) const;
    // The meta names the fields name, to look up in each page.
    std::vector<QString> MetaNames() const;

    // The columns a header row names. Returns 1, or 0 with error set (no
    // "path" column, a column named twice, an empty header cell).
    int ReadHeader(const std::vector<std::string>& cells, QString& error);

    const std::vector<CSiteColumn>& Columns() const { return m_columns; }
    int PathColumn() const { return m_path; }
    int FingerprintColumn() const { return m_fingerprint; }

    // The header row and a page's row of an export, as UTF-8 cells (the path
    // as the bytes it was given).
    std::vector<std::string> HeaderCells() const;
    // widths: the page's width cells when measured already (MeasureWidths).
    // Safe on any thread while the columns are not changed.
    std::vector<std::string> RowCells(const std::string& path, const CPageValues& page,
                                      const CWidthCells* widths = nullptr) const;

private:
    int Add(const CSiteColumn& column, QString& error);
    bool Has(CSiteColumn::Kind kind) const;

    std::vector<CSiteColumn> m_columns;
    std::vector<std::string> m_keys;
    std::vector<std::string> m_nameKeys; // MetaTextKey of each column's name
    int m_path = -1;
    int m_fingerprint = -1;
    bool m_addMetas = false;
    const ITextMeasurer* m_measurer = nullptr;
    CSearchLimits m_limits;
};

// "U+0001" for the first control character of text other than a tab, a
// carriage return and a line feed (DEL included), or "" when it has none.
QString ControlCharacterIn(const QString& text);

// Brings page (whose values as read are values) to the cells of a row under
// columns: each title, tag or language cell whose text differs from the
// page's value is written, an empty one (or one of white space only) removing
// the tag (or the lang attribute), a filled one setting it as "tsle-cli set"
// does. Text is encoded into the
// page's encoding. Returns 1 with changed naming the headers of the columns
// written (none when every cell matched); or 0 with error set (a control
// character or a character the page's encoding cannot hold in a cell to be
// written, no place for the title) and the page to be dropped.
int ImportRow(CHtmlPage& page, const CPageValues& values, const CSiteColumns& columns,
              const std::vector<std::string>& cells, QStringList& changed, QString& error);
