// Test doubles for the document: a prompt and a file picker that answer from a
// script and record what they were asked, and file helpers.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <fcntl.h>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "document/file_picker.h"
#include "document/tessel_doc.h"
#include "page/user_prompt.h"
#include "settings/app_settings.h"

// Messages are recorded; questions are answered in script order. A question
// nobody scripted fails the test and gets Cancel.
class ScriptedPrompt : public IUserPrompt {
public:
    void Info(const std::string& text) override { messages.push_back(text); }
    Answer Ask(const std::string& text, Buttons buttons) override {
        questions.push_back(text);
        buttonsAsked.push_back(buttons);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return ANSWER_CANCEL;
        }
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<Answer> answers;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<Buttons> buttonsAsked;
};

// Answers file and folder requests in script order; an empty answer cancels.
class ScriptedPicker : public IFilePicker {
public:
    QString Pick(const Request& request) override {
        requests.push_back(request);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected file request: " << request.caption.toStdString();
            return {};
        }
        const QString answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<QString> answers;
    std::vector<Request> requests;
};

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

// Makes a folder refuse new files for as long as the object lives: by its
// mode for ordinary users, by the immutable flag for root (whom modes do not
// stop). ok() is false when neither is possible here.
class UnwritableDir {
public:
    explicit UnwritableDir(const QString& dir) : m_path(QFile::encodeName(dir).toStdString()) {
        if (::geteuid() != 0) {
            m_ok = ::chmod(m_path.c_str(), 0555) == 0;
            return;
        }
        m_fd = ::open(m_path.c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (m_fd >= 0 && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            m_ok = ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
    }
    ~UnwritableDir() {
        if (::geteuid() != 0) {
            ::chmod(m_path.c_str(), 0755);
        } else if (m_fd >= 0) {
            int flags = 0;
            if (::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags);
            }
            ::close(m_fd);
        }
    }
    UnwritableDir(const UnwritableDir&) = delete;
    UnwritableDir& operator=(const UnwritableDir&) = delete;
    bool ok() const { return m_ok; }

private:
    std::string m_path;
    int m_fd = -1;
    bool m_ok = false;
};

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
