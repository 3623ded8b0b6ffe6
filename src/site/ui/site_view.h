// CSiteView: every page of a site folder in one table, with the audit's
// findings, a filter bar, editing in place, and the runs that write the edits,
// import and export tables, and undo earlier runs.
//
// The view shows and forwards: the rows, filters, edits and enable states are
// the model's (CSiteTableModel, SiteCommandState), the work is the session's
// (CSiteSession). Questions and messages go to an IUserPrompt, file names
// come from an IFilePicker, as the document's do. The progress of a scan or
// run (with its Cancel button) is a pane the main window puts in its status
// bar (ProgressPane).
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>

#include "document/file_picker.h"
#include "page/user_prompt.h"
#include "site/batch_history.h"
#include "site/site_commands.h"
#include "site/site_layout.h"

class CSiteSession;
class CTemplateValues;
class IProfile;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

class CSiteView : public QWidget {
    Q_OBJECT

public:
    CSiteView(CSiteSession& session, IProfile& profile, QWidget* parent = nullptr);
    ~CSiteView() override;

    void SetPrompt(IUserPrompt* prompt) { m_prompt = prompt; }
    void SetFilePicker(IFilePicker* picker) { m_picker = picker; }
    // Where "Apply template..." takes its template: fills values and returns
    // true, or false when there is none (then a template file is asked for).
    void SetTemplateSource(std::function<bool(CTemplateValues& values)> source) {
        m_templateSource = std::move(source);
    }

    CSiteSession& Session() const { return m_session; }
    QTableView* Table() const { return m_table; }
    QComboBox* ShowBox() const { return m_show; }
    QLineEdit* FilterBox() const { return m_filter; }
    QLabel* ChangedLabel() const { return m_changed; }
    QLabel* MessageLabel() const { return m_message; }
    QPushButton* Button(SiteCommand command) const;
    // The activity, progress bar and Cancel button, for a status bar.
    QWidget* ProgressPane() const { return m_progressPane; }

    // --- Commands (menus, keys and this view's buttons) ------------------------------
    SiteViewState State() const;
    bool IsEnabled(SiteCommand command) const;
    // Runs command when it is enabled. Returns whether it ran.
    bool Run(SiteCommand command);
    // Shows the site in folder root (asking first when edits would be lost).
    // Returns false when the user kept the site shown.
    bool OpenSite(const QString& root, const std::string& fileTypes);
    // Before the window closes: asks about edits not written. true: go on.
    bool MayClose();
    // The pages of the selected rows, in view order.
    std::vector<size_t> SelectedRows() const;
    // Reads the journal folder again (what Undo last batch offers).
    void ReadHistory();
    // Keeps the column layout in the profile.
    void SaveLayout();

signals:
    // Open the page at path in the editing view.
    void openPageRequested(const QString& path);
    // What the commands' enable states read changed.
    void stateChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateBars();
    void CreateTable();
    void CreateProgressPane();
    void ApplyLayout();
    void ShowHeaderMenu(const QPoint& at);
    void OnActivityChanged();
    void OnRunFinished();
    void ShowReport(const QString& done);
    void UpdateFilter();
    void UpdateButtons();
    void Say(const QString& text);
    bool Ask(const QString& text);

    void WriteChanges();
    void DiscardChanges();
    void SetValue();
    void ApplyTemplate();
    void OpenSelected();
    void UndoLast();
    void EarlierRuns();
    void ExportSite();
    void ImportSite();

    CSiteSession& m_session;
    IProfile& m_profile;
    IUserPrompt* m_prompt = nullptr;
    IFilePicker* m_picker = nullptr;
    std::function<bool(CTemplateValues&)> m_templateSource;
    CSiteLayout m_layout;
    CBatchHistory m_history;
    bool m_historyRead = false;

    QComboBox* m_show = nullptr;
    QLineEdit* m_filter = nullptr;
    QLabel* m_changed = nullptr;
    QLabel* m_message = nullptr;
    std::map<SiteCommand, QPushButton*> m_buttons;
    QTableView* m_table = nullptr;
    QWidget* m_progressPane = nullptr;
    QLabel* m_activity = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_cancel = nullptr;
    QTimer* m_filterDelay = nullptr;
};
