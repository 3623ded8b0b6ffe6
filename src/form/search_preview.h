// How the open page shows as a search result and as a shared link's card:
// what the previews draw, worked out from the form's values, so that the
// panes only paint it.
#pragma once

#include <QString>

#include "settings/search_limits.h"
#include "snippet/snippet_meter.h"

// --- The search result -----------------------------------------------------------

struct CSearchResult {
    QString address;     // "https://example.org/blog/post.html"
    QString title;       // cut with "..." at the limit
    QString description; // cut likewise
    bool titleCut = false;
    bool descriptionCut = false;
    int titleFontPx = 20;
    int descriptionFontPx = 14;
    int widthPx = 600; // the result's width on the device
};

// The address line: the site address and the page's path in its project,
// percent-encoded; without a site address the path alone ("/blog/post.html"),
// and "untitled.html" for a page not saved yet.
QString SearchAddressLine(const QString& pagePath, const QString& projectRoot, const QString& site);

// The result of a page with title and description (as a reader sees them) on
// device. A missing title shows as the page's address does in results.
CSearchResult MakeSearchResult(const ITextMeasurer& measurer, const CSearchLimits& limits,
                               SnippetDevice device, const QString& title,
                               const QString& description, const QString& address);

// --- The social card ---------------------------------------------------------------

enum class CardLayout { SUMMARY, SUMMARY_LARGE_IMAGE };

enum class CardImage {
    NONE,           // no og:image nor twitter:image
    LOCAL,          // a file of the project: imageFile
    MISSING,        // names a local file that does not exist
    OUTSIDE,        // names a local file outside the project: not shown
    REMOTE,         // on the web, fetching allowed: imageUrl
    REMOTE_BLOCKED, // on the web, fetching not allowed
};

// The tags the card is made of (values as a reader sees them).
struct CCardTags {
    QString title, description; // the page's own
    QString ogTitle, ogDescription, ogImage, ogUrl, ogSiteName;
    QString twitterCard, twitterImage;
    QString canonical;
};

struct CSocialCard {
    CardLayout layout = CardLayout::SUMMARY;
    QString title;       // og:title, else the title
    QString description; // og:description, else the description
    QString domain;      // of og:url, else of the canonical link, else of the site
    CardImage image = CardImage::NONE;
    QString imageFile; // LOCAL: absolute path
    QString imageUrl;  // REMOTE, REMOTE_BLOCKED: as written
    // What the card says instead of the picture ("" when it shows one).
    QString ImageNote() const;
};

class CFieldForm;
// The tags as the form shows them now (typed, not yet saved).
CCardTags CardTagsOf(const CFieldForm& form);

// pagePath "" for a page not saved yet; projectRoot "" for none (the page's
// folder then bounds the local pictures); site "" for none.
CSocialCard MakeSocialCard(const CCardTags& tags, const QString& pagePath,
                           const QString& projectRoot, const QString& site, bool allowRemote);
