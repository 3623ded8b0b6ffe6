#include "assistants/ui/preview_page_widget.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "assistants/ui/dialog_units.h"

CPreviewPageWidget::CPreviewPageWidget(CAppSettings& settings, const QString& projectDir,
                                       QWidget* parent)
    : COptionsPageWidget(parent), m_page(settings, ScriptFolderKey(projectDir)) {
    setObjectName(QStringLiteral("previewPage"));
    const CDialogUnits du(this);
    auto* scripts = new QGroupBox(QStringLiteral("Scripts of the page"), this);
    m_never = new QRadioButton(QStringLiteral("&Do not run scripts"), scripts);
    // The project by its folder's name; the whole path in the tool tip.
    const QString project = QString::fromStdString(m_page.GetProjectDir());
    const QString name = QFileInfo(project).fileName();
    m_project = new QRadioButton(
        project.isEmpty() ? QStringLiteral("Run scripts for this &project (no project folder open)")
                          : QStringLiteral("Run scripts for this &project (%1)")
                                .arg(name.isEmpty() ? project : name),
        scripts);
    m_project->setToolTip(QDir::toNativeSeparators(project));
    m_project->setEnabled(m_page.IsProjectScopeEnabled() != 0);
    m_thisRun = new QRadioButton(QStringLiteral("Run scripts &until TSLE closes"), scripts);
    auto* group = new QButtonGroup(this);
    const std::pair<QRadioButton*, const char*> choices[] = {
        {m_never, "scriptsNever"}, {m_project, "scriptsProject"}, {m_thisRun, "scriptsThisRun"}};
    auto* scriptsLayout = new QVBoxLayout(scripts);
    for (const auto& [button, name] : choices) {
        button->setObjectName(QString::fromLatin1(name));
        button->setAccessibleName(button->text().remove(QLatin1Char('&')));
        group->addButton(button);
        scriptsLayout->addWidget(button);
    }

    m_remote = new QCheckBox(
        QStringLiteral("Load &images, style sheets and fonts from the web (http, https)"), this);
    m_remote->setObjectName(QStringLiteral("remoteResources"));
    m_remote->setAccessibleName(m_remote->text().remove(QLatin1Char('&')));
    auto* note = new QLabel(
        QStringLiteral("A page in the preview loads files from its own folder, or from the "
                       "project folder it lies in, and nothing else from this computer. Its "
                       "scripts never read files and never reach the network."),
        this);
    note->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(du.X(7), du.Y(7), du.X(7), du.Y(7));
    layout->setSpacing(du.Y(4));
    layout->addWidget(scripts);
    layout->addWidget(m_remote);
    layout->addWidget(note);
    layout->addStretch(1);

    const std::pair<QRadioButton*, ScriptScope> scopes[] = {{m_never, ScriptScope::Never},
                                                            {m_project, ScriptScope::Project},
                                                            {m_thisRun, ScriptScope::ThisRun}};
    for (const auto& [button, scope] : scopes) {
        connect(button, &QRadioButton::toggled, this, [this, scope = scope](bool on) {
            if (on && m_page.SetScriptScope(scope) && m_page.IsModified())
                emit changed();
        });
    }
    connect(m_remote, &QCheckBox::toggled, this, [this](bool on) {
        m_page.SetRemoteResources(on);
        if (m_page.IsModified())
            emit changed();
    });
    Show();
}

void CPreviewPageWidget::Activate() {
    m_page.OnSetActive();
}

void CPreviewPageWidget::Show() {
    const QSignalBlocker blockNever(m_never), blockProject(m_project), blockRun(m_thisRun),
        blockRemote(m_remote);
    switch (m_page.GetScriptScope()) {
    case ScriptScope::Never:
        m_never->setChecked(true);
        break;
    case ScriptScope::Project:
        m_project->setChecked(true);
        break;
    case ScriptScope::ThisRun:
        m_thisRun->setChecked(true);
        break;
    }
    m_remote->setChecked(m_page.GetRemoteResources());
}
