#include "app/ui/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

QUrl CHelpWindow::DefaultTopic() {
    if (QFileInfo::exists(QStringLiteral(":/help/index.html")))
        return QUrl(QStringLiteral("qrc:/help/index.html"));
    const QStringList folders = {
        QCoreApplication::applicationDirPath() + QStringLiteral("/help"),
        QStringLiteral(TSLE_DATA_DIR "/help"),
    };
    for (const QString& folder : folders) {
        const QString page = QDir(folder).filePath(QStringLiteral("index.html"));
        if (QFileInfo(page).isFile())
            return QUrl::fromLocalFile(page);
    }
    return {};
}

CHelpWindow::CHelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("TSLE Help"));
    setObjectName(QStringLiteral("helpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setAccessibleName(QStringLiteral("Help"));
    m_browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 560);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("TSLE Help")
                                       : title + QStringLiteral(" - TSLE Help"));
    });
}

void CHelpWindow::ShowTopic(const QUrl& topic) {
    m_browser->setSource(topic);
    show();
    raise();
    activateWindow();
}
