// CSiteLayout: how the site view lays out its columns (order, shown or hidden,
// widths) and sorts its rows, kept in the profile between runs.
//
// Columns are known by their keys (CSiteViewColumn::Key), not their places:
// the columns of a site depend on the meta names its pages have, and come in
// the order the pages are read. A column the layout does not name is shown
// when it is one of the view's standard columns (path, title, description,
// keywords, robots, the canonical link, their measures, the findings) and
// hidden otherwise (the Open Graph tags, the language, other tags).
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class IProfile;
struct CSiteViewColumn;

// Where the layout is kept.
inline constexpr char SITE_LAYOUT_SECTION[] = "SiteView";

struct CSiteLayout {
    struct Column {
        QString key;
        bool shown = true;
        int width = 0; // 0: the view's own
    };
    // The columns named, in the order they are shown.
    QList<Column> columns;
    QString sortKey = QStringLiteral("path");
    bool descending = false;

    static bool ShownByDefault(const CSiteViewColumn& column);
    // Whether column shows under this layout.
    bool IsShown(const CSiteViewColumn& column) const;
    // The entry of a key, or null.
    const Column* Find(const QString& key) const;

    void Read(const IProfile& profile);
    void Write(IProfile& profile) const;
};
