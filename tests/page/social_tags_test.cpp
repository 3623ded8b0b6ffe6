// Property tags, canonical and alternate links and the page's language: read
// as a browser reads them, written with the meta tags' rules (a changed tag
// keeps its bytes but for the value, a new one follows the page's style, and
// nothing lands in raw text or inside a server-side block).
#include <gtest/gtest.h>

#include <functional>

#include "page/social_tags.h"
#include "page_test_util.h"

namespace {

// What the reads make of a page, in one line.
std::string Summary(const CHtmlPage& page) {
    std::string out;
    std::string property, content, lang;
    for (int i = 0; GetPropertyAt(page, i, property, content); ++i)
        out += property + "=" + content + ";";
    for (const CHeadLink& link : ListHeadLinks(page)) {
        out += link.kind == LinkKind::CANONICAL ? "canonical" : "alternate:" + link.hreflang;
        out += "=" + link.href + ";";
    }
    if (GetHtmlLang(page, lang))
        out += "lang=" + lang + ";";
    return out;
}

struct SocialCase {
    const char* what;
    std::string page;
    std::function<void(CHtmlPage&)> edit;
    std::string result;
};

void Check(const SocialCase& c, HeadStyle style = HeadStyle::KEEP) {
    for (const auto detail : {CHtmlPage::SectionDetail::NEEDED, CHtmlPage::SectionDetail::ALL}) {
        CHtmlPage page;
        page.SetHeadStyle(style);
        page.SetText(c.page, BodyMode::PRESERVE, detail);
        c.edit(page);
        EXPECT_EQ(page.GetText(), c.result) << c.what;
        // What was written reads back from the text.
        CHtmlPage reread;
        reread.SetText(page.GetText(), BodyMode::PRESERVE);
        EXPECT_EQ(Summary(reread), Summary(page)) << c.what;
    }
}

} // namespace

TEST(SocialTags, ReadAsABrowserReadsThem) {
    const struct {
        const char* what;
        std::string page;
        std::string summary;
    } cases[] = {
        {"rel is a token list in any case; one link may be both kinds",
         "<html LANG=de><head><meta property=og:title content=T>"
         "<link REL=\"Alternate  Canonical\" hreflang=fr href=/fr>"
         "<link rel=stylesheet href=s.css><link rel=alternate href=feed.xml>",
         "og:title=T;canonical=/fr;alternate:fr=/fr;lang=de;"},
        {"nothing in raw text, nothing after the body",
         "<head><script>x='<link rel=canonical href=a>'</script>"
         "<noscript><meta property=og:image content=i></noscript></head>"
         "<body><link rel=canonical href=b><meta property=og:title content=t>",
         ""},
        {"a property tag with a name is both",
         "<head><meta name=d property=og:description "
         "content=D></head>",
         "og:description=D;"},
    };
    for (const auto& c : cases) {
        CHtmlPage page;
        page.SetText(c.page, BodyMode::PRESERVE);
        EXPECT_EQ(Summary(page), c.summary) << c.what;
    }
}

TEST(SocialTags, WritesInThePagesOwnStyle) {
    const std::string crlf = "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n  <meta charset=\"utf-8\">\r\n"
                             "  <title>T</title>\r\n</head>\r\n<body>\r\n</body>\r\n</html>\r\n";
    const SocialCase cases[] = {
        {"a changed property keeps its case, quotes and other attributes",
         "<HEAD>\n<META PROPERTY='og:title' CONTENT='old' DATA-X=1>\n</HEAD><BODY>",
         [](CHtmlPage& p) { EXPECT_EQ(p.SetProperty("og:title", "new"), 1); },
         "<HEAD>\n<META PROPERTY='og:title' CONTENT='new' DATA-X=1>\n</HEAD><BODY>"},
        {"new tags: the CR LF and indentation of the tag they follow, in order written", crlf,
         [](CHtmlPage& p) {
             p.SetProperty("og:title", "A \"quoted\" title");
             p.SetLink(LinkKind::CANONICAL, "", "https://example.org/");
             p.SetLink(LinkKind::ALTERNATE, "fr", "https://example.org/fr/");
         },
         "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n  <meta charset=\"utf-8\">\r\n"
         "  <meta property=\"og:title\" content=\"A &quot;quoted&quot; title\">\r\n"
         "  <link rel=\"canonical\" href=\"https://example.org/\">\r\n"
         "  <link rel=\"alternate\" hreflang=\"fr\" href=\"https://example.org/fr/\">\r\n"
         "  <title>T</title>\r\n</head>\r\n<body>\r\n</body>\r\n</html>\r\n"},
        {"XHTML: \" />\"; the language set on the html tag",
         "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head>\n<title>T</title>\n</head>\n<body>",
         [](CHtmlPage& p) {
             EXPECT_EQ(p.SetProperty("og:type", "website"), 1);
             EXPECT_EQ(p.SetHtmlLang("en"), 1);
         },
         "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n"
         "<meta property=\"og:type\" content=\"website\" />\n<title>T</title>\n</head>\n<body>"},
        {"an upper-case html tag takes LANG; an unquoted lang stays so",
         "<HTML><head></head><body>",
         [](CHtmlPage& p) {
             p.SetHtmlLang("de-AT");
             p.SetHtmlLang("fr");
         },
         "<HTML LANG=\"fr\"><head></head><body>"},
        {"the language removed, the rest of the tag as it was",
         "<html  lang=en dir=ltr><head></head><body>",
         [](CHtmlPage& p) { EXPECT_EQ(p.SetHtmlLang(""), 1); },
         "<html dir=ltr><head></head><body>"},
        {"never an html tag added for a language", "<head><title>T</title></head><body>",
         [](CHtmlPage& p) { EXPECT_EQ(p.SetHtmlLang("en"), 0); },
         "<head><title>T</title></head><body>"},
        {"a new tag never inside a server-side block",
         "<head>\n<?php if ($en): ?>\n<meta name=a content=b>\n<?php endif; ?>\n</head><body>",
         [](CHtmlPage& p) { p.SetLink(LinkKind::CANONICAL, "", "/a"); },
         "<head>\n<?php if ($en): ?>\n<meta name=a content=b>\n<?php endif; ?>\n"
         "<link rel=\"canonical\" href=\"/a\">\n</head><body>"},
        {"nor inside raw text", "<head><meta name=a content=b><script>var s='</head>'</script>",
         [](CHtmlPage& p) { p.SetProperty("og:title", "t"); },
         "<head><meta name=a content=b><meta property=\"og:title\" content=\"t\">"
         "<script>var s='</head>'</script>"},
        {"a link of both kinds: setting one kind splits it off beside the other",
         "<head>\n<link rel=\"Alternate Canonical\" hreflang=fr href=/fr>\n</head><body>",
         [](CHtmlPage& p) { p.SetLink(LinkKind::CANONICAL, "", "/"); },
         "<head>\n<link rel=\"Alternate\" hreflang=fr href=/fr>\n"
         "<link rel=\"canonical\" href=\"/\">\n</head><body>"},
        {"removing one kind of it leaves the other",
         "<head>\n<link rel=\"alternate canonical\" hreflang=fr href=/fr>\n</head><body>",
         [](CHtmlPage& p) { p.RemoveLink(LinkKind::ALTERNATE, "FR"); },
         "<head>\n<link rel=\"canonical\" hreflang=fr href=/fr>\n</head><body>"},
        {"a removed tag takes its line; a named meta tag loses only its property",
         "<head>\n  <meta property=og:title content=t>\n  <meta name=d property=og:description "
         "content=D>\n</head><body>",
         [](CHtmlPage& p) {
             p.RemoveProperty("og:title");
             p.RemoveProperty("og:description");
         },
         "<head>\n  <meta name=d content=D>\n</head><body>"},
        {"tags added to a line and taken away again leave it as it was",
         "<head> <meta http-equiv=refresh content=0> </head> </html>\n",
         [](CHtmlPage& p) {
             p.SetProperty("og:title", "t");
             p.SetLink(LinkKind::CANONICAL, "", "/");
             p.RemoveLink(LinkKind::CANONICAL);
             p.RemoveProperty("og:title");
         },
         "<head> <meta http-equiv=refresh content=0> </head> </html>\n"},
        {"writing the value a tag has changes nothing",
         "<head><link rel=canonical href='/a?x=1&amp;y=2'><meta property=og:title "
         "content=\"a\nb\"></head>",
         [](CHtmlPage& p) {
             p.SetLink(LinkKind::CANONICAL, "", "/a?x=1&amp;y=2");
             p.SetProperty("og:title", "a b");
             EXPECT_EQ(p.GetChangeCount(), 0u);
         },
         "<head><link rel=canonical href='/a?x=1&amp;y=2'><meta property=og:title "
         "content=\"a\nb\"></head>"},
    };
    for (const SocialCase& c : cases)
        Check(c);
}

TEST(SocialTags, NormalizingWritesNormalForm) {
    Check({"a changed tag in normal form, a new one as a new meta tag is",
           "<HTML Lang=en><HEAD><META PROPERTY=og:title CONTENT=old></HEAD><BODY>",
           [](CHtmlPage& p) {
               p.SetProperty("og:title", "new");
               p.SetLink(LinkKind::ALTERNATE, "de", "/de");
               p.SetHtmlLang("fr");
           },
           "<html lang=\"fr\"><head><meta property=og:title content=\"new\">\r\n\t<link "
           "rel=\"alternate\" hreflang=\"de\" href=\"/de\"/></head><BODY>"},
          HeadStyle::NORMALIZE);
    // Also when the style is chosen after the writes.
    CHtmlPage page;
    page.SetText("<html><head>\n<title>T</title></head><body>", BodyMode::PRESERVE);
    page.SetProperty("og:title", "T");
    page.SetHeadStyle(HeadStyle::NORMALIZE);
    EXPECT_EQ(page.GetText(), "<html><head>\r\n\t<meta property=\"og:title\" content=\"T\"/>\n"
                              "<title>T</title></head><body>");
}
