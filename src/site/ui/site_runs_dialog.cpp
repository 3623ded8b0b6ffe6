#include "site/ui/site_runs_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CSiteRunsDialog::CSiteRunsDialog(const CBatchHistory& history, QWidget* parent)
    : QDialog(parent), m_history(history.Runs()) {
    setObjectName(QStringLiteral("siteRunsDialog"));
    setWindowTitle(QStringLiteral("Earlier batches"));
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(m_history.empty()
                                ? QStringLiteral("No run has kept a journal yet.")
                                : QStringLiteral("Runs that changed pages, newest first. Undoing "
                                                 "one restores each page that still holds the "
                                                 "text the run wrote."),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    m_runs = new QListWidget(this);
    m_runs->setObjectName(QStringLiteral("runs"));
    m_runs->setAccessibleName(QStringLiteral("Earlier batches"));
    for (const CBatchRun& run : m_history) {
        auto* item = new QListWidgetItem(run.Summary(), m_runs);
        item->setToolTip(run.journal);
        if (run.undone || run.pages == 0)
            item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
    }
    layout->addWidget(m_runs, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_undo = buttons->addButton(QStringLiteral("&Undo run"), QDialogButtonBox::AcceptRole);
    m_undo->setObjectName(QStringLiteral("undo"));
    m_undo->setAccessibleName(QStringLiteral("Undo run"));
    buttons->button(QDialogButtonBox::Close)->setAccessibleName(QStringLiteral("Close"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_runs, &QListWidget::currentRowChanged, this, &CSiteRunsDialog::UpdateButtons);
    connect(m_runs, &QListWidget::itemActivated, this, [this] {
        if (m_undo->isEnabled())
            accept();
    });
    layout->addWidget(buttons);
    for (int i = 0; i < m_runs->count(); ++i) {
        if (m_runs->item(i)->flags() & Qt::ItemIsEnabled) {
            m_runs->setCurrentRow(i);
            break;
        }
    }
    UpdateButtons();
    resize(560, 360);
}

void CSiteRunsDialog::UpdateButtons() {
    const QListWidgetItem* item = m_runs->currentItem();
    m_undo->setEnabled(item && (item->flags() & Qt::ItemIsEnabled));
}

QString CSiteRunsDialog::Journal() const {
    const int row = m_runs->currentRow();
    if (row < 0 || row >= static_cast<int>(m_history.size()))
        return {};
    return m_history[static_cast<size_t>(row)].journal;
}
