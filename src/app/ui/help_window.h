// CHelpWindow: the program's help pages in a window of their own.
//
// The pages are compiled in (qrc:/help/); installed copies in the data folder
// serve when the compiled-in ones are missing. Links to other sites open in
// the desktop's web browser.
#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

class CHelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit CHelpWindow(QWidget* parent = nullptr);

    // The default topic, or an empty URL when no help pages can be found.
    static QUrl DefaultTopic();
    // Shows topic and brings the window forward.
    void ShowTopic(const QUrl& topic);
    QTextBrowser* Browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};
