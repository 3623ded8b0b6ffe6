// CPreviewRequestPolicy: what a page shown in the web page preview may load.
//
// A page's content is untrusted: webmasters open pages they did not write.
// The preview shows page files under schemes of its own rather than as file:
// URLs ("tsle-page:/folder/page.html"), so that no file: URL loads at all. A
// page whose scripts run is shown under a sealed scheme, where every
// document gets an origin of its own that matches nothing: its scripts see
// neither the files the page shows (its frames, its images) nor any other.
// (Frames there cannot navigate each other, which a frame set without
// scripts still does, its documents sharing one origin.) The preview lets a
// page load
// - itself (the main frame's file);
// - frames, style sheets, fonts, images and media from its folder tree: the
//   project folder when the page lies in it, else the page's own folder,
//   hidden files and folders (".git", ".env") left out, symbolic links
//   followed to where they lead;
// - its scripts from that tree, when scripts are allowed;
// - images, style sheets and fonts over http and https, when the user allowed
//   them;
// - data:, blob: and about: content, which is the page's own.
// Everything else is refused: file: URLs, XMLHttpRequest and fetch of any URL
// (so no script reads a local file), WebSockets, beacons, pings, prefetches,
// workers from elsewhere, plugins, and every other scheme.
//
// The engine asks Allows for every request it makes; the rules know nothing
// of the engine.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

// The schemes of the page files the preview shows and of everything they load
// from their folder tree: for pages without scripts, and sealed for pages
// whose scripts run.
inline constexpr char PREVIEW_TREE_SCHEME[] = "tsle-page";
inline constexpr char PREVIEW_SEALED_SCHEME[] = "tsle-sealed-page";
// The URL of a local file under one of them, and back ("" for any other URL).
QUrl PreviewTreeUrl(const QString& file, bool sealed);
QString PreviewTreeFile(const QUrl& url);
// The content type a file of the tree is served as: the page itself and the
// files of web page types as HTML, others by their names.
QByteArray PreviewContentType(const QString& file, bool isPage);

// What a request is for, as far as the rules tell requests apart.
enum class PreviewResource {
    Page,   // the main frame
    Frame,  // a frame or iframe
    Style,  // a style sheet
    Font,   // a font
    Image,  // an image or the page's icon
    Media,  // audio or video
    Script, // a script, or a worker's script
    WebSocket,
    Other, // XMLHttpRequest, fetch, event streams, beacons, pings, prefetches, plugins, ...
};

// What the user allows the page to do.
struct CPreviewAccess {
    bool bScripts = false;
    // Images, style sheets and fonts over http and https.
    bool bRemoteResources = false;
    // The folder tree the page may load from; "" for none.
    QString strRoot;
};

// The folder tree of the page file pageFile: projectDir when the page lies
// in it, else the page's own folder; "" for a page without a file.
QString PreviewTreeRoot(const QString& pageFile, const QString& projectDir);

class CPreviewRequestPolicy {
public:
    // Allows nothing at all.
    CPreviewRequestPolicy() = default;
    // The rules for the page at page (a PreviewTreeUrl, or a data: or about:
    // URL for a page shown from its text).
    CPreviewRequestPolicy(const QUrl& page, const CPreviewAccess& access);

    bool Allows(const QUrl& url, PreviewResource kind) const;
    // Whether url, of the page's scheme, may be served at all: the page, or
    // a file of its tree. (What for is Allows's to say.)
    bool MayServe(const QUrl& url) const;
    bool IsPage(const QString& file) const;

    const CPreviewAccess& Access() const { return m_access; }

private:
    bool AllowsTreeFile(const QString& file, PreviewResource kind) const;
    // Whether the local file path lies in the page's tree, not hidden in it.
    bool InTree(const QString& path) const;

    CPreviewAccess m_access;
    QString m_strScheme; // the page's scheme
    QString m_strPage;   // the page's file, canonical; "" for none
    QString m_strRoot;   // the tree, canonical; "" for none
};
