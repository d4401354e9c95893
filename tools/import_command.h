#pragma once

#include <functional>
#include <QString>
#include <QStringList>

namespace vornak::log_book {

// `vornak-db import OLD.mdb NEW.mdb`: brings the old program's log book over into a new log
// book; prints what it ignored and a count per table on `out`. Raises the import's errors.
void importCommand(const QString &oldPath, const QString &newPath, const std::function<void(const QString &)> &out);

}  // namespace vornak::log_book
