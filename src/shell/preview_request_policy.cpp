#include "shell/preview_request_policy.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>

namespace {

// The canonical form of path (links resolved); the clean absolute path for
// one that does not exist, which can load nothing anyway.
QString Canonical(const QString& path) {
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// Whether path lies in (or is) folder; both canonical.
bool IsUnder(const QString& path, const QString& folder) {
    if (folder.isEmpty())
        return false;
    if (folder == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == folder ||
           (path.startsWith(folder) && path.at(folder.size()) == QLatin1Char('/'));
}

// Extensions of files that servers turn into web pages; shown as HTML, as
// the page itself is, rather than as their source or a download.
constexpr const char* kPageExtensions[] = {"htm",  "html", "shtml", "xhtml", "php",
                                           "php3", "php4", "php5",  "phtml", "asp",
                                           "aspx", "jsp",  "cfm",   "mtpl"};

} // namespace

QUrl PreviewTreeUrl(const QString& file, bool sealed) {
    QUrl url;
    url.setScheme(QLatin1String(sealed ? PREVIEW_SEALED_SCHEME : PREVIEW_TREE_SCHEME));
    url.setPath(QDir::cleanPath(QFileInfo(file).absoluteFilePath()));
    return url;
}

QString PreviewTreeFile(const QUrl& url) {
    const QString scheme = url.scheme();
    if ((scheme != QLatin1String(PREVIEW_TREE_SCHEME) &&
         scheme != QLatin1String(PREVIEW_SEALED_SCHEME)) ||
        !url.host().isEmpty())
        return {};
    const QString path = url.path(QUrl::FullyDecoded);
    return path.startsWith(QLatin1Char('/')) ? QDir::cleanPath(path) : QString();
}

QByteArray PreviewContentType(const QString& file, bool isPage) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    bool page = isPage;
    for (const char* extension : kPageExtensions)
        page = page || suffix == QLatin1String(extension);
    if (page)
        return QByteArrayLiteral("text/html");
    return QMimeDatabase().mimeTypeForFile(file, QMimeDatabase::MatchExtension).name().toUtf8();
}

QString PreviewTreeRoot(const QString& pageFile, const QString& projectDir) {
    if (pageFile.isEmpty())
        return {};
    const QString page = Canonical(pageFile);
    const QString project = Canonical(projectDir);
    if (!projectDir.isEmpty() && IsUnder(page, project))
        return project;
    return QFileInfo(page).absolutePath();
}

CPreviewRequestPolicy::CPreviewRequestPolicy(const QUrl& page, const CPreviewAccess& access)
    : m_access(access) {
    m_strPage = Canonical(PreviewTreeFile(page));
    if (!m_strPage.isEmpty())
        m_strScheme = page.scheme();
    // A tree that does not exist holds nothing.
    if (!access.strRoot.isEmpty())
        m_strRoot = QFileInfo(access.strRoot).canonicalFilePath();
}

bool CPreviewRequestPolicy::Allows(const QUrl& url, PreviewResource kind) const {
    if (!url.isValid() || kind == PreviewResource::WebSocket)
        return false;
    const QString scheme = url.scheme();
    if (scheme == QLatin1String(PREVIEW_TREE_SCHEME) ||
        scheme == QLatin1String(PREVIEW_SEALED_SCHEME)) {
        const QString file = PreviewTreeFile(url);
        return scheme == m_strScheme && !file.isEmpty() && AllowsTreeFile(file, kind);
    }
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return m_access.bRemoteResources &&
               (kind == PreviewResource::Image || kind == PreviewResource::Style ||
                kind == PreviewResource::Font);
    // Content that the page holds itself reaches nothing outside it.
    if (scheme == QLatin1String("data") || scheme == QLatin1String("blob") ||
        scheme == QLatin1String("about"))
        return kind != PreviewResource::Other;
    return false;
}

bool CPreviewRequestPolicy::MayServe(const QUrl& url) const {
    const QString file = PreviewTreeFile(url);
    return !file.isEmpty() && url.scheme() == m_strScheme && (IsPage(file) || InTree(file));
}

bool CPreviewRequestPolicy::IsPage(const QString& file) const {
    return !m_strPage.isEmpty() && Canonical(file) == m_strPage;
}

bool CPreviewRequestPolicy::AllowsTreeFile(const QString& path, PreviewResource kind) const {
    switch (kind) {
    case PreviewResource::Page:
        return IsPage(path);
    case PreviewResource::Frame:
    case PreviewResource::Style:
    case PreviewResource::Font:
    case PreviewResource::Image:
    case PreviewResource::Media:
        return InTree(path);
    case PreviewResource::Script:
        return m_access.bScripts && InTree(path);
    case PreviewResource::WebSocket:
    case PreviewResource::Other:
        return false;
    }
    return false;
}

bool CPreviewRequestPolicy::InTree(const QString& path) const {
    const QString canonical = Canonical(path);
    if (!IsUnder(canonical, m_strRoot))
        return false;
    const QStringView inside = QStringView(canonical).mid(m_strRoot.size());
    for (const QStringView part : inside.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part.startsWith(QLatin1Char('.')))
            return false;
    }
    return true;
}
