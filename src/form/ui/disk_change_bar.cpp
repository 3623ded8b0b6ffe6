#include "form/ui/disk_change_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "document/tessel_doc.h"

namespace {

bool CanReload(DiskChange change) {
    return change == DiskChange::CHANGED || change == DiskChange::REPLACED;
}

} // namespace

CDiskChangeBar::CDiskChangeBar(CTesselDoc& doc, QWidget* parent) : QFrame(parent), m_doc(doc) {
    setObjectName(QStringLiteral("diskChangeBar"));
    setAccessibleName(QStringLiteral("Changed on disk"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("diskChangeText"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_text->setForegroundRole(QPalette::ToolTipText);
    m_reloadPage = new QPushButton(QStringLiteral("&Reload"), this);
    m_reloadPage->setObjectName(QStringLiteral("diskChangeReloadPage"));
    m_reloadPage->setAccessibleName(QStringLiteral("Reload page"));
    m_reloadTemplate = new QPushButton(QStringLiteral("Reload &template"), this);
    m_reloadTemplate->setObjectName(QStringLiteral("diskChangeReloadTemplate"));
    m_reloadTemplate->setAccessibleName(QStringLiteral("Reload template"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_reloadPage);
    layout->addWidget(m_reloadTemplate);
    connect(m_reloadPage, &QPushButton::clicked, this, [this] { m_doc.ReloadPage(); });
    connect(m_reloadTemplate, &QPushButton::clicked, this, [this] { m_doc.ReloadTemplate(); });
    connect(&m_doc, &CTesselDoc::diskStateChanged, this, &CDiskChangeBar::Refresh);
    Refresh();
}

void CDiskChangeBar::Refresh() {
    const QString notice = QString::fromStdString(m_doc.GetDiskNotice());
    m_text->setText(notice);
    m_text->setAccessibleName(notice);
    m_reloadPage->setVisible(CanReload(m_doc.GetPageDiskChange()));
    m_reloadTemplate->setVisible(CanReload(m_doc.GetTemplateDiskChange()));
    setVisible(!notice.isEmpty());
    emit changed();
}
