// CSplashWnd: the picture shown while the main window comes up.
//
// It closes after 750 milliseconds or at the first key or mouse press
// anywhere in the program, and that press does nothing else. At most one
// exists at a time; it deletes itself when it closes.
#pragma once

#include <QPointer>
#include <QSplashScreen>

// Its destructor is private: the splash deletes itself, nobody else may.
class CSplashWnd : public QSplashScreen { // NOLINT(cppcoreguidelines-virtual-class-destructor)
    Q_OBJECT

public:
    static constexpr int SPLASH_MILLISECONDS = 750;

    // Whether ShowSplashScreen shows anything (off for tools and tests).
    static void EnableSplashScreen(bool enable) { s_enabled = enable; }
    // Shows the splash centred over parent, unless it is disabled, one is
    // already up, or the picture is missing. Returns the splash or null.
    static CSplashWnd* ShowSplashScreen(QWidget* parent);
    static void HideSplashScreen();
    static CSplashWnd* Current() { return s_current; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CSplashWnd(const QPixmap& picture, QWidget* parent);
    ~CSplashWnd() override;

    QPointer<QWidget> m_parent;
    bool m_swallowKeyPress = false;
    static bool s_enabled;
    static QPointer<CSplashWnd> s_current;
};
