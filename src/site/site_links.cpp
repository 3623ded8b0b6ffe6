#include "site/site_links.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "document/template_variables.h"

namespace {

// Where pages live when the site's address is not known: a host that no
// real address has.
const char kStandIn[] = "https://site.invalid";

QString Origin(const QUrl& url) {
    return url
        .adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment |
                  QUrl::RemoveUserInfo)
        .toString()
        .toLower();
}

bool IsIndexName(const QString& name) {
    return name.startsWith(QLatin1String("index."), Qt::CaseInsensitive);
}

} // namespace

CSiteLinks::CSiteLinks(const CSiteAddress& address, const std::vector<std::string>& paths,
                       const std::vector<QString>& canonicals) {
    m_root = QDir::cleanPath(
        QFileInfo(address.root.isEmpty() ? QDir::currentPath() : address.root).absoluteFilePath());
    if (!m_root.endsWith('/'))
        m_root += '/';
    m_site = QUrl(address.site.isEmpty() ? QString::fromLatin1(kStandIn) : address.site);
    m_urls.reserve(paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        QString file = QFile::decodeName(QByteArray::fromStdString(paths[i]));
        if (!address.base.isEmpty() && QFileInfo(file).isRelative())
            file = QDir(address.base).filePath(file);
        QString relative;
        if (!ProjectRelativeUrlPath(file, m_root, relative)) {
            m_urls.emplace_back(); // outside the project: no address
            continue;
        }
        QString base = m_site.toString();
        m_urls.push_back(QUrl(base + '/' + relative));
        const QString decoded = QUrl::fromPercentEncoding(relative.toUtf8());
        m_byPath.emplace(decoded.toStdString(), i);
        // A folder's index page is also the folder's address.
        const qsizetype slash = decoded.lastIndexOf('/');
        if (IsIndexName(decoded.mid(slash + 1)))
            m_byPath.emplace(decoded.left(slash + 1).toStdString(), i);
    }
    if (!address.site.isEmpty())
        return;
    // Learn the site's hosts from the canonical links that name their own page.
    for (size_t i = 0; i < paths.size() && i < canonicals.size(); ++i) {
        const QUrl url = QUrl(canonicals[i].trimmed());
        if (url.isRelative() || !url.isValid() || m_urls[i].isEmpty())
            continue;
        const QString path = QUrl::fromPercentEncoding(url.path().toUtf8()).mid(1);
        const auto it = m_byPath.find(path.toStdString());
        if (it != m_byPath.end() && it->second == i && !m_hosts.contains(Origin(url)))
            m_hosts.push_back(Origin(url));
    }
}

QUrl CSiteLinks::Resolve(size_t i, const QString& href) const {
    const QUrl url(href.trimmed());
    if (i < m_urls.size() && !m_urls[i].isEmpty())
        return m_urls[i].resolved(url);
    return url;
}

bool CSiteLinks::SitePath(const QUrl& url, QString& path) const {
    const QString origin = Origin(url);
    if (origin != Origin(m_site) && !m_hosts.contains(origin))
        return false;
    QString sitePath = m_site.path();
    if (m_hosts.contains(origin))
        sitePath.clear(); // learned hosts serve the project at their root
    const QString urlPath = url.path(QUrl::FullyEncoded);
    if (!sitePath.isEmpty() && !urlPath.startsWith(sitePath + '/'))
        return false;
    path = QUrl::fromPercentEncoding(urlPath.mid(sitePath.size()).toUtf8());
    while (path.startsWith('/'))
        path.remove(0, 1);
    return true;
}

size_t CSiteLinks::PageOf(const QUrl& url) const {
    QString path;
    if (!url.isValid() || !SitePath(url, path))
        return npos;
    const auto it = m_byPath.find(path.toStdString());
    return it == m_byPath.end() ? npos : it->second;
}

QString CSiteLinks::LocalFile(const QUrl& url) const {
    if (url.isLocalFile())
        return url.toLocalFile();
    QString path;
    if (!url.isValid() || !SitePath(url, path))
        return {};
    return QDir::cleanPath(m_root + path);
}
