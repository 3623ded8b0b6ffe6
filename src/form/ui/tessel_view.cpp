#include "form/ui/tessel_view.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "document/file_picker.h"
#include "document/tessel_doc.h"
#include "fields/field_groups.h"
#include "form/image_reference.h"
#include "form/ui/disk_change_bar.h"
#include "form/ui/field_assistants.h"
#include "form/ui/field_row.h"
#include "form/ui/form_canvas.h"
#include "form/ui/length_meter.h"
#include "resource_ids.h"
#include "snippet/search_font.h"

namespace {

QRect Scaled(const QRect& rect, double scale) {
    if (rect.isNull())
        return rect;
    return QRect(static_cast<int>(std::lround(rect.x() * scale)),
                 static_cast<int>(std::lround(rect.y() * scale)),
                 static_cast<int>(std::lround(rect.width() * scale)),
                 static_cast<int>(std::lround(rect.height() * scale)));
}

// Counts characters only, where no search font could be loaded (the
// meter then shows no pixels).
const ITextMeasurer& NoMeasurer() {
    static const class : public ITextMeasurer {
    public:
        double WidthPx(const QString&, int) const override { return 0; }
    } measurer;
    return measurer;
}

QPoint Scaled(const QPoint& point, double scale) {
    return QPoint(static_cast<int>(std::lround(point.x() * scale)),
                  static_cast<int>(std::lround(point.y() * scale)));
}

} // namespace

CTesselView::CTesselView(CTesselDoc& doc, IProfile& profile, CAppSettings& settings,
                         QWidget* parent)
    : QScrollArea(parent), m_doc(doc), m_profile(profile), m_settings(settings),
      m_form(std::make_unique<CFieldForm>(doc)) {
    setObjectName(QStringLiteral("metaDataView"));
    setAccessibleName(QStringLiteral("Meta-data"));
    setFocusPolicy(Qt::StrongFocus);
    setWidgetResizable(false);
    m_canvas = new CFormCanvas;
    setWidget(m_canvas);

    m_form->LoadSettings(m_profile, m_settings);
    m_form->SetMeters(true);
    m_measurer = CSearchFont::Instance();
    for (int pos : {0, 1}) {
        auto* meter = new CLengthMeter(m_canvas);
        meter->setObjectName(pos == 0 ? QStringLiteral("titleMeter")
                                      : QStringLiteral("descriptionMeter"));
        meter->setAccessibleName(pos == 0 ? QStringLiteral("title length")
                                          : QStringLiteral("description length"));
        meter->hide();
        m_meters[pos] = meter;
    }
    m_diskBar = new CDiskChangeBar(m_doc, this);
    connect(m_diskBar, &CDiskChangeBar::changed, this, &CTesselView::PlaceDiskChangeBar);
    PlaceDiskChangeBar();
    CreateTemplateBar();
    CreateMissingRows();

    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CTesselView::SyncRows);
    connect(&m_doc, &CTesselDoc::initialUpdate, this, &CTesselView::OnInitialUpdate);
    connect(&m_doc, &CTesselDoc::updateAllViews, this, &CTesselView::OnUpdate);
    connect(&m_doc, &CTesselDoc::stateChanged, this, [this] {
        // The template bar's state and the caption of its button follow the document.
        LayoutFields();
    });
    // Whatever page the document holds now is shown at once.
    OnInitialUpdate();
}

CTesselView::~CTesselView() {
    // The rows' widgets go first, while the view can still ignore what they report.
    m_bClosing = true;
    disconnect(&m_doc, nullptr, this, nullptr);
    m_form.reset();
}

void CTesselView::CreateTemplateBar() {
    // The bar's text is a label, so that screen readers read it.
    m_barText = new QLabel(m_canvas);
    m_barText->setObjectName(QStringLiteral("templateBarText"));
    m_barText->setTextFormat(Qt::PlainText);
    m_barText->hide();
    m_applyButton = new QPushButton(QStringLiteral("Apply"), m_canvas);
    m_applyButton->setObjectName(QStringLiteral("templateApply"));
    m_applyButton->setAccessibleName(m_applyButton->text());
    m_applyButton->setProperty("controlId", IDC_TEMPLATE_APPLY);
    m_editButton = new QPushButton(QStringLiteral("Edit template"), m_canvas);
    m_editButton->setObjectName(QStringLiteral("templateEdit"));
    m_editButton->setAccessibleName(m_editButton->text());
    m_editButton->setProperty("controlId", IDC_TEMPLATE_EDIT);
    for (QPushButton* button : {m_applyButton, m_editButton}) {
        button->setAutoDefault(false);
        button->hide();
        button->installEventFilter(this);
    }
    connect(m_applyButton, &QPushButton::clicked, this, [this] { m_doc.ApplyTemplate(); });
    connect(m_editButton, &QPushButton::clicked, this, [this] { m_doc.ToggleEditing(); });
}

// --- Following the document ------------------------------------------------------------------

void CTesselView::OnInitialUpdate() {
    const QString oldStatus = m_form->GetStatusText();
    m_form->OnInitialUpdate();
    CreateMissingRows();
    LayoutFields();
    UpdateMeters();
    emit valuesChanged();
    // Into the form only when the focus is already there: opening a page from
    // another pane leaves the focus where the user is.
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus == this || isAncestorOf(focus))
        FocusCurrentField(false);
    AfterFocusChange(oldStatus);
}

void CTesselView::OnUpdate() {
    m_form->OnUpdate();
    CreateMissingRows();
    LayoutFields();
    UpdateMeters();
    emit valuesChanged();
    emit commandStatesChanged();
}

void CTesselView::RefreshFields() {
    m_form->RefreshFields();
    CreateMissingRows();
    LayoutFields();
    // The limits or the site address may have changed in the options.
    UpdateMeters();
    emit valuesChanged();
    emit commandStatesChanged();
}

void CTesselView::CreateMissingRows() {
    CFieldList& fields = m_form->GetFields();
    for (int pos = 0; pos < fields.GetCount(); ++pos) {
        CMetaField& field = fields.GetAt(pos);
        if (const CFieldRow* row = RowAt(pos); row && !row->Shows(field)) {
            // Made for another definition: made again, keeping value and action.
            const std::string value = field.GetValue();
            const int action = field.GetAction();
            field.DestroyControls();
            field.SetValue(value);
            field.SetAction(action);
        }
        if (field.GetBaseId() == 0 || pos >= STANDARD_FIELD_COUNT)
            field.SetBaseId(CFieldForm::BaseId(pos));
        // The rows of a long form get their widgets as they come into view
        // (SyncRows): thousands of widgets would take seconds to make and paint.
        if (pos < EAGER_ROWS)
            CreateRow(pos);
    }
}

CFieldRow* CTesselView::CreateRow(int pos) {
    CMetaField& field = m_form->GetFields().GetAt(pos);
    if (field.IsCreated())
        return RowAt(pos);
    auto row = std::make_unique<CFieldRow>(field, m_canvas);
    CFieldRow* key = row.get();
    if (QLineEdit* line = row->LineEdit()) {
        connect(line, &QLineEdit::textChanged, this, [this, key] { OnValueChanged(key); });
        connect(line, &QLineEdit::selectionChanged, this, &CTesselView::commandStatesChanged);
    }
    if (QPlainTextEdit* text = row->TextEdit()) {
        connect(text, &QPlainTextEdit::textChanged, this, [this, key] { OnValueChanged(key); });
        connect(text, &QPlainTextEdit::selectionChanged, this, &CTesselView::commandStatesChanged);
        connect(text, &QPlainTextEdit::undoAvailable, this, &CTesselView::commandStatesChanged);
    }
    if (QComboBox* drop = row->DropDown())
        connect(drop, &QComboBox::editTextChanged, this, [this, key] { OnValueChanged(key); });
    if (QPushButton* button = row->Button())
        connect(button, &QPushButton::clicked, this, [this, key] { OnAssistantButton(key); });
    connect(row->ActionList(), &QComboBox::currentIndexChanged, this,
            [this, key] { OnActionChanged(key); });
    for (int control : {CONTROL_VALUE, CONTROL_BUTTON, CONTROL_ACTION}) {
        if (QWidget* widget = row->Widget(control))
            widget->installEventFilter(this);
    }
    m_form->AttachControls(pos, std::move(row));
    return key;
}

void CTesselView::EnsureRow(int pos) {
    if (pos < 0 || pos >= m_form->GetFields().GetCount() || RowAt(pos))
        return;
    CreateRow(pos);
    PlaceRow(pos);
}

// --- Layout
// ---------------------------------------------------------------------------------------

double CTesselView::Scale() const {
    return std::max(1.0, logicalDpiY() / 96.0);
}

void CTesselView::LayoutFields() {
    if (!m_form)
        return;
    const double scale = Scale();
    const int clientWidth = static_cast<int>(viewport()->width() / scale);
    m_layout = m_form->Layout(clientWidth);
    m_rowOf.assign(static_cast<size_t>(m_form->GetFields().GetCount()), -1);
    for (size_t i = 0; i < m_layout.rows.size(); ++i)
        m_rowOf[static_cast<size_t>(m_layout.rows[i].pos)] = static_cast<int>(i);

    if (m_layout.templateBar) {
        m_barText->setText(m_form->TemplateBarText());
        m_barText->setAccessibleName(m_barText->text());
        m_barText->adjustSize();
        m_barText->move(Scaled(m_layout.barText, scale));
        m_applyButton->setGeometry(Scaled(m_layout.applyButton, scale));
        m_editButton->setGeometry(Scaled(m_layout.editButton, scale));
        m_editButton->setText(m_form->EditButtonText());
        m_editButton->setAccessibleName(m_editButton->text());
        m_applyButton->setEnabled(m_form->IsApplyEnabled());
    }
    m_barText->setVisible(m_layout.templateBar);
    m_applyButton->setVisible(m_layout.templateBar);
    m_editButton->setVisible(m_layout.templateBar);

    const CFieldList& fields = m_form->GetFields();
    for (int pos = 0; pos < fields.GetCount(); ++pos)
        if (RowAt(pos))
            PlaceRow(pos);
    for (int pos : {0, 1}) {
        const int index =
            pos < static_cast<int>(m_rowOf.size()) ? m_rowOf[static_cast<size_t>(pos)] : -1;
        const QRect meter = index < 0 ? QRect() : m_layout.rows[static_cast<size_t>(index)].meter;
        m_meters[pos]->setVisible(!meter.isNull());
        if (!meter.isNull())
            m_meters[pos]->setGeometry(Scaled(meter, scale));
    }
    const QSize content = Scaled(QRect(QPoint(0, 0), m_layout.content), scale).size();
    m_canvas->resize(std::max(content.width(), viewport()->width()),
                     std::max(content.height(), viewport()->height()));
    SyncRows();
}

void CTesselView::PlaceRow(int pos) {
    CFieldRow* controls = RowAt(pos);
    if (!controls)
        return;
    const CMetaField& field = m_form->GetFields().GetAt(pos);
    controls->SetBaseId(field.GetBaseId());
    const int index =
        pos < static_cast<int>(m_rowOf.size()) ? m_rowOf[static_cast<size_t>(pos)] : -1;
    if (index < 0) {
        controls->Place(nullptr, false);
        return;
    }
    const double scale = Scale();
    const CRowLayout& place = m_layout.rows[static_cast<size_t>(index)];
    CRowLayout scaled = place;
    scaled.valueBox = Scaled(place.valueBox, scale);
    scaled.button = Scaled(place.button, scale);
    scaled.actionList = Scaled(place.actionList, scale);
    controls->Place(&scaled, m_doc.IsEditingTemplate());
}

void CTesselView::SyncRows() {
    if (!m_form)
        return;
    // The rows from a screen above the visible part to a screen below it
    // have widgets; those further away give theirs up, unless the user is in
    // them or Undo would go to them.
    const double scale = Scale();
    const int screen = static_cast<int>(viewport()->height() / scale);
    const int top = static_cast<int>(verticalScrollBar()->value() / scale);
    const int from = top - screen;
    const int to = top + 2 * screen;
    const auto first =
        std::lower_bound(m_layout.rows.begin(), m_layout.rows.end(), from,
                         [](const CRowLayout& row, int y) { return row.top + row.height < y; });
    CFormCanvas::Painting painting;
    painting.frameWidth = std::max(1, static_cast<int>(scale));
    painting.templateBar = m_layout.templateBar;
    painting.barBox = Scaled(m_layout.barBox, scale);
    const CFieldList& fields = m_form->GetFields();
    const bool editing = m_doc.IsEditingTemplate();
    for (auto it = first; it != m_layout.rows.end() && it->top <= to; ++it) {
        if (!RowAt(it->pos)) {
            CreateRow(it->pos);
            PlaceRow(it->pos);
        }
        painting.labels.emplace_back(Scaled(it->label, scale),
                                     QString::fromStdString(fields.GetAt(it->pos).GetName()));
        if (editing)
            painting.labels.emplace_back(Scaled(it->actionLabel, scale),
                                         QStringLiteral("Template action -"));
    }
    for (const CGroupHeading& heading : m_layout.headings)
        if (heading.at.y() >= from - GROUP_HEADING_HEIGHT && heading.at.y() <= to)
            painting.headings.emplace_back(Scaled(heading.at, scale), heading.text);
    m_canvas->SetPainting(std::move(painting));
    if (fields.GetCount() <= EAGER_ROWS)
        return;
    const QWidget* focus = QApplication::focusWidget();
    for (int pos = EAGER_ROWS; pos < fields.GetCount(); ++pos) {
        const CFieldRow* row = RowAt(pos);
        if (!row || pos == m_form->GetChangedField() || (focus && row->ControlOf(focus) >= 0))
            continue;
        const int index = m_rowOf[static_cast<size_t>(pos)];
        const CRowLayout* place = index >= 0 ? &m_layout.rows[static_cast<size_t>(index)] : nullptr;
        if (!place || place->top + place->height < from || place->top > to)
            m_form->GetFields().GetAt(pos).ReleaseControls();
    }
}

void CTesselView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    PlaceDiskChangeBar();
    LayoutFields();
}

void CTesselView::PlaceDiskChangeBar() {
    if (!m_diskBar)
        return;
    const int frame = frameWidth();
    const int barWidth = width() - 2 * frame;
    const int height = m_diskBar->isVisibleTo(this) ? std::max(m_diskBar->heightForWidth(barWidth),
                                                               m_diskBar->sizeHint().height())
                                                    : 0;
    if (height > 0)
        m_diskBar->setGeometry(frame, frame, barWidth, height);
    setViewportMargins(0, height, 0, 0);
}

// --- Rows
// -------------------------------------------------------------------------------------------

CFieldRow* CTesselView::RowAt(int pos) const {
    if (!m_form || pos < 0 || pos >= m_form->GetFields().GetCount())
        return nullptr;
    return static_cast<CFieldRow*>(m_form->GetFields().GetAt(pos).GetControls());
}

int CTesselView::PositionOf(const CFieldRow* row) const {
    if (!m_form)
        return -1;
    const CFieldList& fields = m_form->GetFields();
    for (int pos = 0; pos < fields.GetCount(); ++pos)
        if (fields.GetAt(pos).GetControls() == row)
            return pos;
    return -1;
}

QWidget* CTesselView::ControlWidget(int pos, int control) const {
    if (pos < 0) {
        if (control == CONTROL_APPLY)
            return m_applyButton;
        return control == CONTROL_EDIT_TEMPLATE ? m_editButton : nullptr;
    }
    const CFieldRow* row = RowAt(pos);
    return row ? row->Widget(control) : nullptr;
}

bool CTesselView::Locate(const QWidget* widget, TabStop& stop) const {
    if (!widget || !m_form)
        return false;
    if (widget == m_applyButton || widget == m_editButton) {
        stop = {-1, widget == m_applyButton ? CONTROL_APPLY : CONTROL_EDIT_TEMPLATE};
        return true;
    }
    const CFieldList& fields = m_form->GetFields();
    for (int pos = 0; pos < fields.GetCount(); ++pos) {
        const auto* row = static_cast<const CFieldRow*>(fields.GetAt(pos).GetControls());
        const int control = row ? row->ControlOf(widget) : -1;
        if (control >= 0) {
            stop = {pos, control};
            return true;
        }
    }
    return false;
}

// --- What the user does --------------------------------------------------------------------------

void CTesselView::OnValueChanged(const CFieldRow* row) {
    // Values put in while the rows are filled are no edits.
    if (m_bClosing || !m_doc.IsTrackingEdits())
        return;
    const int pos = PositionOf(row);
    m_form->OnValueChanged(pos);
    if (pos == 0 || pos == 1)
        UpdateMeters();
    emit valuesChanged();
    emit commandStatesChanged();
}

void CTesselView::SetMeasurer(const ITextMeasurer* measurer) {
    m_measurer = measurer;
    UpdateMeters();
}

CLengthMeter* CTesselView::Meter(int pos) const {
    return pos == 0 || pos == 1 ? m_meters[pos] : nullptr;
}

void CTesselView::UpdateMeters() {
    if (!m_form)
        return;
    for (int pos : {0, 1}) {
        const QString text = QString::fromStdString(m_form->GetFields().GetAt(pos).GetValue());
        const SnippetPart part = pos == 0 ? SnippetPart::TITLE : SnippetPart::DESCRIPTION;
        const CWidthMeter meter =
            MeasureSnippet(m_measurer ? *m_measurer : NoMeasurer(), m_settings.m_searchLimits, part,
                           SnippetDevice::DESKTOP, text);
        if (m_measurer)
            m_meters[pos]->SetMeter(meter);
        else
            m_meters[pos]->SetUnmeasured(meter, CSearchFont::MissingReason());
        // The box carries the figures and the verdict for a screen reader.
        if (QWidget* box = ControlWidget(pos, CONTROL_VALUE))
            box->setAccessibleDescription(m_meters[pos]->Text());
    }
}

void CTesselView::ChooseImage(int pos) {
    if (!m_imagePicker)
        return;
    IFilePicker::Request request;
    request.caption = QStringLiteral("Choose an image");
    request.filter = QStringLiteral(
        "Images (*.png;*.jpg;*.jpeg;*.gif;*.webp;*.svg)|*.png;*.jpg;*.jpeg;*.gif;*.webp;*.svg|"
        "All files (*.*)|*|");
    request.folderMustExist = true;
    const QString file = m_imagePicker->Pick(request);
    if (file.isEmpty())
        return;
    m_form->SetValueAsTyped(pos, ImageReference(m_doc.GetPathName(), file).toStdString());
}

void CTesselView::OnActionChanged(const CFieldRow* row) {
    if (m_bClosing)
        return;
    m_form->OnActionChanged(PositionOf(row));
}

void CTesselView::OnAssistantButton(const CFieldRow* row) {
    const int pos = PositionOf(row);
    if (pos < 0)
        return;
    if (ChoosesImage(m_form->GetFields().GetAt(pos))) {
        ChooseImage(pos);
        emit commandStatesChanged();
        return;
    }
    const int id = CFieldForm::AssistantButtonId(pos);
    if (!m_assistants || !m_assistants->HasAssistant(id)) {
        if (IUserPrompt* prompt = m_doc.GetPrompt())
            prompt->Info("Clicked button ID " + std::to_string(id) + ", no action setup!");
        return;
    }
    AssistantContext context;
    context.bodyText = m_form->GetPageBodyText();
    context.commonWords = m_strCommonWords;
    QString value = QString::fromStdString(m_form->GetFields().GetAt(pos).GetValue());
    if (!m_assistants->Run(id, this, context, value))
        return;
    // The list may have changed while the dialog was open.
    const int now = PositionOf(row);
    if (now >= 0)
        m_form->SetValueAsTyped(now, value.toStdString());
    emit commandStatesChanged();
}

bool CTesselView::eventFilter(QObject* watched, QEvent* event) {
    // The wheel scrolls the form; it changes a drop-down only once that has the focus.
    auto* combo = qobject_cast<QComboBox*>(watched);
    if (event->type() == QEvent::Wheel && combo && !combo->hasFocus()) {
        QApplication::sendEvent(viewport(), event);
        return true;
    }
    if (!m_bClosing && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        auto* focus = static_cast<QFocusEvent*>(event);
        OnFocusChange(qobject_cast<QWidget*>(watched), event->type() == QEvent::FocusIn,
                      focus->reason());
    }
    return QScrollArea::eventFilter(watched, event);
}

void CTesselView::OnFocusChange(QWidget* widget, bool in, Qt::FocusReason reason) {
    TabStop stop;
    if (!Locate(widget, stop) || stop.pos < 0)
        return;
    const QString oldStatus = m_form->GetStatusText();
    if (in) {
        m_form->OnControlEntered(stop.pos, stop.control);
        if (stop.control != CONTROL_BUTTON)
            EnsureFieldVisible(stop.pos);
    } else {
        // A menu or another window taking the focus for a while leaves the
        // field the target of the clipboard commands.
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason ||
            reason == Qt::MenuBarFocusReason)
            return;
        m_form->OnControlLeft(stop.pos, stop.control);
    }
    AfterFocusChange(oldStatus);
}

void CTesselView::AfterFocusChange(const QString& oldStatus) {
    if (m_form->GetStatusText() != oldStatus)
        emit statusTextChanged(m_form->GetStatusText());
    emit commandStatesChanged();
}

void CTesselView::EnsureFieldVisible(int pos) {
    const double scale = Scale();
    QScrollBar* bar = verticalScrollBar();
    const int scroll = static_cast<int>(bar->value() / scale);
    const int target =
        m_form->ScrollToShow(pos, scroll, static_cast<int>(viewport()->height() / scale));
    if (target != scroll)
        bar->setValue(static_cast<int>(std::lround(target * scale)));
}

void CTesselView::FocusCurrentField(bool toFirst) {
    const int pos = m_form->FocusTarget(toFirst);
    EnsureRow(pos);
    if (QWidget* widget = ControlWidget(pos, CONTROL_VALUE))
        widget->setFocus(Qt::OtherFocusReason);
}

void CTesselView::focusInEvent(QFocusEvent* event) {
    QScrollArea::focusInEvent(event);
    FocusCurrentField(false);
}

bool CTesselView::focusNextPrevChild(bool next) {
    const std::vector<TabStop> order = m_form->GetTabOrder();
    if (order.empty())
        return QScrollArea::focusNextPrevChild(next);
    TabStop from;
    TabStop to;
    if (Locate(QApplication::focusWidget(), from))
        to = NextTabStop(order, from, next);
    else
        to = next ? order.front() : order.back();
    EnsureRow(to.pos);
    QWidget* widget = ControlWidget(to.pos, to.control);
    if (!widget)
        return QScrollArea::focusNextPrevChild(next);
    widget->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

// --- Commands
// -----------------------------------------------------------------------------------------

void CTesselView::SaveSettings() {
    m_form->SaveSettings(m_profile, m_settings);
}

void CTesselView::Undo() {
    m_form->Undo();
    emit commandStatesChanged();
}

void CTesselView::Cut() {
    m_form->Cut();
    emit commandStatesChanged();
}

void CTesselView::Copy() {
    m_form->Copy();
    emit commandStatesChanged();
}

void CTesselView::Paste() {
    m_form->Paste();
    emit commandStatesChanged();
}

void CTesselView::ToggleDisplayAll() {
    m_form->ToggleDisplayAll();
    RefreshFields();
}

void CTesselView::ShowOptions() {
    if (m_assistants) {
        m_assistants->RunOptions(this, m_form->GetFields(), m_settings, [this] {
            RefreshFields();
            SaveSettings();
        });
    }
    RefreshFields();
    SaveSettings();
}
