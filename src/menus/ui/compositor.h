// Whether a compositing manager runs, that is whether windows may be
// translucent and the desktop shows through them.
#pragma once

#include <QByteArray>

// On X11 a compositing manager owns the selection _NET_WM_CM_S<screen>;
// Wayland always composites; other platforms (offscreen, framebuffers) never.
// Asks the display server each time it is called.
bool IsCompositingManagerRunning();

// The X screen number in a display name such as ":0.1" or "host:10.0"
// (0 when it names none).
int X11ScreenNumber(const QByteArray& displayName);
