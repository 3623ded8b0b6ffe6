// CSiteValueDialog: one value for a column of the selected rows.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QComboBox;
class QPlainTextEdit;
class QPushButton;

class CSiteValueDialog : public QDialog {
    Q_OBJECT

public:
    // columns: the editable columns as (column index, heading); current: the
    // column chosen first; rows: how many rows get the value.
    CSiteValueDialog(const QList<QPair<int, QString>>& columns, int current, size_t rows,
                     QWidget* parent = nullptr);

    int Column() const;
    QString Value() const;
    QComboBox* ColumnBox() const { return m_column; }
    QPlainTextEdit* ValueBox() const { return m_value; }
    QPushButton* OkButton() const { return m_ok; }

private:
    QComboBox* m_column;
    QPlainTextEdit* m_value;
    QPushButton* m_ok;
};
