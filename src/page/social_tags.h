// Reading the tags that search engines and social networks read besides the
// title and the named meta tags: property meta tags (Open Graph "og:*",
// "article:*", "fb:*"), the canonical and alternate links, and the page's
// language on its <html> tag. Values are as stored (bytes, character
// references not decoded), like the rest of the page model's reads.
//
// Only the part of the page before its first body tag counts: a link or a
// property tag in the body is none of the page's meta-data. The writes are
// CHtmlPage's (SetProperty, SetLink, SetHtmlLang ...).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "page/html_page.h"

// The tokens of a rel value, split at ASCII white space.
std::vector<std::string_view> RelTokens(std::string_view rel);
// Whether a rel value (a list of tokens between ASCII white space, as
// "alternate canonical") holds token, compared without regard to ASCII case.
bool RelHasToken(std::string_view rel, std::string_view token);

// --- Property meta tags: <meta property="og:title" content="..."> -------------

// The first property tag of that property (compared as MetaNameKey compares
// names), or null.
POSITION FindProperty(const CHtmlPage& page, std::string_view property);
// Its content, or "".
std::string GetPropertyContent(const CHtmlPage& page, std::string_view property);
// The index-th property tag (from 0) in page order: 1 with its property and
// content, or 0 when there are fewer.
int GetPropertyAt(const CHtmlPage& page, int index, std::string& property, std::string& content);
// How many property tags of that property there are.
int CountProperty(const CHtmlPage& page, std::string_view property);

// --- Links: <link rel="canonical" href="...">,
//            <link rel="alternate" hreflang="fr" href="..."> ----------------

struct CHeadLink {
    POSITION pos = nullptr;
    LinkKind kind = LinkKind::CANONICAL;
    std::string hreflang; // ALTERNATE: as written
    std::string href;     // as written ("" when the tag has none)
};

// The canonical and hreflang alternate links in page order; a tag whose rel
// holds both "canonical" and "alternate" (with an hreflang) is listed for each.
std::vector<CHeadLink> ListHeadLinks(const CHtmlPage& page);
// The first canonical link, or the first alternate link for hreflang
// (compared without regard to ASCII case); null when there is none.
POSITION FindLink(const CHtmlPage& page, LinkKind kind, std::string_view hreflang = {});
// Its href, or "".
std::string GetLinkHref(const CHtmlPage& page, LinkKind kind, std::string_view hreflang = {});

// --- The page's language: <html lang="..."> -----------------------------------

// The first <html> tag before the body, or null.
POSITION FindHtmlTag(const CHtmlPage& page);
// 1 with the lang attribute of that tag (possibly ""), or 0 when the page has
// no <html> tag or it has no lang.
int GetHtmlLang(const CHtmlPage& page, std::string& lang);
