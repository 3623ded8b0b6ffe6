// CSiteLinks: the addresses of a site's pages, to follow the links between
// them (canonical and alternate links) and to find the files they name (an
// og:image).
//
// A page's address is the site address followed by its path relative to the
// project folder ("https://example.org" + "/docs/a.html"). Without a site
// address the site's addresses are learned from the pages themselves: a host
// whose address is the canonical link of the page it names
// ("https://example.org/a.html" on a.html) is the site's.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <string>
#include <unordered_map>
#include <vector>

struct CSiteAddress {
    QString root; // the project folder; "" for the current folder
    QString site; // as NormalizeSiteAddress gives it; "" when unknown
    QString base; // the folder relative page paths start from; "" for the current folder
};

class CSiteLinks {
public:
    // paths: the pages (bytes, relative to the current folder or absolute);
    // canonicals: each page's canonical href as written, "" for none.
    CSiteLinks(const CSiteAddress& address, const std::vector<std::string>& paths,
               const std::vector<QString>& canonicals);

    // The address of page i.
    const QUrl& PageUrl(size_t i) const { return m_urls[i]; }
    // href, as written on page i, as an absolute address.
    QUrl Resolve(size_t i, const QString& href) const;
    // The page an address names (see Resolve), or npos when it names none of
    // the pages (or lies outside the site).
    size_t PageOf(const QUrl& url) const;
    // The file of the project an address names (a path relative to the page,
    // an address of the site, or a file: address), or "" when it names none
    // (an address of another host).
    QString LocalFile(const QUrl& url) const;

    static constexpr size_t npos = static_cast<size_t>(-1);

private:
    // The path of a site's address relative to the project folder
    // (percent-decoded, no leading "/"), or false when the address is not
    // the site's.
    bool SitePath(const QUrl& url, QString& path) const;

    QString m_root; // absolute, ending in "/"
    QUrl m_site;
    QStringList m_hosts; // learned: scheme://host[:port] of the site
    std::vector<QUrl> m_urls;
    std::unordered_map<std::string, size_t> m_byPath; // relative path (UTF-8) -> page
};
