// CDateButton: a push button that shows a date ("7 December, 2026", or
// nothing for no date) beside a drop-down arrow and, when clicked, drops down
// the month calendar to choose another. It stays disabled while its calendar
// is open.
#pragma once

#include <QAbstractButton>
#include <QPointer>

#include "assistants/date_button_state.h"
#include "assistants/ui/calendar_popup.h"

class CDateButton : public QAbstractButton {
    Q_OBJECT
public:
    // Holds and shows today's local date.
    explicit CDateButton(QWidget* parent = nullptr);
    ~CDateButton() override;

    const DateButtonState& State() const { return m_state; }
    // Takes the date and text of state (not while the calendar is open).
    void SetState(const DateButtonState& state);
    // Shows the local date of time.
    void SetTime(CHttpTime time);
    // Shows no date; the date held stays, so the calendar opens at it.
    void Clear();

    // Opens the calendar under the button (above or to the left of it where
    // the screen ends), as a click does. Returns it, or null when it could not
    // be shown (the button is then usable again).
    CCalendarPopup* OpenCalendar();
    // The open calendar, null when none is open.
    CCalendarPopup* Calendar() const { return m_popup; }

    QSize sizeHint() const override;

signals:
    void calendarOpened(CCalendarPopup* calendar);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Sync();
    void OnDateChosen(int year, int monthDay);
    void OnCalendarClosed();

    DateButtonState m_state;
    QPointer<CCalendarPopup> m_popup;
};
