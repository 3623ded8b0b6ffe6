#include "assistants/ui/calendar_popup.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>

#include "assistants/date_button_state.h"
#include "assistants/local_date.h"

namespace {

struct NavigationButton {
    int id;
    const char* caption;
    const char* name; // for screen readers, which cannot say "<<"
};
constexpr NavigationButton kButtons[4] = {
    {CALENDAR_PREV_YEAR, "<<", "Previous year"},
    {CALENDAR_PREV_MONTH, "<", "Previous month"},
    {CALENDAR_NEXT_YEAR, ">>", "Next year"},
    {CALENDAR_NEXT_MONTH, ">", "Next month"},
};

// The side of the square window: 250 pixels, more where the font needs it.
int PopupSide(const QFontMetrics& metrics) {
    return std::max(250, CALENDAR_ROWS * (metrics.height() + 10) + 2 * CALENDAR_MARGIN + 2);
}

} // namespace

CCalendarPopup::CCalendarPopup(int year, int month, int day, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint), m_state(year, month, day) {
    setAttribute(Qt::WA_DeleteOnClose);
    // The click that closes the pop-up is not passed on: on the date button it
    // would open the calendar again at once.
    setAttribute(Qt::WA_NoMouseReplay);
    setFocusPolicy(Qt::StrongFocus);
    setObjectName(QStringLiteral("calendar"));
    setAccessibleDescription(QStringLiteral("Calendar"));
    setFixedSize(PopupSide(fontMetrics()), PopupSide(fontMetrics()));
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(kButtons[i].caption), this);
        button->setObjectName(QString::number(kButtons[i].id));
        button->setAccessibleName(QString::fromLatin1(kButtons[i].name));
        // The keys keep working in the calendar after a click on a button.
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        const int id = kButtons[i].id;
        connect(button, &QPushButton::clicked, this, [this, id] { Apply(m_state.OnCommand(id)); });
        m_buttons[i] = button;
    }
    PlaceButtons();
    Announce();
}

CalendarGeometry CCalendarPopup::Geometry() const {
    return CalendarGeometry(width() - 2, height() - 2);
}

QRect CCalendarPopup::DayRect(int day) const {
    const CalendarMonth month = m_state.Shown();
    if (day < 0 || day >= month.DaysInMonth())
        return {};
    return Geometry().Cell(month.RowOfDay(day), month.ColumnOfDay(day)).translated(GridOffset());
}

void CCalendarPopup::PlaceButtons() {
    const CalendarGeometry geometry = Geometry();
    const QPoint offset = GridOffset();
    for (int i = 0; i < 4; ++i) {
        const int id = kButtons[i].id;
        const int row = id == CALENDAR_PREV_MONTH || id == CALENDAR_NEXT_MONTH ? 0 : 1;
        const bool left = id == CALENDAR_PREV_MONTH || id == CALENDAR_PREV_YEAR;
        const QRect cell = left ? geometry.Cell(row, 0) : geometry.RightCell(row);
        m_buttons[i]->setGeometry(cell.translated(offset));
    }
}

void CCalendarPopup::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceButtons();
}

void CCalendarPopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    const QColor background = colours.color(QPalette::ToolTipBase);
    const QColor text = colours.color(QPalette::ToolTipText);
    painter.fillRect(rect(), background);
    painter.setPen(colours.color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.translate(GridOffset());

    const CalendarGeometry geometry = Geometry();
    const CalendarMonth month = m_state.Shown();

    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setStyleHint(QFont::Serif);
    titleFont.setPointSize(12);
    painter.setFont(titleFont);
    painter.setPen(text);
    painter.drawText(geometry.TitleRect(), Qt::AlignCenter | Qt::TextSingleLine,
                     QString::fromStdString(month.Title()));

    painter.setFont(font());
    painter.drawLine(geometry.HeaderLineLeft(), geometry.HeaderLineY(), geometry.HeaderLineRight(),
                     geometry.HeaderLineY());
    for (int column = 0; column < CALENDAR_COLUMNS; ++column)
        painter.drawText(geometry.Cell(CALENDAR_HEADER_ROW, column).adjusted(1, 1, -1, -1),
                         Qt::AlignCenter, QString(QLatin1Char(WEEKDAY_LETTERS[column])));

    const LocalDate today = TodayLocalDate();
    const bool todayShown = today.year == month.Year() && today.month == month.Month();
    for (int day = 0; day < month.DaysInMonth(); ++day) {
        const QRect cell = geometry.Cell(month.RowOfDay(day), month.ColumnOfDay(day));
        const QRect inner = cell.adjusted(1, 1, -1, -1);
        const bool selected = day == m_state.Day();
        painter.fillRect(inner, selected ? colours.color(QPalette::Highlight) : background);
        painter.setPen(selected ? colours.color(QPalette::HighlightedText) : text);
        painter.drawText(inner, Qt::AlignCenter, QString::number(day + 1));
        if (todayShown && day == today.day) // today's mark: a frame round the cell
            painter.drawRect(inner.adjusted(1, 1, -2, -2));
    }
}

void CCalendarPopup::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (!rect().contains(point)) { // a click outside closes the pop-up
        QWidget::mousePressEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton)
        Apply(m_state.Press(Geometry().DayAtPoint(m_state.Shown(), point - GridOffset())));
}

void CCalendarPopup::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint() - GridOffset();
    const bool onDay = rect().contains(event->position().toPoint()) &&
                       Geometry().DayAtPoint(m_state.Shown(), point) >= 0;
    Apply(m_state.Release(onDay));
}

void CCalendarPopup::keyPressEvent(QKeyEvent* event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    CalendarKey key;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        key = CalendarKey::Enter;
        break;
    case Qt::Key_Escape:
        key = CalendarKey::Escape;
        break;
    case Qt::Key_PageUp:
        key = shift ? CalendarKey::PrevYear : CalendarKey::PageUp;
        break;
    case Qt::Key_PageDown:
        key = shift ? CalendarKey::NextYear : CalendarKey::PageDown;
        break;
    case Qt::Key_Left:
        key = CalendarKey::Left;
        break;
    case Qt::Key_Right:
        key = CalendarKey::Right;
        break;
    case Qt::Key_Up:
        key = CalendarKey::Up;
        break;
    case Qt::Key_Down:
        key = CalendarKey::Down;
        break;
    case Qt::Key_Home:
        key = CalendarKey::Home;
        break;
    case Qt::Key_End:
        key = CalendarKey::End;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    Apply(m_state.OnKey(key));
}

void CCalendarPopup::Apply(const CalendarUpdate& step) {
    switch (step.outcome) {
    case CalendarUpdate::CHOSEN:
        Choose();
        return;
    case CalendarUpdate::CLOSED:
        close();
        return;
    case CalendarUpdate::NONE:
        break;
    }
    if (step.wholeWindow) {
        update();
    } else if (step.oldDay != step.newDay) {
        update(DayRect(step.oldDay));
        update(DayRect(step.newDay));
    }
    if (step.wholeWindow || step.oldDay != step.newDay)
        Announce();
}

void CCalendarPopup::Choose() {
    if (m_bDone)
        return;
    m_bDone = true;
    emit dateChosen(m_state.ChosenWParam(), static_cast<int>(m_state.ChosenLParam()));
    close();
}

// Screen readers hear the selected date as the calendar's name.
void CCalendarPopup::Announce() {
    setAccessibleName(QString::fromStdString(
        DateButtonState::DateText(m_state.Year(), m_state.Month(), m_state.Day())));
}

void CCalendarPopup::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    // The focus went to another widget, not within the pop-up: close.
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus != this && !isAncestorOf(focus))
        close();
}

void CCalendarPopup::closeEvent(QCloseEvent* event) {
    if (!m_bDone) {
        m_bDone = true;
        emit closedWithoutChoice();
    }
    QWidget::closeEvent(event);
}
