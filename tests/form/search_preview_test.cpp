// What the search-result and social-card previews show, and how a chosen
// picture is written: worked out without widgets.
#include "form/search_preview.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "form/image_reference.h"

namespace {

// Every character is half the font size wide: widths easy to reckon with.
class HalfEm final : public ITextMeasurer {
public:
    double WidthPx(const QString& text, int fontPx) const override {
        return text.size() * fontPx / 2.0;
    }
};

TEST(SearchPreview, AddressTitleAndDescriptionAsResultsShowThem) {
    struct Case {
        const char* what;
        QString page, root, site;
        QString address;
    };
    const Case addresses[] = {
        {"site and project", "/srv/w/news/a b.html", "/srv/w", "https://ex.org",
         "https://ex.org/news/a%20b.html"},
        {"no site", "/srv/w/news/a.html", "/srv/w", "", "/news/a.html"},
        {"no project: the page's folder", "/srv/w/news/a.html", "", "https://ex.org",
         "https://ex.org/a.html"},
        {"not saved", "", "", "https://ex.org", "https://ex.org/untitled.html"},
    };
    for (const Case& c : addresses)
        EXPECT_EQ(SearchAddressLine(c.page, c.root, c.site), c.address) << c.what;

    // 600 px at 20 px: 60 characters; 920 px at 14 px: 131; 680 px: 97.
    const HalfEm measurer;
    const CSearchLimits limits;
    const QString longTitle = QStringLiteral("word ").repeated(20).trimmed(); // 99 characters
    const QString description = QStringLiteral("abcdefghi ").repeated(11).trimmed(); // 109
    const CSearchResult desktop = MakeSearchResult(measurer, limits, SnippetDevice::DESKTOP,
                                                   longTitle, description, "https://ex.org/a");
    EXPECT_TRUE(desktop.titleCut);
    EXPECT_TRUE(desktop.title.endsWith("..."));
    EXPECT_LE(measurer.WidthPx(desktop.title, 20), 600);
    EXPECT_TRUE(longTitle.startsWith(desktop.title.chopped(3)));
    EXPECT_FALSE(desktop.descriptionCut);
    EXPECT_EQ(desktop.description, description);
    const CSearchResult mobile = MakeSearchResult(measurer, limits, SnippetDevice::MOBILE,
                                                  "  Short \n title ", description, "x");
    EXPECT_EQ(mobile.title, "Short title"); // white space collapsed, not cut
    EXPECT_FALSE(mobile.titleCut);
    EXPECT_TRUE(mobile.descriptionCut);
    // Without a title, results show the address instead.
    EXPECT_EQ(MakeSearchResult(measurer, limits, SnippetDevice::DESKTOP, " ", "", "ex.org/a").title,
              "ex.org/a");
}

TEST(SocialCard, FallbacksLayoutDomainAndPicture) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path();
    ASSERT_TRUE(QDir(root).mkpath("news/img"));
    for (const char* file : {"news/img/a b.png", "logo.png"}) {
        QFile f(root + "/" + file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString page = root + "/news/show.html";

    CCardTags tags;
    tags.title = "Page title";
    tags.description = "Page description";
    CSocialCard card = MakeSocialCard(tags, page, root, "https://site.example", false);
    EXPECT_EQ(card.title, "Page title");
    EXPECT_EQ(card.description, "Page description");
    EXPECT_EQ(card.domain, "site.example");
    EXPECT_EQ(card.layout, CardLayout::SUMMARY);
    EXPECT_EQ(card.image, CardImage::NONE);

    tags.ogTitle = "OG title";
    tags.ogDescription = "  ";
    tags.canonical = "https://canonical.example/x";
    tags.twitterCard = " Summary_Large_Image ";
    card = MakeSocialCard(tags, page, root, "https://site.example", false);
    EXPECT_EQ(card.title, "OG title");
    EXPECT_EQ(card.description, "Page description"); // a blank og:description falls back
    EXPECT_EQ(card.domain, "canonical.example");
    EXPECT_EQ(card.layout, CardLayout::SUMMARY_LARGE_IMAGE);
    tags.ogUrl = "https://og.example/x";
    EXPECT_EQ(MakeSocialCard(tags, page, root, "", false).domain, "og.example");

    struct Picture {
        const char* value;
        bool allowRemote;
        CardImage image;
        QString file; // relative to root, for LOCAL
    };
    const Picture pictures[] = {
        {"img/a%20b.png", false, CardImage::LOCAL, "news/img/a b.png"},
        {"/logo.png", false, CardImage::LOCAL, "logo.png"}, // from the project's root
        {"img/gone.png?v=2", false, CardImage::MISSING, ""},
        {"../../outside.png", false, CardImage::OUTSIDE, ""},
        {"https://cdn.example/a.png", false, CardImage::REMOTE_BLOCKED, ""},
        {"https://cdn.example/a.png", true, CardImage::REMOTE, ""},
        {"//cdn.example/a.png", false, CardImage::REMOTE_BLOCKED, ""},
        {"file:///etc/passwd", false, CardImage::OUTSIDE, ""},
        {"data:image/png;base64,AAAA", true, CardImage::OUTSIDE, ""},
    };
    for (const Picture& p : pictures) {
        tags.ogImage = p.value;
        card = MakeSocialCard(tags, page, root, "", p.allowRemote);
        EXPECT_EQ(card.image, p.image) << p.value;
        if (p.image == CardImage::LOCAL) {
            EXPECT_EQ(card.imageFile, QDir::cleanPath(root + "/" + p.file)) << p.value;
        }
        EXPECT_EQ(card.ImageNote().isEmpty(), p.image == CardImage::LOCAL) << p.value;
    }
    // twitter:image when there is no og:image; a page not saved shows no local picture.
    tags.ogImage.clear();
    tags.twitterImage = "img/a%20b.png";
    EXPECT_EQ(MakeSocialCard(tags, page, root, "", false).image, CardImage::LOCAL);
    EXPECT_EQ(MakeSocialCard(tags, "", "", "", false).image, CardImage::OUTSIDE);
}

TEST(ImageReference, RelativeToThePageAndEncodedForAUrl) {
    EXPECT_EQ(ImageReference("/w/news/a.html", "/w/news/img/b c.png"), "img/b%20c.png");
    EXPECT_EQ(ImageReference("/w/news/a.html", "/w/img/#1.png"), "../img/%231.png");
    EXPECT_EQ(ImageReference("/w/a.html", "/w/\xC3\xA9t\xC3\xA9.jpg"), "%C3%A9t%C3%A9.jpg");
    EXPECT_EQ(ImageReference("", "/w/b c.png"), "file:///w/b%20c.png");
}

} // namespace
