#include "menus/ui/compositor.h"

#include <QGuiApplication>
#include <cstdlib>

#ifdef TSLE_HAVE_XCB
#include <xcb/xcb.h>
#endif

int X11ScreenNumber(const QByteArray& displayName) {
    const qsizetype colon = displayName.lastIndexOf(':');
    const qsizetype dot = displayName.indexOf('.', colon < 0 ? 0 : colon);
    if (colon < 0 || dot < 0)
        return 0;
    bool ok = false;
    const int number = displayName.mid(dot + 1).toInt(&ok);
    return ok && number >= 0 ? number : 0;
}

namespace {

#ifdef TSLE_HAVE_XCB
bool X11SelectionHasOwner(xcb_connection_t* connection, const QByteArray& name) {
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 1, static_cast<uint16_t>(name.size()), name.constData()),
        nullptr);
    if (!atom)
        return false;
    const xcb_atom_t selection = atom->atom;
    std::free(atom);
    // Only if the atom exists: nobody can own a selection that was never named.
    if (selection == XCB_ATOM_NONE)
        return false;
    xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, selection), nullptr);
    if (!owner)
        return false;
    const bool hasOwner = owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    return hasOwner;
}
#endif

} // namespace

bool IsCompositingManagerRunning() {
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return true;
#ifdef TSLE_HAVE_XCB
    if (platform == QLatin1String("xcb")) {
        auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        if (!x11 || !x11->connection())
            return false;
        const int screen = X11ScreenNumber(qgetenv("DISPLAY"));
        return X11SelectionHasOwner(x11->connection(), "_NET_WM_CM_S" + QByteArray::number(screen));
    }
#endif
    return false;
}
