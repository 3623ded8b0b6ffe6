#include "app/ui/about_dlg.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "resource_ids.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About TSLE"));
    setObjectName(QStringLiteral("IDD_ABOUTBOX_%1").arg(IDD_ABOUTBOX));

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/tsle.png")).pixmap(48, 48));
    icon->setAccessibleName(QStringLiteral("TSLE icon"));
    auto* name = new QLabel(QStringLiteral("TSLE"), this);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    auto* version =
        new QLabel(QStringLiteral("Version %1").arg(QCoreApplication::applicationVersion()), this);
    version->setObjectName(QStringLiteral("version"));
    auto* copyright = new QLabel(QStringLiteral("Copyright (C) 2024 The TSLE developers"), this);
    for (QLabel* label : {name, version, copyright})
        label->setAccessibleName(label->text());

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(version);
    texts->addWidget(copyright);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
