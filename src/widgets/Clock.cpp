#include "Clock.h"

namespace {

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

Clock *installedClock = nullptr;

} // namespace

Clock &Clock::current()
{
    static SystemClock system;
    return installedClock ? *installedClock : system;
}

void Clock::install(Clock *clock)
{
    installedClock = clock;
}
