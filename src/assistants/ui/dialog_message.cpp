#include "assistants/ui/dialog_message.h"

#include <QDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

void ShowDialogMessage(QWidget* parent, std::string_view message) {
    QMessageBox::warning(parent, QGuiApplication::applicationDisplayName(),
                         QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
}

void NameControl(QWidget* widget, int id, const QString& accessibleName) {
    widget->setObjectName(QString::number(id));
    widget->setAccessibleName(accessibleName);
}

QPushButton* MakeOkButton(QDialog* dialog) {
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
    NameControl(ok, 1, ok->text());
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    return ok;
}

QPushButton* MakeCancelButton(QDialog* dialog) {
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    NameControl(cancel, 2, cancel->text());
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return cancel;
}

void SetTabOrder(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}
