#include "app/ui/lock_keys.h"

#include <QGuiApplication>
#include <QKeyEvent>

#if __has_include(<xcb/xcb.h>)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#define TSLE_HAVE_XCB 1
#endif

namespace {

#ifdef TSLE_HAVE_XCB
// The keyboard's LED mask from the X server. The keyboard maps bind indicator
// 1 to Caps Lock, 2 to Num Lock and 3 to Scroll Lock.
bool QueryServer(LockKeys& keys) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    xcb_get_keyboard_control_reply_t* reply =
        xcb_get_keyboard_control_reply(connection, xcb_get_keyboard_control(connection), nullptr);
    if (!reply)
        return false;
    keys.caps = reply->led_mask & 1u;
    keys.num = reply->led_mask & 2u;
    keys.scroll = reply->led_mask & 4u;
    free(reply);
    return true;
}
#else
bool QueryServer(LockKeys&) {
    return false;
}
#endif

} // namespace

CLockKeyTracker::CLockKeyTracker(QObject* parent) : QObject(parent) {
    if (qGuiApp) {
        qGuiApp->installEventFilter(this);
        connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state == Qt::ApplicationActive)
                        Refresh();
                });
    }
    Refresh();
}

CLockKeyTracker::~CLockKeyTracker() {
    if (qGuiApp)
        qGuiApp->removeEventFilter(this);
}

void CLockKeyTracker::Refresh() {
    LockKeys keys;
    m_fromServer = QueryServer(keys);
    if (m_fromServer)
        Set(keys);
}

void CLockKeyTracker::Set(const LockKeys& state) {
    if (state == m_state)
        return;
    m_state = state;
    emit changed(m_state);
}

bool CLockKeyTracker::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // Key events reach the filter once for every widget they pass through;
    // only the one sent to the window itself counts.
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && watched->isWindowType()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int code = key->key();
        if ((code == Qt::Key_CapsLock || code == Qt::Key_NumLock || code == Qt::Key_ScrollLock) &&
            !key->isAutoRepeat()) {
            if (m_fromServer) {
                if (type == QEvent::KeyRelease)
                    Refresh(); // the lights have changed by the time the key is up
            } else if (type == QEvent::KeyPress) {
                LockKeys keys = m_state;
                if (code == Qt::Key_CapsLock)
                    keys.caps = !keys.caps;
                else if (code == Qt::Key_NumLock)
                    keys.num = !keys.num;
                else
                    keys.scroll = !keys.scroll;
                Set(keys);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
