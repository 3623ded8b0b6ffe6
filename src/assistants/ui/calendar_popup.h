// CCalendarPopup: the month calendar the date button drops down. A painted
// pop-up window: navigation buttons and the title in the first two rows, the
// weekday letters, then six week rows; mouse and keys move the selection, and
// a choice or a close is reported through two signals. It deletes itself when
// it closes.
#pragma once

#include <QWidget>

#include "assistants/calendar_month.h"
#include "assistants/calendar_popup_state.h"

class QPushButton;

class CCalendarPopup : public QWidget {
    Q_OBJECT
public:
    // The month and day to show and select: month 1-12, day 1-31; -1 for any
    // of the three takes today's. parent is the date button that opens it.
    CCalendarPopup(int year, int month, int day, QWidget* parent);

    const CalendarPopupState& State() const { return m_state; }
    // Where a day of the shown month is drawn, in the pop-up's coordinates.
    QRect DayRect(int day) const;

signals:
    // A day was chosen: the year and (month + 1) * 100 + day, month and day
    // 0-based (7 December 2026 gives 2026 and 1206).
    void dateChosen(int year, int monthDay);
    // The pop-up closed without a choice (Escape, a click outside, the focus
    // went elsewhere).
    void closedWithoutChoice();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The grid lies inside a one-pixel border.
    CalendarGeometry Geometry() const;
    QPoint GridOffset() const { return {1, 1}; }
    void PlaceButtons();
    void Apply(const CalendarUpdate& step);
    void Choose();
    void Announce();

    CalendarPopupState m_state;
    QPushButton* m_buttons[4] = {};
    bool m_bDone = false;
};
