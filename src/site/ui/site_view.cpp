#include "site/ui/site_view.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "document/template_values.h"
#include "document/text_file.h"
#include "page/html_page.h"
#include "settings/profile.h"
#include "site/site_filter.h"
#include "site/site_session.h"
#include "site/ui/site_run_dialog.h"
#include "site/ui/site_runs_dialog.h"
#include "site/ui/site_value_dialog.h"

namespace {

// How long typing in the filter box rests before the rows are filtered.
constexpr int kFilterDelayMs = 200;

// Cells edited and not written stand out; rows whose page changed on disk
// meanwhile too. Editors are named after their column and page.
class CSiteCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(CSiteTableModel::EditedRole).toBool()) {
            option->font.setBold(true);
            option->backgroundBrush = QColor(255, 240, 180);
            option->palette.setColor(QPalette::Text, QColor(40, 40, 40));
        }
        if (index.data(CSiteTableModel::RowStateRole).toInt() !=
            static_cast<int>(SiteRowState::CURRENT)) {
            option->font.setItalic(true);
            option->palette.setColor(QPalette::Text, QColor(160, 30, 30));
        }
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (editor) {
            const QAbstractItemModel* model = index.model();
            const QString column =
                model->headerData(index.column(), Qt::Horizontal, Qt::DisplayRole).toString();
            const QString page = model->index(index.row(), 0).data().toString();
            editor->setAccessibleName(column + QStringLiteral(" of ") + page);
        }
        return editor;
    }
};

QPushButton* MakeButton(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAccessibleName(QString(text).remove(QLatin1Char('&')).remove(QStringLiteral("...")));
    button->setAutoDefault(false);
    return button;
}

int DefaultWidth(const CSiteViewColumn& column) {
    switch (column.kind) {
    case CSiteViewColumn::PATH:
        return 220;
    case CSiteViewColumn::FACT:
        return 90;
    case CSiteViewColumn::FINDINGS:
        return 360;
    case CSiteViewColumn::VALUE:
        break;
    }
    return column.value.kind == CSiteColumn::TITLE ? 260 : 200;
}

} // namespace

CSiteView::CSiteView(CSiteSession& session, IProfile& profile, QWidget* parent)
    : QWidget(parent), m_session(session), m_profile(profile) {
    setObjectName(QStringLiteral("siteView"));
    m_layout.Read(profile);
    CreateBars();
    CreateTable();
    CreateProgressPane();

    CSiteTableModel& model = m_session.Model();
    connect(&model, &CSiteTableModel::changedPagesChanged, this, [this](qulonglong pages) {
        m_changed->setText(CSiteTableModel::ChangedText(pages));
        m_changed->setAccessibleName(m_changed->text());
        UpdateButtons();
    });
    connect(&model, &CSiteTableModel::editRefused, this, [this](const QString& why) { Say(why); });
    connect(&model, &QAbstractItemModel::columnsInserted, this, &CSiteView::ApplyLayout);
    connect(&model, &QAbstractItemModel::modelReset, this, &CSiteView::ApplyLayout);
    connect(&model, &QAbstractItemModel::rowsInserted, this, &CSiteView::UpdateButtons);
    connect(&m_session, &CSiteSession::activityChanged, this, &CSiteView::OnActivityChanged);
    connect(&m_session, &CSiteSession::progress, this, [this](qint64 done, qint64 total) {
        if (total <= 0) {
            m_progress->setRange(0, 0);
            return;
        }
        m_progress->setRange(0, static_cast<int>(std::min<qint64>(total, INT_MAX)));
        m_progress->setValue(static_cast<int>(std::min<qint64>(done, INT_MAX)));
    });
    connect(&m_session, &CSiteSession::runFinished, this, &CSiteView::OnRunFinished);
    connect(&m_session, &CSiteSession::scanFinished, this, [this](bool cancelled) {
        const size_t pages = m_session.Model().Sheet().RowCount();
        m_message->setText(
            (pages == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(pages)) +
            (cancelled ? QStringLiteral(" read; stopped before the rest") : QString()));
        UpdateButtons();
    });
    // The journal folder is read when a menu or the view needs it, not while
    // the window starts.
    ApplyLayout();
    OnActivityChanged();
}

CSiteView::~CSiteView() = default;

void CSiteView::CreateBars() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(4);
    auto* bar = new QHBoxLayout;
    auto* showLabel = new QLabel(QStringLiteral("Sh&ow:"), this);
    m_show = new QComboBox(this);
    m_show->setObjectName(QStringLiteral("siteShow"));
    m_show->setAccessibleName(QStringLiteral("Show pages"));
    for (const CSiteFilterChoice& choice : SiteFilterChoices())
        m_show->addItem(choice.label);
    showLabel->setBuddy(m_show);
    auto* filterLabel = new QLabel(QStringLiteral("Fi&lter:"), this);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("siteFilter"));
    m_filter->setAccessibleName(QStringLiteral("Filter by text"));
    m_filter->setPlaceholderText(QStringLiteral("Path or value"));
    m_filter->setClearButtonEnabled(true);
    filterLabel->setBuddy(m_filter);
    m_filterDelay = new QTimer(this);
    m_filterDelay->setSingleShot(true);
    m_filterDelay->setInterval(kFilterDelayMs);
    connect(m_filterDelay, &QTimer::timeout, this, &CSiteView::UpdateFilter);
    connect(m_filter, &QLineEdit::textChanged, m_filterDelay, qOverload<>(&QTimer::start));
    connect(m_show, &QComboBox::currentIndexChanged, this, &CSiteView::UpdateFilter);
    bar->addWidget(showLabel);
    bar->addWidget(m_show);
    bar->addWidget(filterLabel);
    bar->addWidget(m_filter, 1);
    layout->addLayout(bar);
    // The commands on a row of their own, so that the filter keeps its room.
    bar = new QHBoxLayout;

    const struct {
        SiteCommand command;
        const char* text;
        const char* name;
    } buttons[] = {
        {SiteCommand::SET_VALUE, "Set val&ue...", "siteSetValue"},
        {SiteCommand::APPLY_TEMPLATE, "Appl&y template...", "siteApplyTemplate"},
        {SiteCommand::RESCAN, "Resca&n", "siteRescan"},
        {SiteCommand::DISCARD, "Discard chan&ges", "siteDiscard"},
        {SiteCommand::WRITE, "W&rite changes...", "siteWrite"},
    };
    for (const auto& entry : buttons) {
        QPushButton* button =
            MakeButton(QString::fromLatin1(entry.text), QString::fromLatin1(entry.name), this);
        const SiteCommand command = entry.command;
        connect(button, &QPushButton::clicked, this, [this, command] { Run(command); });
        m_buttons[command] = button;
        if (command == SiteCommand::DISCARD) {
            m_changed = new QLabel(this);
            m_changed->setObjectName(QStringLiteral("siteChanged"));
            bar->addStretch();
            bar->addWidget(m_changed);
        }
        bar->addWidget(button);
    }
    layout->addLayout(bar);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("siteMessage"));
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_message);
}

void CSiteView::CreateTable() {
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("sitePages"));
    m_table->setAccessibleName(QStringLiteral("Pages of the site"));
    m_table->setModel(&m_session.Model());
    m_table->setItemDelegate(new CSiteCellDelegate(m_table));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // A double click opens the page; typing or F2 edits the cell.
    m_table->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                             QAbstractItemView::SelectedClicked);
    m_table->setWordWrap(false);
    m_table->setAlternatingRowColors(true);
    m_table->setTextElideMode(Qt::ElideRight);
    // Every row as high as a line: the table never measures its rows.
    QHeaderView* rows = m_table->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    QHeaderView* header = m_table->horizontalHeader();
    header->setSectionsMovable(true);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QWidget::customContextMenuRequested, this, &CSiteView::ShowHeaderMenu);
    const int sortColumn = std::max(0, m_session.Model().Sheet().ColumnOf(m_layout.sortKey));
    header->setSortIndicator(sortColumn,
                             m_layout.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    connect(m_table, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit openPageRequested(QString::fromStdString(
                m_session.Model().FullPath(m_session.Model().RowAt(index.row()))));
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CSiteView::UpdateButtons);
    m_table->setContextMenuPolicy(Qt::DefaultContextMenu);
    m_table->installEventFilter(this);
    layout()->addWidget(m_table);
}

void CSiteView::CreateProgressPane() {
    m_progressPane = new QWidget(this);
    m_progressPane->setObjectName(QStringLiteral("siteProgressPane"));
    auto* layout = new QHBoxLayout(m_progressPane);
    layout->setContentsMargins(0, 0, 0, 0);
    m_activity = new QLabel(m_progressPane);
    m_activity->setObjectName(QStringLiteral("siteActivity"));
    m_progress = new QProgressBar(m_progressPane);
    m_progress->setObjectName(QStringLiteral("siteProgress"));
    m_progress->setAccessibleName(QStringLiteral("Progress"));
    m_progress->setMaximumWidth(200);
    m_progress->setTextVisible(false);
    m_cancel = MakeButton(QStringLiteral("Cancel"), QStringLiteral("siteCancel"), m_progressPane);
    connect(m_cancel, &QPushButton::clicked, this, [this] { Run(SiteCommand::CANCEL); });
    m_buttons[SiteCommand::CANCEL] = m_cancel;
    layout->addWidget(m_activity);
    layout->addWidget(m_progress);
    layout->addWidget(m_cancel);
    m_progressPane->hide();
}

QPushButton* CSiteView::Button(SiteCommand command) const {
    const auto it = m_buttons.find(command);
    return it == m_buttons.end() ? nullptr : it->second;
}

// --- Layout ----------------------------------------------------------------------------

void CSiteView::ApplyLayout() {
    const CSiteSheet& sheet = m_session.Model().Sheet();
    QHeaderView* header = m_table->horizontalHeader();
    for (int c = 0; c < sheet.ColumnCount(); ++c) {
        const CSiteViewColumn& column = sheet.Columns()[static_cast<size_t>(c)];
        header->setSectionHidden(c, !m_layout.IsShown(column));
        const CSiteLayout::Column* entry = m_layout.Find(column.Key());
        header->resizeSection(c, entry && entry->width > 0 ? entry->width : DefaultWidth(column));
    }
    int visual = 0;
    for (const CSiteLayout::Column& entry : m_layout.columns) {
        const int logical = sheet.ColumnOf(entry.key);
        if (logical < 0)
            continue;
        const int from = header->visualIndex(logical);
        if (from != visual)
            header->moveSection(from, visual);
        ++visual;
    }
}

void CSiteView::SaveLayout() {
    const CSiteSheet& sheet = m_session.Model().Sheet();
    const QHeaderView* header = m_table->horizontalHeader();
    CSiteLayout layout;
    for (int v = 0; v < header->count(); ++v) {
        const int c = header->logicalIndex(v);
        const CSiteViewColumn& column = sheet.Columns()[static_cast<size_t>(c)];
        layout.columns.append({column.Key(), !header->isSectionHidden(c), header->sectionSize(c)});
    }
    // Columns of other sites keep their entries.
    for (const CSiteLayout::Column& old : m_layout.columns) {
        if (!layout.Find(old.key))
            layout.columns.append(old);
    }
    const int sort = m_session.Model().SortColumn();
    if (sort >= 0 && sort < sheet.ColumnCount())
        layout.sortKey = sheet.Columns()[static_cast<size_t>(sort)].Key();
    layout.descending = m_session.Model().SortOrder() == Qt::DescendingOrder;
    m_layout = layout;
    m_layout.Write(m_profile);
}

void CSiteView::ShowHeaderMenu(const QPoint& at) {
    const CSiteSheet& sheet = m_session.Model().Sheet();
    QHeaderView* header = m_table->horizontalHeader();
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("siteColumnsMenu"));
    for (int v = 0; v < header->count(); ++v) {
        const int c = header->logicalIndex(v);
        QAction* action = menu.addAction(sheet.Columns()[static_cast<size_t>(c)].Label());
        action->setCheckable(true);
        action->setChecked(!header->isSectionHidden(c));
        connect(action, &QAction::toggled, this, [this, header, c](bool shown) {
            header->setSectionHidden(c, !shown);
            SaveLayout();
        });
    }
    menu.addSeparator();
    connect(menu.addAction(QStringLiteral("Standard columns")), &QAction::triggered, this, [this] {
        m_layout = CSiteLayout();
        ApplyLayout();
        SaveLayout();
    });
    menu.exec(header->mapToGlobal(at));
}

// --- State ------------------------------------------------------------------------------

SiteViewState CSiteView::State() const {
    SiteViewState state;
    state.hasSite = m_session.HasRoot();
    const CSiteSession::Activity activity = m_session.Current();
    state.scanning = activity == CSiteSession::Activity::SCANNING ||
                     activity == CSiteSession::Activity::REFRESHING;
    state.running = m_session.IsBusy() && !state.scanning;
    state.changedPages = m_session.Model().ChangedPages();
    const CSiteSheet& sheet = m_session.Model().Sheet();
    for (size_t row = 0; row < sheet.RowCount() && !state.discardable; ++row)
        state.discardable = sheet.State(row) != SiteRowState::CURRENT;
    state.selectedRows = m_table->selectionModel()->selectedRows().size();
    // Until the journal folder is read, Undo last batch reads it when asked.
    state.canUndo = !m_historyRead || m_history.LastUndoable() != nullptr;
    return state;
}

bool CSiteView::IsEnabled(SiteCommand command) const {
    return IsSiteCommandEnabled(command, State());
}

void CSiteView::UpdateButtons() {
    const SiteViewState state = State();
    for (const auto& [command, button] : m_buttons)
        button->setEnabled(IsSiteCommandEnabled(command, state));
    emit stateChanged();
}

void CSiteView::OnActivityChanged() {
    const bool busy = m_session.IsBusy();
    m_progressPane->setVisible(busy);
    m_activity->setText(m_session.ActivityText());
    m_progress->setRange(0, 0);
    m_cancel->setAccessibleName(busy
                                    ? QStringLiteral("Cancel ") + m_session.ActivityText().toLower()
                                    : QStringLiteral("Cancel"));
    UpdateButtons();
}

void CSiteView::UpdateFilter() {
    const std::vector<CSiteFilterChoice> choices = SiteFilterChoices();
    const int at = std::max(0, m_show->currentIndex());
    CSiteFilter filter;
    if (at < static_cast<int>(choices.size())) {
        filter.show = choices[static_cast<size_t>(at)].show;
        filter.finding = choices[static_cast<size_t>(at)].finding;
    }
    filter.text = m_filter->text().trimmed();
    m_session.Model().SetFilter(filter);
    UpdateButtons();
}

std::vector<size_t> CSiteView::SelectedRows() const {
    return m_session.Model().RowsOf(m_table->selectionModel()->selectedRows());
}

void CSiteView::ReadHistory() {
    m_history.Read();
    m_historyRead = true;
    UpdateButtons();
}

void CSiteView::Say(const QString& text) {
    m_message->setText(text);
    if (m_prompt)
        m_prompt->Info(text.toStdString());
}

bool CSiteView::Ask(const QString& text) {
    return m_prompt &&
           m_prompt->Ask(text.toStdString(), IUserPrompt::YES_NO) == IUserPrompt::ANSWER_YES;
}

// --- Commands -----------------------------------------------------------------------------

bool CSiteView::Run(SiteCommand command) {
    if (!IsEnabled(command)) {
        UpdateButtons();
        return false;
    }
    switch (command) {
    case SiteCommand::SHOW:
        break;
    case SiteCommand::WRITE:
        WriteChanges();
        break;
    case SiteCommand::DISCARD:
        DiscardChanges();
        break;
    case SiteCommand::SET_VALUE:
        SetValue();
        break;
    case SiteCommand::APPLY_TEMPLATE:
        ApplyTemplate();
        break;
    case SiteCommand::OPEN_PAGE:
        OpenSelected();
        break;
    case SiteCommand::RESCAN:
        m_session.Rescan();
        break;
    case SiteCommand::CANCEL:
        m_session.Cancel();
        break;
    case SiteCommand::UNDO_LAST:
        UndoLast();
        break;
    case SiteCommand::EARLIER_RUNS:
        EarlierRuns();
        break;
    case SiteCommand::EXPORT:
        ExportSite();
        break;
    case SiteCommand::IMPORT:
        ImportSite();
        break;
    }
    UpdateButtons();
    return true;
}

bool CSiteView::OpenSite(const QString& root, const std::string& fileTypes) {
    const QString clean = QDir::cleanPath(QDir(root).absolutePath());
    if (clean == m_session.Root() && m_session.HasRoot())
        return true;
    if (!MayClose())
        return false;
    m_message->clear();
    m_session.Open(clean, fileTypes);
    return true;
}

bool CSiteView::MayClose() {
    const size_t pages = m_session.Model().ChangedPages();
    if (pages == 0)
        return true;
    return Ask(QStringLiteral("%1 in the site view. Discard the changes?")
                   .arg(CSiteTableModel::ChangedText(pages)));
}

void CSiteView::WriteChanges() {
    m_message->setText(QStringLiteral("Comparing the pages with their changes..."));
    m_session.PlanWrite();
}

void CSiteView::DiscardChanges() {
    std::vector<size_t> rows = SelectedRows();
    // The selection's edits when it has any, else every edit.
    const CSiteSheet& sheet = m_session.Model().Sheet();
    const bool selectionEdited = std::any_of(rows.begin(), rows.end(), [&](size_t row) {
        return sheet.HasEdits(row) || sheet.State(row) != SiteRowState::CURRENT;
    });
    if (!selectionEdited)
        rows.clear();
    const size_t pages =
        rows.empty() ? m_session.Model().ChangedPages()
                     : static_cast<size_t>(std::count_if(rows.begin(), rows.end(), [&](size_t row) {
                           return sheet.HasEdits(row);
                       }));
    if (pages > 0 &&
        !Ask(pages == 1 ? QStringLiteral("Discard the changes of 1 page?")
                        : QStringLiteral("Discard the changes of %1 pages?").arg(pages)))
        return;
    m_session.Model().DiscardEdits(rows);
    // Pages marked changed on disk are read as they are now.
    m_session.Refresh();
}

void CSiteView::SetValue() {
    const std::vector<size_t> rows = SelectedRows();
    const CSiteSheet& sheet = m_session.Model().Sheet();
    QList<QPair<int, QString>> columns;
    for (int c = 0; c < sheet.ColumnCount(); ++c) {
        const CSiteViewColumn& column = sheet.Columns()[static_cast<size_t>(c)];
        if (column.IsEditable())
            columns.append({c, column.Label()});
    }
    const QModelIndex current = m_table->currentIndex();
    auto* dialog =
        new CSiteValueDialog(columns, current.isValid() ? current.column() : 1, rows.size(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog, rows] {
        QStringList failures;
        const size_t set =
            m_session.Model().SetCells(rows, dialog->Column(), dialog->Value(), failures);
        if (!failures.isEmpty())
            Say(QStringLiteral("%1 of %2 pages took the value; the others cannot hold it:\n")
                    .arg(set)
                    .arg(rows.size()) +
                failures.mid(0, 20).join(QLatin1Char('\n')));
        UpdateButtons();
    });
    dialog->open();
}

void CSiteView::ApplyTemplate() {
    CTemplateValues values;
    if (!m_templateSource || !m_templateSource(values)) {
        if (!m_picker)
            return;
        IFilePicker::Request request;
        request.kind = IFilePicker::OPEN_FILE;
        request.caption = QStringLiteral("Apply template");
        request.filter = QStringLiteral("Meta-tag template files (*.mtpl)|*.mtpl||");
        request.folderMustExist = true;
        const QString file = m_picker->Pick(request);
        if (file.isEmpty())
            return;
        std::string text;
        QString error;
        if (!LoadTextFile(file, text, error)) {
            Say(file + QStringLiteral(": ") + error);
            return;
        }
        CHtmlPage templ;
        templ.SetText(std::move(text), BodyMode::REBUILD);
        values.Read(templ);
    }
    const std::vector<size_t> rows = SelectedRows();
    QStringList failures;
    const size_t applied = m_session.Model().ApplyTemplate(rows, values, failures);
    m_message->setText(applied == 1
                           ? QStringLiteral("The template was merged into 1 page.")
                           : QStringLiteral("The template was merged into %1 pages.").arg(applied));
    if (!failures.isEmpty())
        Say(QStringLiteral("%1 pages did not take the template:\n").arg(failures.size()) +
            failures.mid(0, 20).join(QLatin1Char('\n')));
}

void CSiteView::OpenSelected() {
    const std::vector<size_t> rows = SelectedRows();
    if (rows.size() == 1)
        emit openPageRequested(QString::fromStdString(m_session.Model().FullPath(rows.front())));
}

void CSiteView::UndoLast() {
    ReadHistory();
    const CBatchRun* run = m_history.LastUndoable();
    if (!run) {
        Say(QStringLiteral("No run is left to undo."));
        return;
    }
    if (!Ask(CBatchHistory::UndoQuestion(*run)))
        return;
    m_session.Undo(run->journal);
}

void CSiteView::EarlierRuns() {
    ReadHistory();
    auto* dialog = new CSiteRunsDialog(m_history, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        const QString journal = dialog->Journal();
        if (!journal.isEmpty() && !m_session.Undo(journal))
            Say(m_session.LastReport().error.isEmpty()
                    ? QStringLiteral("Another run is busy; try again when it has ended.")
                    : m_session.LastReport().error);
    });
    dialog->open();
}

void CSiteView::ExportSite() {
    if (!m_picker)
        return;
    IFilePicker::Request request;
    request.kind = IFilePicker::SAVE_FILE;
    request.caption = QStringLiteral("Export site");
    request.filter = QStringLiteral("CSV tables (*.csv)|*.csv|All files (*)|*||");
    request.defaultExtension = QStringLiteral("csv");
    request.initialName = QFileInfo(m_session.Root()).fileName() + QStringLiteral(".csv");
    request.confirmOverwrite = true;
    const QString file = m_picker->Pick(request);
    if (file.isEmpty())
        return;
    if (m_session.Model().ChangedPages() > 0)
        m_message->setText(QStringLiteral("The table holds the pages as written on disk; the "
                                          "changes not saved are not in it."));
    m_session.Export(file);
}

void CSiteView::ImportSite() {
    if (!m_picker)
        return;
    IFilePicker::Request request;
    request.kind = IFilePicker::OPEN_FILE;
    request.caption = QStringLiteral("Import site");
    request.filter = QStringLiteral("CSV tables (*.csv)|*.csv|All files (*)|*||");
    request.folderMustExist = true;
    const QString file = m_picker->Pick(request);
    if (file.isEmpty())
        return;
    m_session.PlanImport(file);
}

void CSiteView::OnRunFinished() {
    const CSiteRunReport& report = m_session.LastReport();
    const bool plan =
        report.dryRun && report.error.isEmpty() && !report.cancelled &&
        (report.kind == CSiteRunReport::WRITE || report.kind == CSiteRunReport::IMPORT);
    if (plan) {
        m_message->setText(report.Summary());
        auto* dialog = new CSiteRunDialog(report, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        const bool import = report.kind == CSiteRunReport::IMPORT;
        connect(dialog, &QDialog::accepted, this, [this, import] {
            if (import)
                m_session.Import();
            else
                m_session.Write();
        });
        dialog->open();
        return;
    }
    if (report.kind != CSiteRunReport::EXPORT)
        ReadHistory();
    if (!report.error.isEmpty()) {
        Say(report.error);
        return;
    }
    QString done = report.Summary();
    if (report.kind == CSiteRunReport::EXPORT)
        done = QStringLiteral("%1: %2").arg(report.file, done);
    else if (!report.journal.isEmpty())
        done += QStringLiteral(". Edit > Undo last batch puts the pages back.");
    ShowReport(done);
}

void CSiteView::ShowReport(const QString& done) {
    const CSiteRunReport& report = m_session.LastReport();
    m_message->setText(done);
    if (report.conflicts || report.failed || !report.problems.isEmpty()) {
        auto* dialog = new CSiteRunDialog(report, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    }
}

bool CSiteView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_table && event->type() == QEvent::ContextMenu) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        QMenu menu(this);
        menu.setObjectName(QStringLiteral("sitePagesMenu"));
        const struct {
            SiteCommand command;
            const char* text;
        } items[] = {{SiteCommand::OPEN_PAGE, "&Open page"},
                     {SiteCommand::SET_VALUE, "Set val&ue..."},
                     {SiteCommand::APPLY_TEMPLATE, "Appl&y template..."},
                     {SiteCommand::DISCARD, "Discard chan&ges"}};
        for (const auto& item : items) {
            QAction* action = menu.addAction(QString::fromLatin1(item.text));
            action->setEnabled(IsEnabled(item.command));
            const SiteCommand command = item.command;
            connect(action, &QAction::triggered, this, [this, command] { Run(command); });
        }
        menu.exec(menuEvent->globalPos());
        return true;
    }
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::ControlModifier) {
            Run(SiteCommand::OPEN_PAGE);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
