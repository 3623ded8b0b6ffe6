#include "app/ui/splash_wnd.h"

#include <QApplication>
#include <QTimer>

bool CSplashWnd::s_enabled = true;
QPointer<CSplashWnd> CSplashWnd::s_current;

CSplashWnd::CSplashWnd(const QPixmap& picture, QWidget* parent)
    : QSplashScreen(picture, Qt::WindowStaysOnTopHint), m_parent(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    // The main window keeps the focus; keys reach the splash through the filter.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setObjectName(QStringLiteral("splash"));
    setAccessibleName(QStringLiteral("TSLE"));
    qApp->installEventFilter(this);
    QTimer::singleShot(SPLASH_MILLISECONDS, this, &CSplashWnd::HideSplashScreen);
}

CSplashWnd::~CSplashWnd() {
    qApp->removeEventFilter(this);
}

CSplashWnd* CSplashWnd::ShowSplashScreen(QWidget* parent) {
    if (!s_enabled || s_current)
        return nullptr;
    const QPixmap picture(QStringLiteral(":/images/splash.png"));
    if (picture.isNull())
        return nullptr;
    s_current = new CSplashWnd(picture, parent);
    if (parent && parent->isVisible()) {
        QRect area = s_current->geometry();
        area.moveCenter(parent->frameGeometry().center());
        s_current->move(area.topLeft());
    }
    s_current->show();
    s_current->repaint(); // at once, before the main window's first events
    return s_current;
}

void CSplashWnd::HideSplashScreen() {
    if (!s_current)
        return;
    CSplashWnd* splash = s_current;
    s_current = nullptr;
    QWidget* parent = splash->m_parent;
    splash->close();
    if (parent)
        parent->update();
}

bool CSplashWnd::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // A key press first asks whether a shortcut may take it. Claiming it
        // keeps shortcuts from running; the press itself follows and is dropped.
        if (s_current == this) {
            HideSplashScreen();
            event->accept();
            m_swallowKeyPress = true;
            return true;
        }
        break;
    case QEvent::KeyPress:
        if (s_current == this || m_swallowKeyPress) {
            HideSplashScreen();
            m_swallowKeyPress = false;
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
        if (s_current == this) {
            HideSplashScreen();
            return true; // the click that closes the splash does nothing else
        }
        break;
    default:
        break;
    }
    return QSplashScreen::eventFilter(watched, event);
}
