#include "assistants/ui/search_page_widget.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "assistants/ui/dialog_message.h"
#include "assistants/ui/dialog_units.h"

namespace {

struct LimitRow {
    SearchLimit limit;
    const char* label;
    const char* name;
};

constexpr LimitRow kLimits[5] = {
    {SearchLimit::TITLE_FONT, "&Title font size", "titleFontPx"},
    {SearchLimit::TITLE, "Title &width", "titlePx"},
    {SearchLimit::DESCRIPTION_FONT, "&Description font size", "descriptionFontPx"},
    {SearchLimit::DESCRIPTION, "Description width (&desktop)", "descriptionPx"},
    {SearchLimit::DESCRIPTION_MOBILE, "Description width (&mobile)", "descriptionMobilePx"},
};

} // namespace

CSearchPageWidget::CSearchPageWidget(CAppSettings& settings, const QString& projectDir,
                                     QWidget* parent)
    : COptionsPageWidget(parent), m_page(settings, ScriptFolderKey(projectDir)) {
    setObjectName(QStringLiteral("searchPage"));
    const CDialogUnits du(this);
    auto* form = new QFormLayout;
    for (int i = 0; i < 5; ++i) {
        auto* spin = new QSpinBox(this);
        spin->setRange(1, 10000);
        spin->setSuffix(QStringLiteral(" px"));
        spin->setObjectName(QString::fromLatin1(kLimits[i].name));
        const QString label = QString::fromLatin1(kLimits[i].label);
        spin->setAccessibleName(QString(label).remove(QLatin1Char('&')));
        form->addRow(label, spin);
        m_spins[i] = spin;
        connect(spin, &QSpinBox::valueChanged, this, [this, i](int px) {
            m_page.SetLimit(kLimits[i].limit, px);
            if (m_page.IsModified())
                emit changed();
        });
    }
    const QString project = QString::fromStdString(m_page.GetProjectDir());
    m_site = new QLineEdit(this);
    m_site->setObjectName(QStringLiteral("siteAddress"));
    m_site->setPlaceholderText(m_page.HasProject() ? QStringLiteral("https://example.org")
                                                   : QStringLiteral("no project folder open"));
    m_site->setEnabled(m_page.HasProject());
    m_site->setToolTip(project);
    const QString siteLabel =
        m_page.HasProject()
            ? QStringLiteral("&Site address of %1").arg(QFileInfo(project).fileName())
            : QStringLiteral("&Site address");
    m_site->setAccessibleName(QString(siteLabel).remove(QLatin1Char('&')));
    form->addRow(siteLabel, m_site);
    connect(m_site, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_page.SetSiteText(text);
        if (m_page.IsModified())
            emit changed();
    });
    auto* defaults = new QPushButton(QStringLiteral("&Restore defaults"), this);
    defaults->setObjectName(QStringLiteral("restoreDefaults"));
    defaults->setAccessibleName(QStringLiteral("Restore default widths"));
    connect(defaults, &QPushButton::clicked, this, [this] {
        m_page.RestoreDefaults();
        Show();
        emit changed();
    });
    auto* note = new QLabel(
        QStringLiteral("Search results cut a title or description that is wider than this in "
                       "their font (Liberation Sans, the widths of Arial). The site address "
                       "makes the address line of the search preview and {site} in templates."),
        this);
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(du.X(7), du.Y(7), du.X(7), du.Y(7));
    layout->addLayout(form);
    layout->addWidget(defaults, 0, Qt::AlignLeft);
    layout->addWidget(note);
    layout->addStretch(1);
}

void CSearchPageWidget::Activate() {
    m_page.OnSetActive();
    Show();
}

void CSearchPageWidget::Show() {
    for (int i = 0; i < 5; ++i) {
        const QSignalBlocker block(m_spins[i]);
        m_spins[i]->setValue(m_page.GetLimit(kLimits[i].limit));
    }
    if (m_site->text() != m_page.GetSiteText())
        m_site->setText(m_page.GetSiteText());
}

void CSearchPageWidget::Apply() {
    QString error;
    if (!m_page.OnApply(error)) {
        ShowDialogMessage(this, error.toStdString());
        m_site->setFocus();
        return;
    }
    Show();
}
