#include "app/ui/tessel_app.h"

#include <QIcon>
#include <QTimer>
#include <QWindow>
#include <cstdio>

#include "app/ui/main_frame.h"
#include "app/ui/screenshot.h"
#include "app/ui/splash_wnd.h"
#include "document/tessel_doc.h"
#include "menus/ui/flat_style_install.h"
#include "settings/settings_profile.h"

namespace {

// For unattended runs (screenshots): questions get Yes, messages go to stderr.
class CUnattendedPrompt : public IUserPrompt {
public:
    void Info(const std::string& text) override {
        std::fprintf(stderr, "tsle: %s\n", text.c_str());
    }
    Answer Ask(const std::string& text, Buttons buttons) override {
        std::fprintf(stderr, "tsle: %s (answered yes)\n", text.c_str());
        return buttons == OK ? ANSWER_OK : ANSWER_YES;
    }
};

CUnattendedPrompt g_unattendedPrompt;

// Prints "first-paint" once the window has been exposed and painted, then
// ends the event loop (the start-up benchmark reads the line).
class CFirstPaintWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && !m_done) {
            const auto* window = qobject_cast<QWindow*>(watched);
            if (window && window->isExposed()) {
                m_done = true;
                // The expose is handled (and the window painted) before this runs.
                QTimer::singleShot(0, this, [] {
                    std::fputs("first-paint\n", stdout);
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

} // namespace

void CTesselApp::SetIdentity() {
    setApplicationName(QStringLiteral("TSLE"));
    setApplicationVersion(QStringLiteral(TSLE_APP_VERSION));
    setOrganizationName(QString::fromLatin1(PROFILE_ORGANIZATION));
}

CTesselApp::CTesselApp(int& argc, char** argv) : QApplication(argc, argv) {
    SetIdentity();
    setDesktopFileName(QStringLiteral("tsle"));
    // The compiled-in icon: looking it up in the icon theme costs the first
    // window some milliseconds, and desktops take their own from tsle.desktop.
    setWindowIcon(QIcon(QStringLiteral(":/icons/tsle.png")));
}

CTesselApp::~CTesselApp() {
    // The window and its view go before the document and the profile they use.
    m_frame.reset();
    m_doc.reset();
    m_profile.reset();
}

int CTesselApp::InitInstance() {
    QString output;
    const int status = ParseStartupOptions(arguments(), m_options, output);
    if (status >= 0) {
        std::fputs(qPrintable(output), status == 0 ? stdout : stderr);
        return status;
    }
    m_profile = std::make_unique<CSettingsProfile>();
    InstallMenuStyle(); // it reads its colours from the profile
    m_recent.ReadList(*m_profile);

    m_doc = std::make_unique<CTesselDoc>();
    m_doc->SetSettings(&m_settings);
    m_doc->SetFilePicker(&m_picker);
    const bool unattended = !m_options.screenshotScene.isEmpty();
    m_doc->SetPrompt(unattended ? static_cast<IUserPrompt*>(&g_unattendedPrompt) : &m_prompt);
    m_frame = std::make_unique<CMainFrame>(*m_doc, *m_profile, m_settings, m_recent);
    m_frame->SetPrompt(unattended ? static_cast<IUserPrompt*>(&g_unattendedPrompt) : &m_prompt);
    m_frame->SetFilePicker(&m_picker);
    m_prompt.SetParent(m_frame.get());
    m_picker.SetParent(m_frame.get());
    m_frame->SetImagePicker(&m_picker);
    connect(m_doc.get(), &CTesselDoc::fileUsed, this,
            [this](const QString& path) { m_picker.NoteFileUsed(path); });
    connect(m_frame.get(), &CMainFrame::settingsStored, this, [this] { m_profile->Sync(); });

    if (unattended)
        m_frame->resize(SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT);
    else
        m_frame->RestoreWindowState();

    // The first document, before the window is first shown, then the project
    // folder in the file browser.
    OpenStartupDocument(*m_doc, m_options);
    if (!m_options.siteDir.isEmpty())
        m_frame->OpenSiteView(m_options.siteDir);
    else if (!m_options.projectDir.isEmpty())
        m_frame->OpenProjectDir(m_options.projectDir);

    if (m_options.reportFirstPaint)
        WatchFirstPaint();
    m_frame->show();
    CSplashWnd::EnableSplashScreen(m_options.splash);
    CSplashWnd::ShowSplashScreen(m_frame.get());
    if (unattended) {
        const QString scene = m_options.screenshotScene;
        const QString file = m_options.screenshotFile;
        QTimer::singleShot(0, m_frame.get(),
                           [this, scene, file] { TakeScreenshot(*m_frame, *m_doc, scene, file); });
    }
    return -1;
}

int CTesselApp::ExitInstance(int status) {
    if (m_profile)
        m_profile->Sync();
    return status;
}

void CTesselApp::InstallMenuStyle() {
    // Application-wide, before any window exists; the colours are read from
    // the profile this once.
    InstallFlatStyle(nullptr, *m_profile);
}

void CTesselApp::WatchFirstPaint() {
    m_frame->winId(); // the native window exists from here on
    m_frame->windowHandle()->installEventFilter(new CFirstPaintWatcher(m_frame.get()));
}
