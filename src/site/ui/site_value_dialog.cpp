#include "site/ui/site_value_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CSiteValueDialog::CSiteValueDialog(const QList<QPair<int, QString>>& columns, int current,
                                   size_t rows, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("siteValueDialog"));
    setWindowTitle(QStringLiteral("Set value"));
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(rows == 1 ? QStringLiteral("The value is set in the selected page.")
                                      : QStringLiteral("The value is set in the %1 selected "
                                                       "pages; an empty value removes the tag.")
                                            .arg(rows),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* form = new QFormLayout;
    m_column = new QComboBox(this);
    m_column->setObjectName(QStringLiteral("column"));
    m_column->setAccessibleName(QStringLiteral("Column"));
    for (const auto& [index, label] : columns) {
        m_column->addItem(label, index);
        if (index == current)
            m_column->setCurrentIndex(m_column->count() - 1);
    }
    form->addRow(QStringLiteral("&Column:"), m_column);
    m_value = new QPlainTextEdit(this);
    m_value->setObjectName(QStringLiteral("value"));
    m_value->setAccessibleName(QStringLiteral("Value"));
    m_value->setTabChangesFocus(true);
    form->addRow(QStringLiteral("&Value:"), m_value);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setText(QStringLiteral("&Set"));
    m_ok->setAccessibleName(QStringLiteral("Set"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    m_value->setFocus();
}

int CSiteValueDialog::Column() const {
    return m_column->currentData().toInt();
}

QString CSiteValueDialog::Value() const {
    return m_value->toPlainText();
}
