#pragma once

#include <QDateTime>
#include <QtGlobal>

namespace vornak {

// The current time, a millisecond tick count and sleeping; tests install a clock that does not
// sleep and tells a fixed time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    virtual quint64 tickCount() const = 0;
    virtual void sleep(int milliseconds) = 0;

    static Clock &current();
    // Installs `clock` (not owned); nullptr restores the system clock.
    static void install(Clock *clock);
};

}  // namespace vornak
