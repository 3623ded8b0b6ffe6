#include "assistants/ui/date_button.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleOption>
#include <qdrawutil.h>

#include "assistants/calendar_month.h"
#include "assistants/ui/calendar_popup.h"

namespace {
constexpr int kArrowWidth = 20; // the drop-down arrow at the right
}

CDateButton::CDateButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Expires date"));
    connect(this, &QAbstractButton::clicked, this, &CDateButton::OpenCalendar);
    Sync();
}

CDateButton::~CDateButton() {
    // Before this object is gone: the calendar's end reports back to it.
    delete m_popup.data();
}

void CDateButton::SetState(const DateButtonState& state) {
    if (m_popup)
        return;
    m_state = state;
    Sync();
}

void CDateButton::SetTime(CHttpTime time) {
    m_state.SetTime(time);
    Sync();
}

void CDateButton::Clear() {
    m_state.Clear();
    Sync();
}

void CDateButton::Sync() {
    const QString text = QString::fromStdString(m_state.Text());
    setText(text);
    setAccessibleDescription(text.isEmpty() ? QStringLiteral("No date") : text);
    setEnabled(m_state.IsEnabled());
    update();
}

CCalendarPopup* CDateButton::OpenCalendar() {
    if (m_popup || !m_state.IsEnabled())
        return m_popup;
    const CalendarRequest request = m_state.OnClicked();
    Sync();
    auto* popup = new CCalendarPopup(request.year, request.month, request.day, this);
    m_popup = popup;
    connect(popup, &CCalendarPopup::dateChosen, this, &CDateButton::OnDateChosen);
    connect(popup, &CCalendarPopup::closedWithoutChoice, this, &CDateButton::OnCalendarClosed);
    // However the calendar ends, the button must not stay disabled.
    connect(popup, &QObject::destroyed, this, &CDateButton::OnCalendarClosed);

    const QRect button(mapToGlobal(QPoint(0, 0)), size());
    const QScreen* screen = this->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    popup->move(area.isEmpty() ? button.bottomLeft() + QPoint(0, 1)
                               : CalendarPopupPosition(button, popup->size(), area));
    popup->show();
    if (!popup->isVisible()) {
        delete popup;
        return nullptr;
    }
    popup->setFocus(Qt::PopupFocusReason);
    emit calendarOpened(popup);
    return popup;
}

void CDateButton::OnDateChosen(int year, int monthDay) {
    m_state.OnDateChosen(year, monthDay);
    Sync();
    setFocus(Qt::PopupFocusReason);
}

void CDateButton::OnCalendarClosed() {
    if (m_state.IsEnabled())
        return;
    m_state.OnCalendarClosed();
    Sync();
    setFocus(Qt::PopupFocusReason);
}

QSize CDateButton::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    return {metrics.horizontalAdvance(QStringLiteral("30 September, 2026")) + kArrowWidth + 16,
            std::max(metrics.height() + 8, 22)};
}

void CDateButton::keyPressEvent(QKeyEvent* event) {
    // As in a drop-down list: F4 or Alt+Down opens the calendar.
    if (event->key() == Qt::Key_F4 ||
        (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier))) {
        OpenCalendar();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void CDateButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect all = rect();
    const QRect arrow(all.right() - kArrowWidth + 1, all.top(), kArrowWidth, all.height());
    const QRect textArea(all.left(), all.top(), all.width() - kArrowWidth, all.height());

    QStyleOptionButton box;
    box.initFrom(this);
    box.rect = arrow;
    if (isDown())
        box.state |= QStyle::State_Sunken;
    else
        box.state |= QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &box, &painter, this);
    QStyleOption arrowOption = static_cast<const QStyleOption&>(box); // the common part only
    arrowOption.rect = arrow.adjusted(4, 4, -4, -4);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrowOption, &painter, this);

    painter.fillRect(textArea, palette().color(QPalette::Base));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(textArea, Qt::AlignCenter | Qt::TextSingleLine, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = textArea.adjusted(2, 2, -2, -2);
        focus.backgroundColor = palette().color(QPalette::Base);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
    qDrawShadeRect(&painter, textArea, palette(), false, 1, 0);
}
