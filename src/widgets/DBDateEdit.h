#pragma once

#include "DBEdit.h"

class QAction;
class QCalendarWidget;
class QFrame;
class QPushButton;

// A date box that may be empty. Dates are typed as yyyy-MM-dd or in the
// locale's short format, or picked from a drop-down calendar (its button,
// F4 or Alt+Down) whose buttons "清除", "现在" and "今天" clear the field or
// set it to the Clock's time or date. An emptied box stores NULL.
class DBDateEdit : public DBEdit
{
    Q_OBJECT
public:
    DBDateEdit(data::DataSource *source, const QString &fieldName, QWidget *parent = nullptr);

    // Opens the drop-down calendar, unless the box is read-only.
    void showCalendar();
    // The drop-down calendar (a popup window), for whoever needs to drive it.
    QFrame *calendarPopup() const { return m_popup; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showField() override;

private:
    void pick(const QVariant &value);

    QAction *m_dropDown;
    QFrame *m_popup;
    QCalendarWidget *m_calendar;
};
