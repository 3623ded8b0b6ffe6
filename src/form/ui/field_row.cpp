#include "form/ui/field_row.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <initializer_list>

#include "fields/field_catalogue.h"
#include "fields/meta_field.h"
#include "resource_ids.h"

namespace {

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A multi-line box that shows the focus on its frame as the one-line boxes do
// (the styles mark a focused line edit, not a focused text area).
class CFieldTextEdit : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    bool event(QEvent* event) override {
        const bool handled = QPlainTextEdit::event(event);
        if (event->type() == QEvent::Paint && hasFocus()) {
            QPainter painter(this);
            painter.setPen(QPen(palette().color(QPalette::Highlight), frameWidth()));
            const int half = frameWidth() / 2;
            painter.drawRect(rect().adjusted(half, half, -half - 1, -half - 1));
        }
        return handled;
    }
};

} // namespace

CFieldRow::CFieldRow(const CMetaField& field, QWidget* canvas)
    : m_strName(field.GetName()), m_strButton(field.GetButton()), m_bEditable(field.IsEditable()),
      m_bMultiLine(field.IsMultiLine()), m_bDropDown(field.IsDropDown()) {
    const QString name = Text(field.GetName());
    QWidget* value = nullptr;
    if (field.IsDropDown()) {
        m_drop = new QComboBox(canvas);
        m_drop->setEditable(true);
        m_drop->setFocusPolicy(Qt::StrongFocus);
        // Typed text is the value as typed: no completion, no new entries.
        m_drop->setCompleter(nullptr);
        m_drop->setInsertPolicy(QComboBox::NoInsert);
        for (std::string_view choice : WINDOW_TARGET_CHOICES)
            m_drop->addItem(Text(choice));
        m_drop->setCurrentIndex(-1);
        m_drop->clearEditText();
        m_drop->lineEdit()->setAccessibleName(name);
        value = m_drop;
    } else if (field.IsMultiLine()) {
        m_text = new CFieldTextEdit(canvas);
        m_text->setTabChangesFocus(true);
        m_text->setReadOnly(!field.IsEditable());
        value = m_text;
    } else {
        m_line = new QLineEdit(canvas);
        m_line->setReadOnly(!field.IsEditable());
        value = m_line;
    }
    value->setAccessibleName(name);
    // A read-only box is reached with the mouse, not with Tab.
    if (!field.IsEditable())
        value->setFocusPolicy(Qt::ClickFocus);
    if (!field.GetButton().empty()) {
        const QString caption = Text(field.GetButton());
        m_button = new QPushButton(caption, canvas);
        m_button->setAccessibleName(caption + QLatin1Char(' ') + name);
        m_button->setAutoDefault(false);
    }
    m_actions = new QComboBox(canvas);
    m_actions->setFocusPolicy(Qt::StrongFocus); // not taken by the wheel
    const CTemplateActionList& list = field.GetActionList();
    for (int i = 0; i < list.GetCount(); ++i)
        m_actions->addItem(Text(list.GetText(i)), list.GetItemData(i));
    m_actions->setCurrentIndex(list.GetCurSel());
    m_actions->setAccessibleName(name + QStringLiteral(" template action"));
    for (QWidget* widget :
         {value, static_cast<QWidget*>(m_button.data()), static_cast<QWidget*>(m_actions.data())}) {
        if (widget)
            widget->hide();
    }
    SetBaseId(field.GetBaseId());
}

CFieldRow::~CFieldRow() {
    // The focus leaves while the widgets are whole, so that whoever follows
    // it hears of it now and not from a widget half destroyed.
    QWidget* focus = QApplication::focusWidget();
    for (int control : {CONTROL_VALUE, CONTROL_BUTTON, CONTROL_ACTION}) {
        QWidget* widget = Widget(control);
        if (widget && focus && (widget == focus || widget->isAncestorOf(focus)))
            focus->clearFocus();
    }
    delete m_line.data();
    delete m_text.data();
    delete m_drop.data();
    delete m_button.data();
    delete m_actions.data();
}

std::string CFieldRow::GetValue() const {
    if (m_line)
        return m_line->text().toStdString();
    if (m_text)
        return m_text->toPlainText().toStdString();
    if (m_drop)
        return m_drop->currentText().toStdString();
    return {};
}

void CFieldRow::SetValue(const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (m_line) {
        m_line->setText(value);
    } else if (m_text) {
        m_text->setPlainText(value);
    } else if (m_drop) {
        if (value.isEmpty()) {
            m_drop->setCurrentIndex(-1);
            m_drop->clearEditText();
            return;
        }
        // An entry equal to the text (case ignored) is chosen; other text
        // becomes an entry of its own.
        int index = m_drop->findText(value, Qt::MatchFixedString);
        if (index < 0) {
            m_drop->addItem(value);
            index = m_drop->count() - 1;
        }
        m_drop->setCurrentIndex(index);
        m_drop->setEditText(m_drop->itemText(index));
    }
}

int CFieldRow::GetAction() const {
    if (!m_actions || m_actions->currentIndex() < 0)
        return -1;
    return m_actions->currentData().toInt();
}

void CFieldRow::SetAction(int code) {
    if (m_actions)
        m_actions->setCurrentIndex(m_actions->findData(code));
}

int CFieldRow::HasSelection() const {
    if (m_line)
        return m_line->hasSelectedText() ? 1 : 0;
    if (m_text)
        return m_text->textCursor().hasSelection() ? 1 : 0;
    return 0;
}

int CFieldRow::CanUndo() const {
    if (m_line)
        return m_line->isUndoAvailable() ? 1 : 0;
    if (m_text)
        return m_text->document()->isUndoAvailable() ? 1 : 0;
    return 0;
}

void CFieldRow::Cut() {
    if (m_line)
        m_line->cut();
    else if (m_text)
        m_text->cut();
}

void CFieldRow::Copy() {
    if (m_line)
        m_line->copy();
    else if (m_text)
        m_text->copy();
}

void CFieldRow::Paste() {
    if (m_line)
        m_line->paste();
    else if (m_text)
        m_text->paste();
}

void CFieldRow::Undo() {
    if (m_line)
        m_line->undo();
    else if (m_text)
        m_text->undo();
}

QWidget* CFieldRow::Widget(int control) const {
    switch (control) {
    case CONTROL_VALUE:
        if (m_line)
            return m_line;
        if (m_text)
            return m_text;
        return m_drop;
    case CONTROL_BUTTON:
        return m_button;
    case CONTROL_ACTION:
        return m_actions;
    default:
        return nullptr;
    }
}

int CFieldRow::ControlOf(const QWidget* widget) const {
    for (int control : {CONTROL_VALUE, CONTROL_BUTTON, CONTROL_ACTION}) {
        const QWidget* own = Widget(control);
        if (own && widget && (own == widget || own->isAncestorOf(widget)))
            return control;
    }
    return -1;
}

void CFieldRow::Place(const CRowLayout* row, bool templateMode) {
    QWidget* value = Widget(CONTROL_VALUE);
    if (!row) {
        for (QWidget* widget : {value, static_cast<QWidget*>(m_button.data()),
                                static_cast<QWidget*>(m_actions.data())}) {
            if (widget)
                widget->hide();
        }
        return;
    }
    if (value) {
        value->setGeometry(row->valueBox);
        value->show();
    }
    if (m_button) {
        m_button->setGeometry(row->button);
        m_button->show();
    }
    if (m_actions) {
        m_actions->setGeometry(row->actionList);
        m_actions->setVisible(templateMode);
    }
}

void CFieldRow::SetBaseId(int baseId) {
    if (QWidget* value = Widget(CONTROL_VALUE))
        value->setObjectName(QStringLiteral("field_%1").arg(baseId));
    if (m_button)
        m_button->setObjectName(QStringLiteral("field_%1").arg(baseId + FIELD_BUTTON_OFFSET));
    if (m_actions)
        m_actions->setObjectName(QStringLiteral("field_%1").arg(baseId + FIELD_ACTION_OFFSET));
}

bool CFieldRow::Shows(const CMetaField& field) const {
    return m_strName == field.GetName() && m_strButton == field.GetButton() &&
           m_bEditable == field.IsEditable() && m_bMultiLine == field.IsMultiLine() &&
           m_bDropDown == field.IsDropDown();
}
