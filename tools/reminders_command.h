#pragma once

#include "data/reminders.h"

#include <QDate>
#include <QString>

namespace vornak::log_book {

// `vornak-db reminders`: the due events of every vehicle of the log book `file`, one line each:
// vehicle, due date (2026-12-24) or mileage ("95000 км"), description and "просрочено" or
// "скоро", separated by tabs (a tab or line break inside a value escaped as in query results).
// Empty when nothing is due. Raises DatabaseError.
QString dueEventLines(const QString &file, const QDate &today, const reminders::Limits &limits);

}  // namespace vornak::log_book
