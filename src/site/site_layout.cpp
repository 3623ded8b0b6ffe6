#include "site/site_layout.h"

#include <QByteArray>
#include <QUrl>

#include "settings/profile.h"
#include "site/site_sheet.h"

namespace {

constexpr std::string_view kColumnsEntry = "Columns";
constexpr std::string_view kSortEntry = "SortColumn";
constexpr std::string_view kDescendingEntry = "SortDescending";

// Keys hold any text (meta names): kept percent-encoded, so that "," and ";"
// can separate them.
QString Encode(const QString& key) {
    return QString::fromLatin1(QUrl::toPercentEncoding(key));
}

QString Decode(const QString& text) {
    return QUrl::fromPercentEncoding(text.toLatin1());
}

} // namespace

bool CSiteLayout::ShownByDefault(const CSiteViewColumn& column) {
    if (column.kind != CSiteViewColumn::VALUE)
        return true;
    if (column.value.kind == CSiteColumn::TITLE || column.value.kind == CSiteColumn::CANONICAL)
        return true;
    if (column.value.kind != CSiteColumn::META || column.value.httpEquiv)
        return false;
    for (const char* name : {"description", "keywords", "robots"}) {
        if (column.value.name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

const CSiteLayout::Column* CSiteLayout::Find(const QString& key) const {
    for (const Column& column : columns) {
        if (column.key == key)
            return &column;
    }
    return nullptr;
}

bool CSiteLayout::IsShown(const CSiteViewColumn& column) const {
    const Column* entry = Find(column.Key());
    return entry ? entry->shown : ShownByDefault(column);
}

void CSiteLayout::Read(const IProfile& profile) {
    columns.clear();
    const QString text =
        QString::fromStdString(profile.GetProfileString(SITE_LAYOUT_SECTION, kColumnsEntry, ""));
    for (const QString& item : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QLatin1Char(','));
        if (parts.size() != 3 || parts[0].isEmpty())
            continue;
        columns.append({Decode(parts[0]), parts[1] != QLatin1String("0"), parts[2].toInt()});
    }
    sortKey = Decode(
        QString::fromStdString(profile.GetProfileString(SITE_LAYOUT_SECTION, kSortEntry, "path")));
    descending = profile.GetProfileInt(SITE_LAYOUT_SECTION, kDescendingEntry, 0) != 0;
}

void CSiteLayout::Write(IProfile& profile) const {
    QStringList items;
    for (const Column& column : columns) {
        items << QStringLiteral("%1,%2,%3")
                     .arg(Encode(column.key))
                     .arg(column.shown ? 1 : 0)
                     .arg(column.width);
    }
    profile.WriteProfileString(SITE_LAYOUT_SECTION, kColumnsEntry,
                               items.join(QLatin1Char(';')).toStdString());
    profile.WriteProfileString(SITE_LAYOUT_SECTION, kSortEntry, Encode(sortKey).toStdString());
    profile.WriteProfileInt(SITE_LAYOUT_SECTION, kDescendingEntry, descending ? 1 : 0);
}
