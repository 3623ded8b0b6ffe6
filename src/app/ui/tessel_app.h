// CTesselApp: the desktop program's application object.
//
// It owns what lives as long as the program: the profile, the application's
// settings, the recent-file list, the page document, the prompt and file
// dialogs the document uses, and the main window. InitInstance runs the
// start-up sequence; ExitInstance writes what is kept between runs.
#pragma once

#include <QApplication>
#include <memory>

#include "app/recent_file_list.h"
#include "app/startup_options.h"
#include "app/ui/file_dialog_picker.h"
#include "app/ui/message_box_prompt.h"
#include "settings/app_settings.h"

class CMainFrame;
class CSettingsProfile;
class CTesselDoc;

class CTesselApp : public QApplication {
    Q_OBJECT

public:
    CTesselApp(int& argc, char** argv);
    ~CTesselApp() override;

    // The program's name, version and organisation (which names the
    // profile); also before the object exists, for --version.
    static void SetIdentity();

    // Start-up in order: the command line; the profile; the menu style; the
    // recent-file list; the document and the main window (whose editing view
    // reads the settings); the first document; then the window is shown with
    // the splash over it. Returns -1 when the event loop is to run, else the
    // exit status (help, version, a bad command line).
    int InitInstance();
    // After the event loop: the profile reaches its file.
    int ExitInstance(int status);

    CMainFrame* MainFrame() const { return m_frame.get(); }
    CTesselDoc* Document() const { return m_doc.get(); }
    const StartupOptions& Options() const { return m_options; }

private:
    void InstallMenuStyle();
    void WatchFirstPaint();

    StartupOptions m_options;
    std::unique_ptr<CSettingsProfile> m_profile;
    CAppSettings m_settings;
    CRecentFileList m_recent;
    CMessageBoxPrompt m_prompt;
    CFileDialogPicker m_picker;
    std::unique_ptr<CTesselDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
};
