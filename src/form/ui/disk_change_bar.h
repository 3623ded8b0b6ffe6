// CDiskChangeBar: the bar over the form that says the page or template file
// was changed, replaced or deleted on disk by another program, with buttons
// that read them again. What it says and when comes from the document
// (GetDiskNotice, GetPageDiskChange, GetTemplateDiskChange); the bar only
// shows it and forwards the clicks.
#pragma once

#include <QFrame>

class CTesselDoc;
class QLabel;
class QPushButton;

class CDiskChangeBar : public QFrame {
    Q_OBJECT

public:
    // doc must outlive the bar.
    CDiskChangeBar(CTesselDoc& doc, QWidget* parent = nullptr);
    // Follows the document's state: hidden while both files hold what was read.
    void Refresh();

    QPushButton* ReloadPageButton() const { return m_reloadPage; }
    QPushButton* ReloadTemplateButton() const { return m_reloadTemplate; }

signals:
    // The bar was shown, hidden or changed its text (its height may differ).
    void changed();

private:
    CTesselDoc& m_doc;
    QLabel* m_text;
    QPushButton* m_reloadPage;
    QPushButton* m_reloadTemplate;
};
