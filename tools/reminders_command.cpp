#include "tools/reminders_command.h"

#include "platform/database.h"
#include "tools/log_book_schema.h"
#include "tools/result_text.h"

#include <QStringList>

namespace vornak::log_book {

QString dueEventLines(const QString &file, const QDate &today, const reminders::Limits &limits)
{
    const auto connection = Connection::open(connectionString(file));
    QString lines;
    for (const reminders::DueEvent &due : reminders::dueEvents(*connection, today, limits)) {
        const QString when = due.event.kind == reminders::byDate ? due.event.date->toString(Qt::ISODate)
                                                                 : QStringLiteral("%1 км").arg(*due.event.mileage);
        lines += QStringList{tabSeparatedCell(due.vehicle), when, tabSeparatedCell(due.description),
                             reminders::dueText(due.due)}
                     .join(u'\t') +
                 u'\n';
    }
    return lines;
}

}  // namespace vornak::log_book
