#include "shell/preview_request_policy.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <unistd.h>

namespace {

// A project on disk: site/ with a section, a hidden folder, a link out of
// the project and a link to a hidden file; secret.txt beside the project.
class PreviewRequestPolicyTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QDir root(m_dir.path());
        for (const char* d : {"site/section/img", "site/shared", "site/.git"})
            ASSERT_TRUE(root.mkpath(d));
        for (const char* f :
             {"site/section/page.html", "site/section/img/a.png", "site/section/app.js",
              "site/shared/s.css", "site/.git/config", "secret.txt"}) {
            QFile file(root.filePath(f));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        ASSERT_EQ(symlink(Path("secret.txt").constData(), Path("site/section/out.png").constData()),
                  0);
        ASSERT_EQ(
            symlink(Path("site/.git/config").constData(), Path("site/section/cfg.css").constData()),
            0);
    }
    QByteArray Path(const char* name) const { return QFile::encodeName(m_dir.filePath(name)); }
    QString File(const char* name) const { return m_dir.filePath(name); }
    QUrl Url(const char* name, bool sealed = false) const {
        return PreviewTreeUrl(File(name), sealed);
    }
    QTemporaryDir m_dir;
};

TEST_F(PreviewRequestPolicyTest, ThePageLoadsItsTreeAndTheWebOnlyAsAllowed) {
    using R = PreviewResource;
    const QString page = File("site/section/page.html");
    CPreviewAccess access;
    access.strRoot = PreviewTreeRoot(page, File("site"));
    EXPECT_EQ(access.strRoot, QDir(File("site")).canonicalPath());
    const CPreviewRequestPolicy quiet(PreviewTreeUrl(page, false), access);
    access.bScripts = access.bRemoteResources = true;
    const CPreviewRequestPolicy open(PreviewTreeUrl(page, true), access);

    struct Case {
        const char* what;
        QUrl url;
        R kind;
        bool quiet; // no scripts, nothing from the web
        bool open;  // scripts and the web allowed (the sealed scheme)
    };
    const auto tree = [this](const char* name) {
        return std::make_pair(Url(name, false), Url(name, true));
    };
    const auto [pageUrl, sealedPage] = tree("site/section/page.html");
    const auto [img, sealedImg] = tree("site/section/img/a.png");
    const auto [css, sealedCss] = tree("site/shared/s.css");
    const auto [js, sealedJs] = tree("site/section/app.js");
    const auto [git, sealedGit] = tree("site/.git/config");
    const auto [out, sealedOut] = tree("site/section/out.png");
    const auto [cfg, sealedCfg] = tree("site/section/cfg.css");
    const auto [secret, sealedSecret] = tree("secret.txt");
    const QUrl web(QStringLiteral("https://example.org/a.png"));
    const Case cases[] = {
        {"the page itself", pageUrl, R::Page, true, false},
        {"the page itself, sealed", sealedPage, R::Page, false, true},
        {"another main frame", img, R::Page, false, false},
        {"an image below it", img, R::Image, true, false},
        {"an image below it, sealed", sealedImg, R::Image, false, true},
        {"the project's shared style", css, R::Style, true, false},
        {"a frame of the tree", sealedCss, R::Frame, false, true},
        {"a script of the tree", js, R::Script, false, false},
        {"a script of the tree, sealed", sealedJs, R::Script, false, true},
        {"fetch of the page's own file", sealedPage, R::Other, false, false},
        {"a hidden folder", sealedGit, R::Frame, false, false},
        {"a link out of the tree", sealedOut, R::Image, false, false},
        {"a link to a hidden file", sealedCfg, R::Style, false, false},
        {"a file beside the project", secret, R::Image, false, false},
        {"a file: URL", QUrl::fromLocalFile(File("site/section/img/a.png")), R::Image, false,
         false},
        {"an image from the web", web, R::Image, false, true},
        {"a style from the web", QUrl("http://example.org/s.css"), R::Style, false, true},
        {"a font from the web", QUrl("https://example.org/f.woff2"), R::Font, false, true},
        {"a script from the web", QUrl("https://example.org/a.js"), R::Script, false, false},
        {"a frame from the web", QUrl("https://example.org/"), R::Frame, false, false},
        {"fetch from the web", QUrl("https://example.org/api"), R::Other, false, false},
        {"a web socket", QUrl("ws://127.0.0.1:8765/?d=x"), R::WebSocket, false, false},
        {"a web socket on http", QUrl("http://127.0.0.1:8765/"), R::WebSocket, false, false},
        {"an ftp image", QUrl("ftp://example.org/a.png"), R::Image, false, false},
        {"a resource of the program", QUrl("qrc:/images/splash.png"), R::Image, false, false},
        {"a data: image", QUrl("data:image/png;base64,AA=="), R::Image, true, true},
        {"a data: fetch", QUrl("data:text/plain,x"), R::Other, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(quiet.Allows(c.url, c.kind), c.quiet) << c.what;
        EXPECT_EQ(open.Allows(c.url, c.kind), c.open) << c.what;
    }

    // What the scheme handler serves: the tree's files of the page's scheme.
    EXPECT_TRUE(quiet.MayServe(img) && quiet.MayServe(pageUrl));
    EXPECT_FALSE(quiet.MayServe(sealedImg) || quiet.MayServe(git) || quiet.MayServe(out) ||
                 quiet.MayServe(secret));
    EXPECT_TRUE(open.MayServe(sealedJs));
}

TEST_F(PreviewRequestPolicyTest, TheTreeIsTheProjectOrThePagesFolder) {
    const QString page = File("site/section/page.html");
    const QString section = QDir(File("site/section")).canonicalPath();
    EXPECT_EQ(PreviewTreeRoot(page, {}), section);
    // A project the page is not in does not widen its tree.
    EXPECT_EQ(PreviewTreeRoot(page, File("site/shared")), section);
    EXPECT_EQ(PreviewTreeRoot(QString(), File("site")), QString());

    // Without a project the shared folder is out of reach; a page without a
    // file, or with a tree that is gone, reaches nothing.
    CPreviewAccess access;
    access.strRoot = PreviewTreeRoot(page, {});
    const CPreviewRequestPolicy policy(PreviewTreeUrl(page, false), access);
    EXPECT_TRUE(policy.Allows(Url("site/section/img/a.png"), PreviewResource::Image));
    EXPECT_FALSE(policy.Allows(Url("site/shared/s.css"), PreviewResource::Style));
    const CPreviewRequestPolicy text(QUrl("data:text/html"), CPreviewAccess());
    EXPECT_FALSE(text.Allows(Url("site/section/img/a.png"), PreviewResource::Image));
    access.strRoot = File("gone");
    const CPreviewRequestPolicy gone(PreviewTreeUrl(page, false), access);
    EXPECT_FALSE(gone.Allows(Url("site/section/img/a.png"), PreviewResource::Image));
    EXPECT_TRUE(gone.Allows(Url("site/section/page.html"), PreviewResource::Page));
}

TEST(PreviewTreeUrl, RoundTripsPathsAndServesPagesAsHtml) {
    for (const QString& path : {QStringLiteral("/a b/c#d?.html"), QStringLiteral("/x/%41/ü.htm")}) {
        const QUrl url = PreviewTreeUrl(path, true);
        EXPECT_EQ(PreviewTreeFile(url), path);
        EXPECT_EQ(PreviewTreeFile(QUrl(url.toString())), path);
    }
    EXPECT_EQ(PreviewTreeFile(QUrl::fromLocalFile("/etc/passwd")), QString());
    EXPECT_EQ(PreviewTreeFile(QUrl("tsle-page://host/etc/passwd")), QString());
    EXPECT_EQ(PreviewContentType("/s/shop.PHP", false), "text/html");
    EXPECT_EQ(PreviewContentType("/s/page", true), "text/html");
}

} // namespace
