// A main window on the offscreen platform with everything it needs, answering
// the document's questions and file requests from a script (fakes/).
#pragma once

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/recent_file_list.h"
#include "app/ui/main_frame.h"
#include "document/tessel_doc.h"
#include "fakes/scripted_picker.h"
#include "fakes/scripted_prompt.h"
#include "settings/app_settings.h"
#include "settings/memory_profile.h"

// What the prompt recorded, as Qt strings to compare and print.
inline QStringList Texts(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts)
        list << QString::fromStdString(text);
    return list;
}

// The objects the application owns, around one main window.
struct FrameRig {
    explicit FrameRig(CMemoryProfile* sharedProfile = nullptr)
        : profile(sharedProfile ? sharedProfile : &ownProfile) {
        doc.SetPrompt(&prompt);
        doc.SetFilePicker(&picker);
        doc.SetSettings(&settings);
        recent.ReadList(*profile);
        frame = std::make_unique<CMainFrame>(doc, *profile, settings, recent);
        frame->SetPrompt(&prompt);
        frame->SetFilePicker(&picker);
        frame->RestoreWindowState();
        doc.OnNewDocument();
        doc.InitialUpdate();
    }
    void Show() {
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    }
    QAction* Action(int id) const { return frame->Action(id); }
    // Triggers the command as a click on its menu item would.
    void Run(int id) {
        QAction* action = frame->Action(id);
        QVERIFY2(action, qPrintable(QString::number(id)));
        QVERIFY2(action->isEnabled(), qPrintable(action->text()));
        action->trigger();
    }
    QMenu* Menu(const QString& name) const {
        return frame->menuBar()->findChild<QMenu*>(name + QStringLiteral("Menu"));
    }

    CMemoryProfile ownProfile;
    CMemoryProfile* profile;
    CAppSettings settings;
    CRecentFileList recent;
    ScriptedPrompt prompt;
    ScriptedPicker picker;
    CTesselDoc doc;
    std::unique_ptr<CMainFrame> frame;
};

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
