#include "assistants/ui/options_sheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "assistants/ui/custom_tags_page_widget.h"
#include "assistants/ui/dialog_message.h"
#include "assistants/ui/file_types_page_widget.h"
#include "assistants/ui/preview_page_widget.h"
#include "assistants/ui/search_page_widget.h"
#include "assistants/ui/std_tags_page_widget.h"

COptionsSheet::COptionsSheet(CFieldList& fields, CAppSettings& settings,
                             std::function<void()> applied, QWidget* parent,
                             const QString& projectDir)
    : QDialog(parent), m_applied(std::move(applied)) {
    setWindowTitle(QStringLiteral("Options"));
    setObjectName(QStringLiteral("options"));
    m_tabs = new QTabWidget(this);
    m_tabs->setAccessibleName(QStringLiteral("Options pages"));
    // Every page's tab in sight: the sheet is as wide as its tabs.
    m_tabs->setUsesScrollButtons(false);
    const std::pair<COptionsPageWidget*, const char*> pages[] = {
        {new CStdTagsPageWidget(fields, m_tabs), "Standard meta tags"},
        {new CCustomTagsPageWidget(fields, m_tabs), "User defined meta tags"},
        {new CFileTypesPageWidget(settings, m_tabs), "File types"},
        {new CPreviewPageWidget(settings, projectDir, m_tabs), "Web page preview"},
        {new CSearchPageWidget(settings, projectDir, m_tabs), "Search results"},
    };
    for (const auto& [page, caption] : pages) {
        m_tabs->addTab(page, QString::fromLatin1(caption));
        page->setAccessibleName(QString::fromLatin1(caption));
        m_pages.push_back(page);
        connect(page, &COptionsPageWidget::changed, this, [this] { m_apply->setEnabled(true); });
    }

    m_buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    const std::pair<QDialogButtonBox::StandardButton, const char*> names[] = {
        {QDialogButtonBox::Ok, "1"},
        {QDialogButtonBox::Cancel, "2"},
        {QDialogButtonBox::Apply, "apply"}};
    for (const auto& [which, name] : names) {
        QPushButton* button = m_buttons->button(which);
        button->setObjectName(QString::fromLatin1(name));
        button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    }
    m_apply = m_buttons->button(QDialogButtonBox::Apply);
    m_apply->setEnabled(false);
    m_buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &COptionsSheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &COptionsSheet::reject);
    connect(m_apply, &QPushButton::clicked, this, &COptionsSheet::Apply);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);

    connect(m_tabs, &QTabWidget::currentChanged, this, &COptionsSheet::OnPageShown);
    OnPageShown(m_tabs->currentIndex());
}

void COptionsSheet::ShowPage(int index) {
    m_tabs->setCurrentIndex(index);
}

void COptionsSheet::OnPageShown(int index) {
    if (index >= 0 && index < static_cast<int>(m_pages.size()))
        m_pages[static_cast<size_t>(index)]->Activate();
}

void COptionsSheet::Apply() {
    bool changed = false;
    for (COptionsPageWidget* page : m_pages) {
        if (!page->IsModified())
            continue;
        page->Apply();
        changed = true;
    }
    m_apply->setEnabled(false);
    if (changed && m_applied)
        m_applied();
}

void COptionsSheet::accept() {
    Apply();
    QDialog::accept();
}
