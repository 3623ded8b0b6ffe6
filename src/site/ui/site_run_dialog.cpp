#include "site/ui/site_run_dialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

QString RunOutcomeText(const CSiteRunReport& report, PageOutcome outcome) {
    switch (outcome) {
    case PageOutcome::CHANGED:
        if (report.kind == CSiteRunReport::UNDO)
            return QStringLiteral("restored");
        return report.dryRun ? QStringLiteral("will change") : QStringLiteral("changed");
    case PageOutcome::UNCHANGED:
        return QStringLiteral("unchanged");
    case PageOutcome::CONFLICT:
        return report.kind == CSiteRunReport::UNDO ? QStringLiteral("changed since")
                                                   : QStringLiteral("conflict");
    case PageOutcome::FAILED:
        break;
    }
    return QStringLiteral("failed");
}

CSiteRunDialog::CSiteRunDialog(const CSiteRunReport& report, QWidget* parent)
    : QDialog(parent), m_report(report.pages) {
    setObjectName(QStringLiteral("siteRunDialog"));
    const bool plan = report.dryRun && report.error.isEmpty();
    const QString what = report.kind == CSiteRunReport::IMPORT   ? QStringLiteral("Import site")
                         : report.kind == CSiteRunReport::UNDO   ? QStringLiteral("Undo batch")
                         : report.kind == CSiteRunReport::EXPORT ? QStringLiteral("Export site")
                                                                 : QStringLiteral("Write changes");
    setWindowTitle(what);
    auto* layout = new QVBoxLayout(this);
    auto* summary = new QLabel(report.Summary(), this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);
    layout->addWidget(summary);

    if (!report.problems.isEmpty()) {
        auto* problems = new QPlainTextEdit(report.problems.join(QLatin1Char('\n')), this);
        problems->setObjectName(QStringLiteral("problems"));
        problems->setAccessibleName(QStringLiteral("Problems"));
        problems->setReadOnly(true);
        problems->setMaximumHeight(120);
        layout->addWidget(problems);
    }

    auto* split = new QSplitter(Qt::Vertical, this);
    m_pages = new QTreeWidget(split);
    m_pages->setObjectName(QStringLiteral("pages"));
    m_pages->setAccessibleName(QStringLiteral("Pages of the run"));
    m_pages->setRootIsDecorated(false);
    m_pages->setUniformRowHeights(true);
    m_pages->setHeaderLabels(
        {QStringLiteral("Page"), QStringLiteral("Result"), QStringLiteral("Detail")});
    // Pages that need a look come first: conflicts and failures, then changes.
    const auto rank = [](PageOutcome outcome) {
        switch (outcome) {
        case PageOutcome::FAILED:
            return 0;
        case PageOutcome::CONFLICT:
            return 1;
        case PageOutcome::CHANGED:
            return 2;
        case PageOutcome::UNCHANGED:
            break;
        }
        return 3;
    };
    QList<QTreeWidgetItem*> items;
    for (int r = 0; r <= 3; ++r) {
        for (size_t i = 0; i < m_report.size(); ++i) {
            const CSiteRunPage& page = m_report[i];
            if (rank(page.outcome) != r)
                continue;
            auto* item =
                new QTreeWidgetItem({page.path, RunOutcomeText(report, page.outcome), page.detail});
            item->setData(0, Qt::UserRole, static_cast<qulonglong>(i));
            items.append(item);
        }
    }
    m_pages->addTopLevelItems(items);
    m_pages->header()->resizeSection(0, 320);
    m_diff = new QPlainTextEdit(split);
    m_diff->setObjectName(QStringLiteral("diff"));
    m_diff->setAccessibleName(QStringLiteral("Diff of the page"));
    m_diff->setReadOnly(true);
    m_diff->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_diff->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_diff->setVisible(plan);
    layout->addWidget(split, 1);
    connect(m_pages, &QTreeWidget::currentItemChanged, this, &CSiteRunDialog::ShowPage);

    auto* buttons = new QDialogButtonBox(this);
    if (plan && report.changed > 0) {
        m_write = buttons->addButton(report.changed == 1
                                         ? QStringLiteral("&Write 1 page")
                                         : QStringLiteral("&Write %1 pages").arg(report.changed),
                                     QDialogButtonBox::AcceptRole);
        m_write->setObjectName(QStringLiteral("write"));
        m_write->setAccessibleName(QStringLiteral("Write pages"));
        buttons->addButton(QDialogButtonBox::Cancel);
    } else {
        buttons->addButton(QDialogButtonBox::Close);
    }
    for (QAbstractButton* button : buttons->buttons()) {
        if (button->accessibleName().isEmpty())
            button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(820, 560);
    if (!items.isEmpty())
        m_pages->setCurrentItem(items.front());
}

void CSiteRunDialog::ShowPage() {
    const QTreeWidgetItem* item = m_pages->currentItem();
    if (!item) {
        m_diff->clear();
        return;
    }
    const size_t i = item->data(0, Qt::UserRole).toULongLong();
    const CSiteRunPage& page = m_report[i];
    m_diff->setPlainText(page.diff.isEmpty() ? page.detail : page.diff);
}
