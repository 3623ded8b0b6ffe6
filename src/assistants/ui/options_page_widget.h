// COptionsPageWidget: what the options sheet needs of each of its pages.
#pragma once

#include <QWidget>

class COptionsPageWidget : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Every time the page is shown.
    virtual void Activate() = 0;
    // Changes not applied yet.
    virtual int IsModified() const = 0;
    // Hands the page's changes over (nothing for a page never shown).
    virtual void Apply() = 0;

signals:
    // The user changed something: the sheet enables Apply.
    void changed();
};
