// The state of the Caps, Num and Scroll Lock keys, for the status bar.
//
// Qt has no call for it. On X11 the keyboard's indicator lights are read from
// the X server whenever a lock key is released or the program becomes active
// (another program may have changed them meanwhile). Elsewhere each lock key
// press flips the tracked state; that state starts as "off" and may be wrong
// until the keys are pressed while the program has the focus.
#pragma once

#include <QObject>

struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
    bool operator==(const LockKeys&) const = default;
};

class CLockKeyTracker : public QObject {
    Q_OBJECT

public:
    // Watches the key events of the whole application.
    explicit CLockKeyTracker(QObject* parent = nullptr);
    ~CLockKeyTracker() override;

    const LockKeys& State() const { return m_state; }
    // Whether the state comes from the X server rather than from tracking.
    bool IsFromServer() const { return m_fromServer; }

signals:
    void changed(const LockKeys& state);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refresh();
    void Set(const LockKeys& state);

    LockKeys m_state;
    bool m_fromServer = false;
};
