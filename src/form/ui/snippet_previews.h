// The search-result preview and the social-card preview of the open page,
// and the panel under the editing view that holds them.
//
// What they show is worked out in form/search_preview.h (MakeSearchResult,
// MakeSocialCard); these widgets only paint it, in labels so that a screen
// reader reads every text. The panel follows the editing view's
// valuesChanged signal, so both previews follow every keystroke.
#pragma once

#include <QSplitter>
#include <QWidget>

#include "form/search_preview.h"

class CTesselView;
class ITextMeasurer;
class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
struct CAppSettings;

// "Search result preview": the result on a desktop and on a phone.
class CSearchPreviewPane : public QWidget {
    Q_OBJECT

public:
    explicit CSearchPreviewPane(QWidget* parent = nullptr);
    void Show(const CSearchResult& desktop, const CSearchResult& mobile);
    // The labels of a device (0 desktop, 1 mobile): address, title, description.
    QLabel* Label(int device, int line) const { return m_labels[device][line]; }

private:
    QLabel* m_labels[2][3] = {};
};

// "Social card preview": the card a shared link shows.
class CSocialCardPane : public QWidget {
    Q_OBJECT

public:
    explicit CSocialCardPane(QWidget* parent = nullptr);
    void Show(const CSocialCard& card);
    QLabel* ImageLabel() const { return m_image; }
    QLabel* DomainLabel() const { return m_domain; }
    QLabel* TitleLabel() const { return m_title; }
    QLabel* DescriptionLabel() const { return m_description; }
    CardLayout Layout() const { return m_layout; }

private:
    // Shows picture cropped to fill the image label, as the networks do.
    void ShowPicture(const QPixmap& picture);
    // Fetches a web picture (allowed in the options); a later card's
    // picture replaces it.
    void Fetch(const QString& address);

    CardLayout m_layout = CardLayout::SUMMARY;
    QString m_shownImage; // the file or address the image label holds
    QSize m_shownSize;    // and the size it was cropped to
    QNetworkAccessManager* m_network = nullptr;
    QNetworkReply* m_reply = nullptr;
    QLabel* m_image;
    QLabel* m_domain;
    QLabel* m_title;
    QLabel* m_description;
    QWidget* m_text;
    class QBoxLayout* m_box;
};

// Both previews side by side, under the editing view.
class CSnippetPanel : public QWidget {
    Q_OBJECT

public:
    // view and settings must outlive the panel.
    CSnippetPanel(CTesselView& view, const CAppSettings& settings, QWidget* parent = nullptr);
    // The measurer of the search font (null: the texts are not cut).
    void SetMeasurer(const ITextMeasurer* measurer) { m_measurer = measurer; }
    CSearchPreviewPane* SearchPreview() const { return m_search; }
    CSocialCardPane* SocialCard() const { return m_card; }
    // Shows what the view holds now (nothing while hidden: it catches up
    // when shown).
    void Refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    CTesselView& m_view;
    const CAppSettings& m_settings;
    const ITextMeasurer* m_measurer = nullptr;
    CSearchPreviewPane* m_search;
    CSocialCardPane* m_card;
};

// The editing view over the panel; the View command shows or hides the panel.
class CEditingPane : public QSplitter {
    Q_OBJECT

public:
    CEditingPane(CTesselView* view, CSnippetPanel* panel, QWidget* parent = nullptr);
    CSnippetPanel* Panel() const { return m_panel; }
    bool IsPanelShown() const { return !m_panel->isHidden(); }
    void ShowPanel(bool show);

signals:
    void panelShownChanged();

private:
    CSnippetPanel* m_panel;
};
