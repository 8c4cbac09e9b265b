#pragma once

#include <QDateTime>

// The time of day, behind a seam so that tests can set it (reminders at
// hh:mm:00, order numbers, the week range, login times).
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;

    // The installed clock; without one, the system's.
    static Clock &current();
    // Does not take ownership; nullptr restores the system clock.
    static void install(Clock *clock);
};

inline QDateTime currentDateTime()
{
    return Clock::current().now();
}
inline QDate currentDate()
{
    return Clock::current().now().date();
}
