#include "form/ui/snippet_previews.h"

#include <QBoxLayout>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPixmap>
#include <QScrollArea>
#include <QShowEvent>

#include "document/tessel_doc.h"
#include "form/ui/tessel_view.h"
#include "settings/app_settings.h"
#include "snippet/search_font.h"

namespace {

// Desktop and phone results are drawn this wide.
constexpr int kDeviceWidthPx[2] = {600, 360};
// The card's width, and the picture's sizes in each layout.
constexpr int kCardWidth = 500;
constexpr int kLargeImageHeight = 262; // 1.91 : 1, as the networks crop it
constexpr int kSmallImageSide = 125;
// A web picture larger than this is not shown, and one slower than this is given up.
constexpr qint64 kMaxPictureBytes = 8 * 1024 * 1024;
constexpr int kFetchTimeoutMs = 15000;

QFont SearchFont(int px) {
    if (const CSearchFont* font = CSearchFont::Instance())
        return font->Font(px);
    QFont font;
    font.setPixelSize(px);
    return font;
}

QLabel* TextLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// Text in a colour of its own, kept readable on a dark theme too.
void SetColor(QLabel* label, const QColor& light, const QColor& dark) {
    QPalette palette = label->palette();
    const bool darkTheme = palette.color(QPalette::Window).lightness() < 128;
    palette.setColor(QPalette::WindowText, darkTheme ? dark : light);
    label->setPalette(palette);
}

} // namespace

// --- Search result -------------------------------------------------------------------

CSearchPreviewPane::CSearchPreviewPane(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("searchResultPreview"));
    setAccessibleName(QStringLiteral("Search result preview"));
    auto* layout = new QVBoxLayout(this);
    const char* devices[2] = {"Desktop", "Mobile"};
    const char* lines[3] = {"address", "title", "description"};
    for (int device = 0; device < 2; ++device) {
        auto* heading = new QLabel(QString::fromLatin1(devices[device]), this);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        layout->addWidget(heading);
        for (int line = 0; line < 3; ++line) {
            QLabel* label =
                TextLabel(QStringLiteral("%1%2").arg(QString::fromLatin1(lines[line]),
                                                     QString::fromLatin1(devices[device])),
                          this);
            label->setAccessibleName(QStringLiteral("%1 %2").arg(
                QString::fromLatin1(devices[device]), QString::fromLatin1(lines[line])));
            label->setFixedWidth(kDeviceWidthPx[device]);
            label->setWordWrap(line != 0);
            m_labels[device][line] = label;
            layout->addWidget(label);
        }
        SetColor(m_labels[device][0], QColor(0x20, 0x21, 0x24), QColor(0xda, 0xdc, 0xe0));
        SetColor(m_labels[device][1], QColor(0x1a, 0x0d, 0xab), QColor(0x8a, 0xb4, 0xf8));
        SetColor(m_labels[device][2], QColor(0x4d, 0x51, 0x56), QColor(0xbd, 0xc1, 0xc6));
        layout->addSpacing(12);
    }
    layout->addStretch();
}

void CSearchPreviewPane::Show(const CSearchResult& desktop, const CSearchResult& mobile) {
    const CSearchResult* results[2] = {&desktop, &mobile};
    for (int device = 0; device < 2; ++device) {
        const CSearchResult& result = *results[device];
        m_labels[device][0]->setFont(SearchFont(std::max(10, result.descriptionFontPx - 2)));
        m_labels[device][0]->setText(result.address);
        m_labels[device][1]->setFont(SearchFont(result.titleFontPx));
        m_labels[device][1]->setText(result.title);
        m_labels[device][2]->setFont(SearchFont(result.descriptionFontPx));
        m_labels[device][2]->setText(result.description);
    }
}

// --- Social card -----------------------------------------------------------------------

CSocialCardPane::CSocialCardPane(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("socialCardPreview"));
    setAccessibleName(QStringLiteral("Social card preview"));
    auto* outer = new QVBoxLayout(this);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFixedWidth(kCardWidth);
    outer->addWidget(frame);
    outer->addStretch();
    m_box = new QBoxLayout(QBoxLayout::LeftToRight, frame);
    m_box->setContentsMargins(0, 0, 0, 0);
    m_image = new QLabel(frame);
    m_image->setObjectName(QStringLiteral("cardImage"));
    m_image->setAccessibleName(QStringLiteral("Card image"));
    m_image->setAlignment(Qt::AlignCenter);
    m_image->setWordWrap(true);
    m_image->setAutoFillBackground(true);
    m_text = new QWidget(frame);
    auto* text = new QVBoxLayout(m_text);
    m_domain = TextLabel(QStringLiteral("cardDomain"), m_text);
    m_domain->setAccessibleName(QStringLiteral("Card domain"));
    m_title = TextLabel(QStringLiteral("cardTitle"), m_text);
    m_title->setAccessibleName(QStringLiteral("Card title"));
    m_description = TextLabel(QStringLiteral("cardDescription"), m_text);
    m_description->setAccessibleName(QStringLiteral("Card description"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    for (QLabel* label : {m_title, m_description})
        label->setWordWrap(true);
    text->addWidget(m_domain);
    text->addWidget(m_title);
    text->addWidget(m_description);
    text->addStretch();
    m_box->addWidget(m_image);
    m_box->addWidget(m_text, 1);
    Show(CSocialCard());
}

void CSocialCardPane::Show(const CSocialCard& card) {
    m_layout = card.layout;
    const bool large = card.layout == CardLayout::SUMMARY_LARGE_IMAGE;
    m_box->setDirection(large ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
    const QSize imageSize =
        large ? QSize(kCardWidth - 2, kLargeImageHeight) : QSize(kSmallImageSide, kSmallImageSide);
    m_image->setFixedSize(imageSize);
    const QString shown = card.image == CardImage::LOCAL    ? card.imageFile
                          : card.image == CardImage::REMOTE ? card.imageUrl
                                                            : QString();
    if (shown != m_shownImage || shown.isEmpty() || imageSize != m_shownSize) {
        if (m_reply) {
            m_reply->abort();
            m_reply = nullptr;
        }
        m_image->setPixmap(QPixmap());
        m_image->setText(card.ImageNote());
        if (card.image == CardImage::LOCAL) {
            const QPixmap picture(shown);
            if (picture.isNull())
                m_image->setText(QStringLiteral("Not an image: ") + QFileInfo(shown).fileName());
            else
                ShowPicture(picture);
        } else if (card.image == CardImage::REMOTE) {
            Fetch(shown);
        }
    }
    m_image->setAccessibleDescription(card.image == CardImage::LOCAL ? QFileInfo(shown).fileName()
                                                                     : card.ImageNote());
    m_shownImage = shown;
    m_shownSize = imageSize;
    m_domain->setText(card.domain.toUpper());
    m_title->setText(card.title);
    m_description->setText(card.description);
}

void CSocialCardPane::ShowPicture(const QPixmap& picture) {
    const QSize size = m_image->size();
    const QPixmap scaled =
        picture.scaled(size, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    m_image->setPixmap(scaled.copy((scaled.width() - size.width()) / 2,
                                   (scaled.height() - size.height()) / 2, size.width(),
                                   size.height()));
}

void CSocialCardPane::Fetch(const QString& address) {
    QUrl url(address);
    if (url.scheme().isEmpty())
        url.setScheme(QStringLiteral("https")); // "//host/path"
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    QNetworkRequest request(url);
    // Never from the web to a local file or another scheme.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(kFetchTimeoutMs);
    QNetworkReply* reply = m_network->get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxPictureBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        if (reply != m_reply)
            return; // another card's picture is wanted now
        m_reply = nullptr;
        QPixmap picture;
        if (reply->error() != QNetworkReply::NoError || !picture.loadFromData(reply->readAll())) {
            m_image->setText(QStringLiteral("Web image not loaded: ") + reply->errorString());
            return;
        }
        ShowPicture(picture);
    });
}

// --- The panel ---------------------------------------------------------------------------

CSnippetPanel::CSnippetPanel(CTesselView& view, const CAppSettings& settings, QWidget* parent)
    : QWidget(parent), m_view(view), m_settings(settings), m_measurer(CSearchFont::Instance()) {
    setObjectName(QStringLiteral("snippetPanel"));
    setAccessibleName(QStringLiteral("Search and social previews"));
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    auto* content = new QWidget;
    auto* row = new QHBoxLayout(content);
    m_search = new CSearchPreviewPane(content);
    m_card = new CSocialCardPane(content);
    row->addWidget(m_search);
    row->addWidget(m_card);
    row->addStretch();
    scroll->setWidget(content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    connect(&m_view, &CTesselView::valuesChanged, this, &CSnippetPanel::Refresh);
}

namespace {

// Not cut where no search font could be loaded.
class CNoCut final : public ITextMeasurer {
public:
    double WidthPx(const QString& /*text*/, int /*fontPx*/) const override { return 0; }
};

} // namespace

void CSnippetPanel::Refresh() {
    if (!isVisible())
        return;
    static const CNoCut noCut;
    const ITextMeasurer& measurer = m_measurer ? *m_measurer : noCut;
    const CFieldForm& form = m_view.GetForm();
    const CCardTags tags = CardTagsOf(form);
    const CTemplateContext context = form.GetDocument().GetTemplateContext();
    const QString address = SearchAddressLine(context.pagePath, context.projectRoot, context.site);
    m_search->Show(MakeSearchResult(measurer, m_settings.m_searchLimits, SnippetDevice::DESKTOP,
                                    tags.title, tags.description, address),
                   MakeSearchResult(measurer, m_settings.m_searchLimits, SnippetDevice::MOBILE,
                                    tags.title, tags.description, address));
    m_card->Show(MakeSocialCard(tags, context.pagePath, context.projectRoot, context.site,
                                m_settings.m_preview.m_bRemoteResources));
}

void CSnippetPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refresh();
}

// --- The editing pane ----------------------------------------------------------------------

CEditingPane::CEditingPane(CTesselView* view, CSnippetPanel* panel, QWidget* parent)
    : QSplitter(Qt::Vertical, parent), m_panel(panel) {
    setObjectName(QStringLiteral("editingPane"));
    setChildrenCollapsible(false);
    addWidget(view);
    addWidget(panel);
    setStretchFactor(0, 3);
    setStretchFactor(1, 2);
    setFocusProxy(view);
}

void CEditingPane::ShowPanel(bool show) {
    if (show == IsPanelShown())
        return;
    m_panel->setVisible(show);
    emit panelShownChanged();
}
