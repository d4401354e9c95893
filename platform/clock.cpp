#include "platform/clock.h"

#include <QElapsedTimer>
#include <QThread>

namespace vornak {

namespace {

class SystemClock final : public Clock {
public:
    SystemClock() { timer_.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    quint64 tickCount() const override { return quint64(timer_.elapsed()); }
    void sleep(int milliseconds) override { QThread::msleep(ulong(milliseconds)); }

private:
    QElapsedTimer timer_;
};

Clock *installed = nullptr;

}  // namespace

Clock &Clock::current()
{
    static SystemClock system;
    return installed ? *installed : system;
}

void Clock::install(Clock *clock)
{
    installed = clock;
}

}  // namespace vornak
