#pragma once

#include <QRandomGenerator>
#include <QtGlobal>

namespace vornak::testing {

// The seed of a test's random moments: the one the environment variable `variable` gives, to
// replay a run, or a fresh one.
inline quint32 replayableSeed(const char *variable)
{
    bool given = false;
    const quint32 seed = qEnvironmentVariable(variable).toUInt(&given);
    return given ? seed : QRandomGenerator::global()->generate();
}

}  // namespace vornak::testing
