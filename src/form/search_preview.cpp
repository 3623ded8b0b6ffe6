#include "form/search_preview.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "document/template_variables.h"
#include "fields/field_groups.h"
#include "form/field_form.h"
#include "snippet/shown_text.h"

QString SearchAddressLine(const QString& pagePath, const QString& projectRoot,
                          const QString& site) {
    if (pagePath.isEmpty())
        return site.isEmpty() ? QStringLiteral("untitled.html")
                              : site + QStringLiteral("/untitled.html");
    QString path;
    const QString root = projectRoot.isEmpty() ? QFileInfo(pagePath).absolutePath() : projectRoot;
    if (!ProjectRelativeUrlPath(pagePath, root, path))
        path = QString::fromLatin1(QUrl::toPercentEncoding(QFileInfo(pagePath).fileName()));
    return site + QLatin1Char('/') + path;
}

CSearchResult MakeSearchResult(const ITextMeasurer& measurer, const CSearchLimits& limits,
                               SnippetDevice device, const QString& title,
                               const QString& description, const QString& address) {
    CSearchResult result;
    result.address = address;
    result.titleFontPx = SnippetFontPx(limits, SnippetPart::TITLE);
    result.descriptionFontPx = SnippetFontPx(limits, SnippetPart::DESCRIPTION);
    const int titleLimit = SnippetLimitPx(limits, SnippetPart::TITLE, device);
    const int descriptionLimit = SnippetLimitPx(limits, SnippetPart::DESCRIPTION, device);
    result.widthPx = std::max(titleLimit, descriptionLimit);
    const QString shownTitle = CollapseSpaces(title).isEmpty() ? address : title;
    result.title = CutToWidth(measurer, shownTitle, result.titleFontPx, titleLimit);
    result.titleCut = result.title != CollapseSpaces(shownTitle);
    result.description =
        CutToWidth(measurer, description, result.descriptionFontPx, descriptionLimit);
    result.descriptionCut = result.description != CollapseSpaces(description);
    return result;
}

namespace {

QString FirstOf(const QString& a, const QString& b) {
    return CollapseSpaces(a).isEmpty() ? CollapseSpaces(b) : CollapseSpaces(a);
}

QString HostOf(const QString& address) {
    const QUrl url(address.trimmed());
    return url.isValid() && !url.isRelative() ? url.host() : QString();
}

bool IsInside(const QString& file, const QString& folder) {
    const QString clean = QDir::cleanPath(folder);
    return file == clean ||
           file.startsWith(clean.endsWith(QLatin1Char('/')) ? clean : clean + QLatin1Char('/'));
}

} // namespace

QString CSocialCard::ImageNote() const {
    switch (image) {
    case CardImage::NONE:
        return QStringLiteral("No image (og:image)");
    case CardImage::MISSING:
        return QStringLiteral("Image not found: ") + QFileInfo(imageFile).fileName();
    case CardImage::OUTSIDE:
        return QStringLiteral("Image outside the project, not shown");
    case CardImage::REMOTE_BLOCKED:
        return QStringLiteral(
            "Web image not loaded (allow web images in the options, Web page preview)");
    case CardImage::REMOTE:
        return QStringLiteral("Loading ") + imageUrl;
    default:
        return {};
    }
}

CSocialCard MakeSocialCard(const CCardTags& tags, const QString& pagePath,
                           const QString& projectRoot, const QString& site, bool allowRemote) {
    CSocialCard card;
    card.layout = tags.twitterCard.trimmed().compare(QLatin1String("summary_large_image"),
                                                     Qt::CaseInsensitive) == 0
                      ? CardLayout::SUMMARY_LARGE_IMAGE
                      : CardLayout::SUMMARY;
    card.title = FirstOf(tags.ogTitle, tags.title);
    card.description = FirstOf(tags.ogDescription, tags.description);
    card.domain = HostOf(tags.ogUrl);
    if (card.domain.isEmpty())
        card.domain = HostOf(tags.canonical);
    if (card.domain.isEmpty())
        card.domain = HostOf(site);

    const QString image = FirstOf(tags.ogImage, tags.twitterImage);
    if (image.isEmpty())
        return card;
    const QUrl url(image);
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        image.startsWith(QLatin1String("//"))) {
        card.imageUrl = image;
        card.image = allowRemote ? CardImage::REMOTE : CardImage::REMOTE_BLOCKED;
        return card;
    }
    const QString pageFolder = pagePath.isEmpty() ? QString() : QFileInfo(pagePath).absolutePath();
    const QString bound = projectRoot.isEmpty() ? pageFolder : projectRoot;
    QString file;
    if (scheme == QLatin1String("file")) {
        file = url.toLocalFile();
    } else if (!url.scheme().isEmpty() || bound.isEmpty()) {
        card.image = CardImage::OUTSIDE; // data:, or a page not saved yet
        return card;
    } else {
        // A path of the site: from the project's root when it starts with "/".
        const QString path = url.path(QUrl::FullyDecoded);
        file =
            path.startsWith(QLatin1Char('/')) ? bound + path : pageFolder + QLatin1Char('/') + path;
    }
    file = QDir::cleanPath(file);
    card.imageFile = file;
    if (bound.isEmpty() || !IsInside(file, bound))
        card.image = CardImage::OUTSIDE;
    else if (!QFileInfo(file).isFile())
        card.image = CardImage::MISSING;
    else
        card.image = CardImage::LOCAL;
    return card;
}

CCardTags CardTagsOf(const CFieldForm& form) {
    const CFieldList& fields = form.GetFields();
    const auto value = [&](std::string_view name, FieldTag tag) {
        const int pos = form.FindField(name, tag);
        return pos < 0 ? QString() : QString::fromStdString(fields.GetAt(pos).GetValue());
    };
    CCardTags tags;
    tags.title = QString::fromStdString(fields.GetAt(0).GetValue());
    tags.description = value("description", FieldTag::META);
    tags.ogTitle = value("og:title", FieldTag::PROPERTY);
    tags.ogDescription = value("og:description", FieldTag::PROPERTY);
    tags.ogImage = value("og:image", FieldTag::PROPERTY);
    tags.ogUrl = value("og:url", FieldTag::PROPERTY);
    tags.ogSiteName = value("og:site_name", FieldTag::PROPERTY);
    tags.twitterCard = value("twitter:card", FieldTag::META);
    tags.twitterImage = value("twitter:image", FieldTag::META);
    tags.canonical = value("canonical", FieldTag::CANONICAL);
    return tags;
}
