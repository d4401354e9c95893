// The body of `vornak-db import`: the import itself lives in migrate/, shared with the start-up.
#include "tools/import_command.h"

#include "migrate/old_log_book_import.h"

namespace vornak::log_book {

void importCommand(const QString &oldPath, const QString &newPath, const std::function<void(const QString &)> &out)
{
    const ImportSummary summary = importOldLogBook(oldPath, newPath);
    for (const QString &extra : summary.ignored)
        out(QStringLiteral("Ignored %1\n").arg(extra));
    out(QStringLiteral("Imported %1 into %2\n").arg(oldPath, newPath));
    for (const ImportedTable &table : summary.tables)
        out(QStringLiteral("%1\t%2 rows\n").arg(table.name).arg(table.rows));
}

}  // namespace vornak::log_book
