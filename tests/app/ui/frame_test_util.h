// A main window on the offscreen platform with everything it needs, answering
// the document's questions and file requests from a script.
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

#include "app/ui/main_frame.h"
#include "app/recent_file_list.h"
#include "document/file_picker.h"
#include "document/tessel_doc.h"
#include "page/user_prompt.h"
#include "settings/app_settings.h"
#include "settings/memory_profile.h"

// Messages are recorded; questions are answered in script order. A question
// nobody scripted is recorded in unexpected and answered Cancel.
class FramePrompt : public IUserPrompt {
public:
    void Info(const std::string& text) override { messages << QString::fromStdString(text); }
    Answer Ask(const std::string& text, Buttons) override {
        questions << QString::fromStdString(text);
        if (answers.empty()) {
            unexpected << QString::fromStdString(text);
            return ANSWER_CANCEL;
        }
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<Answer> answers;
    QStringList messages;
    QStringList questions;
    QStringList unexpected;
};

// Answers file requests in script order; an empty answer cancels.
class FramePicker : public IFilePicker {
public:
    QString Pick(const Request& request) override {
        requests.push_back(request);
        if (answers.empty())
            return {};
        const QString answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<QString> answers;
    std::vector<Request> requests;
};

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
    FramePrompt prompt;
    FramePicker picker;
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
