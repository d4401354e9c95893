#pragma once

// Finding the aggregate calls (SUM, AVG, MIN, MAX, COUNT) written in an expression text, so that
// the band engine can accumulate their values while the data rows are printed.

#include <QList>
#include <QString>
#include <QStringList>

namespace vornak {

struct AggregateCall {
    QString function;       // as written: "SUM", "count"
    QStringList arguments;  // the argument texts as written, split at top-level commas
    QString callText;       // the whole call, trimmed: "SUM(<Source1."s2">,MasterData1)"
};

// The aggregate calls of `expression`, in the order they are written; calls inside parentheses
// and angle brackets are found too, quoted text is skipped.
QList<AggregateCall> findAggregateCalls(const QString &expression);

}  // namespace vornak
