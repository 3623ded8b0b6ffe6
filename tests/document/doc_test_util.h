// The document's test fixture: a document with a scripted prompt and file
// picker (fakes/), an observer of its signals, and file helpers.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "document/tessel_doc.h"
#include "fakes/scripted_picker.h"
#include "fakes/scripted_prompt.h"
#include "fault_injection.h"
#include "settings/app_settings.h"

// Counts refreshes and remembers whether edits were tracked during them.
class RecordingObserver {
public:
    explicit RecordingObserver(CTesselDoc& doc) {
        QObject::connect(&doc, &CTesselDoc::updateAllViews, [this, &doc] {
            ++updates;
            trackedDuringUpdate = trackedDuringUpdate || doc.IsTrackingEdits();
        });
        QObject::connect(&doc, &CTesselDoc::initialUpdate, [this, &doc] {
            ++initialUpdates;
            trackedDuringUpdate = trackedDuringUpdate || doc.IsTrackingEdits();
        });
        QObject::connect(&doc, &CTesselDoc::stateChanged, [this] { ++stateChanges; });
        QObject::connect(&doc, &CTesselDoc::projectDirChanged, [this] { ++projectDirChanges; });
        QObject::connect(&doc, &CTesselDoc::fileUsed,
                         [this](const QString& path) { filesUsed << path; });
    }

    int updates = 0;
    int initialUpdates = 0;
    int stateChanges = 0;
    int projectDirChanges = 0;
    bool trackedDuringUpdate = false;
    QStringList filesUsed;
};

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A document in a temporary folder, with scripted answers; every test must use
// up the answers it scripted. Its saves normalize the head (the texts these
// tests expect); a test of the page's own style turns that off.
class DocFixture : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_appSettings.m_bNormalizeHead = true;
        m_doc.SetSettings(&m_appSettings);
        m_doc.SetPrompt(&m_prompt);
        m_doc.SetFilePicker(&m_picker);
        m_doc.OnNewDocument();
    }
    void TearDown() override {
        EXPECT_TRUE(m_prompt.answers.empty()) << "unused answers";
        EXPECT_TRUE(m_picker.answers.empty()) << "unused file answers";
        for (const std::string& question : m_prompt.unexpected)
            ADD_FAILURE() << "unexpected question: " << question;
        for (const QString& caption : m_picker.unexpected)
            ADD_FAILURE() << "unexpected file request: " << caption.toStdString();
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QString Write(const QString& name, const QByteArray& bytes) {
        WriteFile(Path(name), bytes);
        return Path(name);
    }

    QTemporaryDir m_dir;
    CAppSettings m_appSettings;
    ScriptedPrompt m_prompt;
    ScriptedPicker m_picker;
    CTesselDoc m_doc;
    RecordingObserver m_observer{m_doc};
};
