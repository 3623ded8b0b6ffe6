// Writes in the page's own style: only what a write changes differs from the
// page as read, and new tags look like the page's own.
#include <gtest/gtest.h>

#include <functional>

#include "page/server_blocks.h"
#include "page_test_util.h"

namespace {

struct StyleCase {
    const char* what;
    std::string page;
    std::function<void(CHtmlPage&)> edit;
    std::string result;
};

void Check(const StyleCase& c) {
    for (const auto detail : {CHtmlPage::SectionDetail::NEEDED, CHtmlPage::SectionDetail::ALL}) {
        CHtmlPage page;
        page.SetText(c.page, BodyMode::PRESERVE, detail);
        c.edit(page);
        EXPECT_EQ(page.GetText(), c.result) << c.what;
        // What was written reads back from the text.
        CHtmlPage reread;
        reread.SetText(page.GetText(), BodyMode::PRESERVE);
        std::string name, content, readContent, n2, c2;
        int httpEquiv = 0, h2 = 0;
        for (int i = 0; page.GetMetaAt(i, name, content, httpEquiv); ++i) {
            ASSERT_EQ(reread.GetMetaAt(i, n2, c2, h2), 1) << c.what;
            EXPECT_EQ(n2 + "=" + c2, name + "=" + content) << c.what;
        }
        EXPECT_EQ(reread.GetTitle(), page.GetTitle()) << c.what;
    }
}

const auto description = [](const char* value) {
    return [value](CHtmlPage& p) { EXPECT_EQ(p.SetMeta("description", value, 0), 1); };
};

} // namespace

TEST(PageStyle, OnlyWhatChangesIsWritten) {
    const std::string lf = "<html>\n  <head>\n    <meta charset=\"utf-8\">\n"
                           "    <title>T</title>\n  </head>\n<body>\n</body>\n";
    const StyleCase cases[] = {
        {"a changed tag keeps its case, order and quotes; its own quote is escaped",
         "<HEAD>\n<META NAME=\"Description\" CONTENT='old' LANG=en>\n</HEAD><BODY>",
         description("it's new"),
         "<HEAD>\n<META NAME=\"Description\" CONTENT='it&#39;s new' LANG=en>\n</HEAD><BODY>"},
        {"an unquoted value stays so when it can", "<head><meta name=robots content=all>",
         [](CHtmlPage& p) {
             p.SetMeta("robots", "none", 0);
             p.SetMeta("keywords", "a", 0);
         },
         "<head><meta name=robots content=none><meta name=\"keywords\" content=\"a\">"},
        {"and is quoted when it cannot", "<head><meta name=robots content=all >",
         [](CHtmlPage& p) { p.SetMeta("robots", "no index", 0); },
         "<head><meta name=robots content=\"no index\" >"},
        {"an attribute added goes before the tag's end, in the tag's case",
         "<HEAD><META NAME=description />", description("d"),
         "<HEAD><META NAME=description CONTENT=\"d\" />"},
        {"a new tag: the line ending and indentation of the tag it follows", lf, description("d"),
         "<html>\n  <head>\n    <meta charset=\"utf-8\">\n    <meta name=\"description\" "
         "content=\"d\">\n    <title>T</title>\n  </head>\n<body>\n</body>\n"},
        {"after the head tag, the head's content's indentation; CR LF as the page has it",
         "<head>\r\n\t<title>T</title>\r\n</head>\r\n<body>", description("d"),
         "<head>\r\n\t<meta name=\"description\" content=\"d\">\r\n\t<title>T</title>\r\n"
         "</head>\r\n<body>"},
        {"a mixed page: the ending of the line followed",
         "<head>\n<meta name=a content=1>\r\n<title>T</title>\n</head><body>", description("d"),
         "<head>\n<meta name=a content=1>\r\n<meta name=\"description\" content=\"d\">\r\n"
         "<title>T</title>\n</head><body>"},
        {"XHTML: \" />\"",
         "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>T</title></head><body>",
         description("d"),
         "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><meta name=\"description\" "
         "content=\"d\" /><title>T</title></head><body>"},
        {"the page's own meta and link tags decide", "<head><link rel=x href=y/></head><body>",
         description("d"),
         "<head><meta name=\"description\" content=\"d\"/><link rel=x "
         "href=y/></head><body>"},
        {"a removed tag takes its line", lf + "",
         [](CHtmlPage& p) {
             p.SetMeta("description", "d", 0);
             p.RemoveMeta("description");
         },
         lf},
        {"a removed tag leaves the rest of its line",
         "<head>\n<title>T</title> <meta name=a content=1>\n<meta name=b content=2> <link>\n",
         [](CHtmlPage& p) {
             p.RemoveMeta("a");
             p.RemoveMeta("b");
         },
         "<head>\n<title>T</title>\n<link>\n"},
        {"a new title goes before </head> on a line of its own",
         "<head>\n  <meta charset=\"utf-8\">\n</head>\n<body>",
         [](CHtmlPage& p) { p.SetTitle("T"); },
         "<head>\n  <meta charset=\"utf-8\">\n  <title>T</title>\n</head>\n<body>"},
        {"line breaks: spaces in values, LF in titles of a page without CR",
         "<head></head>\n<body>",
         [](CHtmlPage& p) {
             p.SetMeta("description", "a\r\nb", 0);
             p.SetTitle("c\r\nd");
         },
         "<head><meta name=\"description\" content=\"a  b\"><title>c\nd</title></head>\n<body>"},
    };
    for (const StyleCase& c : cases)
        Check(c);
}

// A new tag never lands where the server sends it only sometimes.
TEST(PageStyle, NewTagsStayOutOfServerSideBlocks) {
    const StyleCase cases[] = {
        {"PHP braces: after the block that closes it",
         "<head>\n<?php if ($open) { ?><meta name=a content=1><?php } ?>\n</head><body>",
         description("d"),
         "<head>\n<?php if ($open) { ?><meta name=a content=1><?php } ?>\n"
         "<meta name=\"description\" content=\"d\">\n</head><body>"},
        {"PHP if (...): ... endif;",
         "<head>\n<?php if ($x): ?>\n  <meta name=a content=1>\n<?php else: ?>\n"
         "  <meta name=a content=2>\n<?php endif; ?>\n</head><body>",
         description("d"),
         "<head>\n<?php if ($x): ?>\n  <meta name=a content=1>\n<?php else: ?>\n"
         "  <meta name=a content=2>\n<?php endif; ?>\n<meta name=\"description\" content=\"d\">\n"
         "</head><body>"},
        {"ASP If ... Then / End If",
         "<head>\r\n<% If Session(\"x\") Then %>\r\n<meta name=a content=1>\r\n<% End If %>\r\n"
         "</head><body>",
         description("d"),
         "<head>\r\n<% If Session(\"x\") Then %>\r\n<meta name=a content=1>\r\n<% End If %>\r\n"
         "<meta name=\"description\" content=\"d\">\r\n</head><body>"},
        {"closed only after the head: before the block that opens it",
         "<head>\n<title>T</title>\n<?php foreach ($tags as $t): ?>\n<meta name=a>\n</head>"
         "<body><?php endforeach; ?>",
         description("d"),
         "<head>\n<title>T</title>\n<meta name=\"description\" content=\"d\">\n"
         "<?php foreach ($tags as $t): ?>\n<meta name=a>\n</head><body><?php endforeach; ?>"},
        {"a title goes out of the block too",
         "<head><?php if ($a) { ?><meta name=a></head><?php } ?><body>",
         [](CHtmlPage& p) { p.SetTitle("T"); },
         "<head><title>T</title><?php if ($a) { ?><meta name=a></head><?php } ?><body>"},
    };
    for (const StyleCase& c : cases)
        Check(c);

    // The sample shop: the last meta tag sits in a conditional.
    CHtmlPage shop;
    shop.SetText("<?php\n  $open = date('N') == 6;\n?>\n<html>\n<head>\n<title>Seed shop</title>\n"
                 "<meta name=\"keywords\" content=\"seeds\">\n"
                 "<?php if ($open) { ?><meta http-equiv=\"Refresh\" content=\"300\"><?php } ?>\n"
                 "</head>\n<body>",
                 BodyMode::PRESERVE);
    for (const HeadStyle style : {HeadStyle::KEEP, HeadStyle::NORMALIZE}) {
        shop.SetHeadStyle(style);
        shop.SetMeta("description", "d", 0);
        const std::string& text = shop.GetText();
        EXPECT_LT(text.find("<?php } ?>"), text.find("<meta name=\"description\"")) << text;
    }

    const struct {
        const char* block;
        ServerBlockEffect effect;
    } blocks[] = {
        {"<?php if ($a) { ?>", {0, 1}},
        {"<?php } else { ?>", {1, 1}},
        {"<?php } ?>", {1, 0}},
        {"<?php echo '{'; // } \n ?>", {0, 0}},
        {"<?php while ($x): ?>", {0, 1}},
        {"<?php elseif ($b): ?>", {1, 1}},
        {"<?php endwhile ?>", {1, 0}},
        {"<?= $if ?>", {0, 0}},
        {"<% If x Then y = 1 %>", {0, 0}},
        {"<% ElseIf x Then %>", {1, 1}},
        {"<% For Each k In Request.Form : Next %>", {0, 0}},
        {"<% Select Case x %>", {0, 1}},
        {"<% if (x) { %>", {0, 1}},
        {"<%@ Page Language=\"C#\" %>", {0, 0}},
        {"<?xml version=\"1.0\"?>", {0, 0}},
    };
    for (const auto& b : blocks)
        EXPECT_EQ(ServerBlockEffectOf(b.block), b.effect) << b.block;
}

// A page edited in one style and then saved in the other is written as one
// edited in that style from the start.
TEST(PageStyle, ChangingTheStyleRepeatsTheWrites) {
    const std::string text = "<HTML>\n<HEAD>\n<TITLE>T</TITLE>\n<META NAME=a CONTENT=1>\n"
                             "<META NAME=b CONTENT=2>\n</HEAD>\n<BODY>x</BODY>";
    const auto edit = [](CHtmlPage& p) {
        p.SetMeta("a", "one", 0);
        p.RemoveMeta("b");
        p.SetMeta("c", "3", 1);
        p.SetTitle("New");
    };
    for (const HeadStyle from : {HeadStyle::KEEP, HeadStyle::NORMALIZE}) {
        const HeadStyle to = from == HeadStyle::KEEP ? HeadStyle::NORMALIZE : HeadStyle::KEEP;
        CHtmlPage switched, direct;
        switched.SetHeadStyle(from);
        switched.SetText(text, BodyMode::PRESERVE);
        edit(switched);
        switched.SetHeadStyle(to);
        direct.SetHeadStyle(to);
        direct.SetText(text, BodyMode::PRESERVE);
        edit(direct);
        EXPECT_EQ(switched.GetText(), direct.GetText());
    }
}
